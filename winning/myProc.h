// The winning-number table, its loader, and the check of one postcard number.
//
// Portable: no Windows header. Texts are Shift-JIS byte strings; every length and
// position counts bytes. Classes and entries are numbered from 1 as on the postcards;
// row k of the table (k = 1..10) is index k - 1 of the arrays.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace nenga {

inline constexpr int kClassRows = 10;   // only classes 1 to 9 can be named by a header
inline constexpr int kEntrySlots = 10;  // the tenth number of a class is the overflow

using WinNumberTable = std::array<std::array<std::string, kEntrySlots>, kClassRows>;
using WinCountTable = std::array<std::int32_t, kClassRows>;

// The program-wide table. Only LoadWinFile writes WinNumbers and WinCount.
extern WinNumberTable WinNumbers;  // WinNumbers[k - 1][i - 1]: entry i of class k
extern WinCountTable WinCount;     // WinCount[k - 1]: valid entries of class k
extern std::int32_t FileLoaded;    // 1 once a winning-number file has loaded

// A failure that ends a command; the event loop shows its message in the error box.
// The message is a Shift-JIS byte string and may hold any byte, NUL included: read it
// with message(), not what().
class Failure : public std::exception {
 public:
  explicit Failure(std::string shiftJisMessage)
      : message_(std::make_shared<const std::string>(std::move(shiftJisMessage))) {}
  const std::string& message() const noexcept { return *message_; }
  const char* what() const noexcept override { return message_->c_str(); }

 private:
  std::shared_ptr<const std::string> message_;  // shared: copying never throws
};

// The message for a system error code met opening or reading a file.
std::string FileErrorMessage(int code);

// Loads a winning-number file into the table. Throws Failure when the file cannot be
// opened or read, or a class header does not start with a digit; the table is then
// as before. At the overflow it shows the information box, stops reading and posts
// a quit request.
void LoadWinFile(const PathString& file, Platform& platform);

// The win dialog as the check sees it.
class WinDialog {
 public:
  virtual ~WinDialog() = default;
  virtual void SetAnnouncement(std::string_view text) = 0;  // the text of lblAtari
  virtual void ShowModal() = 0;  // returns when the user has closed the dialog
};

// The announcement of a win: "123456 は2等です。".
std::string Announcement(int winClass, std::string_view number);

// The cue of a win in winClass, or nullptr for none.
const char* WinCue(int winClass);

// Announces one win: the class's cue, then the dialog, shown modally.
void ShowWin(int winClass, std::string_view number, Platform& platform, WinDialog& dialog);

// Checks a six-byte number against the table and announces every match, class by
// class; returns when the last announcement has been closed.
void CheckNumber(std::string_view number, Platform& platform, WinDialog& dialog);

// A number as typed, in the window or to nenga-check: a postcard number is six bytes
// of Shift-JIS, whatever they are. Checks it as CheckNumber does and returns true; returns
// false, checking nothing, when typed is not a postcard number.
bool CheckTypedNumber(std::string_view typed, Platform& platform, WinDialog& dialog);

// What the user is told of a typed number that is not a postcard number:
// "12345 は入力ミスです。".
std::string InputMistake(std::string_view typed);

}  // namespace nenga
