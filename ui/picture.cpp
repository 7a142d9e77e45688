#include "ui/picture.h"

#include <string>

#include "platform/win32/wide.h"

namespace nenga {
namespace {

Bitmap Placeholder(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return bitmap;
  auto* pixels = static_cast<DWORD*>(bits);
  constexpr DWORD kFill = 0x808080;
  constexpr DWORD kEdge = 0x404040;
  constexpr DWORD kKey = 0xffffff;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
      pixels[y * width + x] = edge ? kEdge : kFill;
    }
  }
  pixels[0] = kKey;  // row 0 of a bottom-up DIB is the bottom row
  GdiFlush();
  return bitmap;
}

SIZE BitmapSize(HBITMAP picture) {
  BITMAP info{};
  if (picture == nullptr || GetObjectW(picture, sizeof(info), &info) == 0) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

}  // namespace

Bitmap LoadPicture(HINSTANCE instance, const char* resourceName, int width, int height) {
  const std::wstring name = WideFromShiftJis(resourceName);
  Bitmap bitmap(static_cast<HBITMAP>(
      LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (bitmap) return bitmap;
  return Placeholder(width, height);
}

void PaintPictureButton(HDC dc, const RECT& rect, HBITMAP picture, bool pressed, bool focused) {
  RECT face = rect;
  if (focused) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&face, -1, -1);
  }
  if (pressed) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
    InflateRect(&face, -1, -1);
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
  } else {
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH);
  }

  const SIZE size = BitmapSize(picture);
  if (size.cx > 0 && size.cy > 0) {
    // The extra pixel of an odd gap goes to the left (top) side.
    int left = rect.left + (rect.right - rect.left - size.cx + 1) / 2;
    int top = rect.top + (rect.bottom - rect.top - size.cy + 1) / 2;
    if (pressed) {
      ++left;
      ++top;
    }
    MemoryDc source(dc);
    if (source.get() != nullptr) {
      SelectedObject selected(source.get(), picture);
      const COLORREF transparent = GetPixel(source.get(), 0, size.cy - 1);
      TransparentBlt(dc, left, top, size.cx, size.cy, source.get(), 0, 0, size.cx, size.cy,
                     transparent);
    }
  }

  if (focused) {
    RECT focus = rect;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

void PaintPicture(HDC dc, const RECT& rect, HBITMAP picture) {
  const SIZE size = BitmapSize(picture);
  if (size.cx == 0) return;
  MemoryDc source(dc);
  if (source.get() == nullptr) return;
  SelectedObject selected(source.get(), picture);
  BitBlt(dc, rect.left, rect.top, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
}

}  // namespace nenga
