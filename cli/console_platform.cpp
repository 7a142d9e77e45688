#include "cli/console_platform.h"

#include "platform/codepage.h"
#include "platform/file.h"

namespace nenga {

void WriteUtf8Line(std::FILE* stream, std::string_view sjis) {
  std::string text = Utf8FromShiftJis(sjis);
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  text += '\n';
  std::fwrite(text.data(), 1, text.size(), stream);
}

void ConsolePlatform::InfoBox(std::string_view text) { WriteUtf8Line(stderr, text); }

void ConsolePlatform::WarningBox(std::string_view text, std::string_view) {
  WriteUtf8Line(stderr, text);
}

void ConsolePlatform::ErrorBox(std::string_view message) {
  WriteUtf8Line(stderr, ErrorBoxText(message));
}

std::unique_ptr<ByteSource> ConsolePlatform::OpenForReading(const std::filesystem::path& file,
                                                            int& error) {
  return OpenFileForReading(file, error);
}

}  // namespace nenga
