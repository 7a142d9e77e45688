#include "toolkit/modal_guard.h"

namespace nenga {

ModalGuard::ModalGuard() : active_(::GetActiveWindow()) {
  ::EnumThreadWindows(::GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
  for (HWND window : disabled_) ::EnableWindow(window, FALSE);
}

ModalGuard::~ModalGuard() {
  for (HWND window : disabled_) {
    if (::IsWindow(window)) ::EnableWindow(window, TRUE);
  }
  // Foreground, not just active: when the box goes the system activates its hidden
  // owner, and under Wine the window system's focus would otherwise stay with it.
  if (active_ && ::IsWindow(active_)) ::SetForegroundWindow(active_);
}

BOOL CALLBACK ModalGuard::Collect(HWND window, LPARAM self) {
  if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
    try {
      reinterpret_cast<ModalGuard*>(self)->disabled_.push_back(window);
    } catch (...) {
      return FALSE;  // out of memory: leave the rest enabled rather than throw through
    }
  }
  return TRUE;
}

}  // namespace nenga
