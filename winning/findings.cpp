// The lines of a winning-number file that can never announce a win, and how the user
// is told of them. A line can win only when the check compares it (it was stored, in
// a slot within its class's count, in a class the walk reaches) and it can equal the
// suffix the check cuts: half-width digits, as long as the class's first number or
// six when that is longer.
#include <algorithm>
#include <iterator>
#include <optional>

#include "platform/codepage.h"
#include "winning/myProc.h"
#include "winning/words.h"

namespace nenga {
namespace {

constexpr std::size_t kPostcardDigits = 6;
constexpr std::size_t kShownChars = 20;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c); });
}

bool IsShiftJisLead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The bytes of a space at the start of text, 0 for none: a half-width space or tab,
// or a full-width space in Shift-JIS or in UTF-8.
std::size_t SpaceAt(std::string_view text) {
  if (text.starts_with(' ') || text.starts_with('\t')) return 1;
  if (text.starts_with("\x81\x40")) return 2;
  if (text.starts_with("\xE3\x80\x80")) return 3;
  return 0;
}

std::size_t SpaceBefore(std::string_view text) {
  if (text.ends_with(' ') || text.ends_with('\t')) return 1;
  if (text.ends_with("\xE3\x80\x80")) return 3;
  if (text.ends_with("\x81\x40")) return 2;
  return 0;
}

// The bytes of a full-width digit at the start of text, 0 for none: the input method's
// digits in Shift-JIS, or in UTF-8 from a file Notepad saved so.
std::size_t FullWidthDigitAt(std::string_view text) {
  const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  if (text.size() >= 2 && byte(0) == 0x82 && byte(1) >= 0x4F && byte(1) <= 0x58) return 2;
  if (text.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBC && byte(2) >= 0x90 && byte(2) <= 0x99)
    return 3;
  return 0;
}

std::size_t DigitAt(std::string_view text) {
  return !text.empty() && IsDigit(text[0]) ? 1 : FullWidthDigitAt(text);
}

// The bytes of a run of digits at the start of text, 0 for none.
std::size_t DigitRunAt(std::string_view text) {
  std::size_t run = 0;
  while (const std::size_t n = DigitAt(text.substr(run))) run += n;
  return run;
}

// Whether text begins with a letter, a kana or a kanji, in UTF-8 or else in Shift-JIS:
// digits written right before one count something ("2等", "令和8年", "第79回", "3組")
// and are no number. A character cut off at the end of text is none.
bool CountsSomethingAt(std::string_view text, bool utf8) {
  if (text.empty()) return false;
  const auto byte = [&text](std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(text[at]));
  };
  const unsigned c = byte(0);
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  if (utf8) {
    if (c < 0xE0 || c > 0xEF || text.size() < 3) return false;
    const unsigned u = (c & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    return u == 0x3005 ||                                                   // 々
           (u >= 0x3041 && u <= 0x3093) || (u >= 0x30A1 && u <= 0x30F6) ||  // ぁ to ん, ァ to ヶ
           (u >= 0x3400 && u <= 0x9FFF) ||                                  // kanji
           (u >= 0xFF21 && u <= 0xFF3A) || (u >= 0xFF41 && u <= 0xFF5A) ||  // Ａ to ｚ
           (u >= 0xFF66 && u <= 0xFF9F);                                    // half-width katakana
  }
  if (c >= 0xA6 && c <= 0xDF) return true;  // half-width katakana
  if (text.size() < 2) return false;
  const unsigned code = c << 8 | byte(1);
  return code == 0x8158 ||                                                            // 々
         (code >= 0x8260 && code <= 0x8279) || (code >= 0x8281 && code <= 0x829A) ||  // Ａ to ｚ
         (code >= 0x829F && code <= 0x82F1) || (code >= 0x8340 && code <= 0x8396) ||  // kana
         (code >= 0x889F && code <= 0x9FFC) || code >= 0xE040;                        // kanji
}

// The bytes of the character at the start of text: a whole UTF-8 sequence, or a
// Shift-JIS lead byte with its trail byte.
std::size_t CharBytesAt(std::string_view text, bool utf8) {
  const auto c = static_cast<unsigned char>(text[0]);
  const std::size_t n = !utf8       ? (IsShiftJisLead(c) ? 2 : 1)
                        : c >= 0xF0 ? 4
                        : c >= 0xE0 ? 3
                        : c >= 0xC0 ? 2
                                    : 1;
  return std::min(n, text.size());
}

// The bytes of a space, a comma or 、 at the start of text, 0 for none: what a user
// puts between numbers written on one line.
std::size_t SeparatorAt(std::string_view text) {
  if (const std::size_t n = SpaceAt(text)) return n;
  if (text.starts_with(',')) return 1;
  for (const std::string_view mark : {"\x81\x43", "\xEF\xBC\x8C", "\x81\x41", "\xE3\x80\x81"}) {
    if (text.starts_with(mark)) return mark.size();  // ，and 、 in Shift-JIS and UTF-8
  }
  return 0;
}

// How many runs of digits text is, when it is nothing but runs of digits and
// separators; 0 when it holds anything else.
std::size_t DigitRuns(std::string_view text) {
  std::size_t runs = 0;
  bool inRun = false;
  while (!text.empty()) {
    if (const std::size_t n = DigitAt(text)) {
      runs += inRun ? 0 : 1;
      inRun = true;
      text.remove_prefix(n);
    } else if (const std::size_t m = SeparatorAt(text)) {
      inRun = false;
      text.remove_prefix(m);
    } else {
      return 0;
    }
  }
  return runs;
}

// Why a number that is not half-width digits alone can never equal a suffix of them.
Finding::Kind CharacterFault(std::string_view number) {
  std::string_view core = number;
  while (const std::size_t n = SpaceAt(core)) core.remove_prefix(n);
  while (const std::size_t n = SpaceBefore(core)) core.remove_suffix(n);
  if (DigitRuns(core) > 1) return Finding::Kind::kSeveralNumbers;
  bool fullWidth = false;
  for (std::string_view rest = core; !rest.empty();) {
    if (IsDigit(rest[0])) {
      rest.remove_prefix(1);
    } else if (const std::size_t n = FullWidthDigitAt(rest)) {
      fullWidth = true;
      rest.remove_prefix(n);
    } else {
      return Finding::Kind::kNotDigits;
    }
  }
  if (core.empty()) return Finding::Kind::kNotDigits;
  return fullWidth ? Finding::Kind::kFullWidth : Finding::Kind::kSpaces;
}

// Why a number the check compares can never match: false when it can. other: the
// digits of the class's first number, for a number of another length.
bool NumberFault(std::string_view number, std::string_view first, Finding::Kind& kind,
                 std::uint64_t& other) {
  // A line far longer than any number is told by its start: a clean file loads at the
  // same cost however long its lines.
  const std::string_view start = number.substr(0, kFindingTextBytes);
  if (!IsDigits(start)) {
    kind = CharacterFault(start);
  } else if (number.size() > kPostcardDigits) {
    kind = Finding::Kind::kTooLong;
  } else if (number.size() != std::min(first.size(), kPostcardDigits)) {
    kind = Finding::Kind::kWrongLength;
    other = IsDigits(first) ? first.size() : 0;
  } else {
    return false;
  }
  return true;
}

// Strictly UTF-8 with at least one character beyond ASCII; a sequence cut short at the
// end is allowed when the line goes on. Returns the length of its whole sequences.
std::optional<std::size_t> Utf8Length(std::string_view text, bool more) {
  bool beyondAscii = false;
  std::size_t at = 0;
  while (at < text.size()) {
    const auto c = static_cast<unsigned char>(text[at]);
    const std::size_t n = c < 0x80                 ? 1
                          : c >= 0xC2 && c <= 0xDF ? 2
                          : c >= 0xE0 && c <= 0xEF ? 3
                          : c >= 0xF0 && c <= 0xF4 ? 4
                                                   : 0;
    if (n == 0) return std::nullopt;
    for (std::size_t k = 1; k < n; ++k) {
      if (at + k == text.size()) return more && beyondAscii ? std::optional(at) : std::nullopt;
      if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) return std::nullopt;
    }
    beyondAscii = beyondAscii || n > 1;
    at += n;
  }
  return beyondAscii ? std::optional(at) : std::nullopt;
}

// Whether text is UTF-8 rather than Shift-JIS; it may be cut inside its last character.
bool ReadsAsUtf8(std::string_view text) { return Utf8Length(text, true).has_value(); }

// A line number in decimal. By hand: std::to_string of a 64-bit number brings a table
// and code that the executable's size cannot spare.
std::string Decimal(std::uint64_t n) {
  char digits[20];
  char* at = std::end(digits);
  do {
    *--at = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  return std::string(at, std::end(digits));
}

}  // namespace

bool MeantAsHeader(std::string_view line) {
  // The colon or 等 of "1等:", "１：" or "10:" comes within four characters, each of
  // at most three bytes.
  constexpr std::size_t kLookBytes = 12;
  if (DigitAt(line) == 0) return false;
  const std::string_view start = line.substr(0, kLookBytes);
  for (const std::string_view mark :
       {":", "\x81\x46", "\xEF\xBC\x9A", "\x93\x99", "\xE7\xAD\x89"}) {
    if (start.find(mark) != std::string_view::npos) return true;  // ：and 等 as well
  }
  return false;
}

bool NumberAfterColon(std::string_view header) {
  const bool utf8 = ReadsAsUtf8(header);
  std::string_view rest = header.substr(std::min<std::size_t>(header.size(), 2));
  while (!rest.empty()) {
    const std::size_t run = DigitRunAt(rest);
    if (run == 0) {
      rest.remove_prefix(CharBytesAt(rest, utf8));
      continue;
    }
    rest.remove_prefix(run);
    if (!CountsSomethingAt(rest, utf8)) return true;
  }
  return false;
}

bool IsTitle(std::string_view line) {
  const bool utf8 = ReadsAsUtf8(line);
  bool words = false;
  while (!line.empty()) {
    if (const std::size_t run = DigitRunAt(line)) {
      // Two digits or more that count nothing: it may be a number.
      if (run > DigitAt(line) && !CountsSomethingAt(line.substr(run), utf8)) return false;
      line.remove_prefix(run);
    } else if (const std::size_t separator = SeparatorAt(line)) {
      line.remove_prefix(separator);
    } else {
      words = true;
      line.remove_prefix(CharBytesAt(line, utf8));
    }
  }
  return words;
}

void LoadFindings::Add(Finding::Kind kind, std::uint64_t line, int winClass, std::uint64_t other,
                       std::string_view text) {
  ++total;
  if (kept.size() == kKept && line >= kept.back().line) return;  // not among the first
  const auto at = std::upper_bound(
      kept.begin(), kept.end(), line,
      [](std::uint64_t before, const Finding& finding) { return before < finding.line; });
  kept.insert(at, Finding{kind, line, winClass, other, FindingText(text, false)});
  if (kept.size() > kKept) kept.pop_back();
}

std::string FindingText(std::string_view line, bool more) {
  if (line.size() > kFindingTextBytes) {
    line = line.substr(0, kFindingTextBytes);
    more = true;
  }
  std::string converted;
  if (const auto utf8 = Utf8Length(line, more)) {
    more = more || *utf8 < line.size();
    converted = ShiftJisFromUtf8(line.substr(0, *utf8));
    line = converted;
  }
  std::string shown;
  std::size_t at = 0;
  for (std::size_t chars = 0; at < line.size() && chars < kShownChars; ++chars) {
    const auto c = static_cast<unsigned char>(line[at]);
    if (IsShiftJisLead(c)) {
      if (at + 1 == line.size()) break;  // cut inside its character
      shown.append(line.substr(at, 2));
      at += 2;
    } else {
      shown += c == '\t' ? ' ' : c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
      ++at;
    }
  }
  if (more || at < line.size()) shown += words::kCutMark;
  return shown;
}

std::string FindingReason(const Finding& finding) {
  using Kind = Finding::Kind;
  switch (finding.kind) {
    case Kind::kNothingCompared:
      return words::kNothingCompared;
    case Kind::kBeforeFirstHeader:
      return words::kBeforeFirstHeader;
    case Kind::kTitle:
      return words::kTitle;
    case Kind::kClassZero:
      return words::kClassZero;
    case Kind::kReplaced:
      return Decimal(finding.other) + words::kReplaced;
    case Kind::kNotCounted:
      return words::kNotCounted;
    case Kind::kClassNotReached:
    case Kind::kClassEmpty: {
      std::string reason = Decimal(finding.other) + words::kClassNotReachedMiddle +
                           Decimal(finding.other) + words::kClassNotReachedAfter;
      if (finding.kind == Kind::kClassEmpty) reason += words::kClassEmptyAfter;
      return reason;
    }
    case Kind::kFullWidth:
      return words::kFullWidth;
    case Kind::kSpaces:
      return words::kSpaces;
    case Kind::kNotDigits:
      return words::kNotDigits;
    case Kind::kTooLong:
      return words::kTooLong;
    case Kind::kWrongLength:
      return finding.other == 0
                 ? std::string(words::kWrongLength)
                 : words::kWrongLengthBefore + Decimal(finding.other) + words::kWrongLengthAfter;
    case Kind::kEarlierFile:
      return Decimal(static_cast<std::uint64_t>(finding.winClass)) + words::kEarlierFileMiddle +
             finding.text + words::kEarlierFileAfter;
    case Kind::kNumberOnHeader:
      return words::kNumberOnHeader;
    case Kind::kNotAHeader:
      return words::kNotAHeader;
    case Kind::kSeveralNumbers:
      return words::kSeveralNumbers;
  }
  return {};
}

std::string FindingsBoxText(const LoadFindings& findings) {
  std::string text = words::kFindingsLead;
  const std::size_t shown = std::min(findings.kept.size(), kShownInBox);
  for (std::size_t n = 0; n < shown; ++n) {
    const Finding& finding = findings.kept[n];
    text += "\r\n";
    if (finding.line != 0) {
      text += Decimal(finding.line) + words::kLineBefore + finding.text + words::kLineAfter;
    }
    text += FindingReason(finding);
  }
  if (findings.total > shown) {
    text += "\r\n";
    text +=
        words::kMoreFindingsBefore + Decimal(findings.total - shown) + words::kMoreFindingsAfter;
  }
  return text;
}

void FindTableFaults(const SlotLines& slotLines, const ClassHeaders& headers,
                     LoadFindings& findings) {
  std::size_t reach = 0;  // the check walks the classes before the first without numbers
  while (reach < WinCount.size() && WinCount[reach] > 0) ++reach;
  // However the file came to it, every postcard would seem to have lost.
  if (reach == 0) findings.Add(Finding::Kind::kNothingCompared, 0, 0, 0, {});
  // The class the walk stops at, its header written with nothing under it: unless a
  // number of the file stands after it, and is named for it, the header is.
  if (reach > 0 && reach < headers.size() && headers[reach].line != 0) {
    const auto filled = [](const auto& lines) {
      return std::any_of(lines.begin(), lines.end(), [](std::uint64_t line) { return line != 0; });
    };
    if (std::none_of(slotLines.begin() + static_cast<std::ptrdiff_t>(reach), slotLines.end(),
                     filled)) {
      const auto winClass = static_cast<int>(reach) + 1;
      findings.Add(Finding::Kind::kClassEmpty, headers[reach].line, winClass,
                   static_cast<std::uint64_t>(winClass), headers[reach].text);
    }
  }
  for (std::size_t row = 0; row < WinNumbers.size(); ++row) {
    const auto count = static_cast<std::size_t>(std::max(WinCount[row], 0));
    for (std::size_t slot = 0; slot < WinNumbers[row].size(); ++slot) {
      const std::string& number = WinNumbers[row][slot];
      const std::uint64_t line = slotLines[row][slot];
      const bool compared = row < reach && slot < count;
      Finding::Kind kind{};
      std::uint64_t other = 0;
      if (line == 0) {
        if (!compared) continue;
        kind = Finding::Kind::kEarlierFile;
      } else if (MeantAsHeader(number)) {  // the slip behind the others: a header not read
        kind = Finding::Kind::kNotAHeader;
      } else if (slot >= count) {
        kind = Finding::Kind::kNotCounted;
      } else if (row >= reach) {
        kind = Finding::Kind::kClassNotReached;
        other = reach + 1;
      } else if (!NumberFault(number, WinNumbers[row][0], kind, other)) {
        continue;
      }
      findings.Add(kind, line, static_cast<int>(row) + 1, other, number);
    }
  }
}

}  // namespace nenga
