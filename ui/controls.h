// Builds the controls of a window from its layout table.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "ui/layouts.h"
#include "ui/picture.h"
#include "ui/window.h"

namespace nenga {

// "ＭＳ Ｐゴシック" at the given pixel height, Shift-JIS character set.
Font CreateFormFont(int height, bool bold);

// The height of the window font at a screen scale (dots per inch): 12 pixels at 96.
// The layouts are scaled by it.
int MeasureFormFontHeight(UINT dpi);

// What a window keeps of its built controls: fonts and pictures live as long as the
// controls that use them.
struct BuiltControls {
  Font formFont;
  std::vector<Font> fonts;
  std::map<int, Picture> pictures;     // by control ID, at the window's scale
  std::map<int, COLORREF> textColors;  // by control ID, where not the system's text colour
};

// Places a label showing text in its font: at its row's left edge, as large as its row
// or, where the text needs more, as its text (a text does not grow exactly with the
// font's height, and the face that stands in where "ＭＳ Ｐゴシック" is missing may have a
// taller line), within its window's client area. It grows to the right, and downwards
// into the room its window's rows leave free below it; where that room is too low, it
// rises into the room above instead of covering the control below.
void FitLabelToText(HWND label, const ControlLayout& row, std::string_view text,
                    const std::vector<ControlLayout>& rows);

// Creates the controls of layout as children of parent, after any made before, in the
// table's order, which is also the order the focus moves in. A label is fitted to its
// text among layout's rows. Returns false when a control could not be made.
bool BuildControls(HWND parent, HINSTANCE instance, const FormLayout& layout, BuiltControls& built);

// Lays out again the controls BuildControls made of layout's rows, for another scale:
// each placed and given its font and picture as BuildControls would, a label fitted to
// its text. Text, selection and focus stay; the old fonts and pictures are released
// once no control uses them.
void LayOutControls(HWND parent, const FormLayout& layout, BuiltControls& built);

// Answers WM_CTLCOLORSTATIC (edit false) and WM_CTLCOLOREDIT (edit true) for a built
// control: labels and read-only boxes on the button face, an edit box on the window
// colour, each in its own text colour, or the system's where it has none or high
// contrast is on. Returns the background brush.
LRESULT ColorControl(const BuiltControls& built, HDC dc, HWND control, bool edit);

// The window text of a control as Shift-JIS, and the reverse.
std::string WindowTextShiftJis(HWND control);
void SetWindowTextShiftJis(HWND control, std::string_view text);

// Width and height of text drawn in font.
SIZE MeasureText(HWND window, HFONT font, std::string_view text);

}  // namespace nenga
