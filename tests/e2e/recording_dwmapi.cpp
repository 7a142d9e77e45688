// Stands in for the desktop window manager's dwmapi.dll (Wine's own only stubs the
// taskbar's picture calls): composition is on, and every call that sets a window
// attribute, hands over a picture or drops them is written as one line to "dwm.log" in
// the folder named by the environment variable NENGA_DWM_RECORD; each picture handed
// over is saved beside it, a BMP file:
//   attribute HWND ATTRIBUTE VALUE
//   thumbnail HWND WIDTH HEIGHT BITS FILE        (BITS: 0 when not a DIB section)
//   preview HWND WIDTH HEIGHT BITS X Y FILE      (X Y: the offset handed with it)
//   invalidate HWND
// It also plays, on the program's own thread (the one that first asks whether composition
// is on), what Windows does when a monitor's scale changes: a message
// "Nenga.Test.ChangeScale" posted to a window, the new scale in wParam, becomes
// WM_GETDPISCALEDSIZE and then WM_DPICHANGED with the rectangle Windows would suggest, of
// the size the window said, at its top-left corner, sent to that window. Each is logged:
//   scale HWND DPI WIDTH HEIGHT
// Loaded, it writes when, by the program's thread, and whether shcore came before it:
//   loaded after|before the first paint, from|before the event loop, shcore loaded|not loaded
// With NENGA_DWM_TASKBAR set, it answers the program's own GetMonitorInfoW and
// GetWindowPlacement as Windows does with a taskbar on the left and at the top, which
// Xvfb lacks: the primary monitor's work area starts at kTaskbar, and a placement is in
// workspace coordinates, which start at the work area.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

std::wstring Folder() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"NENGA_DWM_RECORD", folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder) + L"\\" : std::wstring();
}

void Write(const std::wstring& file, const void* bytes, DWORD size, bool append) {
  // The test reads the log while the program runs: a line is never lost to its reading.
  const HANDLE out = CreateFileW(
      file.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
      nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(out, bytes, size, &written, nullptr);
  CloseHandle(out);
}

void Log(const std::string& line) {
  const std::wstring folder = Folder();
  if (folder.empty()) return;
  const std::string text = line + "\n";
  Write(folder + L"dwm.log", text.data(), static_cast<DWORD>(text.size()), true);
}

std::string Handle(HWND window) {
  return std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
}

// "WIDTH HEIGHT BITS FILE" of a picture, saved as a top-down BMP file when it is a
// DIB section (BITS its colour depth); "0 0 0 -" for anything else.
std::string Save(HBITMAP bitmap, const char* kind) {
  static int count = 0;
  DIBSECTION dib{};
  if (GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib)) return "0 0 0 -";
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = dib.dsBm.bmWidth;
  header.biHeight = -dib.dsBm.bmHeight;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  const DWORD pixelBytes = 4 * static_cast<DWORD>(dib.dsBm.bmWidth * dib.dsBm.bmHeight);
  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  fileHeader.bfSize = fileHeader.bfOffBits + pixelBytes;
  std::string bytes(fileHeader.bfSize, '\0');
  std::memcpy(bytes.data(), &fileHeader, sizeof(fileHeader));
  std::memcpy(bytes.data() + sizeof(fileHeader), &header, sizeof(header));
  const HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(dib.dsBm.bmHeight),
                             bytes.data() + fileHeader.bfOffBits,
                             reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != dib.dsBm.bmHeight) return "0 0 0 -";
  const std::string name = std::string(kind) + "-" + std::to_string(++count) + ".bmp";
  Write(Folder() + std::wstring(name.begin(), name.end()), bytes.data(),
        static_cast<DWORD>(bytes.size()), false);
  return std::to_string(dib.dsBm.bmWidth) + " " + std::to_string(dib.dsBm.bmHeight) + " " +
         std::to_string(dib.dsBm.bmBitsPixel) + " " + name;
}

constexpr POINT kTaskbar{48, 32};

BOOL WINAPI MonitorInfoBesideTaskbar(HMONITOR monitor, MONITORINFO* info) {
  if (!GetMonitorInfoW(monitor, info)) return FALSE;
  if (info->dwFlags & MONITORINFOF_PRIMARY) {
    info->rcWork.left = info->rcMonitor.left + kTaskbar.x;
    info->rcWork.top = info->rcMonitor.top + kTaskbar.y;
  }
  return TRUE;
}

BOOL WINAPI PlacementBesideTaskbar(HWND window, WINDOWPLACEMENT* placement) {
  if (!GetWindowPlacement(window, placement)) return FALSE;
  OffsetRect(&placement->rcNormalPosition, -kTaskbar.x, -kTaskbar.y);
  return TRUE;
}

// Points the program's import of user32's function `name` at `answer`.
void AnswerForUser32(const char* name, void* answer) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const DWORD imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); dll->Name; ++dll) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + dll->Name), "user32.dll") != 0) continue;
    auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
    for (auto* by = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
         by->u1.AddressOfData != 0; ++by, ++slot) {
      if (IMAGE_SNAP_BY_ORDINAL(by->u1.Ordinal) ||
          std::strcmp(
              reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + by->u1.AddressOfData)->Name,
              name) != 0) {
        continue;
      }
      DWORD was = 0;
      VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &was);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(answer);
      VirtualProtect(slot, sizeof(*slot), was, &was);
    }
  }
}

HHOOK scalePlayer = nullptr;

LRESULT CALLBACK PlayScaleChange(int code, WPARAM removed, LPARAM lParam) {
  static const UINT kChangeScale = RegisterWindowMessageW(L"Nenga.Test.ChangeScale");
  auto& msg = *reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && removed == PM_REMOVE && msg.message == kChangeScale) {
    const auto dpi = static_cast<UINT>(msg.wParam);
    constexpr UINT kGetDpiScaledSize = 0x02E4;
    SIZE size{};
    SendMessageW(msg.hwnd, kGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&size));
    RECT suggested{};
    GetWindowRect(msg.hwnd, &suggested);
    suggested.right = suggested.left + size.cx;
    suggested.bottom = suggested.top + size.cy;
    SendMessageW(msg.hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    Log("scale " + Handle(msg.hwnd) + " " + std::to_string(dpi) + " " + std::to_string(size.cx) +
        " " + std::to_string(size.cy));
    msg.message = WM_NULL;
  }
  return CallNextHookEx(scalePlayer, code, removed, lParam);
}

// A window of the thread drawn: visible, of some size, nothing left to paint.
BOOL CALLBACK FindPainted(HWND window, LPARAM painted) {
  RECT rect{};
  if (IsWindowVisible(window) && GetWindowRect(window, &rect) && !IsRectEmpty(&rect) &&
      !GetUpdateRect(window, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(painted) = true;
  }
  return TRUE;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    bool painted = false;
    EnumThreadWindows(GetCurrentThreadId(), FindPainted, reinterpret_cast<LPARAM>(&painted));
    // A message taken from the queue has a time: none before the event loop's first.
    Log(std::string("loaded ") + (painted ? "after" : "before") + " the first paint, " +
        (GetMessageTime() != 0 ? "from" : "before") + " the event loop, shcore " +
        (GetModuleHandleW(L"shcore.dll") ? "loaded" : "not loaded"));
  }
  return TRUE;
}

__declspec(dllexport) HRESULT WINAPI DwmIsCompositionEnabled(BOOL* enabled) {
  if (scalePlayer == nullptr) {
    scalePlayer = SetWindowsHookExW(WH_GETMESSAGE, PlayScaleChange, nullptr, GetCurrentThreadId());
    if (GetEnvironmentVariableW(L"NENGA_DWM_TASKBAR", nullptr, 0) > 0) {
      AnswerForUser32("GetMonitorInfoW", reinterpret_cast<void*>(&MonitorInfoBesideTaskbar));
      AnswerForUser32("GetWindowPlacement", reinterpret_cast<void*>(&PlacementBesideTaskbar));
    }
  }
  *enabled = TRUE;
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI
    DwmSetWindowAttribute(HWND window, DWORD attribute, LPCVOID value, DWORD size) {
  DWORD number = 0;
  std::memcpy(&number, value, size < sizeof(number) ? size : sizeof(number));
  Log("attribute " + Handle(window) + " " + std::to_string(attribute) + " " +
      std::to_string(number));
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI DwmSetIconicThumbnail(HWND window, HBITMAP bitmap, DWORD) {
  Log("thumbnail " + Handle(window) + " " + Save(bitmap, "thumbnail"));
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI
    DwmSetIconicLivePreviewBitmap(HWND window, HBITMAP bitmap, POINT* offset, DWORD) {
  std::string saved = Save(bitmap, "preview");
  const std::size_t file = saved.rfind(' ');
  const std::string at =
      offset ? std::to_string(offset->x) + " " + std::to_string(offset->y) : std::string("- -");
  Log("preview " + Handle(window) + " " + saved.substr(0, file) + " " + at + saved.substr(file));
  return S_OK;
}

__declspec(dllexport) HRESULT WINAPI DwmInvalidateIconicBitmaps(HWND window) {
  Log("invalidate " + Handle(window));
  return S_OK;
}

}  // extern "C"
