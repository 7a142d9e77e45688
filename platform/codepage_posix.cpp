#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/codepage.h"

namespace nenga {
namespace {

// One conversion with iconv; unconvertible or malformed input gets a replacement
// and the conversion goes on, as Windows' converters do.
std::string Convert(const char* to, const char* from, const char* in, std::size_t inBytes,
                    std::size_t unit, std::string_view replacement) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string out;
  char buffer[1024];
  char* src = const_cast<char*>(in);
  std::size_t left = inBytes;
  while (left > 0) {
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t r = ::iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (r == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: skip one input unit and put the replacement in its place.
      const std::size_t skip = std::min(unit, left);
      src += skip;
      left -= skip;
      out += replacement;
    }
  }
  ::iconv_close(cd);
  return out;
}

constexpr std::string_view kUtf16Replacement("\xFD\xFF", 2);  // U+FFFD, little-endian

}  // namespace

std::u16string Utf16FromShiftJis(std::string_view sjis) {
  const std::string bytes =
      Convert("UTF-16LE", "CP932", sjis.data(), sjis.size(), 1, kUtf16Replacement);
  std::u16string out(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return out;
}

std::string ShiftJisFromUtf16(std::u16string_view utf16) {
  std::string bytes;
  bytes.reserve(utf16.size() * 2);
  for (const char16_t c : utf16) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return Convert("CP932", "UTF-16LE", bytes.data(), bytes.size(), 2, "?");
}

std::string Utf8FromShiftJis(std::string_view sjis) {
  return Convert("UTF-8", "CP932", sjis.data(), sjis.size(), 1, "\xEF\xBF\xBD");
}

std::string ShiftJisFromUtf8(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8.data(), utf8.size(), 1, "?");
}

}  // namespace nenga
