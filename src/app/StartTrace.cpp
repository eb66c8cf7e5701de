#include "app/StartTrace.h"

#include <windows.h>

#include <cstdio>

namespace vak::startTrace {

namespace {

struct Mark {
  const char* phase;
  LARGE_INTEGER at;
};

constexpr int kMaxMarks = 32;
Mark g_marks[kMaxMarks];
int g_count = 0;
// 0: not looked up yet, 1: on, -1: off or written already.
int g_state = 0;
wchar_t g_file[MAX_PATH];

bool on() {
  if (g_state == 0) {
    const DWORD n = GetEnvironmentVariableW(L"VAK_START_TRACE", g_file, MAX_PATH);
    g_state = n > 0 && n < MAX_PATH ? 1 : -1;
  }
  return g_state > 0;
}

}  // namespace

void mark(const char* phase) {
  if (!on() || g_count == kMaxMarks) return;
  QueryPerformanceCounter(&g_marks[g_count].at);
  g_marks[g_count].phase = phase;
  ++g_count;
}

void write() {
  if (!on()) return;
  g_state = -1;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  char text[kMaxMarks * 96 + 64];
  int used = std::snprintf(text, sizeof text, "frequency\t%lld\n", static_cast<long long>(frequency.QuadPart));
  for (int i = 0; i < g_count; ++i)
    used += std::snprintf(text + used, sizeof text - static_cast<size_t>(used), "%.60s\t%lld\n", g_marks[i].phase,
                          static_cast<long long>(g_marks[i].at.QuadPart));
  HANDLE f = CreateFileW(g_file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(f, text, static_cast<DWORD>(used), &written, nullptr);
  CloseHandle(f);
}

}  // namespace vak::startTrace
