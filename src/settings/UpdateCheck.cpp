#include "settings/UpdateCheck.h"

#include "settings/WebViewer.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Http.h"
#include "platform/Ini.h"
#include "platform/Path.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"
#include "ui/Page.h"
#include "ui/Window.h"
#include "settings/SettingsPage.h"
#include "settings/Shared.h"
#include "settings/Texts.h"
#include "settings/UpdateRules.h"

namespace vak {

namespace {

constexpr const char* kSection = "Update";
constexpr std::size_t kBlockSize = 1024;
// The update information is a few lines: a server that drips it in (a byte
// every few seconds) must not keep the check going for minutes.
constexpr unsigned long kInfoLimitMs = 60000;

std::string downloadFailedText(const MessageTexts& t) {
  return t.downloadError + "\r\n" + t.checkConnection;
}

bool moveReplacing(const std::string& from, const std::string& to) {
  return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
}

}  // namespace

// Marks a transfer as running: the update's own buttons and menu item wait
// for it, and a close or "Abbrechen" requested meanwhile follows when the
// last one ends.
class UpdateCheck::TransferScope {
 public:
  explicit TransferScope(UpdateCheck& check) : check_(check) {
    if (check_.transfers_++ == 0) {
      check_.stop_ = false;
      check_.setBusy(true);
      // Meanwhile "Abbrechen" is the one button to use.
      check_.focusButtons();
    }
  }
  ~TransferScope() {
    if (--check_.transfers_ > 0) return;
    check_.setBusy(false);
    if (check_.endAfter_) {
      check_.endAfter_ = false;
      HWND endUD = check_.page_.existing(ids::EndUD);
      PostMessageW(check_.page_.hwnd(), WM_COMMAND, MAKEWPARAM(ids::EndUD, BN_CLICKED), reinterpret_cast<LPARAM>(endUD));
    }
    if (check_.closeAfter_) {
      check_.closeAfter_ = false;
      PostMessageW(check_.shared_.mainWindow, WM_CLOSE, 0, 0);
    }
  }
  TransferScope(const TransferScope&) = delete;
  TransferScope& operator=(const TransferScope&) = delete;

 private:
  UpdateCheck& check_;
};

UpdateCheck::UpdateCheck(Page& page, Shared& shared) : page_(page), shared_(shared) {
  page_.onCommand(ids::TestUD, [this] { TestUDClick(); });
  page_.onCommand(ids::UDBtn, [this] { UDBtnClick(); });
  page_.onCommand(ids::InfoBtn, [this] { InfoBtnClick(); });
  page_.onCommand(ids::EndUD, [this] { EndUDClick(); });
}

std::string UpdateCheck::iniFile() const { return shared_.programFolder + "\\update.ini"; }

const std::string& UpdateCheck::newVersion() const { return shared_.newVersion; }

int UpdateCheck::mode() const {
  for (int i = 1; i <= 3; ++i)
    if (HWND h = page_.existing(ids::RadioButton1 + i - 1)) {
      if (isChecked(h)) return i;
    } else {
      return mode_;
    }
  return 0;
}

void UpdateCheck::checkMode(int mode) {
  if (mode < 1 || mode > 3) return;
  mode_ = mode;
  for (int i = 1; i <= 3; ++i)
    if (HWND h = page_.existing(ids::RadioButton1 + i - 1)) setChecked(h, i == mode);
}

void UpdateCheck::create(HWND p) {
  auto text = [](int id) { return SettingsPage::text(id); };
  makeGroup(p, ids::GroupBox3, text(ids::GroupBox3), 410, 8, 405, 278);
  makeLabel(p, ids::Label7, text(ids::Label7), 422, 28, 300, 16);
  makeRadio(p, ids::RadioButton1, text(ids::RadioButton1), 422, 48, 300, 17, WS_GROUP | WS_TABSTOP);
  makeRadio(p, ids::RadioButton2, text(ids::RadioButton2), 422, 68, 300, 17);
  makeRadio(p, ids::RadioButton3, text(ids::RadioButton3), 422, 88, 300, 17);
  makeButton(p, ids::TestUD, text(ids::TestUD), 422, 116, 170, 23, WS_GROUP);
  makeGroup(p, ids::UdCheckbox, text(ids::UdCheckbox), 422, 148, 380, 128);
  makeLabel(p, ids::UDStatus, text(ids::UDStatus), 434, 168, 360, 32);
  makeButton(p, ids::UDBtn, udBtn_, 434, 206, 190, 23);
  makeButton(p, ids::EndUD, text(ids::EndUD), 630, 206, 80, 23);
  makeButton(p, ids::InfoBtn, text(ids::InfoBtn), 716, 206, 76, 23);
  makeLabel(p, ids::Fortschritt, "", 434, 240, 360, 16);
  // What was set before the page was made.
  checkMode(mode_);
  if (!status_.empty()) setText(GetDlgItem(p, ids::UDStatus), status_);
  setText(GetDlgItem(p, ids::Fortschritt), progress_);
  setBusy(busy_);
  showArea(areaShown_);
}

// The result area's controls are siblings on the page: they follow the box,
// and the two buttons also their own state.
void UpdateCheck::showArea(bool shown) {
  areaShown_ = shown;
  for (int id : {ids::UdCheckbox, ids::UDStatus, ids::EndUD, ids::Fortschritt})
    if (HWND h = page_.existing(id)) ShowWindow(h, shown ? SW_SHOW : SW_HIDE);
  showInArea(ids::UDBtn, udBtnShown_);
  showInArea(ids::InfoBtn, infoBtnShown_);
  if (HWND h = page_.existing(ids::TestUD)) ShowWindow(h, shown ? SW_HIDE : SW_SHOW);
}

void UpdateCheck::showInArea(int id, bool shown) {
  (id == ids::UDBtn ? udBtnShown_ : infoBtnShown_) = shown;
  if (HWND h = page_.existing(id)) ShowWindow(h, shown && areaShown_ ? SW_SHOW : SW_HIDE);
}

// "Abbrechen" stays usable: it stops the transfer.
void UpdateCheck::setBusy(bool busy) {
  busy_ = busy;
  for (int id : {ids::TestUD, ids::UDBtn, ids::InfoBtn})
    if (HWND h = page_.existing(id)) EnableWindow(h, !busy);
  if (shared_.updateBusy) shared_.updateBusy(busy);
}

void UpdateCheck::focusButtons(HWND left) {
  // Only in the active window (SetFocus would bring it to the front), and
  // only once the settings page exists (asking for a button makes it).
  if (GetActiveWindow() != shared_.mainWindow || !page_.made()) return;
  const int buttons[] = {ids::UDBtn, ids::EndUD, ids::InfoBtn, ids::TestUD};
  HWND focus = GetFocus();
  // A hidden button keeps no focus: Windows gives it to its parent, the page.
  bool elsewhere = focus && focus != left && focus != shared_.mainWindow && focus != page_.hwnd() &&
                   canTakeFocus(focus);
  for (int id : buttons) elsewhere = elsewhere && focus != page_.existing(id);
  if (elsewhere) return;
  for (int id : buttons) {
    if (canTakeFocus(page_.existing(id))) {
      SetFocus(page_.existing(id));
      return;
    }
  }
}

void UpdateCheck::closeWhenTransferEnds() {
  stop_ = true;
  closeAfter_ = true;
}

UpdateCheck::Fetch UpdateCheck::fetch(const std::string& url, const std::string& path, unsigned long limitMs,
                                      std::size_t* bytes) {
  TransferScope running(*this);
  refusedStatus_ = 0;
  std::size_t total = 0;
  bool writeFailed = false;
  HttpAnswer answer;
  {
    FileWriter file(path);
    if (!file.ok()) throw VakError(errIniWrite(pathToText(path)));
    // Every file of an update must come with its length: only then does a
    // cut-off transfer show as one.
    HttpOptions options;
    options.blockSize = kBlockSize;
    options.requireLength = true;
    options.totalLimitMs = limitMs;
    answer = httpFetch(
        url, options,
        [&](const char* data, std::size_t size) {
          ++blocks_;
          page_.setTextState(ids::Fortschritt, progress_, progressText(blocks_, sizeText_));
          if (!file.write(data, size)) {
            writeFailed = true;
            return false;
          }
          total += size;
          return true;
        },
        [this] {
          processPendingMessages();
          return !stop_;
        });
    file.close();
    writeFailed = writeFailed || !file.ok();
  }
  if (bytes) *bytes = total;
  if (writeFailed) {
    deleteFile(path);
    throw VakError(errIniWrite(pathToText(path)));
  }
  if (answer.complete()) return Fetch::Ok;
  deleteFile(path);
  if (answer.outcome == HttpOutcome::BadStatus) refusedStatus_ = answer.status;
  return answer.outcome == HttpOutcome::Stopped ? Fetch::Stopped : Fetch::Failed;
}

std::string UpdateCheck::statusLine() const {
  if (refusedStatus_ <= 0) return std::string();
  return "\r\nDer Server antwortete mit HTTP " + std::to_string(refusedStatus_) + ".";
}

bool UpdateCheck::DownloadToFile(const std::string& url, const std::string& target) {
  deleteFile(target);
  return fetch(url, target) == Fetch::Ok;
}

UpdateCheck::Fetch UpdateCheck::downloadInfo() {
  infoPath_ = iniFile();
  deleteFile(infoPath_);
  return fetch(updateServer() + "/vak/update.ini", infoPath_, kInfoLimitMs);
}

std::string UpdateCheck::offerText() const {
  const MessageTexts& t = shared_.texts;
  return t.updatesAvailable + "\r\n" + t.wantUpdateTo + " " + shared_.newVersion + " " + t.aktualisieren;
}

// ------------------------------------------------------------ manual check

void UpdateCheck::TestUDClick() {
  if (transferRunning()) return;
  showArea(true);
  // Afterwards to the result, also from where the menu item left it.
  struct FocusAfter {
    UpdateCheck& check;
    HWND before;
    ~FocusAfter() { check.focusButtons(before); }
  } focusAfter{*this, GetFocus()};
  const MessageTexts& t = shared_.texts;
  Fetch got = Fetch::Failed;
  try {
    got = downloadInfo();
  } catch (const VakError& e) {
    // The program folder cannot be written: say so here too.
    page_.setTextState(ids::UDStatus, status_, e.what());
    showInArea(ids::UDBtn, false);
    showInArea(ids::InfoBtn, false);
    throw;
  }
  if (got == Fetch::Stopped) return;
  if (got != Fetch::Ok) {
    page_.setTextState(ids::UDStatus, status_, downloadFailedText(shared_.texts));
    showInArea(ids::UDBtn, false);
    showInArea(ids::InfoBtn, false);
    return;
  }
  page_.setTextState(ids::UDStatus, status_, t.updateDone);
  IniFile info(infoPath_);
  info.writeString(kSection, "#02", pathToAnsi(shared_.programFolder + "\\" + programFileName()));
  shared_.newVersion = info.readString(kSection, "#01", kReleaseVersion);
  if (!manualCheckOffers(shared_.newVersion)) {
    page_.setTextState(ids::UDStatus, status_, t.updateDone + "\r\n" + t.noUpdates);
    showInArea(ids::UDBtn, false);
    showInArea(ids::InfoBtn, true);
    return;
  }
  page_.setTextState(ids::UDBtn, udBtn_, t.aufVersion + " " + shared_.newVersion + " " + t.aktuallisieren);
  showInArea(ids::UDBtn, true);
  showInArea(ids::InfoBtn, true);
}

void UpdateCheck::aufUpdateprfen1Click() {
  if (transferRunning()) return;
  if (shared_.showPage) shared_.showPage(2);
  TestUDClick();
}

void UpdateCheck::EndUDClick() {
  if (transferRunning()) {
    // The transfer stops; this click follows once it has ended.
    stop_ = true;
    endAfter_ = true;
    return;
  }
  showArea(false);
  deleteFile(shared_.programFolder + "\\Update.ini");
  focusButtons();
}

void UpdateCheck::InfoBtnClick() {
  if (transferRunning()) return;
  WebViewer* viewer = shared_.viewer ? shared_.viewer() : nullptr;
  if (!viewer) return;
  viewer->navigate(shared_.texts.historyUrl);
  viewer->applyLayout(kUpdateLayout);
  viewer->showModal(shared_.mainWindow);
}

// ------------------------------------------------------------ automatic checks

bool UpdateCheck::proof() {
  const Fetch got = downloadInfo();
  if (got == Fetch::Stopped) return false;
  if (got != Fetch::Ok) {
    ui().messageBox(shared_.texts.achtung, downloadFailedText(shared_.texts) + statusLine(), MbOk, MbIconInfo);
    return false;
  }
  IniFile info(infoPath_);
  shared_.newVersion = info.readString(kSection, "#01", kReleaseVersion);
  info.writeString(kSection, "#02", pathToAnsi(shared_.programFolder + "\\" + programFileName()));
  return automaticCheckOffers(shared_.newVersion);
}

void UpdateCheck::checkAtStart() {
  if (mode() != 1) return;
  runHandler([this] {
    if (proof()) {
      if (ui().messageBox("Aktualisieren?", offerText(), MbYesNo, MbIconInfo) == MbResYes) {
        // An invalid or failed update leaves the file for a look at it.
        UDBtnClick();
        return;
      }
    }
    deleteFile(shared_.programFolder + "/Update.ini");
  });
}

void UpdateCheck::checkAtExit() {
  if (mode() != 2) return;
  runHandler([this] {
    if (proof() && ui().messageBox(shared_.texts.info, offerText(), MbYesNo, MbIconInfo) == MbResYes) UDBtnClick();
  });
}

// ------------------------------------------------------------ hand-over

void UpdateCheck::UDBtnClick() {
  if (transferRunning()) return;
  IniFile info(infoPath_);
  UpdateSources sources;
  sources.program = info.readString(kSection, "#03", "");
  sources.updater = info.readString(kSection, "#04", "");
  sources.language = info.readString(kSection, "#06", "");
  sizeText_ = info.readString(kSection, "#05", "???KB");
  if (!sources.complete()) {
    ui().messageBox("Fehler!", T("Die Update.ini scheint ungültig zu sein!"), MbOk, MbIconError);
    return;
  }
  page_.setTextState(ids::Fortschritt, progress_, "");
  const std::string dir = shared_.programFolder;
  const std::string lngDir = dir + "\\LNG";
  const bool madeLngDir = createDir(lngDir);

  // Each file goes to a part file first; only when all three arrived whole
  // do they take their places, so a failure leaves the folder as it was.
  struct Download {
    std::string url, target, part;
  };
  const Download downloads[] = {
      {sources.program, dir + "\\ICQ-Meldewart.tmp", dir + "\\ICQ-Meldewart.tmp.part"},
      {sources.updater, dir + "\\updater.exe", dir + "\\updater.exe.part"},
      {sources.language, lngDir + "\\engl.lng", lngDir + "\\engl.lng.part"},
  };
  auto dropParts = [&] {
    for (const Download& d : downloads) deleteFile(d.part);
    if (madeLngDir) RemoveDirectoryW(widePath(lngDir).c_str());
  };
  Fetch got = Fetch::Ok;
  try {
    for (const Download& d : downloads) {
      std::size_t bytes = 0;
      got = fetch(d.url, d.part, 0, &bytes);
      if (got == Fetch::Ok && bytes == 0) got = Fetch::Failed;
      if (got != Fetch::Ok) break;
    }
  } catch (...) {
    dropParts();
    throw;
  }
  if (got == Fetch::Stopped) {
    dropParts();
    return;
  }
  const std::string failed =
      shared_.texts.downloadError + "\r\n" + T("Das Update wurde nicht installiert, das Programm bleibt unverändert.");
  if (got != Fetch::Ok) {
    dropParts();
    ui().messageBox("Fehler!", failed + statusLine(), MbOk, MbIconError);
    return;
  }
  std::size_t placed = 0;
  for (const Download& d : downloads) {
    if (!moveReplacing(d.part, d.target)) break;
    ++placed;
  }
  if (placed < 3) {
    for (std::size_t i = 0; i < placed && i < 2; ++i) deleteFile(downloads[i].target);
    dropParts();
    ui().messageBox("Fehler!", failed, MbOk, MbIconError);
    return;
  }

  if (!shell().open(downloads[1].target, SW_SHOWNORMAL)) {
    deleteFile(downloads[0].target);
    deleteFile(downloads[1].target);
    ui().messageBox("Fehler!", T("Das Updateprogramm konnte nicht gestartet werden.\r\nDas Programm bleibt unverändert."),
                    MbOk, MbIconError);
    return;
  }
  ended_ = true;
  shell().exitProcess(0);
}

}  // namespace vak
