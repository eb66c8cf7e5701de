#pragma once
// The group "ICQ-Smileys" on the tweaks tab: ICQ's 28 smiley bitmaps as
// picture buttons, replaced singly, pointed at a set, and reset.
#include <windows.h>

namespace vak {

class TForm1;

namespace ids {
enum : int {
  Smiley = 700,
  SmOrt,
  Label3,
  Button3,
  Label4,
  ResetSm,
  SmileyButton1 = 710,  // smiley n: SmileyButton1 + n - 1
};
}  // namespace ids

class Smileys {
 public:
  explicit Smileys(TForm1& form) : form_(form) {}

  void create(HWND page);
  void applyTexts();
  void applyHints(bool on);

  // Builds the buttons on its first call (start-up), refreshes folder and pictures on every call.
  void SmileyAkt();
  void SmBtnClick(int n);
  void Button3Click();
  void ResetSmClick();

 private:
  HWND control(int id) const;
  TForm1& form_;
};

}  // namespace vak
