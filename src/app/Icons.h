#pragma once
// The program's own pictures: the status icons Image1..Image34 and the logo.
#include <windows.h>

namespace vak {

// Status icon of item n (1..34), size x size pixels (16 at 96 DPI): entries
// 1..32, 33 away, 34 not available. Image30 has no picture: nullptr. The
// caller owns the icon.
HICON createStatusIcon(int n, int size = 16);

}  // namespace vak
