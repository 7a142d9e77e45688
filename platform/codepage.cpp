#include "platform/codepage.h"

#include "platform/codepage_system.h"

namespace nenga {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool IsHalfWidthKatakana(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }

// Decodes the character at sjis[at], moving at past it; U+FFFD for a byte that
// begins none (the byte after it is then read afresh).
char16_t DecodeOne(std::string_view sjis, std::size_t& at) {
  const auto b = static_cast<unsigned char>(sjis[at++]);
  if (b < 0x80) return b;
  if (IsHalfWidthKatakana(b)) return static_cast<char16_t>(0xFF61 + (b - 0xA1));
  if (IsLeadByte(b) && at < sjis.size()) {
    const auto trail = static_cast<unsigned char>(sjis[at]);
    if (IsTrailByte(trail)) {
      if (const char16_t c = cp932::FromPair(b, trail)) {
        ++at;
        return c;
      }
    }
  }
  return kReplacement;
}

// Appends the Shift-JIS form of one character that is not a surrogate, or '?'. A
// form is taken only when it reads back as the same character: no look-alikes.
void EncodeOne(char16_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  if (c >= 0xFF61 && c <= 0xFF9F) {
    out += static_cast<char>(0xA1 + (c - 0xFF61));
    return;
  }
  unsigned char bytes[2];
  const int n = c == kReplacement ? 0 : cp932::ToBytes(c, bytes);
  if (n == 2 && IsLeadByte(bytes[0]) && IsTrailByte(bytes[1]) &&
      cp932::FromPair(bytes[0], bytes[1]) == c) {
    out += static_cast<char>(bytes[0]);
    out += static_cast<char>(bytes[1]);
    return;
  }
  out += '?';  // single-byte forms are all handled above: any other is a look-alike
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

constexpr char32_t kMalformed = 0x110000;  // beyond every character

// Decodes the UTF-8 sequence at utf8[at], moving at past it. A malformed sequence
// (the longest start of a well-formed one, or else one byte) gives kMalformed once:
// overlong forms, surrogates and values beyond U+10FFFF among them.
char32_t DecodeUtf8(std::string_view utf8, std::size_t& at) {
  const auto b = static_cast<unsigned char>(utf8[at++]);
  if (b < 0x80) return b;
  int more = 0;
  char32_t c = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (b >= 0xC2 && b <= 0xDF) {
    more = 1, c = b & 0x1Fu;
  } else if (b >= 0xE0 && b <= 0xEF) {
    more = 2, c = b & 0x0Fu;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    more = 3, c = b & 0x07u;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return kMalformed;
  }
  for (int n = 0; n < more; ++n) {
    if (at >= utf8.size()) return kMalformed;
    const auto next = static_cast<unsigned char>(utf8[at]);
    if (next < (n == 0 ? low : 0x80) || next > (n == 0 ? high : 0xBF)) return kMalformed;
    c = c << 6 | (next & 0x3Fu);
    ++at;
  }
  return c;
}

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

}  // namespace

std::u16string Utf16FromShiftJis(std::string_view sjis) {
  std::u16string out;
  out.reserve(sjis.size());
  for (std::size_t at = 0; at < sjis.size();) out += DecodeOne(sjis, at);
  return out;
}

void AppendShiftJisFromUtf16(std::u16string_view utf16, std::string& out) {
  for (std::size_t at = 0; at < utf16.size(); ++at) {
    // A run of ASCII, the same in Shift-JIS, goes across at once.
    std::size_t run = at;
    while (run < utf16.size() && utf16[run] < 0x80) ++run;
    if (run > at) {
      const std::size_t old = out.size();
      out.resize(old + (run - at));
      for (std::size_t n = at; n < run; ++n) out[old + n - at] = static_cast<char>(utf16[n]);
      if (run == utf16.size()) break;
      at = run;
    }
    const char16_t c = utf16[at];
    if (c >= 0xD800 && c <= 0xDFFF) {
      // A pair is one character beyond code page 932; a lone surrogate is malformed.
      if (c <= 0xDBFF && at + 1 < utf16.size() && utf16[at + 1] >= 0xDC00 &&
          utf16[at + 1] <= 0xDFFF) {
        ++at;
      }
      out += '?';
    } else {
      EncodeOne(c, out);
    }
  }
}

std::string ShiftJisFromUtf16(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  AppendShiftJisFromUtf16(utf16, out);
  return out;
}

void AppendUtf8FromShiftJis(std::string_view sjis, std::string& out) {
  for (std::size_t at = 0; at < sjis.size();) {
    if (IsAscii(sjis[at])) {
      out += sjis[at++];
    } else {
      AppendUtf8(DecodeOne(sjis, at), out);
    }
  }
}

std::string Utf8FromShiftJis(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size());
  AppendUtf8FromShiftJis(sjis, out);
  return out;
}

std::string ShiftJisFromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    if (IsAscii(utf8[at])) {
      out += utf8[at++];
    } else {
      // Code page 932 holds no character beyond U+FFFF, and no malformed sequence.
      const char32_t c = DecodeUtf8(utf8, at);
      if (c > 0xFFFF) {
        out += '?';
      } else {
        EncodeOne(static_cast<char16_t>(c), out);
      }
    }
  }
  return out;
}

bool IsUtf8(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    if (DecodeUtf8(bytes, at) == kMalformed) return false;
  }
  return true;
}

}  // namespace nenga
