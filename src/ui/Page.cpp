#include "ui/Page.h"

#include "platform/Text.h"
#include "platform/WinText.h"

namespace vak {

const ControlText* findText(const std::vector<ControlText>& table, int id) {
  for (const ControlText& t : table)
    if (t.id == id) return &t;
  return nullptr;
}

std::string madeText(const std::vector<ControlText>& table, int id) {
  const ControlText* t = findText(table, id);
  return t && t->text ? T(t->text) : std::string();
}

void applyBuiltInTexts(const std::vector<ControlText>& table, HWND parent) {
  if (!parent) return;
  for (const ControlText& t : table)
    if (t.builtIn)
      if (HWND h = GetDlgItem(parent, t.id)) setText(h, T(t.builtIn));
}

void Page::createWindow(HWND parent, int x, int y, int width, int height, HMENU id) {
  Window::create(L"VakPage", WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPSIBLINGS, L"", x, y, width, height, parent, id);
}

void Page::make() {
  if (made_ || !hwnd_) return;
  made_ = true;
  build();
  if (builtInTexts_ && textTable()) applyBuiltInTexts(*textTable(), hwnd_);
}

void Page::useBuiltInTexts() {
  builtInTexts_ = true;
  if (made_ && textTable()) applyBuiltInTexts(*textTable(), hwnd_);
}

HWND Page::control(int id) {
  make();
  return existing(id);
}

HWND Page::existing(int id) const { return made_ ? GetDlgItem(hwnd_, id) : nullptr; }

LRESULT Page::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      // Without pictures of its own the page is its background only.
      paintPictures(dc, ps.rcPaint);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      // Themed check boxes and buttons ask for the background behind them
      // at every paint: only the part the DC is clipped to is drawn.
      HDC dc = reinterpret_cast<HDC>(wp);
      RECT clip{};
      if (GetClipBox(dc, &clip) == NULLREGION) return 0;
      if (lp & PRF_ERASEBKGND) FillRect(dc, &clip, GetSysColorBrush(COLOR_BTNFACE));
      paintPictures(dc, clip);
      return 0;
    }
    default:
      break;
  }
  return Window::handleMessage(msg, wp, lp);
}

bool Page::checkedState(int id, bool kept) const {
  HWND h = existing(id);
  return h ? isChecked(h) : kept;
}

bool Page::setCheckedState(int id, bool& kept, bool on) {
  const bool changed = checkedState(id, kept) != on;
  kept = on;
  if (HWND h = existing(id)) vak::setChecked(h, on);
  return changed;
}

std::string Page::textState(int id, const std::string& kept) const {
  HWND h = existing(id);
  // As a control gives it back: Windows-1252 through UTF-16.
  return h ? getText(h) : narrow(widen(kept));
}

void Page::setTextState(int id, std::string& kept, const std::string& text) {
  kept = text;
  if (HWND h = existing(id)) setText(h, text);
}

void Page::enableState(int id, bool& kept, bool on) {
  kept = on;
  if (HWND h = existing(id)) EnableWindow(h, on);
}

ComboState Page::comboState(int id, const ComboState& kept) const {
  HWND h = existing(id);
  if (!h) {
    ComboState shown = kept;
    for (std::string& item : shown.items) item = narrow(widen(item));
    return shown;
  }
  ComboState state;
  for (int i = 0; i < comboCount(h); ++i) state.items.push_back(comboItem(h, i));
  state.selection = comboSelected(h);
  return state;
}

void Page::setComboState(int id, ComboState& kept, const ComboState& state) {
  kept = state;
  if (HWND h = existing(id)) fillCombo(h, state);
}

int Page::comboSelection(int id, const ComboState& kept) const {
  HWND h = existing(id);
  return h ? comboSelected(h) : kept.selection;
}

void Page::selectComboState(int id, ComboState& kept, int index) {
  if (HWND h = existing(id)) {
    comboSelect(h, index);
    kept.selection = comboSelected(h);
    return;
  }
  // As a combo box does: past the end (or below 0) nothing is chosen.
  kept.selection = index >= 0 && index < static_cast<int>(kept.items.size()) ? index : -1;
}

void Page::fillCombo(HWND combo, const ComboState& state) {
  comboClear(combo);
  for (const std::string& item : state.items) comboAdd(combo, item);
  comboSelect(combo, state.selection);
}

}  // namespace vak
