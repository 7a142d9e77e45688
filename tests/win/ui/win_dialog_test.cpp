// The win dialog shown modally: what closes it, what does not, and where it shows.
#include "ui_fixture.h"

namespace nenga::test {
namespace {

void PostKey(HWND target, WPARAM key) {
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

TEST_F(Windows, WinDialogClosesByOkEnterSpaceAndCloseButtonButNotEscape) {
  ShowMain();
  atari_.SetAnnouncement("123456 は1等です。");
  const struct {
    const char* how;
    ModalScript::Step close;
  } ways[] = {
      {"OK clicked", [](HWND d) { PostMessageW(GetDlgItem(d, ids::kCmdOK), BM_CLICK, 0, 0); }},
      {"Enter", [](HWND d) { PostKey(GetDlgItem(d, ids::kCmdOK), VK_RETURN); }},
      {"Space", [](HWND d) { PostKey(GetDlgItem(d, ids::kCmdOK), VK_SPACE); }},
      {"close button", [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    bool focusOnOk = false;
    bool stillShownAfterEscape = false;
    ModalScript script(atari_, {
                                   [&](HWND d) {
                                     focusOnOk = GetFocus() == GetDlgItem(d, ids::kCmdOK);
                                     PostKey(GetDlgItem(d, ids::kCmdOK), VK_ESCAPE);
                                   },
                                   [&](HWND d) {
                                     stillShownAfterEscape = IsWindowVisible(d) != FALSE;
                                     way.close(d);
                                   },
                               });
    atari_.ShowModal();
    EXPECT_TRUE(focusOnOk);
    EXPECT_TRUE(stillShownAfterEscape);
    EXPECT_EQ(script.StepsRun(), 2u);
    EXPECT_FALSE(script.ForcedClose());
    EXPECT_FALSE(IsWindowVisible(atari_.hwnd()));
    EXPECT_TRUE(IsWindow(atari_.hwnd()));  // hidden, kept for the next win
    EXPECT_TRUE(IsWindowEnabled(main_.hwnd()));
  }
  EXPECT_TRUE(platform_.events.empty());
}

TEST_F(Windows, WinDialogCentresOnceThenStaysWhereItWasMoved) {
  ShowMain();
  RECT first{};
  ModalScript firstShow(atari_, {[&](HWND d) {
                          GetWindowRect(d, &first);
                          SetWindowPos(d, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                          PostMessageW(d, WM_CLOSE, 0, 0);
                        }});
  atari_.ShowModal();
  const int width = first.right - first.left;
  const int height = first.bottom - first.top;
  EXPECT_EQ(first.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(first.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);

  RECT second{};
  ModalScript secondShow(atari_, {[&](HWND d) {
                           GetWindowRect(d, &second);
                           PostMessageW(d, WM_CLOSE, 0, 0);
                         }});
  atari_.ShowModal();
  EXPECT_EQ(second.left, 10);
  EXPECT_EQ(second.top, 20);
}

// Under Wine the owner of a hiding window takes the activation once it is enabled, and a
// program can always take the activation back: so here this fails only when the dialog
// hides while the main window is still disabled and nothing hands the activation back.
// The activation lost to another program in other ways, as on Windows, cannot show here.
TEST_F(Windows, WinDialogGivesTheActivationBack) {
  ASSERT_NO_FATAL_FAILURE(ShowMain());
  ModalScript script(atari_, {[&](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }});
  atari_.ShowModal();
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == main_.hwnd(); }));
}

TEST_F(Windows, QuitRequestEndsTheModalShowingAndReachesTheMainLoop) {
  ShowMain();
  ModalScript script(atari_, {[](HWND) { PostQuitMessage(0); }});
  atari_.ShowModal();
  EXPECT_FALSE(IsWindowVisible(atari_.hwnd()));
  MSG msg{};
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace nenga::test
