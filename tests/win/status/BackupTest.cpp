// Backup slots in a real folder.
#include <windows.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Text.h"
#include "status/Backup.h"
#include "status/StatusFile.h"

using namespace vaktest;

namespace {

vak::StatusModel setNo(int k) {
  vak::StatusModel m;
  for (int n = 1; n <= vak::kEntryCount; ++n) {
    m.entry(n).title = "Satz " + std::to_string(k) + " Titel " + std::to_string(n);
    m.entry(n).message = "Satz " + std::to_string(k) + " Nachricht";
    m.stateOf(n) = (n + k) % 2;
  }
  return m;
}

vak::LocalDateTime at(int day, int hour, int minute, int second) {
  vak::LocalDateTime t;
  t.year = 2026;
  t.month = 12;
  t.day = day;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  return t;
}

// Which set (by the title of entry 1) a slot holds; "" when it does not load.
std::string setIn(const std::string& folder, int slot) {
  vak::StatusModel m;
  if (vak::loadStatusFile(vak::backupSlotPath(folder, slot), m) != vak::LoadResult::Loaded) return "";
  return m.entry(1).title;
}

}  // namespace

TEST(Backup, SlotPaths) {
  EXPECT_EQ(vak::backupSlotPath("C:\\Prog", 1), "C:\\Prog\\Backup\\1.icq");
  EXPECT_EQ(vak::backupSlotPath("C:\\Prog", 3), "C:\\Prog\\Backup\\3.icq");
}

TEST(Backup, FourBackupsKeepTheLastThree) {
  const std::string folder = freshDir("bk_rotate");
  for (int k = 1; k <= 4; ++k) {
    vak::takeBackup(folder, setNo(k), at(k, 9, 5, k));
    if (k == 1) {
      EXPECT_TRUE(vak::readSlot(folder, 1).present);
      EXPECT_FALSE(vak::readSlot(folder, 2).present);
      EXPECT_FALSE(vak::readSlot(folder, 3).present);
    }
  }
  EXPECT_EQ(setIn(folder, 1), "Satz 4 Titel 1");
  EXPECT_EQ(setIn(folder, 2), "Satz 3 Titel 1");
  EXPECT_EQ(setIn(folder, 3), "Satz 2 Titel 1");
  EXPECT_EQ(vak::readSlot(folder, 1).label, "4.12.2026\r\n9:5:4 Uhr");
  EXPECT_EQ(vak::readSlot(folder, 3).label, "2.12.2026\r\n9:5:2 Uhr");

  // The slot holds the state list as "c" and the date keys come first.
  const vak::IniFile slot1(vak::backupSlotPath(folder, 1));
  EXPECT_EQ(slot1.readInteger("2", "c", -1), (2 + 4) % 2);
  EXPECT_EQ(readFileBytes(vak::backupSlotPath(folder, 1)).rfind("[Statusdatei]\r\n#DATE=4.12.2026\r\n#TIME=9:5:4\r\n#01=1\r\n", 0),
            0u);
}

TEST(Backup, WriteProtectedOldestSlotStopsTheRotation) {
  const std::string folder = freshDir("bk_readonly");
  for (int k = 1; k <= 3; ++k) vak::takeBackup(folder, setNo(k), at(k, 10, 0, 0));
  const std::string slot3 = vak::backupSlotPath(folder, 3);
  const std::string slot2Bytes = readFileBytes(vak::backupSlotPath(folder, 2));
  const std::string slot3Bytes = readFileBytes(slot3);
  ASSERT_TRUE(SetFileAttributesA(slot3.c_str(), FILE_ATTRIBUTE_READONLY));
  struct Writable {
    std::string path;
    ~Writable() { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL); }
  } writable{slot3};

  vak::takeBackup(folder, setNo(4), at(20, 11, 30, 0));
  EXPECT_EQ(setIn(folder, 1), "Satz 4 Titel 1");  // written over in place
  EXPECT_EQ(vak::readSlot(folder, 1).label, "20.12.2026\r\n11:30:0 Uhr");
  EXPECT_EQ(readFileBytes(vak::backupSlotPath(folder, 2)), slot2Bytes);
  EXPECT_EQ(readFileBytes(slot3), slot3Bytes);
}

TEST(Backup, UnwritableBackupLocationThrows) {
  const std::string folder = freshDir("bk_blocked");
  writeFileBytes(folder + "\\Backup", "a file where the folder should be");
  try {
    vak::takeBackup(folder, setNo(1), at(1, 1, 1, 1));
    FAIL() << "no error";
  } catch (const vak::VakError& e) {
    EXPECT_EQ(std::string(e.what()), "In " + folder + "\\Backup\\1.icq kann nicht geschrieben werden");
  }
}

// No slot is lost when a backup fails: slot 1 is written in full before the
// slots move, and slots that cannot move stay where they are.
TEST(Backup, FailedBackupsLoseNoSlot) {
  const std::string folder = freshDir("bk_failed");
  for (int k = 1; k <= 3; ++k) vak::takeBackup(folder, setNo(k), at(k, 10, 0, 0));
  auto slotBytes = [&](int slot) { return readFileBytes(vak::backupSlotPath(folder, slot)); };
  const std::string slot1 = slotBytes(1), slot2 = slotBytes(2), slot3 = slotBytes(3);

  // The new slot cannot be written (a folder where it is put together): an
  // error naming slot 1, and the three slots as they were.
  const std::string blocked = vak::backupSlotPath(folder, 1) + ".vaktmp";
  ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr));
  try {
    vak::takeBackup(folder, setNo(4), at(4, 11, 0, 0));
    ADD_FAILURE() << "no error";
  } catch (const vak::VakError& e) {
    EXPECT_EQ(std::string(e.what()), "In " + vak::backupSlotPath(folder, 1) + " kann nicht geschrieben werden");
  }
  EXPECT_TRUE(slotBytes(1) == slot1 && slotBytes(2) == slot2 && slotBytes(3) == slot3);
  ASSERT_TRUE(RemoveDirectoryA(blocked.c_str()));

  // Slot 2 held open by another program cannot move: the new set takes slot
  // 1, slots 2 and 3 stay.
  HANDLE held = CreateFileA(vak::backupSlotPath(folder, 2).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  vak::takeBackup(folder, setNo(5), at(5, 12, 0, 0));
  CloseHandle(held);
  EXPECT_EQ(setIn(folder, 1), "Satz 5 Titel 1");
  EXPECT_TRUE(slotBytes(2) == slot2);
  EXPECT_TRUE(slotBytes(3) == slot3);

  // Free again, the slots rotate as always, and nothing is left beside them.
  vak::takeBackup(folder, setNo(6), at(6, 13, 0, 0));
  EXPECT_EQ(setIn(folder, 1), "Satz 6 Titel 1");
  EXPECT_EQ(setIn(folder, 2), "Satz 5 Titel 1");
  EXPECT_EQ(setIn(folder, 3), "Satz 2 Titel 1");
  EXPECT_EQ(vak::findFiles(folder + "\\Backup", "*").size(), 3u);
}

TEST(Backup, SlotLabels) {
  const std::string folder = freshDir("bk_labels");
  vak::takeBackup(folder, setNo(1), at(8, 9, 5, 3));
  const vak::SlotInfo one = vak::readSlot(folder, 1);
  EXPECT_TRUE(one.present);
  EXPECT_EQ(one.label, "8.12.2026\r\n9:5:3 Uhr");

  const vak::SlotInfo missing = vak::readSlot(folder, 2);
  EXPECT_FALSE(missing.present);
  EXPECT_EQ(missing.label, " kein Backup\r\n vorhanden!");

  // Entries without a date are no backup; a date without the mark still counts.
  writeFileBytes(vak::backupSlotPath(folder, 3), "[Statusdatei]\r\n#DATE=\r\n#01=1\r\n[1]\r\na=x\r\n");
  EXPECT_FALSE(vak::readSlot(folder, 3).present);
  EXPECT_EQ(vak::readSlot(folder, 3).label, " kein Backup\r\n vorhanden!");
  writeFileBytes(vak::backupSlotPath(folder, 3), "[Statusdatei]\r\n#DATE=1.2.2025\r\n");
  EXPECT_TRUE(vak::readSlot(folder, 3).present);
  EXPECT_EQ(vak::readSlot(folder, 3).label, "1.2.2025\r\n Uhr");
  vak::StatusModel m;
  EXPECT_EQ(vak::loadStatusFile(vak::backupSlotPath(folder, 3), m), vak::LoadResult::NotAStatusFile);
}
