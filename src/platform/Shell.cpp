#include "platform/Shell.h"

#include <windows.h>
#include <shellapi.h>


#include "platform/Path.h"
#include "platform/SystemDll.h"
#include "platform/WinText.h"

namespace vak {

namespace {

class RealShell : public ShellSeam {
 public:
  bool open(const std::string& file, int showCommand) override {
    // shell32 is loaded when something is first opened, not at every start.
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    const auto run = systemFunction<ShellExecuteFn>(L"shell32.dll", "ShellExecuteW");
    if (!run) return false;
    const HINSTANCE r = run(nullptr, L"open", widePath(file).c_str(), L"", nullptr, showCommand);
    return reinterpret_cast<INT_PTR>(r) > 32;
  }
  void exitProcess(unsigned code) override { ExitProcess(code); }
};

RealShell g_realShell;
ShellSeam* g_shell = nullptr;

}  // namespace

ShellSeam& shell() { return g_shell ? *g_shell : g_realShell; }

ShellSeam* setShell(ShellSeam* seam) {
  ShellSeam* previous = g_shell;
  g_shell = seam == &g_realShell ? nullptr : seam;
  return previous;
}

}  // namespace vak
