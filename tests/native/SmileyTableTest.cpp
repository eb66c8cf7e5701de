#include "tweaks/SmileyTable.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace vak {
namespace {

TEST(SmileyTable, CodesAndHints) {
  EXPECT_EQ(smileyHint(1), "Change: :-)");
  EXPECT_EQ(smileyHint(18), "Change: :-\\");  // colon, hyphen, backslash
  EXPECT_EQ(smileyHint(28), "Change: *IN LOVE*");
  std::set<std::string> codes;
  for (int n = 1; n <= kSmileyCount; ++n) codes.insert(smileyCode(n));
  EXPECT_EQ(codes.size(), static_cast<size_t>(kSmileyCount));
  EXPECT_THROW(smileyCode(0), std::out_of_range);
  EXPECT_THROW(smileyCode(29), std::out_of_range);
}

TEST(SmileyTable, BitmapAndBackupNames) {
  EXPECT_EQ(smileyBitmap("C:\\ICQLite\\Smileys", 5), "C:\\ICQLite\\Smileys\\Smiley5.bmp");
  EXPECT_EQ(smileyBackup("C:\\ICQLite\\Smileys", 28), "C:\\ICQLite\\Smileys\\Smiley28.bmp.VAK");
  // A set in the root of a drive: no doubled separator.
  EXPECT_EQ(smileyBitmap("D:\\", 1), "D:\\Smiley1.bmp");
}

TEST(SmileyTable, FolderOfAChosenFile) {
  EXPECT_EQ(folderOf("C:\\Sets\\Blau\\Smiley3.bmp"), "C:\\Sets\\Blau");
  EXPECT_EQ(folderOf("C:\\Smiley3.bmp"), "C:\\");
  EXPECT_EQ(folderOf("\\\\server\\share\\Smiley3.bmp"), "\\\\server\\share");
  EXPECT_EQ(folderOf("\\Smiley3.bmp"), "\\");
  EXPECT_EQ(folderOf("Smiley3.bmp"), "");
  EXPECT_EQ(folderOf(""), "");
  // Only "\" separates: a slash belongs to the name.
  EXPECT_EQ(folderOf("C:\\a/b\\c.bmp"), "C:\\a/b");
}

}  // namespace
}  // namespace vak
