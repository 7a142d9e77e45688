// The portable platform pieces: the error box's full stop, code page conversions
// and opening files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/platform.h"

namespace nenga {
namespace {

TEST(ErrorBoxText, FullStopRule) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"abc", "abc."},
      {"abc.", "abc."},
      {"abc,", "abc,"},
      {"x)", "x)"},
      {"oops!", "oops!"},
      {"trailing ", "trailing "},
      {"a-", "a-"},
      {"", ""},
      {"a/", "a/."},  // '/' comes after '.'
      {"ファイルが見つかりません", "ファイルが見つかりません."},
      {"終わり。", "終わり。."},  // a double-byte last character always gets it
      {"'x' は数値ではありません", "'x' は数値ではありません."},
  };
  for (const auto& [message, text] : cases) EXPECT_EQ(ErrorBoxText(message), text) << message;
}

TEST(CodePage, ShiftJisAndUnicode) {
  EXPECT_EQ(ShiftJisFromUtf8("\xE3\x81\xAF"), "\x82\xCD");  // は
  EXPECT_EQ(Utf8FromShiftJis("\x82\xCD"), "\xE3\x81\xAF");
  EXPECT_EQ(ShiftJisFromUtf16(u"１等"), "１等");
  EXPECT_EQ(Utf16FromShiftJis("年賀はがき当たり番号判定"), u"年賀はがき当たり番号判定");
  EXPECT_EQ(ShiftJisFromUtf16(u"a\u00e9b"), "a?b");  // no Shift-JIS form
  EXPECT_EQ(Utf8FromShiftJis(""), "");
}

class OpenFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("nenga-open-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  int OpenError(const std::filesystem::path& file) {
    int error = 0;
    const auto source = OpenFileForReading(file.string(), error);
    EXPECT_EQ(source, nullptr);
    return error;
  }

  std::filesystem::path dir_;
};

TEST_F(OpenFileTest, ReadsTheWholeFile) {
  std::ofstream(dir_ / "a.txt", std::ios::binary) << "1:\r\n123456";
  int error = 0;
  const auto source = OpenFileForReading((dir_ / "a.txt").string(), error);
  ASSERT_NE(source, nullptr);
  char buffer[64];
  EXPECT_EQ(source->Read(buffer, error), 10u);
  EXPECT_EQ(source->Read(buffer, error), 0u);
  EXPECT_EQ(error, 0);
}

TEST_F(OpenFileTest, ErrorCodesAreWindowsCodes) {
  std::ofstream(dir_ / "plain", std::ios::binary) << "x";
  EXPECT_EQ(OpenError(dir_ / "missing.txt"), 2);
  EXPECT_EQ(OpenError(dir_ / "plain" / "below.txt"), 3);
  EXPECT_EQ(OpenError(dir_ / std::string(5000, 'n')), 3);
  EXPECT_EQ(OpenError(dir_), 5);  // a folder
  // An error number without a Win32 counterpart keeps its own number.
  std::filesystem::create_symlink("loop", dir_ / "loop");
  EXPECT_EQ(OpenError(dir_ / "loop"), kPosixErrorFlag | ELOOP);
}

// Root opens every file whatever its mode, so these run as an ordinary user (the
// test suite runs them so when it runs as root).
class FilePermissionTest : public OpenFileTest {
 protected:
  void SetUp() override {
    OpenFileTest::SetUp();
    if (::geteuid() == 0) GTEST_SKIP() << "root opens every file";
  }
};

TEST_F(FilePermissionTest, UnreadableFileIsAccessDenied) {
  std::ofstream(dir_ / "secret.txt") << "1:";
  std::filesystem::permissions(dir_ / "secret.txt", std::filesystem::perms::none);
  EXPECT_EQ(OpenError(dir_ / "secret.txt"), 5);
}

// A file from a CD, a shared folder or another user is read-only.
TEST_F(FilePermissionTest, ReadOnlyFileIsRead) {
  std::ofstream(dir_ / "cd.txt", std::ios::binary) << "1:\r\n123456";
  std::filesystem::permissions(dir_ / "cd.txt", std::filesystem::perms{0444});
  int error = 0;
  const auto source = OpenFileForReading((dir_ / "cd.txt").string(), error);
  ASSERT_NE(source, nullptr) << error;
  char buffer[64];
  EXPECT_EQ(source->Read(buffer, error), 10u);
  EXPECT_EQ(error, 0);
}

}  // namespace
}  // namespace nenga
