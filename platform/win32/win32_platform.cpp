#include "platform/win32/win32_platform.h"

// After windows.h (from the header), which these rely on.
#include <mmsystem.h>
#include <shellapi.h>

#include <stdexcept>
#include <utility>

#include "platform/file.h"
#include "platform/win32/info_box.h"
#include "platform/win32/open_dialog.h"
#include "toolkit/layout.h"
#include "toolkit/modal_guard.h"
#include "toolkit/wide.h"

namespace nenga {
namespace {

constexpr wchar_t kAppWindowClass[] = L"TApplication";
constexpr wchar_t kAppIcon[] = L"MAINICON";
// Posted to itself when the application window is activated.
constexpr UINT kPassActivation = WM_APP;

// The window the user works in: the topmost visible, enabled window of the program
// other than the application window (the main window, or a box or dialog over it).
HWND WindowInUse(HWND appWindow) {
  struct Search {
    HWND appWindow;
    HWND found;
  } search{appWindow, nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        if (window == s.appWindow || !::IsWindowVisible(window) || !::IsWindowEnabled(window) ||
            (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
          return TRUE;
        }
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The application window stands for the program on the taskbar and in Alt+Tab: the
// application title and icon are its own. It has no size, so nothing of it shows; when
// the user picks it, it hands the activation on to the window last used.
LRESULT CALLBACK AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) ::PostMessageW(window, kPassActivation, 0, 0);
      return 0;
    case kPassActivation:
      if (::GetActiveWindow() == window) {
        if (const HWND inUse = WindowInUse(window)) ::SetForegroundWindow(inUse);
      }
      return 0;
    case WM_CLOSE:  // from the taskbar: close what the user sees instead
      if (const HWND inUse = WindowInUse(window)) ::PostMessageW(inUse, WM_CLOSE, 0, 0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND CreateAppWindow(HINSTANCE instance, const std::wstring& title) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = AppWindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kAppWindowClass;
  // nullptr where the module has no icon (the test programs).
  wc.hIcon = static_cast<HICON>(
      ::LoadImageW(instance, kAppIcon, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, kAppIcon, IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON),
                                               ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  // The taskbar and the task switcher take the class's icons; setting them on the
  // window as well would only hand the same pictures to the window manager again.
  return ::CreateWindowExW(0, kAppWindowClass, title.c_str(),
                           WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2,
                           0, 0, nullptr, nullptr, instance, nullptr);
}

}  // namespace

Win32Platform::Win32Platform(HINSTANCE instance, std::string appTitle)
    : instance_(instance), appTitle_(std::move(appTitle)), wideTitle_(WideFromShiftJis(appTitle_)) {
  appWindow_ = CreateAppWindow(instance_, wideTitle_);
  if (!appWindow_) throw std::runtime_error("cannot create the application window");
}

Win32Platform::~Win32Platform() {
  Shutdown();
  ::DestroyWindow(appWindow_);
}

void Win32Platform::ShowInTaskbar() { ::ShowWindow(appWindow_, SW_SHOWNOACTIVATE); }

void Win32Platform::Shutdown() {
  if (helpFile_.empty()) return;
  // The viewer closes for the window that opened it; one that is already gone would
  // leave it open, so the application window stands in only then.
  const HWND owner = ::IsWindow(helpOwner_) ? helpOwner_ : appWindow_;
  ::WinHelpW(owner, helpFile_.c_str(), HELP_QUIT, 0);
  helpFile_.clear();
}

void Win32Platform::PlaySoundCue(const char* waveFile) {
  if (!waveFile) return;
  ::sndPlaySoundW(WideFromShiftJis(waveFile).c_str(), SND_ASYNC);
}

void Win32Platform::LaunchEditor(const PathString& file, const PathString& folder) {
  ::ShellExecuteW(nullptr, L"OPEN", L"notepad.exe", file.c_str(), folder.c_str(), SW_SHOW);
}

void Win32Platform::ShowHelp(const PathString& helpFile) {
  helpFile_ = helpFile;
  helpOwner_ = mainWindow_ ? mainWindow_ : appWindow_;
  ::WinHelpW(helpOwner_, helpFile_.c_str(), HELP_CONTENTS, 0);
}

void Win32Platform::InfoBox(std::string_view text) {
  ModalGuard guard;
  ShowInfoBox(instance_, appWindow_, WideFromShiftJis(text), wideTitle_);
}

void Win32Platform::WarningBox(std::string_view text, std::string_view caption) {
  ShowMessageBox(text, caption, MB_OK);
}

void Win32Platform::ErrorBox(std::string_view message) {
  ShowMessageBox(ErrorBoxText(message), appTitle_, MB_OK | MB_ICONERROR);
}

void Win32Platform::ShowMessageBox(std::string_view text, std::string_view caption, UINT style) {
  std::wstring wideText = WideFromShiftJis(text);
  // The box shows a terminated text: a NUL in the message shows as a replacement
  // character instead of ending it.
  for (wchar_t& c : wideText) {
    if (c == L'\0') c = 0xFFFD;
  }
  const std::wstring wideCaption = WideFromShiftJis(caption);
  ModalGuard guard;
  ::MessageBoxW(appWindow_, wideText.c_str(), wideCaption.c_str(), style);
}

std::optional<PathString> Win32Platform::OpenFileDialog(const OpenDialogSettings& settings) {
  OpenDialogRequest request;
  request.owner = appWindow_;
  request.placeOn = mainWindow_ ? mainWindow_ : appWindow_;
  request.title = WideFromShiftJis(settings.title);
  request.filterList = WideFilterList(settings.filter);
  request.defaultExt = WideFromShiftJis(settings.defaultExt);
  request.fileName = lastFile_;

  std::optional<std::wstring> chosen;
  {
    ModalGuard guard;
    chosen = ShowOpenDialog(request);
  }
  if (!chosen) return std::nullopt;
  lastFile_ = *chosen;
  return chosen;
}

void Win32Platform::RequestQuit() { ::PostQuitMessage(0); }

std::unique_ptr<ByteSource> Win32Platform::OpenForReading(const PathString& file, int& error) {
  return OpenFileForReading(file, error);
}

}  // namespace nenga
