#pragma once
// The update check: the "Update" group of the settings tab, the checks at
// start and at exit, and the hand-over to the updater.
#include <windows.h>

namespace vak {

class TForm1;

class UpdateCheck {
 public:
  explicit UpdateCheck(TForm1& form) : form_(form) {}

  // Wires the controls of the update group (created with the settings tab).
  void create(HWND page);
  void applyTexts();

  // The automatic check at start (show handler) and at exit (close handler).
  void checkAtStart();
  void checkAtExit();

  void TestUDClick();
  void aufUpdateprfen1Click();

 private:
  TForm1& form_;
};

}  // namespace vak
