// The code page conversions, one table of cases for both builds: the native build
// (iconv) and the Windows build (the system's code page 932) must give the same bytes.
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace nenga {
namespace {

using namespace std::string_literals;

struct ToShiftJisCase {
  std::u16string utf16;
  std::string sjis;
};

TEST(CodePage, Utf16ToShiftJisNeverSubstitutesALookAlike) {
  const ToShiftJisCase cases[] = {
      {u"１等", "\x82\x50\x93\x99"},
      {u"12345\u00B2", "12345?"},                    // superscript two is not the digit two
      {u"1234\u00E9", "1234?"},                      // nor é an e
      {u"\u00A5\u301C\u2212\u00AC\u2016", "?????"},  // best-fit look-alikes in Windows and iconv
      {u"\uFF5E\uFF0D\uFFE2\u2225", "\x81\x60\x81\x7C\x81\xCA\x81\x61"},  // their real forms
      {u"\u7E8A", "\xFA\x5C"},
      {u"\uFF71\uFF9F", "\xB1\xDF"},  // half-width katakana, to the last
      {u"\\~", "\\~"},
      {u"a\U0001F600b", "a?b"},  // beyond code page 932: one '?' per character
      {u"a\xD800"
       "b\xDC00",
       "a?b?"},  // lone surrogates are malformed
      {u"\uFFFD", "?"},
      {u"a\0b"s, "a\0b"s},
      {u"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ShiftJisFromUtf16(c.utf16), c.sjis) << c.sjis;
}

TEST(CodePage, Utf8ToShiftJisGivesOneQuestionMarkPerCharacterOrMalformedSequence) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xE3\x81\xAF", "\x82\xCD"},  // は
      {"1234\xC3\xA9", "1234?"},
      {"12345\xC2\xB2", "12345?"},
      {"\xF0\x9F\x98\x80", "?"},
      {"12345\xF0\x90\x80\xB6", "12345?"},  // U+10036, not U+0036 the digit six
      {"\xE3\x81"
       "a",
       "?a"},  // cut short
      {"\xE3\x81", "?"},
      {"\xFF\x80\x80", "???"},
      {"\xF5\x80\x80\x80", "????"},  // no lead byte beyond F4
      {"\xC0\xAF", "??"},            // overlong
      {"\xED\xA0\x80", "???"},       // an encoded surrogate
      {"\xEF\xBB\xBF"
       "1",
       "?1"},  // a byte-order mark is a character like any other here
  };
  for (const auto& [utf8, sjis] : cases) EXPECT_EQ(ShiftJisFromUtf8(utf8), sjis) << utf8;
  // Well-formed whether Shift-JIS holds it or not; each kind of malformed sequence is not.
  EXPECT_TRUE(
      IsUtf8("1\xC3\xA9\xEF\xBF\xBD\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF\xE0\xA0\x80\xF0\x90\x80\x80"));
  for (const char* bad : {"\xE3\x81", "\xE3\x81\xC0", "\xC0\xAF", "\xC1\xBF", "\xE0\x9F\xBF",
                          "\xED\xA0\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x81", "\x80"})
    EXPECT_FALSE(IsUtf8(bad)) << bad;
}

TEST(CodePage, ShiftJisToUnicodeGivesReplacementPerInvalidByte) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"年賀はがき当たり番号判定", u"年賀はがき当たり番号判定"},
      {"\xB1\x5C\x7E", u"\uFF71\\~"},
      {"\xA1\xDF", u"\uFF61\uFF9F"},  // the first and last half-width katakana
      {"\x81\x60\xED\x40\xFA\x5C", u"\uFF5E\u7E8A\u7E8A"},
      {"\x80\xA0\xFD\xFE\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"a\x82", u"a\uFFFD"},     // a lead byte at the end
      {"\x82 b", u"\uFFFD b"},   // a lead byte without its trail byte
      {"\x85\x40", u"\uFFFD@"},  // a pair the table lacks
      {"a\0b"s, u"a\0b"s},
  };
  for (const auto& [sjis, utf16] : cases) EXPECT_EQ(Utf16FromShiftJis(sjis), utf16) << sjis;
  EXPECT_EQ(Utf8FromShiftJis("\x82\xCD\x80"), "\xE3\x81\xAF\xEF\xBF\xBD");
}

TEST(CodePage, LeadByteRangesHoldToTheirEdges) {
  struct Case {
    std::string sjis;
    std::u16string utf16;
    std::string utf8;
  };
  // The first and last lead byte of each range, with the lowest and highest trail bytes.
  const Case cases[] = {
      {"\x81\x40", u"\u3000", "\xE3\x80\x80"},
      {"\x9F\x40", u"\u6A97", "\xE6\xAA\x97"},  // 檗
      {"\x9F\xFC", u"\u6ECC", "\xE6\xBB\x8C"},  // 滌
      {"\xE0\x40", u"\u6F3E", "\xE6\xBC\xBE"},
      {"\xFC\x4B", u"\u9ED1", "\xE9\xBB\x91"},  // the table's last character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16FromShiftJis(c.sjis), c.utf16) << c.utf8;
    EXPECT_EQ(ShiftJisFromUtf16(c.utf16), c.sjis) << c.utf8;
    EXPECT_EQ(Utf8FromShiftJis(c.sjis), c.utf8) << c.utf8;
    EXPECT_EQ(ShiftJisFromUtf8(c.utf8), c.sjis) << c.utf8;
  }
}

}  // namespace
}  // namespace nenga
