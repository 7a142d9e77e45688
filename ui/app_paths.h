// What the program derives from its executable's path and the clock. The path itself
// and its folder come from platform/win32/program_folder.h.
#pragma once

#include <string>
#include <string_view>

namespace nenga {

// The application title: the file name without its folder, cut at its first '.',
// capitalised: "C:\\X\\TOOL.EXE" gives "Tool", "my.app.exe" gives "My".
std::wstring AppTitleFromExePath(std::wstring_view exePath);

// The year's winning-number file name: the year in four digits and ".txt".
std::wstring EditFileNameForYear(int year);

}  // namespace nenga
