// libFuzzer target for the loader: any bytes as a winning-number file. After every
// input the table must be sound, and a failed load or an overflow must have left it
// exactly as it was, and no findings; the findings of a load are bounded, in line
// order after the one for the whole file, and each can be told in words.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fake_platform.h"
#include "winning/myProc.h"
#include "winning/words.h"

namespace nenga::testing {
namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Before each input: the table as at program start, or as a full well-formed file
// leaves it (every row of classes 1 to 9 filled).
void SetUpTable(bool full) {
  ResetTable();
  if (!full) return;
  for (std::size_t row = 0; row + 1 < WinNumbers.size(); ++row) {
    for (std::size_t slot = 0; slot + 1 < WinNumbers[row].size(); ++slot) {
      WinNumbers[row][slot] = std::to_string(row * 10 + slot);
    }
    WinCount[row] = kEntrySlots - 1;
  }
  FileLoaded = 1;
}

void LoadOne(const std::uint8_t* data, std::size_t size) {
  const bool full = size > 0 && (data[0] & 1) != 0;
  SetUpTable(full);
  const WinNumberTable numbersBefore = WinNumbers;
  const WinCountTable countsBefore = WinCount;
  const std::int32_t loadedBefore = FileLoaded;

  FakePlatform platform;
  // Read sizes vary with the input, so lines and line ends straddle reads differently.
  platform.files["f"] =
      MemoryFile{std::string(reinterpret_cast<const char*>(data), size), 1 + size % 13};
  bool failed = false;
  LoadFindings findings;
  findings.total = 1;  // every load sets it anew
  try {
    LoadWinFile(PathOf("f"), platform, findings);
  } catch (const Failure&) {
    failed = true;
  }
  Require(platform.openFiles == 0);
  const bool overflow = !platform.events.empty() && platform.events.back() == "quit";
  if (failed || overflow) {
    Require(WinNumbers == numbersBefore && WinCount == countsBefore && FileLoaded == loadedBefore);
    Require(findings.total == 0 && findings.kept.empty());
    return;
  }
  Require(findings.kept.size() <= LoadFindings::kKept && findings.kept.size() <= findings.total);
  Require(findings.total == findings.kept.size() || findings.kept.size() == LoadFindings::kKept);
  // The whole file is named first, and exactly when the check compares nothing.
  const auto nothing = Finding::Kind::kNothingCompared;
  Require((WinCount[0] == 0) == (!findings.kept.empty() && findings.kept[0].kind == nothing));
  for (std::size_t n = 0; n < findings.kept.size(); ++n) {
    const Finding& finding = findings.kept[n];
    Require(n == 0 || (findings.kept[n - 1].line <= finding.line && finding.kind != nothing));
    // Twenty characters of at most two bytes, and the cut mark.
    Require(finding.line <= size + 1 && finding.text.size() < 2 * 20 + sizeof words::kCutMark);
    Require(!FindingReason(finding).empty());
  }
  Require(findings.total == 0 || !FindingsBoxText(findings).empty());
  Require(FileLoaded == 1);
  Require(WinCount[kClassRows - 1] == 0);
  for (std::size_t row = 0; row < WinCount.size(); ++row) {
    Require(WinCount[row] >= 0 && WinCount[row] <= kEntrySlots - 1);
    for (std::int32_t slot = 0; slot < WinCount[row]; ++slot) {
      Require(!WinNumbers[row][static_cast<std::size_t>(slot)].empty());
    }
  }
}

}  // namespace
}  // namespace nenga::testing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  nenga::testing::LoadOne(data, size);
  return 0;
}
