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

  // tab "Statusmeldungen"
  StringGrid1 = 300,
  StringGrid2,
  Warnung,
  Image1 = 310,           // Image1 .. Image32
  // The "Bearbeiten" buttons of the entries 1-16 and 17-32, each column one
  // window (the entries' switches are drawn by the tables).
  EditButtons1 = 350,
  EditButtons2,

  // tab "ICQ-Tweaks und Einstellungen": the ids of its groups are kept
  // with their parts (tweaks/ProfileOptions.h, Sounds.h, Smileys.h).

  // tab "VAK-Einstellungen"
  AllgemeinBox = 600,
  Label9,
  Label5,
  C_ICQNr,
  SICQNr,
  HintBox,
  GroupBox5,
  Label8,
  ComboLng,
  Label10,
  Label11,
  // the group "Update": settings/UpdateCheck.h
  EinstStat,
  Button7,
  Einst_Abb,
};

}  // namespace vak::ids
