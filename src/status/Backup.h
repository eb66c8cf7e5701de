#pragma once
// Three rotating backup slots, program folder + "\Backup\{1,2,3}.icq".
#include <string>

#include "platform/DateTime.h"
#include "status/StatusModel.h"

namespace vak {

std::string backupSlotPath(const std::string& programFolder, int slot);

// Creates Backup, deletes 3, renames 2->3 and 1->2 (failures ignored), writes
// #DATE and #TIME into 1.icq, then saves the set there. Write errors throw.
void takeBackup(const std::string& programFolder, const StatusModel& m, const LocalDateTime& now);

struct SlotInfo {
  bool present = false;  // #DATE not empty
  std::string label;     // "{date}\r\n{time} Uhr" or " kein Backup\r\n vorhanden!"
};
SlotInfo readSlot(const std::string& programFolder, int slot);

}  // namespace vak
