#pragma once
// One start of a program, measured from outside: CreateProcess until its main
// window is visible, painted and idle.
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

struct StartResult {
  bool ok = false;
  std::string error;
  double ms = 0;        // CreateProcess until visible, painted and idle
  double peakMiB = 0;   // peak working set at that point
  // Marks the program recorded (VAK_START_TRACE), in ms after CreateProcess.
  std::vector<std::pair<std::string, double>> marks;
  // Child windows of the program's top-level windows, by class (when asked).
  std::map<std::wstring, int> classes;
};

// Starts exe (in its own folder) with args, waits until it is ready, measures,
// closes it. traceFile: where the program is asked to write its marks.
StartResult measureStart(const std::wstring& exe, const std::wstring& args, const std::wstring& traceFile,
                         bool countClasses);

// Seconds of QueryPerformanceCounter.
double nowMs();

}  // namespace bench
