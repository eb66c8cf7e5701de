#include <windows.h>

#include "app/App.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  return vak::runApplication(instance, showCommand);
}
