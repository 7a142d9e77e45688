#include <algorithm>
#include <array>
#include <vector>

#include "platform/codepage.h"
#include "winning/myProc.h"
#include "winning/words.h"

namespace nenga {

std::string FileErrorMessage(int code) {
  // Built by hand, not by snprintf, which would bring the whole of printf into the
  // executable for this one message.
  const auto generic = [](int number) {
    return words::kIoErrorBefore + std::to_string(number) + words::kIoErrorAfter;
  };
  // A POSIX error number without a Win32 counterpart has no message of its own.
  if (code > 0 && (code & kPosixErrorFlag) != 0) return generic(code & ~kPosixErrorFlag);
  switch (code) {
    case kErrorFileNotFound:
      return words::kFileNotFound;
    case kErrorPathNotFound:
      return words::kBadFileName;
    case kErrorTooManyOpenFiles:
      return words::kTooManyOpenFiles;
    case kErrorAccessDenied:
      return words::kAccessDenied;
    case kIoReadPastEnd:
      return words::kReadPastEnd;
    case kIoDiskFull:
      return words::kDiskFull;
    case kIoNotANumber:
      return words::kNotANumberInput;
    default:
      return generic(code);
  }
}

namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;
constexpr char32_t kCR = 13;
constexpr char32_t kLF = 10;
constexpr char32_t kCtrlZ = 26;  // ends the file: nothing after it is read

// A class header, "k:": a line whose second byte is a colon. Two bytes tell.
bool IsHeader(std::string_view line) { return line.size() >= 2 && line[1] == ':'; }

// Buffered bytes from the open file; a read error becomes a Failure.
class ByteBuffer {
 public:
  explicit ByteBuffer(ByteSource& source) : source_(source), data_(kBufferBytes) {}

  // Makes at least `want` unread bytes available unless the file ends first.
  // Returns the number available.
  std::size_t Fill(std::size_t want) {
    if (end_ - pos_ >= want || eof_) return end_ - pos_;
    std::copy(data_.begin() + Offset(pos_), data_.begin() + Offset(end_), data_.begin());
    end_ -= pos_;
    pos_ = 0;
    while (end_ < want && !eof_) {
      int error = 0;
      const std::size_t got = source_.Read(std::span(data_).subspan(end_), error);
      if (error != 0) throw Failure(FileErrorMessage(error));
      if (got == 0) eof_ = true;
      end_ += got;
    }
    return end_ - pos_;
  }

  const char* Peek() const { return data_.data() + pos_; }
  void Skip(std::size_t n) { pos_ += n; }

 private:
  static std::ptrdiff_t Offset(std::size_t n) { return static_cast<std::ptrdiff_t>(n); }

  ByteSource& source_;
  std::vector<char> data_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
};

// Reads the file as lines of Shift-JIS bytes. A line ends at CR, CR LF or LF;
// Ctrl-Z or the physical end ends the file, and a line end at the very end makes
// no further line. A file that starts with a UTF-16 byte-order mark is read in
// code units and converted a piece at a time; a UTF-8 byte-order mark is skipped.
// Only what the caller keeps is built: memory stays within the buffer and the
// longest line kept.
class LineReader {
 public:
  explicit LineReader(ByteSource& source) : bytes_(source) {
    const std::size_t n = bytes_.Fill(3);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.Peek());
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
      bytes_.Skip(3);
    } else if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
      bytes_.Skip(2);
      unitBytes_ = 2;
    } else if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
      bytes_.Skip(2);
      unitBytes_ = 2;
      bigEndian_ = true;
    }
  }

  // True when no character is left before the end of the file or a Ctrl-Z.
  bool AtEnd() {
    char32_t unit = 0;
    return !PeekUnit(unit) || unit == kCtrlZ;
  }

  static constexpr std::size_t kWholeLine = static_cast<std::size_t>(-1);

  // Reads the next line into line: its first two bytes (fewer when it is shorter),
  // enough to tell a header, an empty line and any other; of any other line, up to
  // keep bytes (at least those two). Of a header, its start when a digit may follow
  // the colon, as a finding shows it. At the end of the file the line is empty.
  void ReadLine(std::string& line, std::size_t keep) {
    line.clear();
    if (unitBytes_ == 1) {
      ReadByteLine(line, keep);
    } else {
      ScanUnits(line, 2);
      if (line.size() >= 2) {  // shorter only where the line has ended
        if (!IsHeader(line) ? line.size() < keep : DigitAheadInUnits()) {
          ScanUnits(line, IsHeader(line) ? kHeaderKept : keep);
        }
        SkipUnits();
      }
    }
    EndLine();
  }

  // A header's start, kept when it may hold a number; one byte more than a finding
  // shows, so that it knows the line goes on.
  static constexpr std::size_t kHeaderKept = kFindingTextBytes + 1;

 private:
  static constexpr std::size_t kChunkUnits = 1024;

  // What a byte of a line can be: its end, or the first byte of a digit (half-width,
  // or full-width in Shift-JIS or UTF-8).
  static constexpr std::uint8_t kEnds = 1;
  static constexpr std::uint8_t kMayBeDigit = 2;
  static constexpr std::array<std::uint8_t, 256> kByteKinds = [] {
    std::array<std::uint8_t, 256> kinds{};
    kinds['\r'] = kinds['\n'] = kinds[0x1A] = kEnds;
    for (int c = '0'; c <= '9'; ++c) kinds[static_cast<std::size_t>(c)] = kMayBeDigit;
    kinds[0x82] = kinds[0xEF] = kMayBeDigit;
    return kinds;
  }();

  // The first byte in [from, to) of one of these kinds, or to.
  template <std::uint8_t kinds>
  static const char* Find(const char* from, const char* to) {
    return std::find_if(from, to, [](char c) {
      if constexpr (kinds == kEnds) return c == '\r' || c == '\n' || c == '\x1a';
      return (kByteKinds[static_cast<unsigned char>(c)] & kinds) != 0;
    });
  }

  // One pass over the line's bytes: its first two decide how much of the rest is kept,
  // and of a header, whether a digit comes early after them.
  void ReadByteLine(std::string& line, std::size_t keep) {
    // The line's start is at hand, whatever the reads, when it is told.
    std::size_t n = bytes_.Fill(kHeaderKept);
    const char* p = bytes_.Peek();
    const char* from = Find<kEnds>(p, p + std::min<std::size_t>(n, 2));
    line.assign(p, from);
    std::size_t limit = std::max<std::size_t>(keep, 2);
    if (IsHeader(line)) {
      const char* lookEnd = p + std::min(n, kHeaderKept);
      const char* look = Find<kEnds | kMayBeDigit>(from, lookEnd);
      const bool digit =
          look != lookEnd && kByteKinds[static_cast<unsigned char>(*look)] == kMayBeDigit;
      limit = digit ? kHeaderKept : 2;
      if (!digit) {  // passed over: none of it is kept
        bytes_.Skip(static_cast<std::size_t>(look - p));
        n -= static_cast<std::size_t>(look - p);
        p = look;
        from = look;
      }
    }
    for (;;) {
      const char* stop = Find<kEnds>(from, p + n);
      if (line.size() < limit) {
        line.append(from, from + std::min<std::size_t>(static_cast<std::size_t>(stop - from),
                                                       limit - line.size()));
      }
      bytes_.Skip(static_cast<std::size_t>(stop - p));
      if (stop != p + n || (n = bytes_.Fill(1)) == 0) return;
      p = from = bytes_.Peek();
    }
  }

  // Whether a digit may come in the rest of a header, within what it keeps of it: true
  // with nothing consumed, or false with the units looked at passed over.
  bool DigitAheadInUnits() {
    const std::size_t n = bytes_.Fill(2 * kHeaderKept);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.Peek());
    std::size_t at = 0;
    for (; at + 1 < std::min(n, 2 * kHeaderKept); at += 2) {
      const char16_t unit = UnitAt(p + at);
      if (unit > u'9' && unit < 0xFF10) continue;  // most: neither a line end nor a digit
      if (unit == kCR || unit == kLF || unit == kCtrlZ) break;
      if (unit >= u'0' && unit <= 0xFF19) return true;  // 0 to 9, or ０ to ９
    }
    bytes_.Skip(at);
    return false;
  }

  // Passes over the line's code units up to its end, or with a limit until out holds
  // `until` bytes, appending their conversion to out. Converted in pieces of
  // kChunkUnits, a surrogate pair never split; with a limit, one character at a time.
  void ScanUnits(std::string& out, std::size_t until) {
    char16_t chunk[kChunkUnits + 1];
    std::size_t units = 0;
    const bool limited = until != kWholeLine;
    auto flush = [&](bool all) {
      std::size_t n = units;
      if (!all && n > 0 && chunk[n - 1] >= 0xD800 && chunk[n - 1] <= 0xDBFF) --n;
      AppendShiftJisFromUtf16(std::u16string_view(chunk, n), out);
      std::copy(chunk + n, chunk + units, chunk);
      units -= n;
    };
    for (;;) {
      const std::size_t n = bytes_.Fill(2);
      if (n == 0) break;
      const auto* p = reinterpret_cast<const unsigned char*>(bytes_.Peek());
      if (n < 2) {  // a lone byte at the end of a UTF-16 file
        chunk[units++] = 0xFFFD;
        bytes_.Skip(1);
        break;
      }
      std::size_t at = 0;
      bool done = false;  // at the line's end, or holding enough
      for (; at + 1 < n; at += 2) {
        const char16_t unit = UnitAt(p + at);
        if (unit == kCR || unit == kLF || unit == kCtrlZ) {
          done = true;
          break;
        }
        chunk[units++] = unit;
        if (limited) {
          const bool highSurrogate = unit >= 0xD800 && unit <= 0xDBFF;
          if (!highSurrogate) flush(true);
          if (out.size() >= until) {
            at += 2;
            done = true;
            break;
          }
        } else if (units >= kChunkUnits) {
          flush(false);
        }
      }
      bytes_.Skip(at);
      if (done) break;
    }
    flush(true);  // what is left, a high surrogate without its pair included
  }

  // Passes over the rest of the line's code units, up to its end.
  void SkipUnits() {
    for (;;) {
      const std::size_t n = bytes_.Fill(2);
      const auto* p = reinterpret_cast<const unsigned char*>(bytes_.Peek());
      std::size_t at = 0;
      while (at + 1 < n) {
        const char16_t unit = UnitAt(p + at);
        if (unit == kCR || unit == kLF || unit == kCtrlZ) break;
        at += 2;
      }
      bytes_.Skip(at);
      if (at + 1 < n || n < 2) {
        if (n == 1) bytes_.Skip(1);  // a lone byte at the end of a UTF-16 file
        return;
      }
    }
  }

  char16_t UnitAt(const unsigned char* p) const {
    return static_cast<char16_t>(bigEndian_ ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
  }

  // Consumes the line end the reader stands on, if any: CR LF counts as one.
  void EndLine() {
    char32_t unit = 0;
    if (!PeekUnit(unit) || unit == kCtrlZ) return;
    SkipUnit();
    if (unit == kCR && PeekUnit(unit) && unit == kLF) SkipUnit();
  }

  bool PeekUnit(char32_t& unit) {
    const std::size_t n = bytes_.Fill(unitBytes_);
    if (n == 0) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.Peek());
    if (unitBytes_ == 1) {
      unit = p[0];
    } else if (n < 2) {
      unit = 0xFFFD;  // a lone byte at the end of a UTF-16 file
    } else {
      unit = bigEndian_ ? char32_t{p[0]} << 8 | p[1] : char32_t{p[1]} << 8 | p[0];
    }
    return true;
  }

  void SkipUnit() { bytes_.Skip(std::min(unitBytes_, bytes_.Fill(unitBytes_))); }

  ByteBuffer bytes_;
  std::size_t unitBytes_ = 1;
  bool bigEndian_ = false;
};

}  // namespace

void LoadWinFile(const PathString& file, Platform& platform, LoadFindings& findings) {
  findings = {};
  int error = 0;
  std::unique_ptr<ByteSource> source = platform.OpenForReading(file, error);
  if (!source) throw Failure(FileErrorMessage(error));

  // The file is loaded aside and put in place only when it has been read to its end,
  // so a load that fails leaves the table as it was. Slots the new file does not
  // fill keep what an earlier load put there.
  WinNumberTable numbers;
  SlotLines slotLines{};  // the line that filled each slot, 0 for none
  ClassHeaders headers;
  WinCountTable counts{};
  LoadFindings found;

  // k: the class of the last header; none before the first header, and "0:" names
  // no row. Numbers without a row are not stored and not counted.
  constexpr int kNoClass = -1;
  int k = kNoClass;
  std::size_t i = 1;  // the slot the next number of the class goes to
  std::uint64_t lineNumber = 0;
  auto countOf = [&counts](int winClass) -> std::int32_t& {
    return counts[static_cast<std::size_t>(winClass - 1)];
  };
  // The last header, when a number stands after its colon and no number line has come
  // under it yet: the number that was meant is not read.
  std::uint64_t numberOnHeader = 0;
  std::string headerText;
  auto endClass = [&] {
    if (numberOnHeader != 0)
      found.Add(Finding::Kind::kNumberOnHeader, numberOnHeader, k, 0, headerText);
    numberOnHeader = 0;
  };

  LineReader reader(*source);
  std::string line;
  do {
    ++lineNumber;
    // A number without a row is kept only as far as a finding shows it.
    reader.ReadLine(line, k >= 1 ? LineReader::kWholeLine : kFindingTextBytes + 1);
    if (IsHeader(line)) {
      const char digit = line[0];
      if (digit < '0' || digit > '9') {
        throw Failure(words::kNotANumberBefore + std::string(1, digit) + words::kNotANumberAfter);
      }
      endClass();
      k = digit - '0';
      if (k >= 1 && NumberAfterColon(line)) {
        numberOnHeader = lineNumber;
        headerText = line;
      } else if (k >= 1) {  // the last stands where the class's numbers would count
        headers[static_cast<std::size_t>(k - 1)] = {lineNumber, line};
      }
      if (k > 1) {
        countOf(k - 1) = static_cast<std::int32_t>(i - 1);
        i = 1;
      }
    } else if (!line.empty() && k >= 1) {
      const auto row = static_cast<std::size_t>(k - 1);
      std::uint64_t& filledBy = slotLines[row][i - 1];
      if (filledBy != 0) {
        const std::string& replaced = numbers[row][i - 1];
        found.Add(MeantAsHeader(replaced) ? Finding::Kind::kNotAHeader : Finding::Kind::kReplaced,
                  filledBy, k, lineNumber, replaced);
      }
      numbers[row][i - 1] = std::move(line);
      filledBy = lineNumber;
      numberOnHeader = 0;
      ++i;
      if (i > kEntrySlots) {
        platform.InfoBox(words::kOverflowMessage);
        source.reset();
        platform.RequestQuit();
        return;
      }
    } else if (!line.empty()) {
      const Finding::Kind kind = MeantAsHeader(line) ? Finding::Kind::kNotAHeader
                                 : k == 0            ? Finding::Kind::kClassZero
                                 : IsTitle(line)     ? Finding::Kind::kTitle
                                                     : Finding::Kind::kBeforeFirstHeader;
      found.Add(kind, lineNumber, 0, 0, line);
    }
  } while (!reader.AtEnd());
  source.reset();
  endClass();

  if (k >= 1) countOf(k) = static_cast<std::int32_t>(i - 1);
  for (std::size_t row = 0; row < numbers.size(); ++row) {
    for (std::size_t slot = 0; slot < numbers[row].size(); ++slot) {
      if (slotLines[row][slot] != 0) WinNumbers[row][slot] = std::move(numbers[row][slot]);
    }
    // Headers out of order or with a gap can count slots that no file ever filled.
    // An empty slot would make the empty suffix win for every postcard, so a count
    // ends before the first slot without a number.
    std::int32_t& count = counts[row];
    for (std::int32_t slot = 0; slot < count; ++slot) {
      if (WinNumbers[row][static_cast<std::size_t>(slot)].empty()) count = slot;
    }
  }
  WinCount = counts;
  FileLoaded = 1;
  FindTableFaults(slotLines, headers, found);
  findings = std::move(found);
}

void LoadWinFile(const PathString& file, Platform& platform) {
  LoadFindings ignored;
  LoadWinFile(file, platform, ignored);
}

}  // namespace nenga
