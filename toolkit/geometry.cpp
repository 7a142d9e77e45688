#include "toolkit/geometry.h"

#include <algorithm>

namespace nenga {

int ScaleRounded(int a, int b, int c) { return ::MulDiv(a, b, c); }

InfoBoxLayout LayoutInfoBox(int unitX, int unitY, SIZE text, int okWidth, SIZE icon,
                            int secondWidth) {
  const int marginX = ScaleRounded(8, unitX, 4);
  const int marginY = ScaleRounded(8, unitY, 8);
  const int gap = ScaleRounded(10, unitY, 8);
  const int buttonWidth = std::max(ScaleRounded(50, unitX, 4), okWidth + 8);
  const int buttonHeight = ScaleRounded(14, unitY, 8);
  // A second button, 4 dialog units right of OK, leaves its longer text a margin's width
  // of room, half either side.
  const int secondButton = std::max(ScaleRounded(50, unitX, 4), secondWidth + marginX);
  const int buttonGap = ScaleRounded(4, unitX, 4);
  const int row = buttonWidth + (secondWidth > 0 ? buttonGap + secondButton : 0);
  // An icon stands a margin's width away from the text, which starts beside its top.
  const int textLeft = icon.cx > 0 ? marginX + icon.cx + marginX : marginX;
  const int body = std::max(static_cast<int>(text.cy), static_cast<int>(icon.cy));

  InfoBoxLayout layout{};
  layout.client.cx = std::max(textLeft + static_cast<int>(text.cx), marginX + row) + marginX;
  layout.client.cy = marginY + body + gap + buttonHeight + marginY;
  if (icon.cx > 0) layout.icon = {marginX, marginY, marginX + icon.cx, marginY + icon.cy};
  layout.text = {textLeft, marginY, textLeft + text.cx, marginY + text.cy};
  const int buttonLeft = (layout.client.cx - row) / 2;
  const int buttonTop = marginY + body + gap;
  layout.button = {buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight};
  if (secondWidth > 0) {
    const int secondLeft = layout.button.right + buttonGap;
    layout.second = {secondLeft, buttonTop, secondLeft + secondButton, buttonTop + buttonHeight};
  }
  return layout;
}

SIZE FitWithin(SIZE size, SIZE most) {
  if (size.cx <= 0 || size.cy <= 0 || most.cx <= 0 || most.cy <= 0) return {0, 0};
  if (size.cx <= most.cx && size.cy <= most.cy) return size;
  // The tighter side takes its whole room; the other is scaled by the same factor,
  // which cannot round past its own room.
  const auto w = static_cast<long long>(size.cx);
  const auto h = static_cast<long long>(size.cy);
  if (most.cx * h <= most.cy * w) {
    return {most.cx, std::max(1, ScaleRounded(size.cy, most.cx, size.cx))};
  }
  return {std::max(1, ScaleRounded(size.cx, most.cy, size.cy)), most.cy};
}

POINT CentreIn(const RECT& area, SIZE window) {
  return {area.left + ((area.right - area.left) - window.cx) / 2,
          area.top + ((area.bottom - area.top) - window.cy) / 2};
}

POINT PlaceOpenDialog(const RECT& area, SIZE window) {
  // Centred across; a third of the free height above it, never above the area.
  POINT at = CentreIn(area, window);
  const LONG freeHeight = (area.bottom - area.top) - window.cy;
  at.y = area.top + std::max(freeHeight / 3, 0L);
  return at;
}

}  // namespace nenga
