#pragma once
// A column of equal push buttons with one caption, drawn by one window: what
// was a window per button costs far more to make and to paint than the
// pictures. For the user they stay buttons: the mouse presses them (hot and
// pressed looks), the column is a tab stop in the page's order, Tab and
// Shift+Tab walk its buttons one by one before they leave it, the arrow keys,
// Home and End move between them, Space and Enter press the current one.
//
// Buttons are numbered from 0. Those that the window's height cuts off are
// not drawn and cannot be reached (a shortened column).
//
// Screen readers see each button as a push button of its own (see
// Accessible.h), the parts 1.. of the window.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/Accessible.h"
#include "ui/DrawnParts.h"
#include "ui/Window.h"

namespace vak {

class ButtonColumn : public Window, private AccessibleParts {
 public:
  // count buttons of width x buttonHeight design pixels, one every pitch
  // design pixels downwards from (x, y) of the parent.
  void create(HWND parent, int id, int x, int y, int width, int buttonHeight, int pitch, int count);

  void setCaption(const std::string& text);
  const std::string& caption() const { return caption_; }

  // The buttons the window's height shows in full.
  int shown() const;
  int current() const { return current_; }
  void setCurrent(int index);
  // Button index in client coordinates.
  RECT buttonRect(int index) const;

  // A button was pressed (mouse, Space or Enter).
  std::function<void(int index)> onPress;
  // What a button does, for screen readers: the entry it opens.
  std::function<std::string(int index)> describeButton;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void paint(HDC dc);
  // The same for a DPI and client size asked once: asking costs a round trip
  // to the window system.
  RECT buttonRectAt(int index, int dpi, const RECT& client) const;
  int shownIn(int dpi, const RECT& client) const;
  int hitTest(int x, int y) const;
  void invalidateButton(int index);
  void press(int index);
  void notifyFocus();

  std::vector<long> children(long parent) override;
  long parentOf(long) override { return 0; }
  bool describe(long id, AccessiblePart& part) override;
  void doDefaultAction(long id) override { press(static_cast<int>(id) - 1); }
  bool selectPart(long id, long flags) override;
  long focusedPart() override;

  std::string caption_;
  std::wstring shownCaption_;
  int buttonHeight_ = 0, pitch_ = 1, count_ = 0;
  int current_ = 0;
  int hot_ = -1;      // under the mouse
  int pressed_ = -1;  // held by the mouse or by Space
  bool pressedByKey_ = false;
  bool mouseOverPressed_ = false;
  bool tracking_ = false;
  AccessibleServer accessible_{*this};
};

}  // namespace vak
