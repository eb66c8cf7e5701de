#pragma once
// The group "ICQTweaks und Einstellungen" on the tweaks tab: ICQ's birthday
// reminder and multi-instance option, profile deletion, and re-showing ICQ's
// main window. Every control acts at once.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/Page.h"

namespace vak {

class TweaksPage;
struct Shared;

class ProfileOptions {
 public:
  ProfileOptions(TweaksPage& page, Shared& shared);

  // Creates the group and its controls on the tweaks page, filled from the state.
  void create(HWND page);

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
  // What the controls show while the page is not made.
  struct State {
    bool multiInstance = false;
    bool birthdayOn = false;
    bool birthdayEnabled = true;
    bool dependentsEnabled = true;  // the controls that follow the birthday box
    std::string days = "365";
    ComboState profiles;
  };
  void enableDependents(bool on);
  // Enables the dependent controls by GebBox and writes the shown state; false
  // when the registry refused the write.
  bool applyBirthday();

  TweaksPage& page_;
  Shared& shared_;
  State state_;
};

}  // namespace vak
