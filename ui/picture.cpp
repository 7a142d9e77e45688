#include "ui/picture.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/wide.h"

namespace nenga {
namespace {

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

Bitmap Placeholder(int width, int height) {
  BITMAPINFO info = TopDown32(width, height);
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
  pixels[(height - 1) * width] = kKey;  // the bottom-left pixel
  GdiFlush();
  return bitmap;
}

SIZE BitmapSize(HBITMAP picture) {
  BITMAP info{};
  if (picture == nullptr || GetObjectW(picture, sizeof(info), &info) == 0) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

// The source's pixels as 0xAARRGGBB, top row first, alpha premultiplied: a keyed
// picture's transparent colour becomes 0, everything else is opaque.
std::vector<std::uint32_t> SourcePixels(HBITMAP source, SIZE size, bool keyed) {
  const auto width = static_cast<std::size_t>(size.cx);
  const auto height = static_cast<std::size_t>(size.cy);
  std::vector<std::uint32_t> pixels(width * height);
  BITMAPINFO info = TopDown32(size.cx, size.cy);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, source, 0, static_cast<UINT>(size.cy), pixels.data(), &info,
                             DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != size.cy) return {};
  const std::uint32_t key = pixels[(height - 1) * width] & 0xffffff;
  for (std::uint32_t& pixel : pixels) {
    pixel &= 0xffffff;
    pixel = keyed && pixel == key ? 0 : pixel | 0xff000000;
  }
  return pixels;
}

// Bilinear resampling of premultiplied pixels, pixel centres mapped onto each other.
std::vector<std::uint32_t> Resample(const std::vector<std::uint32_t>& from, SIZE fromSize,
                                    SIZE to) {
  // 16.16 fixed point: where the centre of each target column (row) falls in the source.
  auto positions = [](int count, int sourceCount) {
    std::vector<std::pair<int, int>> at(static_cast<std::size_t>(count));  // index, weight
    for (int i = 0; i < count; ++i) {
      const long long centre = ((2LL * i + 1) * sourceCount * 65536) / (2LL * count) - 32768;
      const long long clamped = std::clamp<long long>(centre, 0, (sourceCount - 1) * 65536LL);
      at[static_cast<std::size_t>(i)] = {static_cast<int>(clamped >> 16),
                                         static_cast<int>(clamped & 0xffff)};
    }
    return at;
  };
  const auto columns = positions(to.cx, fromSize.cx);
  const auto rows = positions(to.cy, fromSize.cy);
  const auto fromWidth = static_cast<std::size_t>(fromSize.cx);
  const auto toWidth = static_cast<std::size_t>(to.cx);
  std::vector<std::uint32_t> out(toWidth * static_cast<std::size_t>(to.cy));
  auto at = [&](int x, int y) {
    return from[static_cast<std::size_t>(y) * fromWidth + static_cast<std::size_t>(x)];
  };
  for (int y = 0; y < to.cy; ++y) {
    const auto [y0, wy] = rows[static_cast<std::size_t>(y)];
    const int y1 = std::min(y0 + 1, static_cast<int>(fromSize.cy) - 1);
    for (int x = 0; x < to.cx; ++x) {
      const auto [x0, wx] = columns[static_cast<std::size_t>(x)];
      const int x1 = std::min(x0 + 1, static_cast<int>(fromSize.cx) - 1);
      const std::uint32_t p00 = at(x0, y0), p01 = at(x1, y0), p10 = at(x0, y1), p11 = at(x1, y1);
      std::uint32_t pixel = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        auto channel = [shift](std::uint32_t p) -> long long { return (p >> shift) & 0xff; };
        const long long top = channel(p00) * (65536 - wx) + channel(p01) * wx;
        const long long bottom = channel(p10) * (65536 - wx) + channel(p11) * wx;
        const long long value = (top * (65536 - wy) + bottom * wy + (1LL << 31)) >> 32;
        pixel |= static_cast<std::uint32_t>(value) << shift;
      }
      out[static_cast<std::size_t>(y) * toWidth + static_cast<std::size_t>(x)] = pixel;
    }
  }
  return out;
}

Bitmap ScaleSmoothly(HBITMAP source, SIZE to, bool keyed) {
  const SIZE from = BitmapSize(source);
  if (from.cx <= 0 || from.cy <= 0 || to.cx <= 0 || to.cy <= 0) return Bitmap();
  const std::vector<std::uint32_t> pixels = SourcePixels(source, from, keyed);
  if (pixels.empty()) return Bitmap();
  const std::vector<std::uint32_t> scaled = Resample(pixels, from, to);
  BITMAPINFO info = TopDown32(to.cx, to.cy);
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return Bitmap();
  std::copy(scaled.begin(), scaled.end(), static_cast<std::uint32_t*>(bits));
  GdiFlush();
  return bitmap;
}

}  // namespace

Bitmap LoadPicture(HINSTANCE instance, const char* resourceName, int width, int height) {
  const std::wstring name = WideFromShiftJis(resourceName);
  Bitmap bitmap(static_cast<HBITMAP>(
      LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (bitmap) return bitmap;
  return Placeholder(width, height);
}

Picture::Picture(Bitmap source, SIZE shown, bool keyed)
    : design_(BitmapSize(source.get())), source_(std::move(source)), shown_(shown), keyed_(keyed) {}

Picture::Picture(HINSTANCE instance, const char* resourceName, SIZE design, SIZE shown, bool keyed)
    : instance_(instance),
      resourceName_(resourceName),
      design_(design),
      shown_(shown),
      keyed_(keyed) {}

bool Picture::Scaled() const { return design_.cx != shown_.cx || design_.cy != shown_.cy; }

HBITMAP Picture::Source() {
  if (resourceName_ != nullptr) {
    source_ = LoadPicture(instance_, resourceName_, design_.cx, design_.cy);
    resourceName_ = nullptr;
  }
  return source_.get();
}

HBITMAP Picture::Get() {
  if (!Scaled()) return Source();
  if (!scaled_) scaled_ = ScaleSmoothly(Source(), shown_, keyed_);
  return scaled_.get();
}

void PaintPictureButton(HDC dc, const RECT& rect, Picture* picture, bool pressed, bool focused) {
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

  const SIZE size = picture != nullptr ? picture->Size() : SIZE{0, 0};
  HBITMAP bitmap = picture != nullptr ? picture->Get() : nullptr;
  if (bitmap != nullptr && size.cx > 0 && size.cy > 0) {
    // The extra pixel of an odd gap goes to the left (top) side.
    int left = rect.left + (rect.right - rect.left - size.cx + 1) / 2;
    int top = rect.top + (rect.bottom - rect.top - size.cy + 1) / 2;
    if (pressed) {
      ++left;
      ++top;
    }
    MemoryDc source(dc);
    if (source.get() != nullptr) {
      SelectedObject selected(source.get(), bitmap);
      // gdi32's own AlphaBlend and TransparentBlt, so msimg32 is not loaded at start-up.
      if (picture->Scaled()) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(dc, left, top, size.cx, size.cy, source.get(), 0, 0, size.cx, size.cy, blend);
      } else {
        const COLORREF transparent = GetPixel(source.get(), 0, size.cy - 1);
        GdiTransparentBlt(dc, left, top, size.cx, size.cy, source.get(), 0, 0, size.cx, size.cy,
                          transparent);
      }
    }
  }

  if (focused) {
    RECT focus = rect;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

void PaintPicture(HDC dc, const RECT& rect, Picture& picture) {
  const SIZE size = picture.Size();
  HBITMAP bitmap = picture.Get();
  if (bitmap == nullptr || size.cx == 0) return;
  MemoryDc source(dc);
  if (source.get() == nullptr) return;
  SelectedObject selected(source.get(), bitmap);
  BitBlt(dc, rect.left, rect.top, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
}

}  // namespace nenga
