// The toolkit's window arithmetic, against numbers worked out by hand.
#include "toolkit/geometry.h"

#include <gtest/gtest.h>

#include "toolkit/dpi.h"
#include "toolkit/window_picture.h"
#include "win32_test_helpers.h"

namespace nenga {
namespace {

void ExpectRect(const RECT& got, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(got.left, left);
  EXPECT_EQ(got.top, top);
  EXPECT_EQ(got.right, right);
  EXPECT_EQ(got.bottom, bottom);
}

TEST(InfoBoxLayoutTest, WideTextSetsTheWidthAndRoundsToNearest) {
  // X 7, Y 13: margins 14 and 13, gap 130/8 = 16.25 -> 16, button 350/4 = 87.5 -> 88
  // wide (beats "OK" 14 + 8) and 182/8 = 22.75 -> 23 high.
  const InfoBoxLayout layout = LayoutInfoBox(7, 13, {300, 26}, 14);
  EXPECT_EQ(layout.client.cx, 328);  // 14 + 300 + 14
  EXPECT_EQ(layout.client.cy, 91);   // 13 + 26 + 16 + 23 + 13
  ExpectRect(layout.text, 14, 13, 314, 39);
  ExpectRect(layout.button, 120, 55, 208, 78);  // (328 - 88) / 2 = 120
}

TEST(InfoBoxLayoutTest, NarrowTextTakesTheButtonWidthAndWideOkWins) {
  // X 6, Y 15: margins 12 and 15, gap 150/8 = 18.75 -> 19, 50*6/4 = 75 loses to
  // "OK" 80 + 8 = 88, height 210/8 = 26.25 -> 26.
  const InfoBoxLayout layout = LayoutInfoBox(6, 15, {40, 15}, 80);
  EXPECT_EQ(layout.client.cx, 112);  // 12 + 88 + 12
  EXPECT_EQ(layout.client.cy, 90);   // 15 + 15 + 19 + 26 + 15
  ExpectRect(layout.text, 12, 15, 52, 30);
  ExpectRect(layout.button, 12, 49, 100, 75);
}

TEST(InfoBoxLayoutTest, TypicalJapaneseFont) {
  // X 6, Y 12: gap 15, button 75 x 21; two lines of 12 under a 301-wide text.
  const InfoBoxLayout layout = LayoutInfoBox(6, 12, {301, 24}, 13);
  EXPECT_EQ(layout.client.cx, 325);
  EXPECT_EQ(layout.client.cy, 12 + 24 + 15 + 21 + 12);
  ExpectRect(layout.button, 125, 51, 200, 72);  // (325 - 75) / 2 = 125

  // A 32-pixel icon at the margins, the text a margin beyond it, the button below both.
  const InfoBoxLayout warning = LayoutInfoBox(6, 12, {301, 24}, 13, {32, 32});
  EXPECT_EQ(warning.client.cx, 12 + 32 + 12 + 301 + 12);
  EXPECT_EQ(warning.client.cy, 12 + 32 + 15 + 21 + 12);
  ExpectRect(warning.icon, 12, 12, 44, 44);
  ExpectRect(warning.text, 56, 12, 357, 36);
  ExpectRect(warning.button, 147, 59, 222, 80);  // (369 - 75) / 2 = 147
}

TEST(PlaceOpenDialogTest, CentresAcrossAndLeavesAThirdAbove) {
  const RECT primary{0, 0, 1280, 994};
  POINT at = PlaceOpenDialog(primary, {600, 400});
  EXPECT_EQ(at.x, 340);
  EXPECT_EQ(at.y, 198);  // 594 / 3

  const RECT second{1280, 30, 2560, 1054};  // a monitor to the right, taskbar on top
  at = PlaceOpenDialog(second, {601, 425});
  EXPECT_EQ(at.x, 1280 + 339);  // 679 / 2
  EXPECT_EQ(at.y, 30 + 199);    // 599 / 3

  const RECT left{-1024, 0, 0, 768};
  at = PlaceOpenDialog(left, {500, 300});
  EXPECT_EQ(at.x, -1024 + 262);
  EXPECT_EQ(at.y, 156);
}

TEST(PlaceOpenDialogTest, TallDialogKeepsItsTitleBarOnTheScreen) {
  const POINT at = PlaceOpenDialog({0, 20, 800, 600}, {600, 700});
  EXPECT_EQ(at.x, 100);
  EXPECT_EQ(at.y, 20);
}

TEST(CentreInTest, CentresBothWays) {
  const POINT at = CentreIn({0, 0, 1280, 1024}, {331, 120});
  EXPECT_EQ(at.x, 474);  // 949 / 2
  EXPECT_EQ(at.y, 452);
}

TEST(FitWithinTest, KeepsTheAspectAndNeverGrows) {
  struct Row {
    SIZE size, most, want;
  };
  const Row rows[] = {
      {{400, 300}, {200, 120}, {160, 120}},  // the height binds: 400 * 120 / 300
      {{400, 300}, {100, 300}, {100, 75}},   // the width binds
      {{333, 250}, {200, 200}, {200, 150}},  // 250 * 200 / 333 = 150.15
      {{335, 250}, {200, 200}, {200, 149}},  // 149.25
      {{300, 200}, {400, 400}, {300, 200}},  // smaller than asked: as it is
      {{1000, 2}, {100, 100}, {100, 1}},     // never thinner than a pixel
      {{0, 10}, {100, 100}, {0, 0}},
  };
  for (const Row& row : rows) {
    const SIZE got = FitWithin(row.size, row.most);
    EXPECT_EQ(got.cx, row.want.cx) << row.size.cx << "x" << row.size.cy;
    EXPECT_EQ(got.cy, row.want.cy) << row.size.cx << "x" << row.size.cy;
  }
}

// Each pixel stands for a block of two by two: rows alternately without and with red,
// columns without and with blue, green throughout, average to half red and half blue.
TEST(ShrunkTest, EachPixelIsTheAverageOfItsWholeBlock) {
  const WindowPicture stripes(8, 6);
  ASSERT_TRUE(stripes);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      stripes.pixels()[y * 8 + x] = 0xFF004000u | (y % 2 ? 0xFF0000u : 0u) | (x % 2 ? 0xFFu : 0u);
    }
  }
  const WindowPicture shrunk = Shrunk(stripes, {4, 4});
  ASSERT_EQ(shrunk.width(), 4);
  ASSERT_EQ(shrunk.height(), 3);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(shrunk.pixels()[i], 0xFF804080u) << i;  // (510 + 2) / 4
}

// Where the system cannot tell a window's own scale (on Windows 7 and 8.1 it keeps none),
// the window's monitor answers, not the system.
TEST(MonitorDpiOfTest, WithoutTheWindowsOwnScaleItsMonitorAnswers) {
  const test::MonitorDpiAnswer monitorAt(144);
  EXPECT_EQ(MonitorDpiOf(nullptr), 144u);
}

}  // namespace
}  // namespace nenga
