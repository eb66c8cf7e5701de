#include "tweaks/Sounds.h"

#include "app/MainWindow.h"
#include "app/Window.h"
#include "status/IcqRegistry.h"

namespace vak {

HWND Sounds::control(int id) const { return form_.control(id); }

void Sounds::create(HWND page) {
  makeGroup(page, ids::Sound, "ICQ-Soundoptions", 289, 6, 260, 330);
  HWND soundBox = makeCheck(page, ids::SoundBox, "ICQ-Sounds aktiv", 299, 22, 200, 17, WS_DISABLED);
  SendMessageW(soundBox, WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont()), FALSE);
  setChecked(soundBox, true);
}

void Sounds::createRows() {}

void Sounds::applyTexts() {}

void Sounds::fillMaster() {
  if (auto soundOn = readSoundOn(form_.currentProfile()))
    form_.setCheckedAndRun(control(ids::SoundBox), *soundOn, [this] { SoundBoxClick(); });
}

void Sounds::SoundBoxClick() {}

void Sounds::ChSound(int) {}

void Sounds::PlayClick(int) {}

void Sounds::ChPlaceClick(int) {}

void Sounds::Button4Click() {}

}  // namespace vak
