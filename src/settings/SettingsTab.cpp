// The settings tab "VAK-Einstellungen" of the main window and Einst.ini.
#include <windows.h>
#include <commctrl.h>

#include "app/Ids.h"
#include "app/MainWindow.h"
#include "platform/Text.h"
#include "platform/WinText.h"

namespace vak {

namespace {
constexpr const char* kSection = "Einstellungen";
}

void TForm1::presetSettingsTab() {
  at(ids::SICQNr).presetChecked(true);
  at(ids::HintBox).presetChecked(true);
  const ControlRef numbers = at(ids::C_ICQNr);
  numbers.clear();
  const ControlRef languages = at(ids::ComboLng);
  languages.clear();
  for (const char* item : {"Deutsch", "Englisch", "", "", "", "", "", "", "", ""}) languages.add(item);
  languages.select(0);
  update_.presetControls();
}

void TForm1::createSettingsTab() {
  // Check boxes and lists get their states from what was kept for them.
  HWND p = page(2);
  const HFONT bold = uiBoldFont(windowDpi(p));
  makeGroup(p, ids::AllgemeinBox, "Allgemein", 8, 8, 390, 140);
  HWND heading = makeLabel(p, ids::Label9, "Allgemeine VAK-Einstellungen", 20, 28, 360, 16);
  SendMessageW(heading, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
  makeLabel(p, ids::Label5, "Start-ICQ-Nummer:", 20, 56, 110, 16);
  // Disabled while "Standardnummer verwenden" is checked, as it is at first.
  makeCombo(p, ids::C_ICQNr, 134, 52, 160, 200, WS_DISABLED);
  makeCheck(p, ids::SICQNr, "Standardnummer verwenden", 20, 84, 250, 17);
  makeCheck(p, ids::HintBox, "Hints aktivieren", 20, 110, 250, 17);

  makeGroup(p, ids::GroupBox5, "Sprache", 8, 156, 390, 130);
  HWND lngHeading = makeLabel(p, ids::Label8, T("Sprachauswahl:"), 20, 178, 110, 16);
  SendMessageW(lngHeading, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
  makeCombo(p, ids::ComboLng, 134, 174, 160, 200, WS_DISABLED);
  HWND note1 = makeLabel(p, ids::Label10, "Diese Funktion ist in dieser Version deaktiviert!", 20, 210, 370, 16);
  HWND note2 = makeLabel(p, ids::Label11, "This function is not active in this version!", 20, 230, 370, 16);
  setTextColor(note1, RGB(220, 0, 0));
  setTextColor(note2, RGB(220, 0, 0));

  update_.create(p);  // the group "Update"

  HWND stat = makeLabel(p, ids::EinstStat, "", 8, 298, 390, 18);
  SendMessageW(stat, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
  setTextColor(stat, RGB(220, 0, 0));
  HWND save = makeButton(p, ids::Button7, T("Einstellungen übernehmen"), 500, 294, 200, 25);
  SendMessageW(save, WM_SETFONT, reinterpret_cast<WPARAM>(bold), FALSE);
  makeButton(p, ids::Einst_Abb, "Abbrechen", 710, 294, 100, 25);
}

void TForm1::T3Show() {
  IniFile ini = settings();
  const ControlRef numbers = at(ids::C_ICQNr), languages = at(ids::ComboLng);
  numbers.enable(!at(ids::SICQNr).checked());
  const int number = numbers.find(ini.readString(kSection, "#01", "XXXXXXXXX"));
  if (number >= 0) numbers.select(number);
  const int mode = ini.readInteger(kSection, "#03", 3);
  const int language = languages.find(ini.readString(kSection, "#04", "deutsch"));
  if (language >= 0) languages.select(language);
  at(ids::HintBox).setCheckedAndRun(ini.readBool(kSection, "#05", true), [this] { HintBoxClick(); });
  checkUpdateRadio(mode);
  at(ids::EinstStat).setText("");
}

void TForm1::Einst_UebClick() {
  IniFile ini = settings();
  ini.writeBool("ICQStatFile", "#01", true);
  const ControlRef numbers = at(ids::C_ICQNr), languages = at(ids::ComboLng);
  const int number = numbers.selected();
  ini.writeString(kSection, "#01", number >= 0 ? numbers.itemText(number) : "");
  ini.writeBool(kSection, "#02", at(ids::SICQNr).checked());
  for (int n = 1; n <= 3; ++n)
    if (at(ids::RadioButton1 + n - 1).checked()) ini.writeInteger(kSection, "#03", n);
  const int language = languages.selected();
  ini.writeString(kSection, "#04", language >= 0 ? languages.itemText(language) : "");
  ini.writeBool(kSection, "#05", at(ids::HintBox).checked());
  at(ids::EinstStat).setText(T("Einstellungen übernommen"));
  HintBoxClick();
}

void TForm1::Einst_AbbClick() {
  IniFile ini = settings();
  const ControlRef numbers = at(ids::C_ICQNr), languages = at(ids::ComboLng);
  if (numbers.count() > 0) {
    const int i = numbers.find(ini.readString(kSection, "#01", ""));
    if (i >= 0) numbers.select(i);
  }
  at(ids::SICQNr).setCheckedAndRun(ini.readBool(kSection, "#02", true), [this] { T3Show(); });
  languages.select(languages.find(ini.readString(kSection, "#04", "deutsch")));
  checkUpdateRadio(ini.readInteger(kSection, "#03", 3));
  at(ids::EinstStat).setText("Abgebrochen");
}

void TForm1::HintBoxClick() {
  const bool on = at(ids::HintBox).checked();
  options_.applyHints(on);
  for (int id : {int{ids::Button1}, int{ids::AwayEd}, int{ids::NaEd}, int{ids::InfoBtn}}) at(id).enableHint(on);
  smileys_.applyHints(on);
}

void TForm1::Einstellungen1Click() { setActivePage(2); }

}  // namespace vak
