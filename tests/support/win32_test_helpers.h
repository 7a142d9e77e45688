// What the Windows-side and end-to-end tests read of a window (its text, its class,
// where it sits in its parent) and how they let their own windows run. Windows only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

namespace nenga::test {

// The window's text as the window holds it (UTF-16). For a window of another process
// only its caption: read a control's text there with WM_GETTEXT.
inline std::wstring TextOf(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

// The name of the window's class; a class name has at most 256 characters.
inline std::wstring ClassOf(HWND window) {
  wchar_t name[257] = {};
  const int got = ::GetClassNameW(window, name, 257);
  return std::wstring(name, static_cast<std::size_t>(got > 0 ? got : 0));
}

// The rectangle of a child window in its parent's client coordinates.
inline RECT RectInParent(HWND child) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Dispatches what is waiting in the thread's queue.
inline void Pump() {
  MSG msg{};
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Pumps messages until done() holds or the time is up; returns done().
inline bool PumpUntil(const std::function<bool()>& done, ULONGLONG limitMs = 3000) {
  const ULONGLONG end = ::GetTickCount64() + limitMs;
  while (!done()) {
    if (::GetTickCount64() > end) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump();
  }
  return true;
}

}  // namespace nenga::test
