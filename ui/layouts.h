// The layouts of the program's two windows, as data: one row per control. Positions
// and sizes are client pixels for a window font 12 pixels high; the windows are built
// from a copy scaled to the font height measured on the screen at start-up.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/geometry.h"

namespace nenga {

enum class ControlKind {
  kLabel,          // static text
  kAutoSizeLabel,  // static text, as large as its text, opaque
  kEdit,           // one-line edit box
  kReadOnlyEdit,   // one-line edit box, read-only, button-face background
  kPictureButton,  // owner-drawn button showing a picture
  kPicture,        // a picture
  kPushButton,     // plain push button with a caption
};

// 0x00bbggrr, as Windows' COLORREF.
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kRed = 0x0000ff;

struct FontStyle {
  int height = 0;  // pixels; 0: the window's default font
  bool bold = false;
  std::uint32_t color = kBlack;  // black: the system's text colour, black in its standard scheme
};

// One control. A row names what it needs; the rest keeps these defaults.
struct ControlLayout {
  int id = 0;
  ControlKind kind = ControlKind::kLabel;
  int x = 0, y = 0, width = 0, height = 0;
  const char* text = "";  // Shift-JIS caption or initial text
  FontStyle font{};
  const char* hint = nullptr;               // Shift-JIS tooltip, nullptr for none
  int tabOrder = -1;                        // -1: takes no focus
  const char* picture = nullptr;            // resource name of the picture, nullptr for none
  int pictureWidth = 0, pictureHeight = 0;  // as drawn, for the design font; not scaled
};

struct FormLayout {
  const wchar_t* className = nullptr;
  const char* caption = "";  // Shift-JIS
  int clientWidth = 0, clientHeight = 0;
  int fontHeight = 0;  // the default font, "ＭＳ Ｐゴシック"
  // In creation order: by tab order, each label before its box.
  std::vector<ControlLayout> controls;
};

// The design font height the tables are drawn for.
inline constexpr int kDesignFontHeight = 12;

// value * fontHeight / 12, rounded to the nearest pixel, halves away from zero.
inline int ScaleToFont(int value, int fontHeight) {
  return ScaleRounded(value, fontHeight, kDesignFontHeight);
}

FormLayout MainFormLayout(int fontHeight);
FormLayout AtariFormLayout(int fontHeight);

}  // namespace nenga
