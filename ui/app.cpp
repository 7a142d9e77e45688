// The program's entry: builds the two windows, runs the event loop, and ends.
#include <windows.h>
// commctrl.h needs windows.h first
#include <commctrl.h>

#include <exception>
#include <string>

#include "platform/win32/program_folder.h"
#include "platform/win32/system_dlls.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "toolkit/dpi.h"
#include "ui/Atari1.h"
#include "ui/app_paths.h"
#include "ui/controls.h"
#include "ui/layouts.h"
#include "ui/main.h"
#include "winning/words.h"

namespace nenga {
namespace {

bool IsKey(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

// A key or a mouse button (not a mere move): what the user does to the windows.
bool IsUserInput(UINT message) {
  return IsKey(message) || (message > WM_MOUSEMOVE && message <= WM_MOUSELAST);
}

// Runs until the quit request.
void RunEventLoop(MainWindow& main, Win32Platform& platform) {
  const HWND mainWindow = main.hwnd();
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // No key reaches txtNum before its input method has been closed.
    if (IsKey(msg.message)) main.FinishStartup();
    // Input changes what the windows show, on the way (a win dialog, a box) and at its
    // end: the taskbar's pictures of them are out of date both times.
    const bool input = IsUserInput(msg.message);
    if (input) platform.PicturesChanged();
    // The dialog manager moves the focus with Tab and presses buttons with Enter.
    if (!IsWindow(mainWindow) || !IsDialogMessageW(mainWindow, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (input) platform.PicturesChanged();
  }
}

// A start-up step failed: says so, with the system's error code, before the program
// ends with status 1.
int StartupFailed(Platform& platform, const char* what, DWORD error) {
  platform.ErrorBox(std::string(what) + " (" + std::to_string(error) + ")");
  return 1;
}

int Run(HINSTANCE instance, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  Win32Platform platform(instance, AppTitleFromExePath(ExecutablePath()));
  // The taskbar button first: shown while it owns no window yet, it moves none.
  platform.ShowInTaskbar();
  // Declared after the platform, so each window goes before the platform and its
  // application window, and the main window, owner of the win dialog, goes first.
  AtariDialog atari(platform);
  MainWindow main(platform, atari);
  // Both windows are made on the primary monitor, at its scale, which the application
  // window, made there a moment ago, tells.
  const int fontHeight = MeasureFormFontHeight(MonitorDpiOf(platform.AppWindow()));
  if (!main.Create(instance, fontHeight, platform.AppWindow())) {
    return StartupFailed(platform, words::kMainWindowFailed, GetLastError());
  }
  platform.SetMainWindow(main.hwnd());
  if (!atari.Create(instance, main.hwnd(), fontHeight)) {
    return StartupFailed(platform, words::kWinDialogFailed, GetLastError());
  }

  // The taskbar's pictures wait until the windows are up.
  main.SetStartupStep([&platform] { platform.OfferTaskbarPreviews(); });
  main.SetScaleStep([&platform](UINT dpi) { platform.ScaleChanged(dpi); });
  main.Show(showCommand);
  RunEventLoop(main, platform);

  platform.Shutdown();  // while the main window, the help viewer's owner, exists
  atari.Destroy();
  main.Destroy();
  return 0;
}

// Before any window of the program exists, the system's message box says why the
// program cannot start.
void ReportEarlyFailure(const char* what) noexcept {
  try {
    const std::wstring title = AppTitleFromExePath(ExecutablePath());
    MessageBoxW(nullptr, WideFromShiftJis(what).c_str(), title.c_str(), MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(nullptr, L"", nullptr, MB_OK | MB_ICONERROR);
  }
}

}  // namespace
}  // namespace nenga

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  nenga::LoadSystemDllsFromSystemFolderOnly();
  try {
    return nenga::Run(instance, showCommand);
  } catch (const std::exception& failure) {
    nenga::ReportEarlyFailure(failure.what());  // e.g. no application window
  } catch (...) {
    nenga::ReportEarlyFailure("");
  }
  return 1;
}
