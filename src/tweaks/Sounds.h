#pragma once
// The group "ICQ-Soundoptions" on the tweaks tab: ICQ's ten event sounds,
// played, replaced and reset.
#include <windows.h>

#include <string>

#include "platform/SoundPlayer.h"

namespace vak {

class TForm1;

namespace ids {
enum : int {
  Sound = 550,
  SoundBox,
  Button4,
  LSnd,
  PlayButton1 = 560,   // "Play" of row k: PlayButton1 + k - 1
  ChangeButton1 = 570, // "Change" of row k
  SCB1 = 580,          // event check box of row k
};
}  // namespace ids

class Sounds {
 public:
  explicit Sounds(TForm1& form) : form_(form) {}

  // The state its boxes start with, kept until the tweaks page is made.
  void presetControls();
  // Creates the group with the master box, the caveat and "Reset".
  void create(HWND page);
  // The ten rows, made after the group.
  void createRows();
  // The handlers (with the main window, before the controls are made).
  void wireCommands();
  void applyTexts();

  // Last step of every profile read: the master box follows AllResponsePlay.
  void fillMaster();

  void SoundBoxClick();
  void ChSound(int row);
  void PlayClick(int row);
  void ChPlaceClick(int row);
  void Button4Click();

  // The preview device (MPlay).
  SoundPlayer& player() { return player_; }

 private:
  HWND control(int id) const;
  // The sound folder of the profile chosen in NN, or empty after telling the
  // user why no file there can be used.
  std::string usableSoundFolder();

  TForm1& form_;
  HWND page_ = nullptr;
  SoundPlayer player_;
};

}  // namespace vak
