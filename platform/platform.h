// The Windows services the program leans on, behind one small interface.
//
// Texts cross this interface as Shift-JIS bytes, the program's own encoding; each
// implementation converts them where they leave the program. File names are
// PathString, UTF-16 on Windows, so a name the user picks in the file dialog or the
// program's own folder reaches the system unchanged, whatever its characters.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/error_codes.h"

namespace nenga {

#ifdef _WIN32
using PathString = std::wstring;  // UTF-16, as the wide API takes it
#else
using PathString = std::string;  // the system's bytes
#endif

// An open file, read front to back. Closed when destroyed.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to buffer.size() bytes into buffer. Returns the number of bytes read,
  // 0 at the end of the file. On failure sets error to the system's error code
  // (Win32's codes; errno mapped to them, or flagged with kPosixErrorFlag) and returns 0.
  virtual std::size_t Read(std::span<char> buffer, int& error) = 0;
};

// What the file-open dialog is set up with.
struct OpenDialogSettings {
  std::string title;       // Shift-JIS
  std::string filter;      // Shift-JIS; pairs of label and pattern, each ended by '\0'
  std::string defaultExt;  // "txt"
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Plays the wave file of this name in the program's folder, asynchronously; a file
  // that is missing plays nothing.
  virtual void PlaySoundCue(const char* waveFile) = 0;

  // Writes bytes into file when there is no file of that name yet. A file that exists,
  // even an empty one, is left as it is. True when the file is there now. Otherwise
  // nothing of it is left, and the user has been told, in the warning box, the file's
  // folder, the system's reason, and to move the program to a folder they can write.
  virtual bool WriteNewFile(const PathString& file, std::string_view bytes) = 0;

  // Starts the system's Notepad on file, a full path, with folder as working folder and
  // no owner window.
  virtual void LaunchEditor(const PathString& file, const PathString& folder) = 0;

  // Opens help and returns at once. When helpFile exists, the help viewer shows it
  // at its contents (HELP_CONTENTS; HELP_QUIT goes out at exit). Otherwise page is
  // opened, with folder as working folder, in the user's own program for it; when
  // that cannot start, the error box names the page.
  virtual void ShowHelp(const PathString& helpFile, const PathString& page,
                        const PathString& folder) = 0;

  // The program's own modal box: text, application title as caption, one OK button.
  virtual void InfoBox(std::string_view text) = 0;

  // The information box with a warning icon, about a file: the file's name (without
  // its folder) on the first line, then text, every character as it stands. Beside OK,
  // a button to open the file in Notepad: true when the user pressed it. The box is
  // closed by then, and the caller opens the file.
  virtual bool FileWarningBox(const PathString& file, std::string_view text) = 0;

  // The system message box with MB_OK and the given caption.
  virtual void WarningBox(std::string_view text, std::string_view caption) = 0;

  // The system message box for a failure that escaped a command: the message with
  // the full-stop rule applied (ErrorBoxText), application title, MB_ICONERROR.
  virtual void ErrorBox(std::string_view message) = 0;

  // Shows the file-open dialog, prefilled with the file chosen last time.
  // Returns the chosen file, or nothing when the user cancelled.
  virtual std::optional<PathString> OpenFileDialog(const OpenDialogSettings& settings) = 0;

  // Posts a quit request to the event loop and returns at once.
  virtual void RequestQuit() = 0;

  // Opens a file read-only; it must exist, others may read it but not write it.
  // Returns nullptr and sets error to the system's error code when it cannot.
  virtual std::unique_ptr<ByteSource> OpenForReading(const PathString& file, int& error) = 0;
};

// The error box's text: a full stop is appended to a non-empty message unless its
// last character is a single byte whose code is at most that of '.'. A double-byte
// last character always gets the full stop.
std::string ErrorBoxText(std::string_view message);

}  // namespace nenga
