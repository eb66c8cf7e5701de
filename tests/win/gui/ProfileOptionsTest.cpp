// The group "ICQTweaks und Einstellungen": birthday reminder, multi-instance
// option, profile deletion, re-showing ICQ's window (also as "vak.exe -1").
#include "GuiFixture.h"

#include <commctrl.h>

#include <optional>

using namespace vaktest;
namespace ids = vak::ids;
using vak::T;

namespace {

const char* const kRegLite = "HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\";
const char* const kRegPrefs = "HKLM\\Software\\Mirabilis\\ICQ\\DefaultPrefs";

std::string regAt(const std::string& key, const std::string& name) {
  auto q = regQuery(key, name);
  return q ? q->type + " " + q->data : "<missing>";
}
bool keyExists(const std::string& key) { return run("reg query \"" + key + "\" /reg:32") == 0; }
std::string lite(const std::string& uin) { return std::string(kRegLite) + uin + "\\ICQLite"; }

// A hidden top-level window of the test standing in for ICQ's main window.
class IcqWindow {
 public:
  IcqWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VakTestIcqMain";
    RegisterClassW(&wc);  // fails harmlessly when registered before
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"123-456-789", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                            nullptr, wc.hInstance, nullptr);
  }
  ~IcqWindow() { DestroyWindow(hwnd_); }
  IcqWindow(const IcqWindow&) = delete;
  IcqWindow& operator=(const IcqWindow&) = delete;
  bool visible() const { return IsWindowVisible(hwnd_) != 0; }

 private:
  HWND hwnd_;
};

class ProfileOptions : public GuiTest {
 protected:
  void setBirthday(const std::string& uin, const char* remind, unsigned days) {
    seed_.key(std::string(kHklmIcq) + "\\NewOwners\\" + uin + "\\ICQLite")
        .str("RemindBirthday", remind)
        .dword("RemindBirthdayDaysBefore", days);
  }
  bool checked(int id) const { return vak::isChecked(ctl(id)); }
  bool enabled(int id) const { return IsWindowEnabled(ctl(id)) != 0; }
  // A key press as the program's message loop delivers it to the focused control.
  void press(HWND target, WPARAM vk) {
    SetFocus(target);
    MSG m{GetFocus(), WM_KEYDOWN, vk, 1, 0, {0, 0}};
    vak::dispatchMessage(m);
    m.message = WM_KEYUP;
    m.lParam = static_cast<LPARAM>(0xC0000001u);
    vak::dispatchMessage(m);
    pumpMessages();
  }
  void type(HWND edit, const std::string& text) {
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (char c : text) {
      MSG m{edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1, 0, {0, 0}};
      vak::dispatchMessage(m);
    }
  }
  void deleteAt(int index, int answer = vak::MbResYes) {
    vak::comboSelect(ctl(ids::DelProfile), index);
    ui_.answers.push_back(answer);
    click(ctl(ids::DelProfileBtn));
  }
  std::vector<std::string> items(int id) const {
    std::vector<std::string> out;
    for (int i = 0; i < vak::comboCount(ctl(id)); ++i) out.push_back(vak::comboItem(ctl(id), i));
    return out;
  }
};

}  // namespace

TEST_F(ProfileOptions, BirthdayIsShownKeptAndWrittenAtOnce) {
  seedTwoProfiles();
  setBirthday("111", "Yes", 7);
  setBirthday("222", "Yes", 5);
  seed_.key(std::string(kHkcuOwners) + "\\333").str("Name", "Ohne");
  seed_.key(std::string(kHklmIcq) + "\\NewOwners\\333\\ICQLite").str("Nickname", "x");
  startApp();
  EXPECT_TRUE(checked(ids::GebBox));
  EXPECT_EQ(text(ctl(ids::GebEdit)), "7");
  // After the read of one with the reminder on, the next shows its own values.
  chooseProfile(1);
  EXPECT_EQ(text(ctl(ids::GebEdit)), "5");
  EXPECT_EQ(regAt(lite("111"), "RemindBirthdayDaysBefore"), "REG_DWORD 0x7");
  EXPECT_EQ(regAt(lite("222"), "RemindBirthdayDaysBefore"), "REG_DWORD 0x5");

  click(ctl(ids::GebBox));  // off: "No", the days stay
  EXPECT_EQ(regAt(lite("222"), "RemindBirthday"), "REG_SZ No");
  EXPECT_EQ(regAt(lite("222"), "RemindBirthdayDaysBefore"), "REG_DWORD 0x5");
  for (int id : {ids::GebEdit, ids::Gebl1, ids::Gebl2, ids::Button6}) EXPECT_FALSE(enabled(id)) << id;
  vak::setText(ctl(ids::GebEdit), "12");
  click(ctl(ids::GebBox));
  EXPECT_EQ(regAt(lite("222"), "RemindBirthday"), "REG_SZ Yes");
  EXPECT_EQ(regAt(lite("222"), "RemindBirthdayDaysBefore"), "REG_DWORD 0xc");
  vak::setText(ctl(ids::GebEdit), "0");
  click(ctl(ids::Button6));
  EXPECT_EQ(regAt(lite("222"), "RemindBirthdayDaysBefore"), "REG_DWORD 0x0");

  // No RemindBirthday at all: shown off with 2, stored as "No" by the read.
  chooseProfile(2);
  EXPECT_FALSE(checked(ids::GebBox));
  EXPECT_EQ(text(ctl(ids::GebEdit)), "2");
  EXPECT_EQ(regAt(lite("333"), "RemindBirthday"), "REG_SZ No");
  EXPECT_EQ(regAt(lite("333"), "RemindBirthdayDaysBefore"), "<missing>");
  EXPECT_TRUE(ui_.boxes.empty());
}

// From the keyboard: letters typed into the days field, the box switched with
// Space. "Yes" is written before the number fails.
TEST_F(ProfileOptions, LettersInTheDaysFieldFailAfterYesWasWritten) {
  seedTwoProfiles();
  setBirthday("111", "Yes", 4);
  startApp();
  form().setActivePage(1);  // keys reach only the page that shows
  type(ctl(ids::GebEdit), "ab");
  press(ctl(ids::GebBox), VK_SPACE);
  EXPECT_FALSE(checked(ids::GebBox));
  EXPECT_EQ(regAt(lite("111"), "RemindBirthday"), "REG_SZ No");
  press(ctl(ids::GebBox), VK_SPACE);
  EXPECT_TRUE(checked(ids::GebBox));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, T("'ab' ist kein gültiger Integerwert"));
  EXPECT_EQ(regAt(lite("111"), "RemindBirthday"), "REG_SZ Yes");
  EXPECT_EQ(regAt(lite("111"), "RemindBirthdayDaysBefore"), "REG_DWORD 0x4");
}

TEST_F(ProfileOptions, MultiInstanceIsFilledAtShowingAndWrittenAtOnce) {
  seedTwoProfiles();
  seed_.key(std::string(kHklmIcq) + "\\DefaultPrefs").str("MultiInstance", "Yes");
  startApp();
  EXPECT_TRUE(checked(ids::MultiIBox));
  click(ctl(ids::MultiIBox));
  EXPECT_EQ(regAt(kRegPrefs, "MultiInstance"), "REG_SZ No");
  closeApp();

  // Only "Yes" exactly ticks it; without the key a click creates it.
  run("reg add \"" + std::string(kRegPrefs) + "\" /v MultiInstance /d yes /f /reg:32");
  startApp();
  EXPECT_FALSE(checked(ids::MultiIBox));
  EXPECT_EQ(regAt(kRegPrefs, "MultiInstance"), "REG_SZ yes");
  run("reg delete \"" + std::string(kRegPrefs) + "\" /f /reg:32");
  click(ctl(ids::MultiIBox));
  EXPECT_EQ(regAt(kRegPrefs, "MultiInstance"), "REG_SZ Yes");
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(ProfileOptions, DeletionAsksThenRemovesTheProfileUnderBothRoots) {
  seedTwoProfiles();
  addProfile("333", T("Jürgen"));
  startApp();
  EXPECT_EQ(items(ids::DelProfile), items(ids::NN));
  click(ctl(ids::DelProfileBtn));  // nothing chosen
  deleteAt(0);                     // ICQ's last profile
  deleteAt(2, vak::MbResNo);
  ASSERT_EQ(ui_.boxes.size(), 3u);
  EXPECT_EQ(ui_.boxes[0].text, T("Wählen sie erst ein Profil!"));
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconInfo);
  EXPECT_EQ(ui_.boxes[1].text, T("Das Standardprofil kann nicht gelöscht werden!"));
  EXPECT_EQ(ui_.boxes[1].icon, vak::MbIconError);
  EXPECT_EQ(ui_.boxes[2].text, T("Soll Das Profil Jürgen (333) wirklich gelöscht werden?"));
  EXPECT_EQ(ui_.boxes[2].buttons, vak::MbYesNo);
  EXPECT_EQ(ui_.boxes[2].icon, vak::MbIconWarning);
  for (const auto& box : ui_.boxes) EXPECT_EQ(box.caption, "Achtung!");
  EXPECT_TRUE(keyExists(std::string(kRegOwners) + "\\333"));
  EXPECT_TRUE(keyExists(std::string(kRegOwners) + "\\111"));

  deleteAt(1);
  EXPECT_FALSE(keyExists(std::string(kRegOwners) + "\\222"));
  EXPECT_FALSE(keyExists(std::string(kRegLite) + "222"));
  EXPECT_TRUE(keyExists(std::string(kRegOwners) + "\\333\\CustomStatusList\\1"));
  EXPECT_TRUE(keyExists(lite("333")));
  const std::vector<std::string> left{"Max (111)", T("Jürgen (333)")};
  EXPECT_EQ(items(ids::NN), left);
  EXPECT_EQ(items(ids::DelProfile), left);
  EXPECT_EQ(vak::comboSelected(ctl(ids::DelProfile)), -1);
  EXPECT_EQ(vak::comboSelected(ctl(ids::NN)), 0);
  EXPECT_EQ(vak::comboCount(ctl(ids::C_ICQNr)), 3);  // until the next start
  // Positions still meet: the next read finds the profile after the gap.
  chooseProfile(1);
  EXPECT_EQ(title(1), seedTitle("333", 1));
}

// The tables keep showing a deleted profile; nothing may write it back.
TEST_F(ProfileOptions, DeletedShownProfileIsNotWrittenBack) {
  seedTwoProfiles();
  startApp();
  chooseProfile(1);
  deleteAt(1);
  EXPECT_EQ(vak::comboSelected(ctl(ids::NN)), -1);
  EXPECT_EQ(title(1), seedTitle("222", 1));
  EXPECT_FALSE(enabled(ids::GebBox));
  click(ctl(ids::Button1));
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[1].text, T("Das angezeigte Profil wurde gelöscht.\r\nWählen sie erst ein Profil!"));
  EXPECT_FALSE(keyExists(std::string(kRegOwners) + "\\222"));
  EXPECT_FALSE(keyExists(std::string(kRegLite) + "222"));

  chooseProfile(0);  // choosing a profile ends it
  EXPECT_TRUE(enabled(ids::GebBox));
  editCell(3, 1, "neu");
  click(ctl(ids::Button1));
  EXPECT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(regAt(std::string(kRegOwners) + "\\111\\CustomStatusList\\3", "Name"), "REG_SZ neu");
}

TEST_F(ProfileOptions, Button8ShowsIcqsHiddenWindow) {
  addProfile("1234567890", "Anna");  // the tenth digit is not part of the title
  setLastOwner(1234567890);
  startApp();
  {
    IcqWindow icq;
    click(ctl(ids::Button8));
    EXPECT_TRUE(icq.visible());
    EXPECT_TRUE(ui_.boxes.empty());
  }
  click(ctl(ids::Button8));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "ICQMeldewart");
  EXPECT_EQ(ui_.boxes[0].text, "Fenster nicht gefunden!");
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbNoIcon);
}

namespace {

// The hint the tooltip window holds for a control; nothing when it holds none.
std::optional<std::string> tipText(HWND tip, HWND control) {
  wchar_t buffer[1024] = {};
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = GetParent(control);
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = buffer;
  if (!SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) return std::nullopt;
  SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&ti));
  return vak::narrow(buffer);
}

}  // namespace

TEST_F(ProfileOptions, TextsAndHintsFollowTheHintSwitch) {
  seedTwoProfiles();
  startApp();
  // The tooltip window is made once the program is idle; it then holds the
  // hints set before it was made (the main window's) and gets those of the
  // pages made later.
  for (int i = 0; i < 300 && !hints().tip(); ++i) {
    Sleep(10);
    pumpMessages();
  }
  ASSERT_TRUE(hints().tip());
  EXPECT_EQ(tipText(hints().tip(), ctl(ids::Button1)), hints().text(ctl(ids::Button1)));
  EXPECT_EQ(tipText(hints().tip(), ctl(ids::MultiIBox)), hints().text(ctl(ids::MultiIBox)));
  EXPECT_EQ(text(ctl(ids::Label13)),
            T("Ab und zu lässt sich das ICQ-Haupfenster nicht\r\nmehr aufrufen. Ein Klick und es erscheint wieder."));
  EXPECT_EQ(hints().text(ctl(ids::MultiIBox)),
            T("Macht es möglich ICQ mehrfach, also\r\nmit verschiedenen Profilen laufen zu lassen"));
  EXPECT_EQ(hints().text(ctl(ids::DelProfileBtn)), T("löscht das gewählte Profil"));
  EXPECT_EQ(hints().text(ctl(ids::Gebl2)), hints().text(ctl(ids::GebBox)));
  const int switched[] = {ids::MultiIBox, ids::GebBox, ids::Gebl1, ids::Gebl2, ids::GebEdit, ids::DelProfileBtn};
  for (bool on : {true, false, true}) {
    for (int id : switched) EXPECT_EQ(hints().enabled(ctl(id)), on) << id;
    EXPECT_EQ(tipText(hints().tip(), ctl(ids::GebBox)).has_value(), on);
    EXPECT_EQ(tipText(hints().tip(), ctl(ids::Button1)).has_value(), on);
    click(ctl(ids::HintBox));
  }
}

// Tab walks the tweaks page in reading order: the sound rows follow the
// master box and come before "Reset", although they are made later.
TEST_F(ProfileOptions, TabWalksTheGroupsInReadingOrder) {
  seedTwoProfiles();
  setBirthday("111", "Yes", 3);
  startApp();
  form().setActivePage(1);
  SetFocus(ctl(ids::MultiIBox));
  std::vector<int> expected{ids::MultiIBox, ids::GebBox,        ids::GebEdit, ids::Button6,
                            ids::DelProfile, ids::DelProfileBtn, ids::Button8};
  for (int n = 1; n <= 10; ++n) {
    expected.push_back(ids::PlayButton1 + n - 1);
    expected.push_back(ids::ChangeButton1 + n - 1);
  }
  expected.push_back(ids::Button4);
  std::vector<int> order{GetDlgCtrlID(GetFocus())};
  while (order.size() < expected.size()) {
    press(GetFocus(), VK_TAB);
    order.push_back(GetDlgCtrlID(GetFocus()));
  }
  EXPECT_EQ(order, expected);
}

// "vak.exe -1" as its own process: ICQ's window (here one of the test) is
// shown and the program ends at once with exit code 0.
TEST_F(ProfileOptions, MinusOneShowsIcqsWindowAndEnds) {
  addProfile("123456789", "Anna");
  setLastOwner(123456789);
  setLiteVersion("2050");
  seed_.import(folder_);
  char self[MAX_PATH];
  std::string built(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  built = built.substr(0, built.rfind('\\'));
  built = built.substr(0, built.rfind('\\')) + "\\bin\\vak.exe";  // beside the tests' folder
  const std::string exe = folder_ + "\\vak.exe";
  ASSERT_TRUE(CopyFileA(built.c_str(), exe.c_str(), FALSE)) << built;
  IcqWindow icq;

  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string cmd = "\"" + exe + "\" -1";
  ASSERT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &si, &pi));
  // Serve this thread's window while waiting; the limit only catches a hang.
  DWORD waited = WAIT_TIMEOUT;
  for (int i = 0; i < 1200 && waited != WAIT_OBJECT_0; ++i) {
    waited = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 100, QS_ALLINPUT);
    pumpMessages();
  }
  if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(icq.visible());
}
