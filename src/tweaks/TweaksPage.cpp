#include "tweaks/TweaksPage.h"

#include "platform/Text.h"
#include "ui/Window.h"

namespace vak {

namespace {

const char* const kBirthdayHint =
    "Achtung!\r\nDamit die Einstellungen korrekt übernommen werden,\r\ndarf ICQ bis zum nächsten PC-Start nicht "
    "erneut\r\nausgeführt werden!";

}  // namespace

const std::vector<ControlText>& TweaksPage::texts() {
  static const std::vector<ControlText> table = {
      // ICQ's options
      {ids::GroupBox1, "ICQTweaks und Einstellungen"},
      {ids::MultiIBox, "MultiInstance", nullptr,
       "Macht es möglich ICQ mehrfach, also\r\nmit verschiedenen Profilen laufen zu lassen"},
      {ids::GebBox, "Geburtstagsmeldung aktivieren", nullptr, kBirthdayHint},
      {ids::Gebl1, "Vorwarnzeit:", nullptr, kBirthdayHint},
      {ids::GebEdit, nullptr, nullptr, kBirthdayHint},
      {ids::Gebl2, "Tag(e)", nullptr, kBirthdayHint},
      {ids::Button6, "übernehmen"},
      {ids::Label12, "ICQ-Profilverwaltung"},
      {ids::DelProfileBtn, "Profil löschen", nullptr, "löscht das gewählte Profil"},
      {ids::Label13,
       "Ab und zu lässt sich das ICQ-Haupfenster nicht\r\nmehr aufrufen. Ein Klick und es erscheint wieder.", nullptr,
       nullptr},
      {ids::Button8, "ICQ-Fester wieder anzeigen"},
      // sounds
      {ids::Sound, "ICQ-Soundoptions"},
      {ids::SoundBox, "ICQ-Sounds aktiv"},
      {ids::Button4, "Reset"},
      {ids::LSnd, "Funktioniert nicht, wenn eine der Sounddateien in \"...\\ICQLite\\Sounds\\\" abgespielt wird",
       "Funktioniert nicht, wenn eine der Sounddateien in\r\n\"...\\ICQLite\\Sounds\\\"abgespielt wird"},
      // smileys
      {ids::Smiley, "ICQ-Smileys"},
      {ids::Label3, "Klicken Sie auf die Smileys, um sie zu einzeln ändern."},
      {ids::ResetSm, "Reset"},
      {ids::Button3, "SmileySet", nullptr,
       "Wähle eine Bitmap des Sets!\r\nDieser muss sich in einem Ordner\r\nmit den anderen Smileys befinden!"},
      {ids::Label4, "Markieren sie einen Smiley des Sets"},
  };
  return table;
}

TweaksPage::TweaksPage(Shared& shared)
    : shared_(shared), options_(*this, shared), sounds_(*this, shared), smileys_(*this, shared) {}

void TweaksPage::build() {
  options_.create(hwnd_);
  sounds_.create(hwnd_);
  smileys_.create(hwnd_);
}

void TweaksPage::setHint(HWND control, int id, bool switched) {
  const ControlText* t = findText(texts(), id);
  if (control && t && t->hint) shared_.hints->set(control, T(t->hint), !switched || hintsOn_);
}

void TweaksPage::applyHints(bool on) {
  hintsOn_ = on;
  if (!made()) return;
  for (const ControlText& t : texts())
    if (t.hint) shared_.hints->enable(existing(t.id), on);
}

}  // namespace vak
