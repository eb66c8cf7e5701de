#include "tweaks/Smileys.h"

#include "app/MainWindow.h"
#include "app/Window.h"

namespace vak {

HWND Smileys::control(int id) const { return form_.control(id); }

void Smileys::create(HWND page) { makeGroup(page, ids::Smiley, "ICQ-Smileys", 553, 6, 260, 330); }

void Smileys::applyTexts() {}

void Smileys::applyHints(bool) {}

void Smileys::SmileyAkt() {}

void Smileys::SmBtnClick(int) {}

void Smileys::Button3Click() {}

void Smileys::ResetSmClick() {}

}  // namespace vak
