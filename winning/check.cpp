#include <algorithm>

#include "winning/myProc.h"
#include "winning/words.h"

namespace nenga {

std::string Announcement(int winClass, std::string_view number) {
  std::string text(number);
  text += words::kAnnouncementBefore;
  text += std::to_string(winClass);
  text += words::kAnnouncementAfter;
  return text;
}

const char* WinCue(int winClass) {
  if (winClass >= 1 && winClass <= 3) return words::kCueBigWin;
  if (winClass >= 4 && winClass <= 8) return words::kCueWin;
  return nullptr;
}

void ShowWin(int winClass, std::string_view number, Platform& platform, WinDialog& dialog) {
  if (const char* cue = WinCue(winClass)) platform.PlaySoundCue(cue);
  dialog.SetAnnouncement(Announcement(winClass, number));
  dialog.ShowModal();
}

void CheckNumber(std::string_view number, Platform& platform, WinDialog& dialog) {
  // The walk ends at the first class without numbers; row 10 is never filled.
  for (std::size_t row = 0; row < WinCount.size() && WinCount[row] > 0; ++row) {
    const auto& numbers = WinNumbers[row];
    // Every number of a class is compared with a suffix as long as its first number.
    const std::size_t n = numbers[0].size();
    const std::string_view suffix = n >= number.size() ? number : number.substr(number.size() - n);
    const auto count = std::min(static_cast<std::size_t>(WinCount[row]), numbers.size());
    for (std::size_t j = 0; j < count; ++j) {
      if (numbers[j] == suffix) ShowWin(static_cast<int>(row) + 1, number, platform, dialog);
    }
  }
}

bool CheckTypedNumber(std::string_view typed, Platform& platform, WinDialog& dialog) {
  constexpr std::size_t kPostcardNumberBytes = 6;
  if (typed.size() != kPostcardNumberBytes) return false;
  CheckNumber(typed, platform, dialog);
  return true;
}

std::string InputMistake(std::string_view typed) {
  std::string text(typed);
  text += words::kInputMistakeAfter;
  return text;
}

}  // namespace nenga
