// The user's side of an update, for scripts/release-test (run under Wine):
//
//   update-driver.exe PROGRAM OLD_VERSION NEW_VERSION
//
// starts PROGRAM (an unpacked release), checks its caption names OLD_VERSION,
// runs the manual update check ("?" -> "auf Updates prüfen"), clicks
// "auf Version NEW_VERSION aktuallisieren", waits until the program has ended
// (exit code 0) and the updater has started the new one, checks that one's
// caption names NEW_VERSION and that its own manual check finds no update,
// and closes it (exit code 0). Exit code 0 when all of it happened; otherwise
// what went wrong is on stderr.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "app/Ids.h"
#include "settings/UpdateCheck.h"

namespace ids = vak::ids;

namespace {

std::wstring wide(const char* ascii) { return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii)); }

std::string utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

int failed(const std::string& what) {
  std::fprintf(stderr, "update-driver: %s\n", what.c_str());
  return 1;
}

bool waitFor(const std::function<bool()>& done, int ms) {
  for (int waited = 0; waited < ms; waited += 100) {
    if (done()) return true;
    Sleep(100);
  }
  return done();
}

// A window's text, asked across processes without hanging on a busy one.
std::wstring textOf(HWND h) {
  wchar_t buf[1024] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got);
  return buf;
}

// The visible main window of a process other than `not` (0: any).
HWND mainWindow(DWORD* pid, DWORD notPid) {
  struct Find {
    DWORD notPid, pid;
    HWND found;
  } f{notPid, 0, nullptr};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        wchar_t cls[32] = {};
        GetClassNameW(h, cls, 32);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (lstrcmpW(cls, L"TForm1") != 0 || !IsWindowVisible(h) || owner == f->notPid) return TRUE;
        f->pid = owner;
        f->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&f));
  if (pid) *pid = f.pid;
  return f.found;
}

// A control of the main window by its id, wherever it sits.
HWND control(HWND main, int id) {
  struct Find {
    int id;
    HWND found;
  } f{id, nullptr};
  EnumChildWindows(
      main,
      [](HWND h, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        if (GetDlgCtrlID(h) != f->id) return TRUE;
        f->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// The manual check, as the menu starts it; true when `done` holds for the
// result area within the time.
bool manualCheck(HWND main, const std::function<bool()>& done) {
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::aufUpdateprfen1, 0), 0);
  return waitFor(done, 30000);
}

DWORD exitCode(HANDLE process, int ms) {
  DWORD code = 99;
  if (WaitForSingleObject(process, static_cast<DWORD>(ms)) != WAIT_OBJECT_0) return 98;
  GetExitCodeProcess(process, &code);
  return code;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return failed("usage: update-driver.exe PROGRAM OLD_VERSION NEW_VERSION");
  const std::wstring program = argv[1], oldVersion = argv[2], newVersion = argv[3];
  const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
  const std::wstring title = wide("Meldewart f") + L"\u00fc" + wide("r ICQ - ");

  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    return failed("cannot start " + utf8(program));
  CloseHandle(pi.hThread);
  HWND main = nullptr;
  if (!waitFor([&] { return (main = mainWindow(nullptr, 0)) != nullptr; }, 30000))
    return failed("the program showed no main window");
  if (textOf(main) != title + oldVersion) return failed("caption of the old program: " + utf8(textOf(main)));

  const std::wstring offer = wide("auf Version ") + newVersion + wide(" aktuallisieren");
  HWND button = nullptr;
  if (!manualCheck(main, [&] {
        button = control(main, ids::UDBtn);
        return button && IsWindowVisible(button) && textOf(button) == offer;
      }))
    return failed("no update offered; the button says: " + utf8(button ? textOf(button) : L"(none)") +
                  ", the status: " + utf8(textOf(control(main, ids::UDStatus))));
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::UDBtn, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  const DWORD ended = exitCode(pi.hProcess, 60000);
  CloseHandle(pi.hProcess);
  if (ended != 0) return failed("the old program ended with " + std::to_string(ended) + " (98: not at all)");

  DWORD pid = 0;
  if (!waitFor([&] { return (main = mainWindow(&pid, pi.dwProcessId)) != nullptr; }, 60000))
    return failed("the new program did not start");
  if (!waitFor([&] { return textOf(main) == title + newVersion; }, 10000))
    return failed("caption of the new program: " + utf8(textOf(main)));
  std::printf("update-driver: the new program runs: %s\n", utf8(textOf(main)).c_str());

  const std::wstring none = wide("Updatepr") + L"\u00fc" + wide("fung abgeschlossen!\r\nKeine Updates vorhanden!");
  if (!manualCheck(main, [&] { return textOf(control(main, ids::UDStatus)) == none; }))
    return failed("the new program's check says: " + utf8(textOf(control(main, ids::UDStatus))));

  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return failed("cannot open the new program's process");
  PostMessageW(main, WM_CLOSE, 0, 0);
  const DWORD closed = exitCode(process, 30000);
  CloseHandle(process);
  if (closed != 0) return failed("the new program ended with " + std::to_string(closed) + " (98: not at all)");
  return 0;
}
