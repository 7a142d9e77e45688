#include "ui/layouts.h"

#include <algorithm>
#include <array>
#include <utility>

#include "resources/resource.h"
#include "ui/control_ids.h"
#include "winning/words.h"

namespace nenga {
namespace {

constexpr FontStyle kBold12{.height = 12, .bold = true};
constexpr FontStyle kBold13{.height = 13, .bold = true};
constexpr FontStyle kBold48Red{.height = 48, .bold = true, .color = kRed};

using K = ControlKind;

// One row a control, each field named; a field left out keeps ControlLayout's default.
// clang-format off

// frmMain
constexpr std::array<ControlLayout, 8> kMainControls{{
    {.id = ids::kLabel1, .kind = K::kLabel, .x = 32, .y = 8, .width = 128, .height = 12,
     .text = words::kLabel1Text, .font = kBold12},
    {.id = ids::kTxtNum, .kind = K::kEdit, .x = 16, .y = 24, .width = 161, .height = 21,
     .font = kBold13, .tabOrder = 0},
    {.id = ids::kCmdCheck, .kind = K::kPictureButton, .x = 16, .y = 56, .width = 161, .height = 185,
     .hint = words::kCheckHint, .tabOrder = 4,
     .picture = NENGA_BMP_CHECK, .pictureWidth = 151, .pictureHeight = 172},
    {.id = ids::kLabel2, .kind = K::kLabel, .x = 16, .y = 248, .width = 56, .height = 13,
     .text = words::kLabel2Text, .font = kBold13},
    {.id = ids::kTxtLast, .kind = K::kReadOnlyEdit, .x = 16, .y = 264, .width = 161, .height = 21,
     .font = kBold13, .hint = words::kLastHint, .tabOrder = 5},
    {.id = ids::kCmdOpen, .kind = K::kPictureButton, .x = 16, .y = 288, .width = 41, .height = 41,
     .hint = words::kOpenHint, .tabOrder = 3,
     .picture = NENGA_BMP_OPEN, .pictureWidth = 16, .pictureHeight = 16},
    {.id = ids::kCmdEdit, .kind = K::kPictureButton, .x = 64, .y = 288, .width = 57, .height = 41,
     .hint = words::kEditHint, .tabOrder = 2,
     .picture = NENGA_BMP_EDIT, .pictureWidth = 32, .pictureHeight = 32},
    {.id = ids::kCmdHelp, .kind = K::kPictureButton, .x = 136, .y = 288, .width = 41, .height = 41,
     .hint = words::kHelpHint, .tabOrder = 1,
     .picture = NENGA_BMP_HELP, .pictureWidth = 32, .pictureHeight = 32},
}};

// frmAtari. The label's size follows its text; the table holds its empty size.
constexpr std::array<ControlLayout, 3> kAtariControls{{
    {.id = ids::kLblAtari, .kind = K::kAutoSizeLabel, .x = 48, .y = 16, .font = kBold48Red},
    {.id = ids::kImCongrat, .kind = K::kPicture, .x = 16, .y = 72, .width = 540, .height = 342,
     .picture = NENGA_BMP_CONGRAT, .pictureWidth = 540, .pictureHeight = 342},
    {.id = ids::kCmdOK, .kind = K::kPushButton, .x = 240, .y = 424, .width = 81, .height = 25,
     .text = words::kOkText, .font = kBold13, .tabOrder = 0},
}};

// clang-format on

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
  return {.className = L"TfrmMain",
          .caption = words::kMainCaption,
          .clientWidth = ScaleToFont(193, fontHeight),
          .clientHeight = ScaleToFont(345, fontHeight),
          .fontHeight = ScaleToFont(kDesignFontHeight, fontHeight),
          .controls = Scaled(kMainControls, fontHeight)};
}

FormLayout AtariFormLayout(int fontHeight) {
  return {.className = L"TfrmAtari",
          .caption = words::kWinCaption,
          .clientWidth = ScaleToFont(568, fontHeight),
          .clientHeight = ScaleToFont(460, fontHeight),
          .fontHeight = ScaleToFont(kDesignFontHeight, fontHeight),
          .controls = Scaled(kAtariControls, fontHeight)};
}

}  // namespace nenga
