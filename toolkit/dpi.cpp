#include "toolkit/dpi.h"

#include <algorithm>
#include <iterator>

namespace nenga {
namespace {

template <class Fn>
void Find(HMODULE module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The calls of Windows 10 (1607), looked up once, so the program still starts on
// Windows 7. They are user32's, which every window needs anyway.
struct LateCalls {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

  GetDpiForWindowFn getDpiForWindow = nullptr;
  GetSystemMetricsForDpiFn getSystemMetricsForDpi = nullptr;
  AdjustWindowRectExForDpiFn adjustWindowRectExForDpi = nullptr;
  SystemParametersInfoForDpiFn systemParametersInfoForDpi = nullptr;

  LateCalls() {
    if (const HMODULE user = GetModuleHandleW(L"user32.dll")) {
      Find(user, "GetDpiForWindow", getDpiForWindow);
      Find(user, "GetSystemMetricsForDpi", getSystemMetricsForDpi);
      Find(user, "AdjustWindowRectExForDpi", adjustWindowRectExForDpi);
      Find(user, "SystemParametersInfoForDpi", systemParametersInfoForDpi);
    }
  }
};

const LateCalls& Late() {
  static const LateCalls calls;
  return calls;
}

// GetDpiForMonitor, of Windows 8.1, is shcore's: a DLL that brings others behind it
// (under Wine rpcrt4, combase and ole32), so it is loaded at the first question only
// a monitor can answer, never at start-up. By its full path: never a DLL of that name
// beside the program.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

GetDpiForMonitorFn LoadGetDpiForMonitor() {
  wchar_t path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  constexpr wchar_t kShcore[] = L"\\shcore.dll";
  GetDpiForMonitorFn fn = nullptr;
  if (length > 0 && length + std::size(kShcore) <= MAX_PATH) {
    std::copy(std::begin(kShcore), std::end(kShcore), path + length);
    if (const HMODULE shcore = LoadLibraryW(path)) Find(shcore, "GetDpiForMonitor", fn);
  }
  return fn;
}

GetDpiForMonitorFn GetDpiForMonitorCall() {
  static const GetDpiForMonitorFn fn = LoadGetDpiForMonitor();
  return fn;
}

constexpr wchar_t kDpiProperty[] = L"Nenga.Dpi";

}  // namespace

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return kDefaultDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT MonitorDpi(HMONITOR monitor) {
  UINT x = 0, y = 0;
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  if (monitor == nullptr) return SystemDpi();
  const GetDpiForMonitorFn getDpiForMonitor = GetDpiForMonitorCall();
  if (getDpiForMonitor != nullptr && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) &&
      y > 0) {
    return y;
  }
  return SystemDpi();
}

UINT PrimaryMonitorDpi() { return MonitorDpi(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY)); }

UINT MonitorDpiOf(HWND window) {
  if (Late().getDpiForWindow != nullptr) {
    if (const UINT dpi = Late().getDpiForWindow(window)) return dpi;
  }
  return MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

UINT WindowDpi(HWND window) {
  if (const auto kept = reinterpret_cast<UINT_PTR>(GetPropW(window, kDpiProperty))) {
    return static_cast<UINT>(kept);
  }
  if (Late().getDpiForWindow != nullptr) {
    if (const UINT dpi = Late().getDpiForWindow(window)) return dpi;
  }
  return SystemDpi();
}

void KeepWindowDpi(HWND window, UINT dpi) {
  SetPropW(window, kDpiProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dpi)));
}

void ForgetWindowDpi(HWND window) { RemovePropW(window, kDpiProperty); }

int MetricForDpi(int index, UINT dpi) {
  if (Late().getSystemMetricsForDpi != nullptr) return Late().getSystemMetricsForDpi(index, dpi);
  return GetSystemMetrics(index);
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
  if (Late().adjustWindowRectExForDpi != nullptr) {
    return Late().adjustWindowRectExForDpi(&rect, style, FALSE, exStyle, dpi) != FALSE;
  }
  return AdjustWindowRectEx(&rect, style, FALSE, exStyle) != FALSE;
}

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi) {
  metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (Late().systemParametersInfoForDpi != nullptr) {
    return Late().systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                                             dpi) != FALSE;
  }
  return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) != FALSE;
}

bool IconSizesMatchSystemScale(UINT dpi) {
  return MetricForDpi(SM_CXSMICON, dpi) == GetSystemMetrics(SM_CXSMICON) &&
         MetricForDpi(SM_CXICON, dpi) == GetSystemMetrics(SM_CXICON);
}

HICON LoadIconOfSize(HINSTANCE instance, const wchar_t* name, int size) {
  // LoadIconWithScaleDown (common controls 6, which the program's manifest asks for)
  // scales a larger image down where the icon lacks the size, rather than a smaller one
  // up. It is looked up in the comctl32 already loaded: the import library lacks it.
  using LoadScaledDown = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  if (const HMODULE comctl = GetModuleHandleW(L"comctl32.dll")) {
    const auto load = reinterpret_cast<LoadScaledDown>(
        reinterpret_cast<void*>(GetProcAddress(comctl, "LoadIconWithScaleDown")));
    HICON icon = nullptr;
    if (load && SUCCEEDED(load(instance, name, size, size, &icon)) && icon) return icon;
  }
  // Not shared: a shared icon is the size first loaded, whatever size is asked. A
  // system icon loads only shared, so it is copied at the size.
  if (instance == nullptr) {
    const HICON shared = LoadIconW(nullptr, name);
    return shared ? static_cast<HICON>(CopyImage(shared, IMAGE_ICON, size, size, 0)) : nullptr;
  }
  return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, size, size, 0));
}

}  // namespace nenga
