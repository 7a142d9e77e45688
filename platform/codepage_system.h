// The system's code page 932 table, one character at a time: the part of the
// conversions each platform supplies. The rules around it live in codepage.cpp, the
// same for both builds.
#pragma once

namespace nenga::cp932 {

// The character of a double-byte pair (a lead byte and a trail byte in their ranges),
// or 0 when the table holds none for it.
char16_t FromPair(unsigned char lead, unsigned char trail);

// Writes the bytes the table gives for c (a character outside ASCII, half-width
// katakana and the surrogates) and returns their count, 1 or 2; returns 0 when the
// table has no form for c. May give a look-alike: the caller checks the way back.
int ToBytes(char16_t c, unsigned char bytes[2]);

}  // namespace nenga::cp932
