#pragma once
// The web viewer TForm6 (licence and version history).
#include "app/Window.h"

namespace vak {

class WebViewer : public Window {
 public:
  enum Id : int { GroupBox1 = 10, Button1 = IDOK };
  void create(HWND owner);
  HWND control(int id) const { return GetDlgItem(hwnd_, id); }
};

}  // namespace vak
