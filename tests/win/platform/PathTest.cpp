// Paths beyond the ANSI code page: the file functions, INI files and the
// conversions at the edges (ICQ's ANSI values, texts for the user).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Path.h"

using namespace vak;

namespace {

const char* const kLukasz = "\xC5\x81ukasz";                            // Łukasz
const char* const kLodz = "\xC5\x81\xC3\xB3" "d\xC5\xBA";                // Łódź
const char* const kBaer = "B\xC3\xA4r";                                  // Bär (UTF-8)

class PathTest : public testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 1252) GTEST_SKIP() << "the cases assume the Windows-1252 ANSI code page";
    base_ = vaktest::freshDir(std::string("path_") + testing::UnitTest::GetInstance()->current_test_info()->name());
    dir_ = base_ + "\\" + kLukasz;
    ASSERT_TRUE(createDir(dir_));
  }
  std::string base_, dir_;
};

std::string errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const VakError& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace

TEST_F(PathTest, ConversionsAtTheEdges) {
  // ICQ's ANSI bytes and the program's UTF-8 both ways.
  EXPECT_EQ(pathFromAnsi("C:\\B\xE4r"), std::string("C:\\") + kBaer);
  EXPECT_EQ(pathToAnsi(std::string("C:\\") + kBaer), "C:\\B\xE4r");
  EXPECT_EQ(pathToText(dir_ + "\\" + kBaer), pathToText(base_) + "\\?ukasz\\B\xE4r");

  // An existing folder the code page cannot name is given by its short name,
  // which the ANSI functions reach.
  const std::string ansi = pathToAnsi(dir_);
  EXPECT_EQ(ansi.find('?'), std::string::npos) << ansi;
  const DWORD attributes = GetFileAttributesA(ansi.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << ansi;
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);

  // A missing one has no short name: refused with its name, never a look-alike.
  const std::string missing = base_ + "\\" + kLodz;
  EXPECT_NE(errorOf([&] { pathToAnsi(missing); }).find(pathToText(missing)), std::string::npos);
}

TEST_F(PathTest, FileFunctionsTakeAnyName) {
  const std::string a = dir_ + "\\" + kLodz + ".txt";
  const std::string b = dir_ + "\\" + kBaer + ".txt";
  vaktest::writeFileBytes(pathToAnsi(dir_) + "\\seed.txt", "eins");
  ASSERT_TRUE(copyFile(dir_ + "\\seed.txt", a));
  EXPECT_TRUE(fileExists(a));
  EXPECT_TRUE(dirExists(dir_));
  EXPECT_FALSE(fileExists(dir_));

  std::vector<std::string> names = findFiles(dir_, "*.txt");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"seed.txt", std::string(kLodz) + ".txt"}));

  EXPECT_TRUE(renameFile(a, b));
  EXPECT_FALSE(fileExists(a));
  EXPECT_TRUE(sameFile(b, b));
  EXPECT_FALSE(sameFile(b, dir_ + "\\seed.txt"));
  vaktest::writeFileBytes(pathToAnsi(dir_) + "\\seed.txt", "zwei");
  EXPECT_TRUE(replaceFile(dir_ + "\\seed.txt", a));
  EXPECT_EQ(vaktest::readFileBytes(pathToAnsi(a)), "zwei");
  EXPECT_TRUE(deleteFile(b));
  EXPECT_FALSE(fileExists(b));
}

TEST_F(PathTest, IniFilesInFoldersAndNamesBeyondTheCodePage) {
  for (const std::string& path : {dir_ + "\\Einst.ini", dir_ + "\\" + kLodz + ".icq"}) {
    IniFile ini(path);
    // Reading a missing file gives the default and creates nothing.
    EXPECT_EQ(ini.readString("Statusdatei", "#01", "leer"), "leer");
    ini.deleteKey("Statusdatei", "#01");
    EXPECT_FALSE(fileExists(path)) << path;

    // The entries keep their ANSI bytes.
    ini.writeString("1", "a", "B\xE4r");
    ini.writeInteger("Statusdatei", "#01", 1);
    EXPECT_TRUE(fileExists(path));
    EXPECT_EQ(IniFile(path).readString("1", "a", ""), "B\xE4r");
    EXPECT_EQ(IniFile(path).readInteger("Statusdatei", "#01 ", 0), 1);
    EXPECT_EQ(vaktest::readFileBytes(pathToAnsi(path)), "[1]\r\na=B\xE4r\r\n[Statusdatei]\r\n#01=1\r\n");
    ini.deleteKey("1", "a");
    EXPECT_EQ(IniFile(path).readString("1", "a", "weg"), "weg");
  }
  // A folder that does not exist: the user's message names the path.
  const std::string unreachable = base_ + "\\" + kLodz + "\\x.ini";
  IniFile ini(unreachable);
  EXPECT_EQ(errorOf([&] { ini.writeString("s", "k", "v"); }),
            "In " + pathToText(unreachable) + " kann nicht geschrieben werden");
}
