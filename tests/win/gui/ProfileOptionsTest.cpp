// The group "ICQTweaks und Einstellungen": birthday reminder, multi-instance
// option, profile deletion, re-showing ICQ's window (also as "vak.exe -1").
#include "GuiFixture.h"

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

// A top-level window of the test itself, hidden, standing in for ICQ's.
class IcqWindow {
 public:
  explicit IcqWindow(const wchar_t* title) {
    static bool registered = false;
    if (!registered) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"VakTestIcqMain";
      RegisterClassW(&wc);
      registered = true;
    }
    hwnd_ = CreateWindowExW(0, L"VakTestIcqMain", title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  }
  ~IcqWindow() { DestroyWindow(hwnd_); }
  IcqWindow(const IcqWindow&) = delete;
  IcqWindow& operator=(const IcqWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

class ProfileOptions : public GuiTest {
 protected:
  std::string lite(const std::string& uin) const { return std::string(kRegLite) + uin + "\\ICQLite"; }
  void setBirthday(const std::string& uin, const char* remind, int days) {
    auto& k = seed_.key(std::string(kHklmIcq) + "\\NewOwners\\" + uin + "\\ICQLite").str("RemindBirthday", remind);
    if (days >= 0) k.dword("RemindBirthdayDaysBefore", static_cast<unsigned>(days));
  }
  bool checked(int id) const { return vak::isChecked(ctl(id)); }
  bool enabled(int id) const { return IsWindowEnabled(ctl(id)) != 0; }

  // A key press as the message loop delivers it to the focused control.
  void press(HWND target, WPARAM vk) {
    SetFocus(target);
    MSG m{GetFocus(), WM_KEYDOWN, vk, 1, 0, {0, 0}};
    vak::dispatchMessage(m);
    m.hwnd = GetFocus();
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
    pumpMessages();
  }
  void selectForDeletion(int index) { vak::comboSelect(ctl(ids::DelProfile), index); }
  void deleteAnswering(int answer) {
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
  startApp();
  EXPECT_TRUE(checked(ids::GebBox));
  EXPECT_EQ(text(ctl(ids::GebEdit)), "7");
  EXPECT_EQ(regAt(lite("111"), "RemindBirthday"), "REG_SZ Yes");
  EXPECT_EQ(regAt(lite("111"), "RemindBirthdayDaysBefore"), "REG_DWORD 0x7");

  // The profile before had the reminder on too: the shown values are this one's.
  chooseProfile(1);
  EXPECT_TRUE(checked(ids::GebBox));
  EXPECT_EQ(text(ctl(ids::GebEdit)), "5");
  EXPECT_EQ(regAt(lite("222"), "RemindBirthdayDaysBefore"), "REG_DWORD 0x5");
  EXPECT_EQ(regAt(lite("111"), "RemindBirthdayDaysBefore"), "REG_DWORD 0x7");

  // Off: "No", the days stay, the dependent controls follow the box.
  click(ctl(ids::GebBox));
  EXPECT_EQ(regAt(lite("222"), "RemindBirthday"), "REG_SZ No");
  EXPECT_EQ(regAt(lite("222"), "RemindBirthdayDaysBefore"), "REG_DWORD 0x5");
  for (int id : {ids::GebEdit, ids::Gebl1, ids::Gebl2, ids::Button6}) EXPECT_FALSE(enabled(id)) << id;

  // On again with another number, then "übernehmen" with a third.
  vak::setText(ctl(ids::GebEdit), "12");
  click(ctl(ids::GebBox));
  EXPECT_EQ(regAt(lite("222"), "RemindBirthday"), "REG_SZ Yes");
  EXPECT_EQ(regAt(lite("222"), "RemindBirthdayDaysBefore"), "REG_DWORD 0xc");
  EXPECT_TRUE(enabled(ids::Button6));
  vak::setText(ctl(ids::GebEdit), "0");
  click(ctl(ids::Button6));
  EXPECT_EQ(regAt(lite("222"), "RemindBirthdayDaysBefore"), "REG_DWORD 0x0");
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(ProfileOptions, ProfileWithoutReminderValueGetsNo) {
  seedTwoProfiles();
  const std::string p = std::string(kHkcuOwners) + "\\333";
  seed_.key(p).str("Name", "Ohne");
  seed_.key(std::string(kHklmIcq) + "\\NewOwners\\333\\ICQLite").str("Nickname", "x");
  setBirthday("111", "Yes", 9);
  startApp();
  chooseProfile(2);
  EXPECT_FALSE(checked(ids::GebBox));
  EXPECT_EQ(text(ctl(ids::GebEdit)), "2");
  EXPECT_FALSE(enabled(ids::GebEdit));
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
  type(ctl(ids::GebEdit), "ab");
  EXPECT_EQ(text(ctl(ids::GebEdit)), "ab");
  press(ctl(ids::GebBox), VK_SPACE);
  EXPECT_FALSE(checked(ids::GebBox));
  EXPECT_EQ(regAt(lite("111"), "RemindBirthday"), "REG_SZ No");
  EXPECT_TRUE(ui_.boxes.empty());

  press(ctl(ids::GebBox), VK_SPACE);
  EXPECT_TRUE(checked(ids::GebBox));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "ICQMeldewart");
  EXPECT_EQ(ui_.boxes[0].text, T("'ab' ist kein gültiger Integerwert"));
  EXPECT_EQ(regAt(lite("111"), "RemindBirthday"), "REG_SZ Yes");
  EXPECT_EQ(regAt(lite("111"), "RemindBirthdayDaysBefore"), "REG_DWORD 0x4");
}

TEST_F(ProfileOptions, MultiInstanceIsFilledAtShowingAndWrittenAtOnce) {
  seedTwoProfiles();
  seed_.key(std::string(kHklmIcq) + "\\DefaultPrefs").str("MultiInstance", "Yes");
  startApp();
  EXPECT_TRUE(checked(ids::MultiIBox));
  EXPECT_EQ(regAt(kRegPrefs, "MultiInstance"), "REG_SZ Yes");
  click(ctl(ids::MultiIBox));
  EXPECT_EQ(regAt(kRegPrefs, "MultiInstance"), "REG_SZ No");
  click(ctl(ids::MultiIBox));
  EXPECT_EQ(regAt(kRegPrefs, "MultiInstance"), "REG_SZ Yes");
  closeApp();

  // Only "Yes" exactly ticks the box; the filling writes nothing then.
  run("reg add \"" + std::string(kRegPrefs) + "\" /v MultiInstance /d yes /f /reg:32");
  startApp();
  EXPECT_FALSE(checked(ids::MultiIBox));
  EXPECT_EQ(regAt(kRegPrefs, "MultiInstance"), "REG_SZ yes");
  closeApp();

  // Without ICQ's DefaultPrefs key a click creates it.
  wipeIcq();
  addProfile("111", "Max");
  setLastOwner(111);
  startApp();
  EXPECT_FALSE(checked(ids::MultiIBox));
  click(ctl(ids::MultiIBox));
  EXPECT_EQ(regAt(kRegPrefs, "MultiInstance"), "REG_SZ Yes");
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(ProfileOptions, DeletionNeedsAChoiceSparesTheDefaultProfileAndAsks) {
  seedTwoProfiles();
  addProfile("333", T("Jürgen"));
  startApp();
  EXPECT_EQ(items(ids::DelProfile), items(ids::NN));
  EXPECT_EQ(vak::comboSelected(ctl(ids::DelProfile)), -1);

  click(ctl(ids::DelProfileBtn));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Achtung!");
  EXPECT_EQ(ui_.boxes[0].text, T("Wählen sie erst ein Profil!"));
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconInfo);

  selectForDeletion(0);  // Max (111), ICQ's last profile
  click(ctl(ids::DelProfileBtn));
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[1].text, T("Das Standardprofil kann nicht gelöscht werden!"));
  EXPECT_EQ(ui_.boxes[1].icon, vak::MbIconError);

  selectForDeletion(2);
  deleteAnswering(vak::MbResNo);
  ASSERT_EQ(ui_.boxes.size(), 3u);
  EXPECT_EQ(ui_.boxes[2].caption, "Achtung!");
  EXPECT_EQ(ui_.boxes[2].text, T("Soll Das Profil Jürgen (333) wirklich gelöscht werden?"));
  EXPECT_EQ(ui_.boxes[2].buttons, vak::MbYesNo);
  EXPECT_EQ(ui_.boxes[2].icon, vak::MbIconWarning);

  EXPECT_EQ(vak::comboCount(ctl(ids::NN)), 3);
  EXPECT_TRUE(keyExists(std::string(kRegOwners) + "\\333"));
  EXPECT_TRUE(keyExists(std::string(kRegLite) + "333"));
  EXPECT_TRUE(keyExists(std::string(kRegOwners) + "\\111"));
}

TEST_F(ProfileOptions, DeletionRemovesTheProfileUnderBothRoots) {
  seedTwoProfiles();
  addProfile("333", "Clara");
  startApp();
  selectForDeletion(1);
  deleteAnswering(vak::MbResYes);
  EXPECT_FALSE(keyExists(std::string(kRegOwners) + "\\222"));
  EXPECT_FALSE(keyExists(std::string(kRegLite) + "222"));
  EXPECT_TRUE(keyExists(std::string(kRegOwners) + "\\333\\CustomStatusList\\1"));
  EXPECT_TRUE(keyExists(std::string(kRegLite) + "333"));
  const std::vector<std::string> left{"Max (111)", "Clara (333)"};
  EXPECT_EQ(items(ids::NN), left);
  EXPECT_EQ(items(ids::DelProfile), left);
  EXPECT_EQ(vak::comboSelected(ctl(ids::DelProfile)), -1);
  EXPECT_EQ(vak::comboSelected(ctl(ids::NN)), 0);
  EXPECT_EQ(form().profileKeys(), (std::vector<std::string>{"111", "333"}));
  // The start-number list keeps it until the next start.
  EXPECT_EQ(vak::comboCount(ctl(ids::C_ICQNr)), 3);
  EXPECT_EQ(ui_.boxes.size(), 1u);

  // Positions still meet: the next deletion and the next read find Clara.
  chooseProfile(1);
  EXPECT_EQ(form().currentProfile(), "333");
  EXPECT_EQ(title(1), seedTitle("333", 1));
}

// The tables keep showing a deleted profile; nothing may write it back.
TEST_F(ProfileOptions, DeletedShownProfileIsNotWrittenBack) {
  seedTwoProfiles();
  startApp();
  chooseProfile(1);
  selectForDeletion(1);
  deleteAnswering(vak::MbResYes);
  EXPECT_EQ(vak::comboSelected(ctl(ids::NN)), -1);
  EXPECT_EQ(title(1), seedTitle("222", 1));
  EXPECT_FALSE(enabled(ids::GebBox));

  click(ctl(ids::Button1));
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[1].caption, "Achtung!");
  EXPECT_EQ(ui_.boxes[1].text, T("Das angezeigte Profil wurde gelöscht.\r\nWählen sie erst ein Profil!"));
  form().options().GebBoxClick();
  EXPECT_FALSE(keyExists(std::string(kRegOwners) + "\\222"));
  EXPECT_FALSE(keyExists(std::string(kRegLite) + "222"));
  EXPECT_EQ(GetFileAttributesA((folder_ + "\\Backup\\1.icq").c_str()), INVALID_FILE_ATTRIBUTES);

  // Choosing a profile ends it.
  chooseProfile(0);
  EXPECT_TRUE(enabled(ids::GebBox));
  editCell(3, 1, "neu");
  click(ctl(ids::Button1));
  EXPECT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(regAt(std::string(kRegOwners) + "\\111\\CustomStatusList\\3", "Name"), "REG_SZ neu");
}

TEST_F(ProfileOptions, Button8ShowsIcqsHiddenWindow) {
  addProfile("1234567890", "Anna");
  setLastOwner(1234567890);
  setLiteVersion("2050");
  startApp();
  {
    IcqWindow icq(L"123-456-789");
    ASSERT_FALSE(IsWindowVisible(icq.hwnd()));
    click(ctl(ids::Button8));
    EXPECT_TRUE(IsWindowVisible(icq.hwnd()));
    EXPECT_TRUE(ui_.boxes.empty());
  }
  click(ctl(ids::Button8));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "ICQMeldewart");
  EXPECT_EQ(ui_.boxes[0].text, "Fenster nicht gefunden!");
  EXPECT_EQ(ui_.boxes[0].buttons, vak::MbOk);
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbNoIcon);
  EXPECT_EQ(text(ctl(ids::Button8)), "ICQ-Fester wieder anzeigen");
}

TEST_F(ProfileOptions, TextsAndHintsFollowTheHintSwitch) {
  seedTwoProfiles();
  startApp();
  EXPECT_EQ(text(ctl(ids::GroupBox1)), "ICQTweaks und Einstellungen");
  EXPECT_EQ(text(ctl(ids::Label13)),
            T("Ab und zu lässt sich das ICQ-Haupfenster nicht\r\nmehr aufrufen. Ein Klick und es erscheint wieder."));
  EXPECT_EQ(form().hints().text(ctl(ids::MultiIBox)),
            T("Macht es möglich ICQ mehrfach, also\r\nmit verschiedenen Profilen laufen zu lassen"));
  EXPECT_EQ(form().hints().text(ctl(ids::DelProfileBtn)), T("löscht das gewählte Profil"));
  const std::string birthday =
      T("Achtung!\r\nDamit die Einstellungen korrekt übernommen werden,\r\ndarf ICQ bis zum nächsten PC-Start nicht "
        "erneut\r\nausgeführt werden!");
  const int switched[] = {ids::MultiIBox, ids::GebBox, ids::Gebl1, ids::Gebl2, ids::GebEdit, ids::DelProfileBtn};
  for (int id : {ids::GebBox, ids::Gebl1, ids::Gebl2, ids::GebEdit}) EXPECT_EQ(form().hints().text(ctl(id)), birthday);
  for (int id : switched) EXPECT_TRUE(form().hints().enabled(ctl(id))) << id;
  click(ctl(ids::HintBox));
  for (int id : switched) EXPECT_FALSE(form().hints().enabled(ctl(id))) << id;
  click(ctl(ids::HintBox));
  for (int id : switched) EXPECT_TRUE(form().hints().enabled(ctl(id))) << id;
}

// Tab walks the tweaks page in reading order: the sound rows follow the
// master box and come before "Reset", even though they are made later.
TEST_F(ProfileOptions, TabWalksTheGroupsInReadingOrder) {
  seedTwoProfiles();
  setBirthday("111", "Yes", 3);
  startApp();
  form().setActivePage(1);
  SetForegroundWindow(mainWnd());
  std::vector<int> order;
  HWND at = ctl(ids::MultiIBox);
  SetFocus(at);
  order.push_back(GetDlgCtrlID(GetFocus()));
  for (int i = 0; i < 30; ++i) {
    press(GetFocus(), VK_TAB);
    order.push_back(GetDlgCtrlID(GetFocus()));
  }
  std::vector<int> expected{ids::MultiIBox, ids::GebBox, ids::GebEdit, ids::Button6, ids::DelProfile,
                            ids::DelProfileBtn, ids::Button8};
  for (int n = 1; n <= 10; ++n) {
    expected.push_back(ids::PlayButton1 + n - 1);
    expected.push_back(ids::ChangeButton1 + n - 1);
  }
  expected.push_back(ids::Button4);
  ASSERT_GE(order.size(), expected.size());
  order.resize(expected.size());
  EXPECT_EQ(order, expected);
}

// "vak.exe -1" re-shows ICQ's window and ends at once with exit code 0; other
// command lines start the program as usual.
class CommandLine : public ProfileOptions {
 protected:
  std::string exe() const { return folder_ + "\\vak.exe"; }
  void installExe() {
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string built(self, n);
    built = built.substr(0, built.find_last_of('\\'));
    built = built.substr(0, built.find_last_of('\\')) + "\\bin\\vak.exe";
    ASSERT_TRUE(CopyFileA(built.c_str(), exe().c_str(), FALSE)) << built;
  }
  // Starts the program; pumps this thread's messages (the window shown from
  // the other process needs them) until it ends or idleOnly and it waits for input.
  PROCESS_INFORMATION start(const std::string& args) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe() + "\" " + args;
    EXPECT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &si, &pi));
    return pi;
  }
  // Waits for the process while serving this thread's windows; false when it
  // has not ended after a generous limit (a hang, not a speed measure).
  bool waitForEnd(HANDLE process) {
    for (int i = 0; i < 1200; ++i) {
      const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, 100, QS_ALLINPUT);
      if (r == WAIT_OBJECT_0) return true;
      pumpMessages();
    }
    return false;
  }
  static DWORD exitCode(HANDLE process) {
    DWORD code = 99;
    GetExitCodeProcess(process, &code);
    return code;
  }
  static HWND mainWindowOf(DWORD pid) {
    struct Find {
      DWORD pid;
      HWND found;
    } f{pid, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
          auto* f = reinterpret_cast<Find*>(lp);
          DWORD owner = 0;
          GetWindowThreadProcessId(h, &owner);
          wchar_t cls[32] = L"";
          GetClassNameW(h, cls, 32);
          if (owner == f->pid && std::wstring(cls) == L"TForm1") {
            f->found = h;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
  }
};

TEST_F(CommandLine, MinusOneShowsIcqsWindowAndEnds) {
  addProfile("123456789", "Anna");
  setLastOwner(123456789);
  setLiteVersion("2050");
  seed_.import(folder_);
  installExe();
  IcqWindow icq(L"123-456-789");
  ASSERT_FALSE(IsWindowVisible(icq.hwnd()));
  PROCESS_INFORMATION pi = start("-1");
  ASSERT_TRUE(pi.hProcess);
  const bool ended = waitForEnd(pi.hProcess);
  if (!ended) TerminateProcess(pi.hProcess, 1);
  EXPECT_TRUE(ended);
  EXPECT_EQ(exitCode(pi.hProcess), 0u);
  EXPECT_TRUE(IsWindowVisible(icq.hwnd()));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

TEST_F(CommandLine, OtherArgumentsAreIgnored) {
  addProfile("123456789", "Anna");
  setLastOwner(123456789);
  setLiteVersion("2050");
  seed_.import(folder_);
  installExe();
  IcqWindow icq(L"123-456-789");
  for (const char* args : {"-1 x", "/1"}) {
    PROCESS_INFORMATION pi = start(args);
    ASSERT_TRUE(pi.hProcess);
    WaitForInputIdle(pi.hProcess, 60000);
    pumpMessages();
    HWND main = mainWindowOf(pi.dwProcessId);
    EXPECT_TRUE(main) << args;
    EXPECT_FALSE(IsWindowVisible(icq.hwnd())) << args;
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    const bool ended = waitForEnd(pi.hProcess);
    if (!ended) TerminateProcess(pi.hProcess, 1);
    EXPECT_TRUE(ended) << args;
    EXPECT_EQ(exitCode(pi.hProcess), 0u) << args;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}
