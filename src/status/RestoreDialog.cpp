#include "status/RestoreDialog.h"

#include "status/StatusPage.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/WinText.h"
#include "status/Backup.h"

namespace vak {

void RestoreDialog::create(HWND owner) {
  createDialog(L"TForm7", L"Restore", 440, 262, owner);
  makeGroup(hwnd_, GroupBox1, "Resore", 8, 4, 424, 218);
  makeLabel(hwnd_, Label1, "", 20, 22, 400, 44);
  HWND warning = makeLabel(hwnd_, a3, "AKTUELLE STATUSMELDUNGEN GEHEN VERLOREN!", 20, 70, 400, 16);
  SendMessageW(warning, WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont()), FALSE);
  setTextColor(warning, RGB(220, 0, 0));
  const int groups[] = {GroupBox2, GroupBox3, GroupBox4};
  const int headings[] = {a1, a2, Label5};
  const int dates[] = {d1, d2, d3};
  const int buttons[] = {Button1, Button2, Button3};
  const char* captions[] = {"Restore Slot A", "Restore Slot B", "Restore Slot C"};
  for (int i = 0; i < 3; ++i) {
    const int x = 20 + i * 136;
    makeGroup(hwnd_, groups[i], captions[i], x, 92, 128, 120);
    makeLabel(hwnd_, headings[i], "Erstellt am:", x + 10, 110, 110, 16);
    makeLabel(hwnd_, dates[i], "", x + 10, 128, 110, 32);
    HWND b = makeButton(hwnd_, buttons[i], "Restore", x + 14, 172, 100, 25);
    SetWindowLongPtrW(b, GWLP_USERDATA, i + 1);  // the tag
    const int tag = i + 1;
    onCommand(buttons[i], [this, tag] { RestoreClick(tag); });
  }
  makeButton(hwnd_, Button4, "&Abbrechen", 352, 230, 80, 25);
  onCommand(Button4, [this] { Button4Click(); });
}

void RestoreDialog::Save() { takeBackup(page_.shared().programFolder, page_.model(), localNow()); }

void RestoreDialog::onShowModal() {
  setText(control(Label1), T("Hier können sie die letzten drei Versionen Ihrer Stausmeldungen\r\nabrufen, falls diese "
                             "durch ein ICQ-Update oder aus anderen\r\nGründen verloren gegangen sind."));
  for (int id : {Button1, Button2, Button3}) EnableWindow(control(id), FALSE);
  Laden();
}

void RestoreDialog::Laden() {
  const int dates[] = {d1, d2, d3};
  const int buttons[] = {Button1, Button2, Button3};
  for (int n = 1; n <= 3; ++n) {
    const SlotInfo slot = readSlot(page_.shared().programFolder, n);
    setText(control(dates[n - 1]), slot.label);
    EnableWindow(control(buttons[n - 1]), slot.present);
  }
}

void RestoreDialog::RestoreClick(int tag) { page_.Load(backupSlotPath(page_.shared().programFolder, tag)); }

}  // namespace vak
