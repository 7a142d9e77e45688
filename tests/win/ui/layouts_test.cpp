// The windows as built: frames, captions, control rectangles, fonts, tab order, hints.
#include <windows.h>
// commctrl.h needs windows.h first
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

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

// The label's text measured in the label's own font, as the system draws it.
SIZE TextExtent(HWND label) {
  const int length = GetWindowTextLengthW(label);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(label, text.data(), length + 1);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  HDC dc = GetDC(label);
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), length, &extent);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  return extent;
}

bool IsLabel(HWND control) {
  return ClassOf(control) == L"Static" &&
         (GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) != SS_OWNERDRAW;
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
  EXPECT_EQ(TextShiftJis(main_.hwnd()), "年賀はがき当たり番号判定");
  ExpectFixedDialogFrame(main_.hwnd(), 193, 345);
  ExpectControls(main_.hwnd(), {
                                   {ids::kTxtNum, L"Edit", {16, 24, 177, 45}},
                                   {ids::kCmdCheck, L"Button", {16, 56, 177, 241}},
                                   {ids::kTxtLast, L"Edit", {16, 264, 177, 285}},
                                   {ids::kCmdOpen, L"Button", {16, 288, 57, 329}},
                                   {ids::kCmdEdit, L"Button", {64, 288, 121, 329}},
                                   {ids::kCmdHelp, L"Button", {136, 288, 177, 329}},
                               });
  // The labels start where the table puts them, 128 × 12 and 56 × 13, and grow only
  // where their font's text needs more: Wine's stand-in for "ＭＳ Ｐゴシック" is a
  // pixel higher with its leading. ScreenScale.EveryControlHasItsOwnPlaceAndShowsItsText
  // checks their sizes at every scale.
  const std::pair<int, RECT> labels[] = {{ids::kLabel1, {32, 8, 160, 20}},
                                         {ids::kLabel2, {16, 248, 72, 261}}};
  for (const auto& [id, table] : labels) {
    const RECT r = RectInParent(Main(id));
    const SIZE text = TextExtent(Main(id));
    EXPECT_EQ(ClassOf(Main(id)), L"Static") << id;
    EXPECT_EQ(r.left, table.left) << id;
    EXPECT_EQ(r.top, table.top) << id;
    EXPECT_EQ(r.right, std::max(table.right, table.left + text.cx)) << id;
    EXPECT_EQ(r.bottom, std::max(table.bottom, table.top + text.cy)) << id;
  }
  EXPECT_EQ(TextShiftJis(Main(ids::kLabel1)), "年賀はがき番号の入力");
  EXPECT_EQ(TextShiftJis(Main(ids::kLabel2)), "直前の値");
  EXPECT_EQ(TextShiftJis(Main(ids::kTxtNum)), "");
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
    EXPECT_EQ(TextShiftJis(Main(id)), name) << id;
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

// Screen readers name a box after the control just before it in the z-order.
TEST_F(Windows, EachBoxComesJustAfterItsLabel) {
  EXPECT_EQ(GetWindow(Main(ids::kTxtNum), GW_HWNDPREV), Main(ids::kLabel1));
  EXPECT_EQ(GetWindow(Main(ids::kTxtLast), GW_HWNDPREV), Main(ids::kLabel2));
  EXPECT_EQ(GetWindow(main_.hwnd(), GW_CHILD), Main(ids::kLabel1));
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
  EXPECT_EQ(TextShiftJis(atari_.hwnd()), "当たり番号発見");
  EXPECT_FALSE(IsWindowVisible(atari_.hwnd()));
  ExpectFixedDialogFrame(atari_.hwnd(), 568, 460);
  ASSERT_TRUE(atari_.BuildPicture());  // made when the dialog first shows
  ExpectControls(atari_.hwnd(), {
                                    {ids::kImCongrat, L"Static", {16, 72, 556, 414}},
                                    {ids::kCmdOK, L"Button", {240, 424, 321, 449}},
                                });
  EXPECT_EQ(RectInParent(Atari(ids::kLblAtari)).left, 48);
  EXPECT_EQ(RectInParent(Atari(ids::kLblAtari)).top, 16);
  EXPECT_EQ(TextShiftJis(Atari(ids::kCmdOK)), "OK");
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
  EXPECT_EQ(TextShiftJis(label), longText);
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

// The full height of a line in the font a control draws with.
int LineHeight(HWND control) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  const WindowDcWithFont dc(control, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.get(), &metrics);
  return metrics.tmHeight;
}

// The 'head' table of the face a font is drawn with: it tells one face from another
// whatever name the face answers to.
std::string HeadTable(HFONT font) {
  constexpr DWORD kHead = 'h' | 'e' << 8 | 'a' << 16 | 'd' << 24;
  const WindowDcWithFont dc(nullptr, font);
  const DWORD size = GetFontData(dc.get(), kHead, 0, nullptr, 0);
  if (size == GDI_ERROR) return {};
  std::string table(size, '\0');
  GetFontData(dc.get(), kHead, 0, table.data(), size);
  return table;
}

// Run at 96, 120, 144 and 192 dots per inch, and at 96 and 144 with a stand-in face whose
// line is much taller than its em, the windows built as the program builds them on this
// screen: no control covers another, every label shows its whole text and every edit box
// is at least a line of its font high. A label is as large as its row or, where the text
// needs more, as its text; it starts at its row's left edge, covers its row, stays inside
// its window, and rises above its row only to sit on the control below it.
TEST(ScreenScale, EveryControlHasItsOwnPlaceAndShowsItsText) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (ExpectedScreenDpi() != 0) {
    ASSERT_EQ(dpi, ExpectedScreenDpi()) << "the screen scale was not set";
  }
  if (!ExpectedFace().empty()) {
    const Font named(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, ExpectedFace().c_str()));
    const std::string standIn = HeadTable(CreateFormFont(12, false).get());
    ASSERT_FALSE(standIn.empty());
    ASSERT_EQ(standIn, HeadTable(named.get())) << "the stand-in face was not set";
  }
  const int fontHeight = MeasureFormFontHeight(static_cast<UINT>(dpi));
  // The window font's em, 9 points: its line without the leading inside it.
  TEXTMETRICW nine{};
  {
    const Font font = CreateFormFont(MulDiv(9, dpi, 72), false);
    const WindowDcWithFont dc(nullptr, font.get());
    ASSERT_TRUE(GetTextMetricsW(dc.get(), &nine));
  }
  EXPECT_EQ(fontHeight, nine.tmHeight - nine.tmInternalLeading);
  if (ExpectedFace().empty()) {
    // The window font, 9 points, measures about 12 pixels at 96 dots per inch, and as
    // many more as the scale adds (at 144 Wine's face measures 19): the layouts grow.
    EXPECT_GE(fontHeight, MulDiv(12, dpi, 96));
    EXPECT_LE(fontHeight, MulDiv(13, dpi, 96));
  }

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RecordingPlatform platform;
  AtariDialog atari(platform);
  MainWindow main(platform, atari);
  ASSERT_TRUE(main.Create(instance, fontHeight));
  ASSERT_TRUE(atari.Create(instance, main.hwnd(), fontHeight));
  atari.SetAnnouncement("123456 は1等です。");
  ASSERT_TRUE(atari.BuildPicture());
  const struct {
    HWND window;
    FormLayout layout;
    int labels, edits;
  } windows[] = {{main.hwnd(), MainFormLayout(fontHeight), 2, 2},
                 {atari.hwnd(), AtariFormLayout(fontHeight), 1, 0}};
  for (const auto& w : windows) {
    RECT client{};
    GetClientRect(w.window, &client);
    EXPECT_EQ(client.right, ScaleToFont(w.window == main.hwnd() ? 193 : 568, fontHeight));
    EXPECT_EQ(client.bottom, ScaleToFont(w.window == main.hwnd() ? 345 : 460, fontHeight));
    if (dpi == 96 && w.window == main.hwnd()) {  // as designed, whatever the face
      EXPECT_EQ(client.right, 193);
      EXPECT_EQ(client.bottom, 345);
    }
    std::vector<HWND> controls;
    for (HWND c = GetWindow(w.window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
      controls.push_back(c);
    }
    int labels = 0, edits = 0;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      HWND control = controls[i];
      const int id = GetDlgCtrlID(control);
      SCOPED_TRACE(::testing::Message() << "control " << id << " at " << dpi << " dpi");
      const RECT box = RectInParent(control);
      for (std::size_t j = i + 1; j < controls.size(); ++j) {
        const RECT other = RectInParent(controls[j]);
        RECT common{};
        EXPECT_FALSE(IntersectRect(&common, &box, &other))
            << "covers " << GetDlgCtrlID(controls[j]);
      }
      if (ClassOf(control) == L"Edit") {
        ++edits;
        EXPECT_GE(box.bottom - box.top, LineHeight(control));
      }
      if (!IsLabel(control)) continue;
      ++labels;
      const auto row = std::find_if(w.layout.controls.begin(), w.layout.controls.end(),
                                    [id](const ControlLayout& c) { return c.id == id; });
      ASSERT_NE(row, w.layout.controls.end());
      const SIZE text = TextExtent(control);
      RECT inside{};
      GetClientRect(control, &inside);
      EXPECT_LE(text.cx, inside.right);
      EXPECT_LE(text.cy, inside.bottom);
      EXPECT_EQ(box.left, row->x);
      EXPECT_EQ(box.right - box.left, std::max<LONG>(row->width, text.cx));
      EXPECT_EQ(box.bottom - box.top, std::max<LONG>(row->height, text.cy));
      EXPECT_LE(box.top, row->y);
      EXPECT_GE(box.bottom, row->y + row->height);
      if (box.top < row->y) {
        EXPECT_TRUE(std::any_of(controls.begin(), controls.end(), [&](HWND other) {
          return RectInParent(other).top == box.bottom;
        })) << "rose above its row with nothing below it";
      }
      EXPECT_GE(box.top, 0);
      EXPECT_LE(box.right, client.right);
      EXPECT_LE(box.bottom, client.bottom);
    }
    EXPECT_EQ(labels, w.labels);
    EXPECT_EQ(edits, w.edits);
  }
  atari.Destroy();
  main.Destroy();
  Pump();
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
