// Drives a running nenga.exe from another process, the way a user would: posted
// keystrokes and clicks go through the program's own message loop, and everything is
// read back with messages (WM_GETTEXT), never from the program's memory.
//
// Every wait polls the program's state until a deadline; nothing waits a fixed time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/win32_test_helpers.h"

namespace nenga::e2e {

using test::ClassOf;

// Milliseconds. (<chrono> cannot be used here: its "µs" does not exist in code page 932.)
using Millis = DWORD;

// Long enough for Wine to build a file dialog on a busy machine; a state that has not
// come by then is not coming.
inline constexpr Millis kWindowTimeout = 15000;
inline constexpr Millis kStateTimeout = 10000;

// Polls condition until it holds or timeout passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, Millis timeout = kStateTimeout);

// A Unix path as Wine's file system sees it ("/tmp/x" -> "Z:\tmp\x"); other paths as
// they are.
std::filesystem::path WindowsPath(std::string_view path);

// A file's bytes from offset from on; none when it cannot be read.
std::string FileBytes(const std::filesystem::path& file, std::uintmax_t from = 0);

// A file a recorder wrote in UTF-16 whole: nothing while it is empty or half written.
std::optional<std::wstring> FileUtf16(const std::filesystem::path& file);

// The text of a window of another process, by WM_GETTEXT. Nothing when the window is
// gone or its thread does not answer.
std::optional<std::wstring> ReadText(HWND window);

// Replaces the text of a window of another process (WM_SETTEXT).
bool WriteText(HWND window, std::wstring_view text);

std::wstring CaptionOf(HWND window);  // without sending messages

// The control with the keyboard focus in the thread that owns window.
HWND FocusOf(HWND window);

// Posted input: it reaches the window through its thread's message loop, in order.
void PostChars(HWND window, std::wstring_view text);  // WM_CHAR per character
void PostKey(HWND window, UINT virtualKey);           // WM_KEYDOWN then WM_KEYUP
void PostClick(HWND button);                          // BM_CLICK

// Returns once the thread that owns edit has handled every message posted to it
// before the call: posts a change of the edit's text limit behind them and waits for
// it to show, then puts the limit back.
bool DrainPostedMessages(HWND edit);

// Moves the mouse pointer to the screen's top-left corner, off every window, so no
// tooltip comes up under a pointer that happens to rest on a control.
void ParkPointer();

// A window of the driver's own, standing for another application the user switches
// to. Destroyed with the object.
class OtherWindow {
 public:
  OtherWindow();
  ~OtherWindow();
  OtherWindow(const OtherWindow&) = delete;
  OtherWindow& operator=(const OtherWindow&) = delete;
  HWND hwnd() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// Makes window the foreground window, as a click on it or on its taskbar button does,
// and waits until the system says so and has kept saying so for a moment. Meanwhile the
// calling thread handles its own windows' messages: without a window manager, Wine
// learns where the X input focus went from each process's own X events, and a test
// window's late notice of an earlier change would take the activation away again.
bool Activate(HWND window);

// What a process holds, as far as Wine tells another process. GetGuiResources says 0
// under Wine, so windows are counted by enumerating them and GDI objects by reading the
// process's GDI handle table.
struct Usage {
  std::size_t privateBytes = 0;   // PrivateUsage, or PagefileUsage where that is 0
  std::size_t workingSet = 0;     // bytes in memory
  int windows = 0;                // top-level and child windows (USER objects)
  std::optional<int> gdiObjects;  // nothing where the handle table cannot be read
};

// Counts the GDI objects of process from its handle table; nothing when this process's
// own count does not follow a few objects it makes and frees (another table layout).
std::optional<int> GdiObjectCount(HANDLE process);

// The GDI objects a process holds, as Wine's trace of its GDI handles counts them
// (WINEDEBUG=+pid,trace+gdi): every alloc_gdi_handle and free_gdi_handle line of the
// process ends in its count, taken after an allocation and before a free:
//   0120:0124:trace:gdi:alloc_gdi_handle allocated NTGDI_OBJ_BRUSH 0x1100020 286/65536
// Reads on through the log from where the last call stopped, so a long trace is read
// once.
class GdiHandleTrace {
 public:
  GdiHandleTrace(std::filesystem::path logFile, DWORD processId);
  // The count after the last whole line written so far; nothing before the first.
  std::optional<int> Count();

 private:
  std::filesystem::path logFile_;
  std::string prefix_;  // the process id as the trace writes it: "0120:"
  std::uintmax_t read_ = 0;
  std::optional<int> count_;
};

// Options for one run of the program.
struct LaunchOptions {
  std::filesystem::path exe;
  std::filesystem::path workDir;  // the process's current folder
  // WINEDEBUG for the program, e.g. L"+winmm". Wine writes the traces to the Unix
  // stderr that the program inherits from this process, whatever its Windows
  // standard handles are, so whoever starts the driver decides where they go.
  std::wstring wineDebug;
  // The show state a shortcut asks for (STARTUPINFO's wShowWindow), e.g. SW_SHOWMAXIMIZED.
  std::optional<WORD> showWindow;
};

// One running nenga.exe. Ended when destroyed if it has not ended by itself.
class App {
 public:
  explicit App(const LaunchOptions& options);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD processId() const { return processId_; }
  DWORD threadId() const { return threadId_; }  // its first thread's
  DWORD launchError() const { return launchError_; }

  bool Running() const;
  Usage ResourceUsage() const;
  // Waits for the process to end; its exit code, or nothing on timeout.
  std::optional<DWORD> WaitForExit(Millis timeout = kStateTimeout);

  // Visible top-level windows of the process with this class and caption (either
  // may be empty: any), other than the listed ones.
  std::vector<HWND> TopWindows(std::wstring_view className, std::wstring_view caption,
                               const std::vector<HWND>& except = {}) const;
  // The same, hidden windows included.
  std::vector<HWND> AllTopWindows(std::wstring_view className, std::wstring_view caption) const;
  // Waits for exactly one such window; nullptr on timeout or when the program ends.
  HWND WaitForWindow(std::wstring_view className, std::wstring_view caption,
                     const std::vector<HWND>& except = {}, Millis timeout = kWindowTimeout);
  // Waits until the window is hidden or destroyed.
  bool WaitForHidden(HWND window, Millis timeout = kWindowTimeout);

 private:
  std::vector<HWND> FindTopWindows(std::wstring_view className, std::wstring_view caption,
                                   const std::vector<HWND>& except, bool visibleOnly) const;

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  DWORD threadId_ = 0;
  DWORD launchError_ = 0;
};

// The text of a message box or of the program's information box: its static text
// (the information box's kInfoTextId, or the system box's 0xFFFF).
std::optional<std::wstring> BoxText(HWND box, int infoTextId);

// Fills the file name of an open-file dialog and presses its Open button.
bool ChooseFileInDialog(HWND dialog, const std::filesystem::path& file);

// Saves what the screen shows of window (frame included) as a 24-bit BMP file, once
// two captures in a row agree, so a half-painted window is not saved. Gives up after
// settleMs of changing pictures.
bool SaveWindowImage(HWND window, const std::filesystem::path& bmpFile, DWORD settleMs = 3000);

// What the screen shows of window (frame included) once two captures in a row agree:
// 0x00RRGGBB per pixel, row after row from the top. Nothing when no steady picture came.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;
};
std::optional<Pixels> SteadyPixels(HWND window, DWORD settleMs = 3000);

// The sounds asked for, in order, from a WINEDEBUG=+winmm log: each sound as it was
// named, in the notation of Wine's traces (see WineTraceText), and the flags of each call.
struct SoundTrace {
  std::vector<std::string> names;
  std::vector<DWORD> flags;
};
SoundTrace ReadSoundTrace(const std::filesystem::path& logFile);

// A text as Wine's traces show it (debugstr_w, without the quotes): a backslash or a
// quote after a backslash, a character beyond ASCII as a backslash and four hex digits.
std::string WineTraceText(std::wstring_view text);

// The file names of the sounds asked for, without their folders, in order.
std::vector<std::string> SoundCues(const std::filesystem::path& logFile);

}  // namespace nenga::e2e
