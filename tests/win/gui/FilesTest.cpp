// Status files from the menu ("Speichern", "Laden") and the backup slots with
// the restore dialog.
#include "GuiFixture.h"
#include "status/Backup.h"
#include "status/StatusFile.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::RestoreDialog;
using vak::T;

namespace {

class StatusFiles : public GuiTest {
 protected:
  bool exists(const std::string& path) const { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  HWND rd(int id) const { return form7_->control(id); }
  void withRestoreDialog(const std::function<void()>& drive) {
    driveModal(restore(), [&] { menu(ids::Restorelastsaved1); }, drive);
  }
  // A date label: "{d}.{m}.{y}\r\n{h}:{m}:{s} Uhr".
  static bool isDateLabel(const std::string& s) {
    int d = 0, mo = 0, y = 0, h = 0, mi = 0, se = 0;
    char tail[8] = {};
    return std::sscanf(s.c_str(), "%d.%d.%d\r\n%d:%d:%d %7s", &d, &mo, &y, &h, &mi, &se, tail) == 7 &&
           std::string(tail) == "Uhr" && s.size() > 4 && s.compare(s.size() - 4, 4, " Uhr") == 0 && d >= 1 &&
           mo >= 1 && y >= 2000;
  }
};

}  // namespace

TEST_F(StatusFiles, SaveAndLoadFromTheMenu) {
  seedTwoProfiles();
  startApp();
  ui_.saveNames.push_back(folder_ + "\\abend");
  menu(ids::Speichern1);
  ASSERT_EQ(ui_.saveFilters.size(), 1u);
  EXPECT_EQ(ui_.saveFilters[0], "*.icq|*.icq");
  const std::string file = folder_ + "\\abend.icq";
  ASSERT_TRUE(exists(file));
  EXPECT_FALSE(exists(folder_ + "\\abend"));
  EXPECT_EQ(readFileBytes(file).rfind("[Statusdatei]\r\n#01=1\r\n[1]\r\na=" + seedTitle("111", 1) + "\r\nb=" +
                                          seedMessage("111", 1) + "\r\nc=1\r\n[2]\r\n",
                                      0),
            0u);

  // Change the tables, then load the file back.
  editCell(1, 1, "anders");
  editCell(32, 2, "auch anders");
  clickBox(1);
  clickBox(2);
  ui_.answers.push_back(vak::MbResNo);
  ui_.openNames.push_back(file);
  menu(ids::Laden);
  ASSERT_EQ(ui_.boxes.size(), 1u);  // only the question
  EXPECT_EQ(ui_.boxes[0].caption, "Achtung!");
  EXPECT_EQ(ui_.boxes[0].text, "Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?");
  EXPECT_EQ(ui_.boxes[0].buttons, vak::MbYesNo);
  ASSERT_EQ(ui_.openFilters.size(), 1u);
  EXPECT_EQ(ui_.openFilters[0], "*.icq (Statusdatei)|*.icq");
  EXPECT_EQ(ui_.saveFilters.size(), 1u);  // No: no save dialog
  for (int n = 1; n <= vak::kEntryCount; ++n) {
    EXPECT_EQ(title(n), seedTitle("111", n)) << n;
    EXPECT_EQ(message(n), seedMessage("111", n)) << n;
    EXPECT_EQ(boxChecked(n), seedActive(n)) << n;
  }
  EXPECT_EQ(text(ctl(ids::AwayEd)), seedAway("111"));
  // Loading reaches nothing in ICQ.
  EXPECT_EQ(regQuery(std::string(kRegOwners) + "\\111\\CustomStatusList\\1", "Name")->data, seedTitle("111", 1));
}

TEST_F(StatusFiles, SaveKeepsAGivenIcqExtensionAndLoadOffersToSaveFirst) {
  seedTwoProfiles();
  startApp();
  ui_.saveNames.push_back(folder_ + "\\mit.icq");
  menu(ids::Speichern1);
  EXPECT_TRUE(exists(folder_ + "\\mit.icq"));
  EXPECT_FALSE(exists(folder_ + "\\mit.icq.icq"));
  ui_.saveNames.push_back(folder_ + "\\alt.set");
  menu(ids::Speichern1);
  EXPECT_TRUE(exists(folder_ + "\\alt.set.icq"));

  // Yes: the save dialog first (answered with a name), then the open dialog.
  editCell(4, 1, "vorher gesichert");
  ui_.answers.push_back(vak::MbResYes);
  ui_.saveNames.push_back(folder_ + "\\vorher");
  ui_.openNames.push_back(folder_ + "\\mit.icq");
  menu(ids::Laden);
  EXPECT_EQ(vak::IniFile(folder_ + "\\vorher.icq").readString("4", "a", ""), "vorher gesichert");
  EXPECT_EQ(title(4), seedTitle("111", 4));

  // Yes and a cancelled save dialog: nothing saved, the open dialog still comes.
  ui_.answers.push_back(vak::MbResYes);
  ui_.saveNames.push_back(std::nullopt);
  ui_.openNames.push_back(folder_ + "\\vorher.icq");
  menu(ids::Laden);
  EXPECT_EQ(title(4), "vorher gesichert");
  EXPECT_EQ(ui_.openFilters.size(), 2u);
  EXPECT_EQ(ui_.boxes.size(), 2u);
}

TEST_F(StatusFiles, LoadRefusesOtherFilesAndIgnoresACancel) {
  seedTwoProfiles();
  startApp();
  editCell(1, 1, "bleibt");
  writeFileBytes(folder_ + "\\fremd.icq", "[Statusdatei]\r\n#01=2\r\n[1]\r\na=falsch\r\n");

  ui_.answers.push_back(vak::MbResNo);
  ui_.openNames.push_back(folder_ + "\\fremd.icq");
  menu(ids::Laden);
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[1].caption, "Achtung!");
  EXPECT_EQ(ui_.boxes[1].text, "fremd.icq ist keine korrekte Statusdatei!");
  EXPECT_EQ(ui_.boxes[1].buttons, vak::MbOk);
  EXPECT_EQ(title(1), "bleibt");

  // A missing file is no status file either.
  ui_.answers.push_back(vak::MbResNo);
  ui_.openNames.push_back(folder_ + "\\gibtsnicht.icq");
  menu(ids::Laden);
  ASSERT_EQ(ui_.boxes.size(), 4u);
  EXPECT_EQ(ui_.boxes[3].text, "gibtsnicht.icq ist keine korrekte Statusdatei!");

  // A cancelled open dialog shows nothing more and changes nothing.
  ui_.answers.push_back(vak::MbResNo);
  ui_.openNames.push_back(std::nullopt);
  menu(ids::Laden);
  EXPECT_EQ(ui_.boxes.size(), 5u);
  EXPECT_EQ(title(1), "bleibt");
  EXPECT_EQ(ui_.openFilters.size(), 3u);
}

TEST_F(StatusFiles, RestoreDialogShowsTheSlots) {
  seedTwoProfiles();
  startApp();
  const std::string none = " kein Backup\r\n vorhanden!";
  withRestoreDialog([&] {
    EXPECT_EQ(text(restore().hwnd()), "Restore");
    EXPECT_EQ(text(rd(RestoreDialog::Label1)),
              T("Hier können sie die letzten drei Versionen Ihrer Stausmeldungen\r\nabrufen, falls diese durch ein "
                "ICQ-Update oder aus anderen\r\nGründen verloren gegangen sind."));
    for (int id : {RestoreDialog::d1, RestoreDialog::d2, RestoreDialog::d3}) EXPECT_EQ(text(rd(id)), none);
    for (int id : {RestoreDialog::Button1, RestoreDialog::Button2, RestoreDialog::Button3})
      EXPECT_FALSE(IsWindowEnabled(rd(id)));
    click(rd(RestoreDialog::Button4));
  });

  click(ctl(ids::Button1));
  withRestoreDialog([&] {
    EXPECT_TRUE(isDateLabel(text(rd(RestoreDialog::d1)))) << text(rd(RestoreDialog::d1));
    EXPECT_TRUE(IsWindowEnabled(rd(RestoreDialog::Button1)));
    EXPECT_EQ(text(rd(RestoreDialog::d2)), none);
    EXPECT_EQ(text(rd(RestoreDialog::d3)), none);
    EXPECT_FALSE(IsWindowEnabled(rd(RestoreDialog::Button2)));
    EXPECT_FALSE(IsWindowEnabled(rd(RestoreDialog::Button3)));
    SendMessageW(restore().hwnd(), WM_CLOSE, 0, 0);
  });
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(StatusFiles, FourTakeOversRestoreTheThirdNewestFromSlotB) {
  seedTwoProfiles();
  startApp();
  for (int k = 1; k <= 4; ++k) {
    editCell(1, 1, ("Satz " + std::to_string(k)).c_str());
    editCell(18, 2, ("Nachricht " + std::to_string(k)).c_str());
    clickBox(18);  // 0 -> 1 -> 0 ...
    click(ctl(ids::Button1));
  }
  EXPECT_EQ(vak::IniFile(folder_ + "\\Backup\\1.icq").readString("1", "a", ""), "Satz 4");
  EXPECT_EQ(vak::IniFile(folder_ + "\\Backup\\2.icq").readString("1", "a", ""), "Satz 3");
  EXPECT_EQ(vak::IniFile(folder_ + "\\Backup\\3.icq").readString("1", "a", ""), "Satz 2");

  editCell(1, 1, "aktuell");
  withRestoreDialog([&] {
    for (int id : {RestoreDialog::d1, RestoreDialog::d2, RestoreDialog::d3})
      EXPECT_TRUE(isDateLabel(text(rd(id)))) << text(rd(id));
    for (int id : {RestoreDialog::Button1, RestoreDialog::Button2, RestoreDialog::Button3})
      EXPECT_TRUE(IsWindowEnabled(rd(id)));
    click(rd(RestoreDialog::Button2));
    // The dialog stays open after a restore.
    EXPECT_TRUE(restore().isModal());
    EXPECT_EQ(title(1), "Satz 3");
    click(rd(RestoreDialog::Button4));
  });
  EXPECT_EQ(title(1), "Satz 3");
  EXPECT_EQ(message(18), "Nachricht 3");
  EXPECT_TRUE(boxChecked(18));  // set 3 was written with entry 18 switched on
  EXPECT_EQ(title(2), seedTitle("111", 2));
  // ICQ keeps the newest set until the next take-over.
  EXPECT_EQ(regQuery(std::string(kRegOwners) + "\\111\\CustomStatusList\\1", "Name")->data, "Satz 4");

  withRestoreDialog([&] {
    click(rd(RestoreDialog::Button3));
    click(rd(RestoreDialog::Button4));
  });
  EXPECT_EQ(title(1), "Satz 2");
  EXPECT_FALSE(boxChecked(18));
  EXPECT_TRUE(ui_.boxes.empty());
}

namespace {

// About 100 KB of lines: every kind of line break, German letters, the bytes
// 80-9F (the five Windows-1252 leaves undefined among them), backslashes,
// quotes and blanks, also at both ends.
std::string longText(const std::string& tag) {
  std::string high;
  for (int b = 0x80; b <= 0x9F; ++b) high += static_cast<char>(b);
  const char* const breaks[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
  std::string t = " \"" + tag;
  for (int i = 0; t.size() < 100 * 1024; ++i)
    t += T(" Zeile ") + std::to_string(i) + T(": Grüße aus Köln, ÄÖÜ äöü ß ") + high + " C:\\Pfad\\ \\r\\n\t" +
         breaks[i % 4];
  return t + tag + "\" ";
}

// A REG_SZ value of profile 111's entry n as the program's ANSI reads see it.
std::string entryValue(int n, const char* name) {
  const std::string key = "Software\\Mirabilis\\ICQ\\NewOwners\\111\\CustomStatusList\\" + std::to_string(n);
  DWORD size = 0;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return "<missing>";
  std::string data(size, '\0');
  RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, &data[0], &size);
  data.resize(size ? size - 1 : 0);
  return data;
}

}  // namespace

TEST_F(StatusFiles, LongTextsComeBackFromAStatusFileAndABackup) {
  seedTwoProfiles();
  startApp();
  const std::string message5 = longText("M5"), title20 = longText("T20");
  form().status().model().entry(5).message = message5;
  form().status().model().entry(20).title = title20;
  form().status().refreshViews();

  ui_.saveNames.push_back(folder_ + "\\lang");
  menu(ids::Speichern1);
  editCell(5, 2, "kurz");
  editCell(20, 1, "kurz");
  ui_.answers.push_back(vak::MbResNo);
  ui_.openNames.push_back(folder_ + "\\lang.icq");
  menu(ids::Laden);
  EXPECT_TRUE(message(5) == message5) << message(5).size();
  EXPECT_TRUE(title(20) == title20) << title(20).size();

  click(ctl(ids::Button1));  // "Änderungen übernehmen": ICQ and slot A
  editCell(5, 2, "kurz");
  editCell(20, 1, "kurz");
  withRestoreDialog([&] {
    click(rd(RestoreDialog::Button1));
    click(rd(RestoreDialog::Button4));
  });
  EXPECT_TRUE(message(5) == message5) << message(5).size();
  EXPECT_TRUE(title(20) == title20) << title(20).size();
  EXPECT_EQ(title(1), seedTitle("111", 1));
  ASSERT_EQ(ui_.boxes.size(), 1u);  // only the question of "Laden"
}

// Entry 3's message "a\r\n" x 7000 (over 32 KB once escaped) and a title of
// 1 MiB: taken over and saved whole, the older slots moved along.
TEST_F(StatusFiles, HugeTextsAreTakenOverAndSavedWhole) {
  seedTwoProfiles();
  startApp();
  click(ctl(ids::Button1));
  editCell(1, 1, "zweiter Stand");
  click(ctl(ids::Button1));
  const std::string slotA = readFileBytes(vak::backupSlotPath(folder_, 1));
  const std::string slotB = readFileBytes(vak::backupSlotPath(folder_, 2));

  std::string lines, huge;
  for (int i = 0; i < 7000; ++i) lines += "a\r\n";
  while (huge.size() < (1u << 20)) huge += T("Grüße ");
  huge += "!";
  form().status().model().entry(3).message = lines;
  form().status().model().entry(7).title = huge;
  form().status().refreshViews();
  click(ctl(ids::Button1));
  EXPECT_TRUE(ui_.boxes.empty()) << ui_.boxes[0].text;
  EXPECT_TRUE(entryValue(3, "Description") == lines);
  EXPECT_TRUE(entryValue(7, "Name") == vak::cp1252ToUtf8(huge)) << entryValue(7, "Name").size();
  vak::StatusModel slot;
  ASSERT_EQ(vak::loadStatusFile(vak::backupSlotPath(folder_, 1), slot), vak::LoadResult::Loaded);
  EXPECT_TRUE(slot.entry(3).message == lines) << slot.entry(3).message.size();
  EXPECT_TRUE(slot.entry(7).title == huge) << slot.entry(7).title.size();
  EXPECT_EQ(slot.entry(1).title, "zweiter Stand");
  EXPECT_TRUE(readFileBytes(vak::backupSlotPath(folder_, 2)) == slotA);
  EXPECT_TRUE(readFileBytes(vak::backupSlotPath(folder_, 3)) == slotB);

  ui_.saveNames.push_back(folder_ + "\\gross");
  menu(ids::Speichern1);
  EXPECT_TRUE(ui_.boxes.empty()) << ui_.boxes[0].text;
  vak::StatusModel saved;
  ASSERT_EQ(vak::loadStatusFile(folder_ + "\\gross.icq", saved), vak::LoadResult::Loaded);
  EXPECT_TRUE(saved.entry(3).message == lines) << saved.entry(3).message.size();
  EXPECT_TRUE(saved.entry(7).title == huge) << saved.entry(7).title.size();
}
