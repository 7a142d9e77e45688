// The winning-number file: line rules, kinds of line, count bookkeeping, overflow,
// failures, and hostile input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"
#include "winning/myProc.h"
#include "winning/words.h"

namespace nenga::testing {
namespace {

using Counts = std::vector<std::int32_t>;  // classes 1 to 10

Counts CountsNow() { return Counts(WinCount.begin(), WinCount.end()); }

std::vector<std::string> NumbersOf(int winClass) {
  const auto row = static_cast<std::size_t>(winClass - 1);
  const auto n = static_cast<std::size_t>(WinCount[row]);
  return std::vector<std::string>(WinNumbers[row].begin(),
                                  WinNumbers[row].begin() + static_cast<std::ptrdiff_t>(n));
}

std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t c : text) {
    const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? hi : lo;
    bytes += bigEndian ? lo : hi;
  }
  return bytes;
}

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetTable(); }
  void TearDown() override { EXPECT_EQ(platform.openFiles, 0) << "the file was left open"; }

  void Load(const std::string& content, std::size_t chunk = 7) {
    platform.files["win.txt"] = MemoryFile{content, chunk};
    LoadWinFile(PathOf("win.txt"), platform);
  }

  // The message of the Failure that the load raises, or "" when it raises none.
  std::string LoadFailure(const std::string& content) {
    try {
      Load(content);
    } catch (const Failure& failure) {
      return failure.message();
    }
    return "";
  }

  FakePlatform platform;
};

const Counts kExampleCounts{1, 1, 2, 0, 0, 0, 0, 0, 0, 0};

struct FileCase {
  const char* name;
  std::string content;
  Counts counts;
  std::vector<std::vector<std::string>> numbers;  // classes 1, 2, 3, ... as far as given
};

// Files that load, each with the counts and numbers it must give.
std::vector<FileCase> LoadingFiles() {
  const std::vector<std::vector<std::string>> example{{"123456"}, {"2345"}, {"67", "89"}};
  return {
      {"CrLf", "1:\r\n123456\r\n2:\r\n2345\r\n3:\r\n67\r\n89\r\n", kExampleCounts, example},
      {"LastLineWithoutLineEnd", "1:\r\n123456", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {{"123456"}}},
      {"EmptyLinesAnywhere",
       "\r\n\r\n1:\r\n\r\n123456\r\n\r\n2:\r\n2345\r\n\r\n3:\r\n67\r\n\r\n89\r\n\r\n\r\n",
       kExampleCounts, example},
      {"LfOnly", "1:\n123456\n2:\n2345\n3:\n67\n89\n", kExampleCounts, example},
      {"CrOnly", "1:\r123456\r2:\r2345\r3:\r67\r89", kExampleCounts, example},
      {"MixedLineEnds", "1:\r\n123456\n2:\r2345\r\n\n3:\n67\r\n89", kExampleCounts, example},
      {"LfCrIsTwoLineEnds", "1:\n\r123456\n\r2:\n\r2345\n\r3:\n\r67\n\r89\n\r", kExampleCounts,
       example},
      {"Utf8ByteOrderMark",
       "\xEF\xBB\xBF"
       "1:\r\n123456\r\n2:\r\n2345\r\n3:\r\n67\r\n89\r\n",
       kExampleCounts, example},
      {"Utf16LittleEndian", Utf16(u"1:一等\r\n123456\r\n2:\r\n2345\r\n3:\r\n67\r\n89", false),
       kExampleCounts, example},
      {"Utf16BigEndian", Utf16(u"1:\n123456\n2:\n2345\n3:\n67\n89\n", true), kExampleCounts,
       example},
      {"Utf16NumberInJapanese",
       Utf16(u"1:\r\n１２３\r\n", false),
       {1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {{"１２３"}}},
      {"CtrlZEndsTheFile",
       "1:\r\n123456\r\n2:\r\n2345\x1a\r\n3:\r\n67\r\n",
       {1, 1, 0, 0, 0, 0, 0, 0, 0, 0},
       {{"123456"}, {"2345"}}},
      {"Utf16CtrlZEndsTheFile",
       Utf16(u"1:\r\n123456\r\n2:\r\n2345\x1a\r\n3:\r\n67\r\n", false),
       {1, 1, 0, 0, 0, 0, 0, 0, 0, 0},
       {{"123456"}, {"2345"}}},
      {"NothingTrimmed",
       "1:\r\n 12345\r\n2:\r\n\t9 \r\n3:\r\n   \r\n",
       {1, 1, 1, 0, 0, 0, 0, 0, 0, 0},
       {{" 12345"}, {"\t9 "}, {"   "}}},
      {"HeaderTextIgnored",
       "1:999999\r\n123456\r\n2:1等 2345\r\n2345\r\n",
       {1, 1, 0, 0, 0, 0, 0, 0, 0, 0},
       {{"123456"}, {"2345"}}},
      {"TenColonIsANumber", "1:\r\n10:\r\n", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {{"10:"}}},
      {"NineNumbersFit",
       "1:\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n",
       {9, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {{"1", "2", "3", "4", "5", "6", "7", "8", "9"}}},
      {"AllNineClasses",
       "1:\r\na\r\n2:\r\nb\r\n3:\r\nc\r\n4:\r\nd\r\n5:\r\ne\r\n6:\r\nf\r\n7:\r\ng\r\n8:\r\nh\r\n9:"
       "\r\ni\r\n",
       {1, 1, 1, 1, 1, 1, 1, 1, 1, 0},
       {{"a"}, {"b"}, {"c"}, {"d"}, {"e"}, {"f"}, {"g"}, {"h"}, {"i"}}},
      {"EmptyFile", "", Counts(10, 0), {}},
      {"OnlyEmptyLines", "\r\n\r\n\n\r", Counts(10, 0), {}},
      // Malformed files give the counts their bookkeeping gives.
      // Class 2 would count the one number listed under class 1, but its own slot
      // holds none; a count never covers an empty slot.
      {"GapInHeaders", "1:\r\nx\r\n3:\r\ny\r\n", {0, 0, 1, 0, 0, 0, 0, 0, 0, 0}, {{}, {}, {"y"}}},
      // "1:" after a later class goes on from that class's running slot: class 1
      // would count two slots no file filled, whose empty text every postcard ends in.
      {"RepeatedOneHeaderAfterALaterClass", "2:\r\nA\r\nB\r\n1:\r\nC\r\n", Counts(10, 0), {}},
      {"HeaderFollowedByHeader",
       "1:\r\n2:\r\n123\r\n",
       {0, 1, 0, 0, 0, 0, 0, 0, 0, 0},
       {{}, {"123"}}},
      {"NumbersBeforeFirstHeaderIgnored",
       "555\r\n666\r\n1:\r\n123456\r\n",
       {1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {{"123456"}}},
      {"ZeroHeaderNumbersIgnored",
       "1:\r\na\r\n0:\r\nzz\r\nyy\r\n2:\r\nb\r\n",
       {1, 1, 0, 0, 0, 0, 0, 0, 0, 0},
       {{"a"}, {"b"}}},
      {"ZeroHeaderLast", "1:\r\na\r\n0:\r\nzz\r\n", Counts(10, 0), {}},
      {"NoHeaderAtAll", "123456\r\n654321\r\n", Counts(10, 0), {}},
  };
}

TEST_F(LoaderTest, FilesLoadWithTheirCountsAndNumbers) {
  for (const FileCase& c : LoadingFiles()) {
    SCOPED_TRACE(c.name);
    ResetTable();
    Load(c.content);
    EXPECT_EQ(FileLoaded, 1);
    EXPECT_EQ(CountsNow(), c.counts);
    for (std::size_t k = 0; k < c.numbers.size(); ++k) {
      EXPECT_EQ(NumbersOf(static_cast<int>(k) + 1), c.numbers[k]) << "class " << k + 1;
    }
  }
}

TEST_F(LoaderTest, ReadSizesDoNotChangeTheResult) {
  const std::string file =
      "\xEF\xBB\xBF"
      "1:\r\n123456\r\n\r\n2:\n2345\r3:\r\n67\r\n89\x1a"
      "4:\r\n1\r\n";
  for (const std::size_t chunk : {1u, 2u, 3u, 4u, 5u, 65536u}) {
    SCOPED_TRACE(chunk);
    ResetTable();
    Load(file, chunk);
    EXPECT_EQ(CountsNow(), kExampleCounts);
    EXPECT_EQ(NumbersOf(3), (std::vector<std::string>{"67", "89"}));
  }
}

TEST_F(LoaderTest, Utf16LinesConvertTheSameWhereverReadsEnd) {
  // Lines start with characters of every width; a pair is one character, a lone
  // surrogate one malformed sequence.
  const std::string file = Utf16(
      u"1:\r\n\U0001F600x\r\n一:\r\n\xD800"
      u"a\r\nab\U0001F600\r\n"
      u"2:comment\r\n" +
          std::u16string(3000, u'2'),
      false);
  for (const std::size_t chunk : {1u, 2u, 3u, 5u, 65536u}) {
    SCOPED_TRACE(chunk);
    ResetTable();
    Load(file, chunk);
    EXPECT_EQ(NumbersOf(1), (std::vector<std::string>{"?x", "一:", "?a", "ab?"}));
    EXPECT_EQ(NumbersOf(2), (std::vector<std::string>{std::string(3000, '2')}));
  }
}

TEST_F(LoaderTest, SecondOneHeaderGoesOnFromTheRunningSlot) {
  // Slot 2 of class 1 keeps what an earlier file put there; "d" goes to slot 3.
  Load("1:\r\nold1\r\nold2\r\nold3\r\n");
  Load("1:\r\na\r\n2:\r\nb\r\nc\r\n1:\r\nd\r\n");
  EXPECT_EQ(NumbersOf(1), (std::vector<std::string>{"a", "old2", "d"}));
  EXPECT_EQ(WinCount[1], 0) << "class 2's count is stored only at a \"3:\" header";
}

TEST_F(LoaderTest, SecondLoadReplacesTheCounts) {
  Load("1:\r\n123456\r\n2:\r\n2345\r\n3:\r\n67\r\n89\r\n");
  Load("1:\r\n654321\r\n");
  EXPECT_EQ(CountsNow(), (Counts{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(NumbersOf(1), (std::vector<std::string>{"654321"}));
}

TEST_F(LoaderTest, HostileBytesAreStoredAsTheyAre) {
  std::string binary;
  for (int b = 0; b < 256; ++b) {
    if (b != '\r' && b != '\n' && b != 0x1a) binary += static_cast<char>(b);
  }
  const std::string withNul(
      "12\0"
      "456",
      6);
  const std::string huge(3'000'000, '7');
  Load("1:\r\n" + binary + "\r\n" + withNul + "\r\n" + huge + "\r\n");
  EXPECT_EQ(NumbersOf(1), (std::vector<std::string>{binary, withNul, huge}));
}

TEST_F(LoaderTest, HugeHeaderLineIsStillAHeader) {
  Load("1:" + std::string(1'000'000, 'x') + "\r\n123456\r\n");
  EXPECT_EQ(NumbersOf(1), (std::vector<std::string>{"123456"}));
}

TEST_F(LoaderTest, OverflowShowsTheMessageClosesTheFileAndAsksToQuit) {
  Load("1:\r\n123456\r\n");
  const auto before = WinNumbers;
  std::string tooMany = "1:\r\n";
  for (int n = 0; n < 10; ++n) tooMany += std::to_string(n) + "\r\n";
  Load(tooMany + "2:\r\n2345\r\n");

  EXPECT_EQ(platform.events, (std::vector<std::string>{"info:データが大きすぎます。\r\n"
                                                       "安全のためプログラムを終了します。\r\n"
                                                       "当たり番号のファイルが不正です。",
                                                       "quit"}));
  EXPECT_EQ(platform.filesOpenDuringInfoBox, 1);
  EXPECT_EQ(platform.filesOpenAtQuit, 0) << "the file is closed before the quit request";
  EXPECT_EQ(FileLoaded, 1);
  EXPECT_EQ(WinNumbers, before);
  EXPECT_EQ(CountsNow(), (Counts{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(LoaderTest, OverflowThroughARepeatedOneHeader) {
  // The running slot is not reset by "1:", so five and five numbers overflow.
  Load("1:\r\n1\r\n2\r\n3\r\n4\r\n5\r\n1:\r\n6\r\n7\r\n8\r\n9\r\n10\r\n");
  EXPECT_EQ(platform.events.back(), "quit");
  EXPECT_EQ(FileLoaded, 0);
}

TEST_F(LoaderTest, HeaderThatIsNotADigitFailsAndKeepsTheTable) {
  Load("1:\r\n123456\r\n2:\r\n2345\r\n");
  const auto numbers = WinNumbers;
  const auto counts = WinCount;
  EXPECT_EQ(LoadFailure("1:\r\n999999\r\nx:\r\n1\r\n"), "'x' は数値ではありません");
  EXPECT_EQ(WinNumbers, numbers);
  EXPECT_EQ(WinCount, counts);
  EXPECT_EQ(FileLoaded, 1);
}

TEST_F(LoaderTest, HeaderFailureBeforeAnyLoadLeavesNothingLoaded) {
  EXPECT_EQ(LoadFailure("a:\r\n"), "'a' は数値ではありません");
  // The message is a byte string: a NUL in it does not cut it short.
  EXPECT_EQ(LoadFailure(std::string("\0:\r\n", 4)),
            "'" + std::string(1, '\0') + "' は数値ではありません");
  EXPECT_EQ(FileLoaded, 0);
  EXPECT_EQ(CountsNow(), Counts(10, 0));
}

TEST_F(LoaderTest, ReadErrorFailsWithItsMessageAndKeepsTheTable) {
  Load("1:\r\n123456\r\n");
  const auto counts = WinCount;
  platform.files["bad.txt"] = MemoryFile{"1:\r\n111111\r\n2:\r\n2222\r\n", 3, 23, 8};
  try {
    LoadWinFile(PathOf("bad.txt"), platform);
    FAIL() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.message(), "I/O エラー (23)");
  }
  EXPECT_EQ(WinCount, counts);
  EXPECT_EQ(NumbersOf(1), (std::vector<std::string>{"123456"}));
}

TEST_F(LoaderTest, FileThatCannotBeOpenedKeepsTheTableUsable) {
  Load("1:\r\n123456\r\n");
  try {
    LoadWinFile(PathOf("missing.txt"), platform);
    FAIL() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.message(), "ファイルが見つかりません");
  }
  EXPECT_EQ(FileLoaded, 1);
  EXPECT_EQ(NumbersOf(1), (std::vector<std::string>{"123456"}));
}

// Files as users type them, each with the lines that can never win: the line, why,
// and what the finding shows of it ("" where the row does not look). The earlier file
// is loaded first.
TEST_F(LoaderTest, FindingsNameTheLinesThatCanNeverWin) {
  using K = Finding::Kind;
  struct Named {
    std::uint64_t line;
    K kind;
    std::uint64_t other;
    std::string text;
    std::string reason = "";
  };
  struct Case {
    const char* name;
    std::string earlier, content;
    std::vector<Named> named;
    std::uint64_t total;
  };
  const std::string x150 = [] {
    std::string lines;
    for (int n = 0; n < 150; ++n) lines += "x\r\n";
    return lines + "1:\r\n123456";
  }();
  std::string utf8Title, title;  // a long UTF-8 line, and what is shown of it
  for (int n = 0; n < 30; ++n) utf8Title += "\xE3\x81\x82";
  for (int n = 0; n < 20; ++n) title += "あ";
  const std::vector<Case> cases{
      {"Clean", "", "\xEF\xBB\xBF\r\n1:1等\r\n123456\n2:\r\n2345\r\n\r\n3:\r67\r\n89", {}, 0},
      {"SevenDigitFirstNumber", "", "1:\r\n1234567\r\n123456\r\n", {{2, K::kTooLong, 0, ""}}, 1},
      {"FullWidthShiftJis",
       "",
       "1:\r\n０１２３４９\r\n1234\r\n2:\r\n2345\r\n",
       {{2, K::kFullWidth, 0, "０１２３４９"},
        {3, K::kWrongLength, 0, "", "この等級の最初の番号と桁数が違います。"}},
       2},
      {"FullWidthUtf8",
       "",
       "1:\n\xEF\xBC\x90\xEF\xBC\x99\xEF\xBC\x93\xE3\x80\x80\n",
       {{2, K::kFullWidth, 0, "０９３\x81\x40"}},
       1},
      {"FullWidthUtf16",
       "",
       Utf16(u"1:\r\n１２３４５６\r\n2:０\r\n3:9\r\n4:" + std::u16string(39, u'x') + u"９", false),
       {{2, K::kFullWidth, 0, ""},
        {3, K::kNumberOnHeader, 0, "2:０"},
        {4, K::kNumberOnHeader, 0, ""},
        {5, K::kNumberOnHeader, 0, ""}},
       4},
      {"SpacesAndControls",
       "",
       "1:\r\n123456 \n2:\r\t2345　\r\n3:\r\n6\x01\x7F\r\n4:\r\n \t　\r\n",
       {{2, K::kSpaces, 0, "123456 "},
        {4, K::kSpaces, 0, " 2345　"},
        {6, K::kNotDigits, 0, "6??"},
        {8, K::kNotDigits, 0, "  　"}},  // nothing left when the blanks go
       4},
      {"LengthsDiffer",
       "",
       "1:\r\n123456\r\n2:\r\n2345\r\n345\r\n3:\r\n67\r\n1234567\r\n",
       {{5, K::kWrongLength, 4, ""}, {8, K::kTooLong, 0, ""}},
       2},
      {"ClassLeftOut",
       "",
       "1:\r\n123456\r\n3:\r\n67\r\n4:\r\n13579\r\n",
       {{0, K::kNothingCompared, 0, ""},
        {2, K::kNotCounted, 0, ""},
        {4, K::kClassNotReached, 1, ""},
        {6, K::kClassNotReached, 1, ""}},
       4},
      {"ClassLeftEmpty",
       "",
       "1:\r\n123456\r\n2:\r\n3:\r\n67\r\n",
       {{5, K::kClassNotReached, 2, ""}},
       1},
      {"OneAgainAfterTwo",
       "",
       "1:\r\n111111\r\n2:\r\n2222\r\n1:\r\n333333\r\n3:\r\n44\r\n",
       {{6, K::kNotCounted, 0, ""}},
       1},
      {"ClassWrittenTwice",
       "",
       "1:\r\n111111\r\n2:\r\n2222\r\n2:\r\n3333\r\n3:\r\n3等\r\n3:\r\n44\r\n",
       {{4, K::kReplaced, 6, "2222",
         "6 行目の番号が同じ場所に入るので調べません。等級の行は 1: "
         "から順に1回ずつ書いてください。"},
        {8, K::kNotAHeader, 10, "3等"}},
       2},
      {"NoClassBeforeOrZero",
       "",
       "令和9年\x82\r\n1:\r\n123456\r\n0:99\r\n見本\r\n",  // the year cut inside a character
       {{0, K::kNothingCompared, 0, ""},
        {1, K::kTitle, 0, "令和9年…"},
        {3, K::kNotCounted, 0, ""},  // "0:" last: class 1's count is never stored
        {5, K::kClassZero, 0, ""}},
       4},
      {"LongLinesCut",
       "",
       std::string(30, '7') + "\r\n" + utf8Title + "\r\n" + std::string(3'000'000, 'y'),
       {{0, K::kNothingCompared, 0, ""},
        {1, K::kBeforeFirstHeader, 0, std::string(20, '7') + "…"},
        {2, K::kTitle, 0, title + "…"},
        {3, K::kTitle, 0, std::string(20, 'y') + "…"}},
       4},
      {"EarlierFileFillsTheGaps",
       "1:\r\n111111\r\n222222\r\n",
       "2:\r\nA\r\nB\r\n1:\r\n333333\r\n",
       {{0, K::kEarlierFile, 0, "111111"},
        {0, K::kEarlierFile, 0, "222222"},
        {2, K::kNotCounted, 0, ""},
        {3, K::kNotCounted, 0, ""}},
       4},
      {"ManyKeptInLineOrder", "", x150, {}, 150},
      {"EmptyFile", "", "", {{0, K::kNothingCompared, 0, ""}}, 1},  // its words: nenga-check's test
      {"HeadersAlone", "", "1:令和8年\r\n2:\r\n3:\r\n", {{0, K::kNothingCompared, 0, ""}}, 1},
      {"NumbersOnHeaderLines",
       "",
       "1:123456\r\n2:\r\n2345\r\n3:６７\r\n4:9\r\n5:\xEF\xBC\x91\r\n6:" + std::string(62, ' ') +
           "0",
       {{0, K::kNothingCompared, 0, ""},
        {1, K::kNumberOnHeader, 0, "1:123456",
         "等級の行の「:」より後ろは読み込みません。番号は次の行に書いてください。"},
        {3, K::kClassNotReached, 1, ""},
        {4, K::kNumberOnHeader, 0, "3:６７"},
        {5, K::kNumberOnHeader, 0, ""},
        {6, K::kNumberOnHeader, 0, "5:１"},  // UTF-8
        {7, K::kNumberOnHeader, 0, ""}},
       7},
      {"MeantAsHeaders",
       "",
       "1等:\r\n123456\r\n１：\r\n1:\r\n123456\r\n2等:\r\n2345\r\n2:\r\n2\xE7\xAD\x89\r\n"
       "\xEF\xBC\x91\xEF\xBC\x90\xE5\x9B\x9E\xEF\xBC\x9A\r\n10:\r\n第1回:\r\n12345 参照先:1\r\n",
       {{1, K::kNotAHeader, 0, "1等:"},
        {2, K::kBeforeFirstHeader, 0, ""},
        {3, K::kNotAHeader, 0, "１：",
         "等級の行として読み込みません。等級の行は、半角の数字のすぐ後に半角の「:」を書きます（1: "
         "など）。"},
        {6, K::kNotAHeader, 0, "2等:"},  // taken as class 1's second number
        {7, K::kWrongLength, 6, ""},
        {9, K::kNotAHeader, 0, ""},  // 等 and ：in UTF-8
        {10, K::kNotAHeader, 0, ""},
        {11, K::kNotAHeader, 0, ""},
        {12, K::kNotDigits, 0, ""},
        {13, K::kNotDigits, 0, ""}},  // its colon too far in
       10},
      {"MeantAsHeaderThenAHeader",  // class 1's count goes to class 2
       "",
       "1:\r\n123456\r\n2等:\r\n2345\r\n3:\r\n67\r\n",
       {{0, K::kNothingCompared, 0, ""},
        {2, K::kNotCounted, 0, ""},
        {3, K::kNotAHeader, 0, ""},
        {4, K::kNotCounted, 0, ""},
        {6, K::kClassNotReached, 1, ""}},
       5},
      {"DigitsThatCountSomething",  // before a letter, kana or kanji, in either encoding
       "",
       "令和８年 お年玉くじ 当せん番号\r\n２０２６年\r\n5　6\r\n2027年 はがき 3組\r\n"
       "\xE7\xAC\xAC\xEF\xBC\x97\xEF\xBC\x99\xE5\x9B\x9E\r\n"  // 第７９回 in UTF-8
       "令和 10 年\r\n123456\r\n1:1等\r\n123456\r\n2:２等\r\n3:3\xE7\xAD\x89\r\n"
       "5:2345\xEF\xBC\x88\x35\xE7\xAD\x89\xEF\xBC\x89",  // 2345（5等）in UTF-8
       {{1, K::kTitle, 0, "", words::kTitle},
        {2, K::kTitle, 0, ""},
        {3, K::kBeforeFirstHeader, 0, ""},
        {4, K::kTitle, 0, ""},
        {5, K::kTitle, 0, ""},
        {6, K::kBeforeFirstHeader, 0, ""},
        {7, K::kBeforeFirstHeader, 0, ""},
        {10, K::kClassEmpty, 2, "2:２等",  // the first class left empty, not the next
         "2等の番号がないので、2等から後の等級は調べません。"
         "番号はこの行の次の行から、1行に1つずつ書いてください。"},
        {12, K::kNumberOnHeader, 0, ""}},
       9},
      {"ClassTwoBeforeOne", "", "2:\r\n1:\r\n123456\r\n2:\r\n", {{4, K::kClassEmpty, 2, ""}}, 1},
      {"ClassEmptyWithANumberOnItsHeader",
       "",
       "1:\r\n123456\r\n2:2345（2等）\r\n3:\r\n",
       {{3, K::kNumberOnHeader, 0, ""}},
       1},
      {"YearFileAsWritten", "", words::kYearFile, {{0, K::kNothingCompared, 0, ""}}, 1},
      {"SeveralNumbersOnALine",
       "",
       "1:\r\n123456\r\n2:\r\n67 89\r\n2345\r\n3:\r\n１２、３４,56，7　8\r\n"
       "\x31\xE3\x80\x81\x32\xE3\x80\x80\x33\xEF\xBC\x8C\x34\r\n",  // 1、2　3，4 in UTF-8
       {{4, K::kSeveralNumbers, 0, "", "番号が1行に2つ以上あります。1行に1つずつ書いてください。"},
        {5, K::kWrongLength, 0, ""},
        {7, K::kSeveralNumbers, 0, ""},
        {8, K::kSeveralNumbers, 0, ""}},
       4},
  };
  for (std::size_t run = 0; run < 4 * cases.size(); ++run) {
    const Case& c = cases[run / 4];
    const std::size_t chunk = run % 4 == 3 ? 65536 : run % 4 + 1;  // 1 to 3 bytes a read, or all
    SCOPED_TRACE(::testing::Message() << c.name << " read size " << chunk);
    ResetTable();
    if (!c.earlier.empty()) Load(c.earlier);
    platform.files["win.txt"] = MemoryFile{c.content, chunk};
    LoadFindings findings;
    LoadWinFile(PathOf("win.txt"), platform, findings);
    EXPECT_EQ(findings.total, c.total);
    if (c.total > LoadFindings::kKept) {
      ASSERT_EQ(findings.kept.size(), LoadFindings::kKept);
      for (std::uint64_t n = 0; n < LoadFindings::kKept; ++n)
        EXPECT_EQ(findings.kept[n].line, n + 1);
      continue;
    }
    ASSERT_EQ(findings.kept.size(), c.named.size());
    for (std::size_t n = 0; n < c.named.size(); ++n) {
      const Finding& got = findings.kept[n];
      EXPECT_EQ(got.line, c.named[n].line) << n;
      EXPECT_EQ(got.kind, c.named[n].kind) << "line " << got.line;
      EXPECT_EQ(got.other, c.named[n].other) << "line " << got.line;
      if (!c.named[n].text.empty()) {
        EXPECT_EQ(got.text, c.named[n].text) << "line " << got.line;
      }
      if (!c.named[n].reason.empty()) {
        EXPECT_EQ(FindingReason(got), c.named[n].reason) << "line " << got.line;
      }
    }
  }
}

// Digits right before a letter, a kana or a kanji count something and are no number:
// the characters at the edges of each kind, in Shift-JIS and in UTF-8.
#define UTF8(text) reinterpret_cast<const char*>(u8##text)
#define SHIFT_JIS_AND_UTF8(text) text, UTF8(text)
TEST(FindingRules, DigitsRightBeforeALetterKanaOrKanjiCountSomething) {
  for (const std::string counted : {"A",
                                    "Z",
                                    "a",
                                    "z",
                                    SHIFT_JIS_AND_UTF8("々"),
                                    SHIFT_JIS_AND_UTF8("Ａ"),
                                    SHIFT_JIS_AND_UTF8("Ｚ"),
                                    SHIFT_JIS_AND_UTF8("ａ"),
                                    SHIFT_JIS_AND_UTF8("ｚ"),
                                    SHIFT_JIS_AND_UTF8("ぁ"),
                                    SHIFT_JIS_AND_UTF8("ん"),
                                    SHIFT_JIS_AND_UTF8("ァ"),
                                    SHIFT_JIS_AND_UTF8("ム"),
                                    SHIFT_JIS_AND_UTF8("ヶ"),
                                    SHIFT_JIS_AND_UTF8("ｦ"),
                                    SHIFT_JIS_AND_UTF8("ﾟ"),
                                    SHIFT_JIS_AND_UTF8("亜"),
                                    SHIFT_JIS_AND_UTF8("一"),
                                    SHIFT_JIS_AND_UTF8("漾"),
                                    SHIFT_JIS_AND_UTF8("熙")}) {
    EXPECT_FALSE(NumberAfterColon("1:12" + counted)) << counted;
    EXPECT_TRUE(IsTitle("2027" + counted)) << counted;
  }
  for (const std::string alone :
       {"@", "[", "`", "{", SHIFT_JIS_AND_UTF8("・"), SHIFT_JIS_AND_UTF8("〃"),
        SHIFT_JIS_AND_UTF8("ー"), SHIFT_JIS_AND_UTF8("（")}) {
    EXPECT_TRUE(NumberAfterColon("1:12" + alone)) << alone;
    EXPECT_FALSE(IsTitle("2027" + alone)) << alone;
  }
  // Read a character at a time: no digit is made of one character's end and the next.
  EXPECT_TRUE(NumberAfterColon("1:ｱ1"));
  EXPECT_FALSE(NumberAfterColon("1:モP") || NumberAfterColon(UTF8("1:あP")));
  EXPECT_TRUE(IsTitle("モP0") && IsTitle(UTF8("あP0")));
  EXPECT_TRUE(IsTitle("令和 8 年"));  // one digit alone is no number that could win
  // A UTF-8 line as the loader keeps it, cut inside its last character.
  std::string cut = UTF8("202（");
  for (int n = 0; n < 20; ++n) cut += UTF8("あ");
  EXPECT_FALSE(IsTitle(cut.substr(0, kFindingTextBytes + 1)));
}

TEST(FindingsBoxText, TenFindingsThenHowManyMore) {
  LoadFindings findings;
  findings.Add(Finding::Kind::kNothingCompared, 0, 0, 0, {});
  findings.Add(Finding::Kind::kEarlierFile, 0, 2, 0, "2345");
  for (std::uint64_t line = 12; line > 1; --line) {
    findings.Add(Finding::Kind::kWrongLength, line, 1, 6, "12");
  }
  findings.Add(Finding::Kind::kClassNotReached, 13, 3, 2, "67");
  const std::string text = FindingsBoxText(findings);
  EXPECT_TRUE(text.starts_with(
      "次の番号は当たりを調べられません。ファイルを直して、読み込み直してください。\r\n"
      "このファイルには調べる当たり番号が1つもないので、どのはがきも当たりになりません。"
      "番号は等級の行（1: など）の次の行から、1行に1つずつ書いてください。\r\n"
      "2等の番号「2345」はこのファイルにありませんが、"))
      << text;
  EXPECT_TRUE(
      text.ends_with("\r\n9 行目「12」：この等級の最初の番号（6 けた）と桁数が違います。"
                     "\r\nほかに 4 件あります。"))
      << text;
  EXPECT_EQ(FindingReason(findings.kept.back()),
            "2等の番号がないので、2等から後の等級は調べません。");
}

TEST(FileErrorMessage, ByCode) {
  const std::vector<std::pair<int, std::string>> cases{
      {2, "ファイルが見つかりません"},
      {3, "不正なファイル名です"},
      {4, "オープンしたファイルが多すぎます"},
      {5, "ファイルへのアクセスが拒否されました"},
      {100, "ファイルの末尾以降を読み込みました"},
      {101, "ディスクがいっぱいです"},
      {106, "入力値が数値ではありません"},
      {32, "I/O エラー (32)"},
      {0, "I/O エラー (0)"},
      {-1, "I/O エラー (-1)"},
      {kPosixErrorFlag | 5, "I/O エラー (5)"},  // EIO, not Win32's access denied
      {kPosixErrorFlag | 2, "I/O エラー (2)"},
  };
  for (const auto& [code, message] : cases) EXPECT_EQ(FileErrorMessage(code), message) << code;
}

}  // namespace
}  // namespace nenga::testing
