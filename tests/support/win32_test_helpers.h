// What the Windows-side and end-to-end tests read of a window (its text, its class,
// where it sits in its parent) and how they let their own windows run. Windows only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
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

// Makes window the active and foreground window and pumps until it has stayed so for a
// moment; returns whether it did. Under Wine without a window manager, the display's
// notice that a window of the process lost the X input focus, handled late (on a busy
// machine, after the activation has moved on), makes the desktop the foreground window
// whenever the X focus is on none of the process's windows just then.
inline bool HoldActive(HWND window) {
  ULONGLONG since = 0;
  return PumpUntil(
      [&] {
        if (::GetActiveWindow() != window || ::GetForegroundWindow() != window) {
          since = 0;
          ::SetForegroundWindow(window);
          return false;
        }
        if (since == 0) since = ::GetTickCount64();
        return ::GetTickCount64() - since >= 300;
      },
      15000);
}

// Answers shcore's GetDpiForMonitor with a scale of the test's while it lives, where Wine
// answers the system's for every monitor: the function's first bytes jump to the answer,
// however early the program looked the function up.
class MonitorDpiAnswer {
 public:
  explicit MonitorDpiAnswer(UINT dpi) {
    dpi_ = dpi;
    code_ = reinterpret_cast<unsigned char*>(reinterpret_cast<void*>(
        ::GetProcAddress(::LoadLibraryW(L"shcore.dll"), "GetDpiForMonitor")));
    unsigned char jump[sizeof(saved_)] = {0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xE0};
    const auto answer = reinterpret_cast<std::uintptr_t>(&Answer);  // mov rax, answer; jmp rax
    std::memcpy(jump + 2, &answer, sizeof(answer));
    std::memcpy(saved_, code_, sizeof(saved_));
    Write(jump);
  }
  ~MonitorDpiAnswer() { Write(saved_); }
  MonitorDpiAnswer(const MonitorDpiAnswer&) = delete;
  MonitorDpiAnswer& operator=(const MonitorDpiAnswer&) = delete;

 private:
  static HRESULT WINAPI Answer(HMONITOR, int, UINT* x, UINT* y) {
    *x = *y = dpi_;
    return S_OK;
  }
  void Write(const unsigned char* bytes) {
    DWORD was = 0;
    ::VirtualProtect(code_, sizeof(saved_), PAGE_EXECUTE_READWRITE, &was);
    std::memcpy(code_, bytes, sizeof(saved_));
    ::VirtualProtect(code_, sizeof(saved_), was, &was);
    ::FlushInstructionCache(::GetCurrentProcess(), code_, sizeof(saved_));
  }

  static inline UINT dpi_ = 0;
  unsigned char* code_ = nullptr;
  unsigned char saved_[12] = {};
};

}  // namespace nenga::test
