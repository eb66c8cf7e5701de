#include "status/FileRules.h"

#include <gtest/gtest.h>

namespace vak {
namespace {

TEST(FileRules, FileNameAfterLastSeparator) {
  EXPECT_EQ(fileNameOf("C:\\Status\\abend.icq"), "abend.icq");
  EXPECT_EQ(fileNameOf("C:abend.icq"), "abend.icq");
  EXPECT_EQ(fileNameOf("abend.icq"), "abend.icq");
  EXPECT_EQ(fileNameOf("C:\\Backup\\1.icq"), "1.icq");
  EXPECT_EQ(fileNameOf("C:\\Status\\"), "");
  EXPECT_EQ(fileNameOf("\\\\server\\share:x\\a:b"), "b");
  EXPECT_EQ(fileNameOf(""), "");
}

TEST(FileRules, IcqExtension) {
  EXPECT_EQ(withIcqExtension("abend"), "abend.icq");
  EXPECT_EQ(withIcqExtension("abend.icq"), "abend.icq");
  EXPECT_EQ(withIcqExtension("alt.set"), "alt.set.icq");
  EXPECT_EQ(withIcqExtension("abend.ICQ"), "abend.ICQ.icq");
  EXPECT_EQ(withIcqExtension("abend.icq.bak"), "abend.icq.bak.icq");
  // A dot in a folder name is no extension of the file.
  EXPECT_EQ(withIcqExtension("C:\\a.b\\c"), "C:\\a.b\\c.icq");
  EXPECT_EQ(withIcqExtension("C:\\a.icq\\c"), "C:\\a.icq\\c.icq");
  EXPECT_EQ(withIcqExtension("C:\\a.b\\c.icq"), "C:\\a.b\\c.icq");
  EXPECT_EQ(withIcqExtension("C:.icq"), "C:.icq");
  EXPECT_EQ(withIcqExtension("x.icq:c"), "x.icq:c.icq");
  EXPECT_EQ(withIcqExtension("abend."), "abend..icq");
}

TEST(FileRules, BackupStampsUnpadded) {
  LocalDateTime t;
  t.year = 2026;
  t.month = 12;
  t.day = 8;
  t.hour = 9;
  t.minute = 5;
  t.second = 3;
  EXPECT_EQ(backupDate(t), "8.12.2026");
  EXPECT_EQ(backupTime(t), "9:5:3");
  t.month = 1;
  t.day = 31;
  t.hour = 0;
  t.minute = 0;
  t.second = 0;
  EXPECT_EQ(backupDate(t), "31.1.2026");
  EXPECT_EQ(backupTime(t), "0:0:0");
  t.hour = 23;
  t.minute = 59;
  t.second = 59;
  EXPECT_EQ(backupTime(t), "23:59:59");
}

}  // namespace
}  // namespace vak
