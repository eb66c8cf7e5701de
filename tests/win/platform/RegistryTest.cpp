// The registry accessor against Wine's registry, cross-checked with reg.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Errors.h"
#include "platform/Registry.h"
#include "platform/Text.h"

using namespace vak;
using vaktest::regQuery;

namespace {

// A key of its own for every test, removed before and after.
class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    leaf_ = std::string("VakTest_") + info->name() + "_" + std::to_string(GetCurrentProcessId());
    path_ = "\\Software\\" + leaf_;
    cleanUp();
  }
  void TearDown() override { cleanUp(); }
  // Straight through the API (reg.exe costs a process per call).
  void cleanUp() {
    const std::string sub = "Software\\" + leaf_;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
      for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, sub.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) continue;
        RegDeleteTreeA(key, nullptr);
        RegCloseKey(key);
        RegDeleteKeyExA(root, sub.c_str(), view, 0);
      }
  }
  // The same key as reg.exe names it.
  std::string regKey(const std::string& root = "HKCU", const std::string& sub = "") const {
    return root + "\\Software\\" + leaf_ + sub;
  }
  std::string leaf_, path_;
};

template <typename F>
std::string errorOf(F f) {
  try {
    f();
  } catch (const VakError& e) {
    return e.what();
  }
  return "(no error)";
}

std::vector<std::uint8_t> bytes(std::initializer_list<int> list) {
  std::vector<std::uint8_t> v;
  for (int b : list) v.push_back(static_cast<std::uint8_t>(b));
  return v;
}

}  // namespace

TEST_F(RegistryTest, WrittenValuesAreWhatRegSees) {
  {
    Registry reg(RegRoot::CurrentUser);
    ASSERT_TRUE(reg.openKey(path_ + "\\Sub\\Deeper\\", true));  // creates the keys above it too
    reg.writeString("Text", "Hallo Welt");
    reg.writeString("Empty", "");
    reg.writeInteger("Num", 0x12345678);
    reg.writeInteger("Neg", -2);
    reg.writeBinary("Blob", bytes({0x01, 0x02, 0xA0, 0xFF}));
    reg.writeBinary("NoBytes", {});
  }
  const std::string key = regKey("HKCU", "\\Sub\\Deeper");
  auto q = regQuery(key, "Text");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->type, "REG_SZ");
  EXPECT_EQ(q->data, "Hallo Welt");
  q = regQuery(key, "Empty");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->type, "REG_SZ");
  EXPECT_EQ(q->data, "");
  q = regQuery(key, "Num");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->type, "REG_DWORD");
  EXPECT_EQ(q->data, "0x12345678");
  q = regQuery(key, "Neg");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->type, "REG_DWORD");
  EXPECT_EQ(q->data, "0xfffffffe");
  q = regQuery(key, "Blob");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->type, "REG_BINARY");
  EXPECT_EQ(q->data, "0102A0FF");
  q = regQuery(key, "NoBytes");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->type, "REG_BINARY");
  EXPECT_EQ(q->data, "");

  // And they read back through the accessor, with type and size.
  Registry reg(RegRoot::CurrentUser);
  ASSERT_TRUE(reg.openKeyReadOnly(path_ + "\\sub\\DEEPER"));  // key names ignore case
  EXPECT_EQ(reg.readString("Text"), "Hallo Welt");
  EXPECT_EQ(reg.readString("Empty"), "");
  EXPECT_EQ(reg.readInteger("Num"), 0x12345678);
  EXPECT_EQ(reg.readInteger("Neg"), -2);
  EXPECT_EQ(reg.readBinary("Blob"), bytes({0x01, 0x02, 0xA0, 0xFF}));
  EXPECT_TRUE(reg.readBinary("NoBytes").empty());
  const RegValueInfo text = reg.getValueInfo("Text");
  EXPECT_TRUE(text.exists);
  EXPECT_EQ(text.type, RegType::String);
  EXPECT_EQ(text.size, 11u);  // with the NUL
  EXPECT_EQ(reg.getValueInfo("Num").type, RegType::DWord);
  EXPECT_EQ(reg.getValueInfo("Num").size, 4u);
  EXPECT_EQ(reg.getValueInfo("Blob").type, RegType::Binary);
  EXPECT_EQ(reg.getValueInfo("NoBytes").size, 0u);
  EXPECT_TRUE(reg.valueExists("NoBytes"));
  EXPECT_FALSE(reg.valueExists("Nothing"));
  const RegValueInfo none = reg.getValueInfo("Nothing");
  EXPECT_FALSE(none.exists);
  EXPECT_EQ(none.type, RegType::None);
}

TEST_F(RegistryTest, ValuesSeededByRegAreRead) {
  const std::string key = regKey();
  vaktest::regAddString(key, "Name", "Bin weg");
  vaktest::regAddDword(key, "On", 1);
  vaktest::regAddDword(key, "Big", 0x80000000u);
  vaktest::regAddBinary(key, "Description", "48690044750000");
  ASSERT_EQ(vaktest::run("reg add \"" + key + "\" /v Path /t REG_EXPAND_SZ /d \"C:\\x\" /f /reg:32"), 0);
  ASSERT_EQ(vaktest::run("reg add \"" + key + "\" /v Multi /t REG_MULTI_SZ /d \"a\\0b\" /f /reg:32"), 0);

  Registry reg(RegRoot::CurrentUser);
  ASSERT_TRUE(reg.openKeyReadOnly(path_));
  EXPECT_EQ(reg.readString("Name"), "Bin weg");
  EXPECT_EQ(reg.readInteger("On"), 1);
  EXPECT_EQ(reg.readInteger("Big"), INT32_MIN);
  EXPECT_EQ(reg.readBinary("Description"), bytes({0x48, 0x69, 0x00, 0x44, 0x75, 0x00, 0x00}));
  EXPECT_EQ(reg.getValueInfo("Description").size, 7u);
  EXPECT_EQ(reg.readString("Path"), "C:\\x");  // not expanded
  EXPECT_EQ(reg.getValueInfo("Path").type, RegType::ExpandString);
  EXPECT_EQ(reg.getValueInfo("Multi").type, RegType::Other);
  // A binary read takes any type: the raw bytes of a string include its NUL.
  EXPECT_EQ(reg.readBinary("Name"), bytes({'B', 'i', 'n', ' ', 'w', 'e', 'g', 0}));
  EXPECT_EQ(reg.readBinary("On"), bytes({1, 0, 0, 0}));
}

TEST_F(RegistryTest, ReadingTheWrongTypeFailsWithTheUsersText) {
  const std::string key = regKey();
  vaktest::regAddString(key, "Str", "123");
  vaktest::regAddString(key, "Long", "a text longer than four bytes");
  vaktest::regAddDword(key, "Dw", 5);
  vaktest::regAddBinary(key, "Bin", "0A000000");
  ASSERT_EQ(vaktest::run("reg add \"" + key + "\" /v Multi /t REG_MULTI_SZ /d \"x\" /f /reg:32"), 0);

  Registry reg(RegRoot::CurrentUser);
  ASSERT_TRUE(reg.openKeyReadOnly(path_));
  const std::string invalid = T("Ungültiger Datentyp für '");
  EXPECT_EQ(errorOf([&] { reg.readString("Dw"); }), invalid + "Dw'");
  EXPECT_EQ(errorOf([&] { reg.readString("Bin"); }), invalid + "Bin'");
  EXPECT_EQ(errorOf([&] { reg.readString("Multi"); }), invalid + "Multi'");
  EXPECT_EQ(errorOf([&] { reg.readInteger("Str"); }), invalid + "Str'");
  EXPECT_EQ(errorOf([&] { reg.readInteger("Long"); }), invalid + "Long'");
  EXPECT_EQ(errorOf([&] { reg.readInteger("Bin"); }), invalid + "Bin'");  // four bytes, still not a number
  EXPECT_EQ(errorOf([&] { reg.readInteger("Missing"); }), T("Fehler beim Holen der Daten für 'Missing'"));
  EXPECT_EQ(reg.readString("Missing"), "");  // a missing string is no error
  EXPECT_TRUE(reg.readBinary("Missing").empty());
}

TEST_F(RegistryTest, MissingKeysHoldNothing) {
  Registry reg(RegRoot::CurrentUser);
  EXPECT_FALSE(reg.openKeyReadOnly(path_));
  EXPECT_FALSE(reg.isOpen());
  EXPECT_FALSE(reg.openKey(path_, false));
  EXPECT_FALSE(reg.isOpen());
  EXPECT_FALSE(regQuery(regKey(), "x"));  // not created by the attempts

  // Nothing open: reads find nothing, writes fail.
  EXPECT_EQ(reg.readString("Name"), "");
  EXPECT_TRUE(reg.readBinary("Name").empty());
  EXPECT_FALSE(reg.valueExists("Name"));
  EXPECT_TRUE(reg.getKeyNames().empty());
  EXPECT_EQ(errorOf([&] { reg.readInteger("On"); }), T("Fehler beim Holen der Daten für 'On'"));
  EXPECT_EQ(errorOf([&] { reg.writeString("Name", "x"); }), T("Fehler beim Setzen der Daten für 'Name'"));
  EXPECT_EQ(errorOf([&] { reg.writeInteger("On", 1); }), T("Fehler beim Setzen der Daten für 'On'"));
  EXPECT_EQ(errorOf([&] { reg.writeBinary("B", {1}); }), T("Fehler beim Setzen der Daten für 'B'"));

  // A failed open closes the key that was open before.
  ASSERT_TRUE(reg.openKey(path_, true));
  EXPECT_TRUE(reg.isOpen());
  EXPECT_FALSE(reg.openKeyReadOnly(path_ + "\\Missing"));
  EXPECT_FALSE(reg.isOpen());
}

TEST_F(RegistryTest, AKeyOpenedForReadingRefusesWrites) {
  vaktest::regAddString(regKey(), "Name", "alt");
  Registry reg(RegRoot::CurrentUser);
  ASSERT_TRUE(reg.openKeyReadOnly(path_));
  EXPECT_EQ(errorOf([&] { reg.writeString("Name", "neu"); }), T("Fehler beim Setzen der Daten für 'Name'"));
  EXPECT_EQ(reg.readString("Name"), "alt");
  ASSERT_TRUE(reg.openKey(path_, false));  // an existing key opens for writing without create
  reg.writeString("Name", "neu");
  EXPECT_EQ(regQuery(regKey(), "Name")->data, "neu");
}

TEST_F(RegistryTest, MachineKeysGoToThe32BitView) {
  {
    Registry reg(RegRoot::LocalMachine);
    ASSERT_TRUE(reg.openKey(path_ + "\\ICQLite", true));
    reg.writeString("RemindBirthday", "Yes");
  }
  const std::string key = regKey("HKLM", "\\ICQLite");
  auto q = regQuery(key, "RemindBirthday");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->data, "Yes");
  // The 64-bit view does not hold it; Wow6432Node does.
  EXPECT_NE(vaktest::run("reg query \"" + key + "\" /v RemindBirthday"), 0);
  std::string out;
  EXPECT_EQ(vaktest::run("reg query \"HKLM\\Software\\Wow6432Node\\" + leaf_ + "\\ICQLite\" /v RemindBirthday", &out),
            0)
      << out;

  // A value put into the 64-bit view only is invisible to the accessor.
  ASSERT_EQ(vaktest::run("reg add \"" + key + "\" /v Only64 /d x /f /reg:64"), 0);
  Registry reg(RegRoot::LocalMachine);
  ASSERT_TRUE(reg.openKeyReadOnly(path_ + "\\ICQLite"));
  EXPECT_EQ(reg.readString("RemindBirthday"), "Yes");
  EXPECT_FALSE(reg.valueExists("Only64"));
  reg.closeKey();

  // Deleting removes the 32-bit key only.
  EXPECT_TRUE(Registry::deleteKeyTree(RegRoot::LocalMachine, path_));
  EXPECT_FALSE(regQuery(key, "RemindBirthday"));
  EXPECT_EQ(vaktest::run("reg query \"" + key + "\" /v Only64 /reg:64"), 0);
}

// A subkey opened from its open parent is the key its whole path names, in
// the same 32-bit view; a missing one is told apart from a refused one.
TEST_F(RegistryTest, SubkeysOpenFromTheirParent) {
  const std::string key = regKey("HKLM", "\\ICQLite");
  ASSERT_EQ(vaktest::run("reg add \"" + key + "\" /v Seen /d yes /f /reg:32"), 0);
  ASSERT_EQ(vaktest::run("reg add \"" + key + "\" /v Only64 /d x /f /reg:64"), 0);
  Registry parent(RegRoot::LocalMachine);
  ASSERT_TRUE(parent.openKeyReadOnly(path_));
  Registry sub(RegRoot::LocalMachine);
  ASSERT_TRUE(sub.openSubKeyReadOnly(parent, "ICQLite"));
  EXPECT_EQ(sub.readString("Seen"), "yes");
  EXPECT_FALSE(sub.valueExists("Only64"));

  EXPECT_FALSE(sub.openSubKeyReadOnly(parent, "Missing"));
  EXPECT_FALSE(sub.isOpen());
  EXPECT_TRUE(sub.notFound());
  EXPECT_FALSE(sub.accessDenied());
  EXPECT_FALSE(sub.openSubKeyReadOnly(parent, ""));  // never the parent itself
  Registry closed(RegRoot::LocalMachine);
  EXPECT_FALSE(sub.openSubKeyReadOnly(closed, "ICQLite"));
  EXPECT_FALSE(sub.isOpen());
}

// Type and data of a value in one read, also when they do not fit the first try.
TEST_F(RegistryTest, ValuesAreReadWithTheirType) {
  const std::string key = regKey();
  const std::string longText(3000, 'x');
  vaktest::regAddString(key, "Long", longText);
  vaktest::regAddDword(key, "On", 7);
  vaktest::regAddBinary(key, "Empty", "");
  Registry reg(RegRoot::CurrentUser);
  ASSERT_TRUE(reg.openKeyReadOnly(path_));

  const RegValueData text = reg.readValue("Long", 16);
  EXPECT_TRUE(text.exists);
  EXPECT_EQ(text.type, RegType::String);
  EXPECT_EQ(std::string(text.data.begin(), text.data.end()), longText + '\0');
  const RegValueData on = reg.readValue("On");
  EXPECT_EQ(on.type, RegType::DWord);
  EXPECT_EQ(on.data, bytes({7, 0, 0, 0}));
  const RegValueData empty = reg.readValue("Empty");
  EXPECT_TRUE(empty.exists);
  EXPECT_EQ(empty.type, RegType::Binary);
  EXPECT_TRUE(empty.data.empty());
  const RegValueData missing = reg.readValue("Missing");
  EXPECT_FALSE(missing.exists);
  EXPECT_EQ(missing.type, RegType::None);
  EXPECT_TRUE(missing.data.empty());
}

TEST_F(RegistryTest, AllWindows1252BytesSurviveAString) {
  ASSERT_EQ(GetACP(), 1252u) << "the Wine prefix must use the Windows-1252 ANSI code page";
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  {
    Registry reg(RegRoot::CurrentUser);
    ASSERT_TRUE(reg.openKey(path_, true));
    reg.writeString("All", all);
  }
  Registry reg(RegRoot::CurrentUser);
  ASSERT_TRUE(reg.openKeyReadOnly(path_));
  EXPECT_EQ(reg.readString("All"), all) << vaktest::hex(reg.readString("All"));
  EXPECT_EQ(reg.getValueInfo("All").size, 256u);

  // Stored as the Unicode a Windows-1252 program means: the undefined bytes
  // 81 8D 8F 90 9D as U+0081 etc.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (L"Software\\" + std::wstring(leaf_.begin(), leaf_.end())).c_str(), 0,
                          KEY_READ | KEY_WOW64_32KEY, &key),
            ERROR_SUCCESS);
  wchar_t buf[300] = {};
  DWORD size = sizeof buf, type = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"All", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  const std::u16string expected = cp1252ToUtf16(all);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(buf), expected.size()), expected);

  // Bytes after an inner NUL are not part of the string.
  {
    Registry w(RegRoot::CurrentUser);
    ASSERT_TRUE(w.openKey(path_, false));
    w.writeBinary("Raw", bytes({'a', 'b', 0, 'c'}));
  }
  HKEY k2 = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, ("Software\\" + leaf_).c_str(), 0, KEY_WRITE | KEY_WOW64_32KEY, &k2),
            ERROR_SUCCESS);
  const char raw[] = {'a', 'b', 0, 'c', 0};
  RegSetValueExA(k2, "Inner", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), sizeof raw);
  RegSetValueExA(k2, "NoNul", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), 2);
  RegSetValueExA(k2, "Nothing", 0, REG_SZ, nullptr, 0);
  RegCloseKey(k2);
  EXPECT_EQ(reg.readString("Inner"), "ab");
  EXPECT_EQ(reg.readString("NoNul"), "ab");
  EXPECT_EQ(reg.readString("Nothing"), "");
}

TEST_F(RegistryTest, BinaryReadsAreCutAtTheLimit) {
  std::vector<std::uint8_t> big(2000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7 + 1);
  Registry reg(RegRoot::CurrentUser);
  ASSERT_TRUE(reg.openKey(path_, true));
  reg.writeBinary("Away", big);
  EXPECT_EQ(reg.readBinary("Away"), big);
  EXPECT_EQ(reg.readBinary("Away", 1024), std::vector<std::uint8_t>(big.begin(), big.begin() + 1024));
  EXPECT_EQ(reg.readBinary("Away", 2000), big);
  EXPECT_EQ(reg.readBinary("Away", 5000), big);
  EXPECT_TRUE(reg.readBinary("Away", 0).empty());
  reg.writeString("Str", std::string(3000, 'x'));
  EXPECT_EQ(reg.readBinary("Str", 3).size(), 3u);
  EXPECT_EQ(reg.readString("Str"), std::string(3000, 'x'));
}

TEST_F(RegistryTest, SubkeysComeInTheRegistrysOrder) {
  for (const char* name : {"b", "a", "C", "10", "9", "200"}) vaktest::regAddKey(regKey("HKCU", std::string("\\") + name));
  vaktest::regAddString(regKey(), "Value", "not a key");
  vaktest::regAddKey(regKey("HKCU", "\\a\\nested"));
  Registry reg(RegRoot::CurrentUser);
  ASSERT_TRUE(reg.openKeyReadOnly(path_));
  // Sorted by name without regard to case, as Windows keeps them.
  EXPECT_EQ(reg.getKeyNames(), (std::vector<std::string>{"10", "200", "9", "a", "b", "C"}));
  ASSERT_TRUE(reg.openKeyReadOnly(path_ + "\\a"));
  EXPECT_EQ(reg.getKeyNames(), std::vector<std::string>{"nested"});
  ASSERT_TRUE(reg.openKeyReadOnly(path_ + "\\a\\nested"));
  EXPECT_TRUE(reg.getKeyNames().empty());
}

TEST_F(RegistryTest, DeleteKeyTreeRemovesEverythingBelow) {
  for (const char* sub : {"\\NewOwners\\111\\CustomStatusList\\1", "\\NewOwners\\111\\CustomStatusList\\2",
                          "\\NewOwners\\111\\CommonPrefs", "\\NewOwners\\222"})
    vaktest::regAddString(regKey("HKCU", sub), "x", "y");
  vaktest::regAddDword(regKey("HKCU", "\\NewOwners\\111"), "Flag", 1);

  EXPECT_TRUE(Registry::deleteKeyTree(RegRoot::CurrentUser, path_ + "\\NewOwners\\111\\"));
  Registry reg(RegRoot::CurrentUser);
  EXPECT_FALSE(reg.openKeyReadOnly(path_ + "\\NewOwners\\111"));
  ASSERT_TRUE(reg.openKeyReadOnly(path_ + "\\NewOwners"));
  EXPECT_EQ(reg.getKeyNames(), std::vector<std::string>{"222"});
  EXPECT_EQ(regQuery(regKey("HKCU", "\\NewOwners\\222"), "x")->data, "y");

  EXPECT_FALSE(Registry::deleteKeyTree(RegRoot::CurrentUser, path_ + "\\NewOwners\\111"));  // gone already
  EXPECT_FALSE(Registry::deleteKeyTree(RegRoot::CurrentUser, "\\"));                         // never the root

  // In the machine part too, in the 32-bit view.
  vaktest::regAddString(regKey("HKLM", "\\NewOwners\\111\\ICQLite"), "SoundFilePath", "C:\\s");
  EXPECT_TRUE(Registry::deleteKeyTree(RegRoot::LocalMachine, path_ + "\\NewOwners\\111"));
  EXPECT_FALSE(regQuery(regKey("HKLM", "\\NewOwners\\111\\ICQLite"), "SoundFilePath"));
  Registry m(RegRoot::LocalMachine);
  EXPECT_TRUE(m.openKeyReadOnly(path_ + "\\NewOwners"));
}

// The virtual copies of machine keys lie where the system keeps them: below
// WOW6432Node of the store on a 64-bit Windows, without it on a 32-bit one.
// Where the system keeps no store (Wine itself) there is no such key at all.
TEST_F(RegistryTest, VirtualStoreLiesWhereTheSystemKeepsIt) {
  EXPECT_EQ(systemVirtualStore(), VirtualStoreKind::None);
  Registry none(RegRoot::MachineVirtualStore);
  EXPECT_FALSE(none.openKey(path_ + "\\ICQLite", true));
  EXPECT_TRUE(none.notFound());

  const std::string store = "HKCU\\Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\";
  for (VirtualStoreKind kind : {VirtualStoreKind::Wow64, VirtualStoreKind::Native}) {
    setSystemVirtualStore(kind);
    const std::string expected =
        store + (kind == VirtualStoreKind::Wow64 ? "WOW6432Node\\" : "") + leaf_ + "\\ICQLite";
    {
      Registry reg(RegRoot::MachineVirtualStore);
      ASSERT_TRUE(reg.openKey(path_ + "\\ICQLite", true));
      reg.writeString("SoundFilePath", "C:\\s");
      // Never a key that Windows does not virtualize.
      EXPECT_FALSE(reg.openKey("\\Software\\Microsoft\\Windows\\" + leaf_, true));
    }
    auto q = regQuery(expected, "SoundFilePath");
    EXPECT_TRUE(q && q->data == "C:\\s") << expected;
    EXPECT_TRUE(Registry::deleteKeyTree(RegRoot::MachineVirtualStore, path_));
    EXPECT_FALSE(vaktest::regKeyExists(store + (kind == VirtualStoreKind::Wow64 ? "WOW6432Node\\" : "") + leaf_));
  }
  setSystemVirtualStore(std::nullopt);
  EXPECT_EQ(systemVirtualStore(), VirtualStoreKind::None);
}

// A place with a base: every path (and the virtual store's copies, which keep
// their rules) lies below the base key; deleting never takes the base itself.
TEST_F(RegistryTest, APlaceKeepsEveryPathBelowItsBase) {
  Registry reg(RegPlace{RegRoot::CurrentUser, path_ + "\\"});
  ASSERT_TRUE(reg.openKey("\\Software\\Mirabilis\\ICQ\\", true));
  reg.writeString("Name", "unten");
  reg.closeKey();
  const auto q = regQuery(regKey("HKCU", "\\Software\\Mirabilis\\ICQ"), "Name");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->data, "unten");
  Registry parent(RegPlace{RegRoot::CurrentUser, path_});
  ASSERT_TRUE(parent.openKeyReadOnly("\\Software\\Mirabilis"));
  Registry child(RegPlace{RegRoot::CurrentUser, path_});
  ASSERT_TRUE(child.openSubKey(parent, "ICQ"));
  child.writeString("Name", "neu");
  EXPECT_EQ(regQuery(regKey("HKCU", "\\Software\\Mirabilis\\ICQ"), "Name")->data, "neu");

  setSystemVirtualStore(VirtualStoreKind::Native);
  Registry store(RegPlace{RegRoot::MachineVirtualStore, path_});
  EXPECT_TRUE(store.openKey("\\Software\\Mirabilis", true));
  EXPECT_FALSE(store.openKey("\\Software\\Classes\\X", true));  // never virtualized
  setSystemVirtualStore(std::nullopt);
  store.closeKey();
  EXPECT_TRUE(vaktest::regKeyExists(regKey("HKCU", "\\Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Mirabilis")));

  EXPECT_FALSE(Registry::deleteKeyTree(RegPlace{RegRoot::CurrentUser, path_}, "\\"));
  EXPECT_TRUE(vaktest::regKeyExists(regKey()));
  EXPECT_TRUE(Registry::deleteKeyTree(RegPlace{RegRoot::CurrentUser, path_}, "\\Software"));
  EXPECT_FALSE(vaktest::regKeyExists(regKey("HKCU", "\\Software")));
  EXPECT_TRUE(vaktest::regKeyExists(regKey()));
}
