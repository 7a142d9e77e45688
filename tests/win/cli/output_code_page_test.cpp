// nenga-check started as Windows starts it, its numbers given as arguments or through a
// pipe, its answers and messages going to files: they are written in the output code page
// of the console it belongs to, or with no console in the system's ANSI code page (932
// here), the way type, more and findstr read them.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "checker_process.h"

namespace checker_test {
namespace {

enum class Start {
  kThroughCmd,  // cmd /c "... > out.txt 2> err.txt" on the test's console
  kOnConsole,   // its standard handles on the files, on the test's console
  kDetached,    // its standard handles on the files, no console at all
};

struct Case {
  const char* name;
  Start start;
  UINT consoleCodePage;  // the test's console's output code page meanwhile
  bool missingFile;      // a winning-number file that does not exist, else the sample
  const wchar_t* numbers;
  DWORD status;
  std::string_view out;
  std::string_view err;
  // When not empty, standard input: a pipe the test writes this to and then closes.
  std::string_view input = {};
};

struct Result {
  DWORD status = 0;
  std::string out;
  std::string err;
};

Result RunChecker(const Case& c, const std::filesystem::path& folder) {
  const std::wstring file = c.missingFile ? (folder / L"missing.txt").wstring() : sample;
  std::wstring command = L"\"" + checker + L"\" \"" + file + L"\" " + c.numbers;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  DWORD flags = 0;
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  const auto create = [&](const wchar_t* name) {
    return ::CreateFileW((folder / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  const bool throughCmd = c.start == Start::kThroughCmd;
  const Handle out(throughCmd ? nullptr : create(L"out.txt"));
  const Handle err(throughCmd ? nullptr : create(L"err.txt"));
  HANDLE pipeRead = nullptr, pipeWrite = nullptr;
  if (!c.input.empty()) {
    if (!::CreatePipe(&pipeRead, &pipeWrite, &inherited, 0)) {
      ADD_FAILURE() << "no pipe: error " << ::GetLastError();
      return {~DWORD{0}, {}, {}};
    }
    // The writing end stays the test's alone: its closing is the end of the input.
    ::SetHandleInformation(pipeWrite, HANDLE_FLAG_INHERIT, 0);
  }
  const Handle readEnd(pipeRead);
  Handle writeEnd(pipeWrite);
  if (throughCmd) {
    command = L"cmd.exe /c \"" + command + L" > out.txt 2> err.txt\"";
  } else {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readEnd.get();
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    if (c.start == Start::kDetached) flags = DETACHED_PROCESS;
  }
  PROCESS_INFORMATION process{};
  Result result{~DWORD{0}, {}, {}};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, flags, nullptr,
                        folder.c_str(), &startup, &process)) {
    ADD_FAILURE() << "cannot start: error " << ::GetLastError();
    return result;
  }
  const Handle thread(process.hThread), child(process.hProcess);
  if (writeEnd.get() != nullptr) {
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(writeEnd.get(), c.input.data(), static_cast<DWORD>(c.input.size()),
                            &written, nullptr));
    ::CloseHandle(writeEnd.release());
  }
  if (::WaitForSingleObject(child.get(), kWaitMs) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "nenga-check did not end";
    ::TerminateProcess(child.get(), 99);
    ::WaitForSingleObject(child.get(), kWaitMs);
  }
  ::GetExitCodeProcess(child.get(), &result.status);
  result.out = ReadAll(folder / L"out.txt");
  result.err = ReadAll(folder / L"err.txt");
  return result;
}

std::string_view Utf8(std::u8string_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

// The test's console's output code page, put back when the test ends however it ends.
class ConsoleCodePage {
 public:
  ConsoleCodePage() : before_(::GetConsoleOutputCP()) {}
  ~ConsoleCodePage() { ::SetConsoleOutputCP(before_); }
  ConsoleCodePage(const ConsoleCodePage&) = delete;
  ConsoleCodePage& operator=(const ConsoleCodePage&) = delete;

 private:
  UINT before_;
};

TEST(NengaCheckOutput, PipesAndFilesGetTheCodePageTheirReadersExpect) {
  ASSERT_TRUE(EnsureConsole()) << "no console";
  ASSERT_EQ(::GetConsoleCP(), 932u) << "the console's input code page";
  const ConsoleCodePage restored;
  const Folder folder;
  // "１２３４５６" and "ﾀｱﾀｲﾀｳﾀｴﾀｵﾀｶ" (bytes a lax UTF-8 reader takes for an overlong
  // "123456"), then 123456, in Shift-JIS as from cmd's type, and in UTF-8 as from Notepad.
  const std::string_view sjisIn =
      "\x82\x50\x82\x51\x82\x52\x82\x53\x82\x54\x82\x55\r\n\xc0\xb1\xc0\xb2\xc0\xb3\xc0\xb4\xc0\xb5"
      "\xc0\xb6\r\n123456\r\n";
  const std::string_view utf8In = Utf8(u8"１２３４５６\nﾀｱﾀｲﾀｳﾀｴﾀｵﾀｶ\n123456\n");
  const std::string_view answers =
      "\x82\x50\x82\x51\x82\x52\x82\x53\x82\x54\x82\x55 "
      "\x82\xcd\x93\xfc\x97\xcd\x83\x7e\x83\x58\x82\xc5\x82\xb7\x81\x42\n"
      "\xc0\xb1\xc0\xb2\xc0\xb3\xc0\xb4\xc0\xb5\xc0\xb6 "
      "\x82\xcd\x93\xfc\x97\xcd\x83\x7e\x83\x58\x82\xc5\x82\xb7\x81\x42\n" WIN_932;

  const Case cases[] = {
      {"cmd's redirection, console at 932", Start::kThroughCmd, 932, false, L"123456 12", 0,
       WIN_932 MISTAKE_932, ""},
      {"no console: the ANSI code page", Start::kDetached, 932, false, L"123456", 0, WIN_932, ""},
      {"no console: a message", Start::kDetached, 932, true, L"123456", 1, "", NOT_FOUND_932},
      {"cmd's redirection, console at 65001", Start::kThroughCmd, 65001, false, L"123456 12", 0,
       Utf8(u8"123456 は1等です。\n12 は入力ミスです。\n"), ""},
      {"console at 65001: a message", Start::kOnConsole, 65001, true, L"123456", 1, "",
       Utf8(u8"ファイルが見つかりません.\n")},
      // Full-width digits have look-alikes in code page 1252: never taken.
      {"console at 1252: '?' for what it cannot hold", Start::kOnConsole, 1252, false,
       L"\uFF11\uFF12", 0, "?? ????????\n", ""},
      // As after "type list.txt |": the pipe's closing ends the input, not in an error.
      {"numbers from a pipe", Start::kOnConsole, 932, false, L"", 0, WIN_932 MISTAKE_932, "",
       "123456\r\n12\n"},
      {"UTF-8 numbers from a pipe", Start::kOnConsole, 932, false, L"", 0, answers, "", utf8In},
      {"Shift-JIS numbers from a pipe", Start::kOnConsole, 932, false, L"", 0, answers, "", sjisIn},
      // The console's input code page (932), not its output's.
      {"console output at 65001: Shift-JIS numbers", Start::kOnConsole, 65001, false, L"", 0,
       Utf8(u8"１２３４５６ は入力ミスです。\nﾀｱﾀｲﾀｳﾀｴﾀｵﾀｶ は入力ミスです。\n123456 は1等です。\n"),
       "", sjisIn},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(::SetConsoleOutputCP(c.consoleCodePage)) << "error " << ::GetLastError();
    const Result got = RunChecker(c, folder.path());
    EXPECT_EQ(got.status, c.status);
    EXPECT_EQ(Hex(got.out), Hex(c.out));
    EXPECT_EQ(Hex(got.err), Hex(c.err));
  }
}

// On a Western Windows the ANSI and OEM code pages differ (1252 and 437): without a
// console the answers are in the ANSI one. Run with LC_ALL=en_US.UTF-8, from which Wine
// takes those code pages for the test and the programs it starts.
TEST(WesternSystem, WithoutAConsoleAnswersInTheAnsiCodePageNotTheOem) {
  ASSERT_EQ(::GetACP(), 1252u) << "run with LC_ALL=en_US.UTF-8";
  ASSERT_EQ(::GetOEMCP(), 437u) << "run with LC_ALL=en_US.UTF-8";
  const Folder folder;
  // "±" is 0xB1 in code page 1252 and 0xF1 in 437; the Japanese it cannot hold is "?".
  const Case c{"no console", Start::kDetached, 0, false, L"\u00B1", 0, "\xb1 ????????\n", ""};
  const Result got = RunChecker(c, folder.path());
  EXPECT_EQ(got.status, c.status);
  EXPECT_EQ(Hex(got.out), Hex(c.out));
  EXPECT_EQ(Hex(got.err), Hex(c.err));
  // Piped, a line that is not UTF-8 is read in the ANSI code page too, and its "¹"
  // (0xB9), which Shift-JIS lacks, is no digit one: 00000? wins nothing.
  const Case piped{"piped", Start::kDetached, 0, false, L"", 0, c.out, "", "\xb1\r\n00000\xb9\n"};
  EXPECT_EQ(Hex(RunChecker(piped, folder.path()).out), Hex(c.out));
}

}  // namespace
}  // namespace checker_test
