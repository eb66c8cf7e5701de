#pragma once
// Real keyboard input for the window tests: key presses go in through
// SendInput, as a user's would, and come out of the program's own message
// loop (vak::dispatchMessage with its dialog keys). Plus a guard that ends
// the test run when the window stops answering.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "ui/Window.h"

namespace vaktest {

// Dispatches this thread's messages as the program's loop does, until no
// input has arrived for quietMs. Wine's system timer is no input: while the
// pointer rests on a button of the common controls 6, Wine watches for it
// leaving (TrackMouseEvent) with such a timer every 10 ms.
inline void pumpInput(DWORD quietMs = 15) {
  constexpr UINT kSystemTimer = 0x0118;  // WM_SYSTIMER
  DWORD idleSince = GetTickCount();
  const DWORD start = idleSince;
  MSG msg;
  while (GetTickCount() - idleSince < quietMs && GetTickCount() - start < 5000) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      vak::dispatchMessage(msg);
      if (msg.message != kSystemTimer) idleSince = GetTickCount();
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
}

// Makes the window the foreground window, so real input reaches it.
inline bool bringToFront(HWND top) {
  for (int i = 0; i < 50; ++i) {
    if (GetForegroundWindow() == top && GetActiveWindow() == top) return true;
    SetForegroundWindow(top);
    SetActiveWindow(top);
    pumpInput(20);
  }
  return GetForegroundWindow() == top;
}

inline INPUT keyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_HOME || vk == VK_END ||
      vk == VK_PRIOR || vk == VK_NEXT || vk == VK_DELETE || vk == VK_INSERT)
    in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  return in;
}

// Queues one key press (with modifiers held) without dispatching it.
inline void queueKey(WORD vk, std::initializer_list<WORD> modifiers = {}) {
  std::vector<INPUT> in;
  for (WORD m : modifiers) in.push_back(keyInput(m, false));
  in.push_back(keyInput(vk, false));
  in.push_back(keyInput(vk, true));
  for (auto it = modifiers.end(); it != modifiers.begin();) in.push_back(keyInput(*--it, true));
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// Queues typed characters (any letter, as the keyboard layout would give them).
inline void queueText(const std::wstring& text) {
  std::vector<INPUT> in;
  for (wchar_t c : text) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wScan = c;
    down.ki.dwFlags = KEYEVENTF_UNICODE;
    INPUT up = down;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    in.push_back(down);
    in.push_back(up);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// A key press, dispatched by the program's loop.
inline void pressKey(WORD vk, std::initializer_list<WORD> modifiers = {}) {
  queueKey(vk, modifiers);
  pumpInput();
}

inline void typeKeys(const std::wstring& text) {
  queueText(text);
  pumpInput();
}

// Whether the window answers a message sent from another thread within
// timeoutMs, while this thread runs the program's loop.
inline bool answers(HWND window, DWORD timeoutMs = 3000) {
  std::atomic<bool> done{false};
  std::atomic<bool> ok{false};
  std::thread asker([&] {
    wchar_t buf[256];
    DWORD_PTR result = 0;
    ok = SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, timeoutMs,
                             &result) != 0;
    done = true;
  });
  while (!done) pumpInput(20);
  asker.join();
  return ok;
}

// While alive: if the window does not answer a message for several seconds
// (the loop hangs), the test run ends with a failure; a hanging loop cannot
// be left otherwise.
class HangGuard {
 public:
  explicit HangGuard(HWND window) : window_(window), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    watcher_ = std::thread([this] {
      while (WaitForSingleObject(stop_, 1000) == WAIT_TIMEOUT) {
        DWORD_PTR result = 0;
        wchar_t buf[64];
        if (!SendMessageTimeoutW(window_, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 20000,
                                 &result) &&
            WaitForSingleObject(stop_, 0) == WAIT_TIMEOUT) {
          std::fprintf(stderr, "FAILED: the window does not answer any more (the message loop hangs)\n");
          std::fflush(stderr);
          TerminateProcess(GetCurrentProcess(), 3);
        }
      }
    });
  }
  ~HangGuard() {
    SetEvent(stop_);
    watcher_.join();
    CloseHandle(stop_);
  }
  HangGuard(const HangGuard&) = delete;
  HangGuard& operator=(const HangGuard&) = delete;

 private:
  HWND window_;
  HANDLE stop_;
  std::thread watcher_;
};

// Runs action() from a thread timer once this thread's next modal loop (a
// dialog, a message box, a menu) is running.
class WhenModal {
 public:
  WhenModal(std::function<void()> action, UINT delayMs = 100) : action_(std::move(action)) {
    current() = this;
    timer_ = SetTimer(nullptr, 0, delayMs, &WhenModal::fire);
  }
  ~WhenModal() {
    KillTimer(nullptr, timer_);
    if (current() == this) current() = nullptr;
  }
  WhenModal(const WhenModal&) = delete;
  WhenModal& operator=(const WhenModal&) = delete;
  bool ran() const { return ran_; }

 private:
  static WhenModal*& current() {
    static WhenModal* w = nullptr;
    return w;
  }
  static void CALLBACK fire(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    WhenModal* self = current();
    if (!self || self->ran_) return;
    self->ran_ = true;
    self->action_();
  }
  std::function<void()> action_;
  UINT_PTR timer_ = 0;
  bool ran_ = false;
};

// The focus window's chain up to (not including) stop: the first ancestor that is a direct child of stop.
inline HWND childOf(HWND stop, HWND h) {
  while (h && GetParent(h) != stop) h = GetParent(h);
  return h;
}

}  // namespace vaktest
