#include "app/Window.h"

#include <commctrl.h>

#include <set>

#include "platform/Ui.h"
#include "platform/WinText.h"

namespace vak {

namespace {

constexpr wchar_t kObjectProp[] = L"VakWindow";

}  // namespace

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
  CreateWindowExW(exStyle, className, title.c_str(), style, x, y, width, height, parent, menu, instance, this);
  return hwnd_;
}

HWND Window::createDialog(const wchar_t* className, const std::wstring& caption, int clientWidth, int clientHeight,
                          HWND owner, bool topmost) {
  constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT | (topmost ? WS_EX_TOPMOST : 0);
  RECT rc{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&rc, style, FALSE, exStyle);
  return create(className, exStyle, style, caption, 0, 0, rc.right - rc.left, rc.bottom - rc.top, owner, nullptr);
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    self = static_cast<Window*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetPropW(hwnd, kObjectProp, self);
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
      break;
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
          if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_) && IsWindowVisible(lastFocus_) &&
              IsWindowEnabled(lastFocus_))
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

void dispatchMessage(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  // Ctrl+Tab / Ctrl+Shift+Tab: the window may switch its tab pages.
  if (root && msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
      SendMessageW(root, ctrlTabMessage(), GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0))
    return;
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

HFONT uiFont() {
  static HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  return font;
}

HFONT uiBoldFont() {
  static HFONT font = CreateFontW(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  return font;
}

namespace {
HWND makeControl(const wchar_t* cls, DWORD style, DWORD exStyle, HWND parent, int id, const std::string& text, int x,
                 int y, int w, int h) {
  HWND c = CreateWindowExW(exStyle, cls, widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont()), FALSE);
  return c;
}
}  // namespace

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
  SetWindowPos(c, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
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

void Hints::attach(HWND owner) {
  owner_ = owner;
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 500);
  SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 15000);
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
