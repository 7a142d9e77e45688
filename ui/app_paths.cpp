#include "ui/app_paths.h"

#include <windows.h>

namespace nenga {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; }

}  // namespace

std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // cut short: try a larger buffer
  }
}

std::wstring AppTitleFromExePath(std::wstring_view exePath) {
  std::size_t start = exePath.size();
  while (start > 0 && !IsSeparator(exePath[start - 1])) --start;
  std::wstring_view name = exePath.substr(start);
  name = name.substr(0, name.find(L'.'));
  std::wstring title(name);
  if (!title.empty()) CharUpperBuffW(title.data(), 1);
  if (title.size() > 1) {
    CharLowerBuffW(title.data() + 1, static_cast<DWORD>(title.size() - 1));
  }
  return title;
}

std::wstring FolderOfPath(std::wstring_view path) {
  std::size_t end = path.size();
  while (end > 0 && path[end - 1] != L'\\' && path[end - 1] != L'/') --end;
  return std::wstring(path.substr(0, end));
}

std::wstring EditFileNameForYear(int year) {
  std::wstring name;
  for (int rest = year; rest > 0 || name.size() < 4; rest /= 10) {
    name.insert(name.begin(), static_cast<wchar_t>(L'0' + rest % 10));
  }
  return name + L".txt";
}

}  // namespace nenga
