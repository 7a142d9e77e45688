// Where the program's late-loaded DLLs come from.
#pragma once

#include <windows.h>

namespace nenga {

// From now on a DLL loaded by name (winmm at the first sound cue, comdlg32 and shell32
// at their first command, dwmapi once the windows are up) comes from the system folder
// only, never from the program's folder, where a stranger's DLL of the same name may lie
// (a downloads folder). Call it first thing, before anything is loaded late. Looked up by name: a
// Windows 7 without the update that brought it keeps the usual search order and still starts.
inline void LoadSystemDllsFromSystemFolderOnly() {
  using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return;
  const auto set = reinterpret_cast<SetDefaultDllDirectoriesProc>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace nenga
