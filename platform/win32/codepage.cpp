#include <windows.h>

#include "platform/codepage_system.h"

namespace nenga::cp932 {
namespace {

constexpr UINT kShiftJis = 932;

}  // namespace

char16_t FromPair(unsigned char lead, unsigned char trail) {
  const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  wchar_t out[2];
  // A pair the table lacks fails here instead of becoming the default character.
  if (::MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, in, 2, out, 2) != 1) return 0;
  return static_cast<char16_t>(out[0]);
}

int ToBytes(char16_t c, unsigned char bytes[2]) {
  const wchar_t in = static_cast<wchar_t>(c);
  BOOL usedDefault = FALSE;
  const int n = ::WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, &in, 1,
                                      reinterpret_cast<char*>(bytes), 2, "?", &usedDefault);
  return usedDefault ? 0 : n;
}

}  // namespace nenga::cp932
