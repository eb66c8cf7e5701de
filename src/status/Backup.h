#pragma once
// Three rotating backup slots, program folder + "\Backup\{1,2,3}.icq".
#include <string>

#include "platform/DateTime.h"
#include "status/StatusModel.h"

namespace vak {

std::string backupSlotPath(const std::string& programFolder, int slot);

// Creates Backup, writes #DATE, #TIME and the set into a new file there
// (1.icq.vaktmp), then drops 3, moves 2->3 and 1->2 and lets the new file take
// the place of 1.icq. A write-protected 3.icq, or slots that cannot move, keep
// 2 and 3 where they are; the new set then replaces 1.icq. Write errors throw,
// naming 1.icq; the three slots are then as they were.
void takeBackup(const std::string& programFolder, const StatusModel& m, const LocalDateTime& now);

struct SlotInfo {
  bool present = false;  // #DATE not empty
  std::string label;     // "{date}\r\n{time} Uhr" or " kein Backup\r\n vorhanden!"
};
SlotInfo readSlot(const std::string& programFolder, int slot);

}  // namespace vak
