#pragma once
#include <windows.h>

namespace vak {
// Program entry: application title, the four windows in their order, message loop.
int runApplication(HINSTANCE instance, int showCommand);
}  // namespace vak
