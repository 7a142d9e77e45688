// Loading time against file size: prints the time per byte of a large file divided by
// that of a file eight times smaller, for files of many short lines and of one long
// line. Reading is linear when both ratios stay near 1. Then the same text as UTF-16:
// its time per byte against that of the Shift-JIS file (the aim: at most 2).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "fake_platform.h"
#include "winning/myProc.h"

namespace nenga::testing {
namespace {

std::string ManyLines(std::size_t bytes) {
  std::string file = "1:\r\n123456\r\n";
  while (file.size() < bytes) file += "1:comment text after the colon\r\n\r\n";
  return file;
}

std::string OneLongLine(std::size_t bytes) { return "1:\r\n" + std::string(bytes, '7') + "\r\n"; }

// Best of several loads, in nanoseconds per byte.
double NanosecondsPerByte(const std::string& content) {
  FakePlatform platform;
  platform.files["f"] = MemoryFile{content, 64 * 1024};
  double best = 1e300;
  for (int run = 0; run < 7; ++run) {
    const auto start = std::chrono::steady_clock::now();
    LoadWinFile(PathOf("f"), platform);
    const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count() / static_cast<double>(content.size()));
  }
  return best;
}

std::string Utf16(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

void Report(const char* name, std::string (*make)(std::size_t)) {
  constexpr std::size_t kSmall = 2 << 20, kLarge = 16 << 20;
  const double small = NanosecondsPerByte(make(kSmall));
  const double large = NanosecondsPerByte(make(kLarge));
  std::printf("%-14s %6.2f ns/byte at 2 MiB, %6.2f at 16 MiB: ratio %.2f\n", name, small, large,
              large / small);
  const double utf16 = NanosecondsPerByte(Utf16(make(kLarge)));
  std::printf("%-14s %6.2f ns/byte as UTF-16 at 32 MiB: ratio to the byte file %.2f\n", "", utf16,
              utf16 / large);
}

}  // namespace
}  // namespace nenga::testing

int main() {
  nenga::testing::Report("many lines", nenga::testing::ManyLines);
  nenga::testing::Report("one long line", nenga::testing::OneLongLine);
}
