#include "status/EditorDialog.h"

#include "status/StatusPage.h"
#include "platform/Text.h"
#include "platform/WinText.h"
#include "settings/Texts.h"
#include "ui/ControlText.h"

#include <commctrl.h>

namespace vak {

namespace {

// A title is one line: Enter goes on to the message field (Ctrl+Enter still
// puts a line break into the title).
LRESULT CALLBACK titleFieldProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_KEYDOWN && wp == VK_RETURN && GetKeyState(VK_CONTROL) >= 0) {
    SendMessageW(GetParent(hwnd), WM_NEXTDLGCTL, 0, 0);
    return 0;
  }
  if (msg == WM_CHAR && wp == L'\r') return 0;
  return DefSubclassProc(hwnd, msg, wp, lp);
}

const std::vector<ControlText>& texts() {
  static const std::vector<ControlText> table = {
      {EditorDialog::GroupBox2, "Statusicons", "Statusmeldung"},
      {EditorDialog::Label1, "Titel", "Titel"},
      {EditorDialog::Label2, "Message", "Nachricht"},
      {EditorDialog::ON1, "aktivieren", "aktivieren"},
      {EditorDialog::Label4, "nicht deaktivierbar"},
      {EditorDialog::OK, "&OK", "&OK"},
      {EditorDialog::Abbrechen, "&Abbrechen", "&Abbrechen"},
  };
  return table;
}

}  // namespace

void EditorDialog::useBuiltInTexts() {
  builtInTexts_ = true;
  applyBuiltInTexts(texts(), hwnd_);
}

void EditorDialog::create(HWND owner) {
  createDialog(L"TForm4", L"Meldung", 370, 290, owner, true);
  makeGroup(hwnd_, GroupBox2, madeText(texts(), GroupBox2), 8, 6, 354, 240);
  makeIcon(hwnd_, Image2, nullptr, 20, 26, 16, 16);
  makeLabel(hwnd_, Label1, madeText(texts(), Label1), 44, 28, 200, 16);
  makeEdit(hwnd_, Memo1, 20, 46, 330, 42, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL);
  SetWindowSubclass(control(Memo1), &titleFieldProc, 1, 0);
  makeLabel(hwnd_, Label2, madeText(texts(), Label2), 20, 94, 200, 16);
  makeEdit(hwnd_, Memo2, 20, 112, 330, 96, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL);
  makeCheck(hwnd_, ON1, madeText(texts(), ON1), 20, 218, 88, 17);
  makeLabel(hwnd_, Label4, madeText(texts(), Label4), 20, 219, 120, 16);
  makeLabel(hwnd_, Label3, "", 112, 212, 244, 30);  // beside the switch, room for its two lines
  makeButton(hwnd_, OK, madeText(texts(), OK), 196, 256, 80, 25, BS_DEFPUSHBUTTON);
  makeButton(hwnd_, Abbrechen, madeText(texts(), Abbrechen), 282, 256, 80, 25);
  onCommand(OK, [this] { OKClick(); });
  onCommand(Abbrechen, [this] { AbbrechenClick(); });
  if (builtInTexts_) applyBuiltInTexts(texts(), hwnd_);
}

void EditorDialog::prepareEntry(bool active) {
  setChecked(control(ON1), active);
  ShowWindow(control(ON1), SW_SHOW);
  EnableWindow(control(Memo1), TRUE);
  ShowWindow(control(Label4), SW_HIDE);
}

void EditorDialog::prepareAwayText() {
  ShowWindow(control(ON1), SW_HIDE);
  EnableWindow(control(Memo1), FALSE);
  ShowWindow(control(Label4), SW_SHOW);
}

void EditorDialog::onShowModal() {
  const int n = page_.currentEntry();
  StatusModel& m = page_.model();
  if (n >= kAwayItem) {
    ShowWindow(control(Label3), SW_HIDE);
    // The dialog names the text it edits, not the entry edited before.
    if (n == kAwayItem) {
      setText(hwnd_, "Abwesend");
      setText(control(Memo1), "~ ist abwesend.");
      setText(control(Memo2), m.away);
    } else {
      setText(hwnd_, T("Nicht verfügbar (länger abwesend)"));
      setText(control(Memo1), T("~ ist nicht verfügbar."));
      setText(control(Memo2), m.na);
    }
  } else {
    setText(hwnd_, page_.shared().texts.statusIconNr + std::to_string(n));
    setText(control(Memo1), m.entry(n).title);
    setText(control(Memo2), m.entry(n).message);
    if (n >= 31) {
      setText(control(Label3), T("Nur sichtbar für Nutzer der ICQ-Version 5.1\r\noder der Pro7 ICQ Version"));
      fitText(control(Label3));
      ShowWindow(control(Label3), SW_SHOW);
    } else {
      ShowWindow(control(Label3), SW_HIDE);
    }
  }
  SendMessageW(control(Image2), STM_SETICON, reinterpret_cast<WPARAM>(page_.statusIcon(n)), 0);
  SetFocus(IsWindowEnabled(control(Memo1)) ? control(Memo1) : control(Memo2));
}

void EditorDialog::OKClick() {
  page_.F4OK(getText(control(Memo1)), getText(control(Memo2)), isChecked(control(ON1)));
  endModal();
}

void EditorDialog::AbbrechenClick() { endModal(); }

}  // namespace vak
