// After an error the program writes only where the user looks: no keys but
// the shown profile's, no texts of one profile in another, and a refused write
// is reported rather than passed off as done.
#include "GuiFixture.h"

#include "platform/Files.h"
#include "platform/Path.h"
#include "status/Backup.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::T;

namespace {

const char* const kHkcuMirabilis = "HKCU\\Software\\Mirabilis";
const char* const kHklmMirabilis = "HKLM\\Software\\Mirabilis";

// Everything below key as reg export writes it (ASCII; other letters as '?'),
// or "<missing>".
std::string tree(const std::string& key) {
  const std::string file = freshDir("safety_export") + "\\tree.reg";
  if (run("reg export \"" + key + "\" \"" + file + "\" /y /reg:32") != 0) return "<missing>";
  const std::string raw = readFileBytes(file);
  std::string out;
  for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
    const unsigned c = static_cast<unsigned char>(raw[i]) | static_cast<unsigned char>(raw[i + 1]) << 8;
    if (c != '\r') out += c < 0x80 ? static_cast<char>(c) : '?';
  }
  return out;
}
std::string bothTrees() { return tree(kHkcuMirabilis) + tree(kHklmMirabilis); }
bool keyExists(const std::string& key) { return run("reg query \"" + key + "\" /reg:32") == 0; }

std::string regAt(const std::string& key, const std::string& name) {
  auto q = regQuery(key, name);
  return q ? q->type + " " + q->data : "<missing>";
}

std::string entryKey(const std::string& uin, int n) {
  return std::string(kRegOwners) + "\\" + uin + "\\CustomStatusList\\" + std::to_string(n);
}
std::string liteKey(const std::string& uin) { return "HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\" + uin + "\\ICQLite"; }

bool startsWith(const std::string& s, const std::string& head) { return s.compare(0, head.size(), head) == 0; }
bool contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

class Safety : public GuiTest {
 protected:
  // The message boxes shown since the last call.
  std::vector<ScriptedUi::Box> takeBoxes() {
    std::vector<ScriptedUi::Box> b = ui_.boxes;
    ui_.boxes.clear();
    return b;
  }
  void pressTakeOver() { click(ctl(ids::Button1)); }
  void answerResetYes() {
    ui_.answers.push_back(vak::MbResYes);
    click(ctl(ids::Button2));
  }
};

}  // namespace

// A LastOwner of the wrong type stops the start before any profile is read:
// nothing may be written, neither under HKCU's root nor into a profile.
TEST_F(Safety, StartWithoutAnyProfileReadWritesNothing) {
  seedTwoProfiles();
  seed_.key(kHkcuOwners).str("LastOwner", "111");
  startApp();
  auto boxes = takeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, T("Ungültiger Datentyp für 'LastOwner'"));

  const std::string before = bothTrees();
  pressTakeOver();
  SendMessageW(page(1), WM_COMMAND, MAKEWPARAM(ids::Button6, BN_CLICKED), reinterpret_cast<LPARAM>(ctl(ids::Button6)));  // the birthday's "übernehmen"
  boxes = takeBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(startsWith(boxes[0].text, "Es wurde nichts geschrieben")) << boxes[0].text;
  EXPECT_EQ(boxes[0].icon, vak::MbIconError);
  EXPECT_TRUE(contains(boxes[1].text, "kein ICQ-Profil")) << boxes[1].text;
  EXPECT_EQ(bothTrees(), before);
  for (const char* stray : {"HKCU\\1", "HKCU\\32", "HKCU\\CustomStatusList", "HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\ICQLite"})
    EXPECT_FALSE(keyExists(stray)) << stray;
  EXPECT_FALSE(vak::fileExists(folder_ + "\\Backup\\1.icq"));
}

// The start profile's birthday reminder is on without a number of days: the
// first read stops. The take-over is refused until a profile was read whole,
// and then writes that profile only.
TEST_F(Safety, StartProfileReadStoppedByAnErrorIsNotWritten) {
  seedTwoProfiles();
  seed_.key(std::string(kHklmIcq) + "\\NewOwners\\111\\ICQLite").str("RemindBirthday", "Yes");
  startApp();
  auto boxes = takeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, T("Fehler beim Holen der Daten für 'RemindBirthdayDaysBefore'"));
  EXPECT_EQ(title(1), seedTitle("111", 1));
  EXPECT_EQ(text(ctl(ids::AwayEd)), "");  // not read: nothing shown

  const std::string before = bothTrees();
  const std::string profile111 = tree(std::string(kRegOwners) + "\\111");
  editCell(2, 2, "neu");
  pressTakeOver();
  boxes = takeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(startsWith(boxes[0].text, "Es wurde nichts geschrieben: Das Profil 111")) << boxes[0].text;
  EXPECT_EQ(bothTrees(), before);
  EXPECT_FALSE(keyExists(std::string(kRegOwners) + "\\111\\CustomStatusList\\CustomStatusList"));
  EXPECT_FALSE(vak::fileExists(folder_ + "\\Backup\\1.icq"));

  // Another profile read whole is written, and only it.
  chooseProfile(1);
  EXPECT_TRUE(takeBoxes().empty());
  EXPECT_EQ(text(ctl(ids::AwayEd)), seedAway("222"));
  editCell(2, 2, "neu");
  pressTakeOver();
  EXPECT_TRUE(takeBoxes().empty());
  EXPECT_EQ(regAt(entryKey("222", 2), "Description"), "REG_SZ neu");
  EXPECT_EQ(tree(std::string(kRegOwners) + "\\111"), profile111);
  EXPECT_EQ(regQuery(liteKey("111"), "AwayStatusText")->data, compactHex(seedAway("111")));
  EXPECT_EQ(regQuery(liteKey("222"), "AwayStatusText")->data, compactHex(seedAway("222")));
  EXPECT_TRUE(vak::fileExists(folder_ + "\\Backup\\1.icq"));
}

// A user without administrator rights where the system keeps no virtual
// store (Windows XP, Wine): the machine's ICQ Lite key refuses writes.
// Reading says nothing about it; the take-over writes the entries, backs them
// up and says that the away texts were not written.
TEST_F(Safety, RefusedMachineKeyIsReported) {
  seedTwoProfiles();
  seed_.key(std::string(kHklmIcq) + "\\NewOwners\\111\\ICQLite").str("RemindBirthday", "Yes").dword(
      "RemindBirthdayDaysBefore", 4);
  seed_.import(folder_);
  RestrictedKey guard(HKEY_LOCAL_MACHINE, "Software\\Mirabilis\\ICQ\\NewOwners\\111\\ICQLite",
                      RestrictedKey::kEveryoneReads);
  ASSERT_TRUE(guard.writeRefused());
  startApp();
  EXPECT_TRUE(takeBoxes().empty());
  EXPECT_TRUE(vak::isChecked(ctl(ids::GebBox)));

  editCell(3, 1, "neu");
  pressTakeOver();
  auto boxes = takeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, vak::MbIconError);
  const std::string& msg = boxes[0].text;
  EXPECT_TRUE(contains(msg, "Abwesenheitstexte")) << msg;
  EXPECT_TRUE(contains(msg, "Zugriff verweigert")) << msg;
  EXPECT_TRUE(contains(msg, T("Statusmeldungen wurden gesichert"))) << msg;
  EXPECT_FALSE(contains(msg, "Statusmeldung Nr.")) << msg;
  EXPECT_EQ(regAt(entryKey("111", 3), "Name"), "REG_SZ neu");
  EXPECT_EQ(regQuery(liteKey("111"), "AwayStatusText")->data, compactHex(seedAway("111")));
  EXPECT_TRUE(vak::readSlot(folder_, 1).present);

  // Switching the reminder off by hand is refused with a message; the key keeps "Yes".
  click(ctl(ids::GebBox));
  boxes = takeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(contains(boxes[0].text, "Geburtstagsmeldung konnte nicht gespeichert werden")) << boxes[0].text;
  EXPECT_EQ(regAt(liteKey("111"), "RemindBirthday"), "REG_SZ Yes");
}

// An entry key that refuses writes: the other entries are written, the
// message names the entry, and no backup claims a set that ICQ does not hold.
TEST_F(Safety, RefusedEntryKeyIsReportedWithoutBackup) {
  seedTwoProfiles();
  seed_.import(folder_);
  RestrictedKey guard(HKEY_CURRENT_USER, "Software\\Mirabilis\\ICQ\\NewOwners\\111\\CustomStatusList\\5",
                      RestrictedKey::kEveryoneReads);
  ASSERT_TRUE(guard.writeRefused());
  startApp();
  EXPECT_TRUE(takeBoxes().empty());
  editCell(5, 1, "neu5");
  editCell(6, 1, "neu6");
  pressTakeOver();
  auto boxes = takeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  const std::string& msg = boxes[0].text;
  EXPECT_TRUE(contains(msg, "Statusmeldung Nr. 5 ")) << msg;
  EXPECT_TRUE(contains(msg, "Es wurde keine Sicherung angelegt.")) << msg;
  EXPECT_FALSE(contains(msg, "Abwesenheitstexte")) << msg;
  EXPECT_EQ(regAt(entryKey("111", 5), "Name"), "REG_SZ " + seedTitle("111", 5));
  EXPECT_EQ(regAt(entryKey("111", 6), "Name"), "REG_SZ neu6");
  EXPECT_FALSE(vak::fileExists(folder_ + "\\Backup\\1.icq"));
}

// A program folder whose name the ANSI code page cannot hold: settings,
// language files, backups and status files all work there.
TEST_F(Safety, ProgramFolderNamedBeyondTheCodePage) {
  seedTwoProfiles();
  seed_.import(folder_);
  const std::string base = folder_;
  folder_ = base + "\\\xC5\x81ukasz";  // Łukasz
  ASSERT_TRUE(vak::createDir(folder_));
  ASSERT_TRUE(vak::createDir(folder_ + "LNG"));
  {
    vak::IniFile settings(folder_ + "\\Einst.ini");
    settings.writeString("ICQStatFile", "#01", "1");
    settings.writeString("Einstellungen", "#01", "222");
    settings.writeString("Einstellungen", "#02", "0");
    vak::IniFile lng(folder_ + "LNG\\polski.lng");
    lng.writeString("Info", "#02", "Polski");
  }
  startApp();
  EXPECT_TRUE(takeBoxes().empty());
  EXPECT_EQ(form().shared().programFolder, folder_);
  EXPECT_EQ(form().shared().currentProfile, "222");
  HWND languages = ctl(ids::ComboLng);
  ASSERT_EQ(vak::comboCount(languages), 2);
  EXPECT_EQ(vak::comboItem(languages, 1), "Polski");

  pressTakeOver();
  EXPECT_TRUE(takeBoxes().empty());
  EXPECT_TRUE(vak::fileExists(folder_ + "\\Backup\\1.icq"));
  EXPECT_TRUE(vak::readSlot(folder_, 1).present);

  // A status file named with such letters too.
  const std::string file = folder_ + "\\B\xC3\xA4r \xC5\x81\xC3\xB3" "d\xC5\xBA.icq";  // Bär Łódź.icq
  ui_.saveNames.push_back(file);
  menu(ids::Speichern1);
  EXPECT_TRUE(vak::fileExists(file));
  editCell(4, 1, "weg");
  ui_.answers.push_back(vak::MbResNo);
  ui_.openNames.push_back(file);
  menu(ids::Laden);
  EXPECT_EQ(title(4), seedTitle("222", 4));
  EXPECT_EQ(takeBoxes().size(), 1u);  // only the question

  const std::string bogus = folder_ + "\\\xC5\x81\xC4\x85ka.icq";  // Łąka.icq
  vak::IniFile(bogus).writeString("x", "y", "z");
  ui_.answers.push_back(vak::MbResNo);
  ui_.openNames.push_back(bogus);
  menu(ids::Laden);
  auto boxes = takeBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, "??ka.icq ist keine korrekte Statusdatei!");
}
