#include "app/MainWindow.h"

#include <commctrl.h>

#include "app/Icons.h"
#include "app/Ids.h"
#include "app/WebViewer.h"
#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Files.h"
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
    default:
      return Window::handleMessage(msg, wp, lp);
  }
}

TForm1::TForm1() = default;

TForm1::~TForm1() {
  for (HICON icon : icons_)
    if (icon) DestroyIcon(icon);
}

HWND TForm1::control(int id) const {
  if (HWND h = GetDlgItem(hwnd_, id)) return h;
  for (const Page& p : pages_)
    if (HWND h = GetDlgItem(p.hwnd(), id)) return h;
  return nullptr;
}

HICON TForm1::statusIcon(int n) const { return icons_.at(static_cast<size_t>(n)); }

void TForm1::create() {
  RECT rc{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&rc, kMainStyle, TRUE, 0);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  Window::create(L"TForm1", WS_EX_CONTROLPARENT, kMainStyle, L"VAK", x, y, w, h, nullptr, nullptr);
  hints_.attach(hwnd_);
  createMenu();
  for (int n = 1; n <= 34; ++n) icons_[static_cast<size_t>(n)] = createStatusIcon(n);

  makeLabel(hwnd_, ids::Headline, T("Meldewart für ICQ"), 8, 5, 260, 16);
  SendMessageW(control(ids::Headline), WM_SETFONT, reinterpret_cast<WPARAM>(uiBoldFont()), FALSE);

  makeIcon(hwnd_, ids::Image33, icons_[33], 10, 29, 16, 16);
  makeLabel(hwnd_, ids::AwayEd, "", 32, 26, 241, 21,
            SS_SUNKEN | SS_NOTIFY | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE);
  makeLabel(hwnd_, ids::ProfileLabel, "ICQ-Profil:", 288, 30, 58, 16);
  makeCombo(hwnd_, ids::NN, 348, 26, 204, 200);
  makeLabel(hwnd_, ids::NaEd, "", 560, 26, 241, 21,
            SS_RIGHT | SS_SUNKEN | SS_NOTIFY | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE);
  makeIcon(hwnd_, ids::Image34, icons_[34], 806, 29, 16, 16);
  hints_.set(control(ids::Image33), "Abwesend");
  hints_.enable(control(ids::Image33), true);
  hints_.set(control(ids::Image34), T("Nicht verfügbar (länger abwesend)"));
  hints_.enable(control(ids::Image34), true);

  HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 4,
                              kPageTop, kClientWidth - 8, kClientHeight - kPageTop - 4, hwnd_,
                              menuId(ids::PageControl1), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont()), FALSE);
  const char* captions[] = {"Statusmeldungen", "ICQ-Tweaks und Einstellungen", "VAK-Einstellungen"};
  for (int i = 0; i < 3; ++i) {
    std::wstring text = widen(T(captions[i]));
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  RECT display{};
  GetClientRect(tabs, &display);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  for (Page& p : pages_)
    p.create(hwnd_, 4 + display.left, kPageTop + display.top, display.right - display.left,
             display.bottom - display.top);
  // The pages lie over the tab control: it goes below them in the z-order,
  // which also puts it after the pages' controls in the tab order.
  SetWindowPos(tabs, pages_[2].hwnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Created last: the buttons that write come last in the tab order.
  makeButton(hwnd_, ids::Button1, T("Änderungen übernehmen"), 596, 2, 150, 21);
  makeButton(hwnd_, ids::Button2, "Reset", 751, 2, 75, 21);
  createStatusTab();
  createTweaksTab();
  createSettingsTab();
  about_.create(hwnd_);
  wireCommands();
  showPage(0);
}

void TForm1::createMenu() {
  menu_ = CreateMenu();
  HMENU datei = CreatePopupMenu();
  AppendMenuW(datei, MF_STRING, ids::Restorelastsaved1, L"Restore");
  AppendMenuW(datei, MF_STRING, ids::Laden, L"Laden");
  AppendMenuW(datei, MF_STRING, ids::Speichern1, L"Speichern");
  AppendMenuW(datei, MF_STRING, ids::Einstellungen1, L"Einstellungen");
  AppendMenuW(datei, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(datei, MF_STRING, ids::Exit, L"Exit");
  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, ids::aufUpdateprfen1, widen(T("auf Updates prüfen")).c_str());
  AppendMenuW(help, MF_STRING, ids::Lizenz1, L"Lizenz...");
  AppendMenuW(help, MF_STRING, ids::About1, L"About");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(datei), L"Datei");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"?");
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
  for (int which : {1, 2})
    grid(which).onToggle = [this, which](int row) {
      const int n = entryOf(which, row);
      HWND box = activeBox(n);
      if (!box || !IsWindowVisible(box)) return;
      model_.entry(n).active = !model_.entry(n).active;
      setChecked(box, model_.entry(n).active);
    };
  // Lies below StringGrid2, visible only while the table is shortened.
  // Shown once the table is shortened (older ICQ Lite builds).
  makeLabel(p, ids::Warnung, "", 467, 287, 254, 34, WS_CLIPSIBLINGS);
  ShowWindow(control(ids::Warnung), SW_HIDE);
  setTextColor(control(ids::Warnung), RGB(200, 0, 0));
  for (int n = 1; n <= kEntryCount; ++n) {
    const int left = n <= kRowsPerGrid ? 9 : 417;
    makeIcon(p, ids::Image1 + n - 1, icons_[static_cast<size_t>(n)], left, entryRowTop(n), 16, 16);
  }
}

void TForm1::createEntryControls() {
  HWND p = page(0);
  for (int n = 1; n <= kEntryCount; ++n) {
    const bool first = n <= kRowsPerGrid;
    const int top = entryRowTop(n);
    HWND button = makeButton(p, ids::EditButton1 + n - 1, "Bearbeiten", first ? 318 : 728, top, 75, 17);
    SetWindowLongPtrW(button, GWLP_USERDATA, n);  // the tag
    HWND box = makeCheck(p, ids::ActiveBox1 + n - 1, "", first ? 36 : 444, top, 15, 17, WS_CLIPSIBLINGS);
    SetWindowLongPtrW(box, GWLP_USERDATA, n);
    // Over column 0 of its row: above the table in the z-order. Not a tab
    // stop: from the keyboard, Space in the table switches the row's entry.
    SetWindowLongPtrW(box, GWL_STYLE, GetWindowLongPtrW(box, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    editButtons_[static_cast<size_t>(n - 1)] = button;
    activeBoxes_[static_cast<size_t>(n - 1)] = box;
    onCommand(ids::EditButton1 + n - 1, [this, n] { BearbeitenClick(n); });
    onCommand(ids::ActiveBox1 + n - 1, [this, n] { model_.entry(n).active = isChecked(activeBox(n)); });
  }
}

void TForm1::createTweaksTab() {
  HWND p = page(1);
  options_.create(p);
  sounds_.create(p);
  smileys_.create(p);
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
}

void TForm1::setDialogs(EditorDialog* form4, WebViewer* form6, RestoreDialog* form7) {
  form4_ = form4;
  form6_ = form6;
  form7_ = form7;
}

int TForm1::activePage() const {
  return static_cast<int>(SendMessageW(control(ids::PageControl1), TCM_GETCURSEL, 0, 0));
}

void TForm1::showPage(int index) {
  for (int i = 0; i < 3; ++i) ShowWindow(page(i), i == index ? SW_SHOW : SW_HIDE);
}

void TForm1::setActivePage(int index) {
  if (activePage() == index) return;
  SendMessageW(control(ids::PageControl1), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  showPage(index);
  if (index == 2) T3Show();
}

void TForm1::setCheckedAndRun(HWND box, bool checked, const std::function<void()>& handler) {
  if (setChecked(box, checked)) handler();
}

IniFile TForm1::settings() const { return IniFile(programFolder_ + "\\Einst.ini"); }

void TForm1::refreshViews() {
  for (int n = 1; n <= kEntryCount; ++n)
    if (activeBox(n)) setChecked(activeBox(n), model_.entry(n).active);
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
    comboSelect(control(ids::ComboLng), comboFind(control(ids::ComboLng), ini.readString("Einstellungen", "#04", "deutsch")));
    setChecked(control(ids::HintBox), ini.readBool("Einstellungen", "#05", true));
    HintBoxClick();
    about_.place(260, 146);
    createEntryControls();
    sounds_.createRows();
    lng();

    StartSettings start;
    start.savedOnce = ini.readBool("ICQStatFile", "#01", false);
    if (start.savedOnce) start.savedNumber = ini.readString("Einstellungen", "#01", "");
    start.useDefault = ini.readBool("Einstellungen", "#02", true);
    setCheckedAndRun(control(ids::SICQNr), start.useDefault, [this] { T3Show(); });
    const bool needLastOwner = !start.savedOnce || start.savedNumber.empty() || start.useDefault;
    startNumber_ = chooseStartNumber(start, needLastOwner ? readLastOwner() : 0);

    ProfileListing listing = listProfiles();
    profileKeys_ = listing.listedKeys;
    HWND nn = control(ids::NN);
    comboClear(nn);
    comboClear(control(ids::C_ICQNr));
    for (const std::string& text : listing.listedTexts) comboAdd(nn, text);
    options_.fillProfileList(listing.listedTexts);
    for (const std::string& key : listing.allKeys) comboAdd(control(ids::C_ICQNr), key);
    const StartProfile sp = resolveStartProfile(startNumber_, profileKeys_);
    startNumber_ = sp.number;
    currentProfile_ = startNumber_;
    statusListPath_ = std::string(kNewOwnersPath) + "\\" + startNumber_;
    comboSelect(nn, sp.position);

    Auslesen();
    smileys_.SmileyAkt();
    if (!isChecked(control(ids::SICQNr)))
      comboSelect(control(ids::C_ICQNr), comboFind(control(ids::C_ICQNr), startNumber_));
    startupDone_ = true;
  }

  // At every showing.
  update_.checkAtStart();
  options_.fillMultiInstance();
  const DefaultPrefs prefs = readDefaultPrefs();
  // Without ICQ Lite there is no version to check against: nothing is hidden.
  if (!prefs.liteVersion.empty() && strToInt(prefs.liteVersion) < 2050) {
    SetWindowPos(grid2_.hwnd(), nullptr, 0, 0, 281, 253, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    setText(control(ids::Warnung),
            T("Sie benötigen ICQ 5.1 oder die Pro7 ICQ Version,\r\num diese Icons nutzen zu können!"));
    ShowWindow(control(ids::Warnung), SW_SHOW);
    for (int n = 30; n <= 32; ++n) {
      setChecked(activeBox(n), false);
      model_.entry(n).active = false;
      ShowWindow(activeBox(n), SW_HIDE);
      ShowWindow(editButton(n), SW_HIDE);
    }
  }
  // "-1" alone: re-show ICQ's window, then end (without the close handler).
  if (args_.size() == 1 && args_[0] == "-1") {
    options_.Button8Click();
    PostQuitMessage(0);
  }
}

// ---------------------------------------------------------------- reading

void TForm1::Auslesen() {
  RefreshOnExit refresh(*this);
  IniFile ini = settings();
  profileKeys_ = readProfileKeyList();
  std::string listPath;
  if (startupDone_) {
    const int pos = comboSelected(control(ids::NN));
    if (pos < 0 || pos >= static_cast<int>(profileKeys_.size())) throw VakError(errListIndex(pos));
    const std::string& p = profileKeys_[static_cast<size_t>(pos)];
    listPath = vak::statusListPath(p);
    currentProfile_ = p;
  } else {
    listPath = statusListPath_ + "\\CustomStatusList\\";
  }
  statusListPath_ = listPath;

  readStateList(listPath, model_);
  checkUpdateRadio(ini.readInteger("Einstellungen", "#03", 3));
  readEntryTexts(listPath, model_);
  for (int n = 1; n <= kEntryCount; ++n) model_.entry(n).active = model_.stateOf(n) == 1;

  options_.fillBirthday();
  if (!readAwayTexts(currentProfile_, model_.away, model_.na)) {
    // Without the profile's ICQ Lite key the panels show this profile's
    // (missing) texts, not those of the profile read before, which a later
    // write would otherwise copy into this profile.
    model_.away.clear();
    model_.na.clear();
  }
  sounds_.fillMaster();
}

void TForm1::checkUpdateRadio(int mode) {
  // Only 1, 2 and 3 name a radio button; another value leaves them as they are.
  if (mode < 1 || mode > 3) return;
  for (int i = 1; i <= 3; ++i) setChecked(control(ids::RadioButton1 + i - 1), i == mode);
}

// ---------------------------------------------------------------- writing

void TForm1::Change() {
  writeStatusSet(statusListPath_, currentProfile_, model_);
  if (form7_) form7_->Save();
}

void TForm1::Reset() {
  if (ui().messageBox("Frage", "Sollen die alten Einstellungen geladen werden?", MbYesNo, MbIconQuestion) ==
      MbResYes)
    Auslesen();
}

// ---------------------------------------------------------------- editor

void TForm1::BearbeitenClick(int entry) {
  currentEntry_ = entry;
  form4_->prepareEntry(model_.entry(entry).active);
  form4_->showModal(hwnd_);
}

void TForm1::BearbAwayClick(int tag) {
  currentEntry_ = tag;
  form4_->prepareAwayText();
  form4_->showModal(hwnd_);
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
    ui().messageBox(t.achtung, fileNameOf(path) + " " + t.notAStatusFile, MbOk, MbNoIcon);
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

void TForm1::Restorelastsaved1Click() { form7_->showModal(hwnd_); }

}  // namespace vak
