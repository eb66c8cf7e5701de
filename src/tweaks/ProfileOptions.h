#pragma once
// The group "ICQTweaks und Einstellungen" on the tweaks tab: ICQ's birthday
// reminder and multi-instance option, profile deletion, and re-showing ICQ's
// main window. Every control acts at once.
#include <windows.h>

#include <string>
#include <vector>

namespace vak {

class TForm1;

namespace ids {
enum : int {
  GroupBox1 = 500,
  MultiIBox,
  GebBox,
  Gebl1,
  GebEdit,
  Gebl2,
  Button6,
  Label12,
  DelProfile,
  DelProfileBtn,
  Label13,
  Button8,
};
}  // namespace ids

class ProfileOptions {
 public:
  explicit ProfileOptions(TForm1& form) : form_(form) {}

  // The state its controls start with, kept until the tweaks page is made.
  void presetControls();
  // Creates the group and its controls on the tweaks page.
  void create(HWND page);
  // The controls' handlers (with the main window, before the controls are made).
  void wireCommands();
  // Captions and hints of the texts routine.
  void applyTexts();
  // The hint switch: the hints of the switched controls on or off.
  void applyHints(bool on);

  // Part of every profile read: shows the profile's reminder, then writes it back once.
  void fillBirthday();
  // At every showing of the main window.
  void fillMultiInstance();
  // The deletion list holds the same entries as the profile box.
  void fillProfileList(const std::vector<std::string>& texts);

  void GebBoxClick();
  void MultiIBoxClick();
  void DelProfileBtnClick();
  void Button8Click();

 private:
  HWND control(int id) const;
  // Enables the dependent controls by GebBox and writes the shown state; false
  // when the registry refused the write.
  bool applyBirthday();
  TForm1& form_;
};

}  // namespace vak
