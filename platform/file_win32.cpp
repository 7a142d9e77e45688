#include <windows.h>

#include <limits>

#include "platform/file.h"

namespace nenga {
namespace {

class Win32File final : public ByteSource {
 public:
  explicit Win32File(HANDLE h) : h_(h) {}
  ~Win32File() override { ::CloseHandle(h_); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  std::size_t Read(std::span<char> buffer, int& error) override {
    const DWORD want =
        static_cast<DWORD>(std::min<std::size_t>(buffer.size(), std::numeric_limits<DWORD>::max()));
    DWORD got = 0;
    if (!::ReadFile(h_, buffer.data(), want, &got, nullptr)) {
      error = static_cast<int>(::GetLastError());
      return 0;
    }
    return got;
  }

 private:
  HANDLE h_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileForReading(const std::filesystem::path& file, int& error) {
  const HANDLE h = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = static_cast<int>(::GetLastError());
    return nullptr;
  }
  return std::make_unique<Win32File>(h);
}

}  // namespace nenga
