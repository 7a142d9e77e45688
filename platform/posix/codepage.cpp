#include <iconv.h>

#include <cstddef>

#include "platform/codepage_system.h"

namespace nenga::cp932 {
namespace {

// One iconv descriptor per direction, opened on first use and kept: no setup per
// conversion. Closed when the thread ends.
class Descriptor {
 public:
  Descriptor(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
  ~Descriptor() {
    if (Usable()) ::iconv_close(cd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  // Converts one whole character; the count of bytes written, 0 when it has no form.
  std::size_t Convert(const char* in, std::size_t inBytes, char* out, std::size_t outBytes) {
    if (!Usable()) return 0;
    ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    char* src = const_cast<char*>(in);
    char* dst = out;
    std::size_t room = outBytes;
    if (::iconv(cd_, &src, &inBytes, &dst, &room) == static_cast<std::size_t>(-1) || inBytes != 0) {
      return 0;
    }
    return outBytes - room;
  }

 private:
  bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
};

}  // namespace

char16_t FromPair(unsigned char lead, unsigned char trail) {
  thread_local Descriptor decoder("UTF-16LE", "CP932");
  const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  unsigned char out[4];
  if (decoder.Convert(in, 2, reinterpret_cast<char*>(out), sizeof out) != 2) return 0;
  return static_cast<char16_t>(out[0] | out[1] << 8);
}

int ToBytes(char16_t c, unsigned char bytes[2]) {
  thread_local Descriptor encoder("CP932", "UTF-16LE");
  const char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return static_cast<int>(encoder.Convert(in, 2, reinterpret_cast<char*>(bytes), 2));
}

}  // namespace nenga::cp932
