// The small base the program's two windows share: the window procedure that finds the
// C++ object, and the barrier that keeps an exception from crossing into Windows.
#pragma once

#include <windows.h>

#include <exception>
#include <utility>

#include "platform/platform.h"
#include "toolkit/gdi.h"

namespace nenga {

// Shows a failure that escaped a handler in the error box. Never throws.
void ReportFailure(Platform& platform, const std::exception* failure) noexcept;

// Runs one handler. A failure it raises ends the handler, is shown in the error box,
// and the program goes on. Returns whether the handler ran to its end.
template <class Handler>
bool RunGuarded(Platform& platform, Handler&& handler) noexcept {
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (const std::exception& failure) {
    ReportFailure(platform, &failure);
  } catch (...) {
    ReportFailure(platform, nullptr);
  }
  return false;
}

// One top-level window of the program. The object lives longer than its window; the
// window is destroyed with the object at the latest.
class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  void Destroy();

  // The screen scale the window keeps, in dots per inch: its monitor's when it was
  // made, then the last one WM_DPICHANGED gave (the message is the truth: a hidden
  // window may not be told, and Wine's GetDpiForWindow answers the system scale).
  UINT Dpi() const;

 protected:
  explicit Window(Platform& platform) : platform_(platform) {}

  // Registers a window class of this kind once: button-face background, arrow cursor,
  // and no icon, so the caption shows none.
  static bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className);
  // Creates the window, hidden and centred on the primary screen, with the frame of
  // that monitor's scale, which it keeps; the owner, where there is one, stands on that
  // monitor too. `this` travels in the creation parameter to WM_NCCREATE.
  bool CreateFrame(HINSTANCE instance, const wchar_t* className, const wchar_t* caption,
                   DWORD style, DWORD exStyle, int clientWidth, int clientHeight, HWND owner);

  // Where a window of that outer size stands centred on the primary screen.
  static POINT CentredOnScreen(SIZE size);
  // The window's outer size around a client area, with its frame at a scale.
  SIZE FrameSize(SIZE client, UINT dpi) const;
  // Lays the window out again at another scale, as it would have been made there: its
  // controls (LayOut), then its size, its top-left corner at `at`.
  void ScaleTo(UINT dpi, POINT at);
  // The client size and the controls' layout for a measured font height.
  virtual SIZE ClientSize(int fontHeight) const = 0;
  virtual void LayOut(int fontHeight) = 0;

  // The object behind a window made by CreateFrame; nullptr once it is being destroyed.
  static Window* FromHandle(HWND hwnd);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

  Platform& platform_;
  HWND hwnd_ = nullptr;

 private:
  // The messages every window answers alike, then HandleMessage.
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace nenga
