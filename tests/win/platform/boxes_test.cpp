// The information, warning and error boxes, shown for real and read back.
#include <gtest/gtest.h>
#include <windows.h>
// objbase.h needs windows.h first
#include <objbase.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/info_box.h"
#include "platform/win32/win32_platform.h"
#include "tests/win/platform/dialog_watch.h"
#include "toolkit/dpi.h"

namespace nenga {
namespace {

using test::ClassOf;
using test::DialogWatch;
using test::MonitorDpiAnswer;
using test::RectInParent;
using test::TestWindow;
using test::TextOf;

// Generous: without a window manager, Wine may wait up to 2 s for each box to go, and a
// test shows up to ten. Short enough that a run with a hung test or two still ends
// within its time limit (tests/win/platform/CMakeLists.txt).
constexpr DWORD kLimitMs = 30000;

int Rounded(int numerator, int denominator) { return (numerator + denominator / 2) / denominator; }

// What the box should measure, from the system's message font, found independently.
struct Expected {
  int x = 0, y = 0, ok = 0, notepad = 0;
  SIZE text{};
  std::wstring face;
  LONG fontHeight = 0;
};

// The non-client metrics at a scale, asked of the system itself.
NONCLIENTMETRICSW MetricsAt(UINT dpi) {
  using ForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (forDpi != nullptr) {
    forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi);
  } else {
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  }
  return metrics;
}

Expected Measure(const std::wstring& text, UINT dpi = SystemDpi(), UINT prefix = 0) {
  const NONCLIENTMETRICSW metrics = MetricsAt(dpi);
  const HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);
  const HDC dc = ::GetDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, font);
  Expected e;
  SIZE size{};
  const std::wstring letters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  ::GetTextExtentPoint32W(dc, letters.c_str(), 52, &size);
  e.x = size.cx / 52;
  e.y = size.cy;
  ::GetTextExtentPoint32W(dc, L"OK", 2, &size);
  e.ok = size.cx;
  ::GetTextExtentPoint32W(dc, L"メモ帳で開く(O)", 9, &size);
  e.notepad = size.cx;
  RECT rect{0, 0, ::GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  ::DrawTextW(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | prefix);
  e.text = {rect.right, rect.bottom};
  e.face = metrics.lfMessageFont.lfFaceName;
  e.fontHeight = metrics.lfMessageFont.lfHeight;
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(font);
  return e;
}

std::vector<HWND> VisibleChildren(HWND dialog, const wchar_t* windowClass) {
  std::vector<HWND> found;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child) && ::lstrcmpiW(ClassOf(child).c_str(), windowClass) == 0) {
      found.push_back(child);
    }
  }
  return found;
}

bool HasIcon(HWND dialog) {
  for (HWND label : VisibleChildren(dialog, L"Static")) {
    if ((::GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        ::SendMessageW(label, STM_GETICON, 0, 0) != 0) {
      return true;
    }
  }
  return false;
}

class BoxesTest : public ::testing::Test {
 protected:
  BoxesTest() : platform_(::GetModuleHandleW(nullptr), L"Tool") {}

  // The box hands the activation back to the window active when it opened.
  void SetUp() override {
    ASSERT_TRUE(test::HoldActive(main_.get())) << "the stand-in main window never became active";
  }

  // The stand-in main window is disabled while the box is up, and enabled and the
  // foreground window again as the box returns, before any message is handled: a
  // posted message handing the activation on later leaves it in the background.
  void ExpectMainWindowBlocked() { EXPECT_FALSE(::IsWindowEnabled(main_.get())); }
  void ExpectMainWindowBack() {
    EXPECT_TRUE(::IsWindowEnabled(main_.get()));
    EXPECT_EQ(::GetForegroundWindow(), main_.get());
    EXPECT_EQ(::GetActiveWindow(), main_.get());
  }

  test::Watchdog watchdog_{kLimitMs};
  TestWindow main_;
  Win32Platform platform_;
};

// A file's warning has the warning icon of the scale's size left of the text, which is
// shown as it stands, and beside OK a push button, read out by its text.
void CheckInfoBox(HWND dialog, const std::wstring& text, UINT dpi = SystemDpi(),
                  InfoBoxKind kind = InfoBoxKind::kInformation) {
  const bool warning = kind == InfoBoxKind::kFileWarning;
  EXPECT_EQ(TextOf(dialog), L"Tool");
  const HWND label = ::GetDlgItem(dialog, kInfoTextId);
  const HWND button = ::GetDlgItem(dialog, IDOK);
  ASSERT_TRUE(label && button);
  EXPECT_EQ(TextOf(label), text);
  EXPECT_EQ(TextOf(button), L"OK");
  EXPECT_EQ(HasIcon(dialog), warning);
  EXPECT_EQ((::GetWindowLongW(label, GWL_STYLE) & SS_NOPREFIX) != 0, warning);
  const int icon = warning ? ::MulDiv(::GetSystemMetrics(SM_CXICON), static_cast<int>(dpi),
                                      static_cast<int>(SystemDpi()))
                           : 0;
  EXPECT_EQ(VisibleChildren(dialog, L"Button").size(), warning ? 2u : 1u);
  EXPECT_EQ(LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDOK);
  EXPECT_EQ(::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);

  LOGFONTW used{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)), sizeof(used),
               &used);
  const Expected e = Measure(text, dpi, warning ? DT_NOPREFIX : 0);
  EXPECT_EQ(std::wstring(used.lfFaceName), e.face);
  EXPECT_EQ(used.lfHeight, e.fontHeight);

  const int marginX = Rounded(8 * e.x, 4);
  const int marginY = Rounded(8 * e.y, 8);
  const int gap = Rounded(10 * e.y, 8);
  const int buttonWidth = std::max(Rounded(50 * e.x, 4), e.ok + 8);
  const int buttonHeight = Rounded(14 * e.y, 8);
  const int notepadWidth = std::max(Rounded(50 * e.x, 4), e.notepad + marginX);
  const int buttonGap = Rounded(4 * e.x, 4);
  const int row = buttonWidth + (warning ? buttonGap + notepadWidth : 0);
  const int textLeft = warning ? marginX + icon + marginX : marginX;
  const int clientWidth = std::max(textLeft + static_cast<int>(e.text.cx), marginX + row) + marginX;
  const int body = std::max(static_cast<int>(e.text.cy), icon);

  RECT client{};
  ::GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, clientWidth);
  EXPECT_EQ(client.bottom, marginY + body + gap + buttonHeight + marginY);
  if (warning) {
    const RECT picture = RectInParent(::GetDlgItem(dialog, kInfoIconId));
    EXPECT_EQ(picture.left, marginX);
    EXPECT_EQ(picture.top, marginY);
    EXPECT_EQ(picture.right - picture.left, icon);
  }

  const RECT at = RectInParent(label);
  EXPECT_EQ(at.left, textLeft);
  EXPECT_EQ(at.top, marginY);
  EXPECT_EQ(at.right - at.left, e.text.cx);
  EXPECT_EQ(at.bottom - at.top, e.text.cy);

  const RECT ok = RectInParent(button);
  EXPECT_EQ(ok.right - ok.left, buttonWidth);
  EXPECT_EQ(ok.bottom - ok.top, buttonHeight);
  EXPECT_EQ(ok.top, marginY + body + gap);
  EXPECT_EQ(ok.left, (clientWidth - row) / 2);
  if (warning) {
    const HWND notepad = ::GetDlgItem(dialog, kInfoNotepadId);
    EXPECT_EQ(TextOf(notepad), L"メモ帳で開く(&O)");
    // Tab goes round both buttons; it is not a second default; it has the text's font.
    EXPECT_EQ(::GetNextDlgTabItem(dialog, button, FALSE), notepad);
    EXPECT_EQ(::GetNextDlgTabItem(dialog, notepad, FALSE), button);
    EXPECT_EQ(::SendMessageW(notepad, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(::SendMessageW(notepad, WM_GETFONT, 0, 0), ::SendMessageW(label, WM_GETFONT, 0, 0));
    const RECT beside = RectInParent(notepad);
    EXPECT_EQ(
        std::tuple(beside.left, beside.top, beside.right, beside.bottom),
        std::tuple(ok.right + buttonGap, ok.top, ok.right + buttonGap + notepadWidth, ok.bottom));
  }

  RECT frame{};
  ::GetWindowRect(dialog, &frame);
  EXPECT_LE(std::abs(frame.left + frame.right - ::GetSystemMetrics(SM_CXSCREEN)), 1);
  EXPECT_LE(std::abs(frame.top + frame.bottom - ::GetSystemMetrics(SM_CYSCREEN)), 1);
}

TEST_F(BoxesTest, InfoBoxShowsTheTextLaidOutInTheMessageFont) {
  struct Case {
    const char* sjis;
    const wchar_t* wide;
    const wchar_t* file = nullptr;  // a file's warning about this file
  };
  const Case cases[] = {
      {"当たり番号は10件までです。", L"当たり番号は10件までです。"},
      {"一行目\r\n二行目\tタブ", L"一行目\r\n二行目\tタブ"},
      {"Save && Load &Help", L"Save && Load &Help"},
      {"OK", L"OK"},  // narrower than the button
      // The file's name first, and every "&" of the file shown.
      {"1 行目「&1」", L"年賀&.txt\r\n1 行目「&1」", L"C:\\はがき\\年賀&.txt"},
      {"x", L"a.txt\r\nx", L"a.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "text: " << testing::PrintToString(std::wstring(c.wide)));
    DialogWatch watch([&](HWND dialog) {
      CheckInfoBox(dialog, c.wide, SystemDpi(),
                   c.file ? InfoBoxKind::kFileWarning : InfoBoxKind::kInformation);
      ExpectMainWindowBlocked();
      EXPECT_EQ(::GetWindow(dialog, GW_OWNER), platform_.AppWindow());
      test::Click(dialog, IDOK);
    });
    if (c.file) {
      platform_.FileWarningBox(c.file, c.sjis);
    } else {
      platform_.InfoBox(c.sjis);
    }
    ASSERT_TRUE(watch.Dialog()) << "the box never showed";
    EXPECT_FALSE(watch.ClosedByWatch()) << "OK did not close the box";
    EXPECT_FALSE(::IsWindow(watch.Dialog()));
    ExpectMainWindowBack();
  }
}

// Shown on a monitor at another scale than the system's, the box takes that scale's
// message font and measures.
TEST_F(BoxesTest, InfoBoxTakesTheMessageFontOfItsMonitorsScale) {
  ASSERT_NE(::GetProcAddress(::LoadLibraryW(L"shcore.dll"), "GetDpiForMonitor"), nullptr);
  for (const InfoBoxKind kind : {InfoBoxKind::kInformation, InfoBoxKind::kFileWarning}) {
    const bool warning = kind == InfoBoxKind::kFileWarning;
    for (const UINT dpi : {120u, 144u}) {
      SCOPED_TRACE(testing::Message() << dpi << " dpi, kind " << static_cast<int>(kind));
      DialogWatch watch([&](HWND dialog) {
        CheckInfoBox(
            dialog,
            warning ? L"a.txt\r\n当たり番号は10件までです。" : L"当たり番号は10件までです。", dpi,
            kind);
        test::Click(dialog, IDOK);
      });
      const MonitorDpiAnswer monitorAt(dpi);
      if (warning) {
        platform_.FileWarningBox(L"a.txt", "当たり番号は10件までです。");
      } else {
        platform_.InfoBox("当たり番号は10件までです。");
      }
      ASSERT_TRUE(watch.Dialog()) << "the box never showed";
    }
  }
}

TEST_F(BoxesTest, InfoBoxWrapsLongTextAtHalfTheScreen) {
  std::string sjis;
  std::wstring wide;
  for (int i = 0; i < 40; ++i) {
    sjis += "word ";
    wide += L"word ";
  }
  DialogWatch watch([&](HWND dialog) {
    const RECT label = RectInParent(::GetDlgItem(dialog, kInfoTextId));
    EXPECT_EQ(label.right - label.left, Measure(wide).text.cx);     // its widest line in half
    EXPECT_GT(label.bottom - label.top, Measure(L"word").text.cy);  // more than one line
    test::Click(dialog, IDOK);
  });
  platform_.InfoBox(sjis);
  ASSERT_TRUE(watch.Dialog()) << "the box never showed";
}

TEST_F(BoxesTest, InfoBoxClosesWithEnterEscapeAndTheCloseBox) {
  const std::function<void(HWND)> closers[] = {
      [](HWND dialog) { test::PressKey(dialog, VK_RETURN); },
      [](HWND dialog) { test::PressKey(dialog, VK_ESCAPE); },
      [](HWND dialog) { ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
      [](HWND) { ::PostMessageW(::GetFocus(), WM_SYSCHAR, L'o', 1 << 29); },
  };
  int n = 0;
  for (const auto& close : closers) {
    SCOPED_TRACE(testing::Message() << "closer " << n);
    DialogWatch watch(close);
    // Every other one on a file's warning, which only Alt+O, its button's key, answers true.
    const bool notepad = n++ % 2 ? platform_.FileWarningBox(L"a.txt", "閉じる")
                                 : (platform_.InfoBox("閉じる"), false);
    ASSERT_TRUE(watch.Dialog()) << "the box never showed";
    EXPECT_FALSE(watch.ClosedByWatch()) << "the box ignored the key";
    EXPECT_EQ(notepad, n == 4);
    ExpectMainWindowBack();
  }
}

TEST_F(BoxesTest, InfoBoxIsANewWindowEachTime) {
  HWND first = nullptr;
  {
    DialogWatch watch([&](HWND dialog) { test::Click(dialog, IDOK); });
    platform_.InfoBox("1");
    first = watch.Dialog();
  }
  ASSERT_TRUE(first);
  EXPECT_FALSE(::IsWindow(first));  // destroyed, not hidden for the next time
}

// What a message box showed: its caption, text, owner, icon and buttons.
struct MessageBoxSeen {
  std::wstring caption, text;
  HWND owner = nullptr;
  bool icon = false;
  std::size_t buttons = 0;
  bool mainEnabled = true;
};

DialogWatch::Action ReadMessageBox(MessageBoxSeen& seen, HWND main) {
  return [&seen, main](HWND dialog) {
    seen.caption = TextOf(dialog);
    seen.text = TextOf(::GetDlgItem(dialog, 0xFFFF));
    seen.owner = ::GetWindow(dialog, GW_OWNER);
    seen.icon = HasIcon(dialog);
    seen.buttons = VisibleChildren(dialog, L"Button").size();
    seen.mainEnabled = ::IsWindowEnabled(main);
    test::Click(dialog, IDOK);
  };
}

TEST_F(BoxesTest, ErrorBoxAddsTheFullStopWhereDue) {
  struct Case {
    std::string message;
    std::wstring shown;
  };
  const Case cases[] = {
      {"abc", L"abc."},
      {"abc.", L"abc."},
      {"x)", L"x)"},
      {"ends in space ", L"ends in space "},
      {"item,", L"item,"},
      {"a-", L"a-"},
      {"ファイルが開けません。", L"ファイルが開けません。."},
      {"ファイル C:\\nenga\\2024.txt が見つかりません",
       L"ファイル C:\\nenga\\2024.txt が見つかりません."},
      {"", L""},
      // A NUL does not end the message: it shows as a replacement character.
      {std::string("'\0' は数値ではありません", 24), L"'\uFFFD' は数値ではありません."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "message: " << testing::PrintToString(c.shown));
    MessageBoxSeen seen;
    DialogWatch watch(ReadMessageBox(seen, main_.get()));
    platform_.ErrorBox(c.message);
    ASSERT_TRUE(watch.Dialog()) << "the box never showed";
    EXPECT_FALSE(watch.ClosedByWatch());
    EXPECT_EQ(seen.text, c.shown);
    EXPECT_EQ(seen.caption, L"Tool");
    EXPECT_EQ(seen.owner, platform_.AppWindow());
    EXPECT_TRUE(seen.icon);
    EXPECT_EQ(seen.buttons, 1u);
    EXPECT_FALSE(seen.mainEnabled);
    ExpectMainWindowBack();
  }
}

TEST_F(BoxesTest, WarningBoxShowsTextAndCaptionAsGiven) {
  MessageBoxSeen seen;
  DialogWatch watch(ReadMessageBox(seen, main_.get()));
  platform_.WarningBox("当たり番号が多すぎます & 終了します", "注意");
  ASSERT_TRUE(watch.Dialog()) << "the box never showed";
  EXPECT_FALSE(watch.ClosedByWatch());
  EXPECT_EQ(seen.text, L"当たり番号が多すぎます & 終了します");  // no full stop, "&" kept
  EXPECT_EQ(seen.caption, L"注意");
  EXPECT_EQ(seen.owner, platform_.AppWindow());
  EXPECT_FALSE(seen.icon);
  EXPECT_EQ(seen.buttons, 1u);
  EXPECT_FALSE(seen.mainEnabled);
  ExpectMainWindowBack();
}

// Help without a help file opens the page; a page that cannot be opened is named in
// the error box, with its folder as it is, whatever its characters.
TEST_F(BoxesTest, HelpPageThatCannotOpenIsNamedInTheErrorBox) {
  const std::wstring folder = L"C:\\no such folder \u5e74\u8cc0 \U0001F38D\\";
  MessageBoxSeen seen;
  DialogWatch watch(ReadMessageBox(seen, main_.get()));
  platform_.ShowHelp(folder + L"vorel.hlp", folder + L"help.html", folder);
  ASSERT_TRUE(watch.Dialog()) << "the box never showed";
  EXPECT_EQ(seen.text,
            L"ヘルプのページ「" + folder + L"help.html」を開けません: ファイルが見つかりません.");
  EXPECT_EQ(seen.caption, L"Tool");
  EXPECT_EQ(seen.owner, platform_.AppWindow());
  EXPECT_TRUE(seen.icon);
  EXPECT_FALSE(seen.mainEnabled);
  ExpectMainWindowBack();
}

// Whether this thread is in a COM apartment; the question leaves its count as it was.
bool InApartment() {
  const HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(result)) ::CoUninitialize();
  return result != S_OK;
}

// The launches share one apartment: none before the first, the one entered then kept
// after each, and left, as often as entered, when the platform goes.
TEST_F(BoxesTest, LaunchesShareOneApartmentLeftWhenThePlatformGoes) {
  ASSERT_FALSE(InApartment()) << "the test's thread is in an apartment already";
  auto platform = std::make_unique<Win32Platform>(::GetModuleHandleW(nullptr), L"Tool");
  EXPECT_FALSE(InApartment()) << "entered before any launch";
  const std::wstring folder = L"C:\\no such folder\\";
  for (int launch = 1; launch <= 2; ++launch) {
    DialogWatch watch([](HWND dialog) { test::Click(dialog, IDOK); });
    platform->ShowHelp(folder + L"vorel.hlp", folder + L"help.html", folder);
    ASSERT_TRUE(watch.Dialog()) << "the error box never showed";
    EXPECT_TRUE(InApartment()) << "no apartment after launch " << launch;
  }
  platform.reset();
  EXPECT_FALSE(InApartment()) << "the apartment was not left as often as entered";
}

TEST(Win32PlatformTest, AppWindowIsHiddenAndCarriesTheTitle) {
  Win32Platform platform(::GetModuleHandleW(nullptr), L"\uB128\uAC00");
  ASSERT_TRUE(::IsWindow(platform.AppWindow()));
  EXPECT_FALSE(::IsWindowVisible(platform.AppWindow()));
  EXPECT_EQ(TextOf(platform.AppWindow()), L"\uB128\uAC00");
  EXPECT_EQ(::GetParent(platform.AppWindow()), nullptr);
}

TEST(Win32PlatformTest, RequestQuitPostsAQuitMessageAndReturns) {
  Win32Platform platform(::GetModuleHandleW(nullptr), L"Tool");
  platform.RequestQuit();
  MSG msg{};
  bool quit = false;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      EXPECT_EQ(msg.wParam, 0u);
    }
  }
  EXPECT_TRUE(quit);
}

}  // namespace
}  // namespace nenga
