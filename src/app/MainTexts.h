#pragma once
// The texts of the main window's controls and of its menu (see ControlText).
#include <windows.h>

#include <vector>

#include "ui/ControlText.h"

namespace vak {

// The controls' texts; the hints of Button1 and the panels follow the hint
// switch, those of the two pictures always show.
const std::vector<ControlText>& mainTexts();
// Creates the menu "Datei" and "?" of window.
void createMainMenu(HWND window);
// The menu's built-in texts, when the texts routine found no language file.
void useBuiltInMenuTexts(HWND window);

}  // namespace vak
