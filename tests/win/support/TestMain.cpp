#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TestSupport.h"

int main(int argc, char** argv) {
  // No error dialogs: a crash must end the process, not wait for a click.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  // The tests delete ICQ's keys and write beside them: never in a registry
  // that holds someone's real ICQ data.
  std::string why;
  if (!vaktest::inOwnTestPrefix(why)) {
    std::fprintf(stderr, "Refusing to run the tests: %s\n", why.c_str());
    std::fflush(stderr);
    return 3;
  }
  // DPI-aware per monitor, as vak.exe declares in its manifest.
  using SetAwareness = BOOL(WINAPI*)(HANDLE);
  if (auto set = reinterpret_cast<SetAwareness>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext"))))
    set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
