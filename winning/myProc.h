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
#include <vector>

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

// A line of a winning-number file that can never announce a win for a six-digit
// postcard number, or a number the check will compare that the file does not hold.
struct Finding {
  enum class Kind : std::uint8_t {
    kNothingCompared,    // the whole file: class 1 has no number, so nothing can win
    kBeforeFirstHeader,  // a number before any class header: not stored
    kTitle,              // words before any class header, with no number: not stored
    kClassZero,          // a number after "0:", which names no class: not stored
    kReplaced,           // a later line, `other`, took its slot
    kNotCounted,         // its slot lies beyond its class's count (headers out of order)
    kClassNotReached,    // the check stops before its class, at class `other`
    kClassEmpty,         // the header of class `other`, where the check stops: nothing under it
    kFullWidth,          // full-width digits
    kSpaces,             // digits with spaces or tabs around them
    kNotDigits,          // not half-width digits alone
    kTooLong,            // more digits than a postcard number has
    kWrongLength,        // not as long as the class's first number, of `other` digits
    kEarlierFile,        // compared, yet held over from a file loaded earlier
    kNumberOnHeader,     // a header with digits after its colon, and no number line under it
    kNotAHeader,         // begins with a digit and a colon or 等 soon after: meant as a header
    kSeveralNumbers,     // runs of digits separated by spaces, commas or 、
  };
  Kind kind{};
  std::uint64_t line = 0;  // counted from 1 as Notepad counts; 0 for the whole file and
                           // for kEarlierFile
  int winClass = 0;        // the class it stands under; 0 before any header
  std::uint64_t other = 0;
  std::string text;  // the start of the line as shown; for kEarlierFile the number
};

// A load's findings: the first kKept by line, and how many there were; a finding for
// the whole file comes first.
struct LoadFindings {
  static constexpr std::size_t kKept = 100;
  std::vector<Finding> kept;
  std::uint64_t total = 0;

  // Counts a finding, and keeps it, shown by FindingText of text, if it is among the first.
  void Add(Finding::Kind kind, std::uint64_t line, int winClass, std::uint64_t other,
           std::string_view text);
};

// Loads a winning-number file into the table. Throws Failure when the file cannot be
// opened or read, or a class header does not start with a digit; the table is then
// as before. At the overflow it shows the information box, stops reading and posts
// a quit request. A load that comes to the end of the file tells in findings every
// line that can never win; findings is left empty otherwise.
void LoadWinFile(const PathString& file, Platform& platform, LoadFindings& findings);
void LoadWinFile(const PathString& file, Platform& platform);

// Whether a line that is not a header was meant as one: it begins with a digit, and a
// colon or 等 follows within its first few characters.
bool MeantAsHeader(std::string_view line);

// Whether a header's text after its colon holds a number, digits half- or full-width
// that count nothing (digits right before a letter, kana or kanji count something:
// "2:2等", "1:令和8年"): a number put on the header's line, which is not read.
bool NumberAfterColon(std::string_view header);

// Whether a line before the first header is a title: it holds words, and no run of
// two digits or more that could be a number (one counts something: "2027年", "第79回").
bool IsTitle(std::string_view line);

// The findings of the table as a load left it: slotLines[k - 1][i - 1] is the line that
// filled entry i of class k in that load, 0 for none; headers[k - 1] the last header of
// class k in it with no number after its colon. The loader adds the lines it did not
// store and those a later line replaced.
using SlotLines = std::array<std::array<std::uint64_t, kEntrySlots>, kClassRows>;
struct ClassHeader {
  std::uint64_t line = 0;  // 0 for none
  std::string text;        // as the loader kept it
};
using ClassHeaders = std::array<ClassHeader, kClassRows>;
void FindTableFaults(const SlotLines& slotLines, const ClassHeaders& headers,
                     LoadFindings& findings);

// What a finding shows of a line: its first characters, a tab as a space and any other
// control character as '?', and "…" when the line goes on (more is true, or text is longer). A line
// that is UTF-8 is shown converted.
std::string FindingText(std::string_view line, bool more);
inline constexpr std::size_t kFindingTextBytes = 64;  // all FindingText looks at

// Why a finding's line can never win, and what to change: one sentence or two.
std::string FindingReason(const Finding& finding);

// The information box's text after the file's name: every finding as
// "N 行目「text」：reason", at most kShownInBox, then how many more there are.
std::string FindingsBoxText(const LoadFindings& findings);
inline constexpr std::size_t kShownInBox = 10;

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
