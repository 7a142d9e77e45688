// Screen scales, in dots per inch (96 is 100 %), for windows that each keep their own.
// The functions that answer for one monitor or one scale came after Windows 7: each is
// looked up the first time it is needed, and where it is missing the answer is the
// system's scale, as a system-aware program gets.
#pragma once

#include <windows.h>

namespace nenga {

inline constexpr UINT kDefaultDpi = USER_DEFAULT_SCREEN_DPI;

// WM_GETDPISCALEDSIZE, of Windows 10 (1703): the headers for Windows 7 lack it.
inline constexpr UINT kGetDpiScaledSize = 0x02E4;

// The scale the system started the session at.
UINT SystemDpi();
// The scale of a monitor (GetDpiForMonitor's effective scale); the system's where the
// system cannot tell. The first call loads shcore.
UINT MonitorDpi(HMONITOR monitor);
// The scale of the primary monitor, where the program's windows are first made.
UINT PrimaryMonitorDpi();
// The scale of the monitor window stands on, told by the window itself where the system
// keeps a scale per window (GetDpiForWindow, Windows 10), which loads nothing; by the
// monitor elsewhere. Right for a window shown, or made a moment ago: a hidden window's
// own scale can be out of date.
UINT MonitorDpiOf(HWND window);

// The scale a window keeps: the one KeepWindowDpi last gave it, or else the system's
// answer for it (GetDpiForWindow). The system's answer can be out of date for a hidden
// window, and under Wine it is always the system scale.
UINT WindowDpi(HWND window);
void KeepWindowDpi(HWND window, UINT dpi);
// Before the window is destroyed.
void ForgetWindowDpi(HWND window);

// GetSystemMetrics, AdjustWindowRectEx and the non-client metrics (caption, message and
// status fonts) for a scale; at the system scale where the system has no such call
// (before Windows 10 a window's frame keeps the system scale's metrics anyway).
int MetricForDpi(int index, UINT dpi);
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi);
// Whether icons at scale dpi take the sizes they take at the system scale (a window
// class's icons, LR_DEFAULTSIZE), small and large alike.
bool IconSizesMatchSystemScale(UINT dpi);

// An icon size pixels square, for the caller to destroy: of the module's resources, or
// with instance nullptr the system's (IDI_WARNING); nullptr where there is no such icon.
// A larger image is scaled down where the icon lacks the size (LoadIconWithScaleDown).
HICON LoadIconOfSize(HINSTANCE instance, const wchar_t* name, int size);

// value * dpi / 96, rounded as MulDiv rounds.
inline int ScaleForDpi(int value, UINT dpi) {
  return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

}  // namespace nenga
