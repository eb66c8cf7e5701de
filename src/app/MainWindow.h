#pragma once
// The main window TForm1: profile box, away texts, the three tabs, and all
// the program-wide state.
#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/ButtonColumn.h"
#include "ui/Grid.h"
#include "ui/Icons.h"
#include "ui/Window.h"
#include "platform/Ini.h"
#include "settings/AboutPanel.h"
#include "settings/UpdateCheck.h"
#include "status/StatusModel.h"
#include "tweaks/ProfileOptions.h"
#include "tweaks/Sounds.h"
#include "tweaks/Smileys.h"

namespace vak {

class EditorDialog;
class RestoreDialog;
class WebViewer;

// A tab page: a plain child window that hands its controls' notifications to
// the main window.
class Page : public Window {
 public:
  void create(HWND mainWindow, int x, int y, int width, int height);
  // Draws the page's own pictures over its background, those that meet the
  // given area (also for WM_PRINTCLIENT).
  void setPainter(std::function<void(HDC, const RECT&)> painter) { painter_ = std::move(painter); }

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND main_ = nullptr;
  std::function<void(HDC, const RECT&)> painter_;
};

class TForm1;

// A control of the main window by its id, for the code that sets or reads
// it. The controls of the tweaks and settings pages and of the about panel are
// made when they are first needed; until then what is set on one of them is
// kept and given to it when it is made, and reads are answered from what was
// kept. A read of something nothing was kept for makes the control's page.
class ControlRef {
 public:
  ControlRef(TForm1& form, int id) : form_(form), id_(id) {}

  // The control itself (its page is made first when needed).
  HWND window() const;

  bool checked() const;
  // Returns true when the state changed.
  bool setChecked(bool on) const;
  // The state a box of a page not made yet starts with (no handler, no comparison).
  void presetChecked(bool on) const;
  // Sets the state and, when it changes, runs the box's handler, as a click would.
  void setCheckedAndRun(bool on, const std::function<void()>& handler) const;
  std::string text() const;
  void setText(const std::string& text) const;
  void enable(bool on) const;
  void setHint(const std::string& text) const;
  void enableHint(bool on) const;

  // Combo boxes (texts Windows-1252).
  int count() const;
  std::string itemText(int index) const;
  // The first item equal to text, -1 when none.
  int find(const std::string& text) const;
  int selected() const;
  void select(int index) const;
  void clear() const;
  void add(const std::string& text) const;

 private:
  TForm1& form_;
  int id_;
};

class TForm1 : public Window {
  friend class ControlRef;

 public:
  static constexpr int kClientWidth = 833;
  static constexpr int kClientHeight = 441;

  TForm1();
  ~TForm1() override;

  // Creates the window (hidden) with its design-time controls.
  void create();
  // The dialog objects; their windows are made on first use (form4(),
  // form6(), the restore menu item).
  void setDialogs(EditorDialog* form4, WebViewer* form6, RestoreDialog* form7);

  // --- start-up (show handler) ---
  void FormShow();
  // The program folder can be set before FormShow (tests); empty: the exe's folder.
  void setProgramFolder(const std::string& folder) { programFolder_ = folder; }
  void setCommandLine(std::vector<std::string> args) { args_ = std::move(args); }
  // How the window is shown when the show handler shows it itself (before the
  // update check at start, which may take a while).
  void setShowCommand(int showCommand) { showCommand_ = showCommand; }

  // --- status messages ---
  void Auslesen();
  void Change();
  void Reset();
  void BearbeitenClick(int entry);
  void BearbAwayClick(int tag);
  void F4OK(const std::string& title, const std::string& message, bool active);
  void Save(const std::string& path);
  void Load(const std::string& path);
  void Speichern1Click();
  void LadenClick();
  void Restorelastsaved1Click();

  // --- settings tab ---
  void T3Show();
  void Einst_UebClick();
  void Einst_AbbClick();
  void HintBoxClick();
  void Einstellungen1Click();

  // --- the parts of the tweaks tab, the update check, the about panel ---
  ProfileOptions& options() { return options_; }
  Sounds& sounds() { return sounds_; }
  Smileys& smileys() { return smileys_; }
  UpdateCheck& update() { return update_; }
  AboutPanel& about() { return about_; }

  void ExitClick();
  // Close handler of the main window: the check at exit, then the end.
  void FormClose();
  void lng();

  // --- state and views (also for tests) ---
  StatusModel& model() { return model_; }
  const std::string& programFolder() const { return programFolder_; }
  const std::string& currentProfile() const { return currentProfile_; }
  // The profile whose status set was read completely and is shown; empty while
  // a read stopped at an error. Only this profile is ever written to.
  const std::string& completeProfile() const { return completeProfile_; }
  const std::vector<std::string>& profileKeys() const { return profileKeys_; }
  std::vector<std::string>& profileKeys() { return profileKeys_; }
  bool startupDone() const { return startupDone_; }
  // The profile chosen in NN, by its position in the profile key list the
  // box was filled from; throws the list position error when NN names none,
  // and an error when the profile's key is no longer there.
  std::string selectedProfileKey();
  // Set when the profile shown in the tables has been deleted: nothing may be
  // written for it until another profile is read.
  void setShownProfileDeleted() { shownProfileDeleted_ = true; }
  bool shownProfileDeleted() const { return shownProfileDeleted_; }
  const std::vector<std::string>& commandLine() const { return args_; }
  // The editor and the web viewer, their windows made on the first call.
  EditorDialog* form4();
  WebViewer* form6();
  int currentEntry() const { return currentEntry_; }

  // The control with this id; a control of the tweaks or settings page or of
  // the about panel is made with its page when it does not exist yet.
  HWND control(int id);
  // The same by id, as the program sets and reads it (see ControlRef).
  ControlRef at(int id) { return ControlRef(*this, id); }
  // Whether the controls of a page (1 tweaks, 2 settings) have been made.
  bool pageMade(int index) const { return pagesMade_.at(static_cast<size_t>(index)); }
  Grid& grid(int which) { return which == 1 ? grid1_ : grid2_; }
  // The "Bearbeiten" buttons of the entries 1-16 (which 1) and 17-32 (2).
  ButtonColumn& editButtons(int which) { return which == 1 ? buttons1_ : buttons2_; }
  // Entry n's "Bearbeiten" button and its switch (the active check box): where
  // they are drawn in the client area of page(0), and whether they are shown.
  RECT editButtonRect(int entry);
  bool editButtonShown(int entry);
  RECT activeBoxRect(int entry);
  bool activeBoxShown(int entry);
  // Gives the focus to entry n's "Bearbeiten" button; whether it has it.
  void focusEditButton(int entry);
  bool editButtonFocused(int entry);
  HWND page(int index) const { return pages_.at(static_cast<size_t>(index)).hwnd(); }
  int activePage() const;
  void setActivePage(int index);
  Hints& hints() { return hints_; }
  // The status icon of item n (1-34) for a window that shows it; nullptr for 30.
  HICON statusIcon(int n) { return icons_.icon(n); }
  // Where the status icon of entry n (1-32) is drawn, in the client area of page(0).
  RECT statusIconRect(int n) const;

  // Shows the model in the tables, check boxes and panels.
  void refreshViews();

  IniFile settings() const;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void onDpiChanged(int dpi) override;

 private:
  void createMenu();
  void createStatusTab();
  void createTweaksTab();
  void createSettingsTab();
  // The state the settings page's controls start with, kept until they are made.
  void presetSettingsTab();
  // Makes the controls of page 1 or 2 or the about panel (3) when they do not exist yet.
  void makePart(int part);
  void makePage(int index);
  // The control if it exists, without making anything.
  HWND existingControl(int id) const;
  // What is kept for a control whose part is not made yet; null once it is.
  struct Kept;
  Kept* kept(int id);
  // Gives the kept states of a part's controls to them, once they are made.
  void applyKept(int part, HWND parent);
  void createEntryControls();
  void wireCommands();
  void showPage(int index);
  void layoutPages();
  void createIcons();
  void checkUpdateRadio(int mode);
  void readStatusSet(const std::string& uin);
  // Entries 30-32 need ICQ Lite 2050 or later: below that they are hidden.
  void applyVersionGate();
  void applyHintsAndHeadings();
  // The built-in texts of the dialogs whose windows exist, once lng() chose them.
  void applyDialogTexts();
 public:
  HMENU menu() const { return menu_; }
 private:
  std::string selectedProfileText() const;
  // Whether controls found by control() may have this parent.
  bool ownsControls(HWND parent) const;

  // program-wide state
  std::string programFolder_;
  std::string startNumber_;
  std::string currentProfile_;
  std::string completeProfile_;
  std::vector<std::string> profileKeys_;
  bool startupDone_ = false;
  bool shownProfileDeleted_ = false;
  int currentEntry_ = 0;
  std::vector<std::string> args_;
  int showCommand_ = SW_SHOWNORMAL;
  StatusModel model_;

  EditorDialog* form4_ = nullptr;
  WebViewer* form6_ = nullptr;
  RestoreDialog* form7_ = nullptr;
  bool builtInTexts_ = false;  // lng() gave the controls the built-in texts

  Hints hints_;
  std::array<Page, 3> pages_;
  std::array<bool, 3> pagesMade_{true, false, false};
  struct Kept {
    std::optional<std::string> text;
    std::optional<bool> checked;
    std::optional<bool> enabled;
    std::optional<std::vector<std::string>> items;  // a combo box's list
    int selection = -1;                             // with items
    std::optional<std::string> hint;
    std::optional<bool> hintOn;
  };
  std::map<int, Kept> kept_;
  Grid grid1_, grid2_;
  ButtonColumn buttons1_, buttons2_;
  StatusIcons icons_;
  HMENU menu_ = nullptr;
  mutable std::map<int, HWND> controls_;  // found by control()

  ProfileOptions options_{*this};
  Sounds sounds_{*this};
  Smileys smileys_{*this};
  UpdateCheck update_{*this};
  AboutPanel about_{*this};
};

}  // namespace vak
