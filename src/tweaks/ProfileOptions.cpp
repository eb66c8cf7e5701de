#include "tweaks/ProfileOptions.h"

#include "app/Ids.h"
#include "app/MainWindow.h"
#include "app/Window.h"
#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"
#include "status/IcqKeys.h"
#include "status/IcqRegistry.h"
#include "tweaks/TweakRules.h"

namespace vak {

namespace {

// The controls that follow the birthday box.
constexpr int kBirthdayDependents[] = {ids::Gebl1, ids::Gebl2, ids::GebEdit, ids::Button6};

}  // namespace

HWND ProfileOptions::control(int id) const { return form_.control(id); }

void ProfileOptions::presetControls() {
  form_.at(ids::MultiIBox).presetChecked(false);
  form_.at(ids::GebBox).presetChecked(false);
  form_.at(ids::GebEdit).setText("365");
}

void ProfileOptions::create(HWND page) {
  // Narrow enough to leave the sound captions beside it their room in
  // Tahoma 8: "übernehmen" goes under the days field, the explanation of
  // Button8 wraps into four lines.
  makeGroup(page, ids::GroupBox1, "ICQTweaks und Einstellungen", 4, 6, 233, 330);
  makeCheck(page, ids::MultiIBox, "MultiInstance", 14, 24, 213, 17);
  makeCheck(page, ids::GebBox, "Geburtstagsmeldung aktivieren", 14, 50, 213, 17);
  makeLabel(page, ids::Gebl1, "Vorwarnzeit:", 14, 76, 74, 16, SS_NOTIFY);
  makeEdit(page, ids::GebEdit, 90, 73, 40, 20);
  SendMessageW(control(ids::GebEdit), EM_SETLIMITTEXT, 3, 0);
  makeLabel(page, ids::Gebl2, "Tag(e)", 136, 76, 40, 16, SS_NOTIFY);
  makeButton(page, ids::Button6, T("übernehmen"), 90, 99, 88, 22);

  HWND heading = makeLabel(page, ids::Label12, "ICQ-Profilverwaltung", 14, 140, 213, 16);
  SendMessageW(heading, WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont(windowDpi(page))), FALSE);
  makeCombo(page, ids::DelProfile, 14, 160, 213, 200);
  makeButton(page, ids::DelProfileBtn, T("Profil löschen"), 14, 188, 120, 23);
  form_.hints().set(control(ids::DelProfileBtn), T("löscht das gewählte Profil"));

  makeLabel(page, ids::Label13, "", 14, 228, 213, 56, SS_NOPREFIX);
  makeButton(page, ids::Button8, "ICQ-Fester wieder anzeigen", 14, 290, 180, 23);
}

void ProfileOptions::wireCommands() {
  form_.onCommand(ids::MultiIBox, [this] { MultiIBoxClick(); });
  form_.onCommand(ids::GebBox, [this] { GebBoxClick(); });
  form_.onCommand(ids::Button6, [this] { GebBoxClick(); });
  form_.onCommand(ids::DelProfileBtn, [this] { DelProfileBtnClick(); });
  form_.onCommand(ids::Button8, [this] { Button8Click(); });
}

void ProfileOptions::applyTexts() {
  form_.at(ids::MultiIBox).setText("MultiInstance");
  form_.at(ids::MultiIBox)
      .setHint(T("Macht es möglich ICQ mehrfach, also\r\nmit verschiedenen Profilen laufen zu lassen"));
  const std::string birthdayHint =
      T("Achtung!\r\nDamit die Einstellungen korrekt übernommen werden,\r\ndarf ICQ bis zum nächsten PC-Start nicht "
        "erneut\r\nausgeführt werden!");
  for (int id : {ids::GebBox, ids::GebEdit, ids::Gebl1, ids::Gebl2}) form_.at(id).setHint(birthdayHint);
  form_.at(ids::Label13).setText(
          T("Ab und zu lässt sich das ICQ-Haupfenster nicht\r\nmehr aufrufen. Ein Klick und es erscheint wieder."));
}

void ProfileOptions::applyHints(bool on) {
  for (int id : {ids::MultiIBox, ids::GebBox, ids::Gebl1, ids::Gebl2, ids::GebEdit, ids::DelProfileBtn})
    form_.at(id).enableHint(on);
}

void ProfileOptions::fillBirthday() {
  // Shown without writing, then written back once.
  const ControlRef box = form_.at(ids::GebBox);
  box.enable(true);
  box.setChecked(false);
  form_.at(ids::GebEdit).setText("2");
  bool on = false;
  std::string days;
  bool opened = false;
  try {
    opened = readBirthday(form_.currentProfile(), on, days);
  } catch (...) {
    // "Yes" without a readable number of days: the box shows the "Yes" and
    // nothing is written. The controls follow the box, so the days can be
    // entered and stored with "übernehmen".
    if (on) box.setChecked(true);
    for (int id : {ids::Gebl1, ids::Gebl2, ids::GebEdit, ids::Button6}) form_.at(id).enable(on);
    throw;
  }
  if (!opened) {
    // Without the profile's ICQ Lite key nothing is written; the dependent
    // controls still follow the cleared box.
    for (int id : kBirthdayDependents) form_.at(id).enable(false);
    return;
  }
  if (on) {
    box.setChecked(true);
    form_.at(ids::GebEdit).setText(days);
  }
  // Writing back what was just read changes nothing: a refusal (no rights on
  // the machine's keys) is not worth a message at every read.
  (void)applyBirthday();
}

void ProfileOptions::fillMultiInstance() {
  const DefaultPrefs prefs = readDefaultPrefs();
  if (prefs.opened && prefs.multiInstance == "Yes")
    form_.at(ids::MultiIBox).setCheckedAndRun(true, [this] { MultiIBoxClick(); });
}

void ProfileOptions::fillProfileList(const std::vector<std::string>& texts) {
  const ControlRef list = form_.at(ids::DelProfile);
  list.clear();
  for (const std::string& text : texts) list.add(text);
}

bool ProfileOptions::applyBirthday() {
  const bool on = form_.at(ids::GebBox).checked();
  for (int id : kBirthdayDependents) form_.at(id).enable(on);
  return writeBirthday(form_.currentProfile(), on, form_.at(ids::GebEdit).text());
}

void ProfileOptions::GebBoxClick() {
  // The profile shown was deleted: writing would create its key again.
  if (form_.shownProfileDeleted()) return;
  if (!applyBirthday())
    throw VakError(T("Die Geburtstagsmeldung konnte nicht gespeichert werden: Der Schlüssel ") +
                   icq::profileKeyText(icq::kMachineRootName, form_.currentProfile(), icq::kIcqLite) +
                   T(" lässt sich nicht beschreiben.\r\nDafür sind Administratorrechte nötig (\"Als "
                     "Administrator ausführen\")."));
}

void ProfileOptions::MultiIBoxClick() { writeMultiInstance(form_.at(ids::MultiIBox).checked()); }

void ProfileOptions::DelProfileBtnClick() {
  const std::string defaultProfile = intToStr(readLastOwner());
  HWND list = control(ids::DelProfile);
  const int i = comboSelected(list);
  if (i < 0) {
    ui().messageBox("Achtung!", T("Wählen sie erst ein Profil!"), MbOk, MbIconInfo);
    return;
  }
  std::vector<std::string>& keys = form_.profileKeys();
  if (i >= static_cast<int>(keys.size())) throw VakError(errListIndex(i));
  const std::string uin = keys[static_cast<size_t>(i)];
  // LastOwner 0 (none) matches no profile.
  if (defaultProfile != "0" && uin == defaultProfile) {
    ui().messageBox("Achtung!", T("Das Standardprofil kann nicht gelöscht werden!"), MbOk, MbIconError);
    return;
  }
  const std::string question = "Soll Das Profil " + comboItem(list, i) + T(" wirklich gelöscht werden?");
  if (ui().messageBox("Achtung!", question, MbYesNo, MbIconWarning) != MbResYes) return;

  deleteProfile(uin);
  keys.erase(keys.begin() + i);
  HWND nn = control(ids::NN);
  const bool wasShown = comboSelected(nn) == i;
  SendMessageW(nn, CB_DELETESTRING, static_cast<WPARAM>(i), 0);
  if (wasShown) comboSelect(nn, -1);
  comboSelect(list, -1);
  SendMessageW(list, CB_DELETESTRING, static_cast<WPARAM>(i), 0);
  if (uin == form_.currentProfile()) {
    // The tables keep showing it until another profile is chosen; its
    // birthday switch would write it back at once.
    form_.setShownProfileDeleted();
    EnableWindow(control(ids::GebBox), FALSE);
    for (int id : kBirthdayDependents) EnableWindow(control(id), FALSE);
  }
}

void ProfileOptions::Button8Click() {
  const std::wstring title = widen(icqWindowTitle(form_.currentProfile()));
  if (HWND icq = FindWindowW(nullptr, title.c_str())) {
    ShowWindow(icq, SW_SHOW);
    return;
  }
  ui().messageBox(kAppTitle, "Fenster nicht gefunden!", MbOk, MbNoIcon);
}

}  // namespace vak
