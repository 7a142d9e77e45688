// The platform of the command-line checker: no windows and no sounds. The boxes
// write their text to standard error; the overflow's quit request is remembered.
#pragma once

#include <cstdio>

#include "platform/platform.h"

namespace nenga {

class ConsolePlatform final : public Platform {
 public:
  void PlaySoundCue(const char*) override {}
  void LaunchEditor(std::string_view, std::string_view) override {}
  void ShowHelp(std::string_view) override {}
  void InfoBox(std::string_view text) override;
  void WarningBox(std::string_view text, std::string_view caption) override;
  void ErrorBox(std::string_view message) override;
  std::optional<std::filesystem::path> OpenFileDialog(const OpenDialogSettings&) override {
    return std::nullopt;
  }
  void RequestQuit() override { quitRequested_ = true; }
  std::unique_ptr<ByteSource> OpenForReading(const std::filesystem::path& file,
                                             int& error) override;

  bool QuitRequested() const { return quitRequested_; }

 private:
  bool quitRequested_ = false;
};

// Writes Shift-JIS text to a stream as UTF-8, CR LF line breaks as plain ones.
void WriteUtf8Line(std::FILE* stream, std::string_view sjis);

}  // namespace nenga
