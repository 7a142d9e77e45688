// UTF-8 and UTF-16 on Windows, where the console and the command line speak UTF-16 and
// the checker's input is mostly UTF-8; and UTF-16 to and from the code page a pipe or a
// file is written or read in. A malformed sequence becomes U+FFFD either way. For texts
// an int can count (below 2 GiB).
#pragma once

#include <string>
#include <string_view>

namespace nenga {

std::string Utf8FromWide(std::wstring_view wide);
std::wstring WideFromUtf8(std::string_view utf8);

// Appends wide in codePage (a Windows code page; 65001 is UTF-8), each character the
// code page cannot hold as the default character, '?' where the code page lets one be
// given, never a look-alike (best fit). A code page the system cannot convert to gets
// UTF-8.
void AppendInCodePage(unsigned codePage, std::wstring_view wide, std::string& out);

// bytes in codePage (a Windows code page) as UTF-16, each byte that begins no character
// as the code page's default character. A code page the system cannot convert from is
// read as UTF-8.
std::wstring WideFromCodePage(unsigned codePage, std::string_view bytes);

}  // namespace nenga
