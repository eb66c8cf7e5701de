#pragma once
// The about panel Panel1 of the main window and the licence in the web viewer.
#include <windows.h>

namespace vak {

class TForm1;

class AboutPanel {
 public:
  explicit AboutPanel(TForm1& form) : form_(form) {}

  // Creates the hidden panel over the main window.
  void create(HWND mainWindow);
  void place(int left, int top);
  void applyTexts();

  void About1Click();
  void Panel1Click();
  void Lizenz1Click();

 private:
  TForm1& form_;
};

}  // namespace vak
