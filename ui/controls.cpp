#include "ui/controls.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/win32/wide.h"
#include "ui/picture.h"

namespace nenga {
namespace {

struct WindowKind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

WindowKind KindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:  // one line: a wider font cuts the text off, never wraps it
    case ControlKind::kAutoSizeLabel:
      return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case ControlKind::kEdit:
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kReadOnlyEdit:
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
    case ControlKind::kPictureButton:
      return {L"BUTTON", BS_OWNERDRAW, 0};
    case ControlKind::kPicture:
      return {L"STATIC", SS_OWNERDRAW, 0};
    case ControlKind::kPushButton:
      return {L"BUTTON", BS_PUSHBUTTON, 0};
  }
  return {L"STATIC", 0, 0};
}

// The colour of a control's text on a background of the system's: its own colour, or
// the system's text colour for that background (COLOR_WINDOWTEXT, COLOR_BTNTEXT) where it
// has none or high contrast is on.
COLORREF TextColor(const BuiltControls& built, HWND control, int systemTextColor) {
  const auto own = built.textColors.find(GetDlgCtrlID(control));
  if (own == built.textColors.end()) return GetSysColor(systemTextColor);
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  const bool highContrast =
      SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
      (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
  return highContrast ? GetSysColor(systemTextColor) : own->second;
}

}  // namespace

Font CreateFormFont(int height, bool bold) {
  LOGFONTW lf{};
  lf.lfHeight = -height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::wstring face = WideFromShiftJis("ＭＳ Ｐゴシック");
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return Font(CreateFontIndirectW(&lf));
}

int MeasureFormFontHeight(UINT dpi) {
  int measured = kDesignFontHeight;
  // The window font is 9 points: 12 pixels at 96 dots per inch.
  if (const Font font = CreateFormFont(MulDiv(9, static_cast<int>(dpi), 72), false)) {
    const WindowDcWithFont screen(nullptr, font.get());
    TEXTMETRICW metrics{};
    if (screen.get() != nullptr && GetTextMetricsW(screen.get(), &metrics)) {
      measured = metrics.tmHeight - metrics.tmInternalLeading;
    }
  }
  return measured > 0 ? measured : kDesignFontHeight;
}

void FitLabelToText(HWND label, const ControlLayout& row, std::string_view text,
                    const std::vector<ControlLayout>& rows) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  const SIZE needed = MeasureText(label, font, text);
  RECT client{};
  GetClientRect(GetParent(label), &client);
  const int width = std::max(row.width, std::min<int>(needed.cx, client.right - row.x));
  // The free room in the label's columns, between the nearest rows above and below it.
  int roomTop = 0;
  int roomBottom = client.bottom;
  for (const ControlLayout& other : rows) {
    if (other.id == row.id || other.x >= row.x + width || other.x + other.width <= row.x) continue;
    if (other.y >= row.y + row.height) {
      roomBottom = std::min(roomBottom, other.y);
    } else if (other.y + other.height <= row.y) {
      roomTop = std::max(roomTop, other.y + other.height);
    }
  }
  const int height =
      std::max(row.height, std::min(static_cast<int>(needed.cy), roomBottom - roomTop));
  const int top = row.y + height <= roomBottom ? row.y : std::max(roomTop, roomBottom - height);
  SetWindowPos(label, nullptr, row.x, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// What a control made from row takes from its layout's scale: its font, its text
// colour and its picture; a label is fitted to its text.
void Dress(HWND control, HINSTANCE instance, const ControlLayout& row, const FormLayout& layout,
           BuiltControls& built) {
  HFONT font = built.formFont.get();
  if (row.font.height != 0) {
    built.fonts.push_back(CreateFormFont(row.font.height, row.font.bold));
    font = built.fonts.back().get();
  }
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (row.kind == ControlKind::kLabel) FitLabelToText(control, row, row.text, layout.controls);
  if (row.font.color != kBlack) built.textColors[row.id] = static_cast<COLORREF>(row.font.color);
  if (row.picture != nullptr) {
    // The pictures are drawn for the design font; they grow with the layout.
    const SIZE shown{ScaleToFont(row.pictureWidth, layout.fontHeight),
                     ScaleToFont(row.pictureHeight, layout.fontHeight)};
    built.pictures[row.id] = Picture(instance, row.picture, {row.pictureWidth, row.pictureHeight},
                                     shown, row.kind == ControlKind::kPictureButton);
  }
}

}  // namespace

bool BuildControls(HWND parent, HINSTANCE instance, const FormLayout& layout,
                   BuiltControls& built) {
  if (!built.formFont) built.formFont = CreateFormFont(layout.fontHeight, false);
  for (const ControlLayout& row : layout.controls) {
    const WindowKind kind = KindOf(row.kind);
    DWORD style = WS_CHILD | WS_VISIBLE | kind.style;
    if (row.tabOrder >= 0) style |= WS_TABSTOP;
    // A picture button draws no text; its window text is its hint, the name screen
    // readers give it.
    const bool named = row.kind == ControlKind::kPictureButton && row.hint != nullptr;
    const std::wstring text = WideFromShiftJis(named ? row.hint : row.text);
    HWND control = CreateWindowExW(
        kind.exStyle, kind.className, text.c_str(), style, row.x, row.y, row.width, row.height,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
    if (control == nullptr) return false;
    if (row.kind == ControlKind::kEdit || row.kind == ControlKind::kReadOnlyEdit) {
      SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // no length limit
    }
    Dress(control, instance, row, layout, built);
  }
  return true;
}

void LayOutControls(HWND parent, const FormLayout& layout, BuiltControls& built) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  BuiltControls scaled;
  scaled.formFont = CreateFormFont(layout.fontHeight, false);
  for (const ControlLayout& row : layout.controls) {
    HWND control = GetDlgItem(parent, row.id);
    if (control == nullptr) continue;
    SetWindowPos(control, nullptr, row.x, row.y, row.width, row.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Dress(control, instance, row, layout, scaled);
  }
  built = std::move(scaled);  // the controls hold the new fonts: the old ones go
}

LRESULT ColorControl(const BuiltControls& built, HDC dc, HWND control, bool edit) {
  SetTextColor(dc, TextColor(built, control, edit ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
  const int background = edit ? COLOR_WINDOW : COLOR_BTNFACE;
  SetBkColor(dc, GetSysColor(background));
  SetBkMode(dc, OPAQUE);
  return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

std::string WindowTextShiftJis(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return ShiftJisFromWide(text);
}

void SetWindowTextShiftJis(HWND control, std::string_view text) {
  SetWindowTextW(control, WideFromShiftJis(text).c_str());
}

SIZE MeasureText(HWND window, HFONT font, std::string_view text) {
  const std::wstring wide = WideFromShiftJis(text);
  const WindowDcWithFont dc(window, font);
  if (dc.get() == nullptr) return {0, 0};
  RECT bounds{0, 0, 0, 0};
  DrawTextW(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &bounds,
            DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

}  // namespace nenga
