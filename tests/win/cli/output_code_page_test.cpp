// nenga-check started as Windows starts it, its answers and messages going to files:
// they are written in the output code page of the console it belongs to, or with no
// console in the system's ANSI code page (932 here), the way type, more and findstr
// read them. Run as: nenga_check_output_test --nenga-check=EXE --sample=FILE
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

std::wstring checker;
std::wstring sample;

// A path as Windows names it: under Wine a Unix path is mapped to its drive.
std::wstring WindowsPath(const std::string& path) {
  if (!path.empty() && path.front() == '/') {
    using DosName = LPWSTR(CDECL*)(LPCSTR);
    if (const auto proc =
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")) {
      DosName convert = nullptr;
      std::memcpy(&convert, &proc, sizeof convert);
      if (LPWSTR dos = convert(path.c_str())) {
        std::wstring result(dos);
        ::HeapFree(::GetProcessHeap(), 0, dos);
        return result;
      }
    }
  }
  return std::filesystem::path(path).wstring();
}

class Handle {
 public:
  explicit Handle(HANDLE h = nullptr) : h_(h) {}
  ~Handle() {
    if (h_ != nullptr && h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

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
};

struct Result {
  DWORD status = 0;
  std::string out;
  std::string err;
};

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
  if (throughCmd) {
    command = L"cmd.exe /c \"" + command + L" > out.txt 2> err.txt\"";
  } else {
    startup.dwFlags = STARTF_USESTDHANDLES;
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
  EXPECT_EQ(::WaitForSingleObject(child.get(), 30000), WAIT_OBJECT_0);
  ::GetExitCodeProcess(child.get(), &result.status);
  result.out = ReadAll(folder / L"out.txt");
  result.err = ReadAll(folder / L"err.txt");
  return result;
}

std::string Hex(std::string_view bytes) {
  std::string hex;
  char two[4];
  for (const char b : bytes) {
    std::snprintf(two, sizeof two, "%02x ", static_cast<unsigned char>(b));
    hex += two;
  }
  return hex;
}

// The texts in code page 932, byte for byte: "123456 は1等です。", "12 は入力ミスです。",
// "ファイルが見つかりません.".
#define WIN_932     \
  "123456 \x82\xcd" \
  "1\x93\x99\x82\xc5\x82\xb7\x81\x42\n"
#define MISTAKE_932 "12 \x82\xcd\x93\xfc\x97\xcd\x83\x7e\x83\x58\x82\xc5\x82\xb7\x81\x42\n"
#define NOT_FOUND_932                                                                    \
  "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82" \
  "\xb9\x82\xf1.\n"

std::string_view Utf8(std::u8string_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

TEST(NengaCheckOutput, PipesAndFilesGetTheCodePageTheirReadersExpect) {
  // Under a test runner the test may have no console yet. Wine, starting a program from
  // a shell without a terminal, gives it no console but refuses AllocConsole until
  // FreeConsole has been called.
  if (::GetConsoleOutputCP() == 0) {
    ::FreeConsole();
    ::AllocConsole();
  }
  const UINT before = ::GetConsoleOutputCP();
  ASSERT_NE(before, 0u) << "no console";
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      (L"nenga-check-output-" + std::to_wstring(::GetCurrentProcessId()));
  std::filesystem::create_directories(folder);

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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(::SetConsoleOutputCP(c.consoleCodePage)) << "error " << ::GetLastError();
    const Result got = RunChecker(c, folder);
    EXPECT_EQ(got.status, c.status);
    EXPECT_EQ(Hex(got.out), Hex(c.out));
    EXPECT_EQ(Hex(got.err), Hex(c.err));
  }
  ::SetConsoleOutputCP(before);
  std::filesystem::remove_all(folder);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (int n = 1; n < argc; ++n) {
    const std::string_view arg(argv[n]);
    if (arg.starts_with("--nenga-check=")) checker = WindowsPath(std::string(arg.substr(14)));
    if (arg.starts_with("--sample=")) sample = WindowsPath(std::string(arg.substr(9)));
  }
  if (checker.empty() || sample.empty()) {
    std::fprintf(stderr, "usage: nenga_check_output_test --nenga-check=EXE --sample=FILE\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
