// Keeps the program's windows from taking input while a modal box of the platform is up.
#pragma once

#include <windows.h>

#include <vector>

namespace nenga {

// Disables every visible, enabled top-level window of the calling thread while it
// lives; afterwards enables them again and gives the activation back to the window
// that had it. The boxes are owned by the hidden application window, so the system
// disables only that owner: the other windows are this guard's business.
class ModalGuard {
 public:
  ModalGuard();
  ~ModalGuard();
  ModalGuard(const ModalGuard&) = delete;
  ModalGuard& operator=(const ModalGuard&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self);

  HWND active_;
  std::vector<HWND> disabled_;
};

}  // namespace nenga
