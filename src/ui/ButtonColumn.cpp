#include "ui/ButtonColumn.h"

#include <oleacc.h>

#include <algorithm>

#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"

namespace vak {

void ButtonColumn::create(HWND parent, int id, int x, int y, int width, int buttonHeight, int pitch, int count) {
  buttonHeight_ = buttonHeight;
  pitch_ = pitch;
  count_ = count;
  Window::create(L"VakButtonColumn", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, L"", x, y, width,
                 (count - 1) * pitch + buttonHeight, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void ButtonColumn::setCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  shownCaption_ = widen(text);
  if (!hwnd_) return;
  // The window's own text names it for screen readers.
  SetWindowTextW(hwnd_, shownCaption_.c_str());
  InvalidateRect(hwnd_, nullptr, FALSE);
}

RECT ButtonColumn::buttonRect(int index) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  return buttonRectAt(index, windowDpi(hwnd_), client);
}

RECT ButtonColumn::buttonRectAt(int index, int dpi, const RECT& client) const {
  return RECT{0, MulDiv(index * pitch_, dpi, 96), client.right, MulDiv(index * pitch_ + buttonHeight_, dpi, 96)};
}

int ButtonColumn::shown() const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  return shownIn(windowDpi(hwnd_), client);
}

int ButtonColumn::shownIn(int dpi, const RECT& client) const {
  int n = 0;
  while (n < count_ && buttonRectAt(n, dpi, client).bottom <= client.bottom) ++n;
  return n;
}

int ButtonColumn::hitTest(int x, int y) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int dpi = windowDpi(hwnd_);
  const int n = shownIn(dpi, client);
  for (int i = 0; i < n; ++i) {
    const RECT r = buttonRectAt(i, dpi, client);
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return i;
  }
  return -1;
}

void ButtonColumn::invalidateButton(int index) {
  if (index < 0 || !hwnd_) return;
  const RECT r = buttonRect(index);
  InvalidateRect(hwnd_, &r, FALSE);
}

void ButtonColumn::setCurrent(int index) {
  const int last = shown() - 1;
  if (last < 0) return;
  index = std::max(0, std::min(index, last));
  if (index == current_) return;
  invalidateButton(current_);
  current_ = index;
  invalidateButton(current_);
  notifyFocus();
}

void ButtonColumn::notifyFocus() {
  // A screen reader follows the current button.
  if (GetFocus() == hwnd_) notifyAccessible(EVENT_OBJECT_FOCUS, hwnd_, current_ + 1);
}

void ButtonColumn::press(int index) {
  if (index < 0 || index >= shown() || !onPress) return;
  runHandler([&] { onPress(index); });
}

void ButtonColumn::paint(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const int dpi = windowDpi(hwnd_);
  const bool focused = GetFocus() == hwnd_;
  const int n = shownIn(dpi, client);
  for (int i = 0; i < n; ++i) {
    const RECT r = buttonRectAt(i, dpi, client);
    PartLook look = PartLook::Button;
    if (i == pressed_ && (pressedByKey_ || mouseOverPressed_))
      look = PartLook::ButtonPressed;
    else if (i == hot_)
      look = PartLook::ButtonHot;
    else if (focused && i == current_)
      look = PartLook::ButtonDefault;
    DrawnParts::shared().draw(dc, hwnd_, look, r, shownCaption_);
  }
  if (focused && current_ < n && !(SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
    RECT f = buttonRectAt(current_, dpi, client);
    InflateRect(&f, -MulDiv(3, dpi, 96), -MulDiv(2, dpi, 96));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    DrawFocusRect(dc, &f);
  }
}

LRESULT ButtonColumn::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT painted = 0;
  if (paintMessage(hwnd_, msg, wp, painted, [this](HDC dc) { paint(dc); })) return painted;
  if (accessible_.handle(hwnd_, msg, wp, lp, painted)) return painted;
  switch (msg) {
    case WM_SETFOCUS:
      // Come to by Tab: the first button; by Shift+Tab: the last one.
      if (GetKeyState(VK_TAB) < 0) current_ = GetKeyState(VK_SHIFT) < 0 ? std::max(0, shown() - 1) : 0;
      InvalidateRect(hwnd_, nullptr, FALSE);
      notifyFocus();
      return 0;
    case WM_KILLFOCUS:
      if (pressedByKey_) {
        pressedByKey_ = false;
        pressed_ = -1;
      }
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_UPDATEUISTATE:
      InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS;
      // Tab walks the buttons; past the last (or before the first) it leaves the column.
      const auto* m = reinterpret_cast<const MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        if (back ? current_ > 0 : current_ < shown() - 1) code |= DLGC_WANTTAB;
      }
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
      if (m && m->message == WM_CHAR && m->wParam == L' ') code |= DLGC_WANTCHARS;
      return code;
    }
    case WM_KEYDOWN:
      switch (wp) {
        case VK_UP:
        case VK_LEFT: setCurrent(current_ - 1); return 0;
        case VK_DOWN:
        case VK_RIGHT: setCurrent(current_ + 1); return 0;
        case VK_HOME: setCurrent(0); return 0;
        case VK_END: setCurrent(shown() - 1); return 0;
        case VK_TAB: setCurrent(current_ + (GetKeyState(VK_SHIFT) < 0 ? -1 : 1)); return 0;
        case VK_RETURN: press(current_); return 0;
        case VK_SPACE:
          // Like a button: pressed while the key is down, let go to click.
          if (pressed_ < 0 && current_ < shown()) {
            pressed_ = current_;
            pressedByKey_ = true;
            invalidateButton(pressed_);
          }
          return 0;
        default:
          break;
      }
      break;
    case WM_KEYUP:
      if (wp == VK_SPACE && pressedByKey_) {
        const int index = pressed_;
        pressedByKey_ = false;
        pressed_ = -1;
        invalidateButton(index);
        press(index);
        return 0;
      }
      break;
    case WM_CHAR:
      return 0;
    case WM_LBUTTONDOWN: {
      const int i = hitTest(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      SetFocus(hwnd_);
      if (i >= 0 && !pressedByKey_) {
        setCurrent(i);
        pressed_ = i;
        mouseOverPressed_ = true;
        SetCapture(hwnd_);
        invalidateButton(i);
      }
      return 0;
    }
    case WM_MOUSEMOVE: {
      const int i = hitTest(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      if (!tracking_) {
        TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&t) != 0;
      }
      if (i != hot_) {
        invalidateButton(hot_);
        hot_ = i;
        invalidateButton(hot_);
      }
      if (pressed_ >= 0 && !pressedByKey_ && mouseOverPressed_ != (i == pressed_)) {
        mouseOverPressed_ = i == pressed_;
        invalidateButton(pressed_);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      invalidateButton(hot_);
      hot_ = -1;
      return 0;
    case WM_LBUTTONUP: {
      if (pressed_ < 0 || pressedByKey_) return 0;
      const int index = pressed_;
      const bool over = hitTest(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))) == index;
      pressed_ = -1;
      if (GetCapture() == hwnd_) ReleaseCapture();
      invalidateButton(index);
      if (over) press(index);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressed_ >= 0 && !pressedByKey_) {
        invalidateButton(pressed_);
        pressed_ = -1;
      }
      return 0;
    case WM_SIZE:
      // Laid out again (another DPI) or shortened.
      if (current_ >= shown()) current_ = std::max(0, shown() - 1);
      InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      DrawnParts::shared().clear();
      InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    default:
      break;
  }
  return Window::handleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- accessibility

std::vector<long> ButtonColumn::children(long parent) {
  std::vector<long> ids;
  if (parent == 0)
    for (int i = 1; i <= shown(); ++i) ids.push_back(i);
  return ids;
}

bool ButtonColumn::describe(long id, AccessiblePart& part) {
  if (id == 0) return true;  // the window: as the system sees it
  const int index = static_cast<int>(id) - 1;
  if (index < 0 || index >= shown()) return false;
  part.role = ROLE_SYSTEM_PUSHBUTTON;
  part.name = caption_;
  if (describeButton) part.description = describeButton(index);
  part.defaultAction = T("Drücken");
  part.state = STATE_SYSTEM_FOCUSABLE;
  if (GetFocus() == hwnd_ && index == current_) part.state |= STATE_SYSTEM_FOCUSED;
  if (index == hot_) part.state |= STATE_SYSTEM_HOTTRACKED;
  if (index == pressed_ && (pressedByKey_ || mouseOverPressed_)) part.state |= STATE_SYSTEM_PRESSED;
  part.rect = buttonRect(index);
  return true;
}

bool ButtonColumn::selectPart(long id, long flags) {
  const int index = static_cast<int>(id) - 1;
  if (index < 0 || index >= shown()) return false;
  setCurrent(index);
  if (flags & SELFLAG_TAKEFOCUS) SetFocus(hwnd_);
  return true;
}

long ButtonColumn::focusedPart() { return GetFocus() == hwnd_ && current_ < shown() ? current_ + 1 : 0; }

}  // namespace vak
