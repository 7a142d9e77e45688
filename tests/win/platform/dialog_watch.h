// Test helpers for modal UI: act on the dialog a modal call shows, from inside that
// call's own message loop, and fail a test that hangs anyway.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <string>

#include "tests/support/win32_test_helpers.h"

namespace nenga::test {

inline void Click(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// A key as the keyboard would deliver it to the focused control, so that the dialog
// manager of the modal loop sees it.
inline void PressKey(HWND dialog, WPARAM key) {
  HWND target = ::GetFocus();
  if (!target || (target != dialog && !::IsChild(dialog, target))) target = dialog;
  ::PostMessageW(target, WM_KEYDOWN, key, 1);
  ::PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

// Calls action once, from a timer inside the running modal loop, with the first
// visible dialog (class "#32770") of this thread. The action must close it. If the
// dialog is still there some seconds later, the watch closes it and records that.
class DialogWatch {
 public:
  using Action = std::function<void(HWND dialog)>;

  explicit DialogWatch(Action action) : action_(std::move(action)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NengaTestDialogWatch";
    ::RegisterClassW(&wc);
    window_ = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, this);
    ::SetTimer(window_, 1, 20, nullptr);
  }
  ~DialogWatch() { ::DestroyWindow(window_); }
  DialogWatch(const DialogWatch&) = delete;
  DialogWatch& operator=(const DialogWatch&) = delete;

  HWND Dialog() const { return dialog_; }  // nullptr when no dialog was seen
  bool ClosedByWatch() const { return closedByWatch_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_TIMER) {
      auto* self = reinterpret_cast<DialogWatch*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
      if (self) self->OnTimer();
      return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  void OnTimer() {
    if (!dialog_) {
      ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(this));
      if (!dialog_) return;
      actedAt_ = ::GetTickCount();
      action_(dialog_);
    } else if (::IsWindow(dialog_) && ::GetTickCount() - actedAt_ > 3000 && !closedByWatch_) {
      closedByWatch_ = true;
      ::PostMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
      ::PostMessageW(dialog_, WM_CLOSE, 0, 0);
    }
  }

  static BOOL CALLBACK FindDialog(HWND window, LPARAM self) {
    if (::IsWindowVisible(window) && ClassOf(window) == L"#32770") {
      reinterpret_cast<DialogWatch*>(self)->dialog_ = window;
      return FALSE;
    }
    return TRUE;
  }

  Action action_;
  HWND window_ = nullptr;
  HWND dialog_ = nullptr;
  DWORD actedAt_ = 0;
  bool closedByWatch_ = false;
};

// Fails a test that runs longer than its limit, so that a modal box nobody closes cannot
// hang the run: a quit message to the test's thread ends the modal loop it waits in (a
// box's loop ends on one), the test goes on from there and fails, and the next test runs.
// A test still running some seconds later ends the process. (Win32 threads: <thread>
// brings in <chrono>, which does not compile with the program's execution character set.)
class Watchdog {
 public:
  explicit Watchdog(DWORD limitMs) : limitMs_(limitMs), testThread_(::GetCurrentThreadId()) {
    done_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = ::CreateThread(nullptr, 0, Watch, this, 0, nullptr);
  }
  ~Watchdog() {
    ::SetEvent(done_);
    ::WaitForSingleObject(thread_, INFINITE);
    ::CloseHandle(thread_);
    ::CloseHandle(done_);
    if (expired_) {
      ADD_FAILURE() << "the test hung past " << limitMs_ << " ms; the watchdog ended its box";
      // A box's loop may post the quit message again as it ends; the next box must not
      // end on it.
      MSG quit{};
      while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
      }
    }
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  static DWORD WINAPI Watch(void* self) {
    auto* dog = static_cast<Watchdog*>(self);
    if (::WaitForSingleObject(dog->done_, dog->limitMs_) != WAIT_TIMEOUT) return 0;
    dog->expired_ = true;
    std::fputs("watchdog: the test hung, ending its modal loop\n", stderr);
    std::fflush(stderr);
    ::PostThreadMessageW(dog->testThread_, WM_QUIT, 3, 0);
    if (::WaitForSingleObject(dog->done_, 15000) == WAIT_TIMEOUT) {
      std::fputs("watchdog: the test still hangs, ending the process\n", stderr);
      std::fflush(stderr);
      ::ExitProcess(3);
    }
    return 0;
  }

  DWORD limitMs_;
  DWORD testThread_;
  HANDLE done_ = nullptr;
  HANDLE thread_ = nullptr;
  std::atomic<bool> expired_{false};
};

// A visible top-level window standing for the program's main window.
class TestWindow {
 public:
  TestWindow() {
    window_ = ::CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                300, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  }
  ~TestWindow() { ::DestroyWindow(window_); }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

}  // namespace nenga::test
