// Splitting nenga-check's standard input into lines, whatever sizes its reads come in.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace nenga {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Reads input to its end through buffer and calls line(text) for each line: LF or
// CR LF ends a line, every other byte (Ctrl-Z too) is part of it; a UTF-8 byte-order
// mark at the start is skipped. Returns 0, or the error code of a failed read.
template <typename LineFn>
int ReadLines(ByteSource& input, std::span<char> buffer, LineFn&& line) {
  std::string carried;  // the start of a line that straddles two reads
  bool first = true;
  // ended: the text was followed by LF. A CR is a line end only before an LF, and
  // the input's last bytes are a line only when the byte-order mark was not all.
  auto lineDone = [&](std::string_view text, bool ended) {
    if (first) {
      if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
      first = false;
    }
    if (ended && text.ends_with('\r')) text.remove_suffix(1);
    if (ended || !text.empty()) line(text);
  };
  for (;;) {
    int error = 0;
    const std::size_t got = input.Read(buffer, error);
    if (error != 0) return error;
    if (got == 0) break;
    std::string_view rest(buffer.data(), got);
    for (std::size_t end; (end = rest.find('\n')) != std::string_view::npos;) {
      if (carried.empty()) {
        lineDone(rest.substr(0, end), true);
      } else {
        carried.append(rest.substr(0, end));
        lineDone(carried, true);
        carried.clear();
      }
      rest.remove_prefix(end + 1);
    }
    carried.append(rest);
  }
  if (!carried.empty()) lineDone(carried, false);
  return 0;
}

}  // namespace nenga
