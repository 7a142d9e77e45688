// The platform services on Windows, through the wide Win32 API.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "platform/platform.h"
#include "platform/win32/taskbar_previews.h"
#include "toolkit/gdi.h"

namespace nenga {

class Win32Platform final : public Platform {
 public:
  // appTitle is the caption of the information and error boxes and the title of the
  // application window: it has no size, owns the main window, the message boxes and the
  // file dialog, and carries the program's taskbar button with the title and the icon
  // "MAINICON", at the sizes of the window's screen scale.
  // Throws std::runtime_error when it cannot be made.
  // The sound cues are the files of their names in the folder of instance's file.
  Win32Platform(HINSTANCE instance, std::wstring appTitle);
  // Shutdown(), then the application window goes, and then the COM apartment.
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // The main window: owner of the help viewer; the file dialog opens on its monitor.
  void SetMainWindow(HWND window) { mainWindow_ = window; }
  HWND AppWindow() const { return appWindow_; }

  // Shows the application window's taskbar button; call it as the main window shows.
  void ShowInTaskbar();

  // The program's windows are now at screen scale dpi (the main window's change, or the
  // application window's own): the taskbar button's icons become those of the sizes
  // Windows shows there, on the button and in Alt+Tab, and the taskbar's pictures of
  // the windows are taken anew.
  void ScaleChanged(UINT dpi);

  // From now on the taskbar button's thumbnail and Peek show the window in use
  // (TaskbarPreviews). Call it once the windows are up: it loads dwmapi.
  void OfferTaskbarPreviews() { previews_.Offer(appWindow_); }
  // What the windows show may have changed (after the user's input): cheap.
  void PicturesChanged() { previews_.PicturesChanged(); }

  // Closes the help viewer if help was opened during the run, for the window that
  // opened it. Call it while the main window still exists; later calls do nothing.
  void Shutdown();

  void PlaySoundCue(const char* waveFile) override;
  bool WriteNewFile(const PathString& file, std::string_view bytes) override;
  void LaunchEditor(const PathString& file, const PathString& folder) override;
  void ShowHelp(const PathString& helpFile, const PathString& page,
                const PathString& folder) override;
  void InfoBox(std::string_view text) override;
  bool FileWarningBox(const PathString& file, std::string_view text) override;
  void WarningBox(std::string_view text, std::string_view caption) override;
  void ErrorBox(std::string_view message) override;
  std::optional<PathString> OpenFileDialog(const OpenDialogSettings& settings) override;
  void RequestQuit() override;
  std::unique_ptr<ByteSource> OpenForReading(const PathString& file, int& error) override;

 private:
  // The thread's single-threaded apartment, which the shell's launches may need (the
  // program that opens a file may be reached through COM): entered at the first launch
  // and kept for the rest of the run, so that no launch pays for entering and leaving
  // it; left when the platform goes, after the program's last window.
  class ComApartment {
   public:
    ComApartment() = default;
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    void Enter();  // does nothing once entered

   private:
    bool entered_ = false;
  };

  // The application window's; it finds the platform by its user data.
  static LRESULT CALLBACK AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The taskbar button's close goes to the window the user works in.
  void CloseWindowInUse();
  void ShowMessageBox(std::wstring text, const std::wstring& caption, UINT style);

  HINSTANCE instance_;
  std::wstring appTitle_;       // as the file's name has it, whatever its characters
  std::wstring programFolder_;  // the sound cues' folder, ending with its separator
  HWND appWindow_ = nullptr;
  HWND mainWindow_ = nullptr;
  std::wstring helpFile_;     // empty until the help viewer is asked
  HWND helpOwner_ = nullptr;  // the window help was opened for
  std::wstring lastFile_;     // the file chosen in the file dialog last time
  ComApartment apartment_;
  TaskbarPreviews previews_;  // the application window's
  // The application window's own icons (WM_SETICON), which it does not destroy: they go
  // when replaced, and after the window.
  OwnedIcon bigIcon_;
  OwnedIcon smallIcon_;
};

}  // namespace nenga
