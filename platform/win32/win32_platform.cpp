#include "platform/win32/win32_platform.h"

// After windows.h (from the header), which these rely on.
#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "platform/file.h"
#include "platform/win32/info_box.h"
#include "platform/win32/open_dialog.h"
#include "platform/win32/platform_words.h"
#include "platform/win32/program_folder.h"
#include "platform/win32/wide.h"
#include "toolkit/dpi.h"
#include "toolkit/geometry.h"
#include "toolkit/modal_guard.h"

namespace nenga {
namespace {

constexpr wchar_t kAppWindowClass[] = L"TApplication";
constexpr wchar_t kAppIcon[] = L"MAINICON";
// Posted to itself when the application window is activated.
constexpr UINT kPassActivation = WM_APP;
// Where Windows puts minimised windows when a taskbar stands for them.
constexpr int kOffScreen = -32000;

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

}  // namespace

// The application window stands for the program on the taskbar and in Alt+Tab: the
// application title and icon are its own. It has no size, so nothing of it shows; when
// the user picks it, it hands the activation on to the window last used.
LRESULT CALLBACK Win32Platform::AppWindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  auto* platform = reinterpret_cast<Win32Platform*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  TaskbarPreviews* previews = platform ? &platform->previews_ : nullptr;
  switch (message) {
    // The taskbar's pictures of the program are of the window in use, not of this one.
    case WM_DWMSENDICONICTHUMBNAIL:
      if (previews) previews->SendThumbnail(WindowInUse(window), {HIWORD(lParam), LOWORD(lParam)});
      return 0;
    case WM_DWMSENDICONICLIVEPREVIEWBITMAP:
      if (previews) previews->SendLivePreview(WindowInUse(window));
      return 0;
    case WM_DWMCOMPOSITIONCHANGED:
      if (previews) previews->CompositionChanged();
      return 0;
    case WM_SYSCOMMAND:
      // Minimised, the program's windows hide: the last picture of them stays.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && previews) previews->Remember(WindowInUse(window));
      return ::DefWindowProcW(window, message, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) ::PostMessageW(window, kPassActivation, 0, 0);
      return 0;
    case kPassActivation:
      if (::GetActiveWindow() == window) {
        if (const HWND inUse = WindowInUse(window)) ::SetForegroundWindow(inUse);
      }
      return 0;
    case WM_CLOSE:  // from the taskbar, SC_CLOSE's too: close the window in use instead
      if (platform) platform->CloseWindowInUse();
      return 0;
    case WM_DPICHANGED:  // moved to a monitor of another scale, or its scale changed
      if (platform) platform->ScaleChanged(HIWORD(wParam));
      return 0;  // it has no size to change
    case WM_WINDOWPOSCHANGING: {
      // Nothing of it shows, whatever it is told: it takes no room (a shortcut may ask
      // for "maximised"), and minimised it goes off the screen, where Windows keeps
      // minimised windows beside a taskbar; elsewhere a minimised caption would show.
      const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
      auto& position = *reinterpret_cast<WINDOWPOS*>(lParam);
      position.cx = 0;
      position.cy = 0;
      if (::IsIconic(window)) {
        position.x = kOffScreen;
        position.y = kOffScreen;
      }
      return result;
    }
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

namespace {

HWND CreateAppWindow(HINSTANCE instance, const std::wstring& title, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.lpszClassName = kAppWindowClass;
  // The class's icons, at the system scale, serve until a scale of other icon sizes
  // gives the window its own (ScaleChanged). A shared icon is the size first loaded of
  // it, whatever size is asked later, so only the large one is loaded: the system finds
  // the small one in the same resource. nullptr where the module has no icon (the test
  // programs).
  wc.hIcon = static_cast<HICON>(
      ::LoadImageW(instance, kAppIcon, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  return ::CreateWindowExW(0, kAppWindowClass, title.c_str(),
                           WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2,
                           0, 0, nullptr, nullptr, instance, nullptr);
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A file of the system folder, by its full path; empty when the folder is not known.
std::wstring SystemFolderFile(const wchar_t* name) {
  std::wstring folder(MAX_PATH, L'\0');
  UINT length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (length >= folder.size()) {  // too long for the buffer: length is the size it needs
    folder.resize(length);
    length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  }
  if (length == 0 || length >= folder.size()) return {};
  folder.resize(length);
  if (folder.back() != L'\\') folder += L'\\';
  return folder + name;
}

// Why a page did not open, from ShellExecute's result (a code of 32 or less).
std::string OpenFailureReason(INT_PTR code) {
  switch (code) {
    case SE_ERR_FNF:
    case SE_ERR_PNF:
      return platform_words::kHelpFileNotFound;
    case SE_ERR_ACCESSDENIED:
      return platform_words::kHelpAccessDenied;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      return platform_words::kHelpNoProgram;
    case 0:
    case SE_ERR_OOM:
      return platform_words::kHelpOutOfMemory;
    default:
      return platform_words::kHelpOtherError + std::to_string(code) + ")";
  }
}

// The system's own words for an error code, in the user's language, without the line
// end it closes with; its number where the system has none.
std::wstring SystemReason(DWORD code) {
  wchar_t text[512];
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, text, static_cast<DWORD>(std::size(text)), nullptr);
  while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) --n;
  if (n == 0) return WideFromShiftJis(platform_words::kHelpOtherError + std::to_string(code) + ")");
  return std::wstring(text, n);
}

}  // namespace

Win32Platform::Win32Platform(HINSTANCE instance, std::wstring appTitle)
    : instance_(instance), appTitle_(std::move(appTitle)), programFolder_(ProgramFolder()) {
  appWindow_ = CreateAppWindow(instance_, appTitle_, AppWindowProc);
  if (!appWindow_) throw std::runtime_error("cannot create the application window");
  ::SetWindowLongPtrW(appWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // Made at the system scale (nearly always), the class's icons are already of its
  // sizes: the window's own wait for a change of scale, and the start loads none.
  const UINT dpi = WindowDpi(appWindow_);
  if (!IconSizesMatchSystemScale(dpi)) ScaleChanged(dpi);
}

Win32Platform::~Win32Platform() {
  Shutdown();
  ::DestroyWindow(appWindow_);
}

void Win32Platform::ShowInTaskbar() { ::ShowWindow(appWindow_, SW_SHOWNOACTIVATE); }

void Win32Platform::ScaleChanged(UINT dpi) {
  // The sizes Windows shows a window's icons in at its scale: the small one on small
  // taskbar buttons, the large one on the others and in Alt+Tab. Each old icon goes
  // once the window holds the new one.
  const auto give = [&](WPARAM which, int sizeIndex, OwnedIcon& owned) {
    OwnedIcon icon(LoadIconOfSize(instance_, kAppIcon, MetricForDpi(sizeIndex, dpi)));
    if (!icon) return;  // the class's icons stay
    ::SendMessageW(appWindow_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon.get()));
    owned = std::move(icon);
  };
  give(ICON_SMALL, SM_CXSMICON, smallIcon_);
  give(ICON_BIG, SM_CXICON, bigIcon_);
  // The pictures handed over, and the one kept for while nothing shows, are of the
  // old layout.
  const HWND inUse = WindowInUse(appWindow_);
  previews_.ScaleChanged(inUse != nullptr ? inUse : mainWindow_);
}

void Win32Platform::CloseWindowInUse() {
  HWND inUse = WindowInUse(appWindow_);
  // None shows when the program is minimised: then the main window, unless a box or the
  // win dialog, hidden with it, keeps it disabled.
  if (inUse == nullptr && ::IsWindowEnabled(mainWindow_)) inUse = mainWindow_;
  if (inUse != nullptr) ::PostMessageW(inUse, WM_CLOSE, 0, 0);
}

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
  // A full path: a bare name would be looked up in the current folder, which the file
  // dialog moves. A cue that is missing is silence, not the system's default sound.
  const std::wstring path = programFolder_ + WideFromShiftJis(waveFile);
  ::PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

Win32Platform::ComApartment::~ComApartment() {
  if (entered_) ::CoUninitialize();
}

void Win32Platform::ComApartment::Enter() {
  // S_FALSE (the thread was in one already) counts too, and is left the same way.
  if (!entered_) {
    entered_ =
        SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }
}

bool Win32Platform::WriteNewFile(const PathString& file, std::string_view bytes) {
  const DWORD error = CreateNewFile(file, bytes);
  if (error == 0) return true;
  // The folder's path stays UTF-16 up to the box, and so does the system's reason.
  std::wstring text = WideFromShiftJis(platform_words::kCannotWriteBefore) + FolderOfPath(file) +
                      WideFromShiftJis(platform_words::kCannotWriteReason) + SystemReason(error) +
                      WideFromShiftJis(platform_words::kCannotWriteAfter);
  ShowMessageBox(std::move(text), appTitle_, MB_OK | MB_ICONWARNING);
  return false;
}

void Win32Platform::LaunchEditor(const PathString& file, const PathString& folder) {
  // The system's own Notepad by its full path: a bare "notepad.exe" is looked up in the
  // program's folder first, where a stranger's program of that name may lie. A
  // replacement registered for Notepad still runs in its place. The file is one quoted
  // argument, so a folder with spaces in its name reaches the editor whole.
  const std::wstring notepad = SystemFolderFile(L"notepad.exe");
  if (notepad.empty()) return;
  apartment_.Enter();
  const std::wstring argument = L"\"" + file + L"\"";
  ::ShellExecuteW(nullptr, L"OPEN", notepad.c_str(), argument.c_str(), folder.c_str(), SW_SHOW);
}

void Win32Platform::ShowHelp(const PathString& helpFile, const PathString& page,
                             const PathString& folder) {
  if (IsFile(helpFile)) {
    helpFile_ = helpFile;
    helpOwner_ = mainWindow_ ? mainWindow_ : appWindow_;
    ::WinHelpW(helpOwner_, helpFile_.c_str(), HELP_CONTENTS, 0);
    return;
  }
  // Current Windows shows no .hlp file; the page opens in whatever the user reads pages
  // with.
  apartment_.Enter();
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", page.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL));
  if (result > 32) return;
  // The page's path stays UTF-16, whatever characters its folder has; the full-stop
  // rule applies to the reason at the end.
  std::wstring text =
      WideFromShiftJis(platform_words::kHelpPageBefore) + page +
      WideFromShiftJis(ErrorBoxText(platform_words::kHelpPageAfter + OpenFailureReason(result)));
  ShowMessageBox(std::move(text), appTitle_, MB_OK | MB_ICONERROR);
}

void Win32Platform::InfoBox(std::string_view text) {
  ModalGuard guard;
  // Centred on the primary monitor, at its scale.
  ShowInfoBox(instance_, appWindow_, WideFromShiftJis(text), appTitle_, PrimaryMonitorDpi());
}

bool Win32Platform::FileWarningBox(const PathString& file, std::string_view text) {
  ModalGuard guard;
  std::wstring shown = file.substr(FolderOfPath(file).size());  // the name alone
  shown += L"\r\n";
  shown += WideFromShiftJis(text);
  return ShowInfoBox(instance_, appWindow_, std::move(shown), appTitle_, PrimaryMonitorDpi(),
                     InfoBoxKind::kFileWarning);
}

void Win32Platform::WarningBox(std::string_view text, std::string_view caption) {
  ShowMessageBox(WideFromShiftJis(text), WideFromShiftJis(caption), MB_OK);
}

void Win32Platform::ErrorBox(std::string_view message) {
  ShowMessageBox(WideFromShiftJis(ErrorBoxText(message)), appTitle_, MB_OK | MB_ICONERROR);
}

void Win32Platform::ShowMessageBox(std::wstring text, const std::wstring& caption, UINT style) {
  // The box shows a terminated text: a NUL in the message shows as a replacement
  // character instead of ending it.
  for (wchar_t& c : text) {
    if (c == L'\0') c = 0xFFFD;
  }
  ModalGuard guard;
  ::MessageBoxW(appWindow_, text.c_str(), caption.c_str(), style);
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
