// The program's own information box: a modal dialog with the text in the message font
// and an OK button, laid out from the font's measurements (see LayoutInfoBox).
#pragma once

#include <windows.h>

#include <string>

namespace nenga {

// The id of the box's text, a static control; test drivers read the text by it.
inline constexpr int kInfoTextId = 301;

// The id of the warning icon's static control, when the box has one.
inline constexpr int kInfoIconId = 302;

// The id of the button beside OK that opens the file in Notepad, when the box has one.
inline constexpr int kInfoNotepadId = 303;

enum class InfoBoxKind {
  kInformation,  // no icon; an "&" underlines the character after it
  // a warning icon; the text, which quotes a file, shown as it stands; beside OK the
  // button kInfoNotepadId, 「メモ帳で開く」
  kFileWarning,
};

// Shows the box owned by owner and returns when it is closed (OK, Enter, Escape, the
// close box, or the button beside OK), laid out in the message font at the scale (dots per
// inch) of the monitor it shows on, the primary one. The text's static control has id
// kInfoTextId, the button IDOK, the default. True when the button beside OK closed it.
bool ShowInfoBox(HINSTANCE instance, HWND owner, std::wstring text, std::wstring caption, UINT dpi,
                 InfoBoxKind kind = InfoBoxKind::kInformation);

}  // namespace nenga
