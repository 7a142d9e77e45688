// The system's open-file dialog as the program uses it.
#pragma once

#include <windows.h>
// commdlg.h builds on windows.h.
#include <commdlg.h>

#include <optional>
#include <string>

namespace nenga {

struct OpenDialogRequest {
  HWND owner = nullptr;    // the dialog's owner window
  HWND placeOn = nullptr;  // the dialog is placed on this window's monitor
  std::wstring title;
  std::wstring filterList;  // double-'\0'-ended (WideFilterList); empty for none
  std::wstring defaultExt;
  std::wstring fileName;  // the file-name field's first content
};

// The file-name field holds this many characters, its ending '\0' included.
inline constexpr DWORD kOpenDialogFileChars = 260;

// Shows the explorer-style dialog; returns the full path the user chose, or nothing
// when the user cancelled or the dialog failed.
std::optional<std::wstring> ShowOpenDialog(const OpenDialogRequest& request);

// The flags the dialog is shown with: no check that the file or its folder exists,
// and the current folder follows the user's choice.
inline constexpr DWORD kOpenDialogFlags =
    OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_ENABLEHOOK;

}  // namespace nenga
