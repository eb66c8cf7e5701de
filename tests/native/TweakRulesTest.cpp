#include "tweaks/TweakRules.h"

#include <gtest/gtest.h>

namespace vak {
namespace {

TEST(TweakRules, IcqWindowTitleGroupsTheFirstNineDigits) {
  EXPECT_EQ(icqWindowTitle("123456789"), "123-456-789");
  EXPECT_EQ(icqWindowTitle("1234567890"), "123-456-789");
  EXPECT_EQ(icqWindowTitle("12345678"), "123-456-78");
  EXPECT_EQ(icqWindowTitle("123456"), "123-456-");
  EXPECT_EQ(icqWindowTitle("12"), "12--");
  EXPECT_EQ(icqWindowTitle(""), "--");
}

TEST(TweakRules, SoundRowsOutsideTheTableAreRefused) {
  EXPECT_EQ(soundBackupPath("C:\\ICQ\\Sounds", 10), "C:\\ICQ\\Sounds\\Notify.wav.VAK");
  EXPECT_EQ(soundRowKey(10), "#010");
  EXPECT_THROW(soundFileName(0), std::out_of_range);
  EXPECT_THROW(soundLabel(11), std::out_of_range);
  // An empty folder is never used, whatever the file system says about it.
  EXPECT_TRUE(soundFolderProblem("", true));
  EXPECT_FALSE(soundFolderProblem("C:\\ICQ\\Sounds", true));
}

}  // namespace
}  // namespace vak
