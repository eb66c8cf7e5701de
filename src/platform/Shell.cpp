#include "platform/Shell.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/WinText.h"

namespace vak {

namespace {

class RealShell : public ShellSeam {
 public:
  bool open(const std::string& file, int showCommand) override {
    // Paths are handed over as the file functions take them (ANSI).
    const HINSTANCE r = ShellExecuteA(nullptr, "open", file.c_str(), "", nullptr, showCommand);
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

std::string programFileName() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return std::string();
    if (n < buf.size()) {
      std::wstring path(buf.data(), n);
      const std::size_t slash = path.find_last_of(L"\\/");
      return narrow(slash == std::wstring::npos ? path : path.substr(slash + 1));
    }
    buf.resize(buf.size() * 2);
  }
}

}  // namespace vak
