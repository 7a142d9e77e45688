// The loader's memory: lines it does not keep are read through without being built,
// so a load needs the read buffer and the longest number line kept, whatever else the
// file holds. Measured as the peak of the heap in use while loading.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "fake_platform.h"
#include "winning/myProc.h"

namespace {

// Every allocation of this program carries its size ahead of it.
std::size_t inUse = 0;
std::size_t peak = 0;
constexpr std::size_t kHeader = alignof(std::max_align_t);

}  // namespace

void* operator new(std::size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (block == nullptr) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  inUse += size;
  if (inUse > peak) peak = inUse;
  return block + kHeader;
}

void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  auto* block = static_cast<unsigned char*>(p) - kHeader;
  inUse -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace nenga::testing {
namespace {

constexpr std::size_t kBig = 4 << 20;          // each line that is not kept
constexpr std::size_t kNumberLine = 64 << 10;  // the one long number line kept
constexpr std::size_t kReadBuffer = 64 << 10;
constexpr std::size_t kAllowance = 16 << 10;  // the table's rows, the platform's bits

std::string Utf16(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + 2 * ascii.size());
  for (const char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

// The heap in use at its peak during the load, beyond what was in use before it, with
// the findings it hands back.
std::size_t PeakWhileLoading(const std::string& content, std::uint64_t findings) {
  ResetTable();
  FakePlatform platform;
  platform.files["f"] = MemoryFile{content, 64 * 1024};
  const PathString path = PathOf("f");
  const std::size_t before = inUse;
  peak = inUse;
  std::size_t grew = 0;
  {
    LoadFindings found;
    LoadWinFile(path, platform, found);
    grew = peak - before;
    EXPECT_EQ(found.total, findings);
    EXPECT_EQ(found.kept.size(), LoadFindings::kKept);
  }
  EXPECT_EQ(FileLoaded, 1);
  EXPECT_EQ(WinCount[0], 1);
  EXPECT_EQ(WinNumbers[0][0].size(), kNumberLine);
  return grew;
}

TEST(LoaderMemory, UnkeptLinesAreNotBuilt) {
  constexpr std::size_t kShortLines = 2'000'000;  // each a finding; only the first kept
  std::string file;
  file.reserve(3 * kShortLines + 4 * kBig + kNumberLine + 64);
  for (std::size_t n = 0; n < kShortLines; ++n) file += "b\r\n";
  file += std::string(kBig, 'b') + "\r\n";             // before the first header
  file += "0:\r\n" + std::string(kBig, 'z') + "\r\n";  // after "0:"
  file += "1:" + std::string(kBig, 'h') + "\r\n";      // a header's ignored text
  file += "\r\n" + std::string(kNumberLine, '7') + "\r\n";
  file += "2:1" + std::string(kBig, 'h') + "\r\n";  // only its start shows, so only that is kept
  // The short lines, the long ones before "1:", the one number, far too long, and "2:1".
  const std::size_t bytePeak = PeakWhileLoading(file, kShortLines + 4);
  const std::size_t utf16Peak = PeakWhileLoading(Utf16(file), kShortLines + 4);
  std::printf("peak heap while loading %zu bytes: %zu; as UTF-16 (%zu bytes): %zu\n", file.size(),
              bytePeak, 2 + 2 * file.size(), utf16Peak);
  // A kept line grows by doubling: while it moves, the old block and the new one
  // (up to twice the line) are both held.
  const std::size_t bound = kReadBuffer + 3 * kNumberLine + kAllowance;
  EXPECT_LE(bytePeak, bound);
  EXPECT_LE(utf16Peak, bound);
}

}  // namespace
}  // namespace nenga::testing
