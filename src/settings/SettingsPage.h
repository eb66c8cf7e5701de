#pragma once
// The tab "VAK-Einstellungen": VAK's own settings in Einst.ini (start
// profile, hints, language) and the group "Update". Its controls are made
// when it is first needed.
#include <string>
#include <vector>

#include "settings/Shared.h"
#include "settings/UpdateCheck.h"
#include "ui/ControlText.h"
#include "ui/Page.h"

namespace vak {

namespace ids {
enum : int {
  AllgemeinBox = 600,
  Label9,
  Label5,
  C_ICQNr,
  SICQNr,
  HintBox,
  GroupBox5,
  Label8,
  ComboLng,
  Label10,
  Label11,
  EinstStat,
  Button7,
  Einst_Abb,
};
}  // namespace ids

class SettingsPage : public Page {
 public:
  explicit SettingsPage(Shared& shared);

  UpdateCheck& update() { return update_; }
  // The text a control of the page is made with (see ControlText).
  static std::string text(int id);

  // Start-up: the language named in Einst.ini, the hint switch, the choice of
  // the start number and the list of numbers to choose from.
  void selectLanguage(const std::string& name);
  void setHints(bool on);
  void setUseDefault(bool on);
  bool useDefault() const { return checkedState(ids::SICQNr, useDefault_); }
  void fillNumbers(const std::vector<std::string>& keys);
  void selectNumber(const std::string& number);
  // The language list with the language files found in folder; how many entries it holds.
  int collectLanguages(const std::string& folder);

  void T3Show();
  void Einst_UebClick();
  void Einst_AbbClick();
  void HintBoxClick();

 protected:
  void build() override;
  const std::vector<ControlText>* textTable() const override;

 private:
  // Chooses the first item equal to text; false (nothing changed) when there is none.
  bool selectIfListed(int id, ComboState& kept, const std::string& text);

  Shared& shared_;
  // What the controls show while the page is not made.
  ComboState numbers_;
  bool numbersEnabled_ = false;  // disabled while "Standardnummer verwenden" is checked
  bool useDefault_ = true;
  bool hintsOn_ = true;
  ComboState languages_;
  std::string status_;
  UpdateCheck update_;
};

}  // namespace vak
