#include "tests/e2e/driver.h"

// After windows.h (from the header), which it needs.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <utility>

namespace nenga::e2e {
namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kPollIntervalMs = 20;

// The scan codes that a keyboard would give these keys, for lParam.
UINT ScanCodeOf(UINT virtualKey) { return MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC); }

LPARAM KeyLParam(UINT virtualKey, bool up) {
  const auto scan = static_cast<LPARAM>(ScanCodeOf(virtualKey));
  LPARAM flags = 1 | (scan << 16);
  if (up) flags |= static_cast<LPARAM>(0xC0000000u);
  return flags;
}

bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result) != 0;
}

// Environment block of this process with one variable replaced or added.
std::wstring EnvironmentWith(std::wstring_view name, std::wstring_view value) {
  std::wstring block;
  const std::wstring prefix = std::wstring(name) + L"=";
  if (LPWCH strings = GetEnvironmentStringsW()) {
    for (const wchar_t* p = strings; *p != L'\0'; p += wcslen(p) + 1) {
      const std::wstring_view entry(p);
      if (entry.size() >= prefix.size() &&
          CompareStringOrdinal(entry.data(), static_cast<int>(prefix.size()), prefix.data(),
                               static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL) {
        continue;
      }
      block.append(entry).push_back(L'\0');
    }
    FreeEnvironmentStringsW(strings);
  }
  block.append(prefix).append(value).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

}  // namespace

std::string FileBytes(const std::filesystem::path& file, std::uintmax_t from) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(from));
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<std::wstring> FileUtf16(const std::filesystem::path& file) {
  const std::string bytes = FileBytes(file);
  if (bytes.empty() || bytes.size() % 2 != 0) return std::nullopt;
  std::wstring text(bytes.size() / 2, L'\0');
  std::memcpy(text.data(), bytes.data(), bytes.size());
  return text;
}

bool WaitUntil(const std::function<bool()>& condition, Millis timeout) {
  const ULONGLONG deadline = GetTickCount64() + timeout;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollIntervalMs);  // between two looks at the state, not instead of one
  }
}

std::filesystem::path WindowsPath(std::string_view path) {
  if (path.empty() || path.front() != '/') return std::filesystem::path(path);
  // Wine's own conversion knows the prefix's drive mapping; Z: is its default for /.
  using DosName = LPWSTR(CDECL*)(LPCSTR);
  if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
    const auto proc = GetProcAddress(kernel, "wine_get_dos_file_name");
    if (proc != nullptr) {
      DosName convert = nullptr;
      static_assert(sizeof(convert) == sizeof(proc));
      std::memcpy(&convert, &proc, sizeof(convert));
      const std::string unixPath(path);
      if (LPWSTR dos = convert(unixPath.c_str())) {
        std::filesystem::path result(dos);
        HeapFree(GetProcessHeap(), 0, dos);
        return result;
      }
    }
  }
  std::wstring dos = L"Z:";
  for (char c : path) dos.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
  return std::filesystem::path(dos);
}

std::optional<std::wstring> ReadText(HWND window) {
  DWORD_PTR length = 0;
  if (!IsWindow(window) || !SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, length)) {
    return std::nullopt;
  }
  std::wstring buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendWithTimeout(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                       copied)) {
    return std::nullopt;
  }
  buffer.resize(std::min<std::size_t>(copied, length));
  return buffer;
}

bool WriteText(HWND window, std::wstring_view text) {
  const std::wstring copy(text);
  DWORD_PTR result = 0;
  return SendWithTimeout(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()), result) &&
         result != 0;
}

std::wstring CaptionOf(HWND window) {
  wchar_t text[512] = {};
  const int n = InternalGetWindowText(window, text, static_cast<int>(std::size(text)));
  return std::wstring(text, static_cast<std::size_t>(std::max(n, 0)));
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (thread == 0 || !GetGUIThreadInfo(thread, &info)) return nullptr;
  return info.hwndFocus;
}

void PostChars(HWND window, std::wstring_view text) {
  for (wchar_t c : text) {
    PostMessageW(window, WM_CHAR, static_cast<WPARAM>(c), 1);
  }
}

void PostKey(HWND window, UINT virtualKey) {
  PostMessageW(window, WM_KEYDOWN, virtualKey, KeyLParam(virtualKey, false));
  PostMessageW(window, WM_KEYUP, virtualKey, KeyLParam(virtualKey, true));
}

void PostClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void ParkPointer() { SetCursorPos(0, 0); }

bool DrainPostedMessages(HWND edit) {
  DWORD_PTR limit = 0;
  if (!SendWithTimeout(edit, EM_GETLIMITTEXT, 0, 0, limit) || limit < 2) return false;
  // A limit above any text the tests type changes nothing the user could see.
  const DWORD_PTR marker = limit - 1;
  if (!PostMessageW(edit, EM_SETLIMITTEXT, marker, 0)) return false;
  const bool drained = WaitUntil([&] {
    DWORD_PTR now = 0;
    return SendWithTimeout(edit, EM_GETLIMITTEXT, 0, 0, now) && now == marker;
  });
  DWORD_PTR ignored = 0;
  SendWithTimeout(edit, EM_SETLIMITTEXT, limit, 0, ignored);
  return drained;
}

App::App(const LaunchOptions& options) {
  std::wstring commandLine = L"\"" + options.exe.wstring() + L"\"";
  std::wstring environment;
  if (!options.wineDebug.empty()) environment = EnvironmentWith(L"WINEDEBUG", options.wineDebug);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (options.showWindow) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = *options.showWindow;
  }
  PROCESS_INFORMATION info{};
  const BOOL created =
      CreateProcessW(options.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                     environment.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT,
                     environment.empty() ? nullptr : environment.data(),
                     options.workDir.empty() ? nullptr : options.workDir.c_str(), &startup, &info);
  if (!created) launchError_ = GetLastError();
  if (!created) return;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  threadId_ = info.dwThreadId;
}

App::~App() {
  if (process_ == nullptr) return;
  if (Running()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool App::Running() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> App::WaitForExit(Millis timeout) {
  if (process_ == nullptr) return std::nullopt;
  if (WaitForSingleObject(process_, timeout) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(process_, &code)) return std::nullopt;
  return code;
}

std::vector<HWND> App::TopWindows(std::wstring_view className, std::wstring_view caption,
                                  const std::vector<HWND>& except) const {
  return FindTopWindows(className, caption, except, true);
}

std::vector<HWND> App::AllTopWindows(std::wstring_view className, std::wstring_view caption) const {
  return FindTopWindows(className, caption, {}, false);
}

std::vector<HWND> App::FindTopWindows(std::wstring_view className, std::wstring_view caption,
                                      const std::vector<HWND>& except, bool visibleOnly) const {
  struct Search {
    DWORD pid;
    bool visibleOnly;
    std::wstring_view className;
    std::wstring_view caption;
    const std::vector<HWND>* except;
    std::vector<HWND> found;
  } search{processId_, visibleOnly, className, caption, &except, {}};

  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != s.pid || (s.visibleOnly && !IsWindowVisible(window))) return TRUE;
        if (std::find(s.except->begin(), s.except->end(), window) != s.except->end()) return TRUE;
        if (!s.className.empty() && ClassOf(window) != s.className) return TRUE;
        if (!s.caption.empty() && CaptionOf(window) != s.caption) return TRUE;
        s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND App::WaitForWindow(std::wstring_view className, std::wstring_view caption,
                        const std::vector<HWND>& except, Millis timeout) {
  HWND window = nullptr;
  WaitUntil(
      [&] {
        const auto found = TopWindows(className, caption, except);
        if (found.size() == 1) window = found.front();
        return window != nullptr || !Running();
      },
      timeout);
  return window;
}

bool App::WaitForHidden(HWND window, Millis timeout) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout);
}

std::optional<std::wstring> BoxText(HWND box, int infoTextId) {
  for (int id : {infoTextId, 0xFFFF}) {
    if (HWND text = GetDlgItem(box, id)) return ReadText(text);
  }
  return std::nullopt;
}

bool ChooseFileInDialog(HWND dialog, const std::filesystem::path& file) {
  // The explorer-style dialog's file name is the combo box cmb13 (or, in older
  // templates, the edit edt1); a combo box takes WM_SETTEXT into its edit.
  constexpr int kCmb13 = 0x47C;
  constexpr int kEdt1 = 0x480;
  HWND name = nullptr;
  if (!WaitUntil([&] {
        name = GetDlgItem(dialog, kCmb13);
        if (name == nullptr) name = GetDlgItem(dialog, kEdt1);
        return name != nullptr && IsWindowVisible(name);
      })) {
    return false;
  }
  if (ClassOf(name) != L"Edit") {
    if (HWND edit = FindWindowExW(name, nullptr, L"Edit", nullptr)) name = edit;
  }
  const std::wstring wanted = file.wstring();
  if (!WriteText(name, wanted) || ReadText(name) != wanted) return false;
  HWND open = GetDlgItem(dialog, IDOK);
  if (open == nullptr) return false;
  PostClick(open);
  return true;
}

SoundTrace ReadSoundTrace(const std::filesystem::path& logFile) {
  // Wine traces each call, then the sound as its thread starts on it:
  //   0123:trace:winmm:MULTIMEDIA_PlaySound pszSound='0x...' hmod=0000000000000000
  //   fdwSound=00020003 0124:trace:winmm:proc_PlaySound SoundName=L"Z:\\nenga\\pi.wav" !
  static constexpr std::string_view kCall = "fdwSound=";
  static constexpr std::string_view kName = "proc_PlaySound SoundName=L\"";
  SoundTrace trace;
  std::ifstream in(logFile, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (const auto at = line.find(kCall); at != std::string::npos) {
      const std::string hex = line.substr(at + kCall.size(), 8);
      if (hex.size() == 8) {
        trace.flags.push_back(static_cast<DWORD>(std::strtoul(hex.c_str(), nullptr, 16)));
      }
      continue;
    }
    const auto at = line.find(kName);
    if (at == std::string::npos) continue;
    const auto begin = at + kName.size();
    const auto end = line.find("\" !", begin);
    if (end == std::string::npos) continue;  // a line still being written
    trace.names.push_back(line.substr(begin, end - begin));
  }
  return trace;
}

std::string WineTraceText(std::wstring_view text) {
  std::string traced;
  for (const wchar_t c : text) {
    if (c == L'\\' || c == L'"') {
      traced += '\\';
      traced += static_cast<char>(c);
    } else if (c >= L' ' && c < 127) {
      traced += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\%04x", static_cast<unsigned>(c));
      traced += hex;
    }
  }
  return traced;
}

std::vector<std::string> SoundCues(const std::filesystem::path& logFile) {
  std::vector<std::string> cues = ReadSoundTrace(logFile).names;
  for (std::string& cue : cues) {
    if (const auto separator = cue.rfind('\\'); separator != std::string::npos) {
      cue.erase(0, separator + 1);
    }
  }
  return cues;
}

}  // namespace nenga::e2e

namespace nenga::e2e {
namespace {

// Wine's GDI handle table, reached from the PEB like Windows' own: one 24-byte entry
// per handle; a used entry has a non-zero type.
constexpr std::size_t kGdiTableOffsetInPeb = 0xF8;  // 64-bit PEB.GdiSharedHandleTable
constexpr std::size_t kGdiEntries = 0x10000;
constexpr std::size_t kGdiEntrySize = 24;
constexpr std::size_t kGdiTypeOffset = 14;

std::optional<int> CountGdiEntries(HANDLE process) {
  using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  struct BasicInformation {
    void* reserved1;
    void* pebBaseAddress;
    void* reserved2[2];
    ULONG_PTR uniqueProcessId;
    void* reserved3;
  } basic{};
  const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (query == nullptr || query(process, 0, &basic, sizeof(basic), nullptr) != 0) {
    return std::nullopt;
  }
  void* table = nullptr;
  SIZE_T read = 0;
  const auto* peb = static_cast<const char*>(basic.pebBaseAddress);
  if (!ReadProcessMemory(process, peb + kGdiTableOffsetInPeb, &table, sizeof(table), &read) ||
      table == nullptr) {
    return std::nullopt;
  }
  std::vector<unsigned char> entries(kGdiEntries * kGdiEntrySize);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &read)) {
    return std::nullopt;
  }
  int used = 0;
  for (std::size_t i = 0; i < kGdiEntries; ++i)
    used += entries[i * kGdiEntrySize + kGdiTypeOffset] != 0;
  return used;
}

}  // namespace

std::optional<int> GdiObjectCount(HANDLE process) {
  static const bool works = [] {
    const auto before = CountGdiEntries(GetCurrentProcess());
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 5; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 2, 3)));
    const auto during = CountGdiEntries(GetCurrentProcess());
    for (HBRUSH brush : brushes) DeleteObject(brush);
    const auto after = CountGdiEntries(GetCurrentProcess());
    return before && during && after && *during == *before + 5 && *after == *before;
  }();
  if (!works) return std::nullopt;
  return CountGdiEntries(process);
}

GdiHandleTrace::GdiHandleTrace(std::filesystem::path logFile, DWORD processId)
    : logFile_(std::move(logFile)) {
  char pid[16];
  std::snprintf(pid, sizeof pid, "%04lx:", static_cast<unsigned long>(processId));
  prefix_ = pid;
}

std::optional<int> GdiHandleTrace::Count() {
  static constexpr std::string_view kAlloc = ":trace:gdi:alloc_gdi_handle ";
  static constexpr std::string_view kFree = ":trace:gdi:free_gdi_handle ";
  const std::string text = FileBytes(logFile_, read_);
  std::size_t begin = 0;
  // A line still being written is left for the next call.
  for (std::size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
    const std::string_view line(text.data() + begin, end - begin);
    if (!line.starts_with(prefix_)) continue;
    const bool freed = line.find(kFree) != std::string_view::npos;
    if (!freed && line.find(kAlloc) == std::string_view::npos) continue;
    const auto slash = line.rfind('/');
    const auto space = line.rfind(' ', slash);
    if (slash == std::string_view::npos || space == std::string_view::npos) continue;
    const int count = std::atoi(std::string(line.substr(space + 1, slash - space - 1)).c_str());
    count_ = freed ? count - 1 : count;
  }
  read_ += begin;
  return count_;
}

Usage App::ResourceUsage() const {
  Usage usage;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (process_ != nullptr &&
      K32GetProcessMemoryInfo(process_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                              sizeof(memory))) {
    // Wine leaves PrivateUsage 0 for another process; its commit charge is there.
    usage.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    usage.workingSet = memory.WorkingSetSize;
  }
  struct Count {
    DWORD pid;
    int windows;
  } count{processId_, 0};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& c = *reinterpret_cast<Count*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != c.pid) return TRUE;
        ++c.windows;
        EnumChildWindows(
            window,
            [](HWND, LPARAM counter) -> BOOL {
              ++*reinterpret_cast<int*>(counter);
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&c.windows));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  usage.windows = count.windows;
  if (process_ != nullptr) usage.gdiObjects = GdiObjectCount(process_);
  return usage;
}

OtherWindow::OtherWindow()
    : window_(CreateWindowExW(0, L"STATIC", L"other application", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              0, 0, 240, 120, nullptr, nullptr, GetModuleHandleW(nullptr),
                              nullptr)) {}

OtherWindow::~OtherWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

bool Activate(HWND window) {
  constexpr ULONGLONG kSettledMs = 300;
  ULONGLONG since = 0;  // when the window last became the foreground window
  return WaitUntil([&] {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (GetForegroundWindow() != window) {
      since = 0;
      SetForegroundWindow(window);
      return false;
    }
    if (since == 0) since = GetTickCount64();
    return GetTickCount64() - since >= kSettledMs;
  });
}

}  // namespace nenga::e2e
