// Conversions between the program's Shift-JIS text (code page 932) and Unicode.
// Characters that have no Shift-JIS form become '?'; malformed input becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace nenga {

std::u16string Utf16FromShiftJis(std::string_view sjis);
std::string ShiftJisFromUtf16(std::u16string_view utf16);

std::string Utf8FromShiftJis(std::string_view sjis);
std::string ShiftJisFromUtf8(std::string_view utf8);

}  // namespace nenga
