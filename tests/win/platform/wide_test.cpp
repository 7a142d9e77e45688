// The file dialog's filter list at the Windows boundary: Shift-JIS strings in, the
// dialog's UTF-16 list out.
#include "platform/win32/wide.h"

#include <gtest/gtest.h>

#include <string>

namespace nenga {
namespace {

TEST(WideFilterListTest, ConvertsEachStringAndEndsTheList) {
  static constexpr char kFilter[] = "(年賀当たり番号ファイル)*.txt\0*.txt\0(ALL)*.*\0*.*\0";
  const std::wstring wide = WideFilterList(std::string(kFilter, sizeof(kFilter) - 1));
  static constexpr wchar_t kWant[] = L"(年賀当たり番号ファイル)*.txt\0*.txt\0(ALL)*.*\0*.*\0";
  EXPECT_EQ(wide, std::wstring(kWant, sizeof(kWant) / sizeof(wchar_t)));  // with both ends
}

TEST(WideFilterListTest, UnendedLastStringAndEmptyFilter) {
  static constexpr char kFilter[] = "All\0*.*";
  EXPECT_EQ(WideFilterList(std::string(kFilter, sizeof(kFilter) - 1)),
            std::wstring(L"All\0*.*\0\0", 9));
  EXPECT_EQ(WideFilterList(""), L"");
}

}  // namespace
}  // namespace nenga
