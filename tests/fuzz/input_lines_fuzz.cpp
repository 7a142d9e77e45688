// libFuzzer target for nenga-check's reading of standard input. The input's first
// byte gives how many read sizes follow it (1 to 8, each 1 to 256 bytes); the rest is
// standard input. Delivered in reads of those sizes, it must give exactly the lines
// of one whole read, and exactly those of a plain split: LF or CR LF ends a line,
// every other byte is part of it, a UTF-8 byte-order mark at the start is skipped.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/input_lines.h"

namespace nenga::testing {
namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Gives text in reads of the sizes given in turn, never more than asked for.
class ChunkedSource final : public ByteSource {
 public:
  ChunkedSource(std::string_view text, std::vector<std::size_t> sizes)
      : text_(text), sizes_(std::move(sizes)) {}

  std::size_t Read(std::span<char> buffer, int&) override {
    const std::size_t n = std::min({buffer.size(), sizes_[next_++ % sizes_.size()], text_.size()});
    std::copy_n(text_.begin(), n, buffer.begin());
    text_.remove_prefix(n);
    return n;
  }

 private:
  std::string_view text_;
  std::vector<std::size_t> sizes_;
  std::size_t next_ = 0;
};

std::vector<std::string> LinesOf(std::string_view text, std::vector<std::size_t> sizes,
                                 std::size_t bufferSize) {
  ChunkedSource source(text, std::move(sizes));
  std::vector<char> buffer(bufferSize);
  std::vector<std::string> lines;
  Require(ReadLines(source, buffer, [&](std::string_view line) { lines.emplace_back(line); }) == 0);
  return lines;
}

std::vector<std::string> PlainSplit(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::string> lines;
  for (std::size_t end; (end = text.find('\n')) != std::string_view::npos;) {
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
    text.remove_prefix(end + 1);
  }
  if (!text.empty()) lines.emplace_back(text);
  return lines;
}

void ReadOne(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  const std::size_t count = std::min<std::size_t>(1 + data[0] % 8, size - 1);
  std::vector<std::size_t> sizes;
  for (std::size_t n = 1; n <= count; ++n) sizes.push_back(1 + std::size_t{data[n]});
  if (sizes.empty()) sizes.push_back(1);
  const std::string_view text(reinterpret_cast<const char*>(data) + 1 + count, size - 1 - count);

  const std::vector<std::string> whole = LinesOf(text, {text.size() + 1}, text.size() + 1);
  Require(whole == PlainSplit(text));
  Require(LinesOf(text, sizes, 256) == whole);
}

}  // namespace
}  // namespace nenga::testing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  nenga::testing::ReadOne(data, size);
  return 0;
}
