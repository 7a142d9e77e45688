#include "platform/console.h"

#include <algorithm>

#include "platform/codepage.h"

namespace nenga {
namespace {

constexpr std::size_t kFlushAt = 64 * 1024;
constexpr std::size_t kMaxConverted = 32;

}  // namespace

Output::Output(Stream stream) : stream_(stream), codePage_(CodePageOf(stream)) {
  buffer_.reserve(kFlushAt + 256);
}

Output::~Output() { Flush(); }

void Output::Line(std::string_view sjis) {
  if (codePage_ != kUtf8CodePage) {
    // A Shift-JIS trail byte is never CR or LF: the line ends are found byte by byte.
    for (std::size_t at; (at = sjis.find("\r\n")) != std::string_view::npos;) {
      buffer_.append(sjis.substr(0, at));
      sjis.remove_prefix(at + 1);
    }
    buffer_.append(sjis);
    buffer_ += '\n';
    if (buffer_.size() >= kFlushAt) Flush();
    return;
  }
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
  if (codePage_ == kUtf8CodePage) {
    buffer_.append(utf8);
  } else {
    buffer_ += ShiftJisFromUtf8(utf8);  // only texts that Shift-JIS holds come here
  }
  if (buffer_.size() >= kFlushAt) Flush();
}

void Output::Flush() {
  if (buffer_.empty()) return;
  if (error_ == 0 && !finished_) WriteOut(buffer_);
  buffer_.clear();
}

}  // namespace nenga
