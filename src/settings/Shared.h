#pragma once
// The program-wide state: owned by the main window, handed by reference to
// its pages, parts and dialogs. What they need the main window to do for them
// (the profile chosen in the profile box, another page shown, ...) it gives
// here as functions.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Ini.h"
#include "settings/Texts.h"

namespace vak {

class Hints;
class WebViewer;

struct Shared {
  std::string programFolder;
  // The profile the tables show (the last read's), and the one whose status
  // set was read completely (empty while a read stopped at an error). Only
  // that profile is ever written to.
  std::string currentProfile;
  std::string completeProfile;
  // Set when the profile shown has been deleted: nothing may be written for
  // it until another profile is read.
  bool shownProfileDeleted = false;
  // The profile key list: positions in the profile box (and in the deletion
  // list) are positions here.
  std::vector<std::string> profileKeys;
  bool startupDone = false;
  MessageTexts texts;
  // The version the update information offers.
  std::string newVersion;

  HWND mainWindow = nullptr;
  Hints* hints = nullptr;

  // The profile chosen in the profile box; throws when it names none or its
  // key is no longer there.
  std::function<std::string()> chosenProfile;
  // Its position in the profile box; -1 while none is chosen.
  std::function<int()> chosenPosition;
  // After a profile was deleted: position in the profile key list (already
  // removed from it).
  std::function<void(int position)> profileRemoved;
  // Shows page 0, 1 or 2 of the tabs.
  std::function<void(int index)> showPage;
  // The web viewer, its window made on the first call.
  std::function<WebViewer*()> viewer;
  // The hint switch: the switched hints of every page on or off.
  std::function<void(bool on)> switchHints;
  // While a transfer runs the update's menu item waits.
  std::function<void(bool busy)> updateBusy;

  IniFile settings() const { return IniFile(programFolder + "\\Einst.ini"); }
};

}  // namespace vak
