#pragma once
// Functions of system DLLs that only a few actions need, resolved on their
// first use. A DLL in the import table is loaded at every start, with the
// DLLs it needs in turn, which costs start-up time and memory (the common
// dialogs alone add about 8 MB to the working set under Wine).
#include <windows.h>

namespace vak {

// The function `name` of the system DLL `dll` (loaded from the system folder
// only, once, and kept); nullptr when either cannot be found.
FARPROC systemProc(const wchar_t* dll, const char* name);

template <typename Fn>
Fn systemFunction(const wchar_t* dll, const char* name) {
  // Through a generic function pointer: a direct cast draws a warning.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(systemProc(dll, name)));
}

}  // namespace vak
