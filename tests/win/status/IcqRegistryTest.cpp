// ICQ's registry data read and written against Wine's real registry; values
// are seeded and checked from outside with reg.exe (32-bit view).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "StatusTestKeys.h"
#include "TestSupport.h"
#include "platform/Errors.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "status/IcqRegistry.h"

using namespace vaktest;
using vak::T;

namespace {

// Runs f and returns the text of the VakError it throws ("" when none).
template <class F>
std::string errorOf(F f) {
  try {
    f();
  } catch (const vak::VakError& e) {
    return e.what();
  }
  return "";
}

// Entry n of a status list as read.
const vak::StoredEntry& entry(const vak::StoredStatusList& list, int n) {
  return list.at(static_cast<std::size_t>(n - 1));
}

std::string hexOfBytes(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

// What reg.exe shows of a value ("<missing>" when it is not there).
std::string dataAt(const std::string& key, const std::string& name) {
  const auto q = regQuery(key, name);
  return q ? q->data : "<missing>";
}

// ICQ's roots as stand-ins below HKCU\Software\VakTest (removed when the
// test starts and ends): the registry layer reads and writes there, and the
// real ICQ keys stay as they are.
class ScratchIcq {
 public:
  explicit ScratchIcq(std::string uin) : uin_(std::move(uin)), roots_(vak::icqRootsBelow("\\Software\\VakTest")) {
    clean();
  }
  ~ScratchIcq() { clean(); }
  ScratchIcq(const ScratchIcq&) = delete;
  ScratchIcq& operator=(const ScratchIcq&) = delete;

  const std::string& uin() const { return uin_; }
  const vak::IcqRoots& roots() const { return roots_; }
  std::string lite() const { return std::string(kBase) + "\\Machine\\Software\\Mirabilis\\ICQ\\NewOwners\\" + uin_ + "\\ICQLite"; }
  std::string realLite() const { return "HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\" + uin_ + "\\ICQLite"; }
  std::string commonPrefs() const { return std::string(kBase) + "\\User\\Software\\Mirabilis\\ICQ\\NewOwners\\" + uin_ + "\\CommonPrefs"; }

 private:
  static constexpr const char* kBase = "HKCU\\Software\\VakTest";
  void clean() const {
    regDeleteKey(kBase);
    regDeleteKey("HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\" + uin_);
  }
  std::string uin_;
  vak::IcqRoots roots_;
};

}  // namespace

TEST(IcqRegistryRead, EntriesAsSeededFromOutside) {
  TestProfile p("9000001");
  // 1: strings with UTF-8 letters; é stays two characters.
  regAddString(p.entry(1), "Name", "zur\xC3\xBC" "ck");
  regAddString(p.entry(1), "Description", "caf\xC3\xA9 \xC3\x84rger");
  regAddDword(p.entry(1), "On", 1);
  // 2: binary title and message with inner NULs; the message loses its last byte.
  regAddBinary(p.entry(2), "Name", "486900447500");
  regAddBinary(p.entry(2), "Description", "486900447500");
  regAddDword(p.entry(2), "On", 0);
  // 3: an empty binary title, a message of another type, On = 5.
  regAddBinary(p.entry(3), "Name", "");
  regAddDword(p.entry(3), "Description", 7);
  regAddDword(p.entry(3), "On", 5);
  // 4: the key without values; 5: On stored as a string.
  regAddKey(p.entry(4));
  regAddString(p.entry(5), "On", "1");
  // 16 and 17 sit on both sides of the table border.
  regAddString(p.entry(16), "Name", "Sechzehn");
  regAddString(p.entry(17), "Description", "Siebzehn");

  // 18: texts longer than a first read takes, a binary message with its last byte.
  const std::string longTitle(3000, 'T');
  std::string longMessage;
  for (int i = 0; i < 5000; ++i) longMessage += static_cast<char>('a' + i % 26);
  regAddString(p.entry(18), "Name", longTitle);
  regAddBinary(p.entry(18), "Description", hexOfBytes(longMessage + "!"));
  // 19: the bytes of 1 as a binary On: no number.
  regAddBinary(p.entry(19), "On", "01000000");

  const std::string list = vak::statusListPath(p.uin());
  EXPECT_EQ(list, "\\Software\\Mirabilis\\ICQ\\NewOwners\\9000001\\CustomStatusList\\");
  const vak::StoredStatusList m = vak::readStatusList(list);

  EXPECT_EQ(entry(m, 1).title, "zur\xFC" "ck");
  EXPECT_EQ(entry(m, 1).message, "caf\xC3\xA9 \xC4rger");
  EXPECT_EQ(entry(m, 2).title, "Hi\r\nDu\r\n");
  EXPECT_EQ(entry(m, 2).message, "Hi\r\nDu");
  EXPECT_EQ(entry(m, 3).title, "");
  EXPECT_EQ(entry(m, 3).message, "");
  EXPECT_EQ(entry(m, 4).title, "");
  EXPECT_EQ(entry(m, 16).title, "Sechzehn");
  EXPECT_EQ(entry(m, 16).message, "");
  EXPECT_EQ(entry(m, 17).title, "");
  EXPECT_EQ(entry(m, 17).message, "Siebzehn");
  EXPECT_EQ(entry(m, 7).title, "");
  EXPECT_EQ(entry(m, 7).message, "");
  EXPECT_EQ(entry(m, 18).title, longTitle);
  EXPECT_EQ(entry(m, 18).message, longMessage);

  const int expected[] = {1, 0, 5, 2, 2};
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(entry(m, n).state, expected[n - 1]) << "entry " << n;
  EXPECT_EQ(entry(m, 16).state, 2);  // key there, no On
  EXPECT_EQ(entry(m, 18).state, 2);
  EXPECT_EQ(entry(m, 19).state, 2);  // On of another type
  for (int n = 6; n <= vak::kEntryCount; ++n) {
    if (n != 16 && n != 17 && n != 18 && n != 19) {
      EXPECT_EQ(entry(m, n).state, 0) << "entry " << n;
    }
  }
}

TEST(IcqRegistryRead, AwayTexts) {
  TestProfile p("9000002");
  std::string longText;
  for (int i = 0; i < 2000; ++i) longText += static_cast<char>('A' + i % 26);
  regAddBinary(p.lite(), "AwayStatusText", hexOfBytes(longText));
  regAddBinary(p.lite(), "NAStatusText", "41420043");

  std::string away = "x", na = "y";
  ASSERT_TRUE(vak::readAwayTexts(p.uin(), away, na));
  EXPECT_EQ(away, longText.substr(0, 1024));
  EXPECT_EQ(na, "AB");

  // Strings are read as strings, letters converted; an empty binary is empty.
  regAddString(p.lite(), "AwayStatusText", "zur\xC3\xBC" "ck");
  regAddBinary(p.lite(), "NAStatusText", "");
  ASSERT_TRUE(vak::readAwayTexts(p.uin(), away, na));
  EXPECT_EQ(away, "zur\xFC" "ck");
  EXPECT_EQ(na, "");

  // A number is no text: the read fails after the away text was taken.
  regAddString(p.lite(), "AwayStatusText", "weg");
  regAddDword(p.lite(), "NAStatusText", 3);
  na = "before";
  EXPECT_EQ(errorOf([&] { vak::readAwayTexts(p.uin(), away, na); }), T("Ungültiger Datentyp für 'NAStatusText'"));
  EXPECT_EQ(away, "weg");
  EXPECT_EQ(na, "before");
}

TEST(IcqRegistryRead, MissingProfileKeysHoldNothing) {
  TestProfile p("9000003");
  std::string away = "away", na = "na", days = "9";
  bool on = true;
  EXPECT_FALSE(vak::readAwayTexts(p.uin(), away, na));
  EXPECT_FALSE(vak::readBirthday(p.uin(), on, days));
  EXPECT_EQ(away, "away");
  EXPECT_EQ(na, "na");
  EXPECT_TRUE(on);
  EXPECT_EQ(days, "9");
  EXPECT_FALSE(vak::readSoundOn(p.uin()).has_value());

  // Neither the list key nor (then) a profile key.
  for (const std::string& path : {vak::statusListPath(p.uin()), vak::statusListPath("9000099")}) {
    const vak::StoredStatusList m = vak::readStatusList(path);
    for (int n = 1; n <= vak::kEntryCount; ++n) {
      EXPECT_EQ(entry(m, n).state, 0);
      EXPECT_EQ(entry(m, n).title, "");
      EXPECT_EQ(entry(m, n).message, "");
    }
  }
}

TEST(IcqScratchRoots, BirthdayOptions) {
  ScratchIcq p("9000004");
  // The real key holds other values: only the scratch key counts.
  regAddString(p.realLite(), "RemindBirthday", "No");
  bool on = false;
  std::string days;

  regAddString(p.lite(), "RemindBirthday", "Yes");
  regAddDword(p.lite(), "RemindBirthdayDaysBefore", 5);
  ASSERT_TRUE(vak::readBirthday(p.uin(), on, days, p.roots()));
  EXPECT_TRUE(on);
  EXPECT_EQ(days, "5");

  // Only "Yes" exactly counts; the days are then not read.
  regAddString(p.lite(), "RemindBirthday", "yes");
  regAddString(p.lite(), "RemindBirthdayDaysBefore", "not a number");
  ASSERT_TRUE(vak::readBirthday(p.uin(), on, days, p.roots()));
  EXPECT_FALSE(on);
  EXPECT_EQ(days, "2");

  regAddString(p.lite(), "RemindBirthday", "Yes");
  on = false;
  EXPECT_EQ(errorOf([&] { vak::readBirthday(p.uin(), on, days, p.roots()); }),
            T("Ungültiger Datentyp für 'RemindBirthdayDaysBefore'"));
  EXPECT_TRUE(on);

  regDeleteValue(p.lite(), "RemindBirthdayDaysBefore");
  EXPECT_EQ(errorOf([&] { vak::readBirthday(p.uin(), on, days, p.roots()); }),
            T("Fehler beim Holen der Daten für 'RemindBirthdayDaysBefore'"));

  regAddDword(p.lite(), "RemindBirthday", 1);
  EXPECT_EQ(errorOf([&] { vak::readBirthday(p.uin(), on, days, p.roots()); }), T("Ungültiger Datentyp für 'RemindBirthday'"));

  // A missing RemindBirthday reads as off.
  regDeleteValue(p.lite(), "RemindBirthday");
  on = true;
  ASSERT_TRUE(vak::readBirthday(p.uin(), on, days, p.roots()));
  EXPECT_FALSE(on);
  EXPECT_EQ(days, "2");
}

TEST(IcqScratchRoots, WriteBirthday) {
  ScratchIcq p("9000005");
  EXPECT_TRUE(vak::writeBirthday(p.uin(), true, "7", p.roots()));  // creates the key
  auto remind = regQuery(p.lite(), "RemindBirthday");
  auto daysBefore = regQuery(p.lite(), "RemindBirthdayDaysBefore");
  ASSERT_TRUE(remind && daysBefore);
  EXPECT_EQ(remind->type, "REG_SZ");
  EXPECT_EQ(remind->data, "Yes");
  EXPECT_EQ(daysBefore->type, "REG_DWORD");
  EXPECT_EQ(daysBefore->data, "0x7");

  EXPECT_TRUE(vak::writeBirthday(p.uin(), false, "99", p.roots()));
  EXPECT_EQ(regQuery(p.lite(), "RemindBirthday")->data, "No");
  EXPECT_EQ(regQuery(p.lite(), "RemindBirthdayDaysBefore")->data, "0x7");

  EXPECT_EQ(errorOf([&] { (void)vak::writeBirthday(p.uin(), true, "abc", p.roots()); }), T("'abc' ist kein gültiger Integerwert"));
  EXPECT_EQ(regQuery(p.lite(), "RemindBirthday")->data, "Yes");
  EXPECT_EQ(regQuery(p.lite(), "RemindBirthdayDaysBefore")->data, "0x7");
  // Nothing went to the real key.
  EXPECT_FALSE(regQuery(p.realLite(), "RemindBirthday"));
}

TEST(IcqScratchRoots, SoundOption) {
  ScratchIcq p("9000006");
  regAddKey(p.commonPrefs());
  EXPECT_EQ(vak::readSoundOn(p.uin(), p.roots()), std::optional<bool>(false));
  regAddString(p.commonPrefs(), "AllResponsePlay", "Yes");
  EXPECT_EQ(vak::readSoundOn(p.uin(), p.roots()), std::optional<bool>(true));
  regAddString(p.commonPrefs(), "AllResponsePlay", "YES");
  EXPECT_EQ(vak::readSoundOn(p.uin(), p.roots()), std::optional<bool>(false));
  // The whole scratch tree removed and made again: the key is found anew.
  regDeleteKey("HKCU\\Software\\VakTest");
  EXPECT_FALSE(vak::readSoundOn(p.uin(), p.roots()).has_value());
  regAddString(p.commonPrefs(), "AllResponsePlay", "Yes");
  EXPECT_EQ(vak::readSoundOn(p.uin(), p.roots()), std::optional<bool>(true));
}

TEST(IcqRegistryRead, ProfileListing) {
  TestProfile max("123456");
  TestProfile nameless("9000007");
  regAddString(max.hkcu(), "Name", "Max");
  regAddKey(nameless.hkcu());

  const vak::ProfileListing l = vak::listProfiles();
  ASSERT_EQ(l.listedKeys.size(), l.listedTexts.size());
  const auto at = std::find(l.listedKeys.begin(), l.listedKeys.end(), "123456");
  ASSERT_NE(at, l.listedKeys.end());
  EXPECT_EQ(l.listedTexts[static_cast<std::size_t>(at - l.listedKeys.begin())], "Max (123456)");
  const auto at2 = std::find(l.listedKeys.begin(), l.listedKeys.end(), "9000007");
  ASSERT_NE(at2, l.listedKeys.end());
  EXPECT_EQ(l.listedTexts[static_cast<std::size_t>(at2 - l.listedKeys.begin())], " (9000007)");
  EXPECT_EQ(l.listedKeys, l.allKeys);  // every key opened
}

TEST(IcqRegistryRead, ProfileNameOfAnotherTypeFails) {
  TestProfile p("9000008");
  regAddDword(p.hkcu(), "Name", 1);
  EXPECT_EQ(errorOf([] { vak::listProfiles(); }), T("Ungültiger Datentyp für 'Name'"));
}

TEST(IcqRegistryRead, ProfileKeyThatDoesNotOpenIsListedOnlyInAllKeys) {
  TestProfile before("9000012");
  TestProfile locked("9000013");
  TestProfile after("9000014");
  regAddString(before.hkcu(), "Name", "Vorher");
  regAddString(locked.hkcu(), "Name", "Zu");
  regAddString(after.hkcu(), "Name", "Nachher");

  RestrictedKey lock(HKEY_CURRENT_USER, "Software\\Mirabilis\\ICQ\\NewOwners\\9000013", RestrictedKey::kNobody);
  ASSERT_TRUE(lock.opened());
  if (!lock.readRefused()) GTEST_SKIP() << "this registry does not refuse opening a key";

  const vak::ProfileListing l = vak::listProfiles();
  ASSERT_EQ(l.listedKeys.size(), l.listedTexts.size());
  EXPECT_NE(std::find(l.allKeys.begin(), l.allKeys.end(), "9000013"), l.allKeys.end());
  EXPECT_EQ(std::find(l.listedKeys.begin(), l.listedKeys.end(), "9000013"), l.listedKeys.end());
  // Positions of the listed texts and of the listed keys agree.
  for (std::size_t i = 0; i < l.listedKeys.size(); ++i) {
    if (l.listedKeys[i] == "9000012") {
      EXPECT_EQ(l.listedTexts[i], "Vorher (9000012)");
    }
    if (l.listedKeys[i] == "9000014") {
      EXPECT_EQ(l.listedTexts[i], "Nachher (9000014)");
    }
  }
  // The listed keys keep the registry order of all keys.
  std::vector<std::string> expected;
  for (const std::string& k : l.allKeys)
    if (k != "9000013") expected.push_back(k);
  EXPECT_EQ(l.listedKeys, expected);
  // The profile key list, read again before every read of a profile, agrees.
  EXPECT_EQ(vak::readProfileKeyList(), expected);
}

// The entry keys are found from their list key; a list key that may not
// be read hides no entry that opening the entry's whole path would reach
// (whether it does depends on the system).
TEST(IcqRegistryRead, EntriesBelowAListKeyThatDoesNotOpen) {
  TestProfile p("9000015");
  regAddString(p.entry(2), "Name", "Zwei");
  regAddDword(p.entry(2), "On", 1);
  regAddString(p.entry(32), "Description", "Zweiunddreissig");
  RestrictedKey lock(HKEY_CURRENT_USER, "Software\\Mirabilis\\ICQ\\NewOwners\\9000015\\CustomStatusList",
                     RestrictedKey::kNobody);
  ASSERT_TRUE(lock.opened());
  if (!lock.readRefused()) GTEST_SKIP() << "this registry does not refuse opening a key";
  const auto reachable = [](int n) {
    HKEY key = nullptr;
    const std::string path = "Software\\Mirabilis\\ICQ\\NewOwners\\9000015\\CustomStatusList\\" + std::to_string(n);
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  };

  const vak::StoredStatusList m = vak::readStatusList(vak::statusListPath(p.uin()));
  EXPECT_EQ(entry(m, 2).title, reachable(2) ? "Zwei" : "");
  EXPECT_EQ(entry(m, 2).state, reachable(2) ? 1 : 0);
  EXPECT_EQ(entry(m, 32).message, reachable(32) ? "Zweiunddreissig" : "");
  EXPECT_EQ(entry(m, 32).state, reachable(32) ? 2 : 0);
  EXPECT_EQ(entry(m, 1).state, 0);
}

TEST(IcqRegistryRead, LastOwner) {
  regDeleteValue(kOwnersKey, "LastOwner");
  EXPECT_EQ(vak::readLastOwner(), 0);
  regAddDword(kOwnersKey, "LastOwner", 9000011);
  EXPECT_EQ(vak::readLastOwner(), 9000011);
  regAddString(kOwnersKey, "LastOwner", "9000011");
  EXPECT_EQ(errorOf([] { vak::readLastOwner(); }), T("Ungültiger Datentyp für 'LastOwner'"));
  regDeleteValue(kOwnersKey, "LastOwner");
}

TEST(IcqRegistryWrite, StatusSetAsReadByOthers) {
  TestProfile p("9000020");
  regAddBinary(p.entry(3), "Name", "414243");  // a binary title becomes a string

  vak::StatusModel m;
  for (int n = 1; n <= vak::kEntryCount; ++n) m.stateOf(n) = (n % 2) ? 2 : 5;
  m.entry(1) = {"zur\xFC" "ck", "Zeile1\r\nZeile2", true};
  m.entry(3) = {"T3", "", false};
  m.entry(17) = {"", "Siebzehn", true};
  m.away = "zur\xFC" "ck";
  m.na = "";
  const std::string list = vak::statusListPath(p.uin());
  (void)vak::writeStatusSet(p.uin(), m);

  for (int n = 1; n <= vak::kEntryCount; ++n)
    EXPECT_EQ(m.stateOf(n), (n == 1 || n == 17) ? 1 : 0) << "entry " << n;

  auto name1 = regQuery(p.entry(1), "Name");
  ASSERT_TRUE(name1);
  EXPECT_EQ(name1->type, "REG_SZ");
  const auto nameBytes = regExportedString(p.entry(1), "Name");
  ASSERT_TRUE(nameBytes);
  EXPECT_EQ(hex(*nameBytes), "7A 75 72 C3 BC 63 6B");
  EXPECT_EQ(regExportedString(p.entry(1), "Description"), std::optional<std::string>("Zeile1\r\nZeile2"));
  for (int n : {1, 2, 17, 32}) {
    auto line = regQuery(p.entry(n), "LineNumber");
    auto on = regQuery(p.entry(n), "On");
    ASSERT_TRUE(line && on) << "entry " << n;
    EXPECT_EQ(line->type, "REG_DWORD");
    EXPECT_EQ(line->data, n == 32 ? "0x20" : n == 17 ? "0x11" : "0x" + std::to_string(n));
    EXPECT_EQ(on->type, "REG_DWORD");
    EXPECT_EQ(on->data, (n == 1 || n == 17) ? "0x1" : "0x0");
  }
  auto name3 = regQuery(p.entry(3), "Name");
  ASSERT_TRUE(name3);
  EXPECT_EQ(name3->type, "REG_SZ");
  EXPECT_EQ(name3->data, "T3");
  auto desc32 = regQuery(p.entry(32), "Description");
  ASSERT_TRUE(desc32);
  EXPECT_EQ(desc32->type, "REG_SZ");
  EXPECT_EQ(desc32->data, "");

  auto away = regQuery(p.lite(), "AwayStatusText");
  auto na = regQuery(p.lite(), "NAStatusText");
  ASSERT_TRUE(away && na);
  EXPECT_EQ(away->type, "REG_BINARY");
  EXPECT_EQ(away->data, "7A7572FC636B");
  EXPECT_EQ(na->type, "REG_BINARY");
  EXPECT_EQ(na->data, "");

  // What was written reads back as it was shown.
  const vak::StoredStatusList back = vak::readStatusList(list);
  for (int n = 1; n <= vak::kEntryCount; ++n) {
    EXPECT_EQ(entry(back, n).title, m.entry(n).title) << "entry " << n;
    EXPECT_EQ(entry(back, n).message, m.entry(n).message) << "entry " << n;
    EXPECT_EQ(entry(back, n).state, m.stateOf(n)) << "entry " << n;
  }

  // An away text typed in UTF-8 form is stored as the single letter.
  m.away = "\xC3\xA4";
  (void)vak::writeStatusSet(p.uin(), m);
  EXPECT_EQ(regQuery(p.lite(), "AwayStatusText")->data, "E4");
}

// ICQ's machine-wide values where a virtualized ICQ sees them (Windows Vista
// to 11): the virtual store's copy of a value wins over HKLM's, value by
// value. Wine keeps no store, so the tests seed one and tell the registry
// layer that the system keeps it.
TEST(IcqMachineValues, ReadWhereIcqSeesThem) {
  using vak::VirtualStoreKind;
  SimulatedVirtualStore store(VirtualStoreKind::Wow64);
  TestProfile p("9000030");
  TestProfile onlyCopied("9000031");
  const std::string prefs = "HKLM\\Software\\Mirabilis\\ICQ\\DefaultPrefs";
  regDeleteKey(prefs);
  regAddBinary(p.lite(), "AwayStatusText", hexOfBytes("global weg"));
  regAddBinary(p.lite(), "NAStatusText", hexOfBytes("global lange"));
  regAddString(p.lite(), "RemindBirthday", "Yes");
  regAddDword(p.lite(), "RemindBirthdayDaysBefore", 5);
  regAddString(p.lite(), "SoundFilePath", "C:\\Global\\Sounds");
  regAddString(p.lite(), "SmileyFilePath", "C:\\Global\\Smileys");
  regAddString(prefs, "MultiInstance", "No");
  regAddString(prefs, "ICQLite Version", "2050");
  const std::string copy = store.icq("\\NewOwners\\9000030\\ICQLite");
  regAddBinary(copy, "AwayStatusText", hexOfBytes("virtuell weg"));
  regAddDword(copy, "RemindBirthdayDaysBefore", 9);
  regAddString(copy, "SoundFilePath", "C:\\Virtuell\\Sounds");
  regAddString(store.icq("\\DefaultPrefs"), "MultiInstance", "Yes");
  regAddString(store.icq("\\NewOwners\\9000031\\ICQLite"), "NAStatusText", "nur virtuell");

  std::string away, na, days;
  bool on = false;
  ASSERT_TRUE(vak::readAwayTexts(p.uin(), away, na));
  EXPECT_EQ(away, "virtuell weg");
  EXPECT_EQ(na, "global lange");
  ASSERT_TRUE(vak::readBirthday(p.uin(), on, days));
  EXPECT_TRUE(on);        // HKLM's
  EXPECT_EQ(days, "9");   // the copy's
  EXPECT_EQ(vak::readSoundFolder(p.uin()), "C:\\Virtuell\\Sounds");
  EXPECT_EQ(vak::readSmileyFolder(p.uin()), "C:\\Global\\Smileys");
  vak::DefaultPrefs d = vak::readDefaultPrefs();
  EXPECT_EQ(d.multiInstance, "Yes");
  EXPECT_EQ(d.liteVersion, "2050");
  // A key that only the store holds is ICQ's key all the same.
  away = na = "vorher";
  ASSERT_TRUE(vak::readAwayTexts(onlyCopied.uin(), away, na));
  EXPECT_EQ(away, "");
  EXPECT_EQ(na, "nur virtuell");

  // Windows XP and Wine: ICQ sees HKLM alone, whatever lies in a store.
  vak::setSystemVirtualStore(VirtualStoreKind::None);
  ASSERT_TRUE(vak::readAwayTexts(p.uin(), away, na));
  EXPECT_EQ(away, "global weg");
  EXPECT_EQ(vak::readDefaultPrefs().multiInstance, "No");
  EXPECT_FALSE(vak::readAwayTexts(onlyCopied.uin(), away, na));
  // 32-bit Windows keeps the copies without WOW6432Node.
  vak::setSystemVirtualStore(VirtualStoreKind::Native);
  EXPECT_EQ(vak::readSoundFolder(p.uin()), "C:\\Global\\Sounds");
  regAddString(std::string(kStoreIcq32) + "\\NewOwners\\9000030\\ICQLite", "SoundFilePath", "C:\\Nativ\\Sounds");
  EXPECT_EQ(vak::readSoundFolder(p.uin()), "C:\\Nativ\\Sounds");
  regDeleteKey(prefs);
}

TEST(IcqMachineValues, WritesGoWhereIcqReadsNext) {
  using vak::VirtualStoreKind;
  SimulatedVirtualStore store(VirtualStoreKind::Wow64);
  TestProfile copied("9000032");
  TestProfile global("9000033");
  regAddBinary(copied.lite(), "AwayStatusText", hexOfBytes("alt global"));
  const std::string copy = store.icq("\\NewOwners\\9000032\\ICQLite");
  regAddBinary(copy, "NAStatusText", hexOfBytes("alt virtuell"));
  regAddBinary(global.lite(), "AwayStatusText", hexOfBytes("alt"));

  vak::StatusModel m;
  m.away = "neu weg";
  m.na = "neu lange";
  EXPECT_TRUE(vak::writeStatusSet(copied.uin(), m).complete());
  EXPECT_TRUE(vak::writeBirthday(copied.uin(), true, "3"));
  // The key has a copy: everything goes there, HKLM keeps what it had.
  EXPECT_EQ(dataAt(copy, "AwayStatusText"), hexOfBytes("neu weg"));
  EXPECT_EQ(dataAt(copy, "NAStatusText"), hexOfBytes("neu lange"));
  EXPECT_EQ(dataAt(copy, "RemindBirthdayDaysBefore"), "0x3");
  EXPECT_EQ(dataAt(copied.lite(), "AwayStatusText"), hexOfBytes("alt global"));
  EXPECT_FALSE(regQuery(copied.lite(), "NAStatusText"));
  EXPECT_FALSE(regQuery(copied.lite(), "RemindBirthday"));

  // Without a copy: HKLM, and the store stays empty.
  EXPECT_TRUE(vak::writeStatusSet(global.uin(), m).complete());
  EXPECT_EQ(dataAt(global.lite(), "AwayStatusText"), hexOfBytes("neu weg"));
  EXPECT_FALSE(regKeyExists(store.icq("\\NewOwners\\9000033")));

  // HKLM refuses the write (a key everyone may read, nobody write).
  TestProfile refused("9000034");
  regAddBinary(refused.lite(), "AwayStatusText", hexOfBytes("alt"));
  RestrictedKey lock(HKEY_LOCAL_MACHINE, "Software\\Mirabilis\\ICQ\\NewOwners\\9000034\\ICQLite",
                     RestrictedKey::kEveryoneReads);
  ASSERT_TRUE(lock.writeRefused());
  // Windows XP and Wine: refused, as always, and nothing in a store.
  vak::setSystemVirtualStore(VirtualStoreKind::None);
  vak::StatusWriteReport report = vak::writeStatusSet(refused.uin(), m);
  EXPECT_TRUE(report.awayFailed);
  EXPECT_TRUE(report.awayDenied);
  EXPECT_FALSE(vak::writeBirthday(refused.uin(), false, "2"));
  EXPECT_FALSE(regKeyExists(store.icq("\\NewOwners\\9000034")));
  // Windows Vista to 11 (here 32-bit): into the store, as Windows does it for ICQ.
  vak::setSystemVirtualStore(VirtualStoreKind::Native);
  EXPECT_TRUE(vak::writeStatusSet(refused.uin(), m).complete());
  EXPECT_TRUE(vak::writeBirthday(refused.uin(), false, "2"));
  const std::string refusedCopy = std::string(kStoreIcq32) + "\\NewOwners\\9000034\\ICQLite";
  EXPECT_EQ(dataAt(refusedCopy, "AwayStatusText"), hexOfBytes("neu weg"));
  EXPECT_EQ(dataAt(refusedCopy, "RemindBirthday"), "No");
  EXPECT_EQ(dataAt(refused.lite(), "AwayStatusText"), hexOfBytes("alt"));
}
