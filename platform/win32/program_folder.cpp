#include "platform/win32/program_folder.h"

#include <windows.h>

namespace nenga {

std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // cut short: try a larger buffer
  }
}

std::wstring FolderOfPath(std::wstring_view path) {
  std::size_t end = path.size();
  while (end > 0 && path[end - 1] != L'\\' && path[end - 1] != L'/') --end;
  return std::wstring(path.substr(0, end));
}

std::wstring ProgramFolder() { return FolderOfPath(ExecutablePath()); }

}  // namespace nenga
