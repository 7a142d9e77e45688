// Console input and output on POSIX systems: bytes, as they come.
#include "platform/console.h"

#include <unistd.h>

#include <cerrno>

#include "platform/codepage.h"
#include "platform/file.h"

namespace nenga {
namespace {

int DescriptorOf(Output::Stream stream) {
  return stream == Output::Stream::kStandardOutput ? 1 : 2;
}

}  // namespace

std::unique_ptr<ByteSource> StandardInput() { return StandardInputBytes(); }

unsigned InputCodePage() { return kUtf8CodePage; }

// Every line is UTF-8 here.
std::string ShiftJisFromInputLine(std::string_view line, unsigned) {
  return ShiftJisFromUtf8(line);
}

unsigned Output::CodePageOf(Stream) { return kUtf8CodePage; }

void Output::WriteOut(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(DescriptorOf(stream_), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = ErrorCodeFromErrno(n < 0 ? errno : EIO);
      return;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

int Output::Finish() {
  Flush();
  if (!finished_) {
    finished_ = true;
    // A delayed write error (a full disk on a network file system) shows at the close.
    if (::close(DescriptorOf(stream_)) != 0 && error_ == 0 && errno != EINTR) {
      error_ = ErrorCodeFromErrno(errno);
    }
  }
  return error_;
}

bool AtConsole() { return ::isatty(STDOUT_FILENO) == 1 || ::isatty(STDIN_FILENO) == 1; }

bool AloneOnOwnConsole() { return false; }
}  // namespace nenga
