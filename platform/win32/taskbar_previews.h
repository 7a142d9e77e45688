// The pictures that the taskbar's thumbnail, Alt+Tab, Task View and Peek show of the
// program. They show the window that carries the taskbar button, the application
// window, which has no size; so it asks the desktop window manager to take its
// pictures from the program instead ("iconic" pictures), and hands over pictures of the
// window the user works in.
#pragma once

#include <windows.h>

#include "toolkit/window_picture.h"

namespace nenga {

class TaskbarPreviews {
 public:
  // Asks the window manager for iconic pictures of window (the application window). It
  // loads dwmapi, so it waits until the program's windows are up. Where the desktop has
  // no composition, or the calls fail, the window manager keeps its own pictures.
  void Offer(HWND window);
  // WM_DWMCOMPOSITIONCHANGED: asks again, or stops where composition went off.
  void CompositionChanged();

  // Each hands over a picture of shown, the window in use, or of the last one seen
  // when it is nullptr (nothing of the program is on the screen).
  // WM_DWMSENDICONICTHUMBNAIL: fitted into most, its aspect kept.
  void SendThumbnail(HWND shown, SIZE most);
  // WM_DWMSENDICONICLIVEPREVIEWBITMAP: at full size, where shown stands on the screen.
  void SendLivePreview(HWND shown);
  // Keeps a picture of shown for while nothing shows: call it before minimising.
  void Remember(HWND shown);

  // What the windows show may have changed: the window manager is told to drop the
  // pictures handed over (and asks again when it needs them). Cheap when none was.
  void PicturesChanged();
  // The windows were laid out at another scale: every picture is taken anew, the one
  // kept for while nothing shows of shown.
  void ScaleChanged(HWND shown);

 private:
  bool Take(HWND shown);

  HWND window_ = nullptr;
  bool offered_ = false;
  bool handedOver_ = false;
  WindowPicture last_;  // the window last in use, frame and all
  POINT lastAt_{};      // its top-left corner on the screen
};

}  // namespace nenga
