// Start-up benchmark: starts nenga.exe, the least window program, the least program
// loading first the system DLLs that nenga.exe has loaded once its start-up is done and
// the least program has not, and the least program making nenga.exe's windows, in turn,
// RUNS times each. For every start it measures the time until the program's main window
// is visible and the program idle (waiting for input), and its working set once idle.
// Prints the medians of each, the DLLs, and nenga's ratios to each of the others: the
// median of the ratios of each run's starts, which other work on the machine disturbs
// least.
//
//   startup_bench NENGA.EXE LEAST.EXE SAME_WINDOWS.EXE [RUNS]
#include <windows.h>
// psapi.h needs windows.h first
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <set>
#include <string>
#include <vector>

namespace {

struct Sample {
  double milliseconds = 0;
  double workingSetKb = 0;
};

struct FindWindowOf {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param) {
  auto* find = reinterpret_cast<FindWindowOf*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  // The main window: visible, captioned and of some size (nenga's zero-size window that
  // only carries the taskbar button is all three but the last, and shows first).
  const bool captioned = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  RECT rect{};
  const bool sized =
      GetWindowRect(window, &rect) && rect.right > rect.left && rect.bottom > rect.top;
  if (owner == find->processId && IsWindowVisible(window) && captioned && sized) {
    find->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleWindowOf(DWORD processId) {
  FindWindowOf find{processId, nullptr};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// The DLLs of the system folder that process has loaded, by name in lower case.
std::set<std::wstring> SystemDllsOf(HANDLE process) {
  std::set<std::wstring> names;
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return names;
  const std::wstring folder = Lower(system) + L"\\";
  HMODULE modules[512];
  DWORD bytes = 0;
  if (!EnumProcessModulesEx(process, modules, sizeof(modules), &bytes, LIST_MODULES_ALL)) {
    return names;
  }
  const DWORD count = std::min<DWORD>(bytes / sizeof(HMODULE), 512);
  for (DWORD i = 0; i < count; ++i) {
    wchar_t path[MAX_PATH];
    if (GetModuleFileNameExW(process, modules[i], path, MAX_PATH) == 0) continue;
    const std::wstring file = Lower(path);
    if (file.starts_with(folder) && file.find(L'\\', folder.size()) == std::wstring::npos &&
        file.ends_with(L".dll")) {
      names.insert(file.substr(folder.size()));
    }
  }
  return names;
}

// One start, measured; the program is closed again before this returns. dlls, when
// given, receives the system DLLs the program holds once idle, with its working set.
bool MeasureOnce(const std::wstring& exe, const std::wstring& arguments, Sample& sample,
                 std::set<std::wstring>* dlls = nullptr) {
  std::wstring commandLine = L"\"" + exe + L"\"" + arguments;
  const std::wstring folder = FolderOf(exe);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const double start = Now();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    std::fprintf(stderr, "cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
    return false;
  }
  HWND window = nullptr;
  bool ready = false;
  for (int wait = 0; wait < 10000 && !ready; ++wait) {
    WaitForInputIdle(process.hProcess, 10000);
    window = VisibleWindowOf(process.dwProcessId);
    ready = window != nullptr;
    if (!ready) Sleep(1);
  }
  // Idle for real: the window's thread is back in its event loop once it has answered
  // a message sent to it. (Under Wine, WaitForInputIdle can return before the program
  // has its queue, or while it is still building its windows.)
  DWORD_PTR answer = 0;
  if (ready) SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
  sample.milliseconds = Now() - start;

  // Idle: let whatever the program posted to itself settle, then read its working set.
  Sleep(300);
  WaitForInputIdle(process.hProcess, 5000);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  const bool measured = GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory)) != 0;
  sample.workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024.0;
  if (dlls != nullptr) *dlls = SystemDllsOf(process.hProcess);

  if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!ready || !measured) {
    std::fprintf(stderr, "%ls: %s\n", exe.c_str(),
                 ready ? "no working set" : "no visible window within the time allowed");
  }
  return ready && measured;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: startup_bench NENGA.EXE LEAST.EXE SAME_WINDOWS.EXE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 4 ? std::max(1, _wtoi(argv[4])) : 15;

  // The first start of each fills the system's caches and is not counted; it tells which
  // system DLLs nenga.exe holds once idle (what its start-up loaded, and the step it
  // takes at its first idle moment) that the least program does not.
  Sample warm;
  std::set<std::wstring> nengaDlls, leastDlls;
  if (!MeasureOnce(argv[1], L"", warm, &nengaDlls) ||
      !MeasureOnce(argv[2], L"", warm, &leastDlls)) {
    return 1;
  }
  std::wstring extra;
  for (const std::wstring& dll : nengaDlls) {
    if (!leastDlls.contains(dll)) extra += L" " + dll;
  }
  MeasureOnce(argv[2], extra, warm);
  MeasureOnce(argv[3], L"", warm);

  constexpr int kPrograms = 4;
  const std::wstring programs[kPrograms] = {argv[1], argv[2], argv[2], argv[3]};
  const std::wstring arguments[kPrograms] = {L"", L"", extra, L""};
  std::vector<double> times[kPrograms], sets[kPrograms], timeRatios[kPrograms],
      setRatios[kPrograms];
  for (int run = 0; run < runs; ++run) {
    for (int turn = 0; turn < kPrograms; ++turn) {
      const int which = (run + turn) % kPrograms;  // each goes first in turn
      Sample sample;
      if (!MeasureOnce(programs[which], arguments[which], sample)) return 1;
      times[which].push_back(sample.milliseconds);
      sets[which].push_back(sample.workingSetKb);
    }
    for (int base = 1; base < kPrograms; ++base) {
      timeRatios[base].push_back(times[0].back() / times[base].back());
      setRatios[base].push_back(sets[0].back() / sets[base].back());
    }
  }

  const char* names[kPrograms] = {"nenga", "least", "least+", "same"};
  for (int i = 0; i < kPrograms; ++i) {
    std::printf(
        "%-6s start-up to idle window: median %7.1f ms (min %7.1f)   "
        "idle working set: median %7.0f KB\n",
        names[i], Median(times[i]), *std::min_element(times[i].begin(), times[i].end()),
        Median(sets[i]));
  }
  std::printf("least+ loads first the system DLLs nenga holds once idle and least does not:%ls\n",
              extra.empty() ? L" none" : extra.c_str());
  std::printf("same   is least making nenga's windows, from its layouts, and nothing else\n");
  std::printf("ratios over %d runs each (median of the runs' ratios):\n", runs);
  for (int base = 1; base < kPrograms; ++base) {
    std::printf("  nenga / %-6s start-up %.2f, working set %.2f\n", names[base],
                Median(timeRatios[base]), Median(setRatios[base]));
  }
  return 0;
}
