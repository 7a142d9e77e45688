// The pictures of the two windows and the painting of the picture buttons.
#pragma once

#include <windows.h>

#include "ui/window.h"

namespace nenga {

// Loads a bitmap resource as a DIB section, keeping its colours exact. A missing
// resource gives a plain grey box of the given size instead, whose bottom-left pixel
// (and only that) is white, so the rest of the program works the same. Pictures load
// through Picture; public as a test seam, for the painting tests.
Bitmap LoadPicture(HINSTANCE instance, const char* resourceName, int width, int height);

// A picture as its window shows it. At the design size it is the loaded bitmap as it
// is; at any other size a smooth enlargement (or reduction) is made from it the first
// time it is painted. The enlargement of a keyed picture (one whose bottom-left
// pixel's colour is transparent) carries the transparency as an alpha channel, made
// at the source's resolution, so no transparent colour bleeds into its edges.
class Picture {
 public:
  Picture() = default;
  // Test seam: a picture of a bitmap already loaded, for the painting tests.
  Picture(Bitmap source, SIZE shown, bool keyed);
  // A bitmap resource of the given design size, loaded when it is first painted: the
  // congratulation picture is needed only at the first win.
  Picture(HINSTANCE instance, const char* resourceName, SIZE design, SIZE shown, bool keyed);

  SIZE Size() const { return shown_; }
  bool Scaled() const;
  // The bitmap to paint: the source, or its enlargement (32 bits, premultiplied alpha).
  HBITMAP Get();

 private:
  HBITMAP Source();

  HINSTANCE instance_ = nullptr;
  const char* resourceName_ = nullptr;  // until loaded
  SIZE design_{0, 0};
  Bitmap source_;
  Bitmap scaled_;
  SIZE shown_{0, 0};
  bool keyed_ = false;
};

// Paints one picture button into rect on dc: a raised frame at rest; while held, a flat
// face with a one-pixel shadow border and the picture one pixel right and down. The
// picture is centred (an odd pixel left over goes left and above); its bottom-left
// pixel's colour shows the button face. A focused button gets a window-frame outline
// and a dotted focus rectangle 4 pixels inside its edge.
void PaintPictureButton(HDC dc, const RECT& rect, Picture* picture, bool pressed, bool focused);

// Draws the picture opaque at the top-left of rect, at its shown size.
void PaintPicture(HDC dc, const RECT& rect, Picture& picture);

}  // namespace nenga
