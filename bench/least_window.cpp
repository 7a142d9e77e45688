// The least window program the start-up benchmark measures nenga.exe against: common
// controls 6, the window font ("ＭＳ Ｐゴシック", 12 pixels), a label and an edit box,
// and an event loop. Built with the same toolchain, options and stack-protector runtime
// as nenga.exe. The system DLLs named on its command line ("shcore.dll ...") it loads
// first, from the system folder.
//
// Built as same_windows.exe (SAME_WINDOWS defined), it makes instead the windows
// nenga.exe makes at start, from the same layouts and where it makes them, and does
// nothing else: the application window on the taskbar, owner of the main window with its
// controls, and the win dialog with its own, hidden. Labels and buttons keep the window
// font, and the buttons show no picture. The least program itself links nothing of nenga's.
#include <windows.h>
// commctrl.h needs windows.h first
#include <commctrl.h>

#include <cstdlib>

#ifdef SAME_WINDOWS
#include "platform/win32/wide.h"
#include "toolkit/geometry.h"
#include "ui/layouts.h"
#endif

namespace {

LRESULT CALLBACK LeastProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM: {  // the owner-drawn buttons of same_windows.exe: a face alone
      auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      DrawFrameControl(item.hDC, &item.rcItem, DFC_BUTTON, DFCS_BUTTONPUSH);
      return TRUE;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

#ifdef SAME_WINDOWS
// A window with layout's client size and controls, owned by owner; a picture is not
// made at start.
HWND MakeForm(HINSTANCE instance, const nenga::FormLayout& layout, DWORD style, HWND owner,
              HFONT font) {
  RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  // Where nenga.exe makes it, centred on the primary screen: under the pointer where it
  // rests there, as on a fresh virtual display, which then moves over it.
  const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  const POINT at =
      nenga::CentreIn({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, size);
  const HWND form = CreateWindowExW(WS_EX_DLGMODALFRAME, L"TLeastWindow", L"least", style, at.x,
                                    at.y, size.cx, size.cy, owner, nullptr, instance, nullptr);
  if (form == nullptr) return nullptr;
  using K = nenga::ControlKind;
  for (const nenga::ControlLayout& row : layout.controls) {
    if (row.kind == K::kPicture) continue;
    const bool edit = row.kind == K::kEdit || row.kind == K::kReadOnlyEdit;
    const bool button = row.kind == K::kPictureButton || row.kind == K::kPushButton;
    DWORD controlStyle = WS_CHILD | WS_VISIBLE | (row.tabOrder >= 0 ? WS_TABSTOP : 0);
    if (edit) controlStyle |= ES_AUTOHSCROLL | (row.kind == K::kReadOnlyEdit ? ES_READONLY : 0);
    if (row.kind == K::kPictureButton) controlStyle |= BS_OWNERDRAW;
    const wchar_t* className = edit ? L"EDIT" : button ? L"BUTTON" : L"STATIC";
    const HWND control = CreateWindowExW(
        edit ? WS_EX_CLIENTEDGE : 0, className, nenga::WideFromShiftJis(row.text).c_str(),
        controlStyle, row.x, row.y, row.width, row.height, form, nullptr, instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  return form;
}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  for (int i = 1; i < __argc; ++i) {
    LoadLibraryExW(__wargv[i], nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = LeastProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = L"TLeastWindow";
  if (!RegisterClassExW(&windowClass)) return 1;

  LOGFONTW lf{};
  lf.lfHeight = -12;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpyW(lf.lfFaceName, L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF");  // ＭＳ Ｐゴシック
  const HFONT font = CreateFontIndirectW(&lf);

  HWND window = nullptr;
  HWND focus = nullptr;
#ifdef SAME_WINDOWS
  {
    // nenga.exe's application window: no size, shown on the taskbar first, with an icon.
    windowClass.lpszClassName = L"TLeastApplication";
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    if (!RegisterClassExW(&windowClass)) return 1;
    const HWND application = CreateWindowExW(
        0, L"TLeastApplication", L"least", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
        nullptr, instance, nullptr);
    ShowWindow(application, SW_SHOWNOACTIVATE);
    constexpr DWORD kFormStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    window = MakeForm(instance, nenga::MainFormLayout(nenga::kDesignFontHeight),
                      WS_OVERLAPPED | kFormStyle, application, font);
    if (window == nullptr) return 1;
    const HWND dialog = MakeForm(instance, nenga::AtariFormLayout(nenga::kDesignFontHeight),
                                 WS_POPUP | kFormStyle, window, font);
    if (dialog == nullptr) return 1;
    focus = GetNextDlgTabItem(window, nullptr, FALSE);
  }
#else
  {
    window = CreateWindowExW(0, L"TLeastWindow", L"least", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 320, 120, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    const HWND label = CreateWindowExW(0, L"STATIC", L"\x756A\x53F7", WS_CHILD | WS_VISIBLE, 8, 8,
                                       60, 16, window, nullptr, instance, nullptr);
    focus = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 72, 6, 200, 20,
                            window, nullptr, instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(focus, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
#endif
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  SetFocus(focus);

  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DeleteObject(font);
  return 0;
}
