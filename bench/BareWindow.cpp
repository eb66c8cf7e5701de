// Yardstick of the start-up benchmark: a window of the main window's size and
// style that is shown, painted and then idle, and nothing else.
//
// Built twice: bench_bare.exe (user32 only) and, with BENCH_CONTROLS,
// bench_controls.exe, which also creates plain standard controls in the window:
//   bench_controls.exe Button=96 Static=48 ...   (class=count, any classes)
// Classes the system does not know become STATIC controls.
// Like the program, both record start-up marks when VAK_START_TRACE asks.
#include <windows.h>
#ifdef BENCH_CONTROLS
#include <commctrl.h>
#include <shellapi.h>
#endif

#include <cwchar>

#include "app/StartTrace.h"

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kClientWidth = 833;
constexpr int kClientHeight = 441;

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

#ifdef BENCH_CONTROLS
void createControls(HWND parent) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return;
  int placed = 0;
  for (int i = 1; i < argc; ++i) {
    wchar_t* eq = std::wcschr(argv[i], L'=');
    if (!eq) continue;
    *eq = L'\0';
    const int count = _wtoi(eq + 1);
    WNDCLASSEXW known{};
    known.cbSize = sizeof(known);
    const bool system = GetClassInfoExW(nullptr, argv[i], &known) != 0;
    const wchar_t* cls = system ? argv[i] : L"STATIC";
    for (int k = 0; k < count; ++k, ++placed) {
      const int x = 4 + (placed % 12) * 68, y = 4 + (placed / 12) * 24;
      CreateWindowExW(0, cls, L"Text", WS_CHILD | WS_VISIBLE, x, y, 64, 20, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + placed)), GetModuleHandleW(nullptr),
                      nullptr);
    }
  }
  LocalFree(argv);
}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  vak::startTrace::mark("WinMain");
#ifdef BENCH_CONTROLS
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
#endif
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"BenchBareWindow";
  RegisterClassExW(&wc);

  RECT rc{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&rc, kStyle, TRUE, 0);  // the main window's size, menu bar included
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, wc.lpszClassName, L"Bare", kStyle, x, y, w, h, nullptr, nullptr,
                              instance, nullptr);
  if (!hwnd) return 1;
#ifdef BENCH_CONTROLS
  createControls(hwnd);
#endif
  ShowWindow(hwnd, showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
  UpdateWindow(hwnd);
  vak::startTrace::mark("shown and painted");
  vak::startTrace::write();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
