#pragma once
// The program's own pictures: the status icons Image1..Image34 and the logo.
#include <windows.h>

namespace vak {

// 16 x 16 status icon of item n (1..34): entries 1..32, 33 away, 34 not
// available. Image30 has no picture: nullptr. The caller owns the icon.
HICON createStatusIcon(int n);

}  // namespace vak
