// The program's Shift-JIS text at the Windows boundary: converted explicitly from
// code page 932 for the wide APIs, never through the system code page.
#pragma once

#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace nenga {

inline std::wstring WideFromShiftJis(std::string_view sjis) {
  const std::u16string u = Utf16FromShiftJis(sjis);
  return std::wstring(u.begin(), u.end());
}

inline std::string ShiftJisFromWide(std::wstring_view wide) {
  return ShiftJisFromUtf16(std::u16string(wide.begin(), wide.end()));
}

// The dialog filter list: Shift-JIS label and pattern strings, each ended by '\0',
// become the same strings in UTF-16 with the list ended by an extra '\0'. A last
// string without its '\0' is taken as if it had one. An empty filter stays empty.
std::wstring WideFilterList(std::string_view sjisFilter);

}  // namespace nenga
