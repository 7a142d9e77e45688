// A stranger's winmm.dll, left beside the program: loaded, it leaves the file
// "winmm-loaded.txt" in its own folder, and it plays nothing.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH + 32] = {};
  DWORD end = GetModuleFileNameW(instance, path, MAX_PATH);
  while (end > 0 && path[end - 1] != L'\\') --end;
  lstrcpyW(path + end, L"winmm-loaded.txt");
  const HANDLE marker =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI PlaySoundW(LPCWSTR, HMODULE, DWORD) { return FALSE; }
