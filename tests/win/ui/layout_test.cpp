// The windows as built: frames, captions, control rectangles, fonts, tab order, hints.
#include <windows.h>
// commctrl.h needs windows.h first
#include <commctrl.h>

#include <algorithm>

#include "ui_fixture.h"

namespace nenga::test {
namespace {

struct ExpectedControl {
  int id;
  const wchar_t* className;
  RECT rect;  // left, top, right, bottom in client pixels
};

void ExpectFixedDialogFrame(HWND window, int clientWidth, int clientHeight) {
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, clientWidth);
  EXPECT_EQ(client.bottom, clientHeight);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);  // no icon in the caption
  EXPECT_EQ(GetClassLongPtrW(window, GCLP_HICON), 0);
  EXPECT_EQ(GetClassLongPtrW(window, GCLP_HICONSM), 0);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND)),
            GetSysColorBrush(COLOR_BTNFACE));
}

void ExpectControls(HWND parent, const std::vector<ExpectedControl>& expected) {
  for (const ExpectedControl& e : expected) {
    SCOPED_TRACE(e.id);
    HWND control = GetDlgItem(parent, e.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(ClassOf(control), std::wstring(e.className));
    const RECT r = RectInParent(control);
    EXPECT_EQ(r.left, e.rect.left);
    EXPECT_EQ(r.top, e.rect.top);
    EXPECT_EQ(r.right, e.rect.right);
    EXPECT_EQ(r.bottom, e.rect.bottom);
  }
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW lf{};
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  GetObjectW(font, sizeof(lf), &lf);
  return lf;
}

void ExpectFont(HWND control, int height, bool bold) {
  const LOGFONTW lf = FontOf(control);
  EXPECT_EQ(lf.lfHeight, -height);
  EXPECT_EQ(lf.lfWeight, bold ? FW_BOLD : FW_NORMAL);
  EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(std::wstring(lf.lfFaceName), WideFromShiftJis("ＭＳ Ｐゴシック"));
}

TEST_F(Windows, MainWindowMatchesItsLayout) {
  EXPECT_EQ(ClassOf(main_.hwnd()), L"TfrmMain");
  EXPECT_EQ(TextOf(main_.hwnd()), "年賀はがき当たり番号判定");
  ExpectFixedDialogFrame(main_.hwnd(), 193, 345);
  ExpectControls(main_.hwnd(), {
                                   {ids::kLabel1, L"Static", {32, 8, 160, 20}},
                                   {ids::kTxtNum, L"Edit", {16, 24, 177, 45}},
                                   {ids::kCmdCheck, L"Button", {16, 56, 177, 241}},
                                   {ids::kLabel2, L"Static", {16, 248, 72, 261}},
                                   {ids::kTxtLast, L"Edit", {16, 264, 177, 285}},
                                   {ids::kCmdOpen, L"Button", {16, 288, 57, 329}},
                                   {ids::kCmdEdit, L"Button", {64, 288, 121, 329}},
                                   {ids::kCmdHelp, L"Button", {136, 288, 177, 329}},
                               });
  EXPECT_EQ(TextOf(Main(ids::kLabel1)), "年賀はがき番号の入力");
  EXPECT_EQ(TextOf(Main(ids::kLabel2)), "直前の値");
  EXPECT_EQ(TextOf(Main(ids::kTxtNum)), "");
  ExpectFont(Main(ids::kLabel1), 12, true);
  ExpectFont(Main(ids::kLabel2), 13, true);
  ExpectFont(Main(ids::kTxtNum), 13, true);
  ExpectFont(Main(ids::kTxtLast), 13, true);
  EXPECT_TRUE(GetWindowLongPtrW(Main(ids::kTxtLast), GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(GetWindowLongPtrW(Main(ids::kTxtNum), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(SendMessageW(Main(ids::kTxtNum), EM_GETLIMITTEXT, 0, 0) >= 0x7ffe, true);
  // The labels stay on one line whatever the font's width.
  for (int id : {ids::kLabel1, ids::kLabel2}) {
    EXPECT_EQ(GetWindowLongPtrW(Main(id), GWL_STYLE) & SS_TYPEMASK, SS_LEFTNOWORDWRAP) << id;
  }
  // The picture buttons draw no text; their window text, the name screen readers
  // read, is their hint.
  const std::pair<int, const char*> names[] = {{ids::kCmdCheck, "当たり番号を検索します"},
                                               {ids::kCmdOpen, "当たり番号ファイルの読み込み"},
                                               {ids::kCmdEdit, "当たり番号ファイルの編集"},
                                               {ids::kCmdHelp, "ヘルプです"}};
  for (const auto& [id, name] : names) {
    EXPECT_EQ(GetWindowLongPtrW(Main(id), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
    EXPECT_EQ(TextOf(Main(id)), name) << id;
  }
}

TEST_F(Windows, MainWindowTabOrderRunsFromNumberToLast) {
  const int order[] = {ids::kTxtNum,   ids::kCmdHelp, ids::kCmdEdit, ids::kCmdOpen,
                       ids::kCmdCheck, ids::kTxtLast, ids::kTxtNum};
  HWND current = Main(order[0]);
  for (std::size_t i = 1; i < std::size(order); ++i) {
    current = GetNextDlgTabItem(main_.hwnd(), current, FALSE);
    EXPECT_EQ(GetDlgCtrlID(current), order[i]) << "step " << i;
  }
  for (int id : {ids::kLabel1, ids::kLabel2}) {
    EXPECT_FALSE(GetWindowLongPtrW(Main(id), GWL_STYLE) & WS_TABSTOP) << id;
  }
}

TEST_F(Windows, HintsShowOnTheFiveHintedControls) {
  main_.FinishStartup();
  HWND tooltip = main_.Tooltip();
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 5);
  const struct {
    int id;
    const char* hint;  // empty: none
  } hints[] = {
      {ids::kTxtNum, ""},
      {ids::kCmdCheck, "当たり番号を検索します"},
      {ids::kTxtLast, "さっきの番号はこれでしたね"},
      {ids::kCmdOpen, "当たり番号ファイルの読み込み"},
      {ids::kCmdEdit, "当たり番号ファイルの編集"},
      {ids::kCmdHelp, "ヘルプです"},
  };
  for (const auto& h : hints) {
    wchar_t buffer[128] = {};
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = main_.hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(Main(h.id));
    tool.lpszText = buffer;
    const bool found =
        SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    EXPECT_EQ(found, *h.hint != '\0') << h.id;
    if (!found) continue;
    tool.lpszText = buffer;
    SendMessageW(tooltip, TTM_GETTEXTW, std::size(buffer), reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(ShiftJisFromWide(buffer), h.hint) << h.id;
  }
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 2500);
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 0);
}

TEST_F(Windows, WinDialogMatchesItsLayoutAndStartsHidden) {
  EXPECT_EQ(ClassOf(atari_.hwnd()), L"TfrmAtari");
  EXPECT_EQ(TextOf(atari_.hwnd()), "当たり番号発見");
  EXPECT_FALSE(IsWindowVisible(atari_.hwnd()));
  ExpectFixedDialogFrame(atari_.hwnd(), 568, 460);
  ASSERT_TRUE(atari_.BuildPicture());  // made when the dialog first shows
  ExpectControls(atari_.hwnd(), {
                                    {ids::kImCongrat, L"Static", {16, 72, 556, 414}},
                                    {ids::kCmdOK, L"Button", {240, 424, 321, 449}},
                                });
  EXPECT_EQ(RectInParent(Atari(ids::kLblAtari)).left, 48);
  EXPECT_EQ(RectInParent(Atari(ids::kLblAtari)).top, 16);
  EXPECT_EQ(TextOf(Atari(ids::kCmdOK)), "OK");
  ExpectFont(Atari(ids::kLblAtari), 48, true);
  ExpectFont(Atari(ids::kCmdOK), 13, true);
  const auto okStyle = GetWindowLongPtrW(Atari(ids::kCmdOK), GWL_STYLE);
  EXPECT_EQ(okStyle & BS_TYPEMASK, BS_PUSHBUTTON);  // not the default button
  // cmdOK is the only control that takes the focus.
  EXPECT_EQ(GetNextDlgTabItem(atari_.hwnd(), Atari(ids::kCmdOK), FALSE), Atari(ids::kCmdOK));
}

TEST_F(Windows, AnnouncementLabelIsAsLargeAsItsText) {
  HWND label = Atari(ids::kLblAtari);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  const char* longText = "123456 は2等です。";
  atari_.SetAnnouncement(longText);
  EXPECT_EQ(TextOf(label), longText);
  RECT r = RectInParent(label);
  const SIZE size = MeasureText(label, font, longText);
  EXPECT_GT(size.cx, 200);  // 48-pixel characters
  EXPECT_EQ(r.left, 48);
  EXPECT_EQ(r.top, 16);
  EXPECT_EQ(r.right - r.left, size.cx);
  EXPECT_EQ(r.bottom - r.top, size.cy);

  atari_.SetAnnouncement("12 は9等です。");
  r = RectInParent(label);
  EXPECT_EQ(r.left, 48);
  EXPECT_LT(r.right - r.left, size.cx);
  EXPECT_EQ(r.right - r.left, MeasureText(label, font, "12 は9等です。").cx);
}

TEST(Scaling, LayoutsGrowWithTheFont) {
  const FormLayout layout = MainFormLayout(24);
  EXPECT_EQ(layout.clientWidth, 386);
  EXPECT_EQ(layout.clientHeight, 690);
  EXPECT_EQ(layout.fontHeight, 24);
  const ControlLayout& check =
      *std::find_if(layout.controls.begin(), layout.controls.end(),
                    [](const ControlLayout& c) { return c.id == ids::kCmdCheck; });
  EXPECT_EQ(check.x, 32);
  EXPECT_EQ(check.height, 370);
  EXPECT_EQ(ScaleToFont(13, 15), 16);    // 16.25
  EXPECT_EQ(ScaleToFont(193, 15), 241);  // 241.25
  EXPECT_EQ(ScaleToFont(1, 6), 1);       // 0.5: halves away from zero
  EXPECT_EQ(ScaleToFont(-1, 6), -1);     // -0.5
}

}  // namespace
}  // namespace nenga::test
