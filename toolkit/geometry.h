// The arithmetic behind the windows' geometry, kept apart from the windows so it
// can be checked with numbers worked out by hand.
#pragma once

#include <windows.h>

namespace nenga {

// a * b / c rounded to the nearest whole number, halves away from zero (as MulDiv).
int ScaleRounded(int a, int b, int c);

// Where the information box puts its parts, in client coordinates.
struct InfoBoxLayout {
  SIZE client;
  RECT icon;  // empty without one
  RECT text;
  RECT button;
  RECT second;  // the button right of OK; empty without one
};

// unitX: average width of the message font's letters, unitY: their height;
// text: the size of the word-wrapped text; okWidth: the width of "OK" in that font;
// icon: the size of an icon left of the text, at the top margin, or none;
// secondWidth: the width of a second button's text, or 0 for OK alone.
InfoBoxLayout LayoutInfoBox(int unitX, int unitY, SIZE text, int okWidth, SIZE icon = {},
                            int secondWidth = 0);

// Top-left corner that centres a window of the given size horizontally in area and
// leaves one third of the free height above it. A window taller than the area keeps
// its title bar inside it.
POINT PlaceOpenDialog(const RECT& area, SIZE window);

// Top-left corner that centres a window of the given size in area.
POINT CentreIn(const RECT& area, SIZE window);

// The size of a picture of size made to fit in most, its aspect kept: as large as fits,
// never larger than size itself, at least one pixel each way; empty when either is.
SIZE FitWithin(SIZE size, SIZE most);

}  // namespace nenga
