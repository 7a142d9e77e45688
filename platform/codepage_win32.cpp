#include <windows.h>

#include "platform/codepage.h"

namespace nenga {
namespace {

constexpr UINT kShiftJis = 932;

std::u16string ToUtf16(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int inLength = static_cast<int>(text.size());
  const int n = ::MultiByteToWideChar(codePage, 0, text.data(), inLength, nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), inLength, reinterpret_cast<wchar_t*>(out.data()),
                        n);
  return out;
}

std::string FromUtf16(UINT codePage, std::u16string_view text) {
  if (text.empty()) return {};
  const auto* in = reinterpret_cast<const wchar_t*>(text.data());
  const int inLength = static_cast<int>(text.size());
  // UTF-8 takes no default character; Shift-JIS gets '?' for what it cannot hold.
  const char* defaultChar = codePage == CP_UTF8 ? nullptr : "?";
  const int n = ::WideCharToMultiByte(codePage, 0, in, inLength, nullptr, 0, defaultChar, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, in, inLength, out.data(), n, defaultChar, nullptr);
  return out;
}

}  // namespace

std::u16string Utf16FromShiftJis(std::string_view sjis) { return ToUtf16(kShiftJis, sjis); }
std::string ShiftJisFromUtf16(std::u16string_view utf16) { return FromUtf16(kShiftJis, utf16); }
std::string Utf8FromShiftJis(std::string_view sjis) {
  return FromUtf16(CP_UTF8, ToUtf16(kShiftJis, sjis));
}
std::string ShiftJisFromUtf8(std::string_view utf8) {
  return FromUtf16(kShiftJis, ToUtf16(CP_UTF8, utf8));
}

}  // namespace nenga
