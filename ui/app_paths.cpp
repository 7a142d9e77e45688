#include "ui/app_paths.h"

#include <windows.h>

namespace nenga {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; }

}  // namespace

std::wstring AppTitleFromExePath(std::wstring_view exePath) {
  std::size_t start = exePath.size();
  while (start > 0 && !IsSeparator(exePath[start - 1])) --start;
  std::wstring_view name = exePath.substr(start);
  name = name.substr(0, name.find(L'.'));
  std::wstring title(name);
  // The system's case mapping, in UTF-16: a name in any script keeps its letters.
  if (!title.empty()) CharUpperBuffW(title.data(), 1);
  if (title.size() > 1) {
    CharLowerBuffW(title.data() + 1, static_cast<DWORD>(title.size() - 1));
  }
  return title;
}

std::wstring EditFileNameForYear(int year) {
  std::wstring name;
  for (int rest = year; rest > 0 || name.size() < 4; rest /= 10) {
    name.insert(name.begin(), static_cast<wchar_t>(L'0' + rest % 10));
  }
  return name + L".txt";
}

}  // namespace nenga
