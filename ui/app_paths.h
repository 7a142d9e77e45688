// What the program derives from its executable's path and the clock.
#pragma once

#include <string>
#include <string_view>

namespace nenga {

// The executable's full path.
std::wstring ExecutablePath();

// The application title: the file name without its folder, cut at its first '.',
// capitalised: "C:\\X\\TOOL.EXE" gives "Tool", "my.app.exe" gives "My".
std::wstring AppTitleFromExePath(std::wstring_view exePath);

// The folder of a path, cut after its last separator, so it keeps the separator
// ("C:\\nenga.exe" gives "C:\\").
std::wstring FolderOfPath(std::wstring_view path);

// The year's winning-number file name: the year in four digits and ".txt".
std::wstring EditFileNameForYear(int year);

}  // namespace nenga
