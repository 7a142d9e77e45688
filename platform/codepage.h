// Conversions between the program's Shift-JIS text (code page 932) and Unicode, by
// one rule in both builds:
// - to Shift-JIS, a character code page 932 cannot hold becomes exactly one '?' (no
//   look-alike is ever substituted), and so does each malformed sequence (a lone
//   surrogate, a malformed UTF-8 sequence);
// - from Shift-JIS, each byte that does not begin a character becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace nenga {

std::u16string Utf16FromShiftJis(std::string_view sjis);
std::string ShiftJisFromUtf16(std::u16string_view utf16);

std::string Utf8FromShiftJis(std::string_view sjis);
std::string ShiftJisFromUtf8(std::string_view utf8);

// Whether bytes are well-formed UTF-8: no overlong form, no surrogate, nothing beyond
// U+10FFFF, no sequence cut short.
bool IsUtf8(std::string_view bytes);

// Appends to out; the conversions above without a new string each time.
void AppendShiftJisFromUtf16(std::u16string_view utf16, std::string& out);
void AppendUtf8FromShiftJis(std::string_view sjis, std::string& out);

}  // namespace nenga
