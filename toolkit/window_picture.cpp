#include "toolkit/window_picture.h"

#include <algorithm>
#include <string>

#include "toolkit/dpi.h"
#include "toolkit/geometry.h"

namespace nenga {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

std::size_t Index(int x, int y, int width) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
         static_cast<std::size_t>(x);
}

// The frame of window in the classic look, drawn by hand into dc over rect, with the
// metrics and the caption font of the window's own scale: the border's edges, the
// caption bar with the title and the close button. Wine's WM_PRINT draws no frame
// (PRF_NONCLIENT); where the system does, its own goes over this one.
void DrawClassicFrame(HWND window, HDC dc, RECT rect) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  const UINT dpi = WindowDpi(window);
  FillRect(dc, &rect, GetSysColorBrush(COLOR_3DFACE));
  if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_DLGFRAME | WS_THICKFRAME))) {
    DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
    InflateRect(&rect, -MetricForDpi(SM_CXDLGFRAME, dpi), -MetricForDpi(SM_CYDLGFRAME, dpi));
  } else if (style & WS_BORDER) {
    FrameRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&rect, -1, -1);
  }
  if ((style & WS_CAPTION) == WS_CAPTION) {
    RECT caption = rect;
    caption.bottom = caption.top + MetricForDpi(SM_CYCAPTION, dpi) - 1;
    BOOL gradient = FALSE;
    SystemParametersInfoW(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
    const bool active = GetActiveWindow() == window;
    DrawCaption(window, dc, &caption, (active ? DC_ACTIVE : 0) | (gradient ? DC_GRADIENT : 0));
    RECT close{caption.right - MetricForDpi(SM_CXSIZE, dpi), caption.top + 2, caption.right - 2,
               caption.bottom - 2};
    if (style & WS_SYSMENU) DrawFrameControl(dc, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    // The title in the caption font of the window's scale; DrawCaption's is the
    // system scale's.
    NONCLIENTMETRICSW metrics{};
    if (NonClientMetricsForDpi(metrics, dpi)) {
      const Font font(CreateFontIndirectW(&metrics.lfCaptionFont));
      const int length = GetWindowTextLengthW(window);
      std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
      title.resize(static_cast<std::size_t>(GetWindowTextW(window, title.data(), length + 1)));
      const SelectedObject selected(dc, font.get());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
      RECT text{caption.left + 2, caption.top, (style & WS_SYSMENU) ? close.left : caption.right,
                caption.bottom};
      DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    rect.top = caption.bottom + 1;
  }
  if (exStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (exStyle & WS_EX_STATICEDGE) DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
}

// Draws window and, over it, its controls from the bottom of their order up, with the
// window's top-left corner at `at` in dc. Each part (the frame, the client area) is
// drawn at the top-left corner of scratch, at least as large, and copied to its place:
// Wine's controls clip their painting from the DC's origin, wherever its mapping puts it.
void DrawWithControls(HWND window, HDC dc, HDC scratch, POINT at) {
  RECT frame{};
  RECT client{};
  if (!GetWindowRect(window, &frame) || !GetClientRect(window, &client)) return;
  POINT clientAt{0, 0};
  ClientToScreen(window, &clientAt);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const auto wParam = reinterpret_cast<WPARAM>(scratch);

  if (width != client.right || height != client.bottom) {
    const int saved = SaveDC(scratch);
    DrawClassicFrame(window, scratch, {0, 0, width, height});
    SendMessageW(window, WM_PRINT, wParam, PRF_NONCLIENT);
    RestoreDC(scratch, saved);
    BitBlt(dc, at.x, at.y, width, height, scratch, 0, 0, SRCCOPY);
  }
  const int saved = SaveDC(scratch);
  SendMessageW(window, WM_ERASEBKGND, wParam, 0);
  SendMessageW(window, WM_PRINTCLIENT, wParam, PRF_CLIENT | PRF_ERASEBKGND);
  RestoreDC(scratch, saved);
  BitBlt(dc, at.x + clientAt.x - frame.left, at.y + clientAt.y - frame.top, client.right,
         client.bottom, scratch, 0, 0, SRCCOPY);

  const HWND top = GetWindow(window, GW_CHILD);
  for (HWND child = top ? GetWindow(top, GW_HWNDLAST) : nullptr; child != nullptr;
       child = GetWindow(child, GW_HWNDPREV)) {
    // Its own style, not IsWindowVisible: a hidden window's controls are drawn too.
    if (!(GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT place{};
    GetWindowRect(child, &place);
    DrawWithControls(child, dc, scratch,
                     {at.x + place.left - frame.left, at.y + place.top - frame.top});
  }
}

}  // namespace

WindowPicture::WindowPicture(int width, int height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = Bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || bits == nullptr) {
    bitmap_.Reset();
    return;
  }
  width_ = width;
  height_ = height;
  pixels_ = static_cast<std::uint32_t*>(bits);
  std::fill_n(pixels_, Index(0, height, width), kOpaque);
}

WindowPicture DrawWindow(HWND window) {
  RECT frame{};
  if (!GetWindowRect(window, &frame)) return {};
  WindowPicture picture(frame.right - frame.left, frame.bottom - frame.top);
  const WindowPicture scratch(picture.width(), picture.height());
  MemoryDc dc(nullptr);
  MemoryDc scratchDc(nullptr);
  if (!picture || !scratch || dc.get() == nullptr || scratchDc.get() == nullptr) return {};
  {
    const SelectedObject selected(dc.get(), picture.get());
    const SelectedObject selectedScratch(scratchDc.get(), scratch.get());
    DrawWithControls(window, dc.get(), scratchDc.get(), {0, 0});
  }
  GdiFlush();
  // GDI leaves the fourth byte as it finds it; the window manager reads it as alpha.
  const std::size_t count = Index(0, picture.height(), picture.width());
  for (std::size_t i = 0; i < count; ++i) picture.pixels()[i] |= kOpaque;
  return picture;
}

WindowPicture Shrunk(const WindowPicture& picture, SIZE most) {
  if (!picture) return {};
  const int fromWidth = picture.width();
  const int fromHeight = picture.height();
  const SIZE size = FitWithin({fromWidth, fromHeight}, most);
  WindowPicture shrunk(size.cx, size.cy);
  if (!shrunk) return {};
  const int width = shrunk.width();
  const int height = shrunk.height();
  std::uint32_t* to = shrunk.pixels();
  for (int y = 0; y < height; ++y) {
    const int top = y * fromHeight / height;
    const int bottom = std::max(top + 1, (y + 1) * fromHeight / height);
    for (int x = 0; x < width; ++x) {
      const int left = x * fromWidth / width;
      const int right = std::max(left + 1, (x + 1) * fromWidth / width);
      std::uint32_t sum[3] = {0, 0, 0};
      for (int v = top; v < bottom; ++v) {
        for (int u = left; u < right; ++u) {
          const std::uint32_t pixel = picture.pixels()[Index(u, v, fromWidth)];
          for (int channel = 0; channel < 3; ++channel)
            sum[channel] += (pixel >> (8 * channel)) & 0xFF;
        }
      }
      const auto count = static_cast<std::uint32_t>((right - left) * (bottom - top));
      std::uint32_t average = kOpaque;
      for (int channel = 0; channel < 3; ++channel) {
        average |= ((sum[channel] + count / 2) / count) << (8 * channel);
      }
      *to++ = average;
    }
  }
  return shrunk;
}

}  // namespace nenga
