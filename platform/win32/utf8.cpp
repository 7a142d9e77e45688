#include "platform/win32/utf8.h"

#include <windows.h>

namespace nenga {

std::string Utf8FromWide(std::wstring_view wide) {
  const int length = static_cast<int>(wide.size());
  const int n =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), n, nullptr, nullptr);
  return utf8;
}

std::wstring WideFromUtf8(std::string_view utf8) {
  const int length = static_cast<int>(utf8.size());
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), n);
  return wide;
}

void AppendInCodePage(unsigned codePage, std::wstring_view wide, std::string& out) {
  if (wide.empty()) return;
  if (codePage == CP_UTF8) {
    out += Utf8FromWide(wide);
    return;
  }
  const int length = static_cast<int>(wide.size());
  // Some code pages (UTF-7, ISO-2022, HZ, ISCII, symbol) take no flags and no default
  // character: they hold every character or give their own default.
  DWORD flags = WC_NO_BEST_FIT_CHARS;
  const char* unmappable = "?";
  int n =
      ::WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, unmappable, nullptr);
  if (n <= 0) {
    flags = 0;
    unmappable = nullptr;
    n = ::WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, nullptr);
  }
  if (n <= 0) {
    out += Utf8FromWide(wide);
    return;
  }
  const std::size_t old = out.size();
  out.resize(old + static_cast<std::size_t>(n));
  ::WideCharToMultiByte(codePage, flags, wide.data(), length, out.data() + old, n, unmappable,
                        nullptr);
}

std::wstring WideFromCodePage(unsigned codePage, std::string_view bytes) {
  const int length = static_cast<int>(bytes.size());
  // No flags: some code pages (UTF-7, ISO-2022, symbol) refuse any.
  const int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (n <= 0) return WideFromUtf8(bytes);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), n);
  return wide;
}

}  // namespace nenga
