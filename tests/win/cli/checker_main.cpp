// Runs nenga-check.exe's tests: nenga_check_win_test --nenga-check=EXE --sample=FILE
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "checker_process.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (int n = 1; n < argc; ++n) {
    const std::string_view arg(argv[n]);
    if (arg.starts_with("--nenga-check=")) {
      checker_test::checker = WindowsPath(std::string(arg.substr(14)));
    }
    if (arg.starts_with("--sample=")) {
      checker_test::sample = WindowsPath(std::string(arg.substr(9)));
    }
  }
  if (checker_test::checker.empty() || checker_test::sample.empty()) {
    std::fprintf(stderr, "usage: nenga_check_win_test --nenga-check=EXE --sample=FILE\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
