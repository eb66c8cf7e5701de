#include "status/StatusPage.h"

#include <oleacc.h>

#include <optional>
#include <utility>

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Path.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"
#include "status/EditorDialog.h"
#include "status/EntryText.h"
#include "status/FileRules.h"
#include "status/IcqRegistry.h"
#include "status/RestoreDialog.h"
#include "status/StatusFile.h"
#include "status/WriteReport.h"
#include "ui/Accessible.h"
#include "ui/Window.h"

namespace vak {

namespace {

constexpr const char* kEditCaption = "Bearbeiten";

// What screen readers call entry n.
std::string entryName(int n) { return "Statusmeldung " + std::to_string(n); }

// Refreshes the views when a handler ends, also when it ends with an error:
// what a read put into the model before the error stays visible.
class RefreshOnExit {
 public:
  explicit RefreshOnExit(StatusPage& page) : page_(page) {}
  ~RefreshOnExit() { page_.refreshViews(); }
  RefreshOnExit(const RefreshOnExit&) = delete;
  RefreshOnExit& operator=(const RefreshOnExit&) = delete;

 private:
  StatusPage& page_;
};

// For screen readers a panel is a button that says which text it holds and
// that Enter edits it; pressing it is a click.
void describePanel(HWND panel, const char* kind, const std::string& shown) {
  describeControl(
      panel,
      [kind, &shown] {
        AccessiblePart part;
        part.role = ROLE_SYSTEM_PUSHBUTTON;
        part.name = T(kind) + (shown.empty() ? "" : " " + shown);  // "Abwesend-Text: Bin weg"
        part.description = T("Eingabetaste öffnet den Editor");
        part.defaultAction = "Bearbeiten";
        return part;
      },
      [panel] {
        SendMessageW(GetParent(panel), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(panel), STN_CLICKED),
                     reinterpret_cast<LPARAM>(panel));
      });
}

}  // namespace

void StatusPage::setPanels(HWND away, HWND na) {
  away_ = away;
  na_ = na;
  makeClickable(away);
  makeClickable(na);
  describePanel(away, "Abwesend-Text:", model_.away);
  describePanel(na, "Nicht-verfügbar-Text:", model_.na);
}

void StatusPage::build() {
  grid1_.create(hwnd_, ids::StringGrid1, 32, 21, 281, 307, [this](int row, int col) -> std::string& {
    StatusEntry& e = model_.entry(entryOf(1, row));
    return col == 1 ? e.title : e.message;
  });
  grid2_.create(hwnd_, ids::StringGrid2, 440, 21, 281, 307, [this](int row, int col) -> std::string& {
    StatusEntry& e = model_.entry(entryOf(2, row));
    return col == 1 ? e.title : e.message;
  });
  // The entries' switches (the active check boxes) are drawn by the tables
  // in their fixed column.
  for (int which : {1, 2}) {
    Grid& g = grid(which);
    g.switchOf = [this, which](int row) { return model_.entry(entryOf(which, row)).active; };
    g.onToggle = [this, which](int row) {
      StatusEntry& e = model_.entry(entryOf(which, row));
      e.active = !e.active;
    };
    g.rowName = [which](int row) { return entryName(entryOf(which, row)); };
    setText(g.hwnd(), which == 1 ? "Statusmeldungen 1 bis 16" : "Statusmeldungen 17 bis 32");
    g.setHeading(0, "An");
    g.setHeading(1, "Titel");
    g.setHeading(2, "Nachricht");
  }
  // Lies below StringGrid2; shown once the table is shortened (older ICQ Lite builds).
  makeLabel(hwnd_, ids::Warnung, "", 467, 287, 254, 34, WS_CLIPSIBLINGS);
  ShowWindow(existing(ids::Warnung), SW_HIDE);
  setTextColor(existing(ids::Warnung), RGB(200, 0, 0));
}

bool StatusPage::paintPictures(HDC dc, const RECT& area) {
  // The 32 status icons are drawn by the page itself: 32 windows fewer to
  // create and paint at every start.
  for (int n = 1; n <= kEntryCount; ++n) {
    const RECT r = statusIconRect(n);
    RECT common{};
    if (IntersectRect(&common, &r, &area)) icons_.draw(dc, n, r.left, r.top);
  }
  return true;
}

void StatusPage::createIcons() {
  icons_ = StatusIcons(dpiScale(hwnd_, 16));
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

RECT StatusPage::statusIconRect(int n) const {
  const RECT design{n <= kRowsPerGrid ? 9 : 417, entryRowTop(n), 0, 0};
  const int size = dpiScale(hwnd_, 16);
  RECT r = dpiScale(hwnd_, design);
  r.right = r.left + size;
  r.bottom = r.top + size;
  return r;
}

void StatusPage::createEntryControls() {
  // One window per column of "Bearbeiten" buttons, after the tables in the
  // Tab order: entries 1-16 right of the first table, 17-32 right of the second.
  for (int which : {1, 2}) {
    ButtonColumn& column = editButtons(which);
    column.create(hwnd_, which == 1 ? ids::EditButtons1 : ids::EditButtons2, which == 1 ? 318 : 728,
                  entryRowTop(which == 1 ? 1 : kRowsPerGrid + 1), 75, Grid::kRowHeight, Grid::kRowHeight + 1,
                  kRowsPerGrid);
    column.setCaption(kEditCaption);
    column.onPress = [this, which](int index) { BearbeitenClick(entryOf(which, index + 1)); };
    // "Statusmeldung 5: Titel": which entry the button opens.
    column.describeButton = [this, which](int index) {
      const int n = entryOf(which, index + 1);
      return entryName(n) + ": " + model_.entry(n).title;
    };
  }
}

void StatusPage::useBuiltInTexts() {
  for (int which : {1, 2}) editButtons(which).setCaption(kEditCaption);
}

void StatusPage::applyVersionGate(const std::string& liteVersion) {
  // Without ICQ Lite there is no version to check against: nothing is hidden.
  if (liteVersion.empty() || strToInt(liteVersion) >= 2050) return;
  placeControl(grid2_.hwnd(), 440, 21, 281, 253);
  HWND warning = existing(ids::Warnung);
  setText(warning, T("Sie benötigen ICQ 5.1 oder die Pro7 ICQ Version,\r\num diese Icons nutzen zu können!"));
  fitText(warning);
  ShowWindow(warning, SW_SHOW);
  // The buttons of the rows the table no longer shows go with them.
  placeControl(buttons2_.hwnd(), 728, entryRowTop(kRowsPerGrid + 1), 75,
               (rowOfEntry(29) - 1) * (Grid::kRowHeight + 1) + Grid::kRowHeight);
  for (int n = 30; n <= 32; ++n) model_.entry(n).active = false;
  grid2_.refresh();
}

void StatusPage::refreshViews() {
  if (away_) setText(away_, oneLineView(model_.away));
  if (na_) setText(na_, oneLineView(model_.na));
  grid1_.refresh();
  grid2_.refresh();
}

// ---------------------------------------------------------------- the entries' buttons

RECT StatusPage::editButtonRect(int entry) {
  ButtonColumn& column = editButtons(gridOfEntry(entry));
  RECT r = column.buttonRect(rowOfEntry(entry) - 1);
  MapWindowPoints(column.hwnd(), hwnd_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool StatusPage::editButtonShown(int entry) {
  ButtonColumn& column = editButtons(gridOfEntry(entry));
  return column.hwnd() && IsWindowVisible(column.hwnd()) && rowOfEntry(entry) <= column.shown();
}

RECT StatusPage::activeBoxRect(int entry) {
  Grid& g = grid(gridOfEntry(entry));
  RECT r = g.switchRect(rowOfEntry(entry));
  MapWindowPoints(g.hwnd(), hwnd_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool StatusPage::activeBoxShown(int entry) {
  Grid& g = grid(gridOfEntry(entry));
  return IsWindowVisible(g.hwnd()) && rowOfEntry(entry) <= g.lastRow();
}

void StatusPage::focusEditButton(int entry) {
  ButtonColumn& column = editButtons(gridOfEntry(entry));
  column.setCurrent(rowOfEntry(entry) - 1);
  SetFocus(column.hwnd());
}

bool StatusPage::editButtonFocused(int entry) {
  ButtonColumn& column = editButtons(gridOfEntry(entry));
  return GetFocus() == column.hwnd() && column.current() == rowOfEntry(entry) - 1;
}

// ---------------------------------------------------------------- reading

void StatusPage::read(const std::string& uin, const ReadSteps& steps) {
  RefreshOnExit refresh(*this);
  // From here until the read is complete the window no longer shows one
  // profile's whole set: "Änderungen übernehmen" refuses to write.
  shared_.completeProfile.clear();
  shared_.currentProfile = uin;
  shared_.shownProfileDeleted = false;

  // Each entry key is read once; its state goes into the state list first,
  // its texts into the tables after the update mode.
  const StoredStatusList stored = readStatusList(statusListPath(uin));
  for (int n = 1; n <= kEntryCount; ++n) model_.stateOf(n) = stored[static_cast<size_t>(n - 1)].state;
  if (steps.afterStates) steps.afterStates();
  for (int n = 1; n <= kEntryCount; ++n) {
    StatusEntry& e = model_.entry(n);
    e.title = stored[static_cast<size_t>(n - 1)].title;
    e.message = stored[static_cast<size_t>(n - 1)].message;
    e.active = model_.stateOf(n) == 1;
  }

  // The panels never keep the texts of the profile read before: they stay
  // empty when the read stops before them or the profile has no ICQ Lite key.
  model_.away.clear();
  model_.na.clear();
  if (steps.beforeAwayTexts) steps.beforeAwayTexts();
  readAwayTexts(uin, model_.away, model_.na);
  shared_.completeProfile = uin;
  if (steps.afterRead) steps.afterRead();
}

// ---------------------------------------------------------------- writing

void StatusPage::Change() {
  if (shared_.shownProfileDeleted) {
    // The tables still show a deleted profile: writing would bring it back.
    ui().messageBox("Achtung!", T("Das angezeigte Profil wurde gelöscht.\r\nWählen sie erst ein Profil!"), MbOk,
                    MbIconInfo);
    return;
  }
  // Only the profile whose set was read completely: after a read that stopped
  // at an error the tables or panels may still hold another profile's texts.
  const std::string& uin = shared_.completeProfile;
  if (uin.empty() || uin != shared_.currentProfile) throw VakError(incompleteReadText(shared_.currentProfile));
  const StatusWriteReport report = writeStatusSet(uin, model_);
  if (report.complete()) {
    if (form7_) form7_->Save();
    return;
  }
  // The backup holds the entries only: it is taken when all of them were written.
  std::string backupError;
  bool backupTaken = false;
  if (report.entriesComplete() && form7_) {
    try {
      form7_->Save();
      backupTaken = true;
    } catch (const VakError& e) {
      backupError = std::string("\r\n\r\n") + e.what();
    }
  }
  throw VakError(statusWriteFailureText(report, uin, backupTaken) + backupError);
}

// ---------------------------------------------------------------- editor

// The editor's window is made when it is first needed: most runs never open
// it, and every window costs start-up time.
EditorDialog* StatusPage::form4() {
  if (form4_ && !form4_->hwnd()) form4_->create(shared_.mainWindow);
  return form4_;
}

void StatusPage::BearbeitenClick(int entry) {
  currentEntry_ = entry;
  EditorDialog* editor = form4();
  editor->prepareEntry(model_.entry(entry).active);
  editor->showModal(shared_.mainWindow);
}

void StatusPage::BearbAwayClick(int tag) {
  currentEntry_ = tag;
  EditorDialog* editor = form4();
  editor->prepareAwayText();
  editor->showModal(shared_.mainWindow);
}

void StatusPage::F4OK(const std::string& title, const std::string& message, bool active) {
  RefreshOnExit refresh(*this);
  const int n = currentEntry_;
  if (n == kAwayItem) {
    model_.away = message;
  } else if (n == kNaItem) {
    model_.na = message;
  } else if (n >= 1 && n <= kEntryCount) {
    model_.entry(n).title = title;
    model_.entry(n).message = message;
    model_.entry(n).active = active;
  }
}

// ---------------------------------------------------------------- status files

void StatusPage::Save(const std::string& path) { saveStatusFile(path, model_); }

void StatusPage::Load(const std::string& path) {
  if (path.empty()) return;  // a cancelled dialog: nothing to load, nothing to say
  RefreshOnExit refresh(*this);
  if (loadStatusFile(path, model_) == LoadResult::NotAStatusFile) {
    const MessageTexts& t = shared_.texts;
    ui().messageBox(t.achtung, pathToText(fileNameOf(path)) + " " + t.notAStatusFile, MbOk, MbNoIcon);
  }
}

void StatusPage::Speichern1Click() {
  std::optional<std::string> name = ui().saveFileDialog("*.icq|*.icq");
  if (!name) return;
  Save(withIcqExtension(*name));
}

void StatusPage::LadenClick() {
  const MessageTexts& t = shared_.texts;
  if (ui().messageBox(t.achtung, t.statusLost + "\r\n" + t.saveBefore, MbYesNo, MbNoIcon) == MbResYes)
    Speichern1Click();
  std::optional<std::string> name = ui().openFileDialog("*.icq (Statusdatei)|*.icq");
  Load(name.value_or(""));
}

void StatusPage::Restorelastsaved1Click() {
  if (!form7_->hwnd()) form7_->create(shared_.mainWindow);
  form7_->showModal(shared_.mainWindow);
}

}  // namespace vak
