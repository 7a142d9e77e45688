// The program's own information box: a modal dialog with the text in the message font
// and one OK button, laid out from the font's measurements (see LayoutInfoBox).
#pragma once

#include <windows.h>

#include <string>

namespace nenga {

// The id of the box's text, a static control; test drivers read the text by it.
inline constexpr int kInfoTextId = 301;

// The id of the warning icon's static control, when the box has one.
inline constexpr int kInfoIconId = 302;

enum class InfoBoxKind {
  kInformation,  // no icon; an "&" underlines the character after it
  kFileWarning,  // a warning icon; the text, which quotes a file, shown as it stands
};

// Shows the box owned by owner and returns when it is closed (OK, Enter, Escape or the
// close box), laid out in the message font at the scale (dots per inch) of the monitor it
// shows on, the primary one. The text's static control has id kInfoTextId, the button IDOK.
void ShowInfoBox(HINSTANCE instance, HWND owner, std::wstring text, std::wstring caption, UINT dpi,
                 InfoBoxKind kind = InfoBoxKind::kInformation);

}  // namespace nenga
