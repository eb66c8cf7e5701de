#include "tweaks/Sounds.h"

#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Path.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"
#include "status/IcqRegistry.h"
#include "settings/Shared.h"
#include "tweaks/TweakRules.h"
#include "tweaks/TweaksPage.h"
#include "ui/Window.h"

namespace vak {

namespace {

// Wide enough for the captions in Tahoma 8: "Nachricht wird eingetippt"
// takes 158 pixels with its box at 96 DPI, 161 at 144 DPI (where the font is
// 17 pixels high, not 16.5), and the caveat's first line 283 and 285.
constexpr int kGroupLeft = 241;
constexpr int kGroupTop = 6;
constexpr int kGroupWidth = 308;
// "Play", "Change" and "Reset" keep their distance to the group's right
// edge; the event boxes take the width left of them.
constexpr int kButtonsLeft = kGroupWidth - 110;
constexpr int kBoxWidth = kButtonsLeft - 16;
const char* const kSection = "ICQ-Sound";

// Positions inside the group are given relative to it.
int gx(int left) { return kGroupLeft + left; }
int gy(int top) { return kGroupTop + top; }

void placeAfter(HWND control, HWND previous) {
  SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

Sounds::Sounds(TweaksPage& page, Shared& shared) : page_(page), shared_(shared) {
  rows_.fill(true);
  page_.onCommand(ids::Button4, [this] { Button4Click(); });
  for (int n = 1; n <= kSoundRows; ++n) {
    page_.onCommand(ids::PlayButton1 + n - 1, [this, n] { PlayClick(n); });
    page_.onCommand(ids::ChangeButton1 + n - 1, [this, n] { ChPlaceClick(n); });
    page_.onCommand(ids::SCB1 + n - 1, [this, n] { ChSound(n); });
  }
}

void Sounds::create(HWND page) {
  makeGroup(page, ids::Sound, TweaksPage::text(ids::Sound), kGroupLeft, kGroupTop, kGroupWidth, 330);
  HWND soundBox =
      makeCheck(page, ids::SoundBox, TweaksPage::text(ids::SoundBox), gx(10), gy(16), 200, 17, WS_DISABLED);
  SendMessageW(soundBox, WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont(windowDpi(page))), FALSE);
  setChecked(soundBox, master_);
  HWND reset = makeButton(page, ids::Button4, TweaksPage::text(ids::Button4), gx(kButtonsLeft), gy(230), 100, 23);
  makeLabel(page, ids::LSnd, TweaksPage::text(ids::LSnd), gx(10), gy(262), kGroupWidth - 15, 56, SS_NOPREFIX);

  // In the tab order the rows follow the master box, "Reset" follows them.
  // Their boxes show the kept states: making them writes nothing.
  HWND previous = soundBox;
  for (int n = 1; n <= kSoundRows; ++n) {
    HWND play = makeButton(page, ids::PlayButton1 + n - 1, "Play", gx(kButtonsLeft), gy(18 * n + 21), 50, 19);
    HWND change =
        makeButton(page, ids::ChangeButton1 + n - 1, "Change", gx(kButtonsLeft + 50), gy(18 * n + 21), 50, 19);
    HWND box =
        makeCheck(page, ids::SCB1 + n - 1, soundLabel(n), gx(10), gy(18 * n + 22), kBoxWidth, 17, WS_DISABLED);
    setChecked(box, rows_[static_cast<size_t>(n - 1)]);
    for (HWND h : {play, change, box}) {
      SetWindowLongPtrW(h, GWLP_USERDATA, n);  // the tag
      placeAfter(h, previous);
      previous = h;
    }
  }
  placeAfter(reset, previous);
}

void Sounds::fillMaster() {
  if (auto soundOn = readSoundOn(shared_.currentProfile))
    page_.setCheckedAndRun(ids::SoundBox, master_, *soundOn, [this] { SoundBoxClick(); });
}

void Sounds::SoundBoxClick() {
  const bool on = page_.checkedState(ids::SoundBox, master_);
  for (int n = 1; n <= kSoundRows; ++n)
    page_.setCheckedAndRun(ids::SCB1 + n - 1, rows_[static_cast<size_t>(n - 1)], on, [this, n] { ChSound(n); });
}

void Sounds::ChSound(int row) {
  const int id = ids::SCB1 + row - 1;
  bool& kept = rows_[static_cast<size_t>(row - 1)];
  if (page_.checkedState(ids::SoundBox, master_)) {
    shared_.settings().writeBool(kSection, soundRowKey(row), page_.checkedState(id, kept));
  } else {
    page_.setCheckedState(id, kept, false);
  }
}

std::string Sounds::usableSoundFolder() {
  const std::string folder = pathFromAnsi(readSoundFolder(shared_.chosenProfile()));
  // An unknown folder would name files in the root of the current drive; a
  // missing one holds no sound to play or replace.
  if (auto problem = soundFolderProblem(pathToText(folder), !folder.empty() && dirExists(folder))) {
    ui().messageBox("Achtung!", *problem, MbOk, MbIconWarning);
    return std::string();
  }
  return folder;
}

void Sounds::PlayClick(int row) {
  const std::string folder = usableSoundFolder();
  if (folder.empty()) return;
  player_.play(soundFilePath(folder, row));
}

void Sounds::ChPlaceClick(int row) {
  IniFile ini = shared_.settings();
  const std::string folder = usableSoundFolder();
  if (folder.empty()) return;
  if (!ini.readBool(kSection, "#bk", false)) {
    // Once, before the first replacement: a copy of each of ICQ's files
    // beside it. A copy already there is ICQ's own file from an earlier
    // run and is kept.
    for (int n = 1; n <= kSoundRows; ++n)
      if (!fileExists(soundBackupPath(folder, n))) replaceFile(soundFilePath(folder, n), soundBackupPath(folder, n));
    ini.writeBool(kSection, "#bk", true);
  }
  const std::optional<std::string> chosen = ui().openFileDialog("*.wav (Sounddatei)|*.wav");
  if (!chosen) return;
  player_.close();
  const std::string target = soundFilePath(folder, row);
  if (sameFile(*chosen, target)) return;  // already ICQ's sound for this event
  // ICQ would take anything under the sound's name and stay silent.
  if (isWaveFile(*chosen) == false)
    throw VakError(T("Die Datei ist keine gültige Sounddatei: ") + pathToText(*chosen));
  if (!replaceFile(*chosen, target))
    ui().messageBox(T("Fehler!"),
                    "Die Datei \"" + pathToText(*chosen) +
                        T("\" konnte nicht als Sound übernommen werden.\r\nDer bisherige Sound bleibt erhalten."),
                    MbOk, MbIconError);
}

void Sounds::Button4Click() {
  if (ui().messageBox("Frage", "Sollen alle original Sounds wiederhergestellt werden?", MbYesNo, MbIconQuestion) !=
      MbResYes)
    return;
  IniFile ini = shared_.settings();
  player_.close();
  const std::string folder = usableSoundFolder();
  if (folder.empty()) return;
  if (!ini.readBool(kSection, "#bk", false)) return;
  // A sound whose copy is missing keeps its current file.
  for (int n = 1; n <= kSoundRows; ++n) replaceFile(soundBackupPath(folder, n), soundFilePath(folder, n));
  ini.writeBool(kSection, "#bk", true);
}

}  // namespace vak
