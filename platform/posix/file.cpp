#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace nenga {

int ErrorCodeFromErrno(int e) {
  switch (e) {
    case ENOENT:
      return kErrorFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
      return kErrorPathNotFound;
    case EMFILE:
    case ENFILE:
      return kErrorTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
      return kErrorAccessDenied;
    default:
      return kPosixErrorFlag | e;
  }
}

namespace {

class PosixFile final : public ByteSource {
 public:
  PosixFile(int fd, bool owned) : fd_(fd), owned_(owned) {}
  ~PosixFile() override {
    if (owned_) ::close(fd_);
  }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  std::size_t Read(std::span<char> buffer, int& error) override {
    for (;;) {
      const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno == EINTR) continue;
      error = ErrorCodeFromErrno(errno);
      return 0;
    }
  }

 private:
  int fd_;
  bool owned_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileForReading(const PathString& file, int& error) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = ErrorCodeFromErrno(errno);
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    error = kErrorAccessDenied;  // Windows refuses a folder with "access denied"
    return nullptr;
  }
  return std::make_unique<PosixFile>(fd, true);
}

std::unique_ptr<ByteSource> StandardInputBytes() {
  return std::make_unique<PosixFile>(STDIN_FILENO, false);
}

}  // namespace nenga
