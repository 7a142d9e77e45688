// libFuzzer target for the conversions. Each input is taken three ways: as UTF-8, as
// UTF-16 (little-endian pairs of bytes) and as Shift-JIS. Walking input and output
// side by side, character by character:
// - to Shift-JIS, every ASCII character comes out unchanged in its place, and every
//   other character (or malformed sequence) as exactly one '?' or one valid Shift-JIS
//   character that reads back as the same character, so no look-alike digit appears;
// - from Shift-JIS and back, every valid character comes back (as the same bytes, or
//   the table's other bytes for the same character) and every invalid byte becomes
//   U+FFFD, then '?'.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codepage.h"
#include "platform/codepage_system.h"

namespace nenga::testing {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The character of the Shift-JIS bytes at sjis[at], moving at past them: the table's
// character of a pair, a half-width katakana, ASCII, or U+FFFD for one invalid byte.
char16_t ReadShiftJis(std::string_view sjis, std::size_t& at) {
  const auto b = static_cast<unsigned char>(sjis[at++]);
  if (b < 0x80) return b;
  if (b >= 0xA1 && b <= 0xDF) return static_cast<char16_t>(0xFF61 + b - 0xA1);
  if (IsLead(b) && at < sjis.size() && IsTrail(static_cast<unsigned char>(sjis[at]))) {
    if (const char16_t c = cp932::FromPair(b, static_cast<unsigned char>(sjis[at]))) {
      ++at;
      return c;
    }
  }
  return kReplacement;
}

// Checks the output for one input character c at out[at], moving at past it.
void ExpectCharacter(char32_t c, std::string_view out, std::size_t& at) {
  Require(at < out.size());
  if (c < 0x80) {
    Require(out[at++] == static_cast<char>(c));
    return;
  }
  if (out[at] == '?') {
    // Only for a character the table cannot hold: none is lost.
    unsigned char bytes[2];
    Require(c > 0xFFFF || c == kReplacement || (c < 0xFF61 || c > 0xFF9F));
    Require(c > 0xFFFF || c == kReplacement ||
            cp932::ToBytes(static_cast<char16_t>(c), bytes) != 2 || !IsLead(bytes[0]) ||
            !IsTrail(bytes[1]) || cp932::FromPair(bytes[0], bytes[1]) != c);
    ++at;
    return;
  }
  const std::size_t start = at;
  const char16_t back = ReadShiftJis(out, at);
  Require(back != kReplacement && back >= 0x80 && back == c);
  // One character: one byte only for half-width katakana.
  Require(at - start == (back >= 0xFF61 && back <= 0xFF9F ? 1u : 2u));
}

// The UTF-8 sequence at utf8[at], moving at past it: its character, or U+FFFD for a
// malformed sequence, which is the longest start of a well-formed one, or one byte.
char32_t ReadUtf8(std::string_view utf8, std::size_t& at) {
  const auto b = static_cast<unsigned char>(utf8[at++]);
  if (b < 0x80) return b;
  std::size_t length = 0;
  if (b >= 0xC2 && b <= 0xDF) length = 2;
  if (b >= 0xE0 && b <= 0xEF) length = 3;
  if (b >= 0xF0 && b <= 0xF4) length = 4;
  if (length == 0) return kReplacement;
  char32_t c = b & (0x7Fu >> length);
  for (std::size_t n = 1; n < length; ++n, ++at) {
    if (at >= utf8.size()) return kReplacement;
    const auto next = static_cast<unsigned char>(utf8[at]);
    unsigned char low = 0x80, high = 0xBF;
    if (n == 1 && b == 0xE0) low = 0xA0;
    if (n == 1 && b == 0xED) high = 0x9F;
    if (n == 1 && b == 0xF0) low = 0x90;
    if (n == 1 && b == 0xF4) high = 0x8F;
    if (next < low || next > high) return kReplacement;
    c = c << 6 | (next & 0x3Fu);
  }
  return c;
}

void CheckFromUtf8(std::string_view utf8) {
  const std::string out = ShiftJisFromUtf8(utf8);
  std::size_t at = 0;
  for (std::size_t in = 0; in < utf8.size();) ExpectCharacter(ReadUtf8(utf8, in), out, at);
  Require(at == out.size());
}

void CheckFromUtf16(std::u16string_view utf16) {
  const std::string out = ShiftJisFromUtf16(utf16);
  std::size_t at = 0;
  for (std::size_t in = 0; in < utf16.size(); ++in) {
    char32_t c = utf16[in];
    if (c >= 0xD800 && c <= 0xDFFF) {
      // A pair is one character beyond code page 932; a lone surrogate is malformed.
      if (c <= 0xDBFF && in + 1 < utf16.size() && utf16[in + 1] >= 0xDC00 &&
          utf16[in + 1] <= 0xDFFF) {
        ++in;
      }
      c = kReplacement;
    }
    ExpectCharacter(c, out, at);
  }
  Require(at == out.size());
}

void CheckRoundTrip(std::string_view sjis) {
  const std::u16string utf16 = Utf16FromShiftJis(sjis);
  const std::string back = ShiftJisFromUtf16(utf16);
  Require(ShiftJisFromUtf8(Utf8FromShiftJis(sjis)) == back);
  std::size_t unit = 0, at = 0;
  for (std::size_t in = 0; in < sjis.size();) {
    const std::size_t start = in;
    const char16_t c = ReadShiftJis(sjis, in);
    Require(unit < utf16.size() && utf16[unit++] == c);
    if (c == kReplacement) {
      Require(in - start == 1 && at < back.size() && back[at++] == '?');
      continue;
    }
    const std::string_view bytes = sjis.substr(start, in - start);
    if (back.substr(at, bytes.size()) == bytes) {
      at += bytes.size();
    } else {
      // Another pair of the table for the same character (the NEC and IBM rows).
      Require(bytes.size() == 2 && ReadShiftJis(back, at) == c);
    }
  }
  Require(unit == utf16.size() && at == back.size());
}

void ConvertOne(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckFromUtf8(bytes);
  CheckRoundTrip(bytes);
  std::u16string utf16(size / 2, u'\0');
  for (std::size_t n = 0; n < utf16.size(); ++n) {
    utf16[n] = static_cast<char16_t>(data[2 * n] | data[2 * n + 1] << 8);
  }
  CheckFromUtf16(utf16);
}

}  // namespace
}  // namespace nenga::testing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  nenga::testing::ConvertOne(data, size);
  return 0;
}
