#include "platform/file.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>

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

unsigned long CreateNewFile(const PathString& file, std::string_view bytes) {
  // Asked first: a folder that takes no new file, on a read-only disk say, may refuse
  // even to name the file that is there.
  if (::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) return 0;
  DWORD error = 0;
  {
    // CREATE_NEW: a file of that name, even an empty one, is never touched.
    const HANDLE h = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      error = ::GetLastError();
      return error == ERROR_FILE_EXISTS ? 0 : error;  // made meanwhile: there now
    }
    const Win32File owner(h, true);  // closed before a file cut short is removed
    DWORD written = 0;
    if (!::WriteFile(h, bytes.data(), ClampToDword(bytes.size()), &written, nullptr)) {
      error = ::GetLastError();
    } else if (written != bytes.size()) {
      error = ERROR_DISK_FULL;  // a file on a disk is written short only when it is full
    }
  }
  if (error != 0) ::DeleteFileW(file.c_str());  // half a file would load as the whole
  return error;
}

std::unique_ptr<ByteSource> StandardInputBytes() {
  return std::make_unique<Win32File>(::GetStdHandle(STD_INPUT_HANDLE), false);
}

}  // namespace nenga
