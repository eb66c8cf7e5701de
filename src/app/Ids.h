#pragma once
// Control and menu ids of the main window.
namespace vak::ids {

enum : int {
  // menu "Datei" and "?"
  Restorelastsaved1 = 100,
  Laden,
  Speichern1,
  Einstellungen1,
  Exit,
  aufUpdateprfen1,
  Lizenz1,
  About1,

  // main window
  Headline = 200,
  ProfileLabel,
  NN,
  AwayEd,
  NaEd,
  Image33,
  Image34,
  Button1,
  Button2,
  PageControl1,
  // The pages keep their own ids: status/StatusPage.h, tweaks/*.h,
  // settings/SettingsPage.h, UpdateCheck.h, AboutPanel.h.
};

}  // namespace vak::ids
