#include "cli/console_io.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#endif

namespace nenga {
namespace {

constexpr std::size_t kFlushAt = 64 * 1024;
constexpr std::size_t kMaxConverted = 32;

#ifdef _WIN32
HANDLE HandleOf(Output::Stream stream) {
  return ::GetStdHandle(stream == Output::Stream::kStandardOutput ? STD_OUTPUT_HANDLE
                                                                  : STD_ERROR_HANDLE);
}

bool IsConsole(DWORD standardHandle) {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(standardHandle), &mode) != 0;
}
#else
int DescriptorOf(Output::Stream stream) {
  return stream == Output::Stream::kStandardOutput ? 1 : 2;
}
#endif

}  // namespace

Output::Output(Stream stream) : stream_(stream) { buffer_.reserve(kFlushAt + 256); }

Output::~Output() { Flush(); }

void Output::Line(std::string_view sjis) {
  std::size_t ascii = 0;
  while (ascii < sjis.size() && static_cast<unsigned char>(sjis[ascii]) < 0x80 &&
         sjis[ascii] != '\r') {
    ++ascii;
  }
  buffer_.append(sjis.substr(0, ascii));
  const std::string_view rest = sjis.substr(ascii);
  if (!rest.empty()) {
    auto found = converted_.begin();
    while (found != converted_.end() && found->first != rest) ++found;
    if (found != converted_.end()) {
      buffer_ += found->second;
    } else {
      std::string utf8 = Utf8FromShiftJis(rest);
      for (std::size_t at; (at = utf8.find("\r\n")) != std::string::npos;) utf8.erase(at, 1);
      buffer_ += utf8;
      if (converted_.size() < kMaxConverted) converted_.emplace_back(rest, std::move(utf8));
    }
  }
  buffer_ += '\n';
  if (buffer_.size() >= kFlushAt) Flush();
}

void Output::Utf8(std::string_view utf8) {
  buffer_.append(utf8);
  if (buffer_.size() >= kFlushAt) Flush();
}

void Output::Flush() {
  if (buffer_.empty()) return;
  if (error_ == 0 && !finished_) WriteOut(buffer_);
  buffer_.clear();
}

#ifdef _WIN32
void Output::WriteOut(std::string_view bytes) {
  const HANDLE h = HandleOf(stream_);
  DWORD mode = 0;
  if (::GetConsoleMode(h, &mode)) {
    // Converted a piece at a time, each cut where a UTF-8 sequence begins, so that
    // no size narrows to int however long a line is.
    while (!bytes.empty()) {
      const std::size_t most = std::min<std::size_t>(bytes.size(), 1 << 16);
      std::size_t piece = most;
      while (piece < bytes.size() && piece > 0 &&
             (static_cast<unsigned char>(bytes[piece]) & 0xC0) == 0x80) {
        --piece;
      }
      if (piece == 0) piece = most;  // no sequence begins in it: malformed anyway
      const int inLength = static_cast<int>(piece);
      const int n = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), inLength, nullptr, 0);
      std::wstring wide(static_cast<std::size_t>(n), L'\0');
      ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), inLength, wide.data(), n);
      std::size_t done = 0;
      while (done < wide.size()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
        if (!::WriteConsoleW(h, wide.data() + done, chunk, &written, nullptr) || written == 0) {
          error_ = static_cast<int>(::GetLastError());
          return;
        }
        done += written;
      }
      bytes.remove_prefix(piece);
    }
    return;
  }
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) {
      error_ = static_cast<int>(::GetLastError());
      return;
    }
    bytes.remove_prefix(written);
  }
}

int Output::Finish() {
  Flush();
  finished_ = true;
  return error_;
}

bool AtConsole() { return IsConsole(STD_OUTPUT_HANDLE) || IsConsole(STD_INPUT_HANDLE); }

bool AloneOnOwnConsole() {
  // A command prompt shares its console with the programs it starts; a double-click
  // gives the program a console of its own, holding this one process.
  DWORD processes[2] = {};
  return ::GetConsoleProcessList(processes, 2) == 1 && IsConsole(STD_OUTPUT_HANDLE) &&
         IsConsole(STD_INPUT_HANDLE);
}
#else
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
#endif

}  // namespace nenga
