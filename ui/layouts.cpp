#include "ui/layouts.h"

#include <algorithm>
#include <array>
#include <utility>

#include "resources/resource.h"
#include "ui/control_ids.h"
#include "winning/words.h"

namespace nenga {
namespace {

constexpr FontStyle kFormFont{};
constexpr FontStyle kBold12{12, true, kBlack};
constexpr FontStyle kBold13{13, true, kBlack};
constexpr FontStyle kBold48Red{48, true, kRed};

using K = ControlKind;

// frmMain
constexpr std::array<ControlLayout, 8> kMainControls{{
    {ids::kLabel1, K::kLabel, 32, 8, 128, 12, words::kLabel1Text, kBold12, nullptr, -1, nullptr, 0,
     0},
    {ids::kTxtNum, K::kEdit, 16, 24, 161, 21, "", kBold13, nullptr, 0, nullptr, 0, 0},
    {ids::kCmdCheck, K::kPictureButton, 16, 56, 161, 185, "", kFormFont, words::kCheckHint, 4,
     NENGA_BMP_CHECK, 151, 172},
    {ids::kLabel2, K::kLabel, 16, 248, 56, 13, words::kLabel2Text, kBold13, nullptr, -1, nullptr, 0,
     0},
    {ids::kTxtLast, K::kReadOnlyEdit, 16, 264, 161, 21, "", kBold13, words::kLastHint, 5, nullptr,
     0, 0},
    {ids::kCmdOpen, K::kPictureButton, 16, 288, 41, 41, "", kFormFont, words::kOpenHint, 3,
     NENGA_BMP_OPEN, 16, 16},
    {ids::kCmdEdit, K::kPictureButton, 64, 288, 57, 41, "", kFormFont, words::kEditHint, 2,
     NENGA_BMP_EDIT, 32, 32},
    {ids::kCmdHelp, K::kPictureButton, 136, 288, 41, 41, "", kFormFont, words::kHelpHint, 1,
     NENGA_BMP_HELP, 32, 32},
}};

// frmAtari. The label's size follows its text; the table holds its empty size.
constexpr std::array<ControlLayout, 3> kAtariControls{{
    {ids::kLblAtari, K::kAutoSizeLabel, 48, 16, 0, 0, "", kBold48Red, nullptr, -1, nullptr, 0, 0},
    {ids::kImCongrat, K::kPicture, 16, 72, 540, 342, "", kFormFont, nullptr, -1, NENGA_BMP_CONGRAT,
     540, 342},
    {ids::kCmdOK, K::kPushButton, 240, 424, 81, 25, words::kOkText, kBold13, nullptr, 0, nullptr, 0,
     0},
}};

template <std::size_t N>
std::vector<ControlLayout> Scaled(const std::array<ControlLayout, N>& table, int fontHeight) {
  // Windows moves the focus in creation order, so the controls that take the focus are
  // created in their tab order. One that takes none goes with the row after it: screen
  // readers name a box after the label just before it.
  std::vector<std::pair<int, ControlLayout>> keyed(table.size(), {-1, {}});
  int following = -1;
  for (std::size_t i = table.size(); i-- > 0;) {
    if (table[i].tabOrder >= 0) following = table[i].tabOrder;
    ControlLayout row = table[i];
    row.x = ScaleToFont(row.x, fontHeight);
    row.y = ScaleToFont(row.y, fontHeight);
    row.width = ScaleToFont(row.width, fontHeight);
    row.height = ScaleToFont(row.height, fontHeight);
    row.font.height = ScaleToFont(row.font.height, fontHeight);
    keyed[i] = {following, row};
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ControlLayout> rows;
  rows.reserve(keyed.size());
  for (const auto& [order, row] : keyed) rows.push_back(row);
  return rows;
}

}  // namespace

FormLayout MainFormLayout(int fontHeight) {
  return {L"TfrmMain",
          words::kMainCaption,
          ScaleToFont(193, fontHeight),
          ScaleToFont(345, fontHeight),
          ScaleToFont(kDesignFontHeight, fontHeight),
          Scaled(kMainControls, fontHeight)};
}

FormLayout AtariFormLayout(int fontHeight) {
  return {L"TfrmAtari",
          words::kWinCaption,
          ScaleToFont(568, fontHeight),
          ScaleToFont(460, fontHeight),
          ScaleToFont(kDesignFontHeight, fontHeight),
          Scaled(kAtariControls, fontHeight)};
}

}  // namespace nenga
