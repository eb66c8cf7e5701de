#pragma once
// A page of the main window (a tab page or a panel over it): a child window
// that owns its controls, their texts and their handlers.
//
// A page may make its controls only when it is first needed. Until then what
// the program sets on them lives in the page's own state (plain data), and
// the controls are filled from it when they are made; once they exist the
// controls hold the state (the user changes them).
#include <windows.h>

#include <string>
#include <vector>

#include "ui/ControlText.h"
#include "ui/Window.h"

namespace vak {

// A combo box's list and choice while its control is not made.
struct ComboState {
  std::vector<std::string> items;
  int selection = -1;
};

class Page : public Window {
 public:
  // The page window: hidden, with no controls yet.
  void createWindow(HWND parent, int x, int y, int width, int height, HMENU id = nullptr);
  // Makes the controls once; a page without a window makes nothing.
  void make();
  bool made() const { return made_; }
  // The control; the controls are made first when they are not yet.
  HWND control(int id);
  // The control without making anything: null before the controls are made.
  HWND existing(int id) const;
  // The texts routine found no language file: the built-in texts of the
  // page's table, now and when its controls are made.
  virtual void useBuiltInTexts();

 protected:
  // Creates the controls and fills them from the page's state.
  virtual void build() = 0;
  // The texts of the page's controls; null when it has no table.
  virtual const std::vector<ControlText>* textTable() const { return nullptr; }
  // Pictures the page draws over its background, those that meet area (also
  // for WM_PRINTCLIENT); false when the page draws none.
  virtual bool paintPictures(HDC /*dc*/, const RECT& /*area*/) { return false; }
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 public:
  // A state that is the control's once it exists and the kept value before.
  bool checkedState(int id, bool kept) const;
  // Sets both; true when the state changed.
  bool setCheckedState(int id, bool& kept, bool on);
  std::string textState(int id, const std::string& kept) const;
  void setTextState(int id, std::string& kept, const std::string& text);
  void enableState(int id, bool& kept, bool on);
  // Combo boxes the same way.
  ComboState comboState(int id, const ComboState& kept) const;
  void setComboState(int id, ComboState& kept, const ComboState& state);
  int comboSelection(int id, const ComboState& kept) const;
  void selectComboState(int id, ComboState& kept, int index);
  // Fills a combo box just made from its kept state.
  static void fillCombo(HWND combo, const ComboState& state);
  // Runs handler when setting the state changed it, as a click would (Win32
  // runs no handler when the program changes a check box).
  template <class Handler>
  void setCheckedAndRun(int id, bool& kept, bool on, Handler handler) {
    if (setCheckedState(id, kept, on)) handler();
  }

 private:
  bool made_ = false;
  bool builtInTexts_ = false;
};

}  // namespace vak
