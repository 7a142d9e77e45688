// nenga-check's standard input split into lines, in reads of every size: where a
// line's last bytes are a lone CR, or the input is only a byte-order mark.
#include "cli/input_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"

namespace nenga {
namespace {

std::vector<std::string> LinesOf(const std::string& input, std::size_t chunk) {
  testing::MemoryFile file{input, chunk};
  int open = 0;
  testing::MemorySource source(file, open);
  std::vector<char> buffer(64);
  std::vector<std::string> lines;
  EXPECT_EQ(ReadLines(source, buffer, [&](std::string_view line) { lines.emplace_back(line); }), 0);
  return lines;
}

TEST(InputLines, OnlyLfOrCrLfEndsALineAndAByteOrderMarkAloneIsNoLine) {
  using Lines = std::vector<std::string>;
  const struct {
    std::string input;
    Lines lines;
  } cases[] = {
      {"123456\r", {"123456\r"}},  // not the number 123456
      {"1\r\n2\r\r\n\r", {"1", "2\r", "\r"}},
      {"\xEF\xBB\xBF", {}},
      {"\xEF\xBB\xBF\n", {""}},
      {"\xEF\xBB\xBF"
       "123456",
       {"123456"}},
      {"123456\n\xEF\xBB\xBF"
       "123456\n",
       {"123456",
        "\xEF\xBB\xBF"
        "123456"}},  // a mark only at the very start
  };
  for (const auto& c : cases) {
    for (std::size_t chunk = 1; chunk <= c.input.size(); ++chunk) {
      EXPECT_EQ(LinesOf(c.input, chunk), c.lines) << c.input << " in reads of " << chunk;
    }
  }
}

}  // namespace
}  // namespace nenga
