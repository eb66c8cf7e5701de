// The main window's first showing: profiles, start profile, version gate,
// the status set in the tables and the interface texts.
#include "GuiFixture.h"

#include <vector>

using namespace vaktest;
namespace ids = vak::ids;
using vak::T;

namespace {

class Startup : public GuiTest {};

std::string regAt(const std::string& key, const std::string& name) {
  auto q = regQuery(key, name);
  return q ? q->type + " " + q->data : "<missing>";
}

// The pixels of r (client coordinates) as the window paints its client area.
std::vector<COLORREF> drawn(HWND window, const RECT& r) { return DrawnClient(window).pixels(r); }

// How many pixels are not the face colour.
int inked(const std::vector<COLORREF>& px) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  int n = 0;
  for (COLORREF c : px) n += c != face;
  return n;
}

}  // namespace

// The switches in the tables and the "Bearbeiten" buttons are drawn, not
// windows: an entry's box shows its state and a button shows its caption.
TEST_F(Startup, EntrySwitchesAndButtonsAreDrawn) {
  seedTwoProfiles();
  startApp();
  vak::Grid& g = form().status().grid(1);
  ASSERT_TRUE(boxChecked(1));
  ASSERT_FALSE(boxChecked(2));
  const auto on = drawn(g.hwnd(), g.switchRect(1));
  const auto off = drawn(g.hwnd(), g.switchRect(2));
  ASSERT_FALSE(on.empty());
  EXPECT_NE(on, off) << "a checked and an unchecked box look alike";
  EXPECT_GT(inked(off), 0) << "no box drawn";
  clickBox(2);
  EXPECT_TRUE(boxChecked(2));
  EXPECT_EQ(drawn(g.hwnd(), g.switchRect(2)), on);
  clickBox(2);
  EXPECT_EQ(drawn(g.hwnd(), g.switchRect(2)), off);

  for (int which : {1, 2}) {
    vak::ButtonColumn& column = form().status().editButtons(which);
    const RECT b = column.buttonRect(3);
    // The caption sits in the middle third of the button.
    const int third = (b.right - b.left) / 3;
    const RECT middle{b.left + third, b.top + 3, b.right - third, b.bottom - 3};
    EXPECT_GT(inked(drawn(column.hwnd(), middle)), 10) << which << ": no caption drawn";
    // Every shown button looks the same when none has the focus.
    EXPECT_EQ(drawn(column.hwnd(), column.buttonRect(3)), drawn(column.hwnd(), column.buttonRect(4))) << which;
  }
}

TEST_F(Startup, ListsProfilesAndStartsWithLastOwner) {
  addProfile("111", "Max");
  addProfile("222", "Erika");
  setLastOwner(222);
  setLiteVersion("2050");
  // Leftovers of an update are removed at every start.
  writeFileBytes(folder_ + "\\Update.ini", "[x]\r\n");
  writeFileBytes(folder_ + "\\Updater.exe", "MZ");
  startApp();
  EXPECT_EQ(GetFileAttributesA((folder_ + "\\Update.ini").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((folder_ + "\\Updater.exe").c_str()), INVALID_FILE_ATTRIBUTES);

  HWND nn = ctl(ids::NN);
  ASSERT_EQ(vak::comboCount(nn), 2);
  EXPECT_EQ(vak::comboItem(nn, 0), "Max (111)");
  EXPECT_EQ(vak::comboItem(nn, 1), "Erika (222)");
  EXPECT_EQ(vak::comboSelected(nn), 1);
  EXPECT_EQ(form().shared().currentProfile, "222");
  HWND numbers = ctl(ids::C_ICQNr);
  ASSERT_EQ(vak::comboCount(numbers), 2);
  EXPECT_EQ(vak::comboItem(numbers, 0), "111");
  EXPECT_EQ(vak::comboItem(numbers, 1), "222");

  // The tables, boxes and panels hold the profile's stored set.
  for (int n : {1, 2, 16, 17, 29, 32}) {
    EXPECT_EQ(title(n), seedTitle("222", n)) << n;
    EXPECT_EQ(message(n), seedMessage("222", n)) << n;
    EXPECT_EQ(boxChecked(n), seedActive(n)) << n;
    EXPECT_EQ(form().status().model().entry(n).active, seedActive(n)) << n;
  }
  EXPECT_EQ(form().status().grid(2).cell(1, 1), seedTitle("222", 17));
  EXPECT_EQ(form().status().grid(1).cell(16, 2), seedMessage("222", 16));
  EXPECT_EQ(text(ctl(ids::AwayEd)), seedAway("222"));
  EXPECT_EQ(text(ctl(ids::NaEd)), seedNa("222"));
  EXPECT_TRUE(ui_.boxes.empty());

  // Choosing the other profile reads it.
  chooseProfile(0);
  EXPECT_EQ(form().shared().currentProfile, "111");
  for (int n : {1, 2, 16, 17, 32}) {
    EXPECT_EQ(title(n), seedTitle("111", n)) << n;
    EXPECT_EQ(message(n), seedMessage("111", n)) << n;
    EXPECT_EQ(boxChecked(n), seedActive(n)) << n;
  }
  EXPECT_EQ(text(ctl(ids::AwayEd)), seedAway("111"));
  EXPECT_EQ(text(ctl(ids::NaEd)), seedNa("111"));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(Startup, StoredTextsAreShownWithTheirLetters) {
  seedTwoProfiles();
  const std::string e5 = std::string(kHkcuOwners) + "\\111\\CustomStatusList\\5";
  const std::string e6 = std::string(kHkcuOwners) + "\\111\\CustomStatusList\\6";
  // zurück in ICQ's UTF-8 form; é in UTF-8 stays two characters.
  seed_.key(e5).str("Name", "zur\xC3\xBC" "ck").str("Description", "caf\xC3\xA9");
  // A binary message loses its last byte; inner NULs become line breaks.
  seed_.key(e6).binary("Description", std::string("Hi\0Du\0", 6)).binary("Name", std::string("Hi\0Du\0", 6));
  seed_.key(std::string(kHklmIcq) + "\\NewOwners\\111\\ICQLite").binary("AwayStatusText", std::string("AB\0C", 4));
  startApp();
  EXPECT_EQ(hex(title(5)), hex(T("zurück")));
  EXPECT_EQ(hex(message(5)), hex("caf\xC3\xA9"));
  EXPECT_EQ(message(6), "Hi\r\nDu");
  EXPECT_EQ(title(6), "Hi\r\nDu\r\n");
  EXPECT_EQ(text(ctl(ids::AwayEd)), "AB");
}

TEST_F(Startup, SavedStartNumberIsUsedWhenTheDefaultIsOff) {
  seedTwoProfiles();
  writeEinst("[ICQStatFile]\r\n#01=1\r\n[Einstellungen]\r\n#01=222\r\n#02=0\r\n");
  startApp();
  EXPECT_EQ(vak::comboSelected(ctl(ids::NN)), 1);
  EXPECT_EQ(form().shared().currentProfile, "222");
  EXPECT_EQ(comboText(ctl(ids::C_ICQNr)), "222");
  EXPECT_FALSE(vak::isChecked(ctl(ids::SICQNr)));
  EXPECT_TRUE(IsWindowEnabled(ctl(ids::C_ICQNr)));
  EXPECT_EQ(title(1), seedTitle("222", 1));
  EXPECT_EQ(text(ctl(ids::AwayEd)), seedAway("222"));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(Startup, DefaultOnOrEmptyNumberFallsBackToLastOwner) {
  seedTwoProfiles();
  // "Standardnummer verwenden" on: the saved number does not count.
  writeEinst("[ICQStatFile]\r\n#01=1\r\n[Einstellungen]\r\n#01=222\r\n#02=1\r\n");
  startApp();
  EXPECT_EQ(form().shared().currentProfile, "111");
  EXPECT_EQ(vak::comboSelected(ctl(ids::NN)), 0);
  EXPECT_TRUE(vak::isChecked(ctl(ids::SICQNr)));
  closeApp();

  // Default off, but no number saved.
  writeEinst("[ICQStatFile]\r\n#01=1\r\n[Einstellungen]\r\n#01=\r\n#02=0\r\n");
  startApp();
  EXPECT_EQ(form().shared().currentProfile, "111");
  EXPECT_EQ(vak::comboSelected(ctl(ids::NN)), 0);
  EXPECT_EQ(title(3), seedTitle("111", 3));
  closeApp();

  // A number saved while the settings were never taken over does not count either.
  writeEinst("[Einstellungen]\r\n#01=222\r\n#02=0\r\n");
  startApp();
  EXPECT_EQ(form().shared().currentProfile, "111");
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(Startup, UnlistedStartNumberFallsBackToTheFirstProfile) {
  seedTwoProfiles();
  writeEinst("[ICQStatFile]\r\n#01=1\r\n[Einstellungen]\r\n#01=999\r\n#02=0\r\n");
  startApp();
  EXPECT_EQ(vak::comboSelected(ctl(ids::NN)), 0);
  EXPECT_EQ(form().shared().currentProfile, "111");
  EXPECT_EQ(title(1), seedTitle("111", 1));
  EXPECT_EQ(text(ctl(ids::AwayEd)), seedAway("111"));
  EXPECT_TRUE(ui_.boxes.empty());
  closeApp();

  // The same for a LastOwner without a profile key.
  seed_.key(kHkcuOwners).dword("LastOwner", 4711);
  writeEinst("");
  startApp();
  EXPECT_EQ(vak::comboSelected(ctl(ids::NN)), 0);
  EXPECT_EQ(form().shared().currentProfile, "111");
  EXPECT_EQ(message(2), seedMessage("111", 2));
  // What is shown is what a write reaches.
  editCell(2, 2, "neu");
  click(ctl(ids::Button1));
  EXPECT_EQ(regAt(std::string(kRegOwners) + "\\111\\CustomStatusList\\2", "Description"), "REG_SZ neu");
  EXPECT_FALSE(regQuery(std::string(kRegOwners) + "\\4711\\CustomStatusList\\2", "Description"));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(Startup, WithoutProfilesProfileZeroIsWritten) {
  startApp();
  EXPECT_EQ(vak::comboCount(ctl(ids::NN)), 0);
  EXPECT_EQ(form().shared().currentProfile, "0");
  EXPECT_EQ(title(1), "");
  EXPECT_TRUE(ui_.boxes.empty());
  // The NewOwners key is created when the profiles are listed.
  EXPECT_EQ(run("reg query \"" + std::string(kRegOwners) + "\" /reg:32"), 0);

  click(ctl(ids::Button1));
  EXPECT_TRUE(ui_.boxes.empty());
  for (int n : {1, 16, 17, 32}) {
    const std::string key = std::string(kRegOwners) + "\\0\\CustomStatusList\\" + std::to_string(n);
    char line[16];
    std::snprintf(line, sizeof line, "0x%x", n);
    EXPECT_EQ(regAt(key, "LineNumber"), std::string("REG_DWORD ") + line) << n;
    EXPECT_EQ(regAt(key, "On"), "REG_DWORD 0x0") << n;
  }
  EXPECT_EQ(regQuery("HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\0\\ICQLite", "AwayStatusText")->type, "REG_BINARY");

  // Reading again needs a selected profile: the error is shown, nothing changes.
  form().status().model().entry(1).title = "bleibt";
  ui_.answers.push_back(vak::MbResYes);
  click(ctl(ids::Button2));
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[1].caption, "ICQMeldewart");
  EXPECT_EQ(ui_.boxes[1].text, T("Listenindex überschreitet das Maximum (-1)"));
  EXPECT_EQ(title(1), "bleibt");
}

TEST_F(Startup, OldIcqLiteHidesEntries30To32) {
  seedTwoProfiles();
  setLiteVersion("2049");
  startApp();
  EXPECT_TRUE(ui_.boxes.empty());
  RECT rc{};
  GetWindowRect(form().status().grid(2).hwnd(), &rc);
  EXPECT_EQ(rc.bottom - rc.top, 253);
  EXPECT_EQ(text(ctl(ids::Warnung)),
            T("Sie benötigen ICQ 5.1 oder die Pro7 ICQ Version,\r\num diese Icons nutzen zu können!"));
  for (int n = 30; n <= 32; ++n) {
    EXPECT_FALSE(form().status().activeBoxShown(n)) << n;
    EXPECT_FALSE(form().status().editButtonShown(n)) << n;
    EXPECT_FALSE(boxChecked(n)) << n;
    // The cells keep what was read.
    EXPECT_EQ(title(n), seedTitle("111", n)) << n;
  }
  EXPECT_TRUE(form().status().activeBoxShown(29));
  EXPECT_TRUE(form().status().editButtonShown(29));
  EXPECT_TRUE(boxChecked(29));
}

TEST_F(Startup, VersionThatIsNoNumberIsReportedAfterTheFirstRead) {
  seedTwoProfiles();
  setLiteVersion("5.1");
  startApp();
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "ICQMeldewart");
  EXPECT_EQ(ui_.boxes[0].text, T("'5.1' ist kein gültiger Integerwert"));
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconError);
  EXPECT_TRUE(form().shared().startupDone);
  EXPECT_EQ(title(1), seedTitle("111", 1));
  EXPECT_TRUE(form().status().editButtonShown(32));
}

TEST_F(Startup, IcqLite2050OrNoIcqLiteHidesNothing) {
  seedTwoProfiles();
  startApp();
  RECT rc{};
  GetWindowRect(form().status().grid(2).hwnd(), &rc);
  EXPECT_EQ(rc.bottom - rc.top, 307);
  EXPECT_EQ(text(ctl(ids::Warnung)), "");
  for (int n = 30; n <= 32; ++n) {
    EXPECT_TRUE(form().status().activeBoxShown(n)) << n;
    EXPECT_TRUE(form().status().editButtonShown(n)) << n;
  }
  EXPECT_TRUE(boxChecked(31));
  closeApp();

  wipeIcq();
  addProfile("111", "Max");
  setLastOwner(111);
  startApp();
  EXPECT_TRUE(ui_.boxes.empty());
  GetWindowRect(form().status().grid(2).hwnd(), &rc);
  EXPECT_EQ(rc.bottom - rc.top, 307);
  for (int n = 30; n <= 32; ++n) EXPECT_TRUE(form().status().editButtonShown(n)) << n;
  EXPECT_TRUE(boxChecked(31));
  EXPECT_EQ(title(1), seedTitle("111", 1));
}

TEST_F(Startup, InterfaceTextsAreApplied) {
  seedTwoProfiles();
  startApp();
  EXPECT_EQ(text(mainWnd()), T("Meldewart für ICQ - 2.0 RC3"));
  EXPECT_EQ(text(ctl(ids::Button1)), T("Änderungen übernehmen"));
  for (int g : {1, 2}) {
    EXPECT_EQ(form().status().grid(g).heading(0), "An");
    EXPECT_EQ(form().status().grid(g).heading(1), "Titel");
    EXPECT_EQ(form().status().grid(g).heading(2), "Nachricht");
  }
  for (int which : {1, 2}) {
    EXPECT_EQ(form().status().editButtons(which).caption(), "Bearbeiten") << which;
    EXPECT_EQ(text(form().status().editButtons(which).hwnd()), "Bearbeiten") << which;  // its name for screen readers
  }
  // The editor, made when it is first opened, has them too.
  driveModal(editor(), [&] { clickEditButton(2); }, [&] {
    EXPECT_EQ(text(editor().control(vak::EditorDialog::GroupBox2)), "Statusmeldung");
    EXPECT_EQ(text(editor().control(vak::EditorDialog::Label2)), "Nachricht");
    click(editor().control(vak::EditorDialog::Abbrechen));
  });
  EXPECT_EQ(text(ctl(ids::Label5)), "Start-ICQ-Nummer");
  EXPECT_EQ(vak::comboCount(ctl(ids::ComboLng)), 0);
}

TEST_F(Startup, LanguageFolderBesideTheProgramKeepsTheFormTexts) {
  seedTwoProfiles();
  const std::string sibling = folder_ + "LNG";
  ASSERT_EQ(freshDir(testName() + "LNG"), sibling);  // empty: no language file
  // Not the subfolder "LNG": that one is ignored.
  CreateDirectoryA((folder_ + "\\LNG").c_str(), nullptr);
  writeFileBytes(folder_ + "\\LNG\\engl.lng", "[Info]\r\n#02=English\r\n");
  startApp();
  EXPECT_EQ(text(mainWnd()), T("Meldewart für ICQ - 2.0 RC3"));
  closeApp();

  writeFileBytes(sibling + "\\engl.lng", "[Info]\r\n#02=English\r\n");
  startApp();
  EXPECT_EQ(text(mainWnd()), "VAK");
  // The tables keep their headings and the controls their hints.
  for (int g : {1, 2}) {
    EXPECT_EQ(form().status().grid(g).heading(0), "An");
    EXPECT_EQ(form().status().grid(g).heading(1), "Titel");
    EXPECT_EQ(form().status().grid(g).heading(2), "Nachricht");
  }
  // So does the editor, made later.
  driveModal(editor(), [&] { clickEditButton(2); }, [&] {
    EXPECT_EQ(text(editor().control(vak::EditorDialog::GroupBox2)), "Statusicons");
    EXPECT_EQ(text(editor().control(vak::EditorDialog::Label2)), "Message");
    click(editor().control(vak::EditorDialog::Abbrechen));
  });
  const std::string awayHint = T("Achtung!\r\nDamit die Statusnachrichten korrekt übernommen werden,\r\ndarf ICQ "
                                 "während der Übernahme der Einstellungen\r\nnicht laufen!");
  EXPECT_EQ(hints().text(ctl(ids::AwayEd)), awayHint);
  EXPECT_EQ(hints().text(ctl(ids::NaEd)), awayHint);
  EXPECT_EQ(hints().text(ctl(ids::Button1)),
            T("Übernimmt nur Statusmeldungen sowie die ICQTweaks und Einstellungen."));
  for (int id : {ids::GebBox, ids::GebEdit, ids::Gebl1, ids::Gebl2}) {
    EXPECT_EQ(hints().text(ctl(id)).rfind(T("Achtung!\r\nDamit die Einstellungen korrekt"), 0), 0u) << id;
    EXPECT_TRUE(hints().enabled(ctl(id))) << id;
  }
  HWND languages = ctl(ids::ComboLng);
  ASSERT_EQ(vak::comboCount(languages), 2);
  EXPECT_EQ(vak::comboItem(languages, 0), "deutsch");
  EXPECT_EQ(vak::comboItem(languages, 1), "English");
  // The start goes on as usual.
  EXPECT_EQ(title(1), seedTitle("111", 1));
  EXPECT_TRUE(ui_.boxes.empty());
  // Messages are still complete: a file that is no status file is named as such.
  const std::string bogus = folder_ + "\\kaputt.icq";
  writeFileBytes(bogus, "[Statusdatei]\r\n#01=2\r\n");
  form().status().Load(bogus);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Achtung!");
  EXPECT_EQ(ui_.boxes[0].text, "kaputt.icq ist keine korrekte Statusdatei!");
}

// A profile without its ICQ Lite key has no away texts: the panels must not
// keep (and a later write must not copy) those of the profile shown before.
TEST_F(Startup, ProfileWithoutIcqLiteKeyShowsNoAwayTexts) {
  seedTwoProfiles();
  startApp();
  ASSERT_EQ(text(ctl(ids::AwayEd)), seedAway("111"));
  run("reg delete \"HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\222\" /f /reg:32");
  chooseProfile(1);
  EXPECT_EQ(form().shared().currentProfile, "222");
  EXPECT_EQ(text(ctl(ids::AwayEd)), "");
  EXPECT_EQ(text(ctl(ids::NaEd)), "");
  EXPECT_FALSE(IsWindowEnabled(ctl(ids::GebEdit)));
  // Reading wrote nothing for 222.
  EXPECT_FALSE(regQuery("HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\222\\ICQLite", "RemindBirthday"));
}

// A birthday reminder switched on without a number of days: the error is shown
// and the read stops there. The entries read before the error stay in the
// tables; the panels show no texts of the profile read before, and nothing of
// either profile is written until the profile was read whole.
TEST_F(Startup, ReadStoppedByAnErrorCarriesNoTextsIntoTheProfile) {
  seedTwoProfiles();
  startApp();
  const std::string lite = "HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\222\\ICQLite";
  run("reg add \"" + lite + "\" /v RemindBirthday /d Yes /f /reg:32");
  ui_.boxes.clear();
  chooseProfile(1);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, T("Fehler beim Holen der Daten für 'RemindBirthdayDaysBefore'"));
  EXPECT_EQ(ui_.boxes[0].caption, "ICQMeldewart");
  EXPECT_EQ(form().shared().currentProfile, "222");
  EXPECT_EQ(title(1), seedTitle("222", 1));  // read before the error
  EXPECT_EQ(text(ctl(ids::AwayEd)), "");     // not reached: not 111's
  EXPECT_EQ(text(ctl(ids::NaEd)), "");
  EXPECT_TRUE(vak::isChecked(ctl(ids::GebBox)));
  EXPECT_EQ(regQuery(lite, "RemindBirthday")->data, "Yes");
  EXPECT_FALSE(regQuery(lite, "RemindBirthdayDaysBefore"));

  // The take-over is refused: both profiles keep their away texts.
  click(ctl(ids::Button1));
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[1].text.rfind("Es wurde nichts geschrieben: Das Profil 222", 0), 0u) << ui_.boxes[1].text;
  EXPECT_EQ(regQuery(lite, "AwayStatusText")->data, compactHex(seedAway("222")));
  EXPECT_EQ(regQuery("HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\111\\ICQLite", "AwayStatusText")->data,
            compactHex(seedAway("111")));

  // Mended through the tweaks tab ("übernehmen" stores the days shown) and
  // read again, the profile is written as usual.
  EXPECT_TRUE(IsWindowEnabled(ctl(ids::GebEdit)));
  vak::setText(ctl(ids::GebEdit), "3");
  click(ctl(ids::Button6));
  EXPECT_EQ(regQuery(lite, "RemindBirthdayDaysBefore")->data, "0x3");
  ui_.answers.push_back(vak::MbResYes);
  click(ctl(ids::Button2));
  EXPECT_EQ(text(ctl(ids::AwayEd)), seedAway("222"));
  editCell(1, 1, "neu");
  click(ctl(ids::Button1));
  EXPECT_EQ(ui_.boxes.size(), 3u);  // only Reset's question
  EXPECT_EQ(regQuery(std::string(kRegOwners) + "\\222\\CustomStatusList\\1", "Name")->data, "neu");
  EXPECT_EQ(regQuery(lite, "AwayStatusText")->data, compactHex(seedAway("222")));
  EXPECT_EQ(regQuery(std::string(kRegOwners) + "\\111\\CustomStatusList\\1", "Name")->data, seedTitle("111", 1));
  EXPECT_EQ(regQuery("HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\111\\ICQLite", "AwayStatusText")->data,
            compactHex(seedAway("111")));

  // An away text of a type ICQ never writes stops the read in the same way.
  run("reg add \"" + lite + "\" /v NAStatusText /t REG_DWORD /d 7 /f /reg:32");
  ui_.boxes.clear();
  chooseProfile(0);
  chooseProfile(1);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, T("Ungültiger Datentyp für 'NAStatusText'"));
  EXPECT_EQ(text(ctl(ids::AwayEd)), seedAway("222"));
  EXPECT_EQ(text(ctl(ids::NaEd)), "");
  click(ctl(ids::Button1));
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(regQuery(lite, "NAStatusText")->type, "REG_DWORD");
}
