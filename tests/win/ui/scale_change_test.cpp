// The windows told that their monitor's scale changed, as Windows tells them
// (WM_GETDPISCALEDSIZE, then WM_DPICHANGED): each lays itself out again as if it had been
// made at the new scale, and keeps what the user typed.
#include <windows.h>
// commctrl.h needs windows.h first
#include <commctrl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

#include "toolkit/dpi.h"
#include "toolkit/window_picture.h"
#include "ui_fixture.h"

namespace nenga::test {
namespace {

// What a control shows: where it is, its font, and its pixels as it paints itself.
struct ControlState {
  RECT rect{};
  LONG fontHeight = 0;
  LONG fontWeight = 0;
  std::vector<std::uint32_t> pixels;
};

std::vector<std::uint32_t> Painted(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  const Canvas canvas(client.right, client.bottom);
  const auto wParam = reinterpret_cast<WPARAM>(canvas.dc());
  SendMessageW(control, WM_ERASEBKGND, wParam, 0);
  SendMessageW(control, WM_PRINTCLIENT, wParam, PRF_CLIENT | PRF_ERASEBKGND);
  return canvas.Pixels();
}

std::map<int, ControlState> Controls(HWND window) {
  std::map<int, ControlState> controls;
  for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof(font), &font);
    controls[GetDlgCtrlID(c)] = {RectInParent(c), font.lfHeight, font.lfWeight, Painted(c)};
  }
  return controls;
}

SIZE ClientOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

// Both windows as the program makes them at a scale, with the same text in them.
struct MadeAt {
  explicit MadeAt(UINT dpi) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const int fontHeight = MeasureFormFontHeight(dpi);
    created = main.Create(instance, fontHeight) && atari.Create(instance, main.hwnd(), fontHeight);
  }
  ~MadeAt() {
    atari.Destroy();
    main.Destroy();
    Pump();
  }
  void Fill() {
    SetWindowTextShiftJis(main.Control(ids::kTxtNum), "12345");
    SetWindowTextShiftJis(main.Control(ids::kTxtLast), "654321");
    atari.SetAnnouncement("123456 は1等です。");
  }

  RecordingPlatform platform;
  AtariDialog atari{platform};
  MainWindow main{platform, atari};
  bool created = false;
};

// Tells window what Windows tells it when its monitor's scale becomes dpi, with the
// rectangle Windows would suggest at `at`; returns the size the window said it would take.
SIZE ChangeScale(HWND window, UINT dpi, POINT at) {
  SIZE size{};
  EXPECT_TRUE(SendMessageW(window, kGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&size)));
  RECT suggested{at.x, at.y, at.x + size.cx, at.y + size.cy};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  return size;
}

// The changed window against the one made at its scale. It takes the size it said, at
// the suggested place; its client area is the made one's, or, under Wine, whose real
// frame keeps the metrics of the scale the window was made at, larger by what the frame
// at the new scale adds over the old one's.
void ExpectSameWindow(HWND changed, HWND made, SIZE said, POINT at, UINT dpi, UINT madeAtDpi) {
  RECT frame{};
  GetWindowRect(changed, &frame);
  EXPECT_EQ(frame.left, at.x);
  EXPECT_EQ(frame.top, at.y);
  EXPECT_EQ(frame.right - frame.left, said.cx);
  EXPECT_EQ(frame.bottom - frame.top, said.cy);
  const SIZE client = ClientOf(made);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(made, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(made, GWL_EXSTYLE));
  RECT atNew{0, 0, client.cx, client.cy};
  RECT atOld = atNew;
  AdjustWindowRectForDpi(atNew, style, exStyle, dpi);
  AdjustWindowRectForDpi(atOld, style, exStyle, madeAtDpi);
  EXPECT_EQ(said.cx, atNew.right - atNew.left);
  EXPECT_EQ(said.cy, atNew.bottom - atNew.top);
  const SIZE got = ClientOf(changed);
  const SIZE wineExtra{(atNew.right - atNew.left) - (atOld.right - atOld.left),
                       (atNew.bottom - atNew.top) - (atOld.bottom - atOld.top)};
  EXPECT_TRUE(got.cx == client.cx || got.cx == client.cx + wineExtra.cx) << got.cx;
  EXPECT_TRUE(got.cy == client.cy || got.cy == client.cy + wineExtra.cy) << got.cy;

  const auto changedControls = Controls(changed);
  const auto madeControls = Controls(made);
  ASSERT_EQ(changedControls.size(), madeControls.size());
  for (const auto& [id, want] : madeControls) {
    SCOPED_TRACE(::testing::Message() << "control " << id);
    const ControlState& have = changedControls.at(id);
    EXPECT_TRUE(EqualRect(&have.rect, &want.rect))
        << have.rect.left << "," << have.rect.top << " " << have.rect.right << ","
        << have.rect.bottom << " against " << want.rect.left << "," << want.rect.top << " "
        << want.rect.right << "," << want.rect.bottom;
    EXPECT_EQ(have.fontHeight, want.fontHeight);
    EXPECT_EQ(have.fontWeight, want.fontWeight);
    EXPECT_TRUE(have.pixels == want.pixels) << "paints differently";
  }
}

// Nothing of window is left as it was drawn: its client area and each control's wait
// to be painted again in full.
void ExpectAllToRedraw(HWND window) {
  for (HWND w = window; w != nullptr;
       w = w == window ? GetWindow(window, GW_CHILD) : GetWindow(w, GW_HWNDNEXT)) {
    RECT client{}, waiting{};
    GetClientRect(w, &client);
    GetUpdateRect(w, &waiting, FALSE);
    EXPECT_TRUE(EqualRect(&waiting, &client)) << "control " << GetDlgCtrlID(w);
  }
}

// The font last handed to a tooltip control. Wine's tooltip draws with a copy of it,
// Windows' with the handle itself, which must live as long as it is used.
HFONT handedTooltipFont = nullptr;
LRESULT CALLBACK SeeTooltipFont(int code, WPARAM wParam, LPARAM lParam) {
  const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (sent.message == WM_SETFONT && ClassOf(sent.hwnd) == TOOLTIPS_CLASSW) {
    handedTooltipFont = reinterpret_cast<HFONT>(sent.wParam);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The taskbar's picture of window has the frame of the window's scale: the close button
// as wide as that scale's, its face just inside its edge.
void ExpectPictureFrameAt(HWND window, UINT dpi) {
  const WindowPicture picture = DrawWindow(window);
  ASSERT_TRUE(picture);
  const int x = picture.width() - MetricForDpi(SM_CXDLGFRAME, dpi) - MetricForDpi(SM_CXSIZE, dpi);
  const int y = MetricForDpi(SM_CYDLGFRAME, dpi) + 2;
  const std::uint32_t face = picture.pixels()[(y + 2) * picture.width() + x + 2];
  EXPECT_EQ(RGB(face >> 16 & 0xFF, face >> 8 & 0xFF, face & 0xFF), GetSysColor(COLOR_BTNFACE));
}

TEST(ScaleChange, WindowsLayThemselvesOutAgainAsIfMadeAtTheNewScale) {
  const UINT start = SystemDpi();
  MadeAt windows(start);
  ASSERT_TRUE(windows.created);
  windows.Fill();
  MainWindow& main = windows.main;
  AtariDialog& atari = windows.atari;
  const std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&UnhookWindowsHookEx)> seeing(
      SetWindowsHookExW(WH_CALLWNDPROC, SeeTooltipFont, nullptr, GetCurrentThreadId()),
      &UnhookWindowsHookEx);
  main.FinishStartup();  // the tooltips
  HWND number = main.Control(ids::kTxtNum);
  SendMessageW(number, EM_SETSEL, 1, 3);
  const auto oldFont = reinterpret_cast<HFONT>(SendMessageW(number, WM_GETFONT, 0, 0));
  ShowWindow(main.hwnd(), SW_SHOWNOACTIVATE);  // hidden, nothing would wait to be painted

  // The win dialog's picture is made at its first showing: the first change comes before
  // it, the others after.
  for (const UINT dpi : {144u, 120u, start}) {
    SCOPED_TRACE(::testing::Message() << start << " dpi to " << dpi);
    const POINT mainAt{200, 100};
    RedrawWindow(main.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const SIZE mainSaid = ChangeScale(main.hwnd(), dpi, mainAt);
    ExpectAllToRedraw(main.hwnd());
    ExpectPictureFrameAt(main.hwnd(), dpi);
    // The hidden win dialog is not told: it finds its monitor's new scale as it shows.
    SIZE atariSaid{};
    SendMessageW(atari.hwnd(), kGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&atariSaid));
    {
      const MonitorDpiAnswer monitorAt(dpi);
      const ModalScript shown(atari, {[](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }});
      atari.ShowModal();
    }
    SetFocus(nullptr);  // the dialog's owner, active again, unfocused as the ones compared
    RECT atariFrame{};
    GetWindowRect(atari.hwnd(), &atariFrame);
    const POINT atariAt{atariFrame.left, atariFrame.top};
    EXPECT_EQ(main.Dpi(), dpi);
    EXPECT_EQ(WindowDpi(atari.hwnd()), dpi);  // what the taskbar's pictures are drawn for
    EXPECT_EQ(GetObjectType(oldFont), 0u) << "the old font was kept";

    MadeAt made(dpi);
    ASSERT_TRUE(made.created);
    made.Fill();
    ASSERT_TRUE(made.atari.BuildPicture());
    {
      SCOPED_TRACE("main window");
      ExpectSameWindow(main.hwnd(), made.main.hwnd(), mainSaid, mainAt, dpi, start);
    }
    {
      SCOPED_TRACE("win dialog");
      ExpectSameWindow(atari.hwnd(), made.atari.hwnd(), atariSaid, atariAt, dpi, start);
    }

    // What the user typed and where, and the last number, stay.
    EXPECT_EQ(TextShiftJis(number), "12345");
    DWORD from = 0, to = 0;
    SendMessageW(number, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 1u);
    EXPECT_EQ(to, 3u);
    EXPECT_EQ(TextShiftJis(main.Control(ids::kTxtLast)), "654321");
    EXPECT_EQ(TextShiftJis(atari.Control(ids::kLblAtari)), "123456 は1等です。");

    // The hints in the system's tooltip font at the new scale.
    NONCLIENTMETRICSW metrics{};
    ASSERT_TRUE(NonClientMetricsForDpi(metrics, dpi));
    LOGFONTW hint{};
    GetObjectW(handedTooltipFont, sizeof(hint), &hint);
    EXPECT_EQ(hint.lfHeight, metrics.lfStatusFont.lfHeight);
  }
}

}  // namespace
}  // namespace nenga::test
