#include "ui/window.h"

#include <string>

#include "toolkit/dpi.h"
#include "toolkit/geometry.h"
#include "ui/controls.h"
#include "winning/myProc.h"

namespace nenga {

void ReportFailure(Platform& platform, const std::exception* failure) noexcept {
  try {
    // A Failure's message is a byte string that may hold a NUL: take it whole.
    if (const auto* own = dynamic_cast<const Failure*>(failure)) {
      platform.ErrorBox(own->message());
    } else {
      platform.ErrorBox(failure != nullptr ? std::string(failure->what()) : std::string());
    }
  } catch (...) {
    // Nothing is left to report with; the program carries on.
  }
}

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool Window::RegisterWindowClass(HINSTANCE instance, const wchar_t* className) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, className, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &Window::WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) != 0;
}

bool Window::CreateFrame(HINSTANCE instance, const wchar_t* className, const wchar_t* caption,
                         DWORD style, DWORD exStyle, int clientWidth, int clientHeight,
                         HWND owner) {
  if (!RegisterWindowClass(instance, className)) return false;
  // At the primary monitor's scale: told by the owner, made there a moment ago, where
  // there is one.
  const UINT dpi = owner != nullptr ? MonitorDpiOf(owner) : PrimaryMonitorDpi();
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectForDpi(frame, style, exStyle, dpi);
  const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  // Made where it first shows, so showing it moves nothing.
  const POINT at = CentredOnScreen(size);
  CreateWindowExW(exStyle, className, caption, style, at.x, at.y, size.cx, size.cy, owner, nullptr,
                  instance, this);
  if (hwnd_ != nullptr) KeepWindowDpi(hwnd_, dpi);
  return hwnd_ != nullptr;
}

UINT Window::Dpi() const { return WindowDpi(hwnd_); }

POINT Window::CentredOnScreen(SIZE size) {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return CentreIn(screen, size);
}

SIZE Window::FrameSize(SIZE client, UINT dpi) const {
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                         static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void Window::ScaleTo(UINT dpi, POINT at) {
  const int fontHeight = MeasureFormFontHeight(dpi);
  KeepWindowDpi(hwnd_, dpi);
  // The size first: a label is fitted within its window's new client area.
  const SIZE frame = FrameSize(ClientSize(fontHeight), dpi);
  SetWindowPos(hwnd_, nullptr, at.x, at.y, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut(fontHeight);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

Window* Window::FromHandle(HWND hwnd) {
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return Default(message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = FromHandle(hwnd);
  }
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);

  LRESULT result = 0;
  RunGuarded(self->platform_, [&] { result = self->Dispatch(message, wParam, lParam); });
  if (message == WM_NCDESTROY) {
    ForgetWindowDpi(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DPICHANGED: {
      // The suggested rectangle's size is the one WM_GETDPISCALEDSIZE gave; the window
      // takes the size its layout needs, at the suggested place.
      const auto& suggested = *reinterpret_cast<const RECT*>(lParam);
      ScaleTo(HIWORD(wParam), {suggested.left, suggested.top});
      return 0;
    }
    case kGetDpiScaledSize: {
      // The size the window will take at that scale, so that Windows' suggestion
      // matches it and a window dragged across two monitors does not jump.
      const auto dpi = static_cast<UINT>(wParam);
      *reinterpret_cast<SIZE*>(lParam) = FrameSize(ClientSize(MeasureFormFontHeight(dpi)), dpi);
      return TRUE;
    }
    default:
      return HandleMessage(message, wParam, lParam);
  }
}

}  // namespace nenga
