// The group "ICQ-Soundoptions": the ten rows, the master box, Play, Change
// and Reset against real files in the test's folder.
#include <cstdint>

#include "GuiFixture.h"
#include "tweaks/TweakRules.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::T;

namespace {

// A playable PCM wave file whose samples are all `fill`.
std::string wav(char fill, std::size_t samples = 800) {
  auto u32 = [](std::uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i) & 0xFF);
    return s;
  };
  auto u16 = [](std::uint16_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; };
  const std::string fmt = u16(1) + u16(1) + u32(8000) + u32(8000) + u16(1) + u16(8);
  const std::string body = "WAVE" + std::string("fmt ") + u32(16) + fmt + "data" +
                           u32(static_cast<std::uint32_t>(samples)) + std::string(samples, fill);
  return "RIFF" + u32(static_cast<std::uint32_t>(body.size())) + body;
}

class Sounds : public GuiTest {
 protected:
  // A folder of ICQ's ten sounds: row n holds wav('a' + n - 1 + offset).
  std::string soundFolder(const std::string& name, char first = 'a') {
    const std::string dir = folder_ + "\\" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    for (int n = 1; n <= vak::kSoundRows; ++n)
      writeFileBytes(vak::soundFilePath(dir, n), wav(static_cast<char>(first + n - 1)));
    return dir;
  }
  void setSoundFolder(const std::string& uin, const std::string& dir) {
    seed_.key(std::string(kHklmIcq) + "\\NewOwners\\" + uin + "\\ICQLite").str("SoundFilePath", dir);
  }
  void setSoundsOn(const std::string& uin, const std::string& value) {
    seed_.key(std::string(kHkcuOwners) + "\\" + uin + "\\CommonPrefs").str("AllResponsePlay", value);
  }
  std::string ini(const std::string& key) const {
    return vak::IniFile(einstPath()).readString("ICQ-Sound", key, "<missing>");
  }
  bool exists(const std::string& path) const { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  int filesIn(const std::string& dir) const {
    int count = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return count;
  }
  HWND play(int n) const { return ctl(ids::PlayButton1 + n - 1); }
  HWND change(int n) const { return ctl(ids::ChangeButton1 + n - 1); }
  HWND eventBox(int n) const { return ctl(ids::SCB1 + n - 1); }
  // Position and size relative to the group "Sound".
  RECT inGroup(HWND h) const {
    RECT g{}, c{};
    GetWindowRect(ctl(ids::Sound), &g);
    GetWindowRect(h, &c);
    return RECT{c.left - g.left, c.top - g.top, c.right - c.left, c.bottom - c.top};
  }
  void expectPlace(HWND h, int left, int top, int width, int height, int row) {
    const RECT r = inGroup(h);
    EXPECT_EQ(r.left, left) << row;
    EXPECT_EQ(r.top, top) << row;
    EXPECT_EQ(r.right, width) << row;
    EXPECT_EQ(r.bottom, height) << row;
  }
  void changeTo(int row, std::optional<std::string> chosen) {
    ui_.openNames.push_back(std::move(chosen));
    click(change(row));
  }
  void reset(bool yes) {
    ui_.answers.push_back(yes ? vak::MbResYes : vak::MbResNo);
    click(ctl(ids::Button4));
  }
};

}  // namespace

TEST_F(Sounds, RowsLieInTheGroupInTableOrder) {
  seedTwoProfiles();
  startApp();
  RECT g{};
  GetWindowRect(ctl(ids::Sound), &g);
  RECT page{};
  GetWindowRect(form().page(1), &page);
  EXPECT_EQ(g.left - page.left, 289);
  EXPECT_EQ(g.top - page.top, 6);
  EXPECT_EQ(text(ctl(ids::Sound)), "ICQ-Soundoptions");
  for (int n = 1; n <= vak::kSoundRows; ++n) {
    expectPlace(play(n), 150, 18 * n + 21, 50, 19, n);
    expectPlace(change(n), 200, 18 * n + 21, 50, 19, n);
    expectPlace(eventBox(n), 10, 18 * n + 22, 134, 17, n);
    EXPECT_EQ(text(play(n)), "Play");
    EXPECT_EQ(text(change(n)), "Change");
    EXPECT_EQ(text(eventBox(n)), vak::soundLabel(n));
    EXPECT_TRUE(vak::isChecked(eventBox(n))) << n;
    EXPECT_FALSE(IsWindowEnabled(eventBox(n))) << n;
    for (HWND h : {play(n), change(n), eventBox(n)}) EXPECT_EQ(GetWindowLongPtrW(h, GWLP_USERDATA), n);
  }
  EXPECT_EQ(text(eventBox(4)), T("Datei vollständig"));
  // The master box: ticked, and no user can switch it.
  EXPECT_TRUE(vak::isChecked(ctl(ids::SoundBox)));
  EXPECT_FALSE(IsWindowEnabled(ctl(ids::SoundBox)));
  EXPECT_EQ(text(ctl(ids::LSnd)),
            "Funktioniert nicht, wenn eine der Sounddateien in\r\n\"...\\ICQLite\\Sounds\\\"abgespielt wird");
  EXPECT_EQ(text(ctl(ids::Button4)), "Reset");
  // Creating the rows wrote nothing.
  EXPECT_FALSE(exists(einstPath()));
}

// The master box follows "Yes" exactly; the event boxes follow it, and only
// while it is ticked are their states written.
TEST_F(Sounds, MasterBoxFollowsTheProfileAndTheRowsFollowIt) {
  seedTwoProfiles();
  setSoundsOn("111", "yes");
  setSoundsOn("222", "Yes");
  startApp();
  EXPECT_FALSE(vak::isChecked(ctl(ids::SoundBox)));
  for (int n = 1; n <= vak::kSoundRows; ++n) EXPECT_FALSE(vak::isChecked(eventBox(n))) << n;
  EXPECT_EQ(ini("#01"), "<missing>");

  chooseProfile(1);
  EXPECT_TRUE(vak::isChecked(ctl(ids::SoundBox)));
  for (int n = 1; n <= vak::kSoundRows; ++n) {
    EXPECT_TRUE(vak::isChecked(eventBox(n))) << n;
    EXPECT_EQ(ini(vak::soundRowKey(n)), "1") << n;
  }
  EXPECT_EQ(ini("#010"), "1");
  EXPECT_EQ(ini("#10"), "<missing>");

  // Back to the profile with "yes": unticked, and "0" is never written.
  chooseProfile(0);
  EXPECT_FALSE(vak::isChecked(ctl(ids::SoundBox)));
  EXPECT_FALSE(vak::isChecked(eventBox(10)));
  EXPECT_EQ(ini("#010"), "1");
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(Sounds, FirstChangeBacksUpAllTenOnceEvenWhenCancelled) {
  seedTwoProfiles();
  const std::string one = soundFolder("one", 'a');
  const std::string two = soundFolder("two", 'k');
  setSoundFolder("111", one);
  setSoundFolder("222", two);
  startApp();

  changeTo(3, std::nullopt);
  ASSERT_EQ(ui_.openFilters.size(), 1u);
  EXPECT_EQ(ui_.openFilters[0], "*.wav (Sounddatei)|*.wav");
  for (int n = 1; n <= vak::kSoundRows; ++n) {
    EXPECT_EQ(readFileBytes(vak::soundBackupPath(one, n)), wav(static_cast<char>('a' + n - 1))) << n;
    EXPECT_EQ(readFileBytes(vak::soundFilePath(one, n)), wav(static_cast<char>('a' + n - 1))) << n;
  }
  EXPECT_EQ(ini("#bk"), "1");

  // Another profile with another folder: no copies there.
  chooseProfile(1);
  const std::string mine = folder_ + "\\mein.wav";
  writeFileBytes(mine, wav('z'));
  changeTo(1, mine);
  EXPECT_EQ(readFileBytes(vak::soundFilePath(two, 1)), wav('z'));
  EXPECT_EQ(readFileBytes(vak::soundFilePath(two, 2)), wav('l'));
  EXPECT_FALSE(exists(vak::soundBackupPath(two, 1)));
  EXPECT_EQ(filesIn(two), vak::kSoundRows);  // nothing left over beside them
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(Sounds, ChangeReplacesAndResetRestoresAgainAndAgain) {
  seedTwoProfiles();
  const std::string dir = soundFolder("snd");
  setSoundFolder("111", dir);
  startApp();
  const std::string first = folder_ + "\\erst.wav", second = folder_ + "\\zweit.wav";
  writeFileBytes(first, wav('1'));
  writeFileBytes(second, wav('2', 1600));

  changeTo(10, first);
  EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, 10)), wav('1'));
  changeTo(10, second);  // over the replacement; the copy keeps ICQ's file
  EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, 10)), wav('2', 1600));
  EXPECT_EQ(readFileBytes(vak::soundBackupPath(dir, 10)), wav('j'));
  changeTo(1, first);
  EXPECT_EQ(filesIn(dir), 2 * vak::kSoundRows);

  reset(false);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Frage");
  EXPECT_EQ(ui_.boxes[0].text, "Sollen alle original Sounds wiederhergestellt werden?");
  EXPECT_EQ(ui_.boxes[0].buttons, vak::MbYesNo);
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconQuestion);
  EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, 10)), wav('2', 1600));

  for (int round = 0; round < 2; ++round) {
    reset(true);
    for (int n = 1; n <= vak::kSoundRows; ++n) {
      EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, n)), wav(static_cast<char>('a' + n - 1))) << n;
      EXPECT_TRUE(exists(vak::soundBackupPath(dir, n))) << n;
    }
    EXPECT_EQ(ini("#bk"), "1");
    changeTo(10, first);
  }
  EXPECT_EQ(ui_.boxes.size(), 3u);  // only the questions
}

TEST_F(Sounds, ResetBeforeAnyChangeCopiesNothing) {
  seedTwoProfiles();
  const std::string dir = soundFolder("snd");
  setSoundFolder("111", dir);
  // Copies from somewhere else, but no first replacement recorded.
  for (int n = 1; n <= vak::kSoundRows; ++n) writeFileBytes(vak::soundBackupPath(dir, n), wav('#'));
  startApp();
  reset(true);
  for (int n = 1; n <= vak::kSoundRows; ++n)
    EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, n)), wav(static_cast<char>('a' + n - 1))) << n;
  EXPECT_EQ(ini("#bk"), "<missing>");
  EXPECT_EQ(ui_.boxes.size(), 1u);
}

// Einst.ini lost after replacements: the copies beside the files are still
// ICQ's own sounds and must not be overwritten by the replacements.
TEST_F(Sounds, CopiesAlreadyThereAreKeptWhenTheSettingsAreGone) {
  seedTwoProfiles();
  const std::string dir = soundFolder("snd");
  setSoundFolder("111", dir);
  startApp();
  const std::string mine = folder_ + "\\mein.wav";
  writeFileBytes(mine, wav('z'));
  changeTo(2, mine);
  closeApp();
  DeleteFileA(einstPath().c_str());
  // A copy that went missing is made from the current file.
  DeleteFileA(vak::soundBackupPath(dir, 5).c_str());

  startApp();
  changeTo(3, mine);
  EXPECT_EQ(readFileBytes(vak::soundBackupPath(dir, 2)), wav('b'));
  EXPECT_EQ(readFileBytes(vak::soundBackupPath(dir, 3)), wav('c'));
  EXPECT_EQ(readFileBytes(vak::soundBackupPath(dir, 5)), wav('e'));
  reset(true);
  EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, 2)), wav('b'));
  EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, 3)), wav('c'));
}

TEST_F(Sounds, TheSoundItselfOrAnUnreadableFileLeavesTheRowIntact) {
  seedTwoProfiles();
  const std::string dir = soundFolder("snd");
  setSoundFolder("111", dir);
  startApp();
  // The very file, spelled differently.
  changeTo(4, dir + "\\.\\FILEDONE.WAV");
  EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, 4)), wav('d'));
  EXPECT_TRUE(ui_.boxes.empty());

  const std::string missing = folder_ + "\\gibtsnicht.wav";
  changeTo(4, missing);
  EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, 4)), wav('d'));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Fehler!");
  EXPECT_EQ(ui_.boxes[0].text, "Die Datei \"" + missing +
                                   T("\" konnte nicht als Sound übernommen werden.\r\nDer bisherige Sound bleibt erhalten."));
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconError);
  EXPECT_EQ(filesIn(dir), 2 * vak::kSoundRows);
}

// Without a known sound folder every path would name a file in the root of
// the drive: nothing is played, copied or flagged, and the user is told.
TEST_F(Sounds, UnknownOrMissingFolderTouchesNothing) {
  seedTwoProfiles();
  setSoundFolder("222", folder_ + "\\weg");
  startApp();
  const std::string mine = folder_ + "\\mein.wav";
  writeFileBytes(mine, wav('z'));
  const std::string nothing = T("\r\nEs wurde keine Sounddatei abgespielt oder verändert.");

  changeTo(1, mine);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Achtung!");
  EXPECT_EQ(ui_.boxes[0].text, T("ICQ hat für dieses Profil keinen Soundordner eingetragen.") + nothing);
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconWarning);
  EXPECT_TRUE(ui_.openFilters.empty());
  ui_.openNames.clear();
  reset(true);
  click(play(1));
  EXPECT_EQ(ui_.boxes.size(), 4u);
  EXPECT_EQ(ini("#bk"), "<missing>");
  EXPECT_FALSE(exists("\\Auth.wav"));
  EXPECT_FALSE(exists("\\Auth.wav.VAK"));
  EXPECT_FALSE(form().sounds().player().isOpen());

  chooseProfile(1);
  ui_.boxes.clear();
  changeTo(1, mine);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, "Der Soundordner \"" + folder_ + "\\weg\" wurde nicht gefunden." + nothing);
  EXPECT_EQ(ini("#bk"), "<missing>");
}

// Positions in the profile box are positions in the profile list the box was
// filled from, even when ICQ's machine-wide part lists other profiles.
TEST_F(Sounds, TheChosenProfilesFolderIsUsed) {
  seedTwoProfiles();
  const std::string dir = soundFolder("erika");
  setSoundFolder("222", dir);
  setSoundFolder("150", soundFolder("fremd", 'A'));  // only in HKLM, sorts between 111 and 222
  startApp();
  chooseProfile(1);
  const std::string mine = folder_ + "\\mein.wav";
  writeFileBytes(mine, wav('z'));
  changeTo(6, mine);
  EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, 6)), wav('z'));
  EXPECT_EQ(readFileBytes(folder_ + "\\fremd\\incomingsms.wav"), wav('F'));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(Sounds, WithoutAChosenProfileTheListPositionIsReported) {
  seedTwoProfiles();
  setSoundFolder("111", soundFolder("snd"));
  startApp();
  vak::comboSelect(ctl(ids::NN), -1);
  click(play(1));
  changeTo(1, std::nullopt);
  ASSERT_EQ(ui_.boxes.size(), 2u);
  for (const auto& box : ui_.boxes) {
    EXPECT_EQ(box.caption, "ICQMeldewart");
    EXPECT_EQ(box.text, T("Listenindex überschreitet das Maximum (-1)"));
  }
  EXPECT_TRUE(ui_.openFilters.empty());
  EXPECT_EQ(ini("#bk"), "<missing>");
}

TEST_F(Sounds, PlayShowsTheMediaLayersErrorAndChangeClosesTheDevice) {
  seedTwoProfiles();
  const std::string dir = soundFolder("snd");
  setSoundFolder("111", dir);
  startApp();
  writeFileBytes(vak::soundFilePath(dir, 2), "kein Klang");
  click(play(2));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "ICQMeldewart");
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconError);
  EXPECT_FALSE(ui_.boxes[0].text.empty());
  DeleteFileA(vak::soundFilePath(dir, 3).c_str());
  click(play(3));
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_FALSE(ui_.boxes[1].text.empty());

  // A playable file: the device holds it until a replacement closes it.
  click(play(1));
  EXPECT_EQ(ui_.boxes.size(), 2u);
  EXPECT_TRUE(form().sounds().player().isOpen());
  EXPECT_EQ(form().sounds().player().fileName(), vak::soundFilePath(dir, 1));
  const std::string mine = folder_ + "\\mein.wav";
  writeFileBytes(mine, wav('z'));
  changeTo(1, mine);
  EXPECT_FALSE(form().sounds().player().isOpen());
  EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, 1)), wav('z'));

  click(play(1));
  EXPECT_TRUE(form().sounds().player().isOpen());
  reset(true);
  EXPECT_FALSE(form().sounds().player().isOpen());
  EXPECT_EQ(readFileBytes(vak::soundFilePath(dir, 1)), wav('a'));
  EXPECT_EQ(ui_.boxes.size(), 3u);
}
