// Pictures of the program's windows, drawn by the windows themselves rather than read
// from the screen, so that a window covered by another, or hidden, still gives one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

#include "toolkit/gdi.h"

namespace nenga {

// A 32-bit top-down DIB section with every pixel opaque: the kind the desktop window
// manager takes for its thumbnails. Empty (false) when it could not be made.
class WindowPicture {
 public:
  WindowPicture() = default;
  WindowPicture(int width, int height);  // black
  WindowPicture(WindowPicture&& other) noexcept
      : bitmap_(std::move(other.bitmap_)),
        width_(std::exchange(other.width_, 0)),
        height_(std::exchange(other.height_, 0)),
        pixels_(std::exchange(other.pixels_, nullptr)) {}
  WindowPicture& operator=(WindowPicture&& other) noexcept {
    bitmap_ = std::move(other.bitmap_);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    pixels_ = std::exchange(other.pixels_, nullptr);
    return *this;
  }

  explicit operator bool() const { return static_cast<bool>(bitmap_); }
  HBITMAP get() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // Row after row from the top, each pixel 0xAARRGGBB.
  std::uint32_t* pixels() const { return pixels_; }

 private:
  Bitmap bitmap_;
  int width_ = 0;
  int height_ = 0;
  std::uint32_t* pixels_ = nullptr;
};

// The window as it shows, frame included, with every control that shows in it: each
// draws itself (WM_PRINT for its frame, WM_ERASEBKGND and WM_PRINTCLIENT inside) and is
// put in its place, so no control is left out where the system's PrintWindow leaves
// them out. A system whose WM_PRINT draws no frame (Wine) gets the classic one.
WindowPicture DrawWindow(HWND window);

// The picture made to fit in most (FitWithin), each pixel the average of those it stands
// for.
WindowPicture Shrunk(const WindowPicture& picture, SIZE most);

}  // namespace nenga
