// The update check against a server of the test on 127.0.0.1, through
// Wine's WinINet: the manual check and its result area, the automatic checks
// at start and at exit, the download of an update and the hand-over.
#include <atomic>
#include <thread>

#include "GuiFixture.h"
#include "Keyboard.h"
#include "TestServer.h"
#include "ViewerDrive.h"
#include "settings/UpdateCheck.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::T;

namespace {

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A body of n bytes that tells its blocks apart.
std::string bytes(std::size_t n, char seed) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + static_cast<char>(i % 61));
  return s;
}

// From a second thread, while this one runs a handler: after delayMs, whether
// the window answers a message within a second, and then, if given, a
// message posted to it (a click, a close) as a user's would arrive.
class Meanwhile {
 public:
  Meanwhile(HWND window, DWORD delayMs, UINT post = 0, WPARAM wp = 0, LPARAM lp = 0) {
    thread_ = std::thread([=] {
      Sleep(delayMs);
      wchar_t buf[64];
      DWORD_PTR result = 0;
      answered_ = SendMessageTimeoutW(window, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 1000,
                                      &result) != 0;
      if (post) PostMessageW(window, post, wp, lp);
    });
  }
  ~Meanwhile() {
    if (thread_.joinable()) thread_.join();
  }
  Meanwhile(const Meanwhile&) = delete;
  Meanwhile& operator=(const Meanwhile&) = delete;
  bool answered() {
    if (thread_.joinable()) thread_.join();
    return answered_;
  }

 private:
  std::atomic<bool> answered_{false};
  std::thread thread_;
};

class UpdateTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    setUpdateServer(server_.url());
    // A transfer gives up after 1.5 s without a byte, the update information after 2.5 s.
    setEnvironment("VAK_HTTP_STALL_MS", std::to_string(kStallMs));
    setEnvironment("VAK_HTTP_TOTAL_MS", "2500");
    seedTwoProfiles();
  }
  void TearDown() override {
    GuiTest::TearDown();
    setUpdateServer("");
    setEnvironment("VAK_HTTP_STALL_MS", "");
    setEnvironment("VAK_HTTP_TOTAL_MS", "");
  }
  static constexpr DWORD kStallMs = 1500;

  // update.ini as the server sends it; the three files lie on the same server.
  void announce(const std::string& version, bool withSources = true, const std::string& size = "") {
    std::string ini = "[Update]\r\n";
    if (!version.empty()) ini += "#01=" + version + "\r\n";
    if (withSources) {
      ini += "#03=" + server_.url() + "/files/ICQ-Meldewart.exe\r\n";
      ini += "#04=" + server_.url() + "/files/updater.exe\r\n";
      ini += "#06=" + server_.url() + "/files/engl.lng\r\n";
    }
    if (!size.empty()) ini += "#05=" + size + "\r\n";
    server_.set("/vak/update.ini", ini);
  }
  void serveFiles() {
    server_.set("/files/ICQ-Meldewart.exe", newProgram_);
    server_.set("/files/updater.exe", updater_);
    server_.set("/files/engl.lng", language_);
  }
  void updateMode(int mode) { writeEinst("[Einstellungen]\r\n#03=" + std::to_string(mode) + "\r\n"); }

  std::string status() const { return text(ctl(ids::UDStatus)); }
  bool shown(int id) const { return shownStyle(ctl(id)); }
  std::string infoFile() const { return folder_ + "\\update.ini"; }
  std::string programPath() const {
    char own[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string name(own, n);
    return folder_ + "\\" + name.substr(name.find_last_of("\\/") + 1);
  }
  std::string offer(const std::string& version) const {
    return T("Updates vorhanden!\r\nWollen sie jetzt auf ") + version + " aktualisieren?";
  }
  std::string downloadError() const {
    return T("Fehler beim Herunterladen der Daten\r\nPrüfen sie Ihre Internetverbindung!");
  }
  std::string updateFailed() const {
    return T("Fehler beim Herunterladen der Daten\r\nDas Update wurde nicht installiert, das Programm bleibt "
             "unverändert.");
  }
  // Nothing of a failed or stopped update is left in the program folder.
  void expectFolderAsBefore() {
    for (const char* left : {"\\ICQ-Meldewart.tmp", "\\updater.exe", "\\LNG", "\\ICQ-Meldewart.tmp.part",
                             "\\updater.exe.part"})
      EXPECT_FALSE(exists(folder_ + left)) << left;
    EXPECT_TRUE(shell_.opened.empty());
    EXPECT_TRUE(shell_.exits.empty());
  }
  LPARAM endUD() const { return reinterpret_cast<LPARAM>(ctl(ids::EndUD)); }

  TestServer server_;
  std::string newProgram_ = "MZ" + bytes(2500, 'a');  // three blocks
  std::string updater_ = "MZ" + bytes(700, 'k');      // one block
  std::string language_ = "[Info]\r\n#02=English\r\n";
};

}  // namespace

TEST_F(UpdateTest, ManualCheckShowsEachAnswerAndCountsBlocksAcrossChecks) {
  startApp();
  EXPECT_TRUE(IsWindowEnabled(ctl(ids::TestUD)));
  EXPECT_FALSE(shown(ids::UdCheckbox));
  EXPECT_EQ(text(ctl(ids::EndUD)), "Abbrechen");

  announce("2.0 RC3");
  menu(ids::Einstellungen1);
  click(ctl(ids::TestUD));
  EXPECT_TRUE(shown(ids::UdCheckbox));
  EXPECT_FALSE(shown(ids::TestUD));
  EXPECT_EQ(status(), T("Updateprüfung abgeschlossen!\r\nKeine Updates vorhanden!"));
  EXPECT_FALSE(shown(ids::UDBtn));
  EXPECT_TRUE(shown(ids::InfoBtn));
  // Before any update download the size text is empty.
  EXPECT_EQ(text(ctl(ids::Fortschritt)), "1KB | ");
  // The file stays, with the program's own path for the updater.
  EXPECT_EQ(vak::IniFile(infoFile()).readString("Update", "#02", "<none>"), programPath());

  // A second check, from the menu while the result area is open: the block
  // counter goes on from the first check.
  announce("2.1");
  menu(ids::aufUpdateprfen1);
  EXPECT_EQ(form().activePage(), 2);
  EXPECT_EQ(status(), T("Updateprüfung abgeschlossen!"));
  EXPECT_TRUE(shown(ids::UDBtn));
  EXPECT_TRUE(shown(ids::InfoBtn));
  EXPECT_EQ(text(ctl(ids::UDBtn)), "auf Version 2.1 aktuallisieren");
  EXPECT_EQ(text(ctl(ids::Fortschritt)), "2KB | ");
  EXPECT_EQ(form().settingsPage().update().blockCounter(), 2);

  announce("2.0");
  click(ctl(ids::TestUD));  // hidden, but still the same handler: checks again
  EXPECT_EQ(text(ctl(ids::UDBtn)), "auf Version 2.0 aktuallisieren");

  // Without "#01" the release 2.0 is meant.
  announce("");
  menu(ids::aufUpdateprfen1);
  EXPECT_EQ(text(ctl(ids::UDBtn)), "auf Version 2.0 aktuallisieren");
  EXPECT_EQ(form().settingsPage().update().newVersion(), "2.0");

  click(ctl(ids::EndUD));
  EXPECT_FALSE(shown(ids::UdCheckbox));
  EXPECT_FALSE(shown(ids::UDBtn));
  EXPECT_TRUE(shown(ids::TestUD));
  EXPECT_FALSE(exists(infoFile()));
  EXPECT_EQ(server_.count("/vak/update.ini"), 4);
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(UpdateTest, ManualCheckFailuresKeepNoErrorPage) {
  startApp();
  menu(ids::Einstellungen1);
  struct Case {
    const char* what;
    TestServer::Reply reply;
  };
  announce("2.1");
  click(ctl(ids::TestUD));
  ASSERT_TRUE(shown(ids::UDBtn));
  const Case cases[] = {
      {"404", TestServer::Reply{404, "<html>Not here</html>", "text/html"}},
      {"500", TestServer::Reply{500, "[Update]\r\n#01=9.9\r\n"}},
      {"truncated", TestServer::Reply{200, "[Update]\r\n#01=2.1\r\n#03=http://x/" + bytes(3000, 'a'), "text/plain", 1500}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server_.set("/vak/update.ini", c.reply);
    click(ctl(ids::TestUD));
    EXPECT_EQ(status(), downloadError());
    EXPECT_FALSE(shown(ids::UDBtn));
    EXPECT_FALSE(shown(ids::InfoBtn));
    EXPECT_FALSE(exists(infoFile())) << "an incomplete answer is not kept as the update information";
  }
  // No server at all.
  setUpdateServer(TestServer::deadUrl());
  click(ctl(ids::TestUD));
  EXPECT_EQ(status(), downloadError());
  EXPECT_FALSE(shown(ids::UDBtn));
  EXPECT_FALSE(shown(ids::InfoBtn));
  EXPECT_TRUE(ui_.boxes.empty()) << "the manual check reports in its result area";
}

TEST_F(UpdateTest, UnwritableProgramFolderIsReported) {
  // update.ini cannot be created where a folder of that name is.
  CreateDirectoryA(infoFile().c_str(), nullptr);
  startApp();
  announce("2.1");
  menu(ids::aufUpdateprfen1);
  const std::string error = "In " + infoFile() + " kann nicht geschrieben werden";
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, error);
  EXPECT_EQ(status(), error);
  EXPECT_FALSE(shown(ids::UDBtn));
  // The window is not left waiting: another check can start.
  EXPECT_FALSE(form().settingsPage().update().transferRunning());
  EXPECT_TRUE(IsWindowEnabled(ctl(ids::TestUD)));
}

TEST_F(UpdateTest, CheckAtStart) {
  updateMode(1);
  // "2.0" is offered; No removes the file.
  announce("2.0");
  startApp();
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Aktualisieren?");
  EXPECT_EQ(ui_.boxes[0].text, offer("2.0"));
  EXPECT_EQ(ui_.boxes[0].buttons, vak::MbYesNo);
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconInfo);
  EXPECT_FALSE(exists(infoFile()));
  EXPECT_TRUE(form().shared().startupDone);
  closeApp();

  // Only the release 2.0 is offered at start: 2.1 and the program's own version are not.
  for (const char* version : {"2.1", "2.0 RC3"}) {
    ui_.boxes.clear();
    announce(version);
    startApp();
    EXPECT_TRUE(ui_.boxes.empty()) << version;
    EXPECT_FALSE(exists(infoFile())) << version;
    closeApp();
  }

  // Yes with an update information that names no files: the file stays.
  ui_.boxes.clear();
  announce("", false);
  ui_.answers.push_back(vak::MbResYes);
  startApp();
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[0].text, offer("2.0"));
  EXPECT_EQ(ui_.boxes[1].caption, "Fehler!");
  EXPECT_EQ(ui_.boxes[1].text, T("Die Update.ini scheint ungültig zu sein!"));
  EXPECT_EQ(ui_.boxes[1].icon, vak::MbIconError);
  EXPECT_TRUE(exists(infoFile()));
  EXPECT_TRUE(shell_.opened.empty());
  EXPECT_TRUE(shell_.exits.empty());
  closeApp();

  // A refusing server: its status is the box's second line.
  ui_.boxes.clear();
  server_.set("/vak/update.ini", TestServer::Reply{404, "<html>gone</html>", "text/html"});
  startApp();
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Achtung!");
  EXPECT_EQ(ui_.boxes[0].text, downloadError() + "\r\nDer Server antwortete mit HTTP 404.");
  closeApp();

  // No server: "Achtung!", and start-up goes on.
  ui_.boxes.clear();
  setUpdateServer(TestServer::deadUrl());
  startApp();
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Achtung!");
  EXPECT_EQ(ui_.boxes[0].text, downloadError());
  EXPECT_EQ(ui_.boxes[0].buttons, vak::MbOk);
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconInfo);
  EXPECT_FALSE(exists(infoFile()));
}

TEST_F(UpdateTest, UpdateDownloadsTheThreeFilesAndHandsOver) {
  announce("2.1");  // no "#05": the size reads "???KB"
  serveFiles();
  // An existing language folder is no obstacle.
  CreateDirectoryA((folder_ + "\\LNG").c_str(), nullptr);
  startApp();
  menu(ids::aufUpdateprfen1);
  ASSERT_TRUE(shown(ids::UDBtn));
  click(ctl(ids::UDBtn));
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(readFileBytes(folder_ + "\\ICQ-Meldewart.tmp"), newProgram_);
  EXPECT_EQ(readFileBytes(folder_ + "\\updater.exe"), updater_);
  EXPECT_EQ(readFileBytes(folder_ + "\\LNG\\engl.lng"), language_);
  for (const char* part : {"\\ICQ-Meldewart.tmp.part", "\\updater.exe.part", "\\LNG\\engl.lng.part"})
    EXPECT_FALSE(exists(folder_ + part)) << part;
  // 1 block for update.ini, 3 + 1 + 1 for the files.
  EXPECT_EQ(text(ctl(ids::Fortschritt)), "6KB | ???KB");
  // The updater finds the program's path in the update information.
  EXPECT_EQ(vak::IniFile(infoFile()).readString("Update", "#02", ""), programPath());
  ASSERT_EQ(shell_.opened.size(), 1u);
  EXPECT_EQ(shell_.opened[0].file, folder_ + "\\updater.exe");
  EXPECT_EQ(shell_.opened[0].show, SW_SHOWNORMAL);
  EXPECT_EQ(shell_.exits, std::vector<unsigned>{0});
  EXPECT_TRUE(form().settingsPage().update().ended());
}

TEST_F(UpdateTest, FailedDownloadLeavesTheFolderAsItWas) {
  announce("2.1", true, "4KB");
  startApp();
  menu(ids::aufUpdateprfen1);
  struct Case {
    const char* what;
    const char* path;
    TestServer::Reply reply;
  };
  const Case cases[] = {
      {"program 404", "/files/ICQ-Meldewart.exe", TestServer::Reply{404, "<html>gone</html>", "text/html"}},
      {"updater empty", "/files/updater.exe", TestServer::Reply{200, ""}},
      {"language cut off", "/files/engl.lng", TestServer::Reply{200, bytes(2000, 'x'), "text/plain", 1100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    serveFiles();
    server_.set(c.path, c.reply);
    ui_.boxes.clear();
    click(ctl(ids::UDBtn));
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].caption, "Fehler!");
    // A refusing server says so in a second line.
    EXPECT_EQ(ui_.boxes[0].text,
              updateFailed() + (c.reply.status == 404 ? "\r\nDer Server antwortete mit HTTP 404." : ""));
    EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconError);
    expectFolderAsBefore();
  }
  EXPECT_NE(text(ctl(ids::Fortschritt)).find("KB | 4KB"), std::string::npos) << text(ctl(ids::Fortschritt));

  // An existing language file survives a failed update.
  CreateDirectoryA((folder_ + "\\LNG").c_str(), nullptr);
  writeFileBytes(folder_ + "\\LNG\\engl.lng", "old");
  serveFiles();
  server_.set("/files/updater.exe", TestServer::Reply{404, "no"});
  click(ctl(ids::UDBtn));
  EXPECT_EQ(readFileBytes(folder_ + "\\LNG\\engl.lng"), "old");
  EXPECT_TRUE(shell_.exits.empty());

  // An updater that cannot be started: the program goes on.
  serveFiles();
  shell_.openSucceeds = false;
  ui_.boxes.clear();
  click(ctl(ids::UDBtn));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_NE(ui_.boxes[0].text.find("nicht gestartet"), std::string::npos);
  EXPECT_EQ(shell_.opened.size(), 1u);
  EXPECT_TRUE(shell_.exits.empty());
  EXPECT_FALSE(exists(folder_ + "\\ICQ-Meldewart.tmp"));
}

TEST_F(UpdateTest, NoSecondTransferWhileOneRuns) {
  announce("2.1");
  serveFiles();
  startApp();
  menu(ids::aufUpdateprfen1);
  const int before = server_.count("/vak/update.ini");
  // A slow program file: the window's messages run between its blocks.
  server_.set("/files/ICQ-Meldewart.exe", TestServer::Reply{200, newProgram_, "application/octet-stream", std::string::npos, 300});
  // Clicks that arrive during the transfer.
  PostMessageW(page(2), WM_COMMAND, MAKEWPARAM(ids::UDBtn, BN_CLICKED), reinterpret_cast<LPARAM>(ctl(ids::UDBtn)));
  PostMessageW(page(2), WM_COMMAND, MAKEWPARAM(ids::TestUD, BN_CLICKED), reinterpret_cast<LPARAM>(ctl(ids::TestUD)));
  PostMessageW(mainWnd(), WM_COMMAND, MAKEWPARAM(ids::aufUpdateprfen1, 0), 0);
  click(ctl(ids::UDBtn));
  pumpMessages();
  EXPECT_EQ(server_.count("/files/ICQ-Meldewart.exe"), 1);
  EXPECT_EQ(server_.count("/files/updater.exe"), 1);
  EXPECT_EQ(server_.count("/vak/update.ini"), before);
  EXPECT_EQ(readFileBytes(folder_ + "\\ICQ-Meldewart.tmp"), newProgram_);
  EXPECT_EQ(shell_.exits, std::vector<unsigned>{0});
}

TEST_F(UpdateTest, ClosingDuringATransferStopsItAndCloses) {
  announce("2.1");
  serveFiles();
  server_.set("/files/ICQ-Meldewart.exe", TestServer::Reply{200, newProgram_, "application/octet-stream", std::string::npos, 300});
  startApp();
  menu(ids::aufUpdateprfen1);
  PostMessageW(mainWnd(), WM_CLOSE, 0, 0);
  click(ctl(ids::UDBtn));
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_FALSE(exists(folder_ + "\\ICQ-Meldewart.tmp"));
  EXPECT_FALSE(exists(folder_ + "\\ICQ-Meldewart.tmp.part"));
  EXPECT_EQ(server_.count("/files/updater.exe"), 0);
  EXPECT_TRUE(shell_.opened.empty());
  EXPECT_TRUE(shell_.exits.empty());
  pumpMessages();  // the close follows once the transfer has ended
  EXPECT_EQ(shell_.exits, std::vector<unsigned>{0});
  EXPECT_FALSE(exists(infoFile()));
}

TEST_F(UpdateTest, CloseAsksOnlyWithTheCheckAtExit) {
  announce("2.0");
  updateMode(2);
  startApp();
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(server_.count("/vak/update.ini"), 0);
  menu(ids::Exit);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Info!");
  EXPECT_EQ(ui_.boxes[0].text, offer("2.0"));
  EXPECT_EQ(ui_.boxes[0].buttons, vak::MbYesNo);
  EXPECT_EQ(shell_.exits, std::vector<unsigned>{0});
  EXPECT_FALSE(exists(infoFile()));
  closeApp();

  // The other two modes close at once, by any way of closing.
  for (int mode : {1, 3}) {
    SCOPED_TRACE(mode);
    updateMode(mode);
    announce("2.1");  // offered by nothing automatic
    startApp();
    ui_.boxes.clear();
    shell_.exits.clear();
    const int asked = server_.count("/vak/update.ini");
    writeFileBytes(infoFile(), "[Update]\r\n");
    SendMessageW(mainWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(ui_.boxes.empty());
    EXPECT_EQ(server_.count("/vak/update.ini"), asked);
    EXPECT_EQ(shell_.exits, std::vector<unsigned>{0});
    EXPECT_FALSE(exists(infoFile()));
    closeApp();
  }

  // An error of the check at exit is shown, and the program still ends.
  updateMode(2);
  CreateDirectoryA(infoFile().c_str(), nullptr);
  startApp();
  ui_.boxes.clear();
  shell_.exits.clear();
  menu(ids::Exit);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, "In " + infoFile() + " kann nicht geschrieben werden");
  EXPECT_EQ(shell_.exits, std::vector<unsigned>{0});
}

TEST_F(UpdateTest, VersionHistoryInTheViewerAsText) {
  server_.set("/vak/update_de.html",
              TestServer::Reply{200,
                                "<html><head><title>VAK</title><style>p{color:red}</style></head><body>"
                                "<h1>Versionshistory</h1><p>2.0&nbsp;RC3: Fehler behoben &amp; mehr.</p>"
                                "<ul><li>Neu: Sounds</li><li>Neu: Smileys</li></ul></body></html>",
                                "text/html; charset=utf-8"});
  announce("2.1");
  startApp();
  menu(ids::aufUpdateprfen1);
  vak::WebViewer& viewer = *form6_;
  driveViewer(
      viewer, [&] { click(ctl(ids::InfoBtn)); },
      [&] {
        EXPECT_EQ(viewer.address(), server_.url() + "/vak/update_de.html");
        EXPECT_EQ(text(viewer.hwnd()), "Update");
        EXPECT_EQ(text(viewer.textView()),
                  "VAK\r\n\r\nVersionshistory\r\n\r\n2.0 RC3: Fehler behoben & mehr.\r\n\r\nNeu: Sounds\r\nNeu: Smileys");
        EXPECT_TRUE(GetWindowLongW(viewer.textView(), GWL_STYLE) & ES_READONLY);
        // Escape closes the viewer, through its own message loop.
        SetFocus(viewer.textView());
        PostMessageW(viewer.textView(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageW(viewer.textView(), WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
        for (int i = 0; i < 50 && viewer.isModal(); ++i) {
          MSG msg;
          if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) vak::dispatchMessage(msg);
        }
        EXPECT_FALSE(viewer.isModal()) << "Escape did not close the viewer";
      });
}

TEST_F(UpdateTest, TheWindowAnswersDuringAStalledCheckWhichThenFails) {
  const std::string info = "[Update]\r\n#01=2.1\r\n" + std::string(3000, ';');
  struct Case {
    const char* what;
    TestServer::Reply reply;
  };
  TestServer::Reply beforeHeaders, inTheBody, unended, drip;
  beforeHeaders.holdBeforeHeaders = true;
  inTheBody.body = info;
  inTheBody.holdAfter = 1500;
  // Without a length the end would come with the connection's, which never comes.
  unended.body = info;
  unended.withLength = false;
  unended.holdAfter = info.size();
  // A byte every 200 ms: never silent for long, but never done either.
  drip.body = info;
  drip.dripBytes = 1;
  drip.dripMs = 200;
  const Case cases[] = {
      {"silent before the headers", beforeHeaders},
      {"silent in the middle of the body", inTheBody},
      {"silent after the last byte", unended},
      {"a slow drip", drip},
  };
  startApp();
  HangGuard guard(mainWnd());  // a hanging transfer ends the run instead of blocking it
  menu(ids::Einstellungen1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server_.set("/vak/update.ini", c.reply);
    Meanwhile probe(mainWnd(), 700);
    const DWORD start = GetTickCount();
    click(ctl(ids::TestUD));
    const DWORD took = GetTickCount() - start;
    EXPECT_TRUE(probe.answered()) << "the window did not answer during the transfer";
    EXPECT_GE(took, kStallMs - 100);
    EXPECT_LT(took, 8000u);
    EXPECT_EQ(status(), downloadError());
    EXPECT_FALSE(shown(ids::UDBtn));
    EXPECT_FALSE(exists(infoFile()));
    EXPECT_FALSE(form().settingsPage().update().transferRunning());
  }
  // A length that is reached ends the transfer, whether the connection ends or not.
  TestServer::Reply whole;
  whole.body = info;
  whole.holdAfter = info.size();
  server_.set("/vak/update.ini", whole);
  const DWORD start = GetTickCount();
  click(ctl(ids::TestUD));
  EXPECT_LT(GetTickCount() - start, kStallMs);
  EXPECT_EQ(status(), T("Updateprüfung abgeschlossen!"));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(UpdateTest, AbbrechenOrClosingStopsAStalledDownload) {
  // Only the stop may end these transfers.
  setEnvironment("VAK_HTTP_STALL_MS", "600000");
  announce("2.1");
  serveFiles();
  TestServer::Reply stalled{200, newProgram_, "application/octet-stream"};
  stalled.holdAfter = 1500;
  server_.set("/files/ICQ-Meldewart.exe", stalled);
  startApp();
  HangGuard guard(mainWnd());
  menu(ids::aufUpdateprfen1);
  ASSERT_TRUE(shown(ids::UDBtn));
  {
    Meanwhile user(page(2), 500, WM_COMMAND, MAKEWPARAM(ids::EndUD, BN_CLICKED), endUD());
    click(ctl(ids::UDBtn));
    EXPECT_TRUE(user.answered());
  }
  EXPECT_TRUE(ui_.boxes.empty());
  expectFolderAsBefore();
  EXPECT_EQ(server_.count("/files/updater.exe"), 0);
  // Then "Abbrechen" does what it always does.
  pumpMessages();
  EXPECT_FALSE(shown(ids::UdCheckbox));
  EXPECT_TRUE(shown(ids::TestUD));
  EXPECT_FALSE(exists(infoFile()));
  EXPECT_EQ(GetFocus(), ctl(ids::TestUD));

  // The same during the check itself.
  server_.set("/vak/update.ini", stalled);
  {
    Meanwhile user(page(2), 500, WM_COMMAND, MAKEWPARAM(ids::EndUD, BN_CLICKED), endUD());
    click(ctl(ids::TestUD));
  }
  pumpMessages();
  EXPECT_FALSE(shown(ids::UdCheckbox));
  EXPECT_FALSE(exists(infoFile()));
  EXPECT_TRUE(ui_.boxes.empty());

  // Closing the window: the transfer stops and the window closes.
  announce("2.1");
  menu(ids::aufUpdateprfen1);
  {
    Meanwhile user(mainWnd(), 500, WM_CLOSE);
    click(ctl(ids::UDBtn));
  }
  expectFolderAsBefore();
  pumpMessages();
  EXPECT_EQ(shell_.exits, std::vector<unsigned>{0});
}

TEST_F(UpdateTest, NoBodyWithoutItsWholeLengthIsInstalled) {
  announce("2.1");
  startApp();
  HangGuard guard(mainWnd());
  menu(ids::aufUpdateprfen1);
  ASSERT_TRUE(shown(ids::UDBtn));
  struct Case {
    const char* what;
    TestServer::Reply reply;
  };
  TestServer::Reply chunked{200, newProgram_}, chunkedCut{200, newProgram_}, closedAtHalf{200, newProgram_},
      closedAtEnd{200, newProgram_}, loop;
  chunked.chunked = true;
  chunkedCut.chunked = true;
  chunkedCut.cutAfter = 2000;  // two of three chunks, no last chunk
  closedAtHalf.withLength = false;
  closedAtHalf.cutAfter = newProgram_.size() / 2;
  // WinINet ends these three exactly as a whole body: only a length tells them apart.
  closedAtEnd.withLength = false;
  loop.location = "/files/ICQ-Meldewart.exe";
  const Case cases[] = {
      {"chunked", chunked},
      {"chunked, cut before the last chunk", chunkedCut},
      {"no length, closed at half", closedAtHalf},
      {"no length", closedAtEnd},
      {"a redirect loop", loop},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    serveFiles();
    server_.set("/files/ICQ-Meldewart.exe", c.reply);
    ui_.boxes.clear();
    click(ctl(ids::UDBtn));
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, updateFailed());
    expectFolderAsBefore();
  }
  // The loop was given up after ten redirects.
  EXPECT_EQ(server_.count("/files/ICQ-Meldewart.exe"), 4 + 11);

  // Redirects that end somewhere are followed; the update information needs its length too.
  serveFiles();
  TestServer::Reply moved, movedAgain;
  moved.location = "/files/moved-again";
  movedAgain.location = server_.url() + "/files/ICQ-Meldewart.exe";
  server_.set("/files/moved", moved);
  server_.set("/files/moved-again", movedAgain);
  TestServer::Reply info{200, "[Update]\r\n#01=2.1\r\n#03=" + server_.url() + "/files/moved\r\n#04=" + server_.url() +
                               "/files/updater.exe\r\n#06=" + server_.url() + "/files/engl.lng\r\n"};
  info.chunked = true;
  server_.set("/vak/update.ini", info);
  click(ctl(ids::TestUD));
  EXPECT_EQ(status(), downloadError());
  info.chunked = false;
  server_.set("/vak/update.ini", info);
  click(ctl(ids::TestUD));
  ASSERT_TRUE(shown(ids::UDBtn));
  ui_.boxes.clear();
  click(ctl(ids::UDBtn));
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(readFileBytes(folder_ + "\\ICQ-Meldewart.tmp"), newProgram_);
  EXPECT_EQ(shell_.exits, std::vector<unsigned>{0});
}

TEST_F(UpdateTest, AfterACheckTheFocusIsOnTheResultButtons) {
  announce("2.1");
  startApp();
  menu(ids::Einstellungen1);
  ASSERT_TRUE(bringToFront(mainWnd()));
  SetFocus(ctl(ids::TestUD));
  pressKey(VK_SPACE);  // the check runs
  ASSERT_TRUE(shown(ids::UDBtn));
  EXPECT_EQ(GetFocus(), ctl(ids::UDBtn));
  pressKey(VK_TAB);
  EXPECT_EQ(GetFocus(), ctl(ids::EndUD));
  pressKey(VK_TAB);
  EXPECT_EQ(GetFocus(), ctl(ids::InfoBtn));

  // Nothing to offer: the first button shown is "Abbrechen"; it closes the area.
  // From the menu too, wherever the focus was.
  announce("2.0 RC3");
  SetFocus(ctl(ids::RadioButton3));
  menu(ids::aufUpdateprfen1);
  EXPECT_EQ(GetFocus(), ctl(ids::EndUD));
  pressKey(VK_SPACE);
  EXPECT_FALSE(shown(ids::UdCheckbox));
  EXPECT_EQ(GetFocus(), ctl(ids::TestUD));

  // A failed check.
  setUpdateServer(TestServer::deadUrl());
  pressKey(VK_SPACE);
  EXPECT_EQ(status(), downloadError());
  EXPECT_EQ(GetFocus(), ctl(ids::EndUD));
}
