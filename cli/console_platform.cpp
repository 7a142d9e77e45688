#include "cli/console_platform.h"

#include "platform/file.h"

namespace nenga {

void ConsolePlatform::InfoBox(std::string_view text) {
  errors_.Line(text);
  errors_.Flush();
}

void ConsolePlatform::WarningBox(std::string_view text, std::string_view) {
  errors_.Line(text);
  errors_.Flush();
}

void ConsolePlatform::ErrorBox(std::string_view message) {
  errors_.Line(ErrorBoxText(message));
  errors_.Flush();
}

std::unique_ptr<ByteSource> ConsolePlatform::OpenForReading(const PathString& file, int& error) {
  return OpenFileForReading(file, error);
}

}  // namespace nenga
