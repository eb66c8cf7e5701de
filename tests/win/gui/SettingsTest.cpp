// The settings tab "VAK-Einstellungen" and Einst.ini.
#include <windows.h>
#include <commctrl.h>

#include "GuiFixture.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::T;

namespace {

class SettingsTab : public GuiTest {
 protected:
  void showTab() {
    menu(ids::Einstellungen1);
    ASSERT_EQ(form().activePage(), 2);
  }
  std::string ini(const std::string& section, const std::string& key) const {
    return vak::IniFile(einstPath()).readString(section, key, "<missing>");
  }
  bool checked(int id) const { return vak::isChecked(ctl(id)); }
  void selectNumber(const std::string& number) {
    HWND numbers = ctl(ids::C_ICQNr);
    const int i = vak::comboFind(numbers, number);
    ASSERT_GE(i, 0) << number;
    SendMessageW(numbers, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
  }
  void expectHints(bool on) {
    for (int id : {int{ids::Button1}, int{ids::AwayEd}, int{ids::NaEd}, int{ids::GebBox}})
      EXPECT_EQ(hints().enabled(ctl(id)), on) << id;
  }
};

}  // namespace

TEST_F(SettingsTab, FreshInstallation) {
  seedTwoProfiles();
  startApp();
  expectHints(true);
  showTab();
  EXPECT_TRUE(checked(ids::SICQNr));
  EXPECT_FALSE(IsWindowEnabled(ctl(ids::C_ICQNr)));
  EXPECT_EQ(vak::comboSelected(ctl(ids::C_ICQNr)), -1);
  EXPECT_TRUE(checked(ids::HintBox));
  EXPECT_TRUE(checked(ids::RadioButton3));
  EXPECT_FALSE(checked(ids::RadioButton1));
  EXPECT_FALSE(checked(ids::RadioButton2));
  EXPECT_EQ(text(ctl(ids::EinstStat)), "");
  EXPECT_TRUE(IsWindowVisible(ctl(ids::Button7)));
  EXPECT_FALSE(IsWindowVisible(form().status().grid(1).hwnd()));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(SettingsTab, SavedNumberIsUsedAtTheNextStart) {
  seedTwoProfiles();
  startApp();
  showTab();
  click(ctl(ids::SICQNr));
  EXPECT_FALSE(checked(ids::SICQNr));
  EXPECT_TRUE(IsWindowEnabled(ctl(ids::C_ICQNr)));
  selectNumber("222");
  click(ctl(ids::Button7));
  EXPECT_EQ(text(ctl(ids::EinstStat)), T("Einstellungen übernommen"));
  EXPECT_EQ(ini("ICQStatFile", "#01"), "1");
  EXPECT_EQ(ini("Einstellungen", "#01"), "222");
  EXPECT_EQ(ini("Einstellungen", "#02"), "0");
  EXPECT_EQ(ini("Einstellungen", "#03"), "3");
  EXPECT_EQ(ini("Einstellungen", "#04"), "");  // no language list
  EXPECT_EQ(ini("Einstellungen", "#05"), "1");
  EXPECT_TRUE(ui_.boxes.empty());
  // Saving does not change the profile shown.
  EXPECT_EQ(form().shared().currentProfile, "111");

  closeApp();
  startApp();
  EXPECT_EQ(form().shared().currentProfile, "222");
  EXPECT_EQ(vak::comboSelected(ctl(ids::NN)), 1);
  EXPECT_EQ(comboText(ctl(ids::C_ICQNr)), "222");
  EXPECT_FALSE(checked(ids::SICQNr));
  EXPECT_EQ(title(1), seedTitle("222", 1));
  showTab();
  EXPECT_TRUE(IsWindowEnabled(ctl(ids::C_ICQNr)));
  EXPECT_EQ(comboText(ctl(ids::C_ICQNr)), "222");

  // Saved with the default on again: the next start takes LastOwner.
  click(ctl(ids::SICQNr));
  click(ctl(ids::Button7));
  EXPECT_EQ(ini("Einstellungen", "#02"), "1");
  EXPECT_EQ(ini("ICQStatFile", "#01"), "1");
  closeApp();
  startApp();
  EXPECT_EQ(form().shared().currentProfile, "111");
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(SettingsTab, CancelKeepsTheToggledHintSwitch) {
  seedTwoProfiles();
  startApp();
  showTab();
  click(ctl(ids::SICQNr));
  selectNumber("111");
  click(ctl(ids::Button7));
  ASSERT_EQ(ini("Einstellungen", "#05"), "1");
  ASSERT_EQ(ini("Einstellungen", "#01"), "111");

  click(ctl(ids::HintBox));
  EXPECT_FALSE(checked(ids::HintBox));
  expectHints(false);
  selectNumber("222");
  click(ctl(ids::RadioButton1));
  click(ctl(ids::Einst_Abb));
  EXPECT_EQ(text(ctl(ids::EinstStat)), "Abgebrochen");
  EXPECT_FALSE(checked(ids::HintBox));
  expectHints(false);
  EXPECT_EQ(ini("Einstellungen", "#05"), "1");
  // The rest of the tab comes back from the file.
  EXPECT_EQ(comboText(ctl(ids::C_ICQNr)), "111");
  EXPECT_TRUE(checked(ids::RadioButton3));
  EXPECT_FALSE(checked(ids::RadioButton1));
  EXPECT_FALSE(checked(ids::SICQNr));

  // Showing the tab again loads the file's value (and its hint switch).
  menu(ids::Einstellungen1);  // already active: nothing reloads
  EXPECT_FALSE(checked(ids::HintBox));
  SendMessageW(ctl(ids::PageControl1), TCM_SETCURSEL, 0, 0);
  NMHDR change{ctl(ids::PageControl1), static_cast<UINT_PTR>(ids::PageControl1), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(mainWnd(), WM_NOTIFY, ids::PageControl1, reinterpret_cast<LPARAM>(&change));
  showTab();
  EXPECT_TRUE(checked(ids::HintBox));
  expectHints(true);
  EXPECT_EQ(text(ctl(ids::EinstStat)), "");
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(SettingsTab, UncheckingTheDefaultReloadsTheTabFromTheFile) {
  seedTwoProfiles();
  writeEinst("[Einstellungen]\r\n#01=222\r\n#03=2\r\n#05=0\r\n");
  startApp();
  expectHints(false);
  showTab();
  EXPECT_TRUE(checked(ids::RadioButton2));
  EXPECT_FALSE(checked(ids::HintBox));

  // Unsaved changes on the tab...
  click(ctl(ids::RadioButton1));
  EXPECT_TRUE(checked(ids::RadioButton1));
  click(ctl(ids::HintBox));
  EXPECT_TRUE(checked(ids::HintBox));
  // ...are replaced from the file when the default switch changes.
  click(ctl(ids::SICQNr));
  EXPECT_TRUE(IsWindowEnabled(ctl(ids::C_ICQNr)));
  EXPECT_EQ(comboText(ctl(ids::C_ICQNr)), "222");
  EXPECT_TRUE(checked(ids::RadioButton2));
  EXPECT_FALSE(checked(ids::RadioButton1));
  EXPECT_FALSE(checked(ids::HintBox));
  expectHints(false);

  click(ctl(ids::SICQNr));
  EXPECT_FALSE(IsWindowEnabled(ctl(ids::C_ICQNr)));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(SettingsTab, UpdateModeFromTheFile) {
  seedTwoProfiles();
  writeEinst("[Einstellungen]\r\n#03=0x2\r\n");
  startApp();
  showTab();
  EXPECT_TRUE(checked(ids::RadioButton2));
  EXPECT_FALSE(checked(ids::RadioButton3));
  closeApp();

  writeEinst("[Einstellungen]\r\n#03=abc\r\n");
  startApp();
  showTab();
  EXPECT_TRUE(checked(ids::RadioButton3));
  EXPECT_FALSE(checked(ids::RadioButton2));
  closeApp();

  // Every read of a profile checks the saved mode again.
  writeEinst("[Einstellungen]\r\n#03=1\r\n");
  startApp();
  showTab();
  EXPECT_TRUE(checked(ids::RadioButton1));
  click(ctl(ids::RadioButton3));
  chooseProfile(1);
  EXPECT_TRUE(checked(ids::RadioButton1));
  EXPECT_FALSE(checked(ids::RadioButton3));
  // Only the check at start spoke (no update server answers here).
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "Achtung!");
}

TEST_F(SettingsTab, ReadOnlySettingsFileReportsTheRefusedWrite) {
  seedTwoProfiles();
  writeEinst("[Einstellungen]\r\n#05=1\r\n");
  ASSERT_TRUE(SetFileAttributesA(einstPath().c_str(), FILE_ATTRIBUTE_READONLY));
  startApp();
  showTab();
  click(ctl(ids::HintBox));
  // Under Wine a test running as root may still write a read-only file: then
  // an open handle that shares only reading refuses the write just as well.
  HANDLE probe = CreateFileA(einstPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  HANDLE lock = INVALID_HANDLE_VALUE;
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    lock = CreateFileA(einstPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  click(ctl(ids::Button7));
  if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
  SetFileAttributesA(einstPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].caption, "ICQMeldewart");
  EXPECT_EQ(ui_.boxes[0].text, "In " + einstPath() + " kann nicht geschrieben werden");
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconError);
  EXPECT_EQ(text(ctl(ids::EinstStat)), "");
  EXPECT_EQ(readFileBytes(einstPath()), "[Einstellungen]\r\n#05=1\r\n");
}

TEST_F(SettingsTab, HintSwitchAtStartAndOnClick) {
  seedTwoProfiles();
  writeEinst("[Einstellungen]\r\n#05=0\r\n");
  startApp();
  expectHints(false);
  // Hints that are not switched stay on.
  EXPECT_TRUE(hints().enabled(ctl(ids::Image33)));
  EXPECT_EQ(hints().text(ctl(ids::Button1)),
            T("Übernimmt nur Statusmeldungen sowie die ICQTweaks und Einstellungen."));
  showTab();
  click(ctl(ids::HintBox));
  expectHints(true);
  EXPECT_EQ(hints().text(ctl(ids::AwayEd)),
            T("Achtung!\r\nDamit die Statusnachrichten korrekt übernommen werden,\r\ndarf ICQ während der Übernahme "
              "der Einstellungen\r\nnicht laufen!"));
  click(ctl(ids::HintBox));
  expectHints(false);
  EXPECT_TRUE(hints().enabled(ctl(ids::Image33)));
}
