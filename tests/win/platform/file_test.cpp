// The winning-number file as the program loads it on Windows: another program reading
// it does not stop a load, and a load leaves it free, so that Notepad, started by the
// notebook button, can save corrections to it.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/win32/win32_platform.h"
#include "winning/myProc.h"

namespace nenga {
namespace {

class WinningFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              (L"nenga-file-" + std::to_wstring(::GetCurrentProcessId()));
    std::filesystem::create_directories(folder_);
    const std::filesystem::path file = folder_ / L"2026.txt";
    std::ofstream(file, std::ios::binary) << "1:\r\n123456\r\n2:\r\n2345\r\n";
    file_ = file.wstring();
  }
  void TearDown() override {
    std::error_code ignored;  // a file still held open stays behind
    std::filesystem::remove_all(folder_, ignored);
  }

  // Loads the file as the program does; true when it loaded.
  bool Load() {
    WinNumbers[0][0].clear();
    try {
      LoadWinFile(file_, platform_);
    } catch (const Failure& failure) {
      ADD_FAILURE() << "the load failed: " << failure.message();
      return false;
    }
    return WinNumbers[0][0] == "123456";
  }

  std::filesystem::path folder_;
  std::wstring file_;
  Win32Platform platform_{::GetModuleHandleW(nullptr), L"Tool"};
};

TEST_F(WinningFileTest, LoadsWhileAnotherProgramHoldsItOpenForReading) {
  const HANDLE reader = ::CreateFileW(file_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE) << "error " << ::GetLastError();
  EXPECT_TRUE(Load());
  ::CloseHandle(reader);
}

TEST_F(WinningFileTest, LoadsLeaveTheFileFreeForWriting) {
  // Wine's GetProcessHandleCount counts nothing (always 0): the file itself tells.
  for (int n = 0; n < 3; ++n) ASSERT_TRUE(Load());
  // As an editor saves: for writing, shared with no one.
  const HANDLE writer = ::CreateFileW(file_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE) << "error " << ::GetLastError();
  if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);
}

}  // namespace
}  // namespace nenga
