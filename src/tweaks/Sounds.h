#pragma once
// The group "ICQ-Soundoptions" on the tweaks tab: ICQ's ten event sounds,
// played, replaced and reset.
#include <windows.h>

#include <array>
#include <string>

#include "platform/SoundPlayer.h"
#include "tweaks/TweakRules.h"

namespace vak {

class TweaksPage;
struct Shared;

class Sounds {
 public:
  Sounds(TweaksPage& page, Shared& shared);

  // Creates the group with the master box, the caveat and "Reset", then the
  // ten rows, filled from the state.
  void create(HWND page);

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
  // The sound folder of the profile chosen in NN, or empty after telling the
  // user why no file there can be used.
  std::string usableSoundFolder();

  TweaksPage& page_;
  Shared& shared_;
  // The boxes' states while the page is not made: the master box and the rows.
  bool master_ = true;
  std::array<bool, kSoundRows> rows_;
  SoundPlayer player_;
};

}  // namespace vak
