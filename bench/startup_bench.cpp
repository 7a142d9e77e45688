// Start-up benchmark: starts nenga.exe and the least window program in turn, RUNS
// times each, and measures for every start the time until the program's window is
// visible and the program idle (waiting for input), and its working set once idle.
// Prints the medians of each, and nenga's ratios to the least program's: the median of
// the ratios of each run's two starts, which other work on the machine disturbs least.
//
//   startup_bench NENGA.EXE LEAST.EXE [RUNS]
#include <windows.h>
// psapi.h needs windows.h first
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
  // The main window: visible and captioned (a zero-size window that only carries the
  // taskbar button does not count).
  const bool captioned = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  if (owner == find->processId && IsWindowVisible(window) && captioned) {
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

// One start, measured; the program is closed again before this returns.
bool MeasureOnce(const std::wstring& exe, Sample& sample) {
  std::wstring commandLine = L"\"" + exe + L"\"";
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
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench NENGA.EXE LEAST.EXE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 15;
  const std::wstring programs[2] = {argv[1], argv[2]};
  std::vector<double> times[2], sets[2], timeRatios, setRatios;

  Sample warm;  // the first start of each fills the system's caches; not counted
  for (const std::wstring& program : programs) MeasureOnce(program, warm);

  for (int run = 0; run < runs; ++run) {
    for (int turn = 0; turn < 2; ++turn) {
      const int which = (run + turn) % 2;  // alternate which one goes first
      Sample sample;
      if (!MeasureOnce(programs[which], sample)) return 1;
      times[which].push_back(sample.milliseconds);
      sets[which].push_back(sample.workingSetKb);
    }
    timeRatios.push_back(times[0].back() / times[1].back());
    setRatios.push_back(sets[0].back() / sets[1].back());
  }

  const char* names[2] = {"nenga", "least"};
  for (int i = 0; i < 2; ++i) {
    std::printf(
        "%-6s start-up to idle window: median %7.1f ms (min %7.1f)   "
        "idle working set: median %7.0f KB\n",
        names[i], Median(times[i]), *std::min_element(times[i].begin(), times[i].end()),
        Median(sets[i]));
  }
  std::printf(
      "ratios over %d runs each (median of the runs' ratios): start-up %.2f, "
      "working set %.2f\n",
      runs, Median(timeRatios), Median(setRatios));
  return 0;
}
