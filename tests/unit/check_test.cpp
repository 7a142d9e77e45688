// The check of one postcard number and its announcements.
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "winning/myProc.h"

namespace nenga::testing {
namespace {

class CheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetTable();
    Use("1:\r\n123456\r\n2:\r\n2345\r\n3:\r\n67\r\n89\r\n");
  }

  void Use(const std::string& file) {
    platform.files["win.txt"] = MemoryFile{file};
    LoadWinFile(PathOf("win.txt"), platform);
    platform.events.clear();
  }

  // The announcements in the order the dialog showed them.
  std::vector<std::string> Check(std::string_view number) {
    dialog.shown.clear();
    platform.events.clear();
    CheckNumber(number, platform, dialog);
    return dialog.shown;
  }

  FakePlatform platform;
  RecordingDialog dialog;
};

using Shown = std::vector<std::string>;

TEST_F(CheckTest, SuffixRuleOnTheExampleTable) {
  const std::vector<std::pair<std::string, Shown>> cases{
      {"123456", {"123456 は1等です。"}},
      {"992345", {"992345 は2等です。"}},
      {"000089", {"000089 は3等です。"}},
      {"000067", {"000067 は3等です。"}},
      {"123457", {}},
      {"023456", {}},  // one digit off the class-1 number; its last four are not 2345
      {"000098", {}},
      {"ab2345", {"ab2345 は2等です。"}},  // nothing requires digits
  };
  for (const auto& [number, shown] : cases) EXPECT_EQ(Check(number), shown) << number;
}

TEST_F(CheckTest, EveryWinIsAnnouncedInClassOrderWithItsCue) {
  Use("1:\r\n112345\r\n2:\r\n2345\r\n3:\r\n45\r\n");
  EXPECT_EQ(Check("112345"),
            (Shown{"112345 は1等です。", "112345 は2等です。", "112345 は3等です。"}));
  EXPECT_EQ(platform.events,
            (std::vector<std::string>{"cue:fan.wav", "cue:fan.wav", "cue:fan.wav"}));
}

TEST_F(CheckTest, NumberListedTwiceIsAnnouncedTwice) {
  Use("1:\r\n45\r\n45\r\n");
  EXPECT_EQ(Check("123445"), (Shown{"123445 は1等です。", "123445 は1等です。"}));
}

TEST_F(CheckTest, CueByClass) {
  Use("1:\r\n1\r\n2:\r\n1\r\n3:\r\n1\r\n4:\r\n1\r\n5:\r\n1\r\n6:\r\n1\r\n7:\r\n1\r\n8:\r\n1\r\n9:"
      "\r\n1\r\n");
  EXPECT_EQ(Check("000001").size(), 9u);
  std::vector<std::string> cues(3, "cue:fan.wav");
  cues.insert(cues.end(), 5, "cue:fin.wav");  // and none for class 9
  EXPECT_EQ(platform.events, cues);
  EXPECT_EQ(dialog.shown.back(), "000001 は9等です。");
}

TEST_F(CheckTest, SuffixLengthComesFromTheFirstNumberOfTheClass) {
  Use("1:\r\n1234\r\n56\r\n");
  EXPECT_EQ(Check("999956"), Shown{});
  Use("1:\r\n1234567\r\n654321\r\n");  // longer than the postcard: the whole number counts
  EXPECT_EQ(Check("654321"), Shown{"654321 は1等です。"});
}

TEST_F(CheckTest, WalkEndsAtTheFirstClassWithoutNumbers) {
  Use("1:\r\n11\r\n2:\r\n3:\r\n33\r\n");
  EXPECT_EQ(Check("000033"), Shown{});
  Use("1:\r\nx\r\n3:\r\ny\r\n");  // class 1 has no count: nothing is looked at
  EXPECT_EQ(Check("00000x"), Shown{});
}

TEST_F(CheckTest, NumberPastTheCountNeverWins) {
  // Slot 2 of class 2 keeps "B" from the bigger file loaded before, and then from
  // the first "2:" of a file that names class 2 again.
  Use("1:\r\nQ\r\n2:\r\nA\r\nB\r\n3:\r\nR\r\n");
  Use("1:\r\nQ\r\n2:\r\nX\r\n3:\r\nR\r\n");
  ASSERT_EQ(WinNumbers[1][1], "B");
  EXPECT_EQ(Check("00000B"), Shown{});
  EXPECT_EQ(Check("00000X"), Shown{"00000X は2等です。"});
  ResetTable();
  Use("1:\r\nQ\r\n2:\r\nA\r\nB\r\n3:\r\nR\r\n2:\r\nX\r\n3:\r\nR\r\n");
  ASSERT_EQ(WinNumbers[1][1], "B");
  EXPECT_EQ(Check("00000B"), Shown{});
  // The last class too, whose count is stored only at the end of the file.
  ResetTable();
  Use("1:\r\nQ\r\n2:\r\nA\r\nB\r\n");
  Use("1:\r\nQ\r\n2:\r\nX\r\n");
  ASSERT_EQ(WinNumbers[1][1], "B");
  EXPECT_EQ(Check("00000B"), Shown{});
  EXPECT_EQ(Check("00000X"), Shown{"00000X は2等です。"});
}

TEST_F(CheckTest, TrailingSpaceNeverMatchesDigits) {
  Use("1:\r\n23456 \r\n");
  EXPECT_EQ(Check("123456"), Shown{});
}

TEST_F(CheckTest, ComparisonIsExactBytes) {
  Use("1:\r\nab\r\n2:\r\n１\r\n");
  EXPECT_EQ(Check("0000AB"), Shown{});
  EXPECT_EQ(Check("0000ab"), Shown{"0000ab は1等です。"});
  EXPECT_EQ(Check("0000１"), Shown{"0000１ は2等です。"});  // a full-width digit is two bytes
}

TEST(ShowWin, CueThenLabelThenModalShowing) {
  FakePlatform platform;
  struct OrderDialog final : WinDialog {
    std::vector<std::string>* log;
    void SetAnnouncement(std::string_view text) override {
      log->push_back("label:" + std::string(text));
    }
    void ShowModal() override { log->push_back("show"); }
  } dialog;
  dialog.log = &platform.events;
  ShowWin(4, "765432", platform, dialog);
  EXPECT_EQ(platform.events,
            (std::vector<std::string>{"cue:fin.wav", "label:765432 は4等です。", "show"}));
}

TEST(Announcement, Text) {
  EXPECT_EQ(Announcement(2, "123456"), "123456 は2等です。");
  EXPECT_EQ(Announcement(2, "123456"),
            "123456 \x82\xcd"
            "2\x93\x99\x82\xc5\x82\xb7\x81\x42");
}

}  // namespace
}  // namespace nenga::testing
