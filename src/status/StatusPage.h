#pragma once
// The tab "Statusmeldungen": the status set of the profile shown, in two
// tables with their "Bearbeiten" buttons, and what is done with it: writing
// it to ICQ, the editor, status files and the backups.
#include <windows.h>

#include <functional>
#include <string>

#include "settings/Shared.h"
#include "status/StatusModel.h"
#include "ui/ButtonColumn.h"
#include "ui/Grid.h"
#include "ui/Icons.h"
#include "ui/Page.h"

namespace vak {

class EditorDialog;
class RestoreDialog;

namespace ids {
enum : int {
  StringGrid1 = 300,
  StringGrid2,
  Warnung,
  // The "Bearbeiten" buttons of the entries 1-16 and 17-32, each column one
  // window (the entries' switches are drawn by the tables).
  EditButtons1 = 350,
  EditButtons2,
};
}  // namespace ids

class StatusPage : public Page {
 public:
  explicit StatusPage(Shared& shared) : shared_(shared) {}

  void setDialogs(EditorDialog* form4, RestoreDialog* form7) {
    form4_ = form4;
    form7_ = form7;
  }
  // The away and not-available panels of the main window, which show the
  // model's texts; they open the editor also from the keyboard.
  void setPanels(HWND away, HWND na);
  // Reads the profile's status set into the model. The steps of the other
  // pages run between, as the reading order has it.
  struct ReadSteps {
    std::function<void()> afterStates;      // the entry states are read
    std::function<void()> beforeAwayTexts;  // the entries are read, the panels cleared
    std::function<void()> afterRead;        // the set was read completely
  };
  void read(const std::string& uin, const ReadSteps& steps);
  // The columns of "Bearbeiten" buttons (at start-up, after the settings).
  void createEntryControls();
  // The status pictures in the size of the page's DPI.
  void createIcons();
  // Entries 30-32 need ICQ Lite 2050 or later: below that they are hidden.
  void applyVersionGate(const std::string& liteVersion);
  void useBuiltInTexts() override;

  void Change();
  StatusModel& model() { return model_; }
  // The editor for entry n or for a panel's text (kAwayItem, kNaItem), and its OK.
  void BearbeitenClick(int entry);
  void BearbAwayClick(int tag);
  int currentEntry() const { return currentEntry_; }
  void F4OK(const std::string& title, const std::string& message, bool active);
  // Status files and the backups.
  void Save(const std::string& path);
  void Load(const std::string& path);
  Shared& shared() { return shared_; }
  void Speichern1Click();
  void LadenClick();
  void Restorelastsaved1Click();

  // Shows the model in the tables and panels.
  void refreshViews();
  // The editor, its window made on the first call.
  EditorDialog* form4();
  // The status icon of item n (1-34); nullptr for 30.
  HICON statusIcon(int n) { return icons_.icon(n); }
  // Where the status icon of entry n (1-32) is drawn.
  RECT statusIconRect(int n) const;

  Grid& grid(int which) { return which == 1 ? grid1_ : grid2_; }
  // The "Bearbeiten" buttons of the entries 1-16 (which 1) and 17-32 (2).
  ButtonColumn& editButtons(int which) { return which == 1 ? buttons1_ : buttons2_; }
  // Entry n's "Bearbeiten" button and its switch (the active check box): where
  // they are drawn in the page's client area, and whether they are shown.
  RECT editButtonRect(int entry);
  bool editButtonShown(int entry);
  RECT activeBoxRect(int entry);
  bool activeBoxShown(int entry);
  // Gives the focus to entry n's "Bearbeiten" button; whether it has it.
  void focusEditButton(int entry);
  bool editButtonFocused(int entry);

 protected:
  void build() override;
  bool paintPictures(HDC dc, const RECT& area) override;

 private:
  Shared& shared_;
  StatusModel model_;
  int currentEntry_ = 0;
  EditorDialog* form4_ = nullptr;
  RestoreDialog* form7_ = nullptr;
  HWND away_ = nullptr, na_ = nullptr;
  Grid grid1_, grid2_;
  ButtonColumn buttons1_, buttons2_;
  StatusIcons icons_;
};

}  // namespace vak
