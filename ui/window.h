// The small base the program's two windows share: the window procedure that finds the
// C++ object, and the barrier that keeps an exception from crossing into Windows.
#pragma once

#include <windows.h>

#include <exception>
#include <utility>

#include "platform/platform.h"

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

// Owns a GDI object (font, bitmap, brush) and deletes it when destroyed.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset() {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = nullptr;
  }

 private:
  Handle handle_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;

// Selects an object into a DC for one scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A memory DC compatible with another, deleted when destroyed.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

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

 protected:
  explicit Window(Platform& platform) : platform_(platform) {}

  // Registers a window class of this kind once: button-face background, arrow cursor,
  // and no icon, so the caption shows none.
  static bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className);
  // Creates the window; `this` travels in the creation parameter to WM_NCCREATE.
  bool CreateFrame(HINSTANCE instance, const wchar_t* className, const wchar_t* caption,
                   DWORD style, DWORD exStyle, int clientWidth, int clientHeight, HWND owner);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

  Platform& platform_;
  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace nenga
