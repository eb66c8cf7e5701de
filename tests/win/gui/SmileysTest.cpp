// The smiley group of the tweaks tab against real bitmap files in the test's
// folder and ICQ's smiley folder in the registry.
#include "GuiFixture.h"

#include <psapi.h>

#include <cstdint>

#include "tweaks/SmileyTable.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::T;

namespace {

// ICQ's own bitmaps, a set, and single replacements differ in colour.
enum Variant : int { Own = 0x10, Set = 0x80, New = 0xF0 };

COLORREF colorOf(int variant, int n) { return RGB(n * 9, variant, 0x40); }

// A 24-bit bitmap file of one colour.
std::string bmpBytes(COLORREF color, int w = 19, int h = 19) {
  const int stride = (w * 3 + 3) & ~3;
  const std::uint32_t dataSize = static_cast<std::uint32_t>(stride * h);
  std::string b;
  auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b += static_cast<char>(v >> (8 * i) & 0xFF);
  };
  b += "BM";
  put(54 + dataSize, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(w), 4);
  put(static_cast<std::uint32_t>(h), 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(dataSize, 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      b += static_cast<char>(GetBValue(color));
      b += static_cast<char>(GetGValue(color));
      b += static_cast<char>(GetRValue(color));
    }
    for (int pad = w * 3; pad < stride; ++pad) b += '\0';
  }
  return b;
}

class Smileys : public GuiTest {
 protected:
  std::string makeDir(const std::string& name) {
    const std::string dir = folder_ + "\\" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
  }
  // A folder with Smiley1.bmp ... Smiley28.bmp of one variant.
  std::string smileyDir(const std::string& name, int variant) {
    const std::string dir = makeDir(name);
    for (int n = 1; n <= vak::kSmileyCount; ++n) writeFileBytes(vak::smileyBitmap(dir, n), bmpBytes(colorOf(variant, n)));
    return dir;
  }
  void setSmileyFolder(const std::string& uin, const std::string& folder) {
    seed_.key(std::string(kHklmIcq) + "\\NewOwners\\" + uin + "\\ICQLite").str("SmileyFilePath", folder);
  }
  // Profile 111 with ICQ's own smileys in ICQLite\Smileys of the test folder.
  std::string startWithOwnSmileys() {
    seedTwoProfiles();
    makeDir("ICQLite");
    const std::string dir = smileyDir("ICQLite\\Smileys", Own);
    setSmileyFolder("111", dir);
    startApp();
    return dir;
  }

  HWND smiley(int n) { return form().tweaks().smileys().button(n); }
  // The colour in the middle of smiley n as its button draws it; CLR_INVALID
  // while it shows no picture.
  COLORREF shown(int n) {
    if (!form().tweaks().smileys().picture(n)) return CLR_INVALID;
    const DrawnClient drawn(smiley(n));
    return drawn.at(drawn.client().right / 2, drawn.client().bottom / 2);
  }
  SIZE pictureSize(int n) {
    BITMAP info{};
    GetObjectW(form().tweaks().smileys().picture(n), sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
  }
  bool showsOwn(int variant) {
    for (int n = 1; n <= vak::kSmileyCount; ++n)
      if (shown(n) != colorOf(variant, n) || text(smiley(n)) != "") return false;
    return true;
  }
  std::string backupEntry() { return vak::IniFile(einstPath()).readString("Smiley", "#bk", "<none>"); }
  std::optional<std::string> registeredFolder(const std::string& uin) {
    auto q = regQuery("HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\" + uin + "\\ICQLite", "SmileyFilePath");
    if (!q) return std::nullopt;
    return q->data;
  }
  std::string boxTexts() const {
    std::string all;
    for (const auto& box : ui_.boxes) all += "[" + box.caption + ": " + box.text + "] ";
    return all;
  }
  static bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  // A key press as the message loop delivers it.
  void press(HWND target, WPARAM vk) {
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
    MSG down{target, WM_KEYDOWN, vk, static_cast<LPARAM>(1 | scan << 16), 0, {}};
    vak::dispatchMessage(down);
    pumpMessages();
    MSG up{target, WM_KEYUP, vk, static_cast<LPARAM>(1 | scan << 16 | 0xC0000000u), 0, {}};
    vak::dispatchMessage(up);
    pumpMessages();
  }
};

}  // namespace

TEST_F(Smileys, ButtonsInRowsOfSixWithTheirHints) {
  startWithOwnSmileys();
  HWND page = this->page(1);
  RECT group{};
  GetWindowRect(ctl(ids::Smiley), &group);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&group), 2);
  EXPECT_EQ(group.left, 553);
  EXPECT_EQ(group.top, 6);
  for (int n = 1; n <= vak::kSmileyCount; ++n) {
    HWND b = smiley(n);
    ASSERT_TRUE(b) << n;
    EXPECT_EQ(GetParent(b), page);
    RECT rc{};
    GetWindowRect(b, &rc);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rc), 2);
    const int row = (n - 1) / 6, col = (n - 1) % 6;
    EXPECT_EQ(rc.left - group.left, 7 + 41 * col) << n;
    EXPECT_EQ(rc.top - group.top, 70 + 48 * row) << n;
    EXPECT_EQ(rc.right - rc.left, 41) << n;
    EXPECT_EQ(rc.bottom - rc.top, 41) << n;
    EXPECT_LT(rc.bottom, group.bottom - 2) << n;  // inside the group's frame
    EXPECT_LT(rc.right, group.right - 2) << n;
    EXPECT_TRUE(GetWindowLongW(b, GWL_STYLE) & BS_FLAT) << n;
    EXPECT_EQ(hints().text(b), vak::smileyHint(n)) << n;
  }
  EXPECT_EQ(hints().text(smiley(18)), "Change: :-\\");

  // The smileys' hints always show; "SmileySet"'s only with the hint switch.
  const std::string setHint =
      T("Wähle eine Bitmap des Sets!\r\nDieser muss sich in einem Ordner\r\nmit den anderen Smileys befinden!");
  EXPECT_EQ(hints().text(ctl(ids::Button3)), setHint);
  EXPECT_TRUE(hints().enabled(ctl(ids::Button3)));
  form().setActivePage(2);
  click(ctl(ids::HintBox));
  ASSERT_FALSE(vak::isChecked(ctl(ids::HintBox)));
  EXPECT_FALSE(hints().enabled(ctl(ids::Button3)));
  for (int n = 1; n <= vak::kSmileyCount; ++n) EXPECT_TRUE(hints().enabled(smiley(n))) << n;
  click(ctl(ids::HintBox));
  EXPECT_TRUE(hints().enabled(ctl(ids::Button3)));
}

TEST_F(Smileys, KeyboardReachesAndClicksTheSmileys) {
  startWithOwnSmileys();
  form().setActivePage(1);
  pumpMessages();
  SetForegroundWindow(mainWnd());
  SetFocus(smiley(27));
  press(smiley(27), VK_TAB);
  EXPECT_EQ(GetFocus(), smiley(28));
  press(smiley(28), VK_TAB);
  EXPECT_EQ(GetFocus(), ctl(ids::ResetSm));
  press(ctl(ids::ResetSm), VK_TAB);
  EXPECT_EQ(GetFocus(), ctl(ids::Button3));

  SetFocus(smiley(5));
  press(smiley(5), VK_SPACE);
  ASSERT_EQ(ui_.openFilters.size(), 1u);  // the file dialog of smiley 5 (cancelled)
  EXPECT_EQ(ui_.openFilters[0], "*.bmp (Bitmap)|*.bmp");
  EXPECT_TRUE(showsOwn(Own));
}

TEST_F(Smileys, FirstStartBacksUpIcqsBitmapsLaterStartsDoNot) {
  const std::string dir = startWithOwnSmileys();
  EXPECT_EQ(backupEntry(), dir);
  EXPECT_EQ(text(ctl(ids::SmOrt)), dir);
  for (int n = 1; n <= vak::kSmileyCount; ++n)
    EXPECT_EQ(readFileBytes(vak::smileyBackup(dir, n)), bmpBytes(colorOf(Own, n))) << n;
  EXPECT_TRUE(showsOwn(Own));
  EXPECT_TRUE(ui_.boxes.empty()) << boxTexts();

  // ICQ's bitmaps change, one backup goes missing: a later start copies nothing.
  writeFileBytes(vak::smileyBitmap(dir, 1), bmpBytes(colorOf(New, 1)));
  DeleteFileA(vak::smileyBackup(dir, 2).c_str());
  closeApp();
  startApp();
  EXPECT_EQ(readFileBytes(vak::smileyBackup(dir, 1)), bmpBytes(colorOf(Own, 1)));
  EXPECT_FALSE(exists(vak::smileyBackup(dir, 2)));
  EXPECT_EQ(shown(1), colorOf(New, 1));
  EXPECT_EQ(backupEntry(), dir);
}

TEST_F(Smileys, SingleSmileyReplacedCancelledOrRefused) {
  const std::string dir = startWithOwnSmileys();
  const std::string fresh = makeDir("neu") + "\\lachen.bmp";
  writeFileBytes(fresh, bmpBytes(colorOf(New, 5), 24, 24));
  ui_.openNames.push_back(fresh);
  click(smiley(5));
  ASSERT_EQ(ui_.openFilters.size(), 1u);
  EXPECT_EQ(ui_.openFilters[0], "*.bmp (Bitmap)|*.bmp");
  EXPECT_EQ(readFileBytes(vak::smileyBitmap(dir, 5)), bmpBytes(colorOf(New, 5), 24, 24));
  EXPECT_EQ(readFileBytes(vak::smileyBackup(dir, 5)), bmpBytes(colorOf(Own, 5)));
  EXPECT_EQ(shown(5), colorOf(New, 5));
  EXPECT_TRUE(ui_.boxes.empty()) << boxTexts();

  // Cancelled: the end state equals the state before.
  click(smiley(4));
  EXPECT_EQ(shown(4), colorOf(Own, 4));
  EXPECT_EQ(text(smiley(4)), "");
  EXPECT_EQ(readFileBytes(vak::smileyBitmap(dir, 4)), bmpBytes(colorOf(Own, 4)));

  // The very file it replaces: nothing lost, nothing to say.
  ui_.openNames.push_back(vak::smileyBitmap(dir, 6));
  click(smiley(6));
  EXPECT_EQ(readFileBytes(vak::smileyBitmap(dir, 6)), bmpBytes(colorOf(Own, 6)));
  EXPECT_EQ(shown(6), colorOf(Own, 6));
  EXPECT_TRUE(ui_.boxes.empty()) << boxTexts();

  // A file that is not a bitmap, and one that is not there: the smiley keeps its bitmap.
  const std::string junk = folder_ + "\\kaputt.bmp";
  writeFileBytes(junk, "kein Bild");
  ui_.openNames.push_back(junk);
  click(smiley(7));
  ui_.openNames.push_back(folder_ + "\\fehlt.bmp");
  click(smiley(8));
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[0].text, T("Bitmap ist ungültig"));
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconError);
  EXPECT_EQ(ui_.boxes[1].text.rfind(T("Die Datei kann nicht gelesen werden:"), 0), 0u) << ui_.boxes[1].text;
  for (int n : {7, 8}) {
    EXPECT_EQ(readFileBytes(vak::smileyBitmap(dir, n)), bmpBytes(colorOf(Own, n))) << n;
    EXPECT_EQ(shown(n), colorOf(Own, n)) << n;
  }
  EXPECT_FALSE(exists(vak::smileyBitmap(dir, 7) + ".vaktmp"));
}

TEST_F(Smileys, SetChosenThenSingleSmileyGoesToIcqsFolderAndResetRestoresIt) {
  const std::string own = startWithOwnSmileys();
  const std::string set = smileyDir("Blau", Set);
  ui_.openNames.push_back(vak::smileyBitmap(set, 3));
  click(ctl(ids::Button3));
  EXPECT_EQ(registeredFolder("111"), std::optional<std::string>(set));
  EXPECT_EQ(text(ctl(ids::SmOrt)), set);
  EXPECT_TRUE(showsOwn(Set));
  EXPECT_EQ(backupEntry(), own);  // the backup folder stays ICQ's own
  EXPECT_FALSE(exists(vak::smileyBackup(set, 1)));

  const std::string fresh = folder_ + "\\zwinkern.bmp";
  writeFileBytes(fresh, bmpBytes(colorOf(New, 9)));
  ui_.openNames.push_back(fresh);
  click(smiley(9));
  EXPECT_EQ(readFileBytes(vak::smileyBitmap(own, 9)), bmpBytes(colorOf(New, 9)));
  EXPECT_EQ(readFileBytes(vak::smileyBitmap(set, 9)), bmpBytes(colorOf(Set, 9)));
  EXPECT_EQ(shown(9), colorOf(Set, 9));

  // Reset: ICQ's own bitmaps come back in its folder; ICQ keeps the set. Twice is fine.
  click(ctl(ids::ResetSm));
  EXPECT_EQ(readFileBytes(vak::smileyBitmap(own, 9)), bmpBytes(colorOf(Own, 9)));
  EXPECT_EQ(registeredFolder("111"), std::optional<std::string>(set));
  EXPECT_TRUE(showsOwn(Set));
  click(ctl(ids::ResetSm));
  for (int n = 1; n <= vak::kSmileyCount; ++n)
    EXPECT_EQ(readFileBytes(vak::smileyBitmap(own, n)), bmpBytes(colorOf(Own, n))) << n;
  EXPECT_TRUE(ui_.boxes.empty()) << boxTexts();

  // Pointing ICQ back at its own folder (a set cancelled changes nothing).
  click(ctl(ids::Button3));
  EXPECT_EQ(registeredFolder("111"), std::optional<std::string>(set));
  ui_.openNames.push_back(vak::smileyBitmap(own, 1));
  click(ctl(ids::Button3));
  EXPECT_EQ(registeredFolder("111"), std::optional<std::string>(own));
  EXPECT_TRUE(showsOwn(Own));
}

TEST_F(Smileys, ResetWithoutBackupsLeavesTheBitmaps) {
  seedTwoProfiles();
  makeDir("ICQLite");
  const std::string dir = smileyDir("ICQLite\\Smileys", Own);
  setSmileyFolder("111", dir);
  // Backups recorded earlier, then lost; one remains.
  writeEinst("[Smiley]\r\n#bk=" + dir + "\r\n");
  writeFileBytes(vak::smileyBackup(dir, 2), bmpBytes(colorOf(New, 2)));
  startApp();
  EXPECT_FALSE(exists(vak::smileyBackup(dir, 1)));
  click(ctl(ids::ResetSm));
  EXPECT_EQ(readFileBytes(vak::smileyBitmap(dir, 1)), bmpBytes(colorOf(Own, 1)));
  EXPECT_EQ(readFileBytes(vak::smileyBitmap(dir, 2)), bmpBytes(colorOf(New, 2)));
  EXPECT_EQ(shown(2), colorOf(New, 2));
  EXPECT_EQ(shown(1), colorOf(Own, 1));
}

TEST_F(Smileys, MissingAndInvalidBitmaps) {
  seedTwoProfiles();
  makeDir("ICQLite");
  const std::string dir = smileyDir("ICQLite\\Smileys", Own);
  DeleteFileA(vak::smileyBitmap(dir, 7).c_str());
  setSmileyFolder("111", dir);
  startApp();
  EXPECT_EQ(text(smiley(7)), "Error!");
  EXPECT_EQ(shown(7), CLR_INVALID);
  EXPECT_EQ(shown(8), colorOf(Own, 8));
  EXPECT_EQ(text(smiley(8)), "");
  EXPECT_FALSE(exists(vak::smileyBackup(dir, 7)));
  EXPECT_TRUE(ui_.boxes.empty()) << boxTexts();

  // A file that is no bitmap stops the refresh at its button.
  writeFileBytes(vak::smileyBitmap(dir, 9), "kein Bild");
  writeFileBytes(vak::smileyBitmap(dir, 10), bmpBytes(colorOf(New, 10)));
  writeFileBytes(vak::smileyBitmap(dir, 7), bmpBytes(colorOf(New, 7)));
  click(ctl(ids::Button3));  // cancelled: only the refresh
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, T("Bitmap ist ungültig"));
  EXPECT_EQ(ui_.boxes[0].icon, vak::MbIconError);
  EXPECT_EQ(shown(7), colorOf(New, 7));
  EXPECT_EQ(text(smiley(9)), "Error!");
  EXPECT_EQ(shown(10), colorOf(Own, 10));  // not reached
}

TEST_F(Smileys, RefreshFreesThePicturesItReplaces) {
  startWithOwnSmileys();
  std::vector<HGDIOBJ> before;
  for (int n = 1; n <= vak::kSmileyCount; ++n) before.push_back(form().tweaks().smileys().picture(n));
  click(ctl(ids::ResetSm));
  EXPECT_TRUE(showsOwn(Own));
  for (int n = 1; n <= vak::kSmileyCount; ++n) {
    const HGDIOBJ old = before[static_cast<size_t>(n - 1)];
    if (form().tweaks().smileys().picture(n) != old) {
      EXPECT_EQ(GetObjectType(old), 0u) << n;  // deleted
    }
  }
}

// A big bitmap is shown in the size of its button, and reloading the
// pictures again and again keeps no copy of the ones before.
TEST_F(Smileys, BigPicturesShrinkToTheButtonAndReloadsKeepNoCopies) {
  const std::string dir = startWithOwnSmileys();
  form().setActivePage(1);
  const std::string big = folder_ + "\\gross.bmp";
  writeFileBytes(big, bmpBytes(colorOf(New, 6), 1500, 1500));  // left to LoadImage: over 4 MB
  ui_.openNames.push_back(big);
  click(smiley(6));
  ASSERT_EQ(readFileBytes(vak::smileyBitmap(dir, 6)).size(), readFileBytes(big).size());
  EXPECT_EQ(shown(6), colorOf(New, 6));
  RECT client{};
  GetClientRect(smiley(6), &client);
  const SIZE fitted = pictureSize(6);
  EXPECT_LE(fitted.cx, client.right);
  EXPECT_LE(fitted.cy, client.bottom);
  EXPECT_GE(fitted.cx, client.right / 2);  // not shrunk further than needed
  EXPECT_EQ(shown(5), colorOf(Own, 5));  // a small one keeps its size
  EXPECT_EQ(pictureSize(5).cx, 19);

  auto workingSet = [] {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize) / (1 << 20);
  };
  for (int i = 0; i < 2; ++i) click(smiley(1));  // cancelled: only the reload
  UpdateWindow(page(1));
  const double before = workingSet();
  for (int i = 0; i < 20; ++i) {
    click(smiley(1));
    UpdateWindow(page(1));  // the buttons paint their pictures
  }
  const double after = workingSet();
  EXPECT_LT(after - before, 4.0) << before << " MB before the 20 reloads, " << after << " MB after";
  EXPECT_EQ(shown(6), colorOf(New, 6));
  EXPECT_TRUE(ui_.boxes.empty()) << boxTexts();
}

TEST_F(Smileys, UnknownSmileyFolderTouchesNoFile) {
  // ICQ Lite key without SmileyFilePath: every path would lie in the drive root.
  seedTwoProfiles();
  startApp();
  EXPECT_EQ(backupEntry(), "<none>");
  EXPECT_EQ(text(ctl(ids::SmOrt)), vak::Smileys::unknownFolderText());
  for (int n = 1; n <= vak::kSmileyCount; ++n) EXPECT_EQ(text(smiley(n)), "Error!") << n;
  EXPECT_TRUE(ui_.boxes.empty()) << boxTexts();

  const std::string fresh = folder_ + "\\neu.bmp";
  writeFileBytes(fresh, bmpBytes(colorOf(New, 1)));
  ui_.openNames.push_back(fresh);
  click(smiley(1));
  EXPECT_TRUE(ui_.openFilters.empty());  // not even asked for a file
  click(ctl(ids::ResetSm));
  ASSERT_EQ(ui_.boxes.size(), 2u);
  for (const auto& box : ui_.boxes) {
    EXPECT_EQ(box.caption, "Achtung!");
    EXPECT_EQ(box.icon, vak::MbIconWarning);
    EXPECT_NE(box.text.find(T("Es wurde keine Datei geändert.")), std::string::npos) << box.text;
  }
  EXPECT_FALSE(exists("\\Smiley1.bmp.VAK"));
  EXPECT_FALSE(exists("\\Smiley1.bmp"));

  // Later starts try nothing either; once ICQ names its folder, that start backs it up.
  closeApp();
  startApp();
  EXPECT_EQ(backupEntry(), "<none>");
  closeApp();
  makeDir("ICQLite");
  const std::string dir = smileyDir("ICQLite\\Smileys", Own);
  setSmileyFolder("111", dir);
  startApp();
  EXPECT_EQ(backupEntry(), dir);
  EXPECT_TRUE(exists(vak::smileyBackup(dir, 28)));
  EXPECT_TRUE(showsOwn(Own));
}

TEST_F(Smileys, NoProfileAtAllStartsQuietly) {
  startApp();
  EXPECT_TRUE(ui_.boxes.empty()) << boxTexts();
  EXPECT_TRUE(form().shared().startupDone);
  ASSERT_TRUE(smiley(28));
  EXPECT_EQ(text(smiley(28)), "Error!");
  EXPECT_EQ(backupEntry(), "<none>");
  // "SmileySet" needs a profile: the error comes before anything is written.
  ui_.openNames.push_back(folder_ + "\\Smiley1.bmp");
  click(ctl(ids::Button3));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, T("Listenindex überschreitet das Maximum (-1)"));
}

TEST_F(Smileys, TheProfileIsTheOneChosenInTheProfileBox) {
  seedTwoProfiles();
  // A machine-wide profile of another Windows user, listed first in HKLM only.
  setSmileyFolder("100", folder_ + "\\Fremd");
  makeDir("ICQLite");
  const std::string own = smileyDir("ICQLite\\Smileys", Own);
  const std::string other = smileyDir("Erika", Set);
  setSmileyFolder("111", own);
  setSmileyFolder("222", other);
  startApp();
  EXPECT_EQ(text(ctl(ids::SmOrt)), own);
  EXPECT_TRUE(showsOwn(Own));

  // Choosing a profile does not refresh; the next smiley action shows its folder.
  chooseProfile(1);
  EXPECT_EQ(text(ctl(ids::SmOrt)), own);
  click(ctl(ids::ResetSm));
  EXPECT_EQ(text(ctl(ids::SmOrt)), other);
  EXPECT_TRUE(showsOwn(Set));
  // The set goes to Erika's profile only.
  const std::string set = smileyDir("Gruen", Own);
  ui_.openNames.push_back(vak::smileyBitmap(set, 1));
  click(ctl(ids::Button3));
  EXPECT_EQ(registeredFolder("222"), std::optional<std::string>(set));
  EXPECT_EQ(registeredFolder("111"), std::optional<std::string>(own));
  EXPECT_EQ(registeredFolder("100"), std::optional<std::string>(folder_ + "\\Fremd"));
  EXPECT_EQ(form().shared().profileKeys, (std::vector<std::string>{"111", "222"}));
}
