// File helpers: the MoveFile/CopyFile rules the backups rely on.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "platform/Files.h"

using namespace vak;
using vaktest::readFileBytes;
using vaktest::writeFileBytes;

namespace {

class FilesTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = vaktest::freshDir(std::string("files_") + testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  std::string file(const std::string& name) const { return dir_ + "\\" + name; }
  std::string dir_;
};

}  // namespace

TEST_F(FilesTest, RenameFailsWhenTheTargetExists) {
  writeFileBytes(file("1.icq"), "one");
  writeFileBytes(file("2.icq"), "two");
  EXPECT_FALSE(renameFile(file("1.icq"), file("2.icq")));
  EXPECT_EQ(readFileBytes(file("1.icq")), "one");
  EXPECT_EQ(readFileBytes(file("2.icq")), "two");

  ASSERT_TRUE(deleteFile(file("2.icq")));
  EXPECT_TRUE(renameFile(file("1.icq"), file("2.icq")));
  EXPECT_FALSE(fileExists(file("1.icq")));
  EXPECT_EQ(readFileBytes(file("2.icq")), "one");
  EXPECT_FALSE(renameFile(file("1.icq"), file("3.icq")));  // source gone
}

TEST_F(FilesTest, CopyOverwrites) {
  writeFileBytes(file("a.wav"), "new sound");
  writeFileBytes(file("a.wav.VAK"), "old");
  EXPECT_TRUE(copyFile(file("a.wav"), file("a.wav.VAK")));
  EXPECT_EQ(readFileBytes(file("a.wav.VAK")), "new sound");
  EXPECT_EQ(readFileBytes(file("a.wav")), "new sound");
  EXPECT_FALSE(copyFile(file("missing.wav"), file("a.wav")));
  EXPECT_EQ(readFileBytes(file("a.wav")), "new sound");
  EXPECT_FALSE(copyFile(file("a.wav"), dir_ + "\\nofolder\\a.wav"));
}

TEST_F(FilesTest, FoldersAndExistence) {
  EXPECT_FALSE(dirExists(file("Backup")));
  EXPECT_TRUE(createDir(file("Backup")));
  EXPECT_FALSE(createDir(file("Backup")));  // already there
  EXPECT_FALSE(createDir(file("a\\b")));    // one level only
  EXPECT_TRUE(dirExists(file("Backup")));
  EXPECT_FALSE(fileExists(file("Backup")));
  writeFileBytes(file("Backup\\1.icq"), "x");
  EXPECT_TRUE(fileExists(file("Backup\\1.icq")));
  EXPECT_FALSE(dirExists(file("Backup\\1.icq")));
  EXPECT_TRUE(deleteFile(file("Backup\\1.icq")));
  EXPECT_FALSE(fileExists(file("Backup\\1.icq")));
  EXPECT_FALSE(deleteFile(file("Backup\\1.icq")));
  EXPECT_FALSE(deleteFile(file("Backup")));  // not a file
}

TEST_F(FilesTest, FindFilesMatchesTheMaskAndSkipsFolders) {
  for (const char* name : {"Smiley1.bmp", "Smiley2.BMP", "notes.txt", "hidden.bmp", "readonly.bmp"})
    writeFileBytes(file(name), "x");
  SetFileAttributesA(file("hidden.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(file("readonly.bmp").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(createDir(file("folder.bmp")));

  std::vector<std::string> found = findFiles(dir_, "*.bmp");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"Smiley1.bmp", "Smiley2.BMP", "hidden.bmp", "readonly.bmp"}));
  found = findFiles(dir_ + "\\", "Smiley?.bmp");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"Smiley1.bmp", "Smiley2.BMP"}));
  EXPECT_TRUE(findFiles(dir_, "*.wav").empty());
  EXPECT_TRUE(findFiles(dir_ + "\\nofolder", "*").empty());
  SetFileAttributesA(file("readonly.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Process, ProgramFolderAndTime) {
  const std::string folder = programFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_TRUE(fileExists(folder + "\\vak_platform_tests.exe")) << folder;

  const LocalDateTime t = localNow();
  EXPECT_GE(t.year, 2020);
  EXPECT_TRUE(t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31);
  EXPECT_TRUE(t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 61);
}

// The test exe runs itself with arguments; the child writes what it got.
TEST(Process, CommandLineArgs) {
  char marker[MAX_PATH] = {};
  if (GetEnvironmentVariableA("VAK_ARGS_OUT", marker, sizeof marker)) {
    std::string all;
    for (const std::string& a : commandLineArgs()) all += a + "\n";
    writeFileBytes(marker, all);
    return;
  }
  const std::string out = vaktest::freshDir("files_args") + "\\args.txt";
  ASSERT_TRUE(SetEnvironmentVariableA("VAK_ARGS_OUT", out.c_str()));
  const std::string self = programFolder() + "\\vak_platform_tests.exe";
  const int rc = vaktest::run("\"" + self + "\" --gtest_filter=Process.CommandLineArgs -1 \"zwei W\xF6rter\" a\\\"b");
  SetEnvironmentVariableA("VAK_ARGS_OUT", nullptr);
  ASSERT_EQ(rc, 0);
  // UTF-8, as every path of the program.
  EXPECT_EQ(readFileBytes(out), "--gtest_filter=Process.CommandLineArgs\n-1\nzwei W\xC3\xB6rter\na\"b\n");
}
