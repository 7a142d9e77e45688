#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>

#include "platform/file.h"

namespace nenga {
namespace {

DWORD ClampToDword(std::size_t n) {
  return static_cast<DWORD>(std::min<std::size_t>(n, std::numeric_limits<DWORD>::max()));
}

class Win32File final : public ByteSource {
 public:
  Win32File(HANDLE h, bool owned) : h_(h), owned_(owned) {}
  ~Win32File() override {
    if (owned_) ::CloseHandle(h_);
  }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  std::size_t Read(std::span<char> buffer, int& error) override {
    DWORD got = 0;
    if (!::ReadFile(h_, buffer.data(), ClampToDword(buffer.size()), &got, nullptr)) {
      const DWORD code = ::GetLastError();
      if (code == ERROR_BROKEN_PIPE) return 0;  // the writing end closed: the end
      error = static_cast<int>(code);
      return 0;
    }
    return got;
  }

 private:
  HANDLE h_;
  bool owned_;
};

// A console gives characters, not bytes: read as UTF-16, handed on as UTF-8.
class ConsoleInput final : public ByteSource {
 public:
  explicit ConsoleInput(HANDLE h) : h_(h) {}

  std::size_t Read(std::span<char> buffer, int& error) override {
    while (pending_.empty()) {
      wchar_t units[1024];
      DWORD got = 0;
      if (!::ReadConsoleW(h_, units, static_cast<DWORD>(std::size(units)), &got, nullptr)) {
        error = static_cast<int>(::GetLastError());
        return 0;
      }
      if (got == 0) return 0;
      const int gotUnits = static_cast<int>(got);
      // Ctrl-Z typed at the start of a line ends the input, as consoles do.
      if (units[0] == 26) return 0;
      const int n =
          ::WideCharToMultiByte(CP_UTF8, 0, units, gotUnits, nullptr, 0, nullptr, nullptr);
      pending_.assign(static_cast<std::size_t>(n), '\0');
      ::WideCharToMultiByte(CP_UTF8, 0, units, gotUnits, pending_.data(), n, nullptr, nullptr);
      taken_ = 0;
    }
    const std::size_t n = std::min(buffer.size(), pending_.size() - taken_);
    std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(taken_), n, buffer.begin());
    taken_ += n;
    if (taken_ == pending_.size()) pending_.clear();
    return n;
  }

 private:
  HANDLE h_;
  std::string pending_;
  std::size_t taken_ = 0;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileForReading(const PathString& file, int& error) {
  const HANDLE h = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = static_cast<int>(::GetLastError());
    return nullptr;
  }
  return std::make_unique<Win32File>(h, true);
}

std::unique_ptr<ByteSource> StandardInput() {
  const HANDLE h = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (h != nullptr && h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &mode)) {
    return std::make_unique<ConsoleInput>(h);
  }
  return std::make_unique<Win32File>(h, false);
}

}  // namespace nenga
