#include "platform/win32/taskbar_previews.h"

// After windows.h (from the header), which it relies on.
#include <dwmapi.h>

#include <utility>

namespace nenga {
namespace {

// Where window stands when it is not minimised, on the screen: the place a live
// preview of it is drawn against.
POINT RestoredOrigin(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(window, &placement)) return {};
  // The placement is in workspace coordinates, which start at the primary monitor's
  // work area.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return {placement.rcNormalPosition.left + monitor.rcWork.left - monitor.rcMonitor.left,
          placement.rcNormalPosition.top + monitor.rcWork.top - monitor.rcMonitor.top};
}

}  // namespace

void TaskbarPreviews::Offer(HWND window) {
  window_ = window;
  offered_ = false;
  handedOver_ = false;
  BOOL composed = FALSE;
  if (FAILED(DwmIsCompositionEnabled(&composed)) || !composed) return;
  const BOOL on = TRUE;
  offered_ = SUCCEEDED(DwmSetWindowAttribute(window_, DWMWA_FORCE_ICONIC_REPRESENTATION, &on,
                                             sizeof(on))) &&
             SUCCEEDED(DwmSetWindowAttribute(window_, DWMWA_HAS_ICONIC_BITMAP, &on, sizeof(on)));
}

void TaskbarPreviews::CompositionChanged() {
  if (window_ != nullptr) Offer(window_);
}

bool TaskbarPreviews::Take(HWND shown) {
  RECT frame{};
  if (shown != nullptr && GetWindowRect(shown, &frame)) {
    if (WindowPicture picture = DrawWindow(shown)) {
      last_ = std::move(picture);
      lastAt_ = {frame.left, frame.top};
    }
  }
  return static_cast<bool>(last_);
}

void TaskbarPreviews::SendThumbnail(HWND shown, SIZE most) {
  if (!offered_ || !Take(shown)) return;
  const WindowPicture thumbnail = Shrunk(last_, most);
  if (thumbnail && SUCCEEDED(DwmSetIconicThumbnail(window_, thumbnail.get(), 0))) {
    handedOver_ = true;
  }
}

void TaskbarPreviews::SendLivePreview(HWND shown) {
  if (!offered_ || !Take(shown)) return;
  const POINT origin = RestoredOrigin(window_);
  POINT offset{lastAt_.x - origin.x, lastAt_.y - origin.y};
  DwmSetIconicLivePreviewBitmap(window_, last_.get(), &offset, 0);
}

void TaskbarPreviews::Remember(HWND shown) {
  if (offered_) Take(shown);
}

void TaskbarPreviews::ScaleChanged(HWND shown) {
  if (!offered_) return;
  if (last_) Take(shown);
  handedOver_ = false;
  DwmInvalidateIconicBitmaps(window_);
}

void TaskbarPreviews::PicturesChanged() {
  if (!handedOver_) return;
  handedOver_ = false;
  DwmInvalidateIconicBitmaps(window_);
}

}  // namespace nenga
