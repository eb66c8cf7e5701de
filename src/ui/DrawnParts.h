#pragma once
// Pictures of the standard control parts that the program draws itself in
// place of many small windows: a check box and a push button with its caption.
// Each look is drawn once per size (with the visual style when one is active,
// classic otherwise) and then copied: a themed part costs a lot to draw under
// some systems, a copy does not.
#include <windows.h>

#include <string>
#include <vector>

namespace vak {

enum class PartLook {
  BoxOff,
  BoxOn,
  Button,         // a push button at rest
  ButtonHot,      // under the mouse
  ButtonPressed,  // held down
  ButtonDefault,  // with the focus (the button Enter presses)
};

class DrawnParts {
 public:
  // The pictures all windows share: each look is drawn once for the program.
  static DrawnParts& shared();

  DrawnParts() = default;
  ~DrawnParts();
  DrawnParts(const DrawnParts&) = delete;
  DrawnParts& operator=(const DrawnParts&) = delete;

  // Draws look in the rectangle r of dc, for the window (its theme, colours
  // and font). A button's caption is drawn centred in it.
  void draw(HDC dc, HWND window, PartLook look, const RECT& r, const std::wstring& caption = std::wstring());

  // Forgets the pictures (after a theme, colour, font or caption change).
  void clear();

 private:
  struct Picture {
    PartLook look;
    int width, height;
    std::wstring caption;
    HBITMAP bitmap;
    HDC dc;  // holds the bitmap, ready to copy from
  };
  HBITMAP render(HWND window, PartLook look, int width, int height, const std::wstring& caption);

  std::vector<Picture> pictures_;
};

}  // namespace vak
