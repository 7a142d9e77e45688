// Stands in for Notepad in the editor test, built as notepad.exe. Wherever it is put,
// it writes "notepad-ran.txt" beside itself: its command line, a line feed and its
// working folder, in UTF-16. Left beside the program it is a stranger's program that
// must not run; in the system folder it is the system's Notepad.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t record[MAX_PATH + 32] = {};
  DWORD end = GetModuleFileNameW(nullptr, record, MAX_PATH);
  while (end > 0 && record[end - 1] != L'\\') --end;
  lstrcpyW(record + end, L"notepad-ran.txt");
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  // Written under another name first, so the test never reads half a record.
  wchar_t partial[MAX_PATH + 40] = {};
  lstrcpyW(partial, record);
  lstrcatW(partial, L".part");
  const HANDLE file = CreateFileW(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const wchar_t* parts[] = {GetCommandLineW(), L"\n", folder};
  bool written = true;
  for (const wchar_t* part : parts) {
    DWORD done = 0;
    const DWORD bytes = static_cast<DWORD>(lstrlenW(part)) * DWORD{sizeof(wchar_t)};
    written = written && WriteFile(file, part, bytes, &done, nullptr) && done == bytes;
  }
  CloseHandle(file);
  return written && MoveFileExW(partial, record, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
