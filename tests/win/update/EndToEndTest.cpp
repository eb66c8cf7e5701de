// The update as a user meets it: the real vak.exe, started as a process of
// its own, checks the test's server on 127.0.0.1, downloads the update and
// hands over to the real updater.exe, which replaces the program and starts
// the new one. Also the close at exit, which ends the process.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

#include "TestServer.h"
#include "TestSupport.h"
#include "platform/Text.h"
#include "platform/WinText.h"

using namespace vaktest;
using vak::T;

namespace {

std::string windowsPath(const char* variable) {
  const char* unixPath = std::getenv(variable);
  if (!unixPath || !*unixPath) return std::string();
  const std::string p = std::string("Z:") + unixPath;
  char full[MAX_PATH * 4];
  const DWORD n = GetFullPathNameA(p.c_str(), sizeof full, full, nullptr);
  return n > 0 && n < sizeof full ? std::string(full, n) : p;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool waitFor(const std::function<bool()>& done, int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (done()) return true;
    Sleep(50);
  }
  return done();
}

class Process {
 public:
  Process(const std::string& exe, const std::string& folder) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string cmd = "\"" + exe + "\"";
    started_ = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi_) != 0;
  }
  ~Process() {
    if (!started_) return;
    if (running()) TerminateProcess(pi_.hProcess, 99);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  bool started() const { return started_; }
  bool running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }
  // Exit code, or -1 when it did not end in time.
  long exitCode(int ms) const {
    if (WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(ms)) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
  }
  DWORD id() const { return pi_.dwProcessId; }
  void waitIdle() const { WaitForInputIdle(pi_.hProcess, 10000); }

 private:
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};

// A message box of another process, by its caption (UTF-8 literal).
HWND findBox(const char* caption, int ms = 20000) {
  HWND box = nullptr;
  const std::wstring title = vak::W(caption);
  waitFor([&] { return (box = FindWindowW(L"#32770", title.c_str())) != nullptr; }, ms);
  return box;
}

std::string foreignText(HWND h) {
  wchar_t buf[2048] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got);
  return vak::narrow(buf);
}

// The longest static text of a message box: its message.
std::string boxText(HWND box) {
  std::string longest;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM lp) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        if (lstrcmpiW(cls, L"Static") == 0) {
          std::string t = foreignText(child);
          auto* best = reinterpret_cast<std::string*>(lp);
          if (t.size() > best->size()) *best = t;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&longest));
  return longest;
}

void answer(HWND box, int button) {
  HWND b = GetDlgItem(box, button);
  ASSERT_TRUE(b) << "no button " << button;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(b));
}

// The main window of the program in process pid.
HWND mainWindowOf(DWORD pid) {
  struct Find {
    DWORD pid;
    HWND found;
  } f{pid, nullptr};
  waitFor(
      [&] {
        EnumWindows(
            [](HWND h, LPARAM lp) -> BOOL {
              auto* f = reinterpret_cast<Find*>(lp);
              DWORD owner = 0;
              GetWindowThreadProcessId(h, &owner);
              wchar_t cls[32] = {};
              GetClassNameW(h, cls, 32);
              if (owner == f->pid && lstrcmpW(cls, L"TForm1") == 0 && IsWindowVisible(h)) {
                f->found = h;
                return FALSE;
              }
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&f));
        return f.found != nullptr;
      },
      20000);
  return f.found;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    bin_ = windowsPath("VAK_BIN_DIR");
    helpers_ = windowsPath("VAK_HELPER_DIR");
    ASSERT_FALSE(bin_.empty()) << "VAK_BIN_DIR is not set";
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = freshDir(std::string("e2e_") + info->name());
    oldProgram_ = readFileBytes(bin_ + "\\vak.exe");
    newProgram_ = readFileBytes(helpers_ + "\\vak_test_newprogram.exe");
    updater_ = readFileBytes(bin_ + "\\updater.exe");
    writeFileBytes(program(), oldProgram_);
    setUpdateServer(server_.url());
  }
  void TearDown() override { setUpdateServer(""); }

  std::string program() const { return dir_ + "\\ICQ-Meldewart.exe"; }
  void updateMode(int mode) {
    writeFileBytes(dir_ + "\\Einst.ini", "[Einstellungen]\r\n#03=" + std::to_string(mode) + "\r\n");
  }
  void announce(const std::string& version) {
    server_.set("/vak/update.ini", "[Update]\r\n#01=" + version + "\r\n#03=" + server_.url() +
                                       "/files/new.exe\r\n#04=" + server_.url() + "/files/updater.exe\r\n#06=" +
                                       server_.url() + "/files/engl.lng\r\n#05=300KB\r\n");
    server_.set("/files/new.exe", newProgram_);
    server_.set("/files/updater.exe", updater_);
    server_.set("/files/engl.lng", language_);
  }

  TestServer server_;
  std::string bin_, helpers_, dir_;
  std::string oldProgram_, newProgram_, updater_;
  std::string language_ = "[Info]\r\n#02=English\r\n";
};

}  // namespace

TEST_F(EndToEnd, UpdateReplacesTheProgramAndStartsTheNewOne) {
  updateMode(1);
  announce("2.0");
  Process vak(program(), dir_);
  ASSERT_TRUE(vak.started());
  HWND box = findBox("Aktualisieren?");
  ASSERT_TRUE(box) << "no update offered at start";
  EXPECT_EQ(boxText(box), T("Updates vorhanden!\r\nWollen sie jetzt auf 2.0 aktualisieren?"));
  answer(box, IDYES);
  // The program ends at once after starting the updater.
  EXPECT_EQ(vak.exitCode(20000), 0);
  // The updater waits for it, puts the new program in place and starts it.
  ASSERT_TRUE(waitFor([&] { return exists(dir_ + "\\started.txt"); }, 30000)) << "the new program did not start";
  EXPECT_NE(readFileBytes(dir_ + "\\started.txt").find("ICQ-Meldewart.exe"), std::string::npos);
  EXPECT_TRUE(readFileBytes(program()) == newProgram_) << "the program file was not replaced";
  EXPECT_FALSE(exists(dir_ + "\\ICQ-Meldewart.tmp"));
  EXPECT_EQ(readFileBytes(dir_ + "\\LNG\\engl.lng"), language_);
  EXPECT_EQ(server_.count("/files/new.exe"), 1);
}

TEST_F(EndToEnd, FailedDownloadLeavesTheOldProgramRunning) {
  updateMode(1);
  announce("2.0");
  server_.set("/files/engl.lng", TestServer::Reply{404, "<html>Not found</html>", "text/html"});
  Process vak(program(), dir_);
  ASSERT_TRUE(vak.started());
  HWND offer = findBox("Aktualisieren?");
  ASSERT_TRUE(offer);
  answer(offer, IDYES);
  HWND error = findBox("Fehler!");
  ASSERT_TRUE(error) << "the failed download was not reported";
  EXPECT_NE(boxText(error).find("nicht installiert"), std::string::npos) << boxText(error);
  answer(error, IDOK);
  Sleep(300);
  EXPECT_TRUE(vak.running());
  EXPECT_TRUE(readFileBytes(program()) == oldProgram_);
  for (const char* left : {"\\ICQ-Meldewart.tmp", "\\updater.exe", "\\LNG"})
    EXPECT_FALSE(exists(dir_ + left)) << left;
  // Closing still works and ends with exit code 0.
  HWND main = mainWindowOf(vak.id());
  ASSERT_TRUE(main);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(vak.exitCode(20000), 0);
  EXPECT_FALSE(exists(dir_ + "\\update.ini"));
}

TEST_F(EndToEnd, CheckAtStartOnASilentServerShowsTheWindowMeanwhile) {
  // The server takes the request and never answers: the window is there and
  // answers while the program waits for it, then the check gives up.
  updateMode(1);
  TestServer::Reply silent;
  silent.holdBeforeHeaders = true;
  server_.set("/vak/update.ini", silent);
  setEnvironment("VAK_HTTP_STALL_MS", "4000");
  Process vak(program(), dir_);
  ASSERT_TRUE(vak.started());
  const DWORD start = GetTickCount();
  HWND main = mainWindowOf(vak.id());
  ASSERT_TRUE(main) << "no window while the check waits";
  DWORD_PTR got = 0;
  EXPECT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &got));
  EXPECT_LT(GetTickCount() - start, 4000u) << "the window came only after the check";
  HWND box = findBox("Achtung!");
  setEnvironment("VAK_HTTP_STALL_MS", "");
  ASSERT_TRUE(box) << "the check did not give up";
  EXPECT_EQ(boxText(box), T("Fehler beim Herunterladen der Daten\r\nPrüfen sie Ihre Internetverbindung!"));
  answer(box, IDOK);
  EXPECT_TRUE(waitFor([&] { return !IsWindow(box); }, 5000));
  EXPECT_TRUE(IsWindowVisible(main));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(vak.exitCode(20000), 0);
}

TEST_F(EndToEnd, CloseChecksForUpdatesOnlyWhenChosen) {
  updateMode(2);
  announce("2.0");
  {
    Process vak(program(), dir_);
    HWND main = mainWindowOf(vak.id());
    ASSERT_TRUE(main);
    vak.waitIdle();
    EXPECT_EQ(server_.count("/vak/update.ini"), 0);
    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND box = findBox("Info!");
    ASSERT_TRUE(box) << "no question at exit";
    EXPECT_EQ(boxText(box), T("Updates vorhanden!\r\nWollen sie jetzt auf 2.0 aktualisieren?"));
    answer(box, IDNO);
    EXPECT_EQ(vak.exitCode(20000), 0);
    EXPECT_FALSE(exists(dir_ + "\\update.ini"));
    EXPECT_TRUE(readFileBytes(program()) == oldProgram_);
  }
  updateMode(3);
  {
    Process vak(program(), dir_);
    HWND main = mainWindowOf(vak.id());
    ASSERT_TRUE(main);
    vak.waitIdle();
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(vak.exitCode(20000), 0);
    EXPECT_EQ(server_.count("/vak/update.ini"), 1) << "the check ran without being chosen";
  }
}

TEST_F(EndToEnd, UpdaterKeepsTheProgramUntilItCanReplaceIt) {
  const std::string updater = dir_ + "\\updater.exe";
  // What the program leaves for the updater (the program itself removes it at start and close).
  auto leaveInfo = [&] {
    writeFileBytes(updater, updater_);
    writeFileBytes(dir_ + "\\update.ini", "[Update]\r\n#02=" + program() + "\r\n");
  };
  leaveInfo();
  _putenv("VAK_UPDATER_WAIT_MS=1500");

  // No new program file: nothing is touched.
  {
    Process run(updater, dir_);
    HWND box = findBox("Meldewart für ICQ - Update");
    ASSERT_TRUE(box);
    EXPECT_NE(boxText(box).find("fehlt"), std::string::npos) << boxText(box);
    answer(box, IDOK);
    EXPECT_EQ(run.exitCode(10000), 2);
    EXPECT_TRUE(readFileBytes(program()) == oldProgram_);
  }

  // The program still runs: the updater gives up after its time limit.
  writeFileBytes(dir_ + "\\ICQ-Meldewart.tmp", newProgram_);
  updateMode(3);
  Process vak(program(), dir_);
  HWND main = mainWindowOf(vak.id());
  ASSERT_TRUE(main);
  vak.waitIdle();
  leaveInfo();
  {
    Process run(updater, dir_);
    HWND box = findBox("Meldewart für ICQ - Update");
    ASSERT_TRUE(box);
    EXPECT_NE(boxText(box).find(T("läuft noch")), std::string::npos) << boxText(box);
    answer(box, IDOK);
    EXPECT_EQ(run.exitCode(10000), 3);
    EXPECT_TRUE(readFileBytes(program()) == oldProgram_);
    EXPECT_TRUE(exists(dir_ + "\\ICQ-Meldewart.tmp"));
  }

  // Once it has ended, the update goes through.
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(vak.exitCode(20000), 0);
  leaveInfo();
  {
    Process run(updater, dir_);
    EXPECT_EQ(run.exitCode(20000), 0);
  }
  EXPECT_TRUE(waitFor([&] { return exists(dir_ + "\\started.txt"); }, 20000));
  EXPECT_TRUE(readFileBytes(program()) == newProgram_);
  EXPECT_FALSE(exists(dir_ + "\\ICQ-Meldewart.tmp"));
  _putenv("VAK_UPDATER_WAIT_MS=");
}

TEST_F(EndToEnd, UpdaterRefusesWhatIsNoWholeWindowsProgram) {
  const std::string updater = dir_ + "\\updater.exe";
  const std::string refused = T("kein vollständiges Windows-Programm");
  // An error page that the server sends as the new program: the program
  // downloads it (it came whole) and hands over, the updater refuses it.
  updateMode(1);
  announce("2.0");
  server_.set("/files/new.exe",
              TestServer::Reply{200, "<html><body><h1>Wartungsarbeiten</h1></body></html>", "text/html"});
  {
    Process vak(program(), dir_);
    ASSERT_TRUE(vak.started());
    HWND offer = findBox("Aktualisieren?");
    ASSERT_TRUE(offer);
    answer(offer, IDYES);
    EXPECT_EQ(vak.exitCode(20000), 0);
    HWND box = findBox("Meldewart für ICQ - Update");
    ASSERT_TRUE(box) << "the updater did not refuse the page";
    EXPECT_NE(boxText(box).find(refused), std::string::npos) << boxText(box);
    answer(box, IDOK);
    waitFor([&] { return !IsWindow(box); }, 5000);
  }
  EXPECT_TRUE(readFileBytes(program()) == oldProgram_);
  EXPECT_FALSE(exists(dir_ + "\\ICQ-Meldewart.tmp"));

  // Pieces of a real program, and a whole one for another machine.
  std::string otherMachine = newProgram_;
  const auto peAt = *reinterpret_cast<const std::uint32_t*>(otherMachine.data() + 0x3C);
  otherMachine[peAt + 4] = '\x4c';  // IMAGE_FILE_MACHINE_I386 (0x014C)
  otherMachine[peAt + 5] = '\x01';
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"cut at half", newProgram_.substr(0, newProgram_.size() / 2)},
      {"only its headers", newProgram_.substr(0, 1024)},
      {"another machine", otherMachine},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeFileBytes(updater, updater_);
    writeFileBytes(dir_ + "\\update.ini", "[Update]\r\n#02=" + program() + "\r\n");
    writeFileBytes(dir_ + "\\ICQ-Meldewart.tmp", c.bytes);
    Process run(updater, dir_);
    HWND box = findBox("Meldewart für ICQ - Update");
    ASSERT_TRUE(box);
    EXPECT_NE(boxText(box).find(refused), std::string::npos) << boxText(box);
    answer(box, IDOK);
    EXPECT_EQ(run.exitCode(10000), 6);
    EXPECT_TRUE(readFileBytes(program()) == oldProgram_);
    EXPECT_FALSE(exists(dir_ + "\\ICQ-Meldewart.tmp"));
  }

  // The old program is still there and runs.
  updateMode(3);
  Process vak(program(), dir_);
  HWND main = mainWindowOf(vak.id());
  ASSERT_TRUE(main) << "the old program does not start any more";
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(vak.exitCode(20000), 0);
}
