#pragma once
// Timestamps of the program's start, for measuring where the start-up time
// goes. Recorded only when the environment variable VAK_START_TRACE names a
// file; otherwise every call returns at once. The marks are written to that
// file by write(), one "name<TAB>counter" line each after a "frequency" line
// (QueryPerformanceCounter ticks, comparable with another process's counter).
namespace vak::startTrace {

// Records that the start has reached `phase` (a string literal).
void mark(const char* phase);
// Writes the marks recorded so far to the trace file (once).
void write();

}  // namespace vak::startTrace
