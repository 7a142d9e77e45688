// Test entry: common controls on, and a watchdog that ends a run that hangs.
#include <windows.h>
// commctrl.h needs windows.h first
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  ::testing::InitGoogleTest(&argc, argv);
  std::thread([] {
    Sleep(90 * 1000);  // the watchdog's own wait, not a wait for state
    std::fputs("ui_window_test: watchdog expired, a test hangs\n", stderr);
    std::fflush(stderr);
    std::_Exit(3);
  }).detach();
  return RUN_ALL_TESTS();
}
