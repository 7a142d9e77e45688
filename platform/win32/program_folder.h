// Where the program's files are: the folder of its executable. The main window keeps
// it as AppDir for the editor and the help; the platform plays the sound cues from it.
#pragma once

#include <string>
#include <string_view>

namespace nenga {

// The executable's full path; empty when it cannot be had.
std::wstring ExecutablePath();

// The folder of a path, cut after its last separator, so it keeps the separator
// ("C:\\nenga.exe" gives "C:\\"); empty for a bare file name. Public as a test seam.
std::wstring FolderOfPath(std::wstring_view path);

// The executable's folder, ending with its separator: FolderOfPath(ExecutablePath()).
std::wstring ProgramFolder();

}  // namespace nenga
