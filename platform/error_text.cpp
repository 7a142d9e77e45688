#include "platform/platform.h"

namespace nenga {

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  // A Shift-JIS trail byte is never below 0x40, so a last byte at or below '.'
  // is always a whole single-byte character.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace nenga
