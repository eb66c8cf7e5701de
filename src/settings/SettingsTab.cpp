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

void TForm1::createSettingsTab() {
  HWND p = page(2);
  makeGroup(p, ids::AllgemeinBox, "Allgemein", 8, 8, 390, 140);
  HWND heading = makeLabel(p, ids::Label9, "Allgemeine VAK-Einstellungen", 20, 28, 360, 16);
  SendMessageW(heading, WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont()), FALSE);
  makeLabel(p, ids::Label5, "Start-ICQ-Nummer:", 20, 56, 110, 16);
  // Disabled while "Standardnummer verwenden" is checked, as it is at first.
  makeCombo(p, ids::C_ICQNr, 134, 52, 160, 200, WS_DISABLED);
  makeCheck(p, ids::SICQNr, "Standardnummer verwenden", 20, 84, 250, 17);
  setChecked(control(ids::SICQNr), true);
  makeCheck(p, ids::HintBox, "Hints aktivieren", 20, 110, 250, 17);
  setChecked(control(ids::HintBox), true);

  makeGroup(p, ids::GroupBox5, "Sprache", 8, 156, 390, 130);
  HWND lngHeading = makeLabel(p, ids::Label8, T("Sprachauswahl:"), 20, 178, 110, 16);
  SendMessageW(lngHeading, WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont()), FALSE);
  HWND lng = makeCombo(p, ids::ComboLng, 134, 174, 160, 200, WS_DISABLED);
  for (const char* item : {"Deutsch", "Englisch", "", "", "", "", "", "", "", ""}) comboAdd(lng, item);
  comboSelect(lng, 0);
  HWND note1 = makeLabel(p, ids::Label10, "Diese Funktion ist in dieser Version deaktiviert!", 20, 210, 370, 16);
  HWND note2 = makeLabel(p, ids::Label11, "This function is not active in this version!", 20, 230, 370, 16);
  setTextColor(note1, RGB(220, 0, 0));
  setTextColor(note2, RGB(220, 0, 0));

  update_.create(p);  // the group "Update"

  HWND stat = makeLabel(p, ids::EinstStat, "", 8, 298, 390, 18);
  SendMessageW(stat, WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont()), FALSE);
  setTextColor(stat, RGB(220, 0, 0));
  HWND save = makeButton(p, ids::Button7, T("Einstellungen übernehmen"), 500, 294, 200, 25);
  SendMessageW(save, WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont()), FALSE);
  makeButton(p, ids::Einst_Abb, "Abbrechen", 710, 294, 100, 25);
}

void TForm1::T3Show() {
  IniFile ini = settings();
  EnableWindow(control(ids::C_ICQNr), !isChecked(control(ids::SICQNr)));
  const int number = comboFind(control(ids::C_ICQNr), ini.readString(kSection, "#01", "XXXXXXXXX"));
  if (number >= 0) comboSelect(control(ids::C_ICQNr), number);
  const int mode = ini.readInteger(kSection, "#03", 3);
  const int language = comboFind(control(ids::ComboLng), ini.readString(kSection, "#04", "deutsch"));
  if (language >= 0) comboSelect(control(ids::ComboLng), language);
  setCheckedAndRun(control(ids::HintBox), ini.readBool(kSection, "#05", true), [this] { HintBoxClick(); });
  checkUpdateRadio(mode);
  setText(control(ids::EinstStat), "");
}

void TForm1::Einst_UebClick() {
  IniFile ini = settings();
  ini.writeBool("ICQStatFile", "#01", true);
  const int number = comboSelected(control(ids::C_ICQNr));
  ini.writeString(kSection, "#01", number >= 0 ? comboItem(control(ids::C_ICQNr), number) : "");
  ini.writeBool(kSection, "#02", isChecked(control(ids::SICQNr)));
  for (int n = 1; n <= 3; ++n)
    if (isChecked(control(ids::RadioButton1 + n - 1))) ini.writeInteger(kSection, "#03", n);
  const int language = comboSelected(control(ids::ComboLng));
  ini.writeString(kSection, "#04", language >= 0 ? comboItem(control(ids::ComboLng), language) : "");
  ini.writeBool(kSection, "#05", isChecked(control(ids::HintBox)));
  setText(control(ids::EinstStat), T("Einstellungen übernommen"));
  HintBoxClick();
}

void TForm1::Einst_AbbClick() {
  IniFile ini = settings();
  HWND numbers = control(ids::C_ICQNr);
  if (comboCount(numbers) > 0) {
    const int i = comboFind(numbers, ini.readString(kSection, "#01", ""));
    if (i >= 0) comboSelect(numbers, i);
  }
  setCheckedAndRun(control(ids::SICQNr), ini.readBool(kSection, "#02", true), [this] { T3Show(); });
  comboSelect(control(ids::ComboLng), comboFind(control(ids::ComboLng), ini.readString(kSection, "#04", "deutsch")));
  checkUpdateRadio(ini.readInteger(kSection, "#03", 3));
  setText(control(ids::EinstStat), "Abgebrochen");
}

void TForm1::HintBoxClick() {
  const bool on = isChecked(control(ids::HintBox));
  options_.applyHints(on);
  for (int id : {int{ids::Button1}, int{ids::AwayEd}, int{ids::NaEd}, int{ids::InfoBtn}})
    if (HWND h = control(id)) hints_.enable(h, on);
  smileys_.applyHints(on);
}

void TForm1::Einstellungen1Click() { setActivePage(2); }

}  // namespace vak
