#include "settings/SettingsPage.h"

#include <windows.h>

#include "platform/Text.h"
#include "platform/WinText.h"
#include "settings/Language.h"
#include "ui/Window.h"

namespace vak {

namespace {

constexpr const char* kSection = "Einstellungen";

const std::vector<ControlText>& texts() {
  static const std::vector<ControlText> table = {
      {ids::AllgemeinBox, "Allgemein", "Allgemein"},
      {ids::Label9, "Allgemeine VAK-Einstellungen"},
      {ids::Label5, "Start-ICQ-Nummer:", "Start-ICQ-Nummer"},
      {ids::SICQNr, "Standardnummer verwenden", "Standardnummer verwenden"},
      {ids::HintBox, "Hints aktivieren"},
      {ids::GroupBox5, "Sprache", "Sprache"},
      {ids::Label8, "Sprachauswahl:"},
      {ids::Label10, "Diese Funktion ist in dieser Version deaktiviert!"},
      {ids::Label11, "This function is not active in this version!"},
      {ids::Button7, "Einstellungen übernehmen"},
      {ids::Einst_Abb, "Abbrechen"},
      // the group "Update"
      {ids::GroupBox3, "Update", "Update"},
      {ids::Label7, "Automatische Updates", "Automatisches Update"},
      {ids::RadioButton1, "Beim Start auf Updates prüfen"},
      {ids::RadioButton2, "Beim beenden auf Updates prüfen"},
      {ids::RadioButton3, "Keine automatische Prüfung"},
      {ids::EndUD, "--", "Abbrechen"},
      {ids::TestUD, "Jetzt auf Updates prüfen"},
      {ids::UdCheckbox, "Updatecheck"},
      {ids::UDStatus, "prüfe auf Updates..."},
      {ids::InfoBtn, "Info", "Info", "Zeigt die Versionshistory des VAK an.\r\nbenötigt eine aktive Internetverbindung"},
  };
  return table;
}

}  // namespace

SettingsPage::SettingsPage(Shared& shared) : shared_(shared), update_(*this, shared) {
  languages_.items = {"Deutsch", "Englisch", "", "", "", "", "", "", "", ""};
  languages_.selection = 0;
  onCommand(ids::SICQNr, [this] { T3Show(); });
  onCommand(ids::HintBox, [this] { HintBoxClick(); });
  onCommand(ids::Button7, [this] { Einst_UebClick(); });
  onCommand(ids::Einst_Abb, [this] { Einst_AbbClick(); });
}

const std::vector<ControlText>* SettingsPage::textTable() const { return &texts(); }

std::string SettingsPage::text(int id) { return madeText(texts(), id); }

void SettingsPage::build() {
  HWND p = hwnd_;
  const HFONT bold = uiBoldFont(windowDpi(p));
  makeGroup(p, ids::AllgemeinBox, text(ids::AllgemeinBox), 8, 8, 390, 140);
  HWND heading = makeLabel(p, ids::Label9, text(ids::Label9), 20, 28, 360, 16);
  SendMessageW(heading, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
  makeLabel(p, ids::Label5, text(ids::Label5), 20, 56, 110, 16);
  HWND numbers = makeCombo(p, ids::C_ICQNr, 134, 52, 160, 200, numbersEnabled_ ? 0 : WS_DISABLED);
  fillCombo(numbers, numbers_);
  setChecked(makeCheck(p, ids::SICQNr, text(ids::SICQNr), 20, 84, 250, 17), useDefault_);
  setChecked(makeCheck(p, ids::HintBox, text(ids::HintBox), 20, 110, 250, 17), hintsOn_);

  makeGroup(p, ids::GroupBox5, text(ids::GroupBox5), 8, 156, 390, 130);
  HWND lngHeading = makeLabel(p, ids::Label8, text(ids::Label8), 20, 178, 110, 16);
  SendMessageW(lngHeading, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
  fillCombo(makeCombo(p, ids::ComboLng, 134, 174, 160, 200, WS_DISABLED), languages_);
  HWND note1 = makeLabel(p, ids::Label10, text(ids::Label10), 20, 210, 370, 16);
  HWND note2 = makeLabel(p, ids::Label11, text(ids::Label11), 20, 230, 370, 16);
  setTextColor(note1, RGB(220, 0, 0));
  setTextColor(note2, RGB(220, 0, 0));

  update_.create(p);  // the group "Update"
  const ControlText* info = findText(texts(), ids::InfoBtn);
  shared_.hints->set(GetDlgItem(p, ids::InfoBtn), T(info->hint), hintsOn_);

  HWND stat = makeLabel(p, ids::EinstStat, status_, 8, 298, 390, 18);
  SendMessageW(stat, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
  setTextColor(stat, RGB(220, 0, 0));
  HWND save = makeButton(p, ids::Button7, text(ids::Button7), 500, 294, 200, 25);
  SendMessageW(save, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
  makeButton(p, ids::Einst_Abb, text(ids::Einst_Abb), 710, 294, 100, 25);
}

bool SettingsPage::selectIfListed(int id, ComboState& kept, const std::string& text) {
  const ComboState list = comboState(id, kept);
  for (size_t i = 0; i < list.items.size(); ++i)
    if (list.items[i] == text) {
      selectComboState(id, kept, static_cast<int>(i));
      return true;
    }
  return false;
}

void SettingsPage::selectLanguage(const std::string& name) {
  if (!selectIfListed(ids::ComboLng, languages_, name)) selectComboState(ids::ComboLng, languages_, -1);
}

void SettingsPage::setHints(bool on) { setCheckedState(ids::HintBox, hintsOn_, on); }

void SettingsPage::setUseDefault(bool on) { setCheckedAndRun(ids::SICQNr, useDefault_, on, [this] { T3Show(); }); }

void SettingsPage::fillNumbers(const std::vector<std::string>& keys) {
  ComboState numbers;
  numbers.items = keys;
  setComboState(ids::C_ICQNr, numbers_, numbers);
}

void SettingsPage::selectNumber(const std::string& number) {
  if (!selectIfListed(ids::C_ICQNr, numbers_, number)) selectComboState(ids::C_ICQNr, numbers_, -1);
}

int SettingsPage::collectLanguages(const std::string& folder) {
  ComboState languages = comboState(ids::ComboLng, languages_);
  if (!languages.items.empty()) {
    FindLanguageFiles(folder, "*.lng", languages.items, true);
    languages.selection = -1;
    setComboState(ids::ComboLng, languages_, languages);
  }
  return static_cast<int>(languages.items.size());
}

void SettingsPage::T3Show() {
  IniFile ini = shared_.settings();
  enableState(ids::C_ICQNr, numbersEnabled_, !useDefault());
  selectIfListed(ids::C_ICQNr, numbers_, ini.readString(kSection, "#01", "XXXXXXXXX"));
  const int mode = ini.readInteger(kSection, "#03", 3);
  selectIfListed(ids::ComboLng, languages_, ini.readString(kSection, "#04", "deutsch"));
  setCheckedAndRun(ids::HintBox, hintsOn_, ini.readBool(kSection, "#05", true), [this] { HintBoxClick(); });
  update_.checkMode(mode);
  setTextState(ids::EinstStat, status_, "");
}

void SettingsPage::Einst_UebClick() {
  IniFile ini = shared_.settings();
  ini.writeBool("ICQStatFile", "#01", true);
  const ComboState numbers = comboState(ids::C_ICQNr, numbers_);
  const ComboState languages = comboState(ids::ComboLng, languages_);
  auto chosen = [](const ComboState& c) {
    return c.selection >= 0 && c.selection < static_cast<int>(c.items.size()) ? c.items[static_cast<size_t>(c.selection)]
                                                                               : std::string();
  };
  ini.writeString(kSection, "#01", chosen(numbers));
  ini.writeBool(kSection, "#02", useDefault());
  const int mode = update_.mode();
  if (mode >= 1 && mode <= 3) ini.writeInteger(kSection, "#03", mode);
  ini.writeString(kSection, "#04", chosen(languages));
  ini.writeBool(kSection, "#05", checkedState(ids::HintBox, hintsOn_));
  setTextState(ids::EinstStat, status_, T("Einstellungen übernommen"));
  HintBoxClick();
}

void SettingsPage::Einst_AbbClick() {
  IniFile ini = shared_.settings();
  selectIfListed(ids::C_ICQNr, numbers_, ini.readString(kSection, "#01", ""));
  setUseDefault(ini.readBool(kSection, "#02", true));
  selectLanguage(ini.readString(kSection, "#04", "deutsch"));
  update_.checkMode(ini.readInteger(kSection, "#03", 3));
  setTextState(ids::EinstStat, status_, "Abgebrochen");
}

void SettingsPage::HintBoxClick() {
  const bool on = checkedState(ids::HintBox, hintsOn_);
  if (HWND info = existing(ids::InfoBtn)) shared_.hints->enable(info, on);
  if (shared_.switchHints) shared_.switchHints(on);
}

}  // namespace vak
