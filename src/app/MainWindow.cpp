#include "app/MainWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "app/Ids.h"
#include "app/MainTexts.h"
#include "app/StartTrace.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Path.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"
#include "settings/Language.h"
#include "settings/StartRule.h"
#include "settings/Texts.h"
#include "settings/WebViewer.h"
#include "status/EditorDialog.h"
#include "status/IcqRegistry.h"
#include "status/RestoreDialog.h"

namespace vak {

namespace {

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kPageTop = 52;
HMENU menuId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

}  // namespace

void TForm1::create() {
  Window::create(L"TForm1", WS_EX_CONTROLPARENT, kMainStyle, L"VAK", 0, 0, kClientWidth, kClientHeight, nullptr,
                 nullptr);
  hints_.attach(hwnd_);
  shareWithPages();
  createMainMenu(hwnd_);
  setClientSize(kClientWidth, kClientHeight);
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  createControls();
  wireCommands();
  showPage(0);
}

void TForm1::shareWithPages() {
  shared_.mainWindow = hwnd_;
  shared_.hints = &hints_;
  shared_.chosenProfile = [this] { return selectedProfileKey(); };
  shared_.chosenPosition = [this] { return comboSelected(own(ids::NN)); };
  shared_.profileRemoved = [this](int position) {
    HWND nn = own(ids::NN);
    const bool wasShown = comboSelected(nn) == position;
    SendMessageW(nn, CB_DELETESTRING, static_cast<WPARAM>(position), 0);
    if (wasShown) comboSelect(nn, -1);
  };
  shared_.showPage = [this](int index) {
    setActivePage(index);
  };
  // The viewer's window is made when it is first needed: most runs never open it.
  shared_.viewer = [this] {
    if (form6_ && !form6_->hwnd()) form6_->create(hwnd_);
    return form6_;
  };
  shared_.switchHints = [this](bool on) {
    for (int id : {ids::Button1, ids::AwayEd, ids::NaEd}) hints_.enable(own(id), on);
    tweaks_.applyHints(on);
  };
  shared_.updateBusy = [this](bool busy) {
    EnableMenuItem(GetMenu(hwnd_), ids::aufUpdateprfen1, MF_BYCOMMAND | (busy ? MF_GRAYED : MF_ENABLED));
  };
}

void TForm1::createControls() {
  auto text = [](int id) { return madeText(mainTexts(), id); };
  HWND headline = makeLabel(hwnd_, ids::Headline, text(ids::Headline), 8, 5, 260, 16);
  SendMessageW(headline, WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont()), FALSE);
  makeIcon(hwnd_, ids::Image33, nullptr, 10, 29, 16, 16);
  makeLabel(hwnd_, ids::ProfileLabel, text(ids::ProfileLabel), 288, 30, 58, 16);
  makeCombo(hwnd_, ids::NN, 348, 26, 204, 200);
  // The panels open the editor also from the keyboard; in the tab order
  // they follow the profile box.
  HWND away = makeLabel(hwnd_, ids::AwayEd, "", 32, 26, 241, 21,
                        SS_SUNKEN | SS_NOTIFY | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE);
  SetWindowPos(away, own(ids::NN), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  HWND na = makeLabel(hwnd_, ids::NaEd, "", 560, 26, 241, 21,
                      SS_RIGHT | SS_SUNKEN | SS_NOTIFY | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE);
  makeIcon(hwnd_, ids::Image34, nullptr, 806, 29, 16, 16);

  HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0,
                              0, hwnd_, menuId(ids::PageControl1), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont(windowDpi(hwnd_))), FALSE);
  placeControl(tabs, 4, kPageTop, kClientWidth - 8, kClientHeight - kPageTop - 4);
  const char* captions[] = {"Statusmeldungen", "ICQ-Tweaks und Einstellungen", "VAK-Einstellungen"};
  for (int i = 0; i < 3; ++i) {
    std::wstring caption = widen(T(captions[i]));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  for (int i = 0; i < 3; ++i) page(i).createWindow(hwnd_, 0, 0, 0, 0);
  layoutPages();
  // The pages lie over the tab control: it goes below them in the z-order,
  // which also puts it after the pages' controls in the tab order.
  SetWindowPos(tabs, settings_.hwnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Created last: the buttons that write come last in the tab order.
  makeButton(hwnd_, ids::Button1, text(ids::Button1), 596, 2, 150, 21);
  fitText(own(ids::Button1), true);  // wider to the left when the font needs it
  makeButton(hwnd_, ids::Button2, text(ids::Button2), 751, 2, 75, 21);
  for (const ControlText& t : mainTexts())
    if (t.hint) hints_.set(own(t.id), T(t.hint), t.id == ids::Image33 || t.id == ids::Image34);
  // The status page is made with the window; the tweaks and settings pages
  // and the about panel when they are first needed.
  status_.setPanels(away, na);
  status_.make();
  setIcons();
}

void TForm1::setIcons() {
  // The status pictures in the size of the window's DPI. Only the two
  // pictures beside the panels are windows of their own; the status page
  // draws the others.
  status_.createIcons();
  for (int n : {kAwayItem, kNaItem}) {
    HWND c = own(n == kAwayItem ? ids::Image33 : ids::Image34);
    SendMessageW(c, STM_SETICON, reinterpret_cast<WPARAM>(status_.statusIcon(n)), 0);
    RECT d{};
    if (designRect(c, d)) placeControl(c, d.left, d.top, d.right - d.left, d.bottom - d.top);
  }
}

void TForm1::onDpiChanged(int) {
  layoutPages();
  setIcons();
}

void TForm1::wireCommands() {
  onCommand(ids::Button1, [this] { status_.Change(); });
  onCommand(ids::Button2, [this] { Reset(); });
  onCommand(ids::NN, [this](int code) {
    if (code == CBN_SELCHANGE) Auslesen();
  });
  onCommand(ids::AwayEd, [this](int code) {
    if (code == STN_CLICKED) status_.BearbAwayClick(kAwayItem);
  });
  onCommand(ids::NaEd, [this](int code) {
    if (code == STN_CLICKED) status_.BearbAwayClick(kNaItem);
  });
  onCommand(ids::Restorelastsaved1, [this](int) { status_.Restorelastsaved1Click(); });
  onCommand(ids::Laden, [this](int) { status_.LadenClick(); });
  onCommand(ids::Speichern1, [this](int) { status_.Speichern1Click(); });
  onCommand(ids::Einstellungen1, [this](int) { setActivePage(2); });
  onCommand(ids::Exit, [this](int) { ExitClick(); });
  onCommand(ids::aufUpdateprfen1, [this](int) { settings_.update().aufUpdateprfen1Click(); });
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
  status_.setDialogs(form4, form7);
}

void TForm1::layoutPages() {
  // The pages fill the tab control's display area, whose size depends on
  // the font of the tabs.
  HWND tabs = own(ids::PageControl1);
  RECT display{};
  GetClientRect(tabs, &display);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  MapWindowPoints(tabs, hwnd_, reinterpret_cast<POINT*>(&display), 2);
  const int dpi = windowDpi(hwnd_);
  auto design = [dpi](LONG v) { return MulDiv(v, 96, dpi); };
  for (int i = 0; i < 3; ++i)
    placeControl(page(i).hwnd(), design(display.left), design(display.top), design(display.right - display.left),
                 design(display.bottom - display.top));
}

int TForm1::activePage() const {
  return static_cast<int>(SendMessageW(own(ids::PageControl1), TCM_GETCURSEL, 0, 0));
}

void TForm1::showPage(int index) {
  page(index).make();
  HWND focus = GetFocus();
  const bool ours = focus && (focus == hwnd_ || IsChild(hwnd_, focus));
  ShowWindow(page(index).hwnd(), SW_SHOW);
  for (int i = 0; i < 3; ++i)
    if (i != index) ShowWindow(page(i).hwnd(), SW_HIDE);
  // The keyboard focus goes with the page: to its first control (unless the
  // user is on the tabs themselves), never left on a hidden page.
  HWND tabs = own(ids::PageControl1);
  if (!ours || (focus == tabs && canTakeFocus(tabs))) return;
  HWND shown = page(index).hwnd();
  HWND first = GetNextDlgTabItem(shown, nullptr, FALSE);
  if (first && IsChild(shown, first) && canTakeFocus(first))
    SetFocus(first);
  else
    SetFocus(tabs);
}

void TForm1::setActivePage(int index) {
  if (activePage() == index) return;
  SendMessageW(own(ids::PageControl1), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  showPage(index);
  if (index == 2) settings_.T3Show();
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
        if (index == 2) runHandler([this] { settings_.T3Show(); });
      }
      return 0;
    }
    case WM_SETCURSOR: {
      HWND over = reinterpret_cast<HWND>(wp);
      if (over == own(ids::AwayEd) || over == own(ids::NaEd)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_CLOSE:
      // Close box, system menu, Alt+F4 and "Exit" all come here.
      if (settings_.update().transferRunning())
        settings_.update().closeWhenTransferEnds();
      else
        FormClose();
      return 0;
    default:
      break;
  }
  return Window::handleMessage(msg, wp, lp);
}

void TForm1::FormClose() {
  // Nothing is saved and nothing is asked, except for a pending update when
  // the check at exit is chosen. An error of that check is shown and the
  // program still ends: otherwise it could not be closed at all.
  settings_.update().checkAtExit();
  if (settings_.update().ended()) return;
  deleteFile(shared_.programFolder + "/Update.ini");
  shell().exitProcess(0);
}

void TForm1::lng() {
  MessageTexts& texts = shared_.texts;
  texts = MessageTexts{};
  if (settings_.collectLanguages(languageFolder(shared_.programFolder)) > 0) {
    // The language files' own texts are not read in this version. The
    // controls keep their form texts; the messages are built from the German
    // texts rather than coming out empty.
    fillMessageTextsFirst(texts);
    fillMessageTextsRest(texts);
    return;
  }
  setText(hwnd_, T("Meldewart für ICQ -") + kVersionSuffix);
  useBuiltInMenuTexts(hwnd_);
  status_.useBuiltInTexts();
  tweaks_.useBuiltInTexts();
  settings_.useBuiltInTexts();
  about_.useBuiltInTexts();
  // The dialogs made later get these texts when they are made.
  if (form4_) form4_->useBuiltInTexts();
  if (form6_) form6_->useBuiltInTexts();
  fillMessageTextsFirst(texts);
  fillMessageTextsRest(texts);
}

// ---------------------------------------------------------------- start-up

void TForm1::FormShow() {
  if (!shared_.startupDone) {
    if (shared_.programFolder.empty()) shared_.programFolder = vak::programFolder();
    deleteFile(shared_.programFolder + "\\Update.ini");
    deleteFile(shared_.programFolder + "\\Updater.exe");
    IniFile ini = shared_.settings();
    settings_.selectLanguage(ini.readString("Einstellungen", "#04", "deutsch"));
    settings_.setHints(ini.readBool("Einstellungen", "#05", true));
    settings_.HintBoxClick();
    about_.place(260, 146);
    status_.createEntryControls();
    startTrace::mark("entry controls and settings");
    lng();
    startTrace::mark("texts");

    StartSettings start;
    start.savedOnce = ini.readBool("ICQStatFile", "#01", false);
    if (start.savedOnce) start.savedNumber = ini.readString("Einstellungen", "#01", "");
    start.useDefault = ini.readBool("Einstellungen", "#02", true);
    settings_.setUseDefault(start.useDefault);
    const bool needLastOwner = !start.savedOnce || start.savedNumber.empty() || start.useDefault;
    std::string startNumber = chooseStartNumber(start, needLastOwner ? readLastOwner() : 0);

    ProfileListing listing = listProfiles();
    shared_.profileKeys = listing.listedKeys;
    HWND nn = own(ids::NN);
    comboClear(nn);
    for (const std::string& text : listing.listedTexts) comboAdd(nn, text);
    tweaks_.options().fillProfileList(listing.listedTexts);
    settings_.fillNumbers(listing.allKeys);
    const StartProfile sp = resolveStartProfile(startNumber, shared_.profileKeys);
    startNumber = sp.number;
    shared_.currentProfile = startNumber;
    comboSelect(nn, sp.position);
    startTrace::mark("profile list");

    // The first read takes the start number; every later one the profile
    // chosen in the profile box. The profile key list is the one just listed.
    readStatusSet(startNumber);
    startTrace::mark("profile read");
    tweaks_.smileys().SmileyAkt();
    startTrace::mark("smileys");
    if (!settings_.useDefault()) settings_.selectNumber(startNumber);
    shared_.startupDone = true;
  }

  // At every showing. The version gate only decides what the window shows,
  // so it comes first: a check at start that waits for a slow server then
  // already shows the window as it will stay. That check runs with the window
  // on the screen (it keeps answering meanwhile), not behind a program that
  // seems not to start at all.
  status_.applyVersionGate(readDefaultPrefs().liteVersion);
  if (settings_.update().mode() == 1 && !IsWindowVisible(hwnd_)) {
    ShowWindow(hwnd_, start_.showCommand == SW_HIDE ? SW_SHOWNORMAL : start_.showCommand);
    UpdateWindow(hwnd_);
  }
  settings_.update().checkAtStart();
  tweaks_.options().fillMultiInstance();
  // "-1" alone: re-show ICQ's window, then end (without the close handler).
  if (start_.args.size() == 1 && start_.args[0] == "-1") {
    tweaks_.options().Button8Click();
    PostQuitMessage(0);
  }
}

// ---------------------------------------------------------------- reading

void TForm1::Auslesen() { readStatusSet(selectedProfileKey()); }

void TForm1::Reset() {
  if (ui().messageBox("Frage", "Sollen die alten Einstellungen geladen werden?", MbYesNo, MbIconQuestion) ==
      MbResYes)
    Auslesen();
}

void TForm1::readStatusSet(const std::string& uin) {
  StatusPage::ReadSteps steps;
  steps.afterStates = [this] {
    settings_.update().checkMode(shared_.settings().readInteger("Einstellungen", "#03", 3));
  };
  steps.beforeAwayTexts = [this] { tweaks_.options().fillBirthday(); };
  steps.afterRead = [this] { tweaks_.sounds().fillMaster(); };
  status_.read(uin, steps);
}

std::string TForm1::selectedProfileKey() {
  // A position of the profile box is a position in the list the box was
  // filled from. The registry's list of now would shift it onto another
  // profile once ICQ (or another program) added or removed one meanwhile; so
  // the chosen profile is taken from that list, and must still be there.
  const int pos = comboSelected(own(ids::NN));
  const std::vector<std::string>& keys = shared_.profileKeys;
  if (pos < 0 || pos >= static_cast<int>(keys.size())) throw VakError(errListIndex(pos));
  const std::string uin = keys[static_cast<size_t>(pos)];
  const std::vector<std::string> now = readProfileKeyList();
  if (std::find(now.begin(), now.end(), uin) == now.end())
    throw VakError(T("Das Profil ") + uin +
                   T(" ist nicht mehr vorhanden: ICQ oder ein anderes Programm hat es entfernt.\r\nStarten Sie "
                     "das Programm neu, um die Profile neu einzulesen."));
  return uin;
}

}  // namespace vak
