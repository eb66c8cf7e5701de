#include "ui/Window.h"

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "platform/Ui.h"
#include "platform/WinText.h"

namespace vak {

namespace {

constexpr wchar_t kObjectProp[] = L"VakWindow";
// Per top-level window: its current DPI and its design client size.
constexpr wchar_t kDpiProp[] = L"VakDpi";
constexpr wchar_t kClientProp[] = L"VakClientSize";
// Per control: its design rectangle, and whether it is sized to its text.
constexpr wchar_t kDesignFlagProp[] = L"VakDesign";
constexpr wchar_t kDesignPosProp[] = L"VakDesignPos";
constexpr wchar_t kDesignSizeProp[] = L"VakDesignSize";
constexpr wchar_t kFitProp[] = L"VakFitText";
constexpr wchar_t kClickableProp[] = L"VakClickable";

constexpr int kDesignDpi = 96;

// Functions of newer Windows versions, looked up at run time.
template <typename F>
F user32Function(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int systemDpi() {
  using Fn = UINT(WINAPI*)();
  static const Fn getDpiForSystem = user32Function<Fn>("GetDpiForSystem");
  if (getDpiForSystem) return static_cast<int>(getDpiForSystem());
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : kDesignDpi;
}

int dpiForWindow(HWND window) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn getDpiForWindow = user32Function<Fn>("GetDpiForWindow");
  const int dpi = getDpiForWindow ? static_cast<int>(getDpiForWindow(window)) : 0;
  return dpi > 0 ? dpi : systemDpi();
}

int scale(int value, int dpi) { return MulDiv(value, dpi, kDesignDpi); }

HANDLE packPair(int a, int b) {
  return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(static_cast<LONG>(MAKELONG(static_cast<WORD>(a), static_cast<WORD>(b)))));
}
void unpackPair(HANDLE h, int& a, int& b) {
  const auto v = static_cast<DWORD>(reinterpret_cast<INT_PTR>(h));
  a = static_cast<short>(LOWORD(v));
  b = static_cast<short>(HIWORD(v));
}

void rememberDesign(HWND control, int x, int y, int w, int h) {
  SetPropW(control, kDesignFlagProp, reinterpret_cast<HANDLE>(1));
  SetPropW(control, kDesignPosProp, packPair(x, y));
  SetPropW(control, kDesignSizeProp, packPair(w, h));
}

// Outer size of the window around a client area of the given size: its
// frame, caption and menu bar as they are now.
SIZE outerSize(HWND window, int clientWidth, int clientHeight) {
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  return SIZE{clientWidth + (outer.right - outer.left) - client.right,
              clientHeight + (outer.bottom - outer.top) - client.bottom};
}

struct FontKey {
  int dpi;
  bool bold;
  bool operator<(const FontKey& o) const { return dpi != o.dpi ? dpi < o.dpi : bold < o.bold; }
};
std::map<FontKey, HFONT>& fonts() {
  static std::map<FontKey, HFONT> all;
  return all;
}
HFONT programFont(int dpi, bool bold) {
  auto& all = fonts();
  auto it = all.find(FontKey{dpi, bold});
  if (it != all.end()) return it->second;
  HFONT font = CreateFontW(-scale(11, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  all[FontKey{dpi, bold}] = font;
  return font;
}
// Which of the program's fonts this is: 0 none, 1 normal, 2 bold.
int fontKind(HFONT font) {
  for (const auto& [key, f] : fonts())
    if (f == font) return key.bold ? 2 : 1;
  return 0;
}

void applyFit(HWND control);

// Lays out one control for the DPI: the font in its size, then the design rectangle.
BOOL CALLBACK relayoutChild(HWND child, LPARAM dpiParam) {
  const int dpi = static_cast<int>(dpiParam);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
  if (const int kind = font ? fontKind(font) : 0)
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(programFont(dpi, kind == 2)), FALSE);
  RECT d{};
  if (designRect(child, d))
    SetWindowPos(child, nullptr, scale(d.left, dpi), scale(d.top, dpi), scale(d.right - d.left, dpi),
                 scale(d.bottom - d.top, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  if (GetPropW(child, kFitProp)) applyFit(child);
  return TRUE;
}

void applyDpi(HWND top, int dpi) {
  SetPropW(top, kDpiProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi)));
  if (GetPropW(top, kClientProp)) {
    int w = 0, h = 0;
    unpackPair(GetPropW(top, kClientProp), w, h);
    const SIZE outer = outerSize(top, scale(w, dpi), scale(h, dpi));
    SetWindowPos(top, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  EnumChildWindows(top, &relayoutChild, dpi);
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

bool isPushButton(HWND control) {
  wchar_t cls[16] = {};
  GetClassNameW(control, cls, 16);
  if (lstrcmpiW(cls, L"Button") != 0) return false;
  const auto type = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

void applyFit(HWND control) {
  RECT d{};
  if (!designRect(control, d)) return;
  const bool keepRight = GetPropW(control, kFitProp) == reinterpret_cast<HANDLE>(2);
  const int dpi = windowDpi(control);
  const bool button = isPushButton(control);
  const int len = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  GetWindowTextW(control, text.data(), len + 1);
  text.resize(static_cast<size_t>(len));
  if (text.empty()) text = L" ";

  UINT flags = DT_CALCRECT | DT_EXPANDTABS;
  if (!button && (GetWindowLongPtrW(control, GWL_STYLE) & SS_NOPREFIX)) flags |= DT_NOPREFIX;
  // Room around the text: a button's edges and focus rectangle.
  const int padX = button ? scale(16, dpi) : 1;
  const int padY = button ? scale(8, dpi) : 1;
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT need{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &need, flags);
  int width = std::max<int>(scale(d.right - d.left, dpi), need.right + padX);
  int height = std::max<int>(scale(d.bottom - d.top, dpi), need.bottom + padY);
  int left = keepRight ? scale(d.right, dpi) - width : scale(d.left, dpi);
  if (!button && !keepRight) {
    // A label does not reach past its parent: it wraps there instead.
    RECT parent{};
    GetClientRect(GetParent(control), &parent);
    const int room = parent.right - left - scale(4, dpi);
    if (width > room && room > scale(d.right - d.left, dpi)) {
      width = room;
      RECT wrapped{0, 0, width - padX, 0};
      DrawTextW(dc, text.c_str(), -1, &wrapped, flags | DT_WORDBREAK);
      height = std::max<int>(scale(d.bottom - d.top, dpi), wrapped.bottom + padY);
    }
  }
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  if (left < 0) left = 0;
  SetWindowPos(control, nullptr, left, scale(d.top, dpi), width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(control, nullptr, TRUE);
}

}  // namespace

int windowDpi(HWND window) {
  HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
  if (root) {
    if (HANDLE dpi = GetPropW(root, kDpiProp)) return static_cast<int>(reinterpret_cast<INT_PTR>(dpi));
    return dpiForWindow(root);
  }
  return systemDpi();
}

int dpiScale(HWND window, int designValue) { return scale(designValue, windowDpi(window)); }

RECT dpiScale(HWND window, const RECT& r) {
  const int dpi = windowDpi(window);
  return RECT{scale(r.left, dpi), scale(r.top, dpi), scale(r.right, dpi), scale(r.bottom, dpi)};
}

bool designRect(HWND control, RECT& rect) {
  if (!GetPropW(control, kDesignFlagProp)) return false;
  int x = 0, y = 0, w = 0, h = 0;
  unpackPair(GetPropW(control, kDesignPosProp), x, y);
  unpackPair(GetPropW(control, kDesignSizeProp), w, h);
  rect = RECT{x, y, x + w, y + h};
  return true;
}

void placeControl(HWND control, int x, int y, int width, int height) {
  rememberDesign(control, x, y, width, height);
  const int dpi = windowDpi(control);
  SetWindowPos(control, nullptr, scale(x, dpi), scale(y, dpi), scale(width, dpi), scale(height, dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (GetPropW(control, kFitProp)) applyFit(control);
}

void fitText(HWND control, bool keepRight) {
  SetPropW(control, kFitProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(keepRight ? 2 : 1)));
  applyFit(control);
}

void Window::setClientSize(int designWidth, int designHeight) {
  SetPropW(hwnd_, kClientProp, packPair(designWidth, designHeight));
  const int dpi = windowDpi(hwnd_);
  const SIZE outer = outerSize(hwnd_, scale(designWidth, dpi), scale(designHeight, dpi));
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Window::~Window() {
  if (hwnd_) {
    RemovePropW(hwnd_, kObjectProp);
    DestroyWindow(hwnd_);
  }
}

HWND Window::create(const wchar_t* className, DWORD exStyle, DWORD style, const std::wstring& title, int x, int y,
                    int width, int height, HWND parent, HMENU menu) {
  static std::set<std::wstring> registered;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!registered.count(className)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Window::windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
    registered.insert(className);
  }
  if (style & WS_CHILD) {
    // Child windows take design coordinates, like the controls.
    const int dpi = windowDpi(parent);
    CreateWindowExW(exStyle, className, title.c_str(), style, scale(x, dpi), scale(y, dpi), scale(width, dpi),
                    scale(height, dpi), parent, menu, instance, this);
    if (hwnd_) rememberDesign(hwnd_, x, y, width, height);
  } else {
    CreateWindowExW(exStyle, className, title.c_str(), style, x, y, width, height, parent, menu, instance, this);
  }
  return hwnd_;
}

HWND Window::createDialog(const wchar_t* className, const std::wstring& caption, int clientWidth, int clientHeight,
                          HWND owner, bool topmost) {
  constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT | (topmost ? WS_EX_TOPMOST : 0);
  create(className, exStyle, style, caption, 0, 0, clientWidth, clientHeight, owner, nullptr);
  if (!hwnd_) return hwnd_;
  // Shown over its owner: laid out for the owner's DPI, also when it is made
  // after the owner moved to a monitor of another DPI.
  if (owner)
    SetPropW(hwnd_, kDpiProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(windowDpi(owner))));
  setClientSize(clientWidth, clientHeight);
  return hwnd_;
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    self = static_cast<Window*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetPropW(hwnd, kObjectProp, self);
    if (!(cs->style & WS_CHILD))
      SetPropW(hwnd, kDpiProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpiForWindow(hwnd))));
  } else {
    self = static_cast<Window*>(GetPropW(hwnd, kObjectProp));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, kObjectProp);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->handleMessage(msg, wp, lp);
}

void Window::onCommand(int id, std::function<void(int)> handler) { commands_[id] = std::move(handler); }

void Window::onCommand(int id, std::function<void()> handler) {
  commands_[id] = [h = std::move(handler)](int code) {
    if (code == BN_CLICKED) h();
  };
}

namespace {
std::map<HWND, COLORREF>& textColors() {
  static std::map<HWND, COLORREF> colors;
  return colors;
}
}  // namespace

LRESULT Window::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      auto it = commands_.find(id);
      if (it != commands_.end()) {
        const int code = HIWORD(wp);
        auto handler = it->second;  // a handler may replace the table entry
        runHandler([&] { handler(code); });
        return 0;
      }
      // Escape (or a Cancel without handler of its own) closes a modal window.
      if (id == IDCANCEL && modal_) {
        runHandler([&] { onClose(); });
        return 0;
      }
      break;
    }
    case WM_NEXTDLGCTL: {
      // Sent by multi-line edits on Tab and by the dialog keys: as in a dialog,
      // lParam != 0 names the control, otherwise the next (wParam 0) or the
      // previous tab stop gets the focus, with its text selected.
      HWND target = LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0);
      if (target && IsChild(hwnd_, target)) {
        if (!LOWORD(lp) && (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
          SendMessageW(target, EM_SETSEL, 0, -1);
        SetFocus(target);
      }
      return 0;
    }
    case DM_GETDEFID: {
      // Enter presses the focused button (or clickable label), else the
      // default button.
      HWND focus = GetFocus();
      if (focus && IsChild(hwnd_, focus) && (isPushButton(focus) || GetPropW(focus, kClickableProp)))
        return MAKELONG(GetDlgCtrlID(focus), DC_HASDEFID);
      HWND found = nullptr;
      for (HWND c = GetWindow(hwnd_, GW_CHILD); c && !found; c = GetWindow(c, GW_HWNDNEXT))
        if (isPushButton(c) && (GetWindowLongPtrW(c, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
            canTakeFocus(c))
          found = c;
      return found ? MAKELONG(GetDlgCtrlID(found), DC_HASDEFID) : 0;
    }
    case WM_DPICHANGED: {
      const int dpi = HIWORD(wp);
      const auto* suggested = reinterpret_cast<const RECT*>(lp);
      if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      applyDpi(hwnd_, dpi);  // a fixed size window keeps its design client size
      runHandler([&] { onDpiChanged(dpi); });
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      auto it = textColors().find(reinterpret_cast<HWND>(lp));
      if (it != textColors().end()) SetTextColor(dc, it->second);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
      // Keyboard focus survives switching to another window and back, as in a dialog.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else {
        HWND focus = GetFocus();
        if (!focus || !IsChild(hwnd_, focus)) {
          if (lastFocus_ && IsChild(hwnd_, lastFocus_) && canTakeFocus(lastFocus_))
            SetFocus(lastFocus_);
          else if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE))
            SetFocus(first);
        }
      }
      return 0;
    case WM_CLOSE:
      if (modal_) {
        runHandler([&] { onClose(); });
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Window::showModal(HWND owner) {
  onShowModal();
  RECT o{}, w{};
  GetWindowRect(owner, &o);
  GetWindowRect(hwnd_, &w);
  const int x = o.left + ((o.right - o.left) - (w.right - w.left)) / 2;
  const int y = o.top + ((o.bottom - o.top) - (w.bottom - w.top)) / 2;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  modal_ = true;
  modalOwner_ = owner;
  EnableWindow(owner, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  MSG msg;
  while (modal_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      modal_ = false;
      break;
    }
    dispatchMessage(msg);
  }
  EnableWindow(owner, TRUE);
  ShowWindow(hwnd_, SW_HIDE);
  SetActiveWindow(owner);
  modalOwner_ = nullptr;
}

void Window::endModal() { modal_ = false; }

UINT ctrlTabMessage() {
  static const UINT message = RegisterWindowMessageW(L"VakCtrlTab");
  return message;
}

bool canTakeFocus(HWND control) {
  if (!control || !IsWindow(control)) return false;
  for (HWND h = control; h; h = GetParent(h)) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
    if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) return false;
    if (!(style & WS_CHILD)) break;
  }
  return true;
}

void dispatchMessage(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  // A key for a control that cannot be seen or used (its page was hidden,
  // its parent disabled) changes nothing: the focus goes to the first control
  // that can take it. (The dialog keys would also search such a control's
  // window for a mnemonic without end.)
  if (root && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd != root &&
      msg.hwnd == GetFocus() && !canTakeFocus(msg.hwnd)) {
    HWND first = GetNextDlgTabItem(root, nullptr, FALSE);
    SetFocus(first && canTakeFocus(first) ? first : root);
    return;
  }
  // Ctrl+Tab / Ctrl+Shift+Tab: the window may switch its tab pages.
  if (root && msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
      SendMessageW(root, ctrlTabMessage(), GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0))
    return;
  // Alt alone and F10 open the menu bar from every control; a drop-down list
  // would keep these two keys to itself.
  if (root && (msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP) &&
      (msg.wParam == VK_MENU || msg.wParam == VK_F10)) {
    wchar_t cls[16] = {};
    GetClassNameW(msg.hwnd, cls, 16);
    if (lstrcmpiW(cls, L"ComboBox") == 0) {
      DefWindowProcW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
      return;
    }
  }
  if (root && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void processPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    dispatchMessage(msg);
  }
}

int runMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatchMessage(msg);
  return static_cast<int>(msg.wParam);
}

HFONT uiFont() { return programFont(systemDpi(), false); }
HFONT uiBoldFont() { return programFont(systemDpi(), true); }
HFONT uiFont(int dpi) { return programFont(dpi, false); }
HFONT uiBoldFont(int dpi) { return programFont(dpi, true); }

namespace {
HWND makeControl(const wchar_t* cls, DWORD style, DWORD exStyle, HWND parent, int id, const std::string& text, int x,
                 int y, int w, int h) {
  const int dpi = windowDpi(parent);
  HWND c = CreateWindowExW(exStyle, cls, widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, scale(x, dpi),
                           scale(y, dpi), scale(w, dpi), scale(h, dpi), parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!c) return c;
  rememberDesign(c, x, y, w, h);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(programFont(dpi, false)), FALSE);
  return c;
}

LRESULT CALLBACK clickableProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  switch (msg) {
    case WM_GETDLGCODE: {
      const auto* m = reinterpret_cast<const MSG*>(lp);
      if (m && ((m->message == WM_KEYDOWN && (m->wParam == VK_SPACE || m->wParam == VK_RETURN)) ||
                (m->message == WM_CHAR && (m->wParam == L' ' || m->wParam == L'\r'))))
        return DLGC_WANTMESSAGE;
      break;
    }
    case WM_KEYDOWN:
      if (wp == VK_SPACE || wp == VK_RETURN) {
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), STN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == L' ' || wp == L'\r') return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_PAINT: {
      const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
      if (GetFocus() == hwnd) {
        HDC dc = GetDC(hwnd);
        RECT rc{};
        GetClientRect(hwnd, &rc);
        InflateRect(&rc, -1, -1);
        DrawFocusRect(dc, &rc);
        ReleaseDC(hwnd, dc);
      }
      return r;
    }
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}
}  // namespace

void makeClickable(HWND label) {
  SetPropW(label, kClickableProp, reinterpret_cast<HANDLE>(1));
  SetWindowLongPtrW(label, GWL_STYLE, GetWindowLongPtrW(label, GWL_STYLE) | WS_TABSTOP);
  SetWindowSubclass(label, &clickableProc, 1, 0);
}

HWND makeLabel(HWND parent, int id, const std::string& text, int x, int y, int w, int h, DWORD extra) {
  return makeControl(L"STATIC", SS_LEFT | extra, 0, parent, id, text, x, y, w, h);
}
HWND makeButton(HWND parent, int id, const std::string& text, int x, int y, int w, int h, DWORD extra) {
  return makeControl(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | extra, 0, parent, id, text, x, y, w, h);
}
HWND makeCheck(HWND parent, int id, const std::string& text, int x, int y, int w, int h, DWORD extra) {
  return makeControl(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | extra, 0, parent, id, text, x, y, w, h);
}
HWND makeRadio(HWND parent, int id, const std::string& text, int x, int y, int w, int h, DWORD extra) {
  return makeControl(L"BUTTON", BS_AUTORADIOBUTTON | extra, 0, parent, id, text, x, y, w, h);
}
HWND makeGroup(HWND parent, int id, const std::string& text, int x, int y, int w, int h) {
  return makeControl(L"BUTTON", BS_GROUPBOX, 0, parent, id, text, x, y, w, h);
}
HWND makeEdit(HWND parent, int id, int x, int y, int w, int h, DWORD extra) {
  return makeControl(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP | extra, WS_EX_CLIENTEDGE, parent, id, "", x, y, w, h);
}
HWND makeCombo(HWND parent, int id, int x, int y, int w, int dropHeight, DWORD extra) {
  return makeControl(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | extra, 0, parent, id, "", x, y, w,
                     dropHeight);
}
HWND makeIcon(HWND parent, int id, HICON icon, int x, int y, int w, int h) {
  HWND c = makeControl(L"STATIC", SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL, 0, parent, id, "", x, y, w, h);
  if (icon) SendMessageW(c, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  // Setting the icon sizes the control to the picture: back to its place.
  placeControl(c, x, y, w, h);
  return c;
}

bool isChecked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool setChecked(HWND box, bool checked) {
  if (isChecked(box) == checked) return false;
  SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  return true;
}

HWND childById(HWND parent, int id) { return GetDlgItem(parent, id); }

void comboClear(HWND combo) { SendMessageW(combo, CB_RESETCONTENT, 0, 0); }
void comboAdd(HWND combo, const std::string& text) {
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
}
int comboCount(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); }
int comboSelected(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }
void comboSelect(HWND combo, int index) { SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
std::string comboItem(HWND combo, int index) {
  const LRESULT len = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (len == CB_ERR) return {};
  std::wstring buf(static_cast<size_t>(len) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<size_t>(len));
  return narrow(buf);
}
int comboFind(HWND combo, const std::string& text) {
  const int n = comboCount(combo);
  for (int i = 0; i < n; ++i)
    if (comboItem(combo, i) == text) return i;
  return -1;
}

void setTextColor(HWND control, COLORREF color) { textColors()[control] = color; }

namespace {
const wchar_t kHintsProp[] = L"VakHints";
constexpr UINT_PTR kHintsTimer = 0x5648;  // "VH"

void CALLBACK makeHintsWhenIdle(HWND owner, UINT, UINT_PTR id, DWORD) {
  KillTimer(owner, id);
  if (auto* hints = static_cast<Hints*>(GetPropW(owner, kHintsProp))) hints->makeTip();
}
}  // namespace

Hints::~Hints() {
  if (owner_ && IsWindow(owner_)) {
    KillTimer(owner_, kHintsTimer);
    if (GetPropW(owner_, kHintsProp) == this) RemovePropW(owner_, kHintsProp);
  }
}

void Hints::attach(HWND owner) {
  owner_ = owner;
  // A hint shows after the pointer has rested half a second on a control: a
  // tooltip window made a little later than the window is soon enough. (A
  // timer's message also waits until the queue holds nothing else.)
  SetPropW(owner, kHintsProp, this);
  SetTimer(owner, kHintsTimer, 400, makeHintsWhenIdle);
}

void Hints::makeTip() {
  if (tip_ || !owner_) return;
  KillTimer(owner_, kHintsTimer);
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 500);
  SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 15000);
  for (auto it = tools_.begin(); it != tools_.end();) {
    if (!IsWindow(it->first)) {
      it = tools_.erase(it);
      continue;
    }
    apply(it->first);
    ++it;
  }
}

void Hints::apply(HWND control) {
  if (!tip_) return;
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(control);
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  const auto& tool = tools_[control];
  if (!tool.second || tool.first.empty()) return;
  std::wstring text = widen(tool.first);
  ti.lpszText = text.data();
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Hints::set(HWND control, const std::string& text) {
  tools_[control].first = text;
  apply(control);
}

void Hints::set(HWND control, const std::string& text, bool on) {
  tools_[control] = {text, on};
  apply(control);
}

void Hints::enable(HWND control, bool on) {
  tools_[control].second = on;
  apply(control);
}

bool Hints::enabled(HWND control) const {
  auto it = tools_.find(control);
  return it != tools_.end() && it->second.second;
}

std::string Hints::text(HWND control) const {
  auto it = tools_.find(control);
  return it == tools_.end() ? std::string() : it->second.first;
}

}  // namespace vak
