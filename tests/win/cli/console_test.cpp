// nenga-check at a console: what is typed there, and the console it shares with the
// command prompt that started it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "checker_process.h"

namespace checker_test {
namespace {

// One key pressed and let go, as the console gets it from the keyboard.
void AddKey(std::vector<INPUT_RECORD>& keys, wchar_t character, WORD virtualKey,
            DWORD controlKeys = 0) {
  for (const BOOL down : {TRUE, FALSE}) {
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    record.Event.KeyEvent.bKeyDown = down;
    record.Event.KeyEvent.wRepeatCount = 1;
    record.Event.KeyEvent.wVirtualKeyCode = virtualKey;
    record.Event.KeyEvent.uChar.UnicodeChar = character;
    record.Event.KeyEvent.dwControlKeyState = controlKeys;
    keys.push_back(record);
  }
}

// Ctrl-Z then Enter ends the input at a console, as it does for the system's own
// programs. The checker reads the test's console, where the test types; its answers go
// to a file.
TEST(NengaCheckConsole, CtrlZThenEnterEndsTheInput) {
  ASSERT_TRUE(EnsureConsole()) << "no console";
  ASSERT_EQ(::GetConsoleOutputCP(), 932u);
  const Folder folder;
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  const Handle input(::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0,
                                   nullptr));
  ASSERT_NE(input.get(), INVALID_HANDLE_VALUE) << "error " << ::GetLastError();
  ::FlushConsoleInputBuffer(input.get());
  const auto create = [&](const wchar_t* name) {
    return ::CreateFileW((folder.path() / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  const Handle out(create(L"out.txt")), err(create(L"err.txt"));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.get();
  startup.hStdOutput = out.get();
  startup.hStdError = err.get();
  std::wstring command = L"\"" + checker + L"\" \"" + sample + L"\"";
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               folder.path().c_str(), &startup, &process))
      << "cannot start: error " << ::GetLastError();
  const Handle thread(process.hThread), child(process.hProcess);

  std::vector<INPUT_RECORD> keys;
  for (const wchar_t digit : std::wstring(L"123456")) AddKey(keys, digit, digit);
  AddKey(keys, L'\r', VK_RETURN);
  AddKey(keys, 26, 'Z', LEFT_CTRL_PRESSED);
  AddKey(keys, L'\r', VK_RETURN);
  DWORD written = 0;
  EXPECT_TRUE(
      ::WriteConsoleInputW(input.get(), keys.data(), static_cast<DWORD>(keys.size()), &written));

  const bool ended = ::WaitForSingleObject(child.get(), kWaitMs) == WAIT_OBJECT_0;
  if (!ended) {
    ::TerminateProcess(child.get(), 99);
    ::WaitForSingleObject(child.get(), kWaitMs);
  }
  EXPECT_TRUE(ended) << "Ctrl-Z left nenga-check waiting for input";
  DWORD status = 0;
  ::GetExitCodeProcess(child.get(), &status);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(Hex(ReadAll(folder.path() / L"out.txt")), Hex(WIN_932));
  EXPECT_EQ(Hex(ReadAll(folder.path() / L"err.txt")), "");
}

// What the console shows, as text.
std::wstring ScreenText() {
  const Handle screen(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(screen.get(), &info)) return {};
  std::wstring text(static_cast<std::size_t>(info.dwSize.X * info.dwSize.Y), L' ');
  DWORD got = 0;
  ::ReadConsoleOutputCharacterW(screen.get(), text.data(), static_cast<DWORD>(text.size()), {0, 0},
                                &got);
  text.resize(got);
  return text;
}

// "nenga-check" typed alone at a command prompt: the console is the prompt's, shared
// with it, so the usage comes at once (status 2); only a console of its own, as a
// double-click gives, gets the explanation that waits for Enter. The prompt here has a
// console of its own, held by it and the checker alone; after the checker it writes the
// status to a file and pauses, so that the test can read what the console shows.
TEST(NengaCheckConsole, AloneAtACommandPromptPrintsTheUsageAtOnce) {
  ::FreeConsole();  // the test stays out of the prompt's console until the checker ends
  const Folder folder;
  const Handle job(::CreateJobObjectW(nullptr, nullptr));
  ASSERT_NE(job.get(), nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  ::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
  std::wstring command =
      L"cmd.exe /v:on /c \"\"" + checker + L"\" & echo !errorlevel!> status.txt & pause\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                               CREATE_NEW_CONSOLE | CREATE_SUSPENDED, nullptr,
                               folder.path().c_str(), &startup, &process))
      << "cannot start: error " << ::GetLastError();
  const Handle thread(process.hThread), prompt(process.hProcess);
  // In the job, the prompt and the checker end with the test whatever happens.
  ASSERT_TRUE(::AssignProcessToJobObject(job.get(), prompt.get())) << ::GetLastError();
  ::ResumeThread(thread.get());

  std::string status;
  for (DWORD waited = 0; waited < kWaitMs && status.find('\n') == std::string::npos;
       waited += 100) {
    ::Sleep(100);
    status = ReadAll(folder.path() / L"status.txt");
  }
  ASSERT_NE(status.find('\n'), std::string::npos) << "nenga-check did not end";
  EXPECT_EQ(status.substr(0, status.find_first_of(" \r\n")), "2");
  ASSERT_TRUE(::AttachConsole(process.dwProcessId)) << "error " << ::GetLastError();
  const std::wstring screen = ScreenText();
  ::FreeConsole();
  EXPECT_NE(screen.find(L"usage: nenga-check [--] WINFILE"), std::wstring::npos);
  EXPECT_EQ(screen.find(L"コマンド プロンプトから"), std::wstring::npos);
  ::TerminateJobObject(job.get(), 0);
}

}  // namespace
}  // namespace checker_test
