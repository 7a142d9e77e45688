// The platform of the command-line checker: no windows and no sounds. The boxes
// write their text to standard error; the overflow's quit request is remembered.
#pragma once

#include "platform/console.h"
#include "platform/platform.h"

namespace nenga {

class ConsolePlatform final : public Platform {
 public:
  explicit ConsolePlatform(Output& errors) : errors_(errors) {}

  void PlaySoundCue(const char*) override {}
  bool WriteNewFile(const PathString&, std::string_view) override { return false; }
  void LaunchEditor(const PathString&, const PathString&) override {}
  void ShowHelp(const PathString&, const PathString&, const PathString&) override {}
  void InfoBox(std::string_view text) override;
  // nenga-check reports a file's lines itself, as compilers do; it opens no editor.
  bool FileWarningBox(const PathString&, std::string_view text) override {
    InfoBox(text);
    return false;
  }
  void WarningBox(std::string_view text, std::string_view caption) override;
  void ErrorBox(std::string_view message) override;
  std::optional<PathString> OpenFileDialog(const OpenDialogSettings&) override {
    return std::nullopt;
  }
  void RequestQuit() override { quitRequested_ = true; }
  std::unique_ptr<ByteSource> OpenForReading(const PathString& file, int& error) override;

  bool QuitRequested() const { return quitRequested_; }

 private:
  Output& errors_;
  bool quitRequested_ = false;
};

}  // namespace nenga
