#include "tweaks/ProfileOptions.h"

#include "app/MainWindow.h"
#include "app/Window.h"
#include "platform/Errors.h"
#include "platform/Text.h"
#include "platform/WinText.h"
#include "status/IcqRegistry.h"

namespace vak {

HWND ProfileOptions::control(int id) const { return form_.control(id); }

void ProfileOptions::create(HWND page) {
  makeGroup(page, ids::GroupBox1, "ICQTweaks und Einstellungen", 4, 6, 281, 330);
  makeCheck(page, ids::GebBox, "Geburtstagsmeldung aktivieren", 14, 26, 250, 17);
  makeLabel(page, ids::Gebl1, "Vorwarnzeit:", 14, 52, 70, 16, SS_NOTIFY);
  makeEdit(page, ids::GebEdit, 86, 49, 40, 20);
  SendMessageW(control(ids::GebEdit), EM_SETLIMITTEXT, 3, 0);
  setText(control(ids::GebEdit), "365");
  makeLabel(page, ids::Gebl2, "Tag(e)", 132, 52, 40, 16, SS_NOTIFY);
  makeButton(page, ids::Button6, T("übernehmen"), 180, 48, 90, 22);
  form_.onCommand(ids::GebBox, [this] { GebBoxClick(); });
  form_.onCommand(ids::Button6, [this] { GebBoxClick(); });
}

void ProfileOptions::applyTexts() {
  const std::string birthdayHint =
      T("Achtung!\r\nDamit die Einstellungen korrekt übernommen werden,\r\ndarf ICQ bis zum nächsten PC-Start nicht "
        "erneut\r\nausgeführt werden!");
  for (int id : {ids::GebBox, ids::GebEdit, ids::Gebl1, ids::Gebl2})
    if (HWND h = control(id)) form_.hints().set(h, birthdayHint);
}

void ProfileOptions::applyHints(bool on) {
  for (int id : {ids::GebBox, ids::Gebl1, ids::Gebl2, ids::GebEdit})
    if (HWND h = control(id)) form_.hints().enable(h, on);
}

void ProfileOptions::fillBirthday() {
  // Shown without writing, then written back once.
  setChecked(control(ids::GebBox), false);
  setText(control(ids::GebEdit), "2");
  bool on = false;
  std::string days;
  bool opened = false;
  try {
    opened = readBirthday(form_.currentProfile(), on, days);
  } catch (...) {
    // "Yes" without a readable number of days: the box shows the "Yes" and
    // nothing is written. The controls follow the box, so the days can be
    // entered and stored with "übernehmen".
    if (on) setChecked(control(ids::GebBox), true);
    for (int id : {ids::Gebl1, ids::Gebl2, ids::GebEdit, ids::Button6}) EnableWindow(control(id), on);
    throw;
  }
  if (!opened) {
    // Without the profile's ICQ Lite key nothing is written; the dependent
    // controls still follow the cleared box.
    for (int id : {ids::Gebl1, ids::Gebl2, ids::GebEdit, ids::Button6}) EnableWindow(control(id), FALSE);
    return;
  }
  if (on) {
    setChecked(control(ids::GebBox), true);
    setText(control(ids::GebEdit), days);
  }
  // Writing back what was just read changes nothing: a refusal (no rights on
  // the machine's keys) is not worth a message at every read.
  (void)applyBirthday();
}

void ProfileOptions::fillMultiInstance() {}

void ProfileOptions::fillProfileList(const std::vector<std::string>&) {}

bool ProfileOptions::applyBirthday() {
  const bool on = isChecked(control(ids::GebBox));
  for (int id : {ids::Gebl1, ids::Gebl2, ids::GebEdit, ids::Button6}) EnableWindow(control(id), on);
  return writeBirthday(form_.currentProfile(), on, getText(control(ids::GebEdit)));
}

void ProfileOptions::GebBoxClick() {
  if (!applyBirthday())
    throw VakError(T("Die Geburtstagsmeldung konnte nicht gespeichert werden: Der Schlüssel "
                     "HKEY_LOCAL_MACHINE\\Software\\Mirabilis\\ICQ\\NewOwners\\") +
                   form_.currentProfile() +
                   T("\\ICQLite lässt sich nicht beschreiben.\r\nDafür sind Administratorrechte nötig (\"Als "
                     "Administrator ausführen\")."));
}

void ProfileOptions::MultiIBoxClick() {}

void ProfileOptions::DelProfileBtnClick() {}

void ProfileOptions::Button8Click() {}

}  // namespace vak
