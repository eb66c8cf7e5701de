#pragma once
// The main window TForm1: profile box, away texts, the three tabs, and all
// the program-wide state.
#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Grid.h"
#include "app/Icons.h"
#include "app/Window.h"
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

class TForm1 : public Window {
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
  // The profile chosen in NN, from a fresh profile key list; throws the list
  // position error when NN names none.
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

  // The control with this id in the window or on one of its pages.
  HWND control(int id) const;
  HWND editButton(int entry) const { return editButtons_.at(static_cast<size_t>(entry - 1)); }
  HWND activeBox(int entry) const { return activeBoxes_.at(static_cast<size_t>(entry - 1)); }
  Grid& grid(int which) { return which == 1 ? grid1_ : grid2_; }
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

  // Sets a check box and, when its state changes, runs its handler, as a click would.
  void setCheckedAndRun(HWND box, bool checked, const std::function<void()>& handler);
  IniFile settings() const;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void onDpiChanged(int dpi) override;

 private:
  void createMenu();
  void createStatusTab();
  void createTweaksTab();
  void createSettingsTab();
  void createEntryControls();
  void wireCommands();
  void showPage(int index);
  void layoutPages();
  void createIcons();
  void checkUpdateRadio(int mode);
  void readStatusSet(const std::string& uin);
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
  StatusModel model_;

  EditorDialog* form4_ = nullptr;
  WebViewer* form6_ = nullptr;
  RestoreDialog* form7_ = nullptr;
  bool builtInTexts_ = false;  // lng() gave the controls the built-in texts

  Hints hints_;
  std::array<Page, 3> pages_;
  Grid grid1_, grid2_;
  std::array<HWND, kEntryCount> editButtons_{};
  std::array<HWND, kEntryCount> activeBoxes_{};
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
