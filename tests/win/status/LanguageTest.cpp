// Language files found on disk.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "platform/Files.h"
#include "settings/Language.h"

using namespace vaktest;

TEST(LanguageFiles, FolderIsTheProgramFolderPlusLng) {
  EXPECT_EQ(vak::languageFolder("C:\\Programme\\Status"), "C:\\Programme\\StatusLNG\\");
}

TEST(LanguageFiles, NoFolderOrNoFilesLeavesTheListEmpty) {
  const std::string dir = freshDir("lng_none");
  std::vector<std::string> list = {"eins", "zwei"};
  vak::FindLanguageFiles(dir + "\\missing\\", "*.lng", list, true);
  EXPECT_TRUE(list.empty());

  list = {"eins"};
  vak::FindLanguageFiles("", "*.lng", list, true);
  EXPECT_TRUE(list.empty());

  // Files of another kind and subfolders do not count.
  writeFileBytes(dir + "\\notes.txt", "[Info]\r\n#02=Text\r\n");
  vak::createDir(dir + "\\sub.lng");
  writeFileBytes(dir + "\\sub.lng\\inner.lng", "[Info]\r\n#02=Innen\r\n");
  list = {"eins"};
  vak::FindLanguageFiles(dir, "*.lng", list, true);
  EXPECT_TRUE(list.empty());
}

TEST(LanguageFiles, FilesWithoutDisplayNameGiveOnlyDeutsch) {
  const std::string dir = freshDir("lng_nameless");
  writeFileBytes(dir + "\\a.lng", "[Info]\r\n#01=1.0\r\n");
  writeFileBytes(dir + "\\b.lng", "[Info]\r\n#02=\r\n");
  writeFileBytes(dir + "\\c.lng", "[Texte]\r\n#02=falscher Abschnitt\r\n");
  std::vector<std::string> list = {"alt"};
  vak::FindLanguageFiles(dir, "*.lng", list, true);
  EXPECT_EQ(list, std::vector<std::string>{"deutsch"});
}

TEST(LanguageFiles, DisplayNamesOfEveryFileHiddenIncluded) {
  const std::string dir = freshDir("lng_two");
  writeFileBytes(dir + "\\engl.lng", "[Info]\r\n#01=2.0\r\n#02=english\r\n");
  writeFileBytes(dir + "\\fr.lng", "[Info]\r\n#02=fran\xE7" "ais\r\n");
  writeFileBytes(dir + "\\hidden.lng", "[Info]\r\n#02=versteckt\r\n");
  SetFileAttributesA((dir + "\\hidden.lng").c_str(), FILE_ATTRIBUTE_HIDDEN);

  std::vector<std::string> list = {"alt"};
  vak::FindLanguageFiles(dir + "\\", "*.lng", list, true);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0], "deutsch");
  std::vector<std::string> names(list.begin() + 1, list.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"english", "fran\xE7" "ais", "versteckt"}));

  // Without clearing, the entries are added after the old ones.
  list = {"alt"};
  vak::FindLanguageFiles(dir, "*.lng", list, false);
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(list[0], "alt");
  EXPECT_EQ(list[1], "deutsch");
}
