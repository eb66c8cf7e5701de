#include "status/Backup.h"

#include "platform/Convert.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "status/FileRules.h"
#include "status/StatusFile.h"

namespace vak {

namespace {
const char* const kHeader = "Statusdatei";
}

std::string backupSlotPath(const std::string& programFolder, int slot) {
  return programFolder + "\\Backup\\" + intToStr(slot) + ".icq";
}

void takeBackup(const std::string& programFolder, const StatusModel& m, const LocalDateTime& now) {
  // Folder, delete and renames report nothing: a write-protected 3.icq keeps
  // 2 and 3 where they are, and 1.icq is then overwritten key by key.
  createDir(programFolder + "\\Backup");
  deleteFile(backupSlotPath(programFolder, 3));
  renameFile(backupSlotPath(programFolder, 2), backupSlotPath(programFolder, 3));
  renameFile(backupSlotPath(programFolder, 1), backupSlotPath(programFolder, 2));

  const std::string slot1 = backupSlotPath(programFolder, 1);
  {
    IniFile ini(slot1);
    ini.writeString(kHeader, "#DATE", backupDate(now));
    ini.writeString(kHeader, "#TIME", backupTime(now));
  }
  saveStatusFile(slot1, m);
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
