// Tests run again at other screen scales. A scale's run starts the test binary with the
// scale set and NENGA_TEST_DPI naming it (tests/e2e/at_dpi.sh); the binary then lists and
// runs only the tests marked for that scale. A test is marked where it is defined, with
// the scales CMake runs it at:
//   TEST_F_AT_DPI(NengaTest, StartsWithEmptyBoxes, 120, 144) { ... }
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <map>
#include <set>
#include <string>

namespace nenga::test {

// "Suite.Name" of the tests marked for each scale.
inline std::map<int, std::set<std::string>>& TestsAtDpi() {
  static std::map<int, std::set<std::string>> tests;
  return tests;
}

struct DpiMark {
  DpiMark(const char* test, std::initializer_list<int> dpis) {
    for (int dpi : dpis) TestsAtDpi()[dpi].insert(test);
  }
};

// In a scale's run, leaves out every test not marked for the scale, whatever else the
// filter selects. Call after testing::InitGoogleTest.
inline void KeepOnlyTestsAtDpi() {
  const char* value = std::getenv("NENGA_TEST_DPI");
  if (value == nullptr || *value == '\0') return;
  const std::set<std::string>& marked = TestsAtDpi()[std::atoi(value)];
  std::string others;
  const testing::UnitTest& all = *testing::UnitTest::GetInstance();
  for (int i = 0; i < all.total_test_suite_count(); ++i) {
    const testing::TestSuite& suite = *all.GetTestSuite(i);
    for (int j = 0; j < suite.total_test_count(); ++j) {
      const std::string name = std::string(suite.name()) + "." + suite.GetTestInfo(j)->name();
      if (!marked.contains(name)) others += (others.empty() ? "" : ":") + name;
    }
  }
  if (others.empty()) return;
  std::string filter = GTEST_FLAG_GET(filter);
  filter += (filter.find('-') == std::string::npos ? "-" : ":") + others;
  GTEST_FLAG_SET(filter, filter);
}

}  // namespace nenga::test

// TEST_F, and run again at each of the scales (dots per inch) that follow.
#define TEST_F_AT_DPI(fixture, name, ...)                                           \
  static const ::nenga::test::DpiMark fixture##_##name##_at_dpi(#fixture "." #name, \
                                                                {__VA_ARGS__});     \
  TEST_F(fixture, name)
