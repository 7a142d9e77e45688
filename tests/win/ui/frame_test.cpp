// The application frame: the application window on the taskbar, how the main window
// ends the program, and the windows' lifetimes.
#include "platform/win32/win32_platform.h"
#include "ui_fixture.h"

namespace nenga::test {
namespace {

// This test program carries the icon "MAINICON", like the program.
TEST(ApplicationWindow, CarriesTitleAndIconAndOwnsTheMainWindow) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  Win32Platform platform(instance, L"Tool");
  const HWND app = platform.AppWindow();
  wchar_t title[16] = {};
  GetWindowTextW(app, title, 16);
  EXPECT_STREQ(title, L"Tool");
  // The taskbar and the task switcher take the class's icons.
  EXPECT_NE(GetClassLongPtrW(app, GCLP_HICON), 0);
  EXPECT_NE(GetClassLongPtrW(app, GCLP_HICONSM), 0);

  AtariDialog atari(platform);
  MainWindow main(platform, atari);
  ASSERT_TRUE(main.Create(instance, kDesignFontHeight, app));
  ASSERT_TRUE(atari.Create(instance, main.hwnd(), kDesignFontHeight));
  EXPECT_EQ(GetWindow(main.hwnd(), GW_OWNER), app);
  EXPECT_FALSE(GetWindowLongPtrW(main.hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(SendMessageW(main.hwnd(), WM_GETICON, ICON_SMALL2, 0), 0);  // none in the caption
  EXPECT_FALSE(IsWindowVisible(app));

  platform.ShowInTaskbar();
  main.Show(SW_SHOWNORMAL);
  ASSERT_TRUE(HoldActive(main.hwnd()));
  EXPECT_TRUE(IsWindowVisible(app));
  RECT frame{};
  GetWindowRect(app, &frame);
  EXPECT_TRUE(IsRectEmpty(&frame)) << "the application window shows";

  // Picked on the taskbar, it hands the activation on to the main window, whose focus
  // is where it was.
  SetFocus(main.Control(ids::kCmdOpen));
  SetActiveWindow(app);
  ASSERT_EQ(GetActiveWindow(), app);
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == main.hwnd(); }));
  EXPECT_EQ(GetFocus(), main.Control(ids::kCmdOpen));
}

bool QuitPosted() {
  MSG msg{};
  return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

// Closing asks the event loop to end; the window stays until the program, after help
// was told to close for it, destroys the windows.
TEST_F(Windows, ClosingTheMainWindowEndsTheLoopBeforeTheWindowGoes) {
  ShowMain();
  QuitPosted();
  SendMessageW(main_.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(main_.hwnd()));
  EXPECT_TRUE(QuitPosted());
}

TEST(WindowLifetime, WindowsGoWithTheirObjectsAndEndNothing) {
  testing::FakePlatform platform;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  HWND mainWindow = nullptr;
  HWND dialog = nullptr;
  {
    AtariDialog atari(platform);
    MainWindow main(platform, atari);
    ASSERT_TRUE(main.Create(instance, kDesignFontHeight));
    ASSERT_TRUE(atari.Create(instance, main.hwnd(), kDesignFontHeight));
    mainWindow = main.hwnd();
    dialog = atari.hwnd();
  }
  EXPECT_FALSE(IsWindow(mainWindow));
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(QuitPosted());
  EXPECT_TRUE(platform.events.empty());  // no failure was reported on the way
}

}  // namespace
}  // namespace nenga::test
