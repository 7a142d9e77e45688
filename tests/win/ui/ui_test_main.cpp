// Test entry: common controls on, the screen scale taken as the program takes it, and a
// watchdog that ends a run that hangs.
#include <windows.h>
// commctrl.h needs windows.h first
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

#include "ui_fixture.h"

namespace nenga::test {
namespace {
int expectedScreenDpi = 0;
std::wstring expectedFace;
}  // namespace

int ExpectedScreenDpi() { return expectedScreenDpi; }
const std::wstring& ExpectedFace() { return expectedFace; }

}  // namespace nenga::test

int main(int argc, char** argv) {
  // As nenga.exe's manifest asks: the windows see their monitor's real scale, not 96
  // dots per inch stretched by the system (per-monitor where the system has it).
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  const auto setContext = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  const auto perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
  if (setContext == nullptr || !setContext(perMonitorV2)) SetProcessDPIAware();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg(argv[i]);
    if (arg.starts_with("--dpi=")) {
      nenga::test::expectedScreenDpi = std::atoi(argv[i] + 6);
    } else if (arg.starts_with("--face=")) {
      const std::string face(arg.substr(7));
      nenga::test::expectedFace.assign(face.begin(), face.end());  // a face name in ASCII
    } else {
      std::fprintf(stderr, "unknown argument: %s\n", argv[i]);
      return 2;
    }
  }
  std::thread([] {
    Sleep(90 * 1000);  // the watchdog's own wait, not a wait for state
    std::fputs("ui_window_test: watchdog expired, a test hangs\n", stderr);
    std::fflush(stderr);
    std::_Exit(3);
  }).detach();
  const int status = RUN_ALL_TESTS();
  // A run at a set scale or face that ran nothing checked nothing.
  if ((nenga::test::ExpectedScreenDpi() != 0 || !nenga::test::ExpectedFace().empty()) &&
      ::testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
    std::fputs("ui_window_test: no test ran at the set screen scale\n", stderr);
    return 1;
  }
  return status;
}
