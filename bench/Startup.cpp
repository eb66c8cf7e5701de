#include "Startup.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {

namespace {

constexpr DWORD kTimeoutMs = 30000;

double frequency() {
  static const double f = [] {
    LARGE_INTEGER q;
    QueryPerformanceFrequency(&q);
    return static_cast<double>(q.QuadPart);
  }();
  return f;
}

struct FindMain {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK findMain(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<FindMain*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == f->pid && IsWindowVisible(hwnd) && !GetWindow(hwnd, GW_OWNER)) {
    f->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND mainWindowOf(DWORD pid) {
  FindMain f{pid, nullptr};
  EnumWindows(findMain, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// Whether a visible window below (or at) hwnd still waits for WM_PAINT.
BOOL CALLBACK findUnpainted(HWND hwnd, LPARAM lp) {
  if (IsWindowVisible(hwnd) && GetUpdateRect(hwnd, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(lp) = true;
    return FALSE;
  }
  return TRUE;
}

bool painted(HWND main) {
  bool pending = false;
  findUnpainted(main, reinterpret_cast<LPARAM>(&pending));
  if (!pending) EnumChildWindows(main, findUnpainted, reinterpret_cast<LPARAM>(&pending));
  return !pending;
}

struct Census {
  DWORD pid;
  std::map<std::wstring, int>* classes;
};

BOOL CALLBACK countChild(HWND hwnd, LPARAM lp) {
  wchar_t name[128];
  if (GetClassNameW(hwnd, name, 128)) ++(*reinterpret_cast<std::map<std::wstring, int>*>(lp))[name];
  return TRUE;
}

BOOL CALLBACK countTop(HWND hwnd, LPARAM lp) {
  auto* c = reinterpret_cast<Census*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == c->pid) EnumChildWindows(hwnd, countChild, reinterpret_cast<LPARAM>(c->classes));
  return TRUE;
}

// "name<TAB>counter" lines after "frequency<TAB>f"; marks relative to start.
std::vector<std::pair<std::string, double>> readMarks(const std::wstring& file, LONGLONG start) {
  std::vector<std::pair<std::string, double>> marks;
  FILE* f = _wfopen(file.c_str(), L"r");
  if (!f) return marks;
  char line[256];
  double freq = frequency();
  while (std::fgets(line, sizeof line, f)) {
    char* tab = std::strchr(line, '\t');
    if (!tab) continue;
    *tab = '\0';
    const long long v = std::strtoll(tab + 1, nullptr, 10);
    if (std::strcmp(line, "frequency") == 0)
      freq = static_cast<double>(v);
    else
      marks.emplace_back(line, static_cast<double>(v - start) * 1000.0 / freq);
  }
  std::fclose(f);
  return marks;
}

}  // namespace

double nowMs() {
  LARGE_INTEGER q;
  QueryPerformanceCounter(&q);
  return static_cast<double>(q.QuadPart) * 1000.0 / frequency();
}

StartResult measureStart(const std::wstring& exe, const std::wstring& args, const std::wstring& traceFile,
                         bool countClasses) {
  StartResult r;
  DeleteFileW(traceFile.c_str());
  SetEnvironmentVariableW(L"VAK_START_TRACE", traceFile.c_str());
  std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};

  LARGE_INTEGER t0;
  QueryPerformanceCounter(&t0);
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
    r.error = "CreateProcess failed (" + std::to_string(GetLastError()) + ")";
    return r;
  }
  SetEnvironmentVariableW(L"VAK_START_TRACE", nullptr);

  // Idle: WaitForInputIdle, then a synchronous round trip through the main
  // window's message loop; again until every visible window is painted.
  HWND main = nullptr;
  const DWORD begin = GetTickCount();
  for (;;) {
    const DWORD spent = GetTickCount() - begin;
    if (spent > kTimeoutMs) {
      r.error = "no idle main window within 30 s";
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
      r.error = "the program ended before its window was ready";
      break;
    }
    WaitForInputIdle(pi.hProcess, kTimeoutMs - spent);
    if (!main) main = mainWindowOf(pi.dwProcessId);
    if (!main) {
      Sleep(1);
      continue;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &result)) {
      r.error = "the main window does not answer";
      break;
    }
    if (painted(main)) {
      r.ok = true;
      break;
    }
    Sleep(0);
  }
  LARGE_INTEGER t1;
  QueryPerformanceCounter(&t1);
  r.ms = static_cast<double>(t1.QuadPart - t0.QuadPart) * 1000.0 / frequency();

  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc))
    r.peakMiB = static_cast<double>(pmc.PeakWorkingSetSize) / (1024.0 * 1024.0);
  if (r.ok && countClasses) {
    Census c{pi.dwProcessId, &r.classes};
    EnumWindows(countTop, reinterpret_cast<LPARAM>(&c));
  }

  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (r.ok) r.marks = readMarks(traceFile, t0.QuadPart);
  return r;
}

}  // namespace bench
