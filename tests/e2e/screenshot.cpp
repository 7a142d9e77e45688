// Window pictures for the test artefacts: what the screen shows of a window, read
// back through the screen DC, so the frame and every child control are in it.
#include <cstdint>
#include <fstream>
#include <memory>
#include <type_traits>
#include <vector>

#include "tests/e2e/driver.h"

namespace nenga::e2e {
namespace {

// GDI handles, each given back once when its owner goes.
template <auto Free>
struct Freer {
  template <typename Handle>
  void operator()(Handle handle) const {
    Free(handle);
  }
};
void ReleaseScreenDc(HDC dc) { ReleaseDC(nullptr, dc); }
void DeleteBitmap(HBITMAP bitmap) { DeleteObject(bitmap); }
using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, Freer<ReleaseScreenDc>>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, Freer<DeleteDC>>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, Freer<DeleteBitmap>>;

// Rows of 24-bit pixels, bottom-up, each padded to four bytes: the BMP layout.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

BITMAPINFOHEADER HeaderFor(int width, int height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  return header;
}

std::size_t RowBytes(int width) {
  return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

bool CaptureWindow(HWND window, Capture& capture) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return false;
  capture.width = rect.right - rect.left;
  capture.height = rect.bottom - rect.top;
  if (capture.width <= 0 || capture.height <= 0) return false;

  ScreenDc screen(GetDC(nullptr));
  MemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader = HeaderFor(capture.width, capture.height);
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (screen.get() == nullptr || memory.get() == nullptr || bitmap.get() == nullptr) return false;
  HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  const BOOL copied = BitBlt(memory.get(), 0, 0, capture.width, capture.height, screen.get(),
                             rect.left, rect.top, SRCCOPY);
  SelectObject(memory.get(), old);
  if (!copied) return false;
  GdiFlush();
  const auto* begin = static_cast<const std::uint8_t*>(bits);
  capture.pixels.assign(begin,
                        begin + RowBytes(capture.width) * static_cast<std::size_t>(capture.height));
  return true;
}

template <typename T>
void WriteRaw(std::ofstream& out, const T& value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof(value));
}

bool WriteBmp(const Capture& capture, const std::filesystem::path& file) {
  const BITMAPINFOHEADER header = HeaderFor(capture.width, capture.height);
  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  fileHeader.bfSize = static_cast<DWORD>(fileHeader.bfOffBits + capture.pixels.size());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  WriteRaw(out, fileHeader);
  WriteRaw(out, header);
  out.write(reinterpret_cast<const char*>(capture.pixels.data()),
            static_cast<std::streamsize>(capture.pixels.size()));
  return static_cast<bool>(out);
}

// Two captures in a row that agree, so that a half-painted window is not taken.
bool CaptureSteadily(HWND window, DWORD settleMs, Capture& last) {
  Capture now;
  return WaitUntil(
      [&] {
        if (!CaptureWindow(window, now)) return false;
        const bool same =
            now.width == last.width && now.height == last.height && now.pixels == last.pixels;
        std::swap(last, now);
        return same;
      },
      settleMs);
}

}  // namespace

bool SaveWindowImage(HWND window, const std::filesystem::path& bmpFile, DWORD settleMs) {
  Capture capture;
  return CaptureSteadily(window, settleMs, capture) && WriteBmp(capture, bmpFile);
}

std::optional<Pixels> SteadyPixels(HWND window, DWORD settleMs) {
  Capture capture;
  if (!CaptureSteadily(window, settleMs, capture)) return std::nullopt;
  Pixels pixels{capture.width, capture.height, {}};
  pixels.rgb.reserve(static_cast<std::size_t>(capture.width) *
                     static_cast<std::size_t>(capture.height));
  for (int y = capture.height - 1; y >= 0; --y) {
    const std::uint8_t* row =
        capture.pixels.data() + RowBytes(capture.width) * static_cast<std::size_t>(y);
    for (int x = 0; x < capture.width; ++x, row += 3) {
      pixels.rgb.push_back(static_cast<std::uint32_t>(row[0] | (row[1] << 8) | (row[2] << 16)));
    }
  }
  return pixels;
}

}  // namespace nenga::e2e
