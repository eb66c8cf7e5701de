#pragma once
// The tab "ICQ-Tweaks und Einstellungen": the groups of the profile options,
// the sounds and the smileys. Its controls are made when it is first needed.
#include <string>
#include <vector>

#include "settings/Shared.h"
#include "tweaks/ProfileOptions.h"
#include "tweaks/Smileys.h"
#include "tweaks/Sounds.h"
#include "ui/ControlText.h"
#include "ui/Page.h"

namespace vak {

namespace ids {
// the group "ICQTweaks und Einstellungen"
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
// the group "ICQ-Soundoptions"
enum : int {
  Sound = 550,
  SoundBox,
  Button4,
  LSnd,
  PlayButton1 = 560,   // "Play" of row k: PlayButton1 + k - 1
  ChangeButton1 = 570, // "Change" of row k
  SCB1 = 580,          // event check box of row k
};
// the group "ICQ-Smileys"
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

class TweaksPage : public Page {
 public:
  explicit TweaksPage(Shared& shared);

  ProfileOptions& options() { return options_; }
  Sounds& sounds() { return sounds_; }
  Smileys& smileys() { return smileys_; }
  Shared& shared() { return shared_; }

  // The texts of the page's controls (see ControlText).
  static const std::vector<ControlText>& texts();
  static std::string text(int id) { return madeText(texts(), id); }
  // The hint switch: the page's switched hints on or off.
  void applyHints(bool on);
  // The hint of the table for a control just made; a switched one follows the
  // hint switch, the others always show.
  void setHint(HWND control, int id, bool switched = true);

 protected:
  void build() override;
  const std::vector<ControlText>* textTable() const override { return &texts(); }

 private:
  Shared& shared_;
  bool hintsOn_ = true;
  ProfileOptions options_;
  Sounds sounds_;
  Smileys smileys_;
};

}  // namespace vak
