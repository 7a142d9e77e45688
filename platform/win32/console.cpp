// Console input and output on Windows: a console is read and written in UTF-16, a
// redirected stream as bytes, in the console's or the system's code page.
#include "platform/console.h"

#include <windows.h>

#include <algorithm>

#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/win32/utf8.h"

namespace nenga {
namespace {

constexpr UINT kShiftJisCodePage = 932;

HANDLE HandleOf(Output::Stream stream) {
  return ::GetStdHandle(stream == Output::Stream::kStandardOutput ? STD_OUTPUT_HANDLE
                                                                  : STD_ERROR_HANDLE);
}

// Writes all of bytes to a pipe or a file. Returns 0, or the error code of the write
// that failed.
int WriteAll(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) {
      return static_cast<int>(::GetLastError());
    }
    bytes.remove_prefix(written);
  }
  return 0;
}

bool IsConsole(DWORD standardHandle) {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(standardHandle), &mode) != 0;
}

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
      // Ctrl-Z typed at the start of a line ends the input, as consoles do.
      if (units[0] == 26) return 0;
      pending_ = Utf8FromWide({units, got});
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

std::unique_ptr<ByteSource> StandardInput() {
  const HANDLE h = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (h != nullptr && h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &mode)) {
    return std::make_unique<ConsoleInput>(h);
  }
  return StandardInputBytes();
}

unsigned InputCodePage() {
  if (IsConsole(STD_INPUT_HANDLE)) return kUtf8CodePage;  // ConsoleInput gives UTF-8
  // A pipe's or a file's line that is not UTF-8 is in the code page chcp sets: the
  // console's input code page, 0 when the program has no console.
  const UINT console = ::GetConsoleCP();
  return console != 0 ? console : ::GetACP();
}

std::string ShiftJisFromInputLine(std::string_view line, unsigned codePage) {
  if (codePage == kUtf8CodePage || IsUtf8(line)) return ShiftJisFromUtf8(line);
  if (codePage == kShiftJisCodePage) return std::string(line);  // the program's own bytes
  // Through UTF-16 a piece at a time, each cut where a character begins, so that no
  // size narrows to int however long the line is.
  std::string sjis;
  while (!line.empty()) {
    std::size_t piece = 0;
    while (piece < line.size() && piece < (1 << 16)) {
      piece += ::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(line[piece])) ? 2u : 1u;
    }
    piece = std::min(piece, line.size());
    const std::wstring wide = WideFromCodePage(codePage, line.substr(0, piece));
    AppendShiftJisFromUtf16({reinterpret_cast<const char16_t*>(wide.data()), wide.size()}, sjis);
    line.remove_prefix(piece);
  }
  return sjis;
}

unsigned Output::CodePageOf(Stream stream) {
  DWORD mode = 0;
  if (::GetConsoleMode(HandleOf(stream), &mode)) return kUtf8CodePage;  // then UTF-16
  // What type, more, findstr and the rest read a pipe or a file in: the console's
  // output code page, 0 when the program has no console.
  const UINT console = ::GetConsoleOutputCP();
  return console != 0 ? console : ::GetACP();
}

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
      const std::wstring wide = WideFromUtf8(bytes.substr(0, piece));
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
  if (codePage_ == kUtf8CodePage || codePage_ == kShiftJisCodePage) {
    error_ = WriteAll(h, bytes);
    return;
  }
  // Shift-JIS to UTF-16 to the stream's code page, a piece at a time, each cut where a
  // character begins.
  std::string converted;
  while (!bytes.empty() && error_ == 0) {
    std::size_t piece = 0;
    while (piece < bytes.size() && piece < (1 << 16)) {
      const bool lead = ::IsDBCSLeadByteEx(kShiftJisCodePage, static_cast<BYTE>(bytes[piece]));
      piece += lead ? 2u : 1u;
    }
    piece = std::min(piece, bytes.size());
    const std::u16string wide = Utf16FromShiftJis(bytes.substr(0, piece));
    converted.clear();
    AppendInCodePage(codePage_, {reinterpret_cast<const wchar_t*>(wide.data()), wide.size()},
                     converted);
    error_ = WriteAll(h, converted);
    bytes.remove_prefix(piece);
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
}  // namespace nenga
