#include "app/WebViewer.h"

namespace vak {

void WebViewer::create(HWND owner) {
  createDialog(L"TForm6", L"Vi", 425, 401, owner);
  makeGroup(hwnd_, GroupBox1, "", 8, 8, 411, 385);
  // The browser control is placed inside the group box when the viewer gets its pages.
  makeButton(hwnd_, Button1, "&OK", 8 + 167, 8 + 360, 75, 17);
  onCommand(Button1, [this] { endModal(); });
}

}  // namespace vak
