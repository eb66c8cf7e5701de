#pragma once
// A small base for the program's windows: binds the object to its HWND,
// routes WM_COMMAND through a table, and runs every handler through the
// general error display. Plus helpers that create the common controls.
//
// Geometry is written for 96 DPI ("design" pixels). The make* helpers and
// placeControl() take design coordinates, scale them by the DPI of the window
// the control lives in, and remember them: when a window moves to a monitor of
// another DPI (WM_DPICHANGED) every control that has a design rectangle is laid
// out again and gets the program's font in the new size, also controls created
// later at run time. For raw geometry (SetWindowPos, painting) use dpiScale().
#include <windows.h>

#include <functional>
#include <map>
#include <string>

namespace vak {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

  // Shows the window modally over owner (centred on it) and returns when it
  // is hidden again by endModal().
  void showModal(HWND owner);
  void endModal();
  bool isModal() const { return modal_; }

  // A command handler for a control or menu id; code is the notification code.
  void onCommand(int id, std::function<void(int code)> handler);
  void onCommand(int id, std::function<void()> handler);

  // The design (96-DPI) client size of a top-level window; the window is
  // sized for its current DPI now and again whenever its DPI changes.
  void setClientSize(int designWidth, int designHeight);

 protected:
  // A hidden dialog window (tool window with caption and close box) of the
  // given client size, owned by owner and laid out for the owner's DPI.
  HWND createDialog(const wchar_t* className, const std::wstring& caption, int clientWidth, int clientHeight,
                    HWND owner, bool topmost = false);

  // Registers the class once (background: button face) and creates the window.
  HWND create(const wchar_t* className, DWORD exStyle, DWORD style, const std::wstring& title, int x, int y,
              int width, int height, HWND parent, HMENU menu);

  virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Runs before the modal loop shows the window (fills it).
  virtual void onShowModal() {}
  // The close box of a modal window (also Escape, Cancel).
  virtual void onClose() { endModal(); }
  // After the window and its controls were laid out for a new DPI.
  virtual void onDpiChanged(int /*dpi*/) {}

  LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  std::map<int, std::function<void(int)>> commands_;
  bool modal_ = false;
  HWND modalOwner_ = nullptr;
  HWND lastFocus_ = nullptr;
};

// Messages of all windows until the application quits; Tab and the arrow keys
// move between controls as in a dialog.
int runMessageLoop();
// Dispatches one message the way the main loop does (also used by modal loops).
void dispatchMessage(MSG& msg);
// Lets the pending messages of this thread run (repaint and input during a
// long operation). A quit request stays queued for the message loop.
void processPendingMessages();
// Sent to a top-level window on Ctrl+Tab (wParam 1 with Shift); non-zero: handled.
UINT ctrlTabMessage();

// --- DPI -----------------------------------------------------------------
// DPI of the window (of its top-level window); 96 means design size.
// The paint messages of a window that draws all of its client area with
// paint(dc): WM_PAINT and WM_PRINTCLIENT paint, the background is never
// erased. Whether msg was one of them; result is what to return.
template <class Paint>
bool paintMessage(HWND window, UINT msg, WPARAM wp, LRESULT& result, Paint paint) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      paint(dc);
      EndPaint(window, &ps);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wp));
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    default:
      return false;
  }
}

int windowDpi(HWND window);
// A design (96-DPI) length or rectangle in pixels of the window's DPI.
int dpiScale(HWND window, int designValue);
RECT dpiScale(HWND window, const RECT& designRect);
// Moves and sizes a control to a design rectangle (relative to its parent)
// and remembers it for later DPI changes.
void placeControl(HWND control, int x, int y, int width, int height);
// The design rectangle remembered for a control; false when it has none.
bool designRect(HWND control, RECT& rect);
// Grows a label or push button so its current text fits with its font (the
// font's real metrics), keeping its design position (or, with keepRight, its
// right edge); a label wider than its parent wraps. Done again after DPI
// changes; call it again after changing the text.
void fitText(HWND control, bool keepRight = false);

// Fonts of the program: the normal one and a bold one, for a DPI (without:
// the system DPI). Controls that use them get them in the right size after a
// DPI change.
HFONT uiFont();
HFONT uiBoldFont();
HFONT uiFont(int dpi);
HFONT uiBoldFont(int dpi);

// --- keyboard ---------------------------------------------------------------
// Whether the control can take keys: it and all its parents up to the
// top-level window are visible and enabled.
bool canTakeFocus(HWND control);
// Makes a label (SS_NOTIFY) work like a button from the keyboard: a tab stop
// that shows a focus rectangle; Enter and Space click it (STN_CLICKED).
void makeClickable(HWND label);

// Control helpers. Texts are Windows-1252; ids may be 0.
HWND makeLabel(HWND parent, int id, const std::string& text, int x, int y, int w, int h, DWORD extra = 0);
HWND makeButton(HWND parent, int id, const std::string& text, int x, int y, int w, int h, DWORD extra = 0);
HWND makeCheck(HWND parent, int id, const std::string& text, int x, int y, int w, int h, DWORD extra = 0);
HWND makeRadio(HWND parent, int id, const std::string& text, int x, int y, int w, int h, DWORD extra = 0);
HWND makeGroup(HWND parent, int id, const std::string& text, int x, int y, int w, int h);
HWND makeEdit(HWND parent, int id, int x, int y, int w, int h, DWORD extra = 0);
HWND makeCombo(HWND parent, int id, int x, int y, int w, int dropHeight, DWORD extra = 0);
HWND makeIcon(HWND parent, int id, HICON icon, int x, int y, int w, int h);

// Text colour of a label or check box (drawn by its parent window).
void setTextColor(HWND control, COLORREF color);

bool isChecked(HWND box);
// Sets the state; returns true when it changed.
bool setChecked(HWND box, bool checked);
HWND childById(HWND parent, int id);

// Combo box helpers (texts Windows-1252).
void comboClear(HWND combo);
void comboAdd(HWND combo, const std::string& text);
int comboCount(HWND combo);
int comboSelected(HWND combo);
void comboSelect(HWND combo, int index);
std::string comboItem(HWND combo, int index);
// The first item equal to text (case-sensitive), -1 when none.
int comboFind(HWND combo, const std::string& text);

// Tooltips ("hints"): one tooltip window per top-level window. The tooltip
// window is made once the owner's message loop is first idle (no hint can
// show before the pointer rests on a control), not while the window is being
// put together; the hints set until then are handed over when it is made.
class Hints {
 public:
  void attach(HWND owner);
  Hints() = default;
  ~Hints();  // the owner's timer and property go with it
  Hints(const Hints&) = delete;
  Hints& operator=(const Hints&) = delete;
  // Makes the tooltip window now, if it is not made yet.
  void makeTip();
  HWND tip() const { return tip_; }
  // Sets the hint text of a control and whether it shows.
  void set(HWND control, const std::string& text);
  void enable(HWND control, bool on);
  // Both at once (one change of the tooltip).
  void set(HWND control, const std::string& text, bool on);
  bool enabled(HWND control) const;
  std::string text(HWND control) const;

 private:
  void apply(HWND control);
  HWND tip_ = nullptr;
  HWND owner_ = nullptr;
  std::map<HWND, std::pair<std::string, bool>> tools_;
};

}  // namespace vak
