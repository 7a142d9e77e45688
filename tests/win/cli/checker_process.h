// What the tests that start nenga-check.exe share: where it and the sample file are,
// a folder of the test's own, handles, and the bytes it wrote.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

namespace checker_test {

// Set by main from --nenga-check=EXE and --sample=FILE, as Windows names them.
inline std::wstring checker;
inline std::wstring sample;

// Waits on the processes a test starts end, so that none can hang the run.
constexpr DWORD kWaitMs = 20000;

class Handle {
 public:
  explicit Handle(HANDLE h = nullptr) : h_(h) {}
  ~Handle() {
    if (h_ != nullptr && h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  HANDLE release() { return std::exchange(h_, nullptr); }

 private:
  HANDLE h_;
};

// A folder for one test's files, gone afterwards.
class Folder {
 public:
  Folder()
      : path_(std::filesystem::temp_directory_path() /
              (L"nenga-check-" + std::to_wstring(::GetCurrentProcessId()))) {
    std::filesystem::create_directories(path_);
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string Hex(std::string_view bytes) {
  std::string hex;
  char two[4];
  for (const char b : bytes) {
    std::snprintf(two, sizeof two, "%02x ", static_cast<unsigned char>(b));
    hex += two;
  }
  return hex;
}

// Gives the test process a console if it has none. Wine, starting a program from a
// shell without a terminal, gives it no console but refuses AllocConsole until
// FreeConsole has been called.
inline bool EnsureConsole() {
  if (::GetConsoleOutputCP() == 0) {
    ::FreeConsole();
    ::AllocConsole();
  }
  return ::GetConsoleOutputCP() != 0;
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

}  // namespace checker_test
