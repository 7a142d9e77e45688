// The least window program the start-up benchmark measures nenga.exe against: common
// controls 6, the window font ("ＭＳ Ｐゴシック", 12 pixels), a label and an edit box,
// and an event loop. Built with the same toolchain, options and stack-protector runtime
// as nenga.exe. The system DLLs named on its command line ("shcore.dll ...") it loads
// first, from the system folder.
#include <windows.h>
// commctrl.h needs windows.h first
#include <commctrl.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK LeastProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  for (int i = 1; i < __argc; ++i)
    LoadLibraryExW(__wargv[i], nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
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

  const HWND window =
      CreateWindowExW(0, L"TLeastWindow", L"least", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 320, 120, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  const HWND label = CreateWindowExW(0, L"STATIC", L"\x756A\x53F7", WS_CHILD | WS_VISIBLE, 8, 8, 60,
                                     16, window, nullptr, instance, nullptr);
  const HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 72, 6, 200,
                                    20, window, nullptr, instance, nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  SetFocus(edit);

  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DeleteObject(font);
  return 0;
}
