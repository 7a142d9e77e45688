// Small owners of GDI and window-DC handles.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace nenga {

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

// Owns an icon that was loaded for its owner alone (not shared) and destroys it.
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

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

// A window's DC with a font selected into it; the old font goes back and the DC is
// released when this ends.
class WindowDcWithFont {
 public:
  WindowDcWithFont(HWND window, HFONT font)
      : window_(window), dc_(::GetDC(window)), old_(dc_ ? ::SelectObject(dc_, font) : nullptr) {}
  ~WindowDcWithFont() {
    if (dc_) {
      ::SelectObject(dc_, old_);
      ::ReleaseDC(window_, dc_);
    }
  }
  WindowDcWithFont(const WindowDcWithFont&) = delete;
  WindowDcWithFont& operator=(const WindowDcWithFont&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace nenga
