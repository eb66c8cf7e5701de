#pragma once
// The main window TForm1: the shell around the pages (window, menu, profile
// box, away panels, tabs, DPI), the start-up order, the program-wide state
// and the dialogs.
#include <windows.h>

#include <string>
#include <vector>

#include "settings/AboutPanel.h"
#include "settings/SettingsPage.h"
#include "settings/Shared.h"
#include "status/StatusPage.h"
#include "tweaks/TweaksPage.h"
#include "ui/Window.h"

namespace vak {

class EditorDialog;
class RestoreDialog;
class WebViewer;

class TForm1 : public Window {
 public:
  static constexpr int kClientWidth = 833;
  static constexpr int kClientHeight = 441;

  // How the program was started; set before the show handler runs.
  struct StartOptions {
    std::vector<std::string> args;
    // How the window is shown when the show handler shows it itself (before
    // the update check at start, which may take a while).
    int showCommand = SW_SHOWNORMAL;
  };

  // Creates the window (hidden) with its design-time controls.
  void create();
  // The dialog objects; their windows are made on first use.
  void setDialogs(EditorDialog* form4, WebViewer* form6, RestoreDialog* form7);
  StartOptions& start() { return start_; }

  // The show handler: the start-up at the first showing.
  void FormShow();
  // Reads the profile chosen in the profile box.
  void Auslesen();
  void Reset();
  void lng();
  void ExitClick() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }
  // Close handler of the main window: the check at exit, then the end.
  void FormClose();

  // The state and the pages (also for tests). The program folder can be set
  // before FormShow; empty: the exe's folder.
  Shared& shared() { return shared_; }
  StatusPage& status() { return status_; }
  TweaksPage& tweaks() { return tweaks_; }
  SettingsPage& settingsPage() { return settings_; }
  AboutPanel& about() { return about_; }
  int activePage() const;
  void setActivePage(int index);

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void onDpiChanged(int dpi) override;

 private:
  void createControls();
  void shareWithPages();
  void wireCommands();
  void layoutPages();
  void showPage(int index);
  void setIcons();
  void readStatusSet(const std::string& uin);
  // The profile chosen in NN, by its position in the profile key list the
  // box was filled from; throws the list position error when NN names none,
  // and an error when the profile's key is no longer there.
  std::string selectedProfileKey();
  HWND own(int id) const { return GetDlgItem(hwnd_, id); }
  Page& page(int index) { return index == 0 ? static_cast<Page&>(status_) : index == 1 ? static_cast<Page&>(tweaks_) : settings_; }

  Shared shared_;
  StartOptions start_;
  Hints hints_;
  EditorDialog* form4_ = nullptr;
  WebViewer* form6_ = nullptr;
  RestoreDialog* form7_ = nullptr;
  StatusPage status_{shared_};
  TweaksPage tweaks_{shared_};
  SettingsPage settings_{shared_};
  AboutPanel about_{shared_};
};

}  // namespace vak
