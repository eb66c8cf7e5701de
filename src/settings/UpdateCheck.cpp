#include "settings/UpdateCheck.h"

#include "app/MainWindow.h"

namespace vak {

void UpdateCheck::create(HWND) {}

void UpdateCheck::applyTexts() {}

void UpdateCheck::checkAtStart() {}

void UpdateCheck::checkAtExit() {}

void UpdateCheck::TestUDClick() {}

void UpdateCheck::aufUpdateprfen1Click() {}

}  // namespace vak
