#include "ui/DrawnParts.h"

#include <uxtheme.h>
#include <vssym32.h>

#include "ui/Window.h"

namespace vak {

DrawnParts& DrawnParts::shared() {
  static DrawnParts parts;
  return parts;
}

DrawnParts::~DrawnParts() { clear(); }

void DrawnParts::clear() {
  for (Picture& p : pictures_) {
    DeleteDC(p.dc);
    DeleteObject(p.bitmap);
  }
  pictures_.clear();
}

namespace {

bool isBox(PartLook look) { return look == PartLook::BoxOff || look == PartLook::BoxOn; }

int themeState(PartLook look) {
  switch (look) {
    case PartLook::BoxOff: return CBS_UNCHECKEDNORMAL;
    case PartLook::BoxOn: return CBS_CHECKEDNORMAL;
    case PartLook::ButtonHot: return PBS_HOT;
    case PartLook::ButtonPressed: return PBS_PRESSED;
    case PartLook::ButtonDefault: return PBS_DEFAULTED;
    case PartLook::Button: break;
  }
  return PBS_NORMAL;
}

void drawClassic(HDC dc, PartLook look, RECT r) {
  if (isBox(look)) {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | (look == PartLook::BoxOn ? DFCS_CHECKED : 0u));
    return;
  }
  if (look == PartLook::ButtonDefault || look == PartLook::ButtonPressed) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  if (look == PartLook::ButtonPressed) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  } else {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
}

}  // namespace

HBITMAP DrawnParts::render(HWND window, PartLook look, int width, int height, const std::wstring& caption) {
  HDC screen = GetDC(window);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(window, screen);
  if (!dc || !bitmap) {
    if (dc) DeleteDC(dc);
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  RECT r{0, 0, width, height};
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  HTHEME theme = IsAppThemed() ? OpenThemeData(window, L"BUTTON") : nullptr;
  const int part = isBox(look) ? BP_CHECKBOX : BP_PUSHBUTTON;
  const int state = themeState(look);
  if (theme)
    DrawThemeBackground(theme, dc, part, state, &r, nullptr);
  else
    drawClassic(dc, look, r);
  if (!caption.empty()) {
    HGDIOBJ oldFont = SelectObject(dc, uiFont(windowDpi(window)));
    SetBkMode(dc, TRANSPARENT);
    RECT text = r;
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (theme) {
      DrawThemeText(theme, dc, part, state, caption.c_str(), static_cast<int>(caption.size()), format, 0, &text);
    } else {
      if (look == PartLook::ButtonPressed) OffsetRect(&text, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, format);
    }
    SelectObject(dc, oldFont);
  }
  if (theme) CloseThemeData(theme);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  return bitmap;
}

void DrawnParts::draw(HDC dc, HWND window, PartLook look, const RECT& r, const std::wstring& caption) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return;
  HDC source = nullptr;
  for (const Picture& p : pictures_)
    if (p.look == look && p.width == width && p.height == height && p.caption == caption) source = p.dc;
  if (!source) {
    HBITMAP bitmap = render(window, look, width, height, caption);
    if (!bitmap) return;
    source = CreateCompatibleDC(dc);
    if (!source) {
      DeleteObject(bitmap);
      return;
    }
    SelectObject(source, bitmap);
    pictures_.push_back(Picture{look, width, height, caption, bitmap, source});
  }
  BitBlt(dc, r.left, r.top, width, height, source, 0, 0, SRCCOPY);
}

}  // namespace vak
