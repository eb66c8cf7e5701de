#include "tweaks/ProfileOptions.h"

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"
#include "settings/Shared.h"
#include "status/IcqKeys.h"
#include "status/IcqRegistry.h"
#include "tweaks/TweakRules.h"
#include "tweaks/TweaksPage.h"
#include "ui/Window.h"

namespace vak {

namespace {

// The controls that follow the birthday box.
constexpr int kBirthdayDependents[] = {ids::Gebl1, ids::Gebl2, ids::GebEdit, ids::Button6};

}  // namespace

ProfileOptions::ProfileOptions(TweaksPage& page, Shared& shared) : page_(page), shared_(shared) {
  page_.onCommand(ids::MultiIBox, [this] { MultiIBoxClick(); });
  page_.onCommand(ids::GebBox, [this] { GebBoxClick(); });
  page_.onCommand(ids::Button6, [this] { GebBoxClick(); });
  page_.onCommand(ids::DelProfileBtn, [this] { DelProfileBtnClick(); });
  page_.onCommand(ids::Button8, [this] { Button8Click(); });
}

void ProfileOptions::create(HWND page) {
  // Narrow enough to leave the sound captions beside it their room in
  // Tahoma 8: "übernehmen" goes under the days field, the explanation of
  // Button8 wraps into four lines.
  auto text = [](int id) { return TweaksPage::text(id); };
  makeGroup(page, ids::GroupBox1, text(ids::GroupBox1), 4, 6, 233, 330);
  makeCheck(page, ids::MultiIBox, text(ids::MultiIBox), 14, 24, 213, 17);
  makeCheck(page, ids::GebBox, text(ids::GebBox), 14, 50, 213, 17);
  makeLabel(page, ids::Gebl1, text(ids::Gebl1), 14, 76, 74, 16, SS_NOTIFY);
  makeEdit(page, ids::GebEdit, 90, 73, 40, 20);
  SendMessageW(GetDlgItem(page, ids::GebEdit), EM_SETLIMITTEXT, 3, 0);
  makeLabel(page, ids::Gebl2, text(ids::Gebl2), 136, 76, 40, 16, SS_NOTIFY);
  makeButton(page, ids::Button6, text(ids::Button6), 90, 99, 88, 22);

  HWND heading = makeLabel(page, ids::Label12, text(ids::Label12), 14, 140, 213, 16);
  SendMessageW(heading, WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont(windowDpi(page))), FALSE);
  makeCombo(page, ids::DelProfile, 14, 160, 213, 200);
  makeButton(page, ids::DelProfileBtn, text(ids::DelProfileBtn), 14, 188, 120, 23);

  makeLabel(page, ids::Label13, text(ids::Label13), 14, 228, 213, 56, SS_NOPREFIX);
  makeButton(page, ids::Button8, text(ids::Button8), 14, 290, 180, 23);

  for (int id : {ids::MultiIBox, ids::GebBox, ids::Gebl1, ids::Gebl2, ids::GebEdit, ids::DelProfileBtn})
    page_.setHint(GetDlgItem(page, id), id);
  // The states set before the page was made.
  setChecked(GetDlgItem(page, ids::MultiIBox), state_.multiInstance);
  setChecked(GetDlgItem(page, ids::GebBox), state_.birthdayOn);
  EnableWindow(GetDlgItem(page, ids::GebBox), state_.birthdayEnabled);
  setText(GetDlgItem(page, ids::GebEdit), state_.days);
  for (int id : kBirthdayDependents) EnableWindow(GetDlgItem(page, id), state_.dependentsEnabled);
  Page::fillCombo(GetDlgItem(page, ids::DelProfile), state_.profiles);
}

void ProfileOptions::enableDependents(bool on) {
  state_.dependentsEnabled = on;
  for (int id : kBirthdayDependents)
    if (HWND h = page_.existing(id)) EnableWindow(h, on);
}

void ProfileOptions::fillBirthday() {
  // Shown without writing, then written back once.
  page_.enableState(ids::GebBox, state_.birthdayEnabled, true);
  page_.setCheckedState(ids::GebBox, state_.birthdayOn, false);
  page_.setTextState(ids::GebEdit, state_.days, "2");
  bool on = false;
  std::string days;
  bool opened = false;
  try {
    opened = readBirthday(shared_.currentProfile, on, days);
  } catch (...) {
    // "Yes" without a readable number of days: the box shows the "Yes" and
    // nothing is written. The controls follow the box, so the days can be
    // entered and stored with "übernehmen".
    if (on) page_.setCheckedState(ids::GebBox, state_.birthdayOn, true);
    enableDependents(on);
    throw;
  }
  if (!opened) {
    // Without the profile's ICQ Lite key nothing is written; the dependent
    // controls still follow the cleared box.
    enableDependents(false);
    return;
  }
  if (on) {
    page_.setCheckedState(ids::GebBox, state_.birthdayOn, true);
    page_.setTextState(ids::GebEdit, state_.days, days);
  }
  // Writing back what was just read changes nothing: a refusal (no rights on
  // the machine's keys) is not worth a message at every read.
  (void)applyBirthday();
}

void ProfileOptions::fillMultiInstance() {
  const DefaultPrefs prefs = readDefaultPrefs();
  if (prefs.opened && prefs.multiInstance == "Yes")
    page_.setCheckedAndRun(ids::MultiIBox, state_.multiInstance, true, [this] { MultiIBoxClick(); });
}

void ProfileOptions::fillProfileList(const std::vector<std::string>& texts) {
  ComboState list;
  list.items = texts;
  page_.setComboState(ids::DelProfile, state_.profiles, list);
}

bool ProfileOptions::applyBirthday() {
  const bool on = page_.checkedState(ids::GebBox, state_.birthdayOn);
  enableDependents(on);
  return writeBirthday(shared_.currentProfile, on, page_.textState(ids::GebEdit, state_.days));
}

void ProfileOptions::GebBoxClick() {
  // The profile shown was deleted: writing would create its key again.
  if (shared_.shownProfileDeleted) return;
  if (!applyBirthday())
    throw VakError(T("Die Geburtstagsmeldung konnte nicht gespeichert werden: Der Schlüssel ") +
                   icq::profileKeyText(icq::kMachineRootName, shared_.currentProfile, icq::kIcqLite) +
                   T(" lässt sich nicht beschreiben.\r\nDafür sind Administratorrechte nötig (\"Als "
                     "Administrator ausführen\")."));
}

void ProfileOptions::MultiIBoxClick() { writeMultiInstance(page_.checkedState(ids::MultiIBox, state_.multiInstance)); }

void ProfileOptions::DelProfileBtnClick() {
  const std::string defaultProfile = intToStr(readLastOwner());
  const ComboState list = page_.comboState(ids::DelProfile, state_.profiles);
  const int i = list.selection;
  if (i < 0) {
    ui().messageBox("Achtung!", T("Wählen sie erst ein Profil!"), MbOk, MbIconInfo);
    return;
  }
  std::vector<std::string>& keys = shared_.profileKeys;
  if (i >= static_cast<int>(keys.size())) throw VakError(errListIndex(i));
  const std::string uin = keys[static_cast<size_t>(i)];
  // LastOwner 0 (none) matches no profile.
  if (defaultProfile != "0" && uin == defaultProfile) {
    ui().messageBox("Achtung!", T("Das Standardprofil kann nicht gelöscht werden!"), MbOk, MbIconError);
    return;
  }
  const std::string question =
      "Soll Das Profil " + list.items[static_cast<size_t>(i)] + T(" wirklich gelöscht werden?");
  if (ui().messageBox("Achtung!", question, MbYesNo, MbIconWarning) != MbResYes) return;

  deleteProfile(uin);
  keys.erase(keys.begin() + i);
  if (shared_.profileRemoved) shared_.profileRemoved(i);
  ComboState rest = list;
  rest.items.erase(rest.items.begin() + i);
  rest.selection = -1;
  page_.setComboState(ids::DelProfile, state_.profiles, rest);
  if (uin == shared_.currentProfile) {
    // The tables keep showing it until another profile is chosen; its
    // birthday switch would write it back at once.
    shared_.shownProfileDeleted = true;
    page_.enableState(ids::GebBox, state_.birthdayEnabled, false);
    enableDependents(false);
  }
}

void ProfileOptions::Button8Click() {
  const std::wstring title = widen(icqWindowTitle(shared_.currentProfile));
  if (HWND icq = FindWindowW(nullptr, title.c_str())) {
    ShowWindow(icq, SW_SHOW);
    return;
  }
  ui().messageBox(kAppTitle, "Fenster nicht gefunden!", MbOk, MbNoIcon);
}

}  // namespace vak
