// The texts routine: collects the language files and, when there are none,
// applies the built-in German texts.
#include <windows.h>
#include <commctrl.h>

#include "app/Ids.h"
#include "app/MainWindow.h"
#include "settings/WebViewer.h"
#include "platform/Text.h"
#include "platform/WinText.h"
#include "settings/Language.h"
#include "settings/Texts.h"
#include "status/EditorDialog.h"

namespace vak {

namespace {

// A menu item's caption, by command id or (byPosition) by position.
void setMenuText(HMENU menu, int item, const std::string& text, bool byPosition = false) {
  std::wstring w = widen(text);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = w.data();
  SetMenuItemInfoW(menu, static_cast<UINT>(item), byPosition, &info);
}

}  // namespace

void TForm1::applyHintsAndHeadings() {
  options_.applyTexts();
  hints_.set(control(ids::Button1), T("Übernimmt nur Statusmeldungen sowie die ICQTweaks und Einstellungen."));
  const std::string awayHint =
      T("Achtung!\r\nDamit die Statusnachrichten korrekt übernommen werden,\r\ndarf ICQ während der Übernahme der "
        "Einstellungen\r\nnicht laufen!");
  hints_.set(control(ids::AwayEd), awayHint);
  hints_.set(control(ids::NaEd), awayHint);
  at(ids::InfoBtn).setHint(T("Zeigt die Versionshistory des VAK an.\r\nbenötigt eine aktive Internetverbindung"));
  smileys_.applyTexts();
  for (Grid* g : {&grid(1), &grid(2)}) {
    g->setHeading(0, "An");
    g->setHeading(1, "Titel");
    g->setHeading(2, "Nachricht");
  }
}

void TForm1::lng() {
  const ControlRef languages = at(ids::ComboLng);
  if (languages.count() > 0) {
    std::vector<std::string> list;
    for (int i = 0; i < languages.count(); ++i) list.push_back(languages.itemText(i));
    FindLanguageFiles(languageFolder(programFolder_), "*.lng", list, true);
    languages.clear();
    for (const std::string& item : list) languages.add(item);
  }
  MessageTexts& texts = messageTexts();
  texts = MessageTexts{};
  // The hints and the tables' headings have no form texts to fall back on:
  // they are applied whatever the language list holds.
  applyHintsAndHeadings();
  if (languages.count() > 0) {
    // The language files' own texts are not read in this version. The
    // controls keep their form texts; the messages are built from the German
    // texts rather than coming out empty.
    fillMessageTextsFirst(texts);
    fillMessageTextsRest(texts);
    return;
  }

  const std::string suffix = kVersionSuffix;
  setText(control(ids::Headline), T("Meldewart für ICQ"));
  setText(hwnd_, T("Meldewart für ICQ -") + suffix);
  setText(control(ids::Button1), T("Änderungen übernehmen"));
  {
    std::wstring caption = W("Statusmeldungen");
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(control(ids::PageControl1), TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  sounds_.applyTexts();
  for (int which : {1, 2}) editButtons(which).setCaption("Bearbeiten");
  setMenuText(menu_, 0, "&Datei", true);
  setMenuText(menu_, ids::Laden, "&Laden");
  setMenuText(menu_, ids::Speichern1, "&Speichern");
  setMenuText(menu_, ids::Einstellungen1, "&Einstellungen");
  setMenuText(menu_, ids::Exit, "E&xit");
  setMenuText(menu_, ids::aufUpdateprfen1, T("auf &Updates prüfen"));
  setMenuText(menu_, ids::About1, T("&Über"));
  DrawMenuBar(hwnd_);
  at(ids::AllgemeinBox).setText("Allgemein");
  at(ids::GroupBox3).setText("Update");
  at(ids::GroupBox5).setText("Sprache");
  at(ids::Label5).setText("Start-ICQ-Nummer");
  at(ids::SICQNr).setText("Standardnummer verwenden");
  at(ids::Label7).setText("Automatisches Update");
  about_.applyTexts();
  // The dialogs made later get these texts when they are made.
  builtInTexts_ = true;
  applyDialogTexts();
  fillMessageTextsFirst(texts);
  update_.applyTexts();
  at(ids::EndUD).setText("Abbrechen");
  at(ids::InfoBtn).setText("Info");
  fillMessageTextsRest(texts);
}

void TForm1::applyDialogTexts() {
  if (!builtInTexts_) return;
  if (form4_ && form4_->hwnd()) {
    setText(form4_->control(EditorDialog::GroupBox2), "Statusmeldung");
    setText(form4_->control(EditorDialog::Label1), "Titel");
    setText(form4_->control(EditorDialog::Label2), "Nachricht");
    setText(form4_->control(EditorDialog::ON1), "aktivieren");
    setText(form4_->control(EditorDialog::OK), "&OK");
    setText(form4_->control(EditorDialog::Abbrechen), "&Abbrechen");
  }
  if (form6_ && form6_->hwnd()) {
    setText(form6_->control(WebViewer::Button1), "&OK");
    setText(form6_->hwnd(), "Update");
  }
}

}  // namespace vak
