// The tweaks and settings tabs and the about panel get their controls when
// they are first needed. Until then what the start-up and the profile reads
// set on them is kept: made late, they must come out as if they had been made
// with the window, and the program must read, write and say the same.
#include <windows.h>
#include <commctrl.h>

#include <sstream>

#include "GuiFixture.h"
#include "Keyboard.h"
#include "settings/AboutPanel.h"
#include "settings/UpdateCheck.h"
#include "tweaks/ProfileOptions.h"
#include "tweaks/SmileyTable.h"
#include "tweaks/Smileys.h"
#include "tweaks/Sounds.h"
#include "tweaks/TweakRules.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::T;

namespace {

int childCount(HWND parent) {
  int n = 0;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++n;
  return n;
}

// Everything below a registry key as reg export writes it, "<missing>" without it.
std::string tree(const std::string& key) {
  const std::string file = freshDir("pages_export") + "\\tree.reg";
  if (run("reg export \"" + key + "\" \"" + file + "\" /y /reg:32") != 0) return "<missing>\n";
  return readFileBytes(file);
}

// The files below a folder with their contents.
std::string filesBelow(const std::string& dir) {
  std::string all;
  WIN32_FIND_DATAA found{};
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return all;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = dir + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      all += "[" + name + "]\n" + filesBelow(path);
    else
      all += name + ": " + hex(readFileBytes(path)) + "\n";
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return all;
}

class Pages : public GuiTest {
 protected:

  // A control as a user meets it: kind, text, state, place, font, hint.
  std::string describe(HWND h) {
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    LOGFONTW font{};
    if (auto f = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0))) GetObjectW(f, sizeof font, &font);
    std::ostringstream o;
    o << GetDlgCtrlID(h) << " " << vak::narrow(cls) << " '" << text(h) << "' style " << std::hex
      << GetWindowLongW(h, GWL_STYLE) << " ex " << GetWindowLongW(h, GWL_EXSTYLE) << std::dec << " at " << r.left << ","
      << r.top << " " << r.right - r.left << "x" << r.bottom - r.top << " font " << font.lfHeight << "/"
      << font.lfWeight << " tag " << GetWindowLongPtrW(h, GWLP_USERDATA);
    const std::wstring kind = cls;
    if (kind == L"Button")
      o << " check " << SendMessageW(h, BM_GETCHECK, 0, 0) << " image "
        << (SendMessageW(h, BM_GETIMAGE, IMAGE_BITMAP, 0) != 0);
    if (kind == L"Static") o << " image " << (SendMessageW(h, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0);
    if (kind == L"ComboBox") {
      o << " items";
      for (int i = 0; i < vak::comboCount(h); ++i) o << " '" << vak::comboItem(h, i) << "'";
      o << " selected " << vak::comboSelected(h);
    }
    o << " hint '" << hints().text(h) << "' " << (hints().enabled(h) ? "on" : "off");
    return o.str();
  }

  // The controls of a window in their z-order, which is their tab order.
  std::vector<std::string> controlsOf(HWND parent) {
    std::vector<std::string> all;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) all.push_back(describe(c));
    return all;
  }

  // Shows both tabs as a user first does, then the about panel's and the
  // tabs' controls as they are then.
  std::vector<std::string> shownParts() {
    form().setActivePage(1);
    pumpMessages();
    form().setActivePage(2);
    pumpMessages();
    form().setActivePage(0);
    pumpMessages();
    std::vector<std::string> all;
    for (HWND parent : {page(1), page(2), form().about().panel()}) {
      const std::vector<std::string> part = controlsOf(parent);
      all.insert(all.end(), part.begin(), part.end());
    }
    int z = 0;
    for (HWND c = GetWindow(mainWnd(), GW_CHILD); c && c != form().about().panel(); c = GetWindow(c, GW_HWNDNEXT)) ++z;
    all.push_back("panel " + describe(form().about().panel()) + " z " + std::to_string(z));
    return all;
  }

  // The registry trees of ICQ and the files of the test's folder.
  std::string machine() {
    return tree("HKCU\\Software\\Mirabilis") + tree("HKLM\\Software\\Mirabilis") + filesBelow(folder_);
  }

  struct Run {
    std::vector<std::string> boxes;
    std::string afterStart, afterShowing;
    std::vector<std::string> controls;
  };

  Run startOnce(const std::function<void()>& prepare, const std::function<void()>& afterStart, bool madeFirst) {
    wipeIcq();
    folder_ = freshDir(testName());
    prepare();
    if (madeFirst) {
      startApp([&] {
        ctl(ids::GroupBox1);
        ctl(ids::AllgemeinBox);
        form().about().panel();
      });
    } else {
      startApp();
      EXPECT_EQ(childCount(page(1)), 0) << "the start-up made the tweaks page";
      EXPECT_EQ(childCount(page(2)), 0) << "the start-up made the settings page";
      EXPECT_FALSE(form().about().made()) << "the start-up made the about panel";
    }
    if (afterStart) afterStart();
    if (!madeFirst) {
      EXPECT_FALSE(form().tweaks().made());
      EXPECT_FALSE(form().settingsPage().made());
    }
    Run r;
    r.afterStart = machine();
    r.controls = shownParts();
    r.afterShowing = machine();
    for (const auto& b : ui_.boxes) r.boxes.push_back(b.caption + ": " + b.text);
    ui_.boxes.clear();
    closeApp();
    return r;
  }

  // Starts twice from the same machine: with the parts made when first
  // shown, and with them made before the start-up (as the program once did).
  void expectAsMadeWithTheWindow(const std::function<void()>& prepare, const std::function<void()>& afterStart = {}) {
    const Run late = startOnce(prepare, afterStart, false);
    const Run early = startOnce(prepare, afterStart, true);
    EXPECT_EQ(late.boxes, early.boxes);
    EXPECT_EQ(late.afterStart, early.afterStart);
    EXPECT_EQ(late.afterShowing, early.afterShowing);
    ASSERT_EQ(late.controls.size(), early.controls.size());
    for (size_t i = 0; i < late.controls.size(); ++i) EXPECT_EQ(late.controls[i], early.controls[i]) << i;
  }

  void smileyFolder(const std::string& uin) {
    const std::string dir = folder_ + "\\Smileys" + uin;
    CreateDirectoryA(dir.c_str(), nullptr);
    // 19x19, 24 bits, one colour; number 3 is missing, number 5 is no bitmap.
    std::string bmp = "BM";
    const unsigned stride = 60, size = 54 + stride * 19;
    for (unsigned v : {size, 0u, 54u, 40u, 19u, 19u}) bmp += std::string(reinterpret_cast<const char*>(&v), 4);
    bmp += std::string("\1\0\x18\0", 4) + std::string(24, '\0');
    bmp += std::string(stride * 19, '\x40');
    for (int n = 1; n <= vak::kSmileyCount; ++n)
      if (n != 3) writeFileBytes(vak::smileyBitmap(dir, n), n == 5 ? std::string("kein Bild") : bmp);
    seed_.key(std::string(kHklmIcq) + "\\NewOwners\\" + uin + "\\ICQLite").str("SmileyFilePath", dir);
  }
};

}  // namespace

TEST_F(Pages, PlainStartComesOutAsMadeWithTheWindow) {
  expectAsMadeWithTheWindow([&] { seedTwoProfiles(); });
}

// Hints off, a saved start number, the check at exit, multi-instance, a
// birthday reminder, sounds off, smileys with a missing and a broken bitmap
// ("Bitmap ist ungültig"); then another profile read before any tab is shown.
TEST_F(Pages, SettingsFromTheMachineComeOutAsMadeWithTheWindow) {
  expectAsMadeWithTheWindow(
      [&] {
        seedTwoProfiles();
        seed_.key(std::string(kHklmIcq) + "\\DefaultPrefs").str("MultiInstance", "Yes");
        seed_.key(std::string(kHklmIcq) + "\\NewOwners\\222\\ICQLite")
            .str("RemindBirthday", "Yes")
            .dword("RemindBirthdayDaysBefore", 7);
        seed_.key(std::string(kHkcuOwners) + "\\222\\CommonPrefs").str("AllResponsePlay", "No");
        seed_.key(std::string(kHkcuOwners) + "\\111\\CommonPrefs").str("AllResponsePlay", "Yes");
        smileyFolder("222");
        writeEinst("[ICQStatFile]\r\n#01=1\r\n[Einstellungen]\r\n#01=222\r\n#02=0\r\n#03=2\r\n#05=0\r\n");
      },
      [&] {
        // Sounds on again: the rows follow and are written.
        chooseProfile(0);
      });
}

// The first read stops at a reminder without days: the rest of the start
// (smileys, the checks at every showing) does not run.
TEST_F(Pages, StartStoppedByAnErrorComesOutAsMadeWithTheWindow) {
  expectAsMadeWithTheWindow([&] {
    seedTwoProfiles();
    seed_.key(std::string(kHklmIcq) + "\\NewOwners\\111\\ICQLite").str("RemindBirthday", "Yes");
    smileyFolder("111");
  });
}

// No ICQ at all, a language file (the form's texts stay) and the check at
// start against a server that does not answer.
TEST_F(Pages, LanguageFileAndCheckAtStartComeOutAsMadeWithTheWindow) {
  expectAsMadeWithTheWindow([&] {
    writeFileBytes(freshDir(testName() + "LNG") + "\\engl.lng", "[Info]\r\n#02=English\r\n");
    writeEinst("[Einstellungen]\r\n#03=1\r\n");
  });
}

// What a user sees on the first showing of each page after a start that set
// them all differently from their design.
TEST_F(Pages, FirstShowingShowsWhatTheStartSet) {
  seedTwoProfiles();
  seed_.key(std::string(kHklmIcq) + "\\NewOwners\\111\\ICQLite").str("RemindBirthday", "Yes").dword(
      "RemindBirthdayDaysBefore", 9);
  seed_.key(std::string(kHkcuOwners) + "\\111\\CommonPrefs").str("AllResponsePlay", "No");
  smileyFolder("111");
  writeEinst("[Einstellungen]\r\n#03=2\r\n#05=0\r\n");
  startApp();
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, T("Bitmap ist ungültig"));
  ASSERT_EQ(childCount(page(1)), 0);
  ASSERT_TRUE(bringToFront(mainWnd()));
  HangGuard guard(mainWnd());

  // The tweaks page from the keyboard on the tabs.
  SetFocus(ctl(ids::PageControl1));
  pressKey(VK_RIGHT);
  ASSERT_EQ(form().activePage(), 1);
  EXPECT_GT(childCount(page(1)), 60);
  EXPECT_TRUE(vak::isChecked(ctl(ids::GebBox)));
  EXPECT_EQ(text(ctl(ids::GebEdit)), "9");
  EXPECT_TRUE(IsWindowEnabled(ctl(ids::Button6)));
  EXPECT_FALSE(hints().enabled(ctl(ids::GebBox)));
  EXPECT_EQ(hints().text(ctl(ids::GebBox)).rfind(T("Achtung!\r\nDamit die Einstellungen"), 0), 0u);
  EXPECT_FALSE(vak::isChecked(ctl(ids::SoundBox)));
  for (int n = 1; n <= vak::kSoundRows; ++n) EXPECT_FALSE(vak::isChecked(ctl(ids::SCB1 + n - 1))) << n;
  EXPECT_EQ(text(ctl(ids::SmOrt)), folder_ + "\\Smileys111");
  EXPECT_EQ(vak::comboCount(ctl(ids::DelProfile)), 2);
  EXPECT_EQ(vak::comboItem(ctl(ids::DelProfile), 1), "Erika (222)");
  for (int n : {1, 2, 4}) {
    EXPECT_TRUE(form().tweaks().smileys().picture(n)) << n;
    EXPECT_EQ(text(form().tweaks().smileys().button(n)), "") << n;
  }
  for (int n : {3, 5}) {
    EXPECT_FALSE(form().tweaks().smileys().picture(n)) << n;
    EXPECT_EQ(text(form().tweaks().smileys().button(n)), "Error!") << n;
  }
  // Not reached by the start: as made.
  EXPECT_FALSE(form().tweaks().smileys().picture(6));
  EXPECT_EQ(text(form().tweaks().smileys().button(6)), "");
  // The focus stays on the tabs, where the keys were pressed.
  EXPECT_EQ(GetFocus(), ctl(ids::PageControl1));

  // The settings page from the menu, with the keyboard.
  ASSERT_EQ(childCount(page(2)), 0);
  {
    WhenModal choose([] { queueKey('E'); });  // in the open menu "Datei"
    pressKey('D', {VK_MENU});
    EXPECT_TRUE(choose.ran()) << "the menu did not open";
  }
  ASSERT_EQ(form().activePage(), 2);
  EXPECT_TRUE(vak::isChecked(ctl(ids::RadioButton2)));
  EXPECT_FALSE(vak::isChecked(ctl(ids::RadioButton3)));
  EXPECT_FALSE(vak::isChecked(ctl(ids::HintBox)));
  EXPECT_TRUE(vak::isChecked(ctl(ids::SICQNr)));
  EXPECT_FALSE(IsWindowEnabled(ctl(ids::C_ICQNr)));
  EXPECT_EQ(vak::comboCount(ctl(ids::C_ICQNr)), 2);
  EXPECT_EQ(text(ctl(ids::Label5)), "Start-ICQ-Nummer");
  EXPECT_FALSE(hints().enabled(ctl(ids::InfoBtn)));
  EXPECT_EQ(GetFocus(), ctl(ids::PageControl1));
  EXPECT_TRUE(answers(mainWnd()));

  // The about panel, from the menu.
  EXPECT_FALSE(form().about().made());
  menu(ids::About1);
  EXPECT_TRUE(IsWindowVisible(form().about().panel()));
  EXPECT_EQ(text(form().about().control(ids::Label2)), "Version 2.0 RC3");
  EXPECT_EQ(ui_.boxes.size(), 1u);
}

// The check at exit reads its radio button also when the settings page was never shown.
TEST_F(Pages, CheckAtExitWithoutTheSettingsPage) {
  seedTwoProfiles();
  writeEinst("[Einstellungen]\r\n#03=2\r\n");
  startApp();
  form().FormClose();
  EXPECT_FALSE(form().settingsPage().made());
  ASSERT_EQ(ui_.boxes.size(), 1u);  // the server does not answer
  EXPECT_EQ(ui_.boxes[0].caption, "Achtung!");
  EXPECT_EQ(shell_.exits.size(), 1u);
}
