#include "app/WebViewer.h"

namespace vak {

void WebViewer::create(HWND owner) {
  constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  constexpr DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
  RECT rc{0, 0, 425, 401};
  AdjustWindowRectEx(&rc, style, FALSE, exStyle);
  Window::create(L"TForm6", exStyle, style, L"Vi", 0, 0, rc.right - rc.left, rc.bottom - rc.top, owner, nullptr);
  makeGroup(hwnd_, GroupBox1, "", 8, 8, 411, 385);
  // The browser control is placed inside the group box when the viewer gets its pages.
  makeButton(hwnd_, Button1, "OK", 8 + 167, 8 + 360, 75, 17);
  onCommand(Button1, [this] { endModal(); });
}

}  // namespace vak
