#include "app/MainWindow.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>

#include "ui/Accessible.h"
#include "ui/Icons.h"
#include "app/Ids.h"
#include "app/StartTrace.h"
#include "settings/WebViewer.h"
#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Path.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"
#include "settings/StartRule.h"
#include "settings/Texts.h"
#include "status/Backup.h"
#include "status/EditorDialog.h"
#include "status/FileRules.h"
#include "status/IcqRegistry.h"
#include "status/RestoreDialog.h"
#include "status/StatusFile.h"
#include "status/WriteReport.h"

namespace vak {

namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kPageTop = 52;

HMENU menuId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

// Refreshes the views when a handler ends, also when it ends with an error:
// what a read put into the model before the error stays visible.
class RefreshOnExit {
 public:
  explicit RefreshOnExit(TForm1& form) : form_(form) {}
  ~RefreshOnExit() { form_.refreshViews(); }
  RefreshOnExit(const RefreshOnExit&) = delete;
  RefreshOnExit& operator=(const RefreshOnExit&) = delete;

 private:
  TForm1& form_;
};

}  // namespace

void Page::create(HWND mainWindow, int x, int y, int width, int height) {
  main_ = mainWindow;
  Window::create(L"VakPage", WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPSIBLINGS, L"", x, y, width, height, mainWindow,
                 nullptr);
}

LRESULT Page::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
      return SendMessageW(main_, msg, wp, lp);
    case WM_PAINT:
      if (painter_) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        painter_(dc, ps.rcPaint);
        EndPaint(hwnd_, &ps);
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      // Themed check boxes and buttons ask for the background behind them
      // at every paint: only the part the DC is clipped to is drawn.
      if (painter_) {
        HDC dc = reinterpret_cast<HDC>(wp);
        RECT clip{};
        if (GetClipBox(dc, &clip) == NULLREGION) return 0;
        if (lp & PRF_ERASEBKGND) FillRect(dc, &clip, GetSysColorBrush(COLOR_BTNFACE));
        painter_(dc, clip);
        return 0;
      }
      break;
    default:
      break;
  }
  return Window::handleMessage(msg, wp, lp);
}

TForm1::TForm1() = default;

TForm1::~TForm1() = default;

namespace {

// Where a control lives: 0 the main window or the status page (made with the
// window), 1 the tweaks page, 2 the settings page, 3 the about panel.
int partOf(int id) {
  if ((id >= ids::GroupBox1 && id < ids::AllgemeinBox) || (id >= ids::Smiley && id < ids::Smiley + 100)) return 1;
  if ((id >= ids::AllgemeinBox && id < ids::Smiley) || (id >= ids::GroupBox3 && id < ids::Panel1)) return 2;
  if (id >= ids::Panel1 && id < ids::Panel1 + 50) return 3;
  return 0;
}

// A text as a control gives it back (Windows-1252 through UTF-16).
std::string asShown(const std::string& text) { return narrow(widen(text)); }

// For screen readers a panel is a button that says which text it holds
// (what() names it) and that Enter edits it; pressing it is a click.
void describePanel(HWND panel, std::function<std::string()> what) {
  describeControl(
      panel,
      [what] {
        AccessiblePart part;
        part.role = ROLE_SYSTEM_PUSHBUTTON;
        part.name = what();
        part.description = T("Eingabetaste öffnet den Editor");
        part.defaultAction = "Bearbeiten";
        return part;
      },
      [panel] {
        SendMessageW(GetParent(panel), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(panel), STN_CLICKED),
                     reinterpret_cast<LPARAM>(panel));
      });
}

// What screen readers call entry n.
std::string entryName(int n) { return "Statusmeldung " + std::to_string(n); }

// "Abwesend-Text: Bin weg": what a panel is called, with the text it holds.
std::string panelName(const char* kind, const std::string& text) {
  return T(kind) + (text.empty() ? "" : " " + text);
}

}  // namespace

HWND TForm1::existingControl(int id) const {
  switch (const int part = partOf(id)) {
    case 1:
    case 2:
      return pagesMade_[static_cast<size_t>(part)] ? GetDlgItem(page(part), id) : nullptr;
    case 3:
      return about_.existing(id);
    default:
      break;
  }
  // A search asks the system for the children of up to four windows; a
  // control found once is taken from the list while it is still there.
  const auto known = controls_.find(id);
  if (known != controls_.end()) {
    const HWND h = known->second;
    if (IsWindow(h) && GetDlgCtrlID(h) == id && ownsControls(GetParent(h))) return h;
    controls_.erase(known);
  }
  HWND found = GetDlgItem(hwnd_, id);
  // Also a control that was put on a page afterwards.
  for (const Page& p : pages_)
    if (!found) found = GetDlgItem(p.hwnd(), id);
  if (found) controls_[id] = found;
  return found;
}

HWND TForm1::control(int id) {
  makePart(partOf(id));
  return existingControl(id);
}

void TForm1::makePart(int part) {
  if (part == 1 || part == 2) {
    makePage(part);
  } else if (part == 3 && hwnd_ && !about_.made()) {
    about_.create(hwnd_);
    applyKept(3, about_.existing(ids::Panel1));
  }
}

void TForm1::makePage(int index) {
  if (!hwnd_ || pagesMade_[static_cast<size_t>(index)]) return;
  pagesMade_[static_cast<size_t>(index)] = true;
  if (index == 1)
    createTweaksTab();
  else
    createSettingsTab();
  applyKept(index, page(index));
}

TForm1::Kept* TForm1::kept(int id) {
  const int part = partOf(id);
  if (part == 0 || (part == 3 ? about_.made() : pagesMade_[static_cast<size_t>(part)])) return nullptr;
  return &kept_[id];
}

void TForm1::applyKept(int part, HWND parent) {
  for (auto it = kept_.begin(); it != kept_.end();) {
    if (partOf(it->first) != part) {
      ++it;
      continue;
    }
    const Kept& k = it->second;
    if (HWND h = GetDlgItem(parent, it->first)) {
      if (k.text) vak::setText(h, *k.text);
      if (k.items) {
        comboClear(h);
        for (const std::string& item : *k.items) comboAdd(h, item);
        comboSelect(h, k.selection);
      }
      if (k.checked) vak::setChecked(h, *k.checked);
      if (k.enabled) EnableWindow(h, *k.enabled);
      if (k.hint || k.hintOn)
        hints_.set(h, k.hint ? *k.hint : hints_.text(h), k.hintOn ? *k.hintOn : hints_.enabled(h));
    }
    it = kept_.erase(it);
  }
}

// ------------------------------------------------------------ ControlRef
// Each function works on the control when it exists, else on what is kept
// for it. A read that finds nothing kept makes the page and asks the control.

HWND ControlRef::window() const { return form_.control(id_); }

bool ControlRef::checked() const {
  if (TForm1::Kept* k = form_.kept(id_); k && k->checked) return *k->checked;
  return isChecked(window());
}

bool ControlRef::setChecked(bool on) const {
  if (TForm1::Kept* k = form_.kept(id_); k && k->checked) {
    const bool changed = *k->checked != on;
    k->checked = on;
    return changed;
  }
  return vak::setChecked(window(), on);
}

void ControlRef::presetChecked(bool on) const {
  if (TForm1::Kept* k = form_.kept(id_))
    k->checked = on;
  else if (HWND h = form_.existingControl(id_))
    vak::setChecked(h, on);
}

void ControlRef::setCheckedAndRun(bool on, const std::function<void()>& handler) const {
  if (setChecked(on)) handler();
}

std::string ControlRef::text() const {
  if (TForm1::Kept* k = form_.kept(id_); k && k->text) return asShown(*k->text);
  return getText(window());
}

void ControlRef::setText(const std::string& text) const {
  if (TForm1::Kept* k = form_.kept(id_))
    k->text = text;
  else if (HWND h = form_.existingControl(id_))
    vak::setText(h, text);
}

void ControlRef::enable(bool on) const {
  if (TForm1::Kept* k = form_.kept(id_))
    k->enabled = on;
  else if (HWND h = form_.existingControl(id_))
    EnableWindow(h, on);
}

void ControlRef::setHint(const std::string& text) const {
  if (TForm1::Kept* k = form_.kept(id_))
    k->hint = text;
  else if (HWND h = form_.existingControl(id_))
    form_.hints_.set(h, text);
}

void ControlRef::enableHint(bool on) const {
  if (TForm1::Kept* k = form_.kept(id_))
    k->hintOn = on;
  else if (HWND h = form_.existingControl(id_))
    form_.hints_.enable(h, on);
}

int ControlRef::count() const {
  if (TForm1::Kept* k = form_.kept(id_); k && k->items) return static_cast<int>(k->items->size());
  return comboCount(window());
}

std::string ControlRef::itemText(int index) const {
  if (TForm1::Kept* k = form_.kept(id_); k && k->items) {
    if (index < 0 || index >= static_cast<int>(k->items->size())) return std::string();
    return asShown((*k->items)[static_cast<size_t>(index)]);
  }
  return comboItem(window(), index);
}

int ControlRef::find(const std::string& text) const {
  if (TForm1::Kept* k = form_.kept(id_); k && k->items) {
    for (size_t i = 0; i < k->items->size(); ++i)
      if (asShown((*k->items)[i]) == text) return static_cast<int>(i);
    return -1;
  }
  return comboFind(window(), text);
}

int ControlRef::selected() const {
  if (TForm1::Kept* k = form_.kept(id_); k && k->items) return k->selection;
  return comboSelected(window());
}

void ControlRef::select(int index) const {
  // (Past the end the combo box decides: the page is made for that.)
  if (TForm1::Kept* k = form_.kept(id_); k && k->items && index < static_cast<int>(k->items->size())) {
    k->selection = index < 0 ? -1 : index;
    return;
  }
  comboSelect(window(), index);
}

void ControlRef::clear() const {
  if (TForm1::Kept* k = form_.kept(id_)) {
    k->items.emplace();
    k->selection = -1;
    return;
  }
  comboClear(window());
}

void ControlRef::add(const std::string& text) const {
  if (TForm1::Kept* k = form_.kept(id_); k && k->items) {
    k->items->push_back(text);
    return;
  }
  comboAdd(window(), text);
}

bool TForm1::ownsControls(HWND parent) const {
  if (parent && parent == hwnd_) return true;
  for (const Page& p : pages_)
    if (parent && parent == p.hwnd()) return true;
  return false;
}

RECT TForm1::statusIconRect(int n) const {
  const RECT design{n <= kRowsPerGrid ? 9 : 417, entryRowTop(n), 0, 0};
  const int size = dpiScale(hwnd_, 16);
  RECT r = dpiScale(hwnd_, design);
  r.right = r.left + size;
  r.bottom = r.top + size;
  return r;
}

void TForm1::create() {
  Window::create(L"TForm1", WS_EX_CONTROLPARENT, kMainStyle, L"VAK", 0, 0, kClientWidth, kClientHeight, nullptr,
                 nullptr);
  hints_.attach(hwnd_);
  createMenu();
  setClientSize(kClientWidth, kClientHeight);
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  createIcons();

  makeLabel(hwnd_, ids::Headline, T("Meldewart für ICQ"), 8, 5, 260, 16);
  SendMessageW(control(ids::Headline), WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont()), FALSE);

  makeIcon(hwnd_, ids::Image33, statusIcon(kAwayItem), 10, 29, 16, 16);
  makeLabel(hwnd_, ids::ProfileLabel, "ICQ-Profil:", 288, 30, 58, 16);
  makeCombo(hwnd_, ids::NN, 348, 26, 204, 200);
  // The panels open the editor also from the keyboard; in the tab order
  // they follow the profile box.
  HWND away = makeLabel(hwnd_, ids::AwayEd, "", 32, 26, 241, 21,
                        SS_SUNKEN | SS_NOTIFY | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE);
  SetWindowPos(away, control(ids::NN), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  makeLabel(hwnd_, ids::NaEd, "", 560, 26, 241, 21,
            SS_RIGHT | SS_SUNKEN | SS_NOTIFY | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE);
  makeClickable(away);
  makeClickable(control(ids::NaEd));
  describePanel(away, [this] { return panelName("Abwesend-Text:", model_.away); });
  describePanel(control(ids::NaEd), [this] { return panelName("Nicht-verfügbar-Text:", model_.na); });
  makeIcon(hwnd_, ids::Image34, statusIcon(kNaItem), 806, 29, 16, 16);
  hints_.set(control(ids::Image33), "Abwesend");
  hints_.enable(control(ids::Image33), true);
  hints_.set(control(ids::Image34), T("Nicht verfügbar (länger abwesend)"));
  hints_.enable(control(ids::Image34), true);

  HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0,
                              0, hwnd_, menuId(ids::PageControl1), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont(windowDpi(hwnd_))), FALSE);
  placeControl(tabs, 4, kPageTop, kClientWidth - 8, kClientHeight - kPageTop - 4);
  const char* captions[] = {"Statusmeldungen", "ICQ-Tweaks und Einstellungen", "VAK-Einstellungen"};
  for (int i = 0; i < 3; ++i) {
    std::wstring text = widen(T(captions[i]));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  for (Page& p : pages_) p.create(hwnd_, 0, 0, 0, 0);
  layoutPages();
  // The pages lie over the tab control: it goes below them in the z-order,
  // which also puts it after the pages' controls in the tab order.
  SetWindowPos(tabs, pages_[2].hwnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Created last: the buttons that write come last in the tab order.
  makeButton(hwnd_, ids::Button1, T("Änderungen übernehmen"), 596, 2, 150, 21);
  fitText(control(ids::Button1), true);  // wider to the left when the font needs it
  makeButton(hwnd_, ids::Button2, "Reset", 751, 2, 75, 21);
  createStatusTab();
  // The tweaks and settings pages and the about panel get their controls when
  // they are first needed; the state they start with is kept until then.
  options_.presetControls();
  sounds_.presetControls();
  presetSettingsTab();
  wireCommands();
  showPage(0);
}

void TForm1::layoutPages() {
  // The pages fill the tab control's display area, whose size depends on
  // the font of the tabs.
  HWND tabs = control(ids::PageControl1);
  RECT display{};
  GetClientRect(tabs, &display);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  MapWindowPoints(tabs, hwnd_, reinterpret_cast<POINT*>(&display), 2);
  const int dpi = windowDpi(hwnd_);
  auto design = [dpi](LONG v) { return MulDiv(v, 96, dpi); };
  for (Page& p : pages_)
    placeControl(p.hwnd(), design(display.left), design(display.top), design(display.right - display.left),
                 design(display.bottom - display.top));
}

void TForm1::createIcons() {
  // The status pictures in the size of the window's DPI. Only the two
  // pictures beside the panels are windows of their own; the page draws the
  // others. The icons made before go once the windows hold the new ones.
  StatusIcons icons(dpiScale(hwnd_, 16));
  for (int n : {kAwayItem, kNaItem}) {
    if (HWND c = control(n == kAwayItem ? ids::Image33 : ids::Image34)) {
      SendMessageW(c, STM_SETICON, reinterpret_cast<WPARAM>(icons.icon(n)), 0);
      RECT d{};
      if (designRect(c, d)) placeControl(c, d.left, d.top, d.right - d.left, d.bottom - d.top);
    }
  }
  icons_ = std::move(icons);
  if (page(0)) InvalidateRect(page(0), nullptr, TRUE);
}

void TForm1::onDpiChanged(int) {
  layoutPages();
  createIcons();
}

void TForm1::createMenu() {
  menu_ = CreateMenu();
  HMENU datei = CreatePopupMenu();
  // "&": the underlined letter that opens the menu or chooses the item (Alt+D, then L).
  AppendMenuW(datei, MF_STRING, ids::Restorelastsaved1, L"&Restore");
  AppendMenuW(datei, MF_STRING, ids::Laden, L"&Laden");
  AppendMenuW(datei, MF_STRING, ids::Speichern1, L"&Speichern");
  AppendMenuW(datei, MF_STRING, ids::Einstellungen1, L"&Einstellungen");
  AppendMenuW(datei, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(datei, MF_STRING, ids::Exit, L"E&xit");
  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, ids::aufUpdateprfen1, widen(T("auf &Updates prüfen")).c_str());
  AppendMenuW(help, MF_STRING, ids::Lizenz1, L"&Lizenz...");
  AppendMenuW(help, MF_STRING, ids::About1, L"&About");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(datei), L"&Datei");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&?");
  SetMenu(hwnd_, menu_);
}

void TForm1::createStatusTab() {
  HWND p = page(0);
  grid1_.create(p, ids::StringGrid1, 32, 21, 281, 307, [this](int row, int col) -> std::string& {
    StatusEntry& e = model_.entry(entryOf(1, row));
    return col == 1 ? e.title : e.message;
  });
  grid2_.create(p, ids::StringGrid2, 440, 21, 281, 307, [this](int row, int col) -> std::string& {
    StatusEntry& e = model_.entry(entryOf(2, row));
    return col == 1 ? e.title : e.message;
  });
  // The entries' switches (the active check boxes) are drawn by the tables
  // in their fixed column.
  for (int which : {1, 2}) {
    grid(which).switchOf = [this, which](int row) { return model_.entry(entryOf(which, row)).active; };
    grid(which).onToggle = [this, which](int row) {
      StatusEntry& e = model_.entry(entryOf(which, row));
      e.active = !e.active;
    };
    grid(which).rowName = [which](int row) { return entryName(entryOf(which, row)); };
    setText(grid(which).hwnd(), which == 1 ? "Statusmeldungen 1 bis 16" : "Statusmeldungen 17 bis 32");
  }
  // Lies below StringGrid2, visible only while the table is shortened.
  // Shown once the table is shortened (older ICQ Lite builds).
  makeLabel(p, ids::Warnung, "", 467, 287, 254, 34, WS_CLIPSIBLINGS);
  ShowWindow(control(ids::Warnung), SW_HIDE);
  setTextColor(control(ids::Warnung), RGB(200, 0, 0));
  // The 32 status icons are drawn by the page itself: 32 windows fewer to
  // create and paint at every start.
  pages_[0].setPainter([this](HDC dc, const RECT& area) {
    for (int n = 1; n <= kEntryCount; ++n) {
      const RECT r = statusIconRect(n);
      RECT common{};
      if (IntersectRect(&common, &r, &area)) icons_.draw(dc, n, r.left, r.top);
    }
  });
}

void TForm1::createEntryControls() {
  // One window per column of "Bearbeiten" buttons, after the tables in the
  // Tab order: entries 1-16 right of the first table, 17-32 right of the second.
  HWND p = page(0);
  for (int which : {1, 2}) {
    ButtonColumn& column = editButtons(which);
    column.create(p, which == 1 ? ids::EditButtons1 : ids::EditButtons2, which == 1 ? 318 : 728,
                  entryRowTop(which == 1 ? 1 : kRowsPerGrid + 1), 75, Grid::kRowHeight, Grid::kRowHeight + 1,
                  kRowsPerGrid);
    column.setCaption("Bearbeiten");
    column.onPress = [this, which](int index) { BearbeitenClick(entryOf(which, index + 1)); };
    // "Statusmeldung 5: Titel": which entry the button opens.
    column.describeButton = [this, which](int index) {
      const int n = entryOf(which, index + 1);
      return entryName(n) + ": " + model_.entry(n).title;
    };
  }
}

RECT TForm1::editButtonRect(int entry) {
  ButtonColumn& column = editButtons(gridOfEntry(entry));
  RECT r = column.buttonRect(rowOfEntry(entry) - 1);
  MapWindowPoints(column.hwnd(), page(0), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool TForm1::editButtonShown(int entry) {
  ButtonColumn& column = editButtons(gridOfEntry(entry));
  return column.hwnd() && IsWindowVisible(column.hwnd()) && rowOfEntry(entry) <= column.shown();
}

RECT TForm1::activeBoxRect(int entry) {
  Grid& g = grid(gridOfEntry(entry));
  RECT r = g.switchRect(rowOfEntry(entry));
  MapWindowPoints(g.hwnd(), page(0), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool TForm1::activeBoxShown(int entry) {
  Grid& g = grid(gridOfEntry(entry));
  return IsWindowVisible(g.hwnd()) && rowOfEntry(entry) <= g.lastRow();
}

void TForm1::focusEditButton(int entry) {
  ButtonColumn& column = editButtons(gridOfEntry(entry));
  column.setCurrent(rowOfEntry(entry) - 1);
  SetFocus(column.hwnd());
}

bool TForm1::editButtonFocused(int entry) {
  ButtonColumn& column = editButtons(gridOfEntry(entry));
  return GetFocus() == column.hwnd() && column.current() == rowOfEntry(entry) - 1;
}

void TForm1::createTweaksTab() {
  HWND p = page(1);
  options_.create(p);
  sounds_.create(p);
  smileys_.create(p);
  sounds_.createRows();
  smileys_.createButtons();
}

void TForm1::wireCommands() {
  onCommand(ids::Button1, [this] { Change(); });
  onCommand(ids::Button2, [this] { Reset(); });
  onCommand(ids::NN, [this](int code) {
    if (code == CBN_SELCHANGE) Auslesen();
  });
  onCommand(ids::AwayEd, [this](int code) {
    if (code == STN_CLICKED) BearbAwayClick(kAwayItem);
  });
  onCommand(ids::NaEd, [this](int code) {
    if (code == STN_CLICKED) BearbAwayClick(kNaItem);
  });
  onCommand(ids::Restorelastsaved1, [this](int) { Restorelastsaved1Click(); });
  onCommand(ids::Laden, [this](int) { LadenClick(); });
  onCommand(ids::Speichern1, [this](int) { Speichern1Click(); });
  onCommand(ids::Einstellungen1, [this](int) { Einstellungen1Click(); });
  onCommand(ids::Exit, [this](int) { ExitClick(); });
  onCommand(ids::SICQNr, [this] { T3Show(); });
  onCommand(ids::HintBox, [this] { HintBoxClick(); });
  onCommand(ids::Button7, [this] { Einst_UebClick(); });
  onCommand(ids::Einst_Abb, [this] { Einst_AbbClick(); });
  options_.wireCommands();
  sounds_.wireCommands();
  smileys_.wireCommands();
  update_.wireCommands();
  onCommand(ids::aufUpdateprfen1, [this](int) { update_.aufUpdateprfen1Click(); });
  onCommand(ids::About1, [this](int) { about_.About1Click(); });
  onCommand(ids::Lizenz1, [this](int) { about_.Lizenz1Click(); });
  // Escape in the main window hides the about panel, so it can be closed without a mouse.
  onCommand(IDCANCEL, [this](int) {
    if (about_.made() && IsWindowVisible(about_.panel())) about_.Panel1Click();
  });
}

void TForm1::setDialogs(EditorDialog* form4, WebViewer* form6, RestoreDialog* form7) {
  form4_ = form4;
  form6_ = form6;
  form7_ = form7;
}

// The dialogs' windows are made when they are first needed: most runs never
// open them, and every window costs start-up time.
EditorDialog* TForm1::form4() {
  if (form4_ && !form4_->hwnd()) {
    form4_->create(hwnd_);
    applyDialogTexts();
  }
  return form4_;
}

WebViewer* TForm1::form6() {
  if (form6_ && !form6_->hwnd()) {
    form6_->create(hwnd_);
    applyDialogTexts();
  }
  return form6_;
}

int TForm1::activePage() const {
  return static_cast<int>(SendMessageW(existingControl(ids::PageControl1), TCM_GETCURSEL, 0, 0));
}

void TForm1::showPage(int index) {
  makePage(index);
  HWND focus = GetFocus();
  const bool ours = focus && (focus == hwnd_ || IsChild(hwnd_, focus));
  ShowWindow(page(index), SW_SHOW);
  for (int i = 0; i < 3; ++i)
    if (i != index) ShowWindow(page(i), SW_HIDE);
  // The keyboard focus goes with the page: to its first control (unless the
  // user is on the tabs themselves), never left on a hidden page.
  HWND tabs = control(ids::PageControl1);
  if (!ours || (focus == tabs && canTakeFocus(tabs))) return;
  HWND first = GetNextDlgTabItem(page(index), nullptr, FALSE);
  if (first && IsChild(page(index), first) && canTakeFocus(first))
    SetFocus(first);
  else
    SetFocus(tabs);
}

void TForm1::setActivePage(int index) {
  if (activePage() == index) return;
  SendMessageW(control(ids::PageControl1), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  showPage(index);
  if (index == 2) T3Show();
}

IniFile TForm1::settings() const { return IniFile(programFolder_ + "\\Einst.ini"); }

void TForm1::refreshViews() {
  setText(control(ids::AwayEd), oneLineView(model_.away));
  setText(control(ids::NaEd), oneLineView(model_.na));
  grid1_.refresh();
  grid2_.refresh();
}

LRESULT TForm1::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == ctrlTabMessage()) {
    const int next = (activePage() + (wp ? 2 : 1)) % 3;
    runHandler([&] { setActivePage(next); });
    return 1;
  }
  switch (msg) {
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->idFrom == static_cast<UINT_PTR>(ids::PageControl1) && hdr->code == TCN_SELCHANGE) {
        const int index = activePage();
        showPage(index);
        if (index == 2) runHandler([this] { T3Show(); });
      }
      return 0;
    }
    case WM_SETCURSOR: {
      HWND over = reinterpret_cast<HWND>(wp);
      if (over == control(ids::AwayEd) || over == control(ids::NaEd)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_CLOSE:
      // Close box, system menu, Alt+F4 and "Exit" all come here.
      if (update_.transferRunning())
        update_.closeWhenTransferEnds();
      else
        FormClose();
      return 0;
    default:
      break;
  }
  return Window::handleMessage(msg, wp, lp);
}

void TForm1::ExitClick() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

void TForm1::FormClose() {
  // Nothing is saved and nothing is asked, except for a pending update when
  // the check at exit is chosen. An error of that check is shown and the
  // program still ends: otherwise it could not be closed at all.
  update_.checkAtExit();
  if (update_.ended()) return;
  deleteFile(programFolder_ + "/Update.ini");
  shell().exitProcess(0);
}

// ---------------------------------------------------------------- start-up

void TForm1::FormShow() {
  if (!startupDone_) {
    if (programFolder_.empty()) programFolder_ = vak::programFolder();
    deleteFile(programFolder_ + "\\Update.ini");
    deleteFile(programFolder_ + "\\Updater.exe");
    IniFile ini = settings();
    const ControlRef languages = at(ids::ComboLng);
    languages.select(languages.find(ini.readString("Einstellungen", "#04", "deutsch")));
    at(ids::HintBox).setChecked(ini.readBool("Einstellungen", "#05", true));
    HintBoxClick();
    about_.place(260, 146);
    createEntryControls();
    startTrace::mark("entry controls and settings");
    lng();
    startTrace::mark("texts");

    StartSettings start;
    start.savedOnce = ini.readBool("ICQStatFile", "#01", false);
    if (start.savedOnce) start.savedNumber = ini.readString("Einstellungen", "#01", "");
    start.useDefault = ini.readBool("Einstellungen", "#02", true);
    at(ids::SICQNr).setCheckedAndRun(start.useDefault, [this] { T3Show(); });
    const bool needLastOwner = !start.savedOnce || start.savedNumber.empty() || start.useDefault;
    startNumber_ = chooseStartNumber(start, needLastOwner ? readLastOwner() : 0);

    ProfileListing listing = listProfiles();
    profileKeys_ = listing.listedKeys;
    HWND nn = control(ids::NN);
    const ControlRef numbers = at(ids::C_ICQNr);
    comboClear(nn);
    numbers.clear();
    for (const std::string& text : listing.listedTexts) comboAdd(nn, text);
    options_.fillProfileList(listing.listedTexts);
    for (const std::string& key : listing.allKeys) numbers.add(key);
    const StartProfile sp = resolveStartProfile(startNumber_, profileKeys_);
    startNumber_ = sp.number;
    currentProfile_ = startNumber_;
    comboSelect(nn, sp.position);
    startTrace::mark("profile list");

    // The first read takes the start number; every later one the profile
    // chosen in the profile box. The profile key list is the one just listed.
    readStatusSet(startNumber_);
    startTrace::mark("profile read");
    smileys_.SmileyAkt();
    startTrace::mark("smileys");
    if (!at(ids::SICQNr).checked()) numbers.select(numbers.find(startNumber_));
    startupDone_ = true;
  }

  // At every showing. The version gate only decides what the window shows,
  // so it comes first: a check at start that waits for a slow server then
  // already shows the window as it will stay. That check runs with the window
  // on the screen (it keeps answering meanwhile), not behind a program that
  // seems not to start at all.
  applyVersionGate();
  if (at(ids::RadioButton1).checked() && !IsWindowVisible(hwnd_)) {
    ShowWindow(hwnd_, showCommand_ == SW_HIDE ? SW_SHOWNORMAL : showCommand_);
    UpdateWindow(hwnd_);
  }
  update_.checkAtStart();
  options_.fillMultiInstance();
  // "-1" alone: re-show ICQ's window, then end (without the close handler).
  if (args_.size() == 1 && args_[0] == "-1") {
    options_.Button8Click();
    PostQuitMessage(0);
  }
}

void TForm1::applyVersionGate() {
  const DefaultPrefs prefs = readDefaultPrefs();
  // Without ICQ Lite there is no version to check against: nothing is hidden.
  if (!prefs.liteVersion.empty() && strToInt(prefs.liteVersion) < 2050) {
    placeControl(grid2_.hwnd(), 440, 21, 281, 253);
    setText(control(ids::Warnung),
            T("Sie benötigen ICQ 5.1 oder die Pro7 ICQ Version,\r\num diese Icons nutzen zu können!"));
    fitText(control(ids::Warnung));
    ShowWindow(control(ids::Warnung), SW_SHOW);
    // The buttons of the rows the table no longer shows go with them.
    placeControl(buttons2_.hwnd(), 728, entryRowTop(kRowsPerGrid + 1), 75,
                 (rowOfEntry(29) - 1) * (Grid::kRowHeight + 1) + Grid::kRowHeight);
    for (int n = 30; n <= 32; ++n) model_.entry(n).active = false;
    grid2_.refresh();
  }
}

// ---------------------------------------------------------------- reading

void TForm1::Auslesen() { readStatusSet(selectedProfileKey()); }

void TForm1::readStatusSet(const std::string& uin) {
  RefreshOnExit refresh(*this);
  IniFile ini = settings();
  // From here until the read is complete the window no longer shows one
  // profile's whole set: "Änderungen übernehmen" refuses to write.
  completeProfile_.clear();
  currentProfile_ = uin;
  shownProfileDeleted_ = false;
  const std::string listPath = vak::statusListPath(uin);

  // Each entry key is read once; its state goes into the state list first,
  // its texts into the tables after the update mode.
  const StoredStatusList stored = readStatusList(listPath);
  for (int n = 1; n <= kEntryCount; ++n) model_.stateOf(n) = stored[static_cast<size_t>(n - 1)].state;
  checkUpdateRadio(ini.readInteger("Einstellungen", "#03", 3));
  for (int n = 1; n <= kEntryCount; ++n) {
    StatusEntry& e = model_.entry(n);
    e.title = stored[static_cast<size_t>(n - 1)].title;
    e.message = stored[static_cast<size_t>(n - 1)].message;
    e.active = model_.stateOf(n) == 1;
  }

  // The panels never keep the texts of the profile read before: they stay
  // empty when the read stops before them or the profile has no ICQ Lite key.
  model_.away.clear();
  model_.na.clear();
  options_.fillBirthday();
  readAwayTexts(uin, model_.away, model_.na);
  completeProfile_ = uin;
  sounds_.fillMaster();
}

std::string TForm1::selectedProfileKey() {
  // A position of the profile box is a position in the list the box was
  // filled from. The registry's list of now would shift it onto another
  // profile once ICQ (or another program) added or removed one meanwhile; so
  // the chosen profile is taken from that list, and must still be there.
  const int pos = comboSelected(control(ids::NN));
  if (pos < 0 || pos >= static_cast<int>(profileKeys_.size())) throw VakError(errListIndex(pos));
  const std::string uin = profileKeys_[static_cast<size_t>(pos)];
  const std::vector<std::string> now = readProfileKeyList();
  if (std::find(now.begin(), now.end(), uin) == now.end())
    throw VakError(T("Das Profil ") + uin +
                   T(" ist nicht mehr vorhanden: ICQ oder ein anderes Programm hat es entfernt.\r\nStarten Sie "
                     "das Programm neu, um die Profile neu einzulesen."));
  return uin;
}

void TForm1::checkUpdateRadio(int mode) {
  // Only 1, 2 and 3 name a radio button; another value leaves them as they are.
  if (mode < 1 || mode > 3) return;
  for (int i = 1; i <= 3; ++i) at(ids::RadioButton1 + i - 1).setChecked(i == mode);
}

// ---------------------------------------------------------------- writing

void TForm1::Change() {
  if (shownProfileDeleted_) {
    // The tables still show a deleted profile: writing would bring it back.
    ui().messageBox("Achtung!", T("Das angezeigte Profil wurde gelöscht.\r\nWählen sie erst ein Profil!"), MbOk,
                    MbIconInfo);
    return;
  }
  // Only the profile whose set was read completely: after a read that stopped
  // at an error the tables or panels may still hold another profile's texts.
  if (completeProfile_.empty() || completeProfile_ != currentProfile_) throw VakError(incompleteReadText(currentProfile_));
  const StatusWriteReport report = writeStatusSet(completeProfile_, model_);
  if (report.complete()) {
    if (form7_) form7_->Save();
    return;
  }
  // The backup holds the entries only: it is taken when all of them were written.
  std::string backupError;
  bool backupTaken = false;
  if (report.entriesComplete() && form7_) {
    try {
      form7_->Save();
      backupTaken = true;
    } catch (const VakError& e) {
      backupError = std::string("\r\n\r\n") + e.what();
    }
  }
  throw VakError(statusWriteFailureText(report, completeProfile_, backupTaken) + backupError);
}

void TForm1::Reset() {
  if (ui().messageBox("Frage", "Sollen die alten Einstellungen geladen werden?", MbYesNo, MbIconQuestion) ==
      MbResYes)
    Auslesen();
}

// ---------------------------------------------------------------- editor

void TForm1::BearbeitenClick(int entry) {
  currentEntry_ = entry;
  EditorDialog* editor = form4();
  editor->prepareEntry(model_.entry(entry).active);
  editor->showModal(hwnd_);
}

void TForm1::BearbAwayClick(int tag) {
  currentEntry_ = tag;
  EditorDialog* editor = form4();
  editor->prepareAwayText();
  editor->showModal(hwnd_);
}

void TForm1::F4OK(const std::string& title, const std::string& message, bool active) {
  RefreshOnExit refresh(*this);
  const int n = currentEntry_;
  if (n == kAwayItem) {
    model_.away = message;
  } else if (n == kNaItem) {
    model_.na = message;
  } else if (n >= 1 && n <= kEntryCount) {
    model_.entry(n).title = title;
    model_.entry(n).message = message;
    model_.entry(n).active = active;
  }
}

// ---------------------------------------------------------------- status files

void TForm1::Save(const std::string& path) { saveStatusFile(path, model_); }

void TForm1::Load(const std::string& path) {
  if (path.empty()) return;  // a cancelled dialog: nothing to load, nothing to say
  RefreshOnExit refresh(*this);
  if (loadStatusFile(path, model_) == LoadResult::NotAStatusFile) {
    const MessageTexts& t = messageTexts();
    ui().messageBox(t.achtung, pathToText(fileNameOf(path)) + " " + t.notAStatusFile, MbOk, MbNoIcon);
  }
}

void TForm1::Speichern1Click() {
  std::optional<std::string> name = ui().saveFileDialog("*.icq|*.icq");
  if (!name) return;
  Save(withIcqExtension(*name));
}

void TForm1::LadenClick() {
  const MessageTexts& t = messageTexts();
  if (ui().messageBox(t.achtung, t.statusLost + "\r\n" + t.saveBefore, MbYesNo, MbNoIcon) == MbResYes)
    Speichern1Click();
  std::optional<std::string> name = ui().openFileDialog("*.icq (Statusdatei)|*.icq");
  Load(name.value_or(""));
}

void TForm1::Restorelastsaved1Click() {
  if (!form7_->hwnd()) form7_->create(hwnd_);
  form7_->showModal(hwnd_);
}

}  // namespace vak
