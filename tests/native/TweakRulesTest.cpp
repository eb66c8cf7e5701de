#include "tweaks/TweakRules.h"

#include <gtest/gtest.h>

#include "platform/Text.h"

namespace vak {
namespace {

TEST(TweakRules, IcqWindowTitleGroupsTheFirstNineDigits) {
  EXPECT_EQ(icqWindowTitle("123456789"), "123-456-789");
  EXPECT_EQ(icqWindowTitle("1234567890"), "123-456-789");
  EXPECT_EQ(icqWindowTitle("12345678"), "123-456-78");
  EXPECT_EQ(icqWindowTitle("123456"), "123-456-");
  EXPECT_EQ(icqWindowTitle("12345"), "123-45-");
  EXPECT_EQ(icqWindowTitle("12"), "12--");
  EXPECT_EQ(icqWindowTitle(""), "--");
}

TEST(TweakRules, SoundPathsAndKeys) {
  EXPECT_EQ(soundFilePath("C:\\ICQ\\Sounds", 1), "C:\\ICQ\\Sounds\\Auth.wav");
  EXPECT_EQ(soundBackupPath("C:\\ICQ\\Sounds", 10), "C:\\ICQ\\Sounds\\Notify.wav.VAK");
  EXPECT_EQ(soundFileName(6), "incomingsms.wav");
  EXPECT_EQ(soundLabel(4), T("Datei vollständig"));
  EXPECT_EQ(soundRowKey(1), "#01");
  EXPECT_EQ(soundRowKey(9), "#09");
  EXPECT_EQ(soundRowKey(10), "#010");
  EXPECT_THROW(soundFileName(0), std::out_of_range);
  EXPECT_THROW(soundLabel(11), std::out_of_range);
}

TEST(TweakRules, OnlyAnExistingNamedFolderIsUsable) {
  EXPECT_FALSE(soundFolderProblem("C:\\ICQ\\Sounds", true));
  const auto unknown = soundFolderProblem("", false);
  ASSERT_TRUE(unknown);
  EXPECT_NE(unknown->find(T("keinen Soundordner")), std::string::npos);
  // Even if the drive's root "exists", an empty folder is never used.
  EXPECT_TRUE(soundFolderProblem("", true));
  const auto missing = soundFolderProblem(T("C:\\Müll"), false);
  ASSERT_TRUE(missing);
  EXPECT_NE(missing->find(T("\"C:\\Müll\"")), std::string::npos);
}

}  // namespace
}  // namespace vak
