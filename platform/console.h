// The console streams of the command-line checker: standard input, standard output and
// standard error. This file and console.cpp hold what both systems share; each system's
// side is its console.cpp (posix/, win32/).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace nenga {

inline constexpr unsigned kUtf8CodePage = 65001;

// Standard input as bytes, whatever the system does to text (no Ctrl-Z, no CR LF
// translation); a Windows console is read as UTF-16 and given as UTF-8. Left open.
std::unique_ptr<ByteSource> StandardInput();

// The code page of standard input's lines that are not UTF-8. On Windows, for a pipe or
// a file, the input code page of the console the program belongs to (as chcp sets it),
// or without one the system's ANSI code page; a console's input comes as UTF-8
// (kUtf8CodePage). Elsewhere kUtf8CodePage.
unsigned InputCodePage();

// One line of standard input in the program's Shift-JIS. A line of well-formed UTF-8
// is read as UTF-8, as today's Notepad saves it; any other in codePage, 932 being the
// program's own bytes. A character Shift-JIS cannot hold, and each malformed sequence,
// becomes '?', never a look-alike.
std::string ShiftJisFromInputLine(std::string_view line, unsigned codePage);

// One output stream, shown as text. On a Windows console it is written in UTF-16
// through WriteConsoleW, so it reads correctly whatever the console's code page, which
// is left as it is. A Windows pipe or file gets the code page the programs reading it
// there expect: the output code page of the console the program belongs to, or without
// one the system's ANSI code page (65001 is UTF-8). Elsewhere it is UTF-8. Buffered;
// the first write error is kept.
class Output {
 public:
  enum class Stream { kStandardOutput, kStandardError };
  explicit Output(Stream stream);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Shift-JIS text and a line end; CR LF inside it becomes a plain line end.
  void Line(std::string_view sjis);
  // Text that is UTF-8 already, all of it characters that Shift-JIS holds.
  void Utf8(std::string_view utf8);
  void Flush();
  // Flushes and closes the stream. Returns 0, or the error code of the first write
  // (or of the close) that failed.
  int Finish();

 private:
  // The code page the stream is written in, kUtf8CodePage at a console: each system's
  // side.
  static unsigned CodePageOf(Stream stream);
  void WriteOut(std::string_view bytes);

  Stream stream_;
  unsigned codePage_;
  // UTF-8 for kUtf8CodePage; otherwise the program's Shift-JIS, converted as it is
  // written, so that code page 932 gets the program's own bytes.
  std::string buffer_;
  int error_ = 0;
  bool finished_ = false;
  // The UTF-8 of the texts after a line's leading ASCII: the few announcement tails.
  std::vector<std::pair<std::string, std::string>> converted_;
};

// Whether standard output or standard input is a console or a terminal: someone is
// typing and reading, so each answer should go out as soon as it is known.
bool AtConsole();

// Whether the program has a console of its own that nothing else shares, as when it was
// started by a double-click rather than from a command prompt. Windows only; false
// elsewhere.
bool AloneOnOwnConsole();

}  // namespace nenga
