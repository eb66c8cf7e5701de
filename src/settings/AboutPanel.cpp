#include "settings/AboutPanel.h"

#include "app/MainWindow.h"

namespace vak {

void AboutPanel::create(HWND) {}

void AboutPanel::place(int, int) {}

void AboutPanel::applyTexts() {}

void AboutPanel::About1Click() {}

void AboutPanel::Panel1Click() {}

void AboutPanel::Lizenz1Click() {}

}  // namespace vak
