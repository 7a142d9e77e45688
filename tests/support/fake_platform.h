// A Platform that records what the core asks of it and serves files from memory.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/platform.h"
#include "winning/myProc.h"

namespace nenga::testing {

// A path of a test: its ASCII name, as the platform's path type.
inline PathString PathOf(std::string_view ascii) { return PathString(ascii.begin(), ascii.end()); }

// A path as the recorded events show it, in Shift-JIS.
inline std::string PathText(const PathString& path) {
#ifdef _WIN32
  return ShiftJisFromUtf16(std::u16string(path.begin(), path.end()));
#else
  return path;
#endif
}

// File content served in chunks of at most `chunk` bytes, failing with `failCode`
// once `failAfter` bytes have been read (when failCode is not 0).
struct MemoryFile {
  std::string content;
  std::size_t chunk = 7;  // small, so lines and line ends straddle reads
  int failCode = 0;
  std::size_t failAfter = 0;
};

class MemorySource final : public ByteSource {
 public:
  MemorySource(const MemoryFile& file, int& openCount) : file_(file), openCount_(openCount) {
    ++openCount_;
  }
  ~MemorySource() override { --openCount_; }
  MemorySource(const MemorySource&) = delete;
  MemorySource& operator=(const MemorySource&) = delete;

  std::size_t Read(std::span<char> buffer, int& error) override {
    if (file_.failCode != 0 && pos_ >= file_.failAfter) {
      error = file_.failCode;
      return 0;
    }
    std::size_t n = std::min({buffer.size(), file_.chunk, file_.content.size() - pos_});
    if (file_.failCode != 0) n = std::min(n, file_.failAfter - pos_);
    std::copy_n(file_.content.begin() + static_cast<std::ptrdiff_t>(pos_), n, buffer.begin());
    pos_ += n;
    return n;
  }

 private:
  const MemoryFile& file_;
  int& openCount_;
  std::size_t pos_ = 0;
};

class FakePlatform final : public Platform {
 public:
  std::map<std::string, MemoryFile> files;  // by file name
  int openFiles = 0;                        // files open right now
  std::vector<std::string> events;          // "cue:x", "info:x", "quit", ...
  std::optional<PathString> chosenFile;     // what the file dialog returns
  std::function<void()> onInfoBox;          // runs while the box would be up
  std::function<void()> onOpenDialog;       // runs while the dialog would be up
  bool openInNotepad = false;               // the file warning's answer

  void PlaySoundCue(const char* wave) override { events.push_back(std::string("cue:") + wave); }
  bool WriteNewFile(const PathString& file, std::string_view) override {
    events.push_back("new:" + PathText(file));
    return true;
  }
  void LaunchEditor(const PathString& file, const PathString& folder) override {
    events.push_back("edit:" + PathText(file) + "|" + PathText(folder));
  }
  void ShowHelp(const PathString& file, const PathString& page, const PathString& folder) override {
    events.push_back("help:" + PathText(file) + "|" + PathText(page) + "|" + PathText(folder));
  }
  void InfoBox(std::string_view text) override {
    events.push_back("info:" + std::string(text));
    filesOpenDuringInfoBox = openFiles;
    if (onInfoBox) onInfoBox();
  }
  bool FileWarningBox(const PathString& file, std::string_view text) override {
    events.push_back("filewarning:" + PathText(file) + "|" + std::string(text));
    return openInNotepad;
  }
  void WarningBox(std::string_view text, std::string_view caption) override {
    events.push_back("warning:" + std::string(text) + "|" + std::string(caption));
  }
  void ErrorBox(std::string_view message) override {
    events.push_back("error:" + std::string(message));
  }
  std::optional<PathString> OpenFileDialog(const OpenDialogSettings& s) override {
    events.push_back("open:" + s.title);
    if (onOpenDialog) onOpenDialog();
    return chosenFile;
  }
  void RequestQuit() override {
    events.push_back("quit");
    filesOpenAtQuit = openFiles;
  }
  std::unique_ptr<ByteSource> OpenForReading(const PathString& file, int& error) override {
    const auto found = files.find(PathText(file));
    if (found == files.end()) {
      error = 2;
      return nullptr;
    }
    return std::make_unique<MemorySource>(found->second, openFiles);
  }

  int filesOpenDuringInfoBox = -1;
  int filesOpenAtQuit = -1;
};

// Records the announcements; each ShowModal is one showing of the win dialog.
class RecordingDialog final : public WinDialog {
 public:
  std::vector<std::string> shown;
  void SetAnnouncement(std::string_view text) override { label_ = text; }
  void ShowModal() override { shown.push_back(label_); }

 private:
  std::string label_;
};

// Puts the program-wide table back to its state at program start.
inline void ResetTable() {
  WinNumbers = {};
  WinCount = {};
  FileLoaded = 0;
}

}  // namespace nenga::testing
