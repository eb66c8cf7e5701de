#include "settings/UpdateCheck.h"

#include "app/Ids.h"
#include "app/MainWindow.h"
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
#include "settings/Texts.h"
#include "settings/UpdateRules.h"

namespace vak {

namespace {

constexpr const char* kSection = "Update";
constexpr std::size_t kBlockSize = 1024;
// The update information is a few lines: a server that drips it in (a byte
// every few seconds) must not keep the check going for minutes.
constexpr unsigned long kInfoLimitMs = 60000;

std::string downloadFailedText() {
  const MessageTexts& t = messageTexts();
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
      HWND endUD = check_.control(ids::EndUD);
      PostMessageW(check_.form_.hwnd(), WM_COMMAND, MAKEWPARAM(ids::EndUD, BN_CLICKED), reinterpret_cast<LPARAM>(endUD));
    }
    if (check_.closeAfter_) {
      check_.closeAfter_ = false;
      PostMessageW(check_.form_.hwnd(), WM_CLOSE, 0, 0);
    }
  }
  TransferScope(const TransferScope&) = delete;
  TransferScope& operator=(const TransferScope&) = delete;

 private:
  UpdateCheck& check_;
};

HWND UpdateCheck::control(int id) const { return form_.control(id); }

std::string UpdateCheck::iniFile() const { return form_.programFolder() + "\\update.ini"; }

void UpdateCheck::presetControls() {
  for (int i = 1; i <= 3; ++i) form_.at(ids::RadioButton1 + i - 1).presetChecked(i == 3);
}

void UpdateCheck::create(HWND p) {
  makeGroup(p, ids::GroupBox3, "Update", 410, 8, 405, 278);
  makeLabel(p, ids::Label7, "Automatische Updates", 422, 28, 300, 16);
  makeRadio(p, ids::RadioButton1, T("Beim Start auf Updates prüfen"), 422, 48, 300, 17, WS_GROUP | WS_TABSTOP);
  makeRadio(p, ids::RadioButton2, T("Beim beenden auf Updates prüfen"), 422, 68, 300, 17);
  makeRadio(p, ids::RadioButton3, T("Keine automatische Prüfung"), 422, 88, 300, 17);
  makeButton(p, ids::TestUD, T("Jetzt auf Updates prüfen"), 422, 116, 170, 23, WS_GROUP);
  makeGroup(p, ids::UdCheckbox, "Updatecheck", 422, 148, 380, 128);
  makeLabel(p, ids::UDStatus, T("prüfe auf Updates..."), 434, 168, 360, 32);
  makeButton(p, ids::UDBtn, "UDBtn", 434, 206, 190, 23);
  makeButton(p, ids::EndUD, "--", 630, 206, 80, 23);
  makeButton(p, ids::InfoBtn, "Info", 716, 206, 76, 23);
  makeLabel(p, ids::Fortschritt, "", 434, 240, 360, 16);
  showArea(false);
}

void UpdateCheck::wireCommands() {
  form_.onCommand(ids::TestUD, [this] { TestUDClick(); });
  form_.onCommand(ids::UDBtn, [this] { UDBtnClick(); });
  form_.onCommand(ids::InfoBtn, [this] { InfoBtnClick(); });
  form_.onCommand(ids::EndUD, [this] { EndUDClick(); });
}

// The result area's controls are siblings on the page: they follow the box,
// and the two buttons also their own state.
void UpdateCheck::showArea(bool shown) {
  areaShown_ = shown;
  for (int id : {ids::UdCheckbox, ids::UDStatus, ids::EndUD, ids::Fortschritt})
    ShowWindow(control(id), shown ? SW_SHOW : SW_HIDE);
  showInArea(ids::UDBtn, udBtnShown_);
  showInArea(ids::InfoBtn, infoBtnShown_);
  ShowWindow(control(ids::TestUD), shown ? SW_HIDE : SW_SHOW);
}

void UpdateCheck::showInArea(int id, bool shown) {
  (id == ids::UDBtn ? udBtnShown_ : infoBtnShown_) = shown;
  ShowWindow(control(id), shown && areaShown_ ? SW_SHOW : SW_HIDE);
}

// "Abbrechen" stays usable: it stops the transfer.
void UpdateCheck::setBusy(bool busy) {
  for (int id : {ids::TestUD, ids::UDBtn, ids::InfoBtn}) form_.at(id).enable(!busy);
  EnableMenuItem(form_.menu(), ids::aufUpdateprfen1, MF_BYCOMMAND | (busy ? MF_GRAYED : MF_ENABLED));
}

void UpdateCheck::focusButtons(HWND left) {
  // Only in the active window (SetFocus would bring it to the front), and
  // only once the settings page exists (asking for a button makes it).
  if (GetActiveWindow() != form_.hwnd() || !form_.pageMade(2)) return;
  const int buttons[] = {ids::UDBtn, ids::EndUD, ids::InfoBtn, ids::TestUD};
  HWND focus = GetFocus();
  // A hidden button keeps no focus: Windows gives it to its parent, the page.
  bool elsewhere = focus && focus != left && focus != form_.hwnd() && focus != GetParent(control(ids::TestUD)) &&
                   canTakeFocus(focus);
  for (int id : buttons) elsewhere = elsewhere && focus != control(id);
  if (elsewhere) return;
  for (int id : buttons) {
    if (canTakeFocus(control(id))) {
      SetFocus(control(id));
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
          form_.at(ids::Fortschritt).setText(progressText(blocks_, sizeText_));
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
  const MessageTexts& t = messageTexts();
  return t.updatesAvailable + "\r\n" + t.wantUpdateTo + " " + newVersion_ + " " + t.aktualisieren;
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
  const MessageTexts& t = messageTexts();
  Fetch got = Fetch::Failed;
  try {
    got = downloadInfo();
  } catch (const VakError& e) {
    // The program folder cannot be written: say so here too.
    form_.at(ids::UDStatus).setText(e.what());
    showInArea(ids::UDBtn, false);
    showInArea(ids::InfoBtn, false);
    throw;
  }
  if (got == Fetch::Stopped) return;
  if (got != Fetch::Ok) {
    form_.at(ids::UDStatus).setText(downloadFailedText());
    showInArea(ids::UDBtn, false);
    showInArea(ids::InfoBtn, false);
    return;
  }
  form_.at(ids::UDStatus).setText(t.updateDone);
  IniFile info(infoPath_);
  info.writeString(kSection, "#02", pathToAnsi(form_.programFolder() + "\\" + programFileName()));
  newVersion_ = info.readString(kSection, "#01", kReleaseVersion);
  if (!manualCheckOffers(newVersion_)) {
    form_.at(ids::UDStatus).setText(t.updateDone + "\r\n" + t.noUpdates);
    showInArea(ids::UDBtn, false);
    showInArea(ids::InfoBtn, true);
    return;
  }
  form_.at(ids::UDBtn).setText(t.aufVersion + " " + newVersion_ + " " + t.aktuallisieren);
  showInArea(ids::UDBtn, true);
  showInArea(ids::InfoBtn, true);
}

void UpdateCheck::aufUpdateprfen1Click() {
  if (transferRunning()) return;
  form_.setActivePage(2);
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
  deleteFile(form_.programFolder() + "\\Update.ini");
  focusButtons();
}

void UpdateCheck::InfoBtnClick() {
  if (transferRunning()) return;
  WebViewer* viewer = form_.form6();
  if (!viewer) return;
  viewer->navigate(messageTexts().historyUrl);
  viewer->applyLayout(kUpdateLayout);
  viewer->showModal(form_.hwnd());
}

// ------------------------------------------------------------ automatic checks

bool UpdateCheck::proof() {
  const Fetch got = downloadInfo();
  if (got == Fetch::Stopped) return false;
  if (got != Fetch::Ok) {
    ui().messageBox(messageTexts().achtung, downloadFailedText() + statusLine(), MbOk, MbIconInfo);
    return false;
  }
  IniFile info(infoPath_);
  newVersion_ = info.readString(kSection, "#01", kReleaseVersion);
  info.writeString(kSection, "#02", pathToAnsi(form_.programFolder() + "\\" + programFileName()));
  return automaticCheckOffers(newVersion_);
}

void UpdateCheck::checkAtStart() {
  if (!form_.at(ids::RadioButton1).checked()) return;
  runHandler([this] {
    if (proof()) {
      if (ui().messageBox("Aktualisieren?", offerText(), MbYesNo, MbIconInfo) == MbResYes) {
        // An invalid or failed update leaves the file for a look at it.
        UDBtnClick();
        return;
      }
    }
    deleteFile(form_.programFolder() + "/Update.ini");
  });
}

void UpdateCheck::checkAtExit() {
  if (!form_.at(ids::RadioButton2).checked()) return;
  runHandler([this] {
    if (proof() && ui().messageBox(messageTexts().info, offerText(), MbYesNo, MbIconInfo) == MbResYes) UDBtnClick();
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
  form_.at(ids::Fortschritt).setText("");
  const std::string dir = form_.programFolder();
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
      messageTexts().downloadError + "\r\n" + T("Das Update wurde nicht installiert, das Programm bleibt unverändert.");
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
