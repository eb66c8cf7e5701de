#include "status/Backup.h"

#include <utility>
#include <vector>

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Path.h"
#include "status/FileRules.h"
#include "status/StatusFile.h"

namespace vak {

namespace {
const char* const kHeader = "Statusdatei";
}

std::string backupSlotPath(const std::string& programFolder, int slot) {
  return programFolder + "\\Backup\\" + intToStr(slot) + ".icq";
}

namespace {

// Moves the slots one place older and the complete new set into slot 1: the
// oldest slot is first put aside and only deleted at the end, and a step that
// fails undoes the ones before it. So the slots are either rotated or all as
// they were; false in the second case.
bool rotate(const std::string& programFolder, const std::string& next) {
  const std::string slot1 = backupSlotPath(programFolder, 1), slot2 = backupSlotPath(programFolder, 2),
                    slot3 = backupSlotPath(programFolder, 3), dropped = slot3 + ".vaktmp";
  deleteFile(dropped);  // left by a backup that did not end
  std::vector<std::pair<std::string, std::string>> done;
  auto step = [&](const std::string& from, const std::string& to) {
    if (!fileExists(from)) return true;  // fewer slots so far
    if (!renameFile(from, to)) return false;
    done.emplace_back(from, to);
    return true;
  };
  if (step(slot3, dropped) && step(slot2, slot3) && step(slot1, slot2) && step(next, slot1)) {
    deleteFile(dropped);
    return true;
  }
  for (auto it = done.rbegin(); it != done.rend(); ++it) renameFile(it->second, it->first);
  return false;
}

}  // namespace

void takeBackup(const std::string& programFolder, const StatusModel& m, const LocalDateTime& now) {
  createDir(programFolder + "\\Backup");
  // The new set is put together beside the slots and takes slot 1 only when
  // it is complete: a write that fails, or a program that dies meanwhile,
  // leaves the three slots as they were. Messages name slot 1.
  const std::string slot1 = backupSlotPath(programFolder, 1);
  const std::string next = slot1 + ".vaktmp";
  deleteFile(next);  // left by a backup that did not end
  try {
    IniFile ini(next, slot1);
    ini.writeString(kHeader, "#DATE", backupDate(now));
    ini.writeString(kHeader, "#TIME", backupTime(now));
    saveStatusFile(next, m, slot1);
    ini.flush();
  } catch (...) {
    deleteFile(next);
    throw;
  }

  // A write-protected 3.icq is kept, and so is 2.icq: the slots do not move
  // and the new set takes the place of 1.icq. So it does when the slots
  // cannot move (a slot file held open by another program).
  const std::string slot3 = backupSlotPath(programFolder, 3);
  if ((fileExists(slot3) && isReadOnly(slot3)) || !rotate(programFolder, next)) {
    if (!moveOver(next, slot1)) {
      deleteFile(next);
      throw VakError(errIniWrite(pathToText(slot1)));
    }
  }
}

SlotInfo readSlot(const std::string& programFolder, int slot) {
  SlotInfo info;
  const IniFile ini(backupSlotPath(programFolder, slot));
  const std::string date = ini.readString(kHeader, "#DATE", "");
  if (!date.empty()) {
    const std::string time = ini.readString(kHeader, "#TIME", "");
    info.present = true;
    info.label = date + "\r\n" + time + " Uhr";
  } else {
    info.label = " kein Backup\r\n vorhanden!";
  }
  return info;
}

}  // namespace vak
