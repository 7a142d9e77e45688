// UTF-8 and UTF-16 on Windows, where the console and the command line speak UTF-16 and
// the checker's input and output are UTF-8. A malformed sequence becomes U+FFFD either
// way. For texts an int can count (below 2 GiB).
#pragma once

#include <string>
#include <string_view>

namespace nenga {

std::string Utf8FromWide(std::wstring_view wide);
std::wstring WideFromUtf8(std::string_view utf8);

}  // namespace nenga
