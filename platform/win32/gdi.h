// Small owners of GDI and window-DC handles.
#pragma once

#include <windows.h>

namespace nenga {

class Font {
 public:
  Font() = default;
  explicit Font(HFONT font) : font_(font) {}
  ~Font() {
    if (font_) ::DeleteObject(font_);
  }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  Font(Font&& other) noexcept : font_(other.font_) { other.font_ = nullptr; }
  Font& operator=(Font&& other) noexcept {
    if (this != &other) {
      if (font_) ::DeleteObject(font_);
      font_ = other.font_;
      other.font_ = nullptr;
    }
    return *this;
  }

  HFONT get() const { return font_; }

 private:
  HFONT font_ = nullptr;
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

// The system's message font (NONCLIENTMETRICS lfMessageFont).
inline Font CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return Font(nullptr);
  }
  return Font(::CreateFontIndirectW(&metrics.lfMessageFont));
}

}  // namespace nenga
