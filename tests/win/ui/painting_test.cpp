// The picture buttons, painted into a memory DC the way WM_PRINTCLIENT asks for.
#include <cstdlib>
#include <utility>

#include "ui/picture.h"
#include "ui_fixture.h"

// The import the program's calls of SystemParametersInfoW go through.
extern "C" decltype(&SystemParametersInfoW) __imp_SystemParametersInfoW;

namespace nenga::test {
namespace {

COLORREF Sys(int index) { return GetSysColor(index); }

// The test program has no picture resources, so each button shows the stand-in
// picture: a grey box with a darker edge whose bottom-left pixel is white.
constexpr COLORREF kEdge = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kFill = RGB(0x80, 0x80, 0x80);

TEST_F(Windows, PictureButtonAtRestAndHeld) {
  HWND open = Main(ids::kCmdOpen);  // 41 x 41, picture 16 x 16
  Canvas rest(41, 41);
  SendMessageW(open, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(rest.dc()), PRF_CLIENT);
  // Centred; the odd pixel of the 25-pixel gap goes left and above.
  EXPECT_EQ(rest.At(13, 13), kEdge);
  EXPECT_EQ(rest.At(12, 13), Sys(COLOR_BTNFACE));
  EXPECT_EQ(rest.At(28, 13), kEdge);
  EXPECT_EQ(rest.At(29, 13), Sys(COLOR_BTNFACE));
  EXPECT_EQ(rest.At(20, 20), kFill);
  // The bottom-left pixel's colour is transparent.
  EXPECT_EQ(rest.At(13, 28), Sys(COLOR_BTNFACE));
  EXPECT_EQ(rest.At(14, 28), kEdge);
  // A raised frame: dark at the bottom right, not at the top left.
  EXPECT_EQ(rest.At(40, 40), Sys(COLOR_3DDKSHADOW));
  EXPECT_NE(rest.At(0, 0), Sys(COLOR_3DDKSHADOW));
  EXPECT_NE(rest.At(0, 0), Sys(COLOR_BTNSHADOW));

  SendMessageW(open, BM_SETSTATE, TRUE, 0);
  Canvas held(41, 41);
  SendMessageW(open, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(held.dc()), PRF_CLIENT);
  SendMessageW(open, BM_SETSTATE, FALSE, 0);
  // Flat: a one-pixel shadow border round the face.
  for (const POINT p : {POINT{0, 0}, POINT{40, 0}, POINT{0, 40}, POINT{40, 40}, POINT{20, 0}}) {
    EXPECT_EQ(held.At(p.x, p.y), Sys(COLOR_BTNSHADOW)) << p.x << "," << p.y;
  }
  EXPECT_EQ(held.At(1, 1), Sys(COLOR_BTNFACE));
  EXPECT_EQ(held.At(39, 39), Sys(COLOR_BTNFACE));
  // The picture one pixel right and down.
  EXPECT_EQ(held.At(13, 13), Sys(COLOR_BTNFACE));
  EXPECT_EQ(held.At(14, 14), kEdge);
  EXPECT_EQ(held.At(14, 29), Sys(COLOR_BTNFACE));
  EXPECT_EQ(held.At(15, 29), kEdge);
}

TEST_F(Windows, LargePictureButtonCentresItsPicture) {
  // 161 x 185 with a 151 x 172 picture: gaps of 10 and 13, the odd pixel above.
  Canvas canvas(161, 185);
  SendMessageW(Main(ids::kCmdCheck), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()),
               PRF_CLIENT);
  EXPECT_EQ(canvas.At(5, 7), kEdge);
  EXPECT_EQ(canvas.At(4, 7), Sys(COLOR_BTNFACE));
  EXPECT_EQ(canvas.At(5, 6), Sys(COLOR_BTNFACE));
  EXPECT_EQ(canvas.At(155, 178), kEdge);
  EXPECT_EQ(canvas.At(156, 178), Sys(COLOR_BTNFACE));
  EXPECT_EQ(canvas.At(155, 179), Sys(COLOR_BTNFACE));
}

TEST_F(Windows, FocusedPictureButtonHasOutlineAndFocusRectangle) {
  Picture picture(LoadPicture(instance_, "NO_SUCH_PICTURE", 32, 32), {32, 32}, true);
  const RECT rect{0, 0, 41, 41};
  Canvas plain(41, 41);
  PaintPictureButton(plain.dc(), rect, &picture, false, false);
  Canvas focused(41, 41);
  PaintPictureButton(focused.dc(), rect, &picture, false, true);

  for (const POINT p : {POINT{0, 0}, POINT{40, 0}, POINT{0, 40}, POINT{40, 40}, POINT{20, 0}}) {
    EXPECT_EQ(focused.At(p.x, p.y), Sys(COLOR_WINDOWFRAME)) << p.x << "," << p.y;
  }
  // Row 3 is face in both; the dotted rectangle runs along row 4, from x = 4.
  int changedOnRow3 = 0;
  int changedOnRow4 = 0;
  for (int x = 4; x <= 36; ++x) {
    changedOnRow3 += focused.At(x, 3) != plain.At(x, 3);
    changedOnRow4 += focused.At(x, 4) != plain.At(x, 4);
  }
  EXPECT_EQ(changedOnRow3, 0);
  EXPECT_GE(changedOnRow4, 10);
  int changedOnColumn4 = 0;
  for (int y = 4; y <= 36; ++y) changedOnColumn4 += focused.At(4, y) != plain.At(4, y);
  EXPECT_GE(changedOnColumn4, 10);
}

// An 8 x 8 picture: a two-pixel frame in the transparent colour (its bottom-left
// pixel's), pure red, round a black square.
Picture RedFramedSquare(SIZE shown) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 8;
  info.bmiHeader.biHeight = -8;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  auto* pixels = static_cast<DWORD*>(bits);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool frame = x < 2 || y < 2 || x > 5 || y > 5;
      pixels[y * 8 + x] = frame ? 0xff0000 : 0x000000;
    }
  }
  GdiFlush();
  return Picture(std::move(bitmap), shown, true);
}

// Enlarged by 1.5, the picture stays centred, shifts one pixel when held, and its
// edges blend into the button face only: no trace of the transparent red.
TEST(ScaledPictureButton, KeepsCentringShiftAndTransparency) {
  Picture picture = RedFramedSquare({12, 12});
  const RECT rect{0, 0, 21, 21};  // a gap of 9: 5 left (and above), 4 right
  Canvas rest(21, 21);
  PaintPictureButton(rest.dc(), rect, &picture, false, false);
  Canvas held(21, 21);
  PaintPictureButton(held.dc(), rect, &picture, true, false);

  const COLORREF face = Sys(COLOR_BTNFACE);
  for (int y = 2; y < 19; ++y) {
    for (int x = 2; x < 19; ++x) {
      const COLORREF c = rest.At(x, y);
      EXPECT_LE(std::abs(GetRValue(c) - GetGValue(c)), 2) << "red fringe at " << x << "," << y;
    }
  }
  EXPECT_EQ(rest.At(10, 10), RGB(0, 0, 0));  // the black square, enlarged
  EXPECT_EQ(rest.At(5, 5), face);            // the transparent frame's corner
  EXPECT_EQ(rest.At(5, 16), face);
  // The black square spans source pixels 2..5, shown 3..8 of 12: columns 8..13.
  auto firstDark = [](const Canvas& c, int y) {
    for (int x = 0; x < 21; ++x) {
      if (GetRValue(c.At(x, y)) < 0x40) return x;
    }
    return -1;
  };
  const int restLeft = firstDark(rest, 10);
  EXPECT_GE(restLeft, 7);
  EXPECT_LE(restLeft, 9);
  EXPECT_EQ(firstDark(held, 11), restLeft + 1);
}

// The system colours of the windows' text and backgrounds, set for as long as the
// object lives, then put back.
class ColourScheme {
 public:
  ColourScheme(COLORREF face, COLORREF faceText, COLORREF window, COLORREF windowText) {
    const COLORREF colours[] = {face, faceText, window, windowText};
    for (int i = 0; i < 4; ++i) saved_[i] = GetSysColor(kElements[i]);
    set_ = SetSysColors(4, kElements, colours) != FALSE;
  }
  ~ColourScheme() { SetSysColors(4, kElements, saved_); }
  ColourScheme(const ColourScheme&) = delete;
  ColourScheme& operator=(const ColourScheme&) = delete;
  bool set() const { return set_; }

 private:
  static constexpr int kElements[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
  COLORREF saved_[4] = {};
  bool set_ = false;
};

// A dark scheme, as High Contrast Black sets one: the text the layouts draw black takes
// the scheme's text colours and stands out from its backgrounds.
TEST_F(Windows, TextTakesTheSchemesTextColours) {
  const ColourScheme dark(RGB(0, 0, 0x80), RGB(0xff, 0xff, 0), RGB(0, 0x40, 0),
                          RGB(0xff, 0xff, 0xff));
  ASSERT_TRUE(dark.set());
  Type("123456");
  SetWindowTextShiftJis(Main(ids::kTxtLast), "654321");

  const struct {
    int id;
    int text;
    int background;
  } shown[] = {{ids::kLabel1, COLOR_BTNTEXT, COLOR_BTNFACE},
               {ids::kTxtLast, COLOR_BTNTEXT, COLOR_BTNFACE},
               {ids::kTxtNum, COLOR_WINDOWTEXT, COLOR_WINDOW}};
  for (const auto& [id, text, background] : shown) {
    SCOPED_TRACE(id);
    HWND control = Main(id);
    RECT client{};
    GetClientRect(control, &client);
    Canvas canvas(client.right, client.bottom);
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    int textPixels = 0;
    int blackPixels = 0;
    for (int y = 0; y < client.bottom; ++y) {
      for (int x = 0; x < client.right; ++x) {
        textPixels += canvas.At(x, y) == Sys(text);
        blackPixels += canvas.At(x, y) == RGB(0, 0, 0);
      }
    }
    EXPECT_GE(textPixels, 20);
    EXPECT_EQ(blackPixels, 0);
    EXPECT_EQ(canvas.At(client.right - 1, client.bottom - 1), Sys(background));
  }
}

// High contrast as the windows see it: on while the object lives. Wine cannot switch it
// on, and on Windows that would change the whole desktop, so the test program's import
// of SystemParametersInfoW, which the windows' code calls through, answers instead.
class HighContrastOn {
 public:
  HighContrastOn() { real_ = Swap(&Answer); }
  ~HighContrastOn() { Swap(real_); }
  HighContrastOn(const HighContrastOn&) = delete;
  HighContrastOn& operator=(const HighContrastOn&) = delete;

 private:
  using Function = decltype(&SystemParametersInfoW);
  static Function Swap(Function with) {
    DWORD was = 0;
    VirtualProtect(&__imp_SystemParametersInfoW, sizeof(Function), PAGE_READWRITE, &was);
    const Function old = std::exchange(__imp_SystemParametersInfoW, with);
    VirtualProtect(&__imp_SystemParametersInfoW, sizeof(Function), was, &was);
    return old;
  }
  static BOOL WINAPI Answer(UINT action, UINT size, PVOID data, UINT flags) {
    if (action != SPI_GETHIGHCONTRAST) return real_(action, size, data, flags);
    auto* contrast = static_cast<HIGHCONTRASTW*>(data);
    contrast->dwFlags = HCF_AVAILABLE | HCF_HIGHCONTRASTON;
    contrast->lpszDefaultScheme = nullptr;
    return TRUE;
  }
  static inline Function real_ = nullptr;
};

bool HighContrastIsOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The announcement is the one text the windows colour themselves: red, unless the user
// asked for high contrast; then the scheme's text colour, as every other text.
TEST_F(Windows, AnnouncementIsRedUnlessHighContrastIsOn) {
  atari_.SetAnnouncement("123456 は1等です。");
  HWND label = Atari(ids::kLblAtari);
  RECT client{};
  GetClientRect(label, &client);
  // How many pixels of the printed label have each of two colours.
  const auto count = [&](COLORREF first, COLORREF second) {
    Canvas canvas(client.right, client.bottom);
    SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    std::pair<int, int> pixels;
    for (int y = 0; y < client.bottom; ++y) {
      for (int x = 0; x < client.right; ++x) {
        pixels.first += canvas.At(x, y) == first;
        pixels.second += canvas.At(x, y) == second;
      }
    }
    return pixels;
  };
  constexpr COLORREF kRedText = RGB(0xff, 0, 0);
  const auto standard = count(kRedText, Sys(COLOR_BTNTEXT));
  EXPECT_GE(standard.first, 200);
  EXPECT_EQ(standard.second, 0);

  // High Contrast Black's colours, which the user's high contrast theme sets with it.
  const ColourScheme dark(RGB(0, 0, 0), RGB(0xff, 0xff, 0), RGB(0, 0, 0), RGB(0xff, 0xff, 0xff));
  ASSERT_TRUE(dark.set());
  const HighContrastOn on;
  ASSERT_TRUE(HighContrastIsOn());
  const auto contrast = count(Sys(COLOR_BTNTEXT), kRedText);
  EXPECT_GE(contrast.first, 200);
  EXPECT_EQ(contrast.second, 0);
}

// Both windows at a font 18 pixels high (144 dots per inch): everything 1.5 times.
class ScaledWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(main_.Create(instance, 18));
    ASSERT_TRUE(atari_.Create(instance, main_.hwnd(), 18));
  }
  testing::FakePlatform platform_;
  AtariDialog atari_{platform_};
  MainWindow main_{platform_, atari_};
};

TEST_F(ScaledWindows, ButtonPicturesGrowWithTheLayout) {
  // cmdCheck 242 x 278 with the 151 x 172 picture shown 227 x 258: gaps of 15 and 20,
  // the odd pixel left, so the picture spans columns 8 to 234 and rows 10 to 267.
  HWND check = main_.Control(ids::kCmdCheck);
  RECT client{};
  GetClientRect(check, &client);
  ASSERT_EQ(client.right, 242);
  ASSERT_EQ(client.bottom, 278);
  Canvas canvas(242, 278);
  SendMessageW(check, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  EXPECT_EQ(canvas.At(121, 139), kFill);
  EXPECT_EQ(canvas.At(8, 10), kEdge);  // the picture's top-left corner
  EXPECT_EQ(canvas.At(7, 100), Sys(COLOR_BTNFACE));
  EXPECT_EQ(canvas.At(8, 100), kEdge);
  EXPECT_EQ(canvas.At(234, 100), kEdge);
  EXPECT_EQ(canvas.At(235, 100), Sys(COLOR_BTNFACE));
  EXPECT_EQ(canvas.At(100, 9), Sys(COLOR_BTNFACE));
  EXPECT_EQ(canvas.At(100, 267), kEdge);
  EXPECT_EQ(canvas.At(100, 268), Sys(COLOR_BTNFACE));
  EXPECT_EQ(canvas.At(8, 267), Sys(COLOR_BTNFACE));  // the transparent bottom-left pixel
}

TEST_F(ScaledWindows, CongratulationPictureFillsItsPlace) {
  ASSERT_TRUE(atari_.BuildPicture());
  HWND place = atari_.Control(ids::kImCongrat);
  RECT client{};
  GetClientRect(place, &client);
  ASSERT_EQ(client.right, 810);
  ASSERT_EQ(client.bottom, 513);
  Canvas canvas(811, 514);  // black beyond the place
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_STATIC;
  item.CtlID = ids::kImCongrat;
  item.itemAction = ODA_DRAWENTIRE;
  item.hwndItem = place;
  item.hDC = canvas.dc();
  item.rcItem = client;
  SendMessageW(atari_.hwnd(), WM_DRAWITEM, ids::kImCongrat, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(canvas.At(405, 256), kFill);
  for (const POINT p : {POINT{0, 0}, POINT{809, 0}, POINT{809, 512}}) {
    EXPECT_EQ(canvas.At(p.x, p.y), kEdge) << p.x << "," << p.y;
  }
  EXPECT_EQ(canvas.At(0, 512), RGB(255, 255, 255));  // drawn opaque: no transparent colour
  EXPECT_EQ(canvas.At(810, 256), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(405, 513), RGB(0, 0, 0));
}

}  // namespace
}  // namespace nenga::test
