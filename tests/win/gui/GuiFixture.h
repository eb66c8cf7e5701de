#pragma once
// Fixture of the in-process window tests: a clean ICQ registry (both hives,
// 32-bit view), profiles seeded through reg.exe, a fresh program folder, and
// the four windows created as the program creates them (the main window; the
// dialogs' windows on first use), with the main window shown and its show
// handler run.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestServer.h"
#include "TestSupport.h"
#include "app/Ids.h"
#include "app/MainWindow.h"
#include "settings/WebViewer.h"
#include "platform/Ini.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WinText.h"
#include "status/EditorDialog.h"
#include "status/RestoreDialog.h"

namespace vaktest {

inline const char* const kHkcuOwners = "HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\NewOwners";
// The 32-bit view of HKLM\Software as a 64-bit reg.exe sees it.
inline const char* const kHklmIcq = "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Mirabilis\\ICQ";
inline const char* const kRegOwners = "HKCU\\Software\\Mirabilis\\ICQ\\NewOwners";

// A REGEDIT4 file built in memory and imported with one reg.exe run.
// Strings are Windows-1252 bytes (an ANSI .reg file).
class RegSeed {
 public:
  RegSeed& key(const std::string& path) {
    text_ += "\r\n[" + path + "]\r\n";
    return *this;
  }
  RegSeed& str(const std::string& name, const std::string& value) {
    text_ += quoted(name) + "=" + quoted(value) + "\r\n";
    return *this;
  }
  RegSeed& dword(const std::string& name, unsigned value) {
    char num[16];
    std::snprintf(num, sizeof num, "%08x", value);
    text_ += quoted(name) + "=dword:" + num + "\r\n";
    return *this;
  }
  RegSeed& binary(const std::string& name, const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string h;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (i) h += ',';
      h += digits[b >> 4];
      h += digits[b & 15];
    }
    text_ += quoted(name) + "=hex:" + h + "\r\n";
    return *this;
  }
  bool empty() const { return text_.empty(); }

  void import(const std::string& folder) {
    if (text_.empty()) return;
    const std::string file = folder + "\\seed.reg";
    writeFileBytes(file, "REGEDIT4\r\n" + text_ + "\r\n");
    std::string out;
    const int rc = run("reg import \"" + file + "\"", &out);
    DeleteFileA(file.c_str());
    if (rc != 0) throw std::runtime_error("reg import failed: " + out);
    text_.clear();
  }

 private:
  static std::string quoted(const std::string& s) {
    std::string q = "\"";
    for (char c : s) {
      if (c == '\\' || c == '"') q += '\\';
      q += c;
    }
    return q + "\"";
  }
  std::string text_;
};

// Texts of the standard seeded profile: entry n of profile uin.
inline std::string seedTitle(const std::string& uin, int n) { return "Titel " + uin + "-" + std::to_string(n); }
inline std::string seedMessage(const std::string& uin, int n) { return "Nachricht " + uin + "-" + std::to_string(n); }
inline bool seedActive(int n) { return n % 2 == 1; }  // On = 1 for odd entries, 0 for even
inline std::string seedAway(const std::string& uin) { return "Bin weg " + uin; }
inline std::string seedNa(const std::string& uin) { return "Lange weg " + uin; }


// "reg query" prints binary data as hex digits without blanks.
inline std::string compactHex(const std::string& bytes) {
  std::string h = hex(bytes);
  std::string out;
  for (char c : h)
    if (c != ' ') out += c;
  return out;
}

// A window's client area as the window draws it (WM_PRINTCLIENT), in a
// memory bitmap of the client size.
class DrawnClient {
 public:
  explicit DrawnClient(HWND window, UINT flags = PRF_CLIENT) : window_(window) {
    GetClientRect(window, &client_);
    screen_ = GetDC(window);
    dc_ = CreateCompatibleDC(screen_);
    bitmap_ = CreateCompatibleBitmap(screen_, client_.right, client_.bottom);
    old_ = SelectObject(dc_, bitmap_);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), flags);
  }
  ~DrawnClient() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    ReleaseDC(window_, screen_);
  }
  DrawnClient(const DrawnClient&) = delete;
  DrawnClient& operator=(const DrawnClient&) = delete;

  const RECT& client() const { return client_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }
  // The pixels of r, row by row.
  std::vector<COLORREF> pixels(const RECT& r) const {
    std::vector<COLORREF> px;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) px.push_back(at(x, y));
    return px;
  }

 private:
  HWND window_;
  RECT client_{};
  HDC screen_ = nullptr, dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// Whether the control itself is shown (its own WS_VISIBLE, whatever its parents).
inline bool shownStyle(HWND h) { return (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0; }

namespace detail {
inline std::function<void()>*& pendingDrive() {
  static std::function<void()>* drive = nullptr;
  return drive;
}
inline void CALLBACK driveTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  std::function<void()>* drive = pendingDrive();
  pendingDrive() = nullptr;
  if (drive) (*drive)();
}
}  // namespace detail

// Runs open(), which shows `dialog` modally, and drive() from inside the
// dialog's modal loop (a thread timer fires there). A dialog that drive()
// leaves open is closed by its close box and counts as a failure.
inline void driveModal(vak::Window& dialog, const std::function<void()>& open, const std::function<void()>& drive) {
  bool ran = false;
  bool leftOpen = false;
  std::function<void()> wrapped = [&] {
    ran = true;
    EXPECT_TRUE(dialog.isModal()) << "the dialog is not shown modally";
    EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
    drive();
    if (dialog.isModal()) {
      leftOpen = true;
      SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
      if (dialog.isModal()) PostMessageW(nullptr, WM_NULL, 0, 0);
    }
  };
  detail::pendingDrive() = &wrapped;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &detail::driveTimer);
  open();
  KillTimer(nullptr, timer);
  detail::pendingDrive() = nullptr;
  EXPECT_TRUE(ran) << "no modal loop ran";
  EXPECT_FALSE(leftOpen) << "the dialog stayed open";
  EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
}

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wipeIcq();
    folder_ = freshDir(testName());
    // An update check never leaves this machine: no server answers there.
    setUpdateServer(TestServer::deadUrl());
  }

  void TearDown() override { closeApp(); }

  static std::string testName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("gui_") + info->test_suite_name() + "_" + info->name();
  }

  // Both ICQ trees, 32-bit view (HKCU\Software is shared by both views).
  static void wipeIcq() {
    run("reg delete \"HKCU\\Software\\Mirabilis\" /f /reg:32");
    run("reg delete \"HKLM\\Software\\Mirabilis\" /f /reg:32");
  }

  // A profile with Name, 32 entries (seedTitle/seedMessage, On by seedActive)
  // and an ICQLite key with the two away texts.
  void addProfile(const std::string& uin, const std::string& name) {
    const std::string p = std::string(kHkcuOwners) + "\\" + uin;
    seed_.key(p).str("Name", name);
    for (int n = 1; n <= vak::kEntryCount; ++n)
      seed_.key(p + "\\CustomStatusList\\" + std::to_string(n))
          .dword("On", seedActive(n) ? 1 : 0)
          .dword("LineNumber", static_cast<unsigned>(n))
          .str("Name", seedTitle(uin, n))
          .str("Description", seedMessage(uin, n));
    seed_.key(std::string(kHklmIcq) + "\\NewOwners\\" + uin + "\\ICQLite")
        .binary("AwayStatusText", seedAway(uin))
        .binary("NAStatusText", seedNa(uin))
        .str("RemindBirthday", "No");
  }
  void setLastOwner(unsigned uin) { seed_.key(kHkcuOwners).dword("LastOwner", uin); }
  void setLiteVersion(const std::string& version) {
    seed_.key(std::string(kHklmIcq) + "\\DefaultPrefs").str("ICQLite Version", version).str("MultiInstance", "No");
  }
  // The usual machine: two profiles, 111 (Max) used last, ICQ Lite 5.1.
  void seedTwoProfiles() {
    addProfile("111", "Max");
    addProfile("222", "Erika");
    setLastOwner(111);
    setLiteVersion("2050");
  }

  void writeEinst(const std::string& text) { writeFileBytes(einstPath(), text); }
  std::string einstPath() const { return folder_ + "\\Einst.ini"; }

  // Creates the four windows as the program does (the dialogs' windows are
  // made when they are first opened), shows the main window and runs its show
  // handler for the program folder of this test; beforeShow runs just before
  // the window is shown.
  void startApp(const std::function<void()>& beforeShow = {}) {
    seed_.import(folder_);
    form1_ = std::make_unique<vak::TForm1>();
    form1_->create();
    form4_ = std::make_unique<vak::EditorDialog>(form1_->status());
    form6_ = std::make_unique<vak::WebViewer>();
    form7_ = std::make_unique<vak::RestoreDialog>(form1_->status());
    form1_->setDialogs(form4_.get(), form6_.get(), form7_.get());
    form1_->shared().programFolder = folder_;
    if (beforeShow) beforeShow();
    ShowWindow(form1_->hwnd(), SW_SHOWNORMAL);
    UpdateWindow(form1_->hwnd());
    vak::runHandler([&] { form1_->FormShow(); });
    pumpMessages();
    // Active and in front before the test acts, as after a real start: in a
    // freshly made prefix the desktop may still take the activation.
    for (int i = 0; i < 100 && GetForegroundWindow() != mainWnd(); ++i) {
      SetForegroundWindow(mainWnd());
      pumpMessages();
      Sleep(10);
    }
    pumpMessages();
  }

  // The program's windows are gone; folder and registry stay (a new start can follow).
  void closeApp() {
    form7_.reset();
    form6_.reset();
    form4_.reset();
    form1_.reset();
    pumpMessages();
  }

  vak::TForm1& form() { return *form1_; }
  vak::EditorDialog& editor() { return *form4_; }
  vak::RestoreDialog& restore() { return *form7_; }
  // A control of the main window or of one of its pages by its id; the page
  // it lives on is made first when it is not yet (as a user's visit would).
  HWND ctl(int id) const {
    vak::TForm1& f = *form1_;
    if (HWND h = GetDlgItem(f.hwnd(), id)) return h;
    if ((id >= vak::ids::GroupBox1 && id < vak::ids::AllgemeinBox) || (id >= vak::ids::Smiley && id < 800))
      return f.tweaks().control(id);
    if ((id >= vak::ids::AllgemeinBox && id < vak::ids::Smiley) || (id >= vak::ids::GroupBox3 && id < vak::ids::Panel1))
      return f.settingsPage().control(id);
    if (id == vak::ids::Panel1) return f.about().panel();
    if (id > vak::ids::Panel1 && id < 1000) return f.about().control(id);
    return f.status().control(id);
  }
  // Page 0, 1 or 2 of the tabs.
  HWND page(int index) const {
    vak::TForm1& f = *form1_;
    return index == 0 ? f.status().hwnd() : index == 1 ? f.tweaks().hwnd() : f.settingsPage().hwnd();
  }
  vak::Hints& hints() { return *form1_->shared().hints; }
  HWND mainWnd() const { return form1_->hwnd(); }

  void click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
  void menu(int id) { SendMessageW(mainWnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  void chooseProfile(int index) {
    HWND nn = ctl(vak::ids::NN);
    SendMessageW(nn, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(mainWnd(), WM_COMMAND, MAKEWPARAM(vak::ids::NN, CBN_SELCHANGE), reinterpret_cast<LPARAM>(nn));
  }
  std::string text(HWND h) const { return vak::getText(h); }
  std::string comboText(HWND combo) const {
    const int i = vak::comboSelected(combo);
    return i < 0 ? std::string("<none>") : vak::comboItem(combo, i);
  }

  // Entry n's title and message as the tables show them.
  std::string title(int n) { return form1_->status().grid(vak::gridOfEntry(n)).cell(vak::rowOfEntry(n), 1); }
  std::string message(int n) { return form1_->status().grid(vak::gridOfEntry(n)).cell(vak::rowOfEntry(n), 2); }
  // Entry n's switch as its table draws it.
  bool boxChecked(int n) const {
    vak::Grid& g = form1_->status().grid(vak::gridOfEntry(n));
    return g.switchOf && g.switchOf(vak::rowOfEntry(n));
  }
  // A mouse click in the middle of r (client coordinates of window).
  void clickAt(HWND window, const RECT& r) {
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(window, WM_MOUSEMOVE, 0, at);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
  }
  // Clicks entry n's switch (its active check box) and its "Bearbeiten" button.
  void clickBox(int n) {
    vak::Grid& g = form1_->status().grid(vak::gridOfEntry(n));
    clickAt(g.hwnd(), g.switchRect(vak::rowOfEntry(n)));
  }
  void clickEditButton(int n) {
    vak::ButtonColumn& column = form1_->status().editButtons(vak::gridOfEntry(n));
    clickAt(column.hwnd(), column.buttonRect(vak::rowOfEntry(n) - 1));
  }

  // Clicks a cell of a table twice (select, then edit) or once (select).
  void clickCell(vak::Grid& g, int row, int col) {
    const RECT rc = g.cellRect(row, col);
    SendMessageW(g.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    SendMessageW(g.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
  }
  // Types text (UTF-8 literal) into the selected cell: the first character
  // goes to the table and starts the in-place editor, the rest to the editor.
  void typeText(vak::Grid& g, const char* utf8) {
    const std::wstring w = vak::W(utf8);
    for (std::size_t i = 0; i < w.size(); ++i)
      SendMessageW(i == 0 ? g.hwnd() : g.editor(), WM_CHAR, static_cast<WPARAM>(w[i]), 1);
  }
  void key(HWND target, WPARAM vk) {
    SendMessageW(target, WM_KEYDOWN, vk, 1);
    SendMessageW(target, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
  }
  // Select, type, Enter.
  void editCell(int entry, int col, const char* utf8) {
    vak::Grid& g = form1_->status().grid(vak::gridOfEntry(entry));
    clickCell(g, vak::rowOfEntry(entry), col);
    typeText(g, utf8);
    key(g.editor(), VK_RETURN);
  }

  std::string folder_;
  RegSeed seed_;
  ScriptedUi ui_;
  RecordingShell shell_;  // nothing is opened, and the test process does not end
  std::unique_ptr<vak::TForm1> form1_;
  std::unique_ptr<vak::EditorDialog> form4_;
  std::unique_ptr<vak::WebViewer> form6_;
  std::unique_ptr<vak::RestoreDialog> form7_;
};

}  // namespace vaktest
