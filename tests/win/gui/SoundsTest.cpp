// The group "ICQ-Soundoptions": the ten rows, the master box, Play, Change
// and Reset against real files in the test's folder.
#include <cstdint>

#include "GuiFixture.h"
#include "platform/Files.h"
#include "tweaks/TweakRules.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::soundBackupPath;
using vak::soundFilePath;
using vak::T;

namespace {

// A playable PCM wave file whose samples are all `fill`.
std::string wav(char fill) {
  auto u32 = [](std::uint32_t v) {
    std::string s(4, '\0');
    for (std::size_t i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i) & 0xFF);
    return s;
  };
  const std::string fmt = std::string("\1\0\1\0", 4) + u32(8000) + u32(8000) + std::string("\1\0\10\0", 4);
  const std::string body = "WAVEfmt " + u32(16) + fmt + "data" + u32(800) + std::string(800, fill);
  return "RIFF" + u32(static_cast<std::uint32_t>(body.size())) + body;
}
char rowFill(int n, char first = 'a') { return static_cast<char>(first + n - 1); }

class Sounds : public GuiTest {
 protected:
  // ICQ's ten sounds in folder_\name (row n: wav(first + n - 1)), named as uin's sound folder.
  std::string soundFolder(const std::string& uin, const std::string& name, char first = 'a') {
    const std::string dir = folder_ + "\\" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    for (int n = 1; n <= vak::kSoundRows; ++n) writeFileBytes(soundFilePath(dir, n), wav(rowFill(n, first)));
    seed_.key(std::string(kHklmIcq) + "\\NewOwners\\" + uin + "\\ICQLite").str("SoundFilePath", dir);
    return dir;
  }
  std::string ini(const std::string& key) const {
    return vak::IniFile(einstPath()).readString("ICQ-Sound", key, "<missing>");
  }
  bool exists(const std::string& path) const { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  int filesIn(const std::string& dir) const { return static_cast<int>(vak::findFiles(dir, "*").size()); }
  HWND row(int id1, int n) const { return ctl(id1 + n - 1); }
  std::string mine(char fill) {
    const std::string path = folder_ + "\\mein" + fill + ".wav";
    writeFileBytes(path, wav(fill));
    return path;
  }
  void changeTo(int n, std::optional<std::string> chosen) {
    ui_.openNames.push_back(std::move(chosen));
    click(row(ids::ChangeButton1, n));
  }
  void reset(int answer = vak::MbResYes) {
    ui_.answers.push_back(answer);
    click(ctl(ids::Button4));
  }
  void expectOriginals(const std::string& dir, char first = 'a') {
    for (int n = 1; n <= vak::kSoundRows; ++n) EXPECT_EQ(readFileBytes(soundFilePath(dir, n)), wav(rowFill(n, first))) << n;
  }
};

}  // namespace

TEST_F(Sounds, RowsLieInTheGroupInTableOrder) {
  seedTwoProfiles();
  startApp();
  RECT g{};
  GetWindowRect(ctl(ids::Sound), &g);
  // The buttons 110 and 60 pixels left of the group's right edge; the boxes
  // (wider than the buttons leave them in a group of 260) take the rest.
  const int width = g.right - g.left;
  EXPECT_EQ(width, 308);
  for (int n = 1; n <= vak::kSoundRows; ++n) {
    const struct { int id1, left, top, width, height; const char* caption; } parts[] = {
        {ids::PlayButton1, width - 110, 18 * n + 21, 50, 19, "Play"},
        {ids::ChangeButton1, width - 60, 18 * n + 21, 50, 19, "Change"},
        {ids::SCB1, 10, 18 * n + 22, width - 126, 17, nullptr}};
    for (const auto& p : parts) {
      RECT r{};
      GetWindowRect(row(p.id1, n), &r);
      EXPECT_EQ(r.left - g.left, p.left) << n;
      EXPECT_EQ(r.top - g.top, p.top) << n;
      EXPECT_EQ(r.right - r.left, p.width) << n;
      EXPECT_EQ(r.bottom - r.top, p.height) << n;
      EXPECT_EQ(text(row(p.id1, n)), p.caption ? p.caption : vak::soundLabel(n));
      EXPECT_EQ(GetWindowLongPtrW(row(p.id1, n), GWLP_USERDATA), n);
    }
    EXPECT_TRUE(vak::isChecked(row(ids::SCB1, n)));
    EXPECT_FALSE(IsWindowEnabled(row(ids::SCB1, n)));
  }
  EXPECT_EQ(text(row(ids::SCB1, 4)), T("Datei vollständig"));
  EXPECT_FALSE(IsWindowEnabled(ctl(ids::SoundBox)));
  EXPECT_EQ(text(ctl(ids::LSnd)),
            "Funktioniert nicht, wenn eine der Sounddateien in\r\n\"...\\ICQLite\\Sounds\\\"abgespielt wird");
  EXPECT_FALSE(exists(einstPath()));  // creating the rows wrote nothing
}

// The master box follows "Yes" exactly; the rows follow it, and only while it
// is ticked are their states written.
TEST_F(Sounds, MasterBoxFollowsTheProfileAndTheRowsFollowIt) {
  seedTwoProfiles();
  seed_.key(std::string(kHkcuOwners) + "\\111\\CommonPrefs").str("AllResponsePlay", "yes");
  seed_.key(std::string(kHkcuOwners) + "\\222\\CommonPrefs").str("AllResponsePlay", "Yes");
  startApp();
  EXPECT_FALSE(vak::isChecked(ctl(ids::SoundBox)));
  for (int n = 1; n <= vak::kSoundRows; ++n) EXPECT_FALSE(vak::isChecked(row(ids::SCB1, n))) << n;
  EXPECT_FALSE(exists(einstPath()));

  chooseProfile(1);
  EXPECT_TRUE(vak::isChecked(ctl(ids::SoundBox)));
  for (int n = 1; n <= vak::kSoundRows; ++n) {
    EXPECT_TRUE(vak::isChecked(row(ids::SCB1, n))) << n;
    EXPECT_EQ(ini(vak::soundRowKey(n)), "1") << n;
  }
  EXPECT_EQ(ini("#010"), "1");

  chooseProfile(0);  // unticked again; "0" is never written
  EXPECT_FALSE(vak::isChecked(row(ids::SCB1, 10)));
  EXPECT_EQ(ini("#010"), "1");
  EXPECT_TRUE(ui_.boxes.empty());
}

// The first Change, even cancelled, copies all ten files once; later ones in
// any folder copy nothing. The profile chosen in the box is the one whose
// folder is used, even with a profile that only ICQ's machine part lists.
TEST_F(Sounds, FirstChangeBacksUpAllTenOnce) {
  seedTwoProfiles();
  const std::string one = soundFolder("111", "one");
  const std::string two = soundFolder("222", "two", 'k');
  const std::string other = soundFolder("150", "other", 'A');
  startApp();
  changeTo(3, std::nullopt);
  ASSERT_EQ(ui_.openFilters, std::vector<std::string>{"*.wav (Sounddatei)|*.wav"});
  for (int n = 1; n <= vak::kSoundRows; ++n) EXPECT_EQ(readFileBytes(soundBackupPath(one, n)), wav(rowFill(n))) << n;
  expectOriginals(one);
  EXPECT_EQ(ini("#bk"), "1");

  chooseProfile(1);
  changeTo(6, mine('z'));
  EXPECT_EQ(readFileBytes(soundFilePath(two, 6)), wav('z'));
  EXPECT_EQ(filesIn(two), vak::kSoundRows);  // no copies, no leftovers
  expectOriginals(other, 'A');
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(Sounds, ChangeReplacesAndResetRestoresAgainAndAgain) {
  seedTwoProfiles();
  const std::string dir = soundFolder("111", "snd");
  // Copies lying there from elsewhere: before any Change a Reset copies nothing.
  for (int n = 1; n <= vak::kSoundRows; ++n) writeFileBytes(soundBackupPath(dir, n), wav('#'));
  startApp();
  reset();
  expectOriginals(dir);
  EXPECT_EQ(ini("#bk"), "<missing>");
  for (int n = 1; n <= vak::kSoundRows; ++n) DeleteFileA(soundBackupPath(dir, n).c_str());

  changeTo(10, mine('1'));
  changeTo(10, mine('2'));  // over the replacement; the copy keeps ICQ's file
  EXPECT_EQ(readFileBytes(soundFilePath(dir, 10)), wav('2'));
  EXPECT_EQ(readFileBytes(soundBackupPath(dir, 10)), wav('j'));

  reset(vak::MbResNo);
  EXPECT_EQ(readFileBytes(soundFilePath(dir, 10)), wav('2'));
  for (int round = 0; round < 2; ++round) {
    reset();
    expectOriginals(dir);
    EXPECT_EQ(filesIn(dir), 2 * vak::kSoundRows);
    EXPECT_EQ(ini("#bk"), "1");
    changeTo(1, mine('3'));
  }
  ASSERT_EQ(ui_.boxes.size(), 4u);  // only the questions
  EXPECT_EQ(ui_.boxes[1].caption, "Frage");
  EXPECT_EQ(ui_.boxes[1].text, "Sollen alle original Sounds wiederhergestellt werden?");
  EXPECT_EQ(ui_.boxes[1].icon, vak::MbIconQuestion);

  // Einst.ini lost: the copies already there are ICQ's files and are kept.
  DeleteFileA(einstPath().c_str());
  changeTo(2, mine('4'));
  EXPECT_EQ(readFileBytes(soundBackupPath(dir, 1)), wav('a'));
}

TEST_F(Sounds, TheSoundItselfOrAnUnreadableFileLeavesTheRowIntact) {
  seedTwoProfiles();
  const std::string dir = soundFolder("111", "snd");
  startApp();
  changeTo(4, dir + "\\.\\FILEDONE.WAV");  // the very file, spelled differently
  EXPECT_TRUE(ui_.boxes.empty());
  const std::string missing = folder_ + "\\gibtsnicht.wav";
  changeTo(4, missing);
  expectOriginals(dir);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Fehler!");
  EXPECT_EQ(ui_.boxes[0].text, "Die Datei \"" + missing +
                                   T("\" konnte nicht als Sound übernommen werden.\r\nDer bisherige Sound bleibt erhalten."));
  EXPECT_EQ(filesIn(dir), 2 * vak::kSoundRows);
}

// Without a known sound folder every path would name a file in the root of
// the drive: nothing is played, copied or flagged, and the user is told.
TEST_F(Sounds, UnknownOrMissingFolderTouchesNothing) {
  seedTwoProfiles();
  seed_.key(std::string(kHklmIcq) + "\\NewOwners\\222\\ICQLite").str("SoundFilePath", folder_ + "\\weg");
  startApp();
  const std::string nothing = T("\r\nEs wurde keine Sounddatei abgespielt oder verändert.");
  changeTo(1, mine('z'));
  reset();
  click(row(ids::PlayButton1, 1));
  ASSERT_EQ(ui_.boxes.size(), 4u);
  for (int i : {0, 2, 3}) {
    EXPECT_EQ(ui_.boxes[i].caption, "Achtung!");
    EXPECT_EQ(ui_.boxes[i].text, T("ICQ hat für dieses Profil keinen Soundordner eingetragen.") + nothing);
  }
  EXPECT_TRUE(ui_.openFilters.empty());
  EXPECT_FALSE(exists("\\Auth.wav.VAK"));
  EXPECT_FALSE(form().tweaks().sounds().player().isOpen());

  chooseProfile(1);
  ui_.openNames.clear();
  changeTo(1, mine('z'));
  ASSERT_EQ(ui_.boxes.size(), 5u);
  EXPECT_EQ(ui_.boxes[4].text, "Der Soundordner \"" + folder_ + "\\weg\" wurde nicht gefunden." + nothing);
  EXPECT_EQ(ini("#bk"), "<missing>");
}

// MCI under Xvfb has no sound device, but opening is observable: an
// unplayable file gives the media layer's error, a playable one holds the
// device open until a replacement closes it.
TEST_F(Sounds, PlayShowsTheMediaErrorAndReplacementsCloseTheDevice) {
  seedTwoProfiles();
  const std::string dir = soundFolder("111", "snd");
  startApp();
  writeFileBytes(soundFilePath(dir, 2), "kein Klang");
  DeleteFileA(soundFilePath(dir, 3).c_str());
  click(row(ids::PlayButton1, 2));
  click(row(ids::PlayButton1, 3));
  ASSERT_EQ(ui_.boxes.size(), 2u);
  for (int n : {2, 3}) {
    const auto& box = ui_.boxes[static_cast<size_t>(n - 2)];
    EXPECT_EQ(box.caption, "ICQMeldewart");
    EXPECT_EQ(box.icon, vak::MbIconError);
    // German, the system's own text on the line after it.
    const std::string first = T("Die Sounddatei kann nicht abgespielt werden: ") + soundFilePath(dir, n) + "\r\n";
    EXPECT_EQ(box.text.substr(0, first.size()), first);
    EXPECT_GT(box.text.size(), first.size());
  }
  click(row(ids::PlayButton1, 1));
  EXPECT_TRUE(form().tweaks().sounds().player().isOpen());
  changeTo(1, mine('z'));
  EXPECT_FALSE(form().tweaks().sounds().player().isOpen());
  EXPECT_EQ(readFileBytes(soundFilePath(dir, 1)), wav('z'));

  click(row(ids::PlayButton1, 1));
  reset();
  EXPECT_EQ(readFileBytes(soundFilePath(dir, 1)), wav('a'));
  EXPECT_EQ(ui_.boxes.size(), 3u);
}

// A file that is no wave file is refused before anything is copied: the row
// keeps ICQ's sound (the copies made at the first Change, before the dialog,
// hold ICQ's own files, as after a cancel).
TEST_F(Sounds, ChangeRefusesAFileThatIsNoSound) {
  seedTwoProfiles();
  const std::string dir = soundFolder("111", "snd");
  startApp();
  const std::string fake = folder_ + "\\fake.wav";
  writeFileBytes(fake, "Nur Text, kein Klang");
  const std::string video = folder_ + "\\film.wav";
  writeFileBytes(video, "RIFF\x10\0\0\0AVI LIST\0\0\0\0");
  changeTo(2, fake);
  changeTo(3, video);
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[0].text, T("Die Datei ist keine gültige Sounddatei: ") + fake);
  EXPECT_EQ(ui_.boxes[1].text, T("Die Datei ist keine gültige Sounddatei: ") + video);
  for (const auto& box : ui_.boxes) {
    EXPECT_EQ(box.caption, "ICQMeldewart");
    EXPECT_EQ(box.icon, vak::MbIconError);
  }
  expectOriginals(dir);
  for (int n = 1; n <= vak::kSoundRows; ++n) EXPECT_EQ(readFileBytes(soundBackupPath(dir, n)), wav(rowFill(n))) << n;
  EXPECT_EQ(filesIn(dir), 2 * vak::kSoundRows);

  changeTo(2, mine('z'));  // a wave file goes in
  EXPECT_EQ(readFileBytes(soundFilePath(dir, 2)), wav('z'));
  EXPECT_EQ(ui_.boxes.size(), 2u);
}

// The sound folder is handed to the media layer as the file functions see it,
// also with letters beyond ASCII (MCI opens a wave file under Xvfb, without
// a sound device).
TEST_F(Sounds, PlayInAFolderWithGermanLetters) {
  if (GetACP() != 1252) GTEST_SKIP() << "the folder's name is given as Windows-1252";
  seedTwoProfiles();
  CreateDirectoryA((folder_ + "\\J\xF6rg").c_str(), nullptr);
  soundFolder("111", "J\xF6rg\\Sounds");
  startApp();
  click(row(ids::PlayButton1, 1));
  EXPECT_TRUE(ui_.boxes.empty()) << (ui_.boxes.empty() ? "" : ui_.boxes[0].text);
  EXPECT_TRUE(form().tweaks().sounds().player().isOpen());
}
