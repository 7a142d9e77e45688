#include "platform/win32/open_dialog.h"

#include <algorithm>

#include "toolkit/geometry.h"

namespace nenga {
namespace {

// Moves the dialog onto the monitor of the window named in lCustData once it is
// built. The hook's own dialog is an empty child; the real dialog is its parent.
UINT_PTR CALLBACK OpenDialogHook(HWND hookDialog, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY) return 0;
  const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
  if (notify->hdr.code != CDN_INITDONE) return 0;

  const HWND dialog = ::GetParent(hookDialog);
  const HWND placeOn = reinterpret_cast<HWND>(notify->lpOFN->lCustData);
  const HMONITOR monitor = placeOn ? ::MonitorFromWindow(placeOn, MONITOR_DEFAULTTOPRIMARY)
                                   : ::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  RECT frame{};
  if (!::GetMonitorInfoW(monitor, &info) || !::GetWindowRect(dialog, &frame)) return 0;
  const POINT at =
      PlaceOpenDialog(info.rcWork, {frame.right - frame.left, frame.bottom - frame.top});
  ::SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

}  // namespace

std::optional<std::wstring> ShowOpenDialog(const OpenDialogRequest& request) {
  wchar_t file[kOpenDialogFileChars] = {};
  const std::size_t kept = std::min<std::size_t>(request.fileName.size(), kOpenDialogFileChars - 1);
  std::copy_n(request.fileName.begin(), kept, file);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = request.owner;
  ofn.lpstrFilter = request.filterList.empty() ? nullptr : request.filterList.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = kOpenDialogFileChars;
  ofn.lpstrInitialDir = nullptr;
  ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
  ofn.lpstrDefExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
  ofn.Flags = kOpenDialogFlags;
  ofn.lpfnHook = OpenDialogHook;
  ofn.lCustData = reinterpret_cast<LPARAM>(request.placeOn);
  if (!::GetOpenFileNameW(&ofn)) return std::nullopt;
  return std::wstring(file);
}

}  // namespace nenga
