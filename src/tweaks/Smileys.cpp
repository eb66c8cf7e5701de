#include "tweaks/Smileys.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/BitmapFile.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Path.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"
#include "settings/Shared.h"
#include "status/IcqRegistry.h"
#include "tweaks/TweaksPage.h"
#include "ui/Window.h"

namespace vak {

namespace {

// The group's place on the tweaks page; its controls are placed relative to it.
constexpr int kGroupLeft = 553;
constexpr int kGroupTop = 6;

constexpr const char* kSection = "Smiley";
constexpr const char* kBackupKey = "#bk";
constexpr const char* kFilter = "*.bmp (Bitmap)|*.bmp";

// The frame a push button draws inside its edge: its picture lies within.
constexpr int kButtonFrame = 2;

}  // namespace

Smileys::Smileys(TweaksPage& page, Shared& shared) : page_(page), shared_(shared) {
  page_.onCommand(ids::Button3, [this] { Button3Click(); });
  page_.onCommand(ids::ResetSm, [this] { ResetSmClick(); });
  for (int n = 1; n <= kSmileyCount; ++n) page_.onCommand(ids::SmileyButton1 + n - 1, [this, n] { SmBtnClick(n); });
}

std::string Smileys::unknownFolderText() { return "Smiley-Ordner von ICQ unbekannt"; }

void Smileys::create(HWND page) {
  const int x = kGroupLeft, y = kGroupTop;
  auto text = [](int id) { return TweaksPage::text(id); };
  makeGroup(page, ids::Smiley, text(ids::Smiley), x, y, 260, 330);
  makeLabel(page, ids::SmOrt, folderText_, x + 8, y + 16, 244, 14, SS_PATHELLIPSIS | SS_NOPREFIX);
  makeLabel(page, ids::Label3, text(ids::Label3), x + 8, y + 34, 244, 28);
  // Beside the short last row of smileys; the note on choosing a set below them.
  makeButton(page, ids::ResetSm, text(ids::ResetSm), x + 171, y + 262, 82, 19);
  HWND set = makeButton(page, ids::Button3, text(ids::Button3), x + 171, y + 284, 82, 19);
  page_.setHint(set, ids::Button3);
  makeLabel(page, ids::Label4, text(ids::Label4), x + 8, y + 308, 245, 14, SS_RIGHT);
  createButtons(page);
}

HWND Smileys::button(int n) {
  page_.make();
  return buttons_.at(static_cast<size_t>(n - 1));
}

void Smileys::createButtons(HWND page) {
  // In the tab order the smileys follow the instruction above them and come
  // before "Reset" and "SmileySet". Each shows what the last SmileyAkt found
  // for it: its picture, "Error!", or (not reached yet) nothing.
  HWND after = GetDlgItem(page, ids::Label3);
  for (int n = 1; n <= kSmileyCount; ++n) {
    const SmileyCell cell = smileyCell(n);
    const bool error = errors_[static_cast<size_t>(n - 1)];
    HWND b = makeButton(page, ids::SmileyButton1 + n - 1, error ? "Error!" : "", kGroupLeft + cell.left,
                        kGroupTop + cell.top, kSmileyButtonSize, kSmileyButtonSize, BS_FLAT);
    SetWindowSubclass(b, &Smileys::buttonProc, static_cast<UINT_PTR>(n), reinterpret_cast<DWORD_PTR>(this));
    SetWindowLongPtrW(b, GWLP_USERDATA, n);  // the tag
    SetWindowPos(b, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = b;
    buttons_[static_cast<size_t>(n - 1)] = b;
    shared_.hints->set(b, smileyHint(n), true);
  }
}

std::string Smileys::selectedProfile() const { return shared_.chosenProfile(); }

std::string Smileys::smileyFolder(const std::string& uin) const { return pathFromAnsi(readSmileyFolder(uin)); }

std::string Smileys::backupFolder() const { return shared_.settings().readString(kSection, kBackupKey, ""); }

void Smileys::tellFolderUnknown() const {
  ui().messageBox("Achtung!",
                  T("Der Ordner mit ICQs eigenen Smileys ist nicht bekannt: ICQ hat beim Programmstart keinen "
                    "Smiley-Ordner angegeben.\r\nEs wurde keine Datei geändert."),
                  MbOk, MbIconWarning);
}

void Smileys::makeFirstBackups(const std::string& folder) {
  // Without a known folder every path would name the root of the drive:
  // nothing is recorded, and the next start tries again.
  if (folder.empty()) return;
  IniFile ini = shared_.settings();
  if (!ini.readString(kSection, kBackupKey, "").empty()) return;
  ini.writeString(kSection, kBackupKey, folder);
  for (int m = 1; m <= kSmileyCount; ++m) replaceFile(smileyBitmap(folder, m), smileyBackup(folder, m));
}

void Smileys::showPicture(int n, BitmapHandle picture) {
  pictures_[static_cast<size_t>(n - 1)] = std::move(picture);  // the one shown before is freed
  errors_[static_cast<size_t>(n - 1)] = false;
  if (HWND b = buttons_[static_cast<size_t>(n - 1)]) {
    setText(b, "");
    InvalidateRect(b, nullptr, TRUE);
  }
}

void Smileys::showError(int n) {
  pictures_[static_cast<size_t>(n - 1)].reset();
  errors_[static_cast<size_t>(n - 1)] = true;
  if (HWND b = buttons_[static_cast<size_t>(n - 1)]) {
    setText(b, "Error!");
    InvalidateRect(b, nullptr, TRUE);
  }
}

SIZE Smileys::pictureBox() const {
  const int side = dpiScale(shared_.mainWindow, kSmileyButtonSize) - 2 * kButtonFrame;
  return SIZE{side, side};
}

LRESULT CALLBACK Smileys::buttonProc(HWND b, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR n, DWORD_PTR self) {
  switch (msg) {
    case WM_PAINT: {
      // The button paints its frame and caption into the DC it is given
      // (wParam of WM_PAINT), the picture goes on top.
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(b, &ps);
      DefSubclassProc(b, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
      reinterpret_cast<const Smileys*>(self)->drawPicture(b, static_cast<int>(n), dc);
      EndPaint(b, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      const LRESULT result = DefSubclassProc(b, msg, wp, lp);
      reinterpret_cast<const Smileys*>(self)->drawPicture(b, static_cast<int>(n), reinterpret_cast<HDC>(wp));
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(b, &Smileys::buttonProc, n);
      break;
    default:
      break;
  }
  return DefSubclassProc(b, msg, wp, lp);
}

void Smileys::drawPicture(HWND b, int n, HDC dc) const {
  HBITMAP bitmap = picture(n);
  if (!bitmap) return;
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  RECT r{};
  GetClientRect(b, &r);
  InflateRect(&r, -kButtonFrame, -kButtonFrame);
  // Centred as a button centres its picture, one pixel further while it is
  // held down; shrunk when the button is smaller (after a change of DPI).
  int w = info.bmWidth, h = info.bmHeight;
  const int roomX = r.right - r.left, roomY = r.bottom - r.top;
  if (roomX <= 0 || roomY <= 0) return;
  if (w > roomX || h > roomY) {
    const double scale = std::min(static_cast<double>(roomX) / w, static_cast<double>(roomY) / h);
    w = std::max(1, static_cast<int>(w * scale));
    h = std::max(1, static_cast<int>(h * scale));
  }
  const int push = (SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED) ? 1 : 0;
  const int x = r.left + (roomX - w) / 2 + push, y = r.top + (roomY - h) / 2 + push;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  if (w == info.bmWidth && h == info.bmHeight) {
    BitBlt(dc, x, y, w, h, source, 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, x, y, w, h, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

void Smileys::SmileyAkt() {
  const bool firstCall = !started_;
  started_ = true;
  std::string folder;
  if (firstCall && shared_.chosenPosition() < 0) {
    // No ICQ profile at all: nothing to show, and no error at every start.
  } else {
    folder = smileyFolder(selectedProfile());
  }
  page_.setTextState(ids::SmOrt, folderText_, folder.empty() ? unknownFolderText() : pathToText(folder));
  if (firstCall) makeFirstBackups(folder);
  for (int n = 1; n <= kSmileyCount; ++n) {
    const std::string path = folder.empty() ? std::string() : smileyBitmap(folder, n);
    if (path.empty() || !fileExists(path)) {
      showError(n);
      continue;
    }
    BitmapHandle picture(loadBitmapFile(path, pictureBox()));
    if (!picture.valid()) {
      showError(n);
      throw VakError(T("Bitmap ist ungültig"));
    }
    showPicture(n, std::move(picture));
  }
}

void Smileys::SmBtnClick(int n) {
  const std::string folder = backupFolder();
  if (folder.empty()) {
    tellFolderUnknown();
    SmileyAkt();
    return;
  }
  showError(n);
  std::string problem;
  if (std::optional<std::string> chosen = ui().openFileDialog(kFilter)) {
    const std::string target = smileyBitmap(folder, n);
    // The smiley keeps its bitmap unless a readable bitmap takes its place.
    if (!fileExists(*chosen))
      problem = T("Die Datei kann nicht gelesen werden:\r\n") + pathToText(*chosen);
    else if (!BitmapHandle(loadBitmapFile(*chosen, pictureBox())).valid())
      problem = T("Bitmap ist ungültig");
    else if (!sameFile(*chosen, target) && !replaceFile(*chosen, target))
      problem = T("Der Smiley konnte nicht ersetzt werden:\r\n") + pathToText(target);
  }
  SmileyAkt();
  if (!problem.empty()) throw VakError(problem);
}

void Smileys::Button3Click() {
  if (std::optional<std::string> chosen = ui().openFileDialog(kFilter)) {
    // A key that can be neither created nor written: nothing is written.
    (void)writeSmileyFolder(selectedProfile(), pathToAnsi(folderOf(*chosen)));
  }
  SmileyAkt();
}

void Smileys::ResetSmClick() {
  const std::string folder = backupFolder();
  if (folder.empty()) {
    tellFolderUnknown();
  } else {
    // A missing backup leaves its bitmap as it is.
    for (int n = 1; n <= kSmileyCount; ++n) replaceFile(smileyBackup(folder, n), smileyBitmap(folder, n));
  }
  SmileyAkt();
}

}  // namespace vak
