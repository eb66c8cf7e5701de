#include "status/IcqRegistry.h"

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Text.h"
#include "platform/Registry.h"
#include "status/EntryText.h"
#include "status/Letters.h"

namespace vak {

const char* const kNewOwnersPath = "\\Software\\Mirabilis\\ICQ\\NewOwners";

namespace {

// ICQ's own spelling of the per-profile paths it keeps in HKLM and CommonPrefs.
std::string icqLitePath(const std::string& uin) { return "\\software\\mirabilis\\icq\\NewOwners\\" + uin + "\\ICQLite\\"; }
std::string commonPrefsPath(const std::string& uin) {
  return "\\software\\mirabilis\\icq\\NewOwners\\" + uin + "\\CommonPrefs\\";
}
const char* const kDefaultPrefsPath = "\\software\\mirabilis\\icq\\DefaultPrefs";

const char* const kYes = "Yes";

// Writes go only to a named profile: without a number the paths would name
// the NewOwners key itself or the root of the hive.
void requireProfile(const std::string& uin) {
  if (uin.empty()) throw VakError(T("Es ist kein ICQ-Profil ausgewählt; es wurde nichts geschrieben."));
}

// Title (Name) or message (Description) of an open entry key, judged by the
// value's own type; nothing stored there makes this fail.
std::string readEntryText(const Registry& reg, const std::string& name, bool isDescription) {
  const RegValueInfo info = reg.getValueInfo(name);
  if (!info.exists) return std::string();
  if (info.type == RegType::String) return entryTextFromString(reg.readString(name));
  if (info.type == RegType::Binary && info.size > 0) return entryTextFromBinary(reg.readBinary(name), isDescription);
  return std::string();
}

// The number of a REG_DWORD's bytes (little-endian); a value of odd size
// must not make the entry read fail.
int dwordOf(const std::vector<std::uint8_t>& bytes) {
  std::uint32_t v = 0;
  for (std::size_t i = bytes.size(); i-- > 0;) v = v << 8 | bytes[i];
  return static_cast<int>(v);
}

// AwayStatusText / NAStatusText of the open ICQLite key.
std::string readAwayText(const Registry& reg, const std::string& name) {
  const RegValueInfo info = reg.getValueInfo(name);
  if (!info.exists || info.size == 0) return std::string();
  if (info.type == RegType::Binary) return awayTextFromBinary(reg.readBinary(name, kAwayTextMaxBytes));
  return awayTextFromString(reg.readString(name));  // another type than a string throws
}

}  // namespace

ProfileListing listProfiles() {
  ProfileListing out;
  {
    Registry reg(RegRoot::CurrentUser);
    if (reg.openKey(kNewOwnersPath, true)) out.allKeys = reg.getKeyNames();
  }
  for (const std::string& uin : out.allKeys) {
    Registry reg(RegRoot::CurrentUser);
    if (!reg.openKeyReadOnly(std::string(kNewOwnersPath) + "\\" + uin)) continue;
    const std::string name = reg.readString("Name");
    out.listedKeys.push_back(uin);
    out.listedTexts.push_back(name + " (" + uin + ")");
  }
  return out;
}

std::vector<std::string> readProfileKeyList() {
  Registry reg(RegRoot::CurrentUser);
  std::vector<std::string> listed;
  if (!reg.openKey(kNewOwnersPath, true)) return listed;
  const std::vector<std::string> names = reg.getKeyNames();
  reg.closeKey();
  // Only the profiles whose key opens are listed in the profile box, so only
  // those count for turning a position of the box into a profile number.
  for (const std::string& name : names) {
    Registry probe(RegRoot::CurrentUser);
    if (probe.openKeyReadOnly(std::string(kNewOwnersPath) + "\\" + name)) listed.push_back(name);
  }
  return listed;
}

long long readLastOwner() {
  Registry reg(RegRoot::CurrentUser);
  if (!reg.openKeyReadOnly(kNewOwnersPath)) return 0;
  if (!reg.valueExists("LastOwner")) return 0;
  return reg.readInteger("LastOwner");
}

std::string statusListPath(const std::string& uin) {
  return std::string(kNewOwnersPath) + "\\" + uin + "\\CustomStatusList\\";
}

void readStateList(const std::string& listPath, StatusModel& m) {
  for (int n = 1; n <= kEntryCount; ++n) {
    Registry reg(RegRoot::CurrentUser);
    if (!reg.openKeyReadOnly(listPath + intToStr(n))) {
      m.stateOf(n) = 0;
      continue;
    }
    const RegValueInfo on = reg.getValueInfo("On");
    m.stateOf(n) = (on.exists && on.type == RegType::DWord) ? dwordOf(reg.readBinary("On", 4)) : 2;
  }
}

void readEntryTexts(const std::string& listPath, StatusModel& m) {
  for (int n = 1; n <= kEntryCount; ++n) {
    StatusEntry& e = m.entry(n);
    Registry reg(RegRoot::CurrentUser);
    if (!reg.openKeyReadOnly(listPath + intToStr(n))) {
      e.title.clear();
      e.message.clear();
      continue;
    }
    e.title = readEntryText(reg, "Name", false);
    e.message = readEntryText(reg, "Description", true);
  }
}

bool readBirthday(const std::string& uin, bool& on, std::string& daysText) {
  Registry reg(RegRoot::LocalMachine);
  if (!reg.openKeyReadOnly(icqLitePath(uin))) return false;
  if (reg.readString("RemindBirthday") == kYes) {
    // The box is ticked before the days are read: a bad days value leaves it ticked.
    on = true;
    daysText = intToStr(reg.readInteger("RemindBirthdayDaysBefore"));
  } else {
    on = false;
    daysText = "2";
  }
  return true;
}

bool writeBirthday(const std::string& uin, bool on, const std::string& daysText) {
  requireProfile(uin);
  Registry reg(RegRoot::LocalMachine);
  if (!reg.openKey(icqLitePath(uin), true)) return false;
  if (on) {
    reg.writeString("RemindBirthday", kYes);
    reg.writeInteger("RemindBirthdayDaysBefore", strToInt(daysText));
  } else {
    reg.writeString("RemindBirthday", "No");
  }
  return true;
}

bool readAwayTexts(const std::string& uin, std::string& away, std::string& na) {
  Registry reg(RegRoot::LocalMachine);
  if (!reg.openKeyReadOnly(icqLitePath(uin))) return false;
  away = readAwayText(reg, "AwayStatusText");
  na = readAwayText(reg, "NAStatusText");
  return true;
}

std::optional<bool> readSoundOn(const std::string& uin) {
  Registry reg(RegRoot::CurrentUser);
  if (!reg.openKeyReadOnly(commonPrefsPath(uin))) return std::nullopt;
  return reg.readString("AllResponsePlay") == kYes;
}

std::string readSoundFolder(const std::string& uin) {
  Registry reg(RegRoot::LocalMachine);
  if (!reg.openKeyReadOnly(icqLitePath(uin))) return std::string();
  return reg.readString("SoundFilePath");
}

void writeMultiInstance(bool on) {
  Registry reg(RegRoot::LocalMachine);
  if (!reg.openKey(kDefaultPrefsPath, true)) return;
  reg.writeString("MultiInstance", on ? kYes : "No");
}

void deleteProfile(const std::string& uin) {
  // Never the NewOwners key itself or a key below another profile.
  if (uin.empty() || uin.find('\\') != std::string::npos) return;
  const std::string path = std::string(kNewOwnersPath) + "\\" + uin;
  Registry::deleteKeyTree(RegRoot::CurrentUser, path);
  Registry::deleteKeyTree(RegRoot::LocalMachine, path);
}

StatusWriteReport writeStatusSet(const std::string& uin, StatusModel& m) {
  requireProfile(uin);
  StatusWriteReport report;
  for (int n = 1; n <= kEntryCount; ++n) m.stateOf(n) = m.entry(n).active ? 1 : 0;
  const std::string listPath = statusListPath(uin);
  for (int n = 1; n <= kEntryCount; ++n) {
    Registry reg(RegRoot::CurrentUser);
    try {
      if (!reg.openKey(listPath + intToStr(n), true)) {
        report.failedEntries.push_back(n);
        continue;
      }
      reg.writeInteger("LineNumber", n);
      reg.writeInteger("On", m.stateOf(n) == 1 ? 1 : 0);
      const StatusEntry& e = m.entry(n);
      reg.writeString("Name", toUtf8Form(e.title));
      reg.writeString("Description", toUtf8Form(e.message));
    } catch (const VakError&) {
      report.failedEntries.push_back(n);
    }
  }
  Registry reg(RegRoot::LocalMachine);
  try {
    if (!reg.openKey(icqLitePath(uin), true)) {
      report.awayFailed = true;
      report.awayDenied = reg.accessDenied();
      return report;
    }
    reg.writeBinary("AwayStatusText", awayTextToBinary(m.away));
    reg.writeBinary("NAStatusText", awayTextToBinary(m.na));
  } catch (const VakError&) {
    report.awayFailed = true;
  }
  return report;
}

DefaultPrefs readDefaultPrefs() {
  DefaultPrefs out;
  Registry reg(RegRoot::LocalMachine);
  if (!reg.openKeyReadOnly(kDefaultPrefsPath)) return out;
  out.opened = true;
  out.multiInstance = reg.readString("MultiInstance");
  out.liteVersion = reg.readString("ICQLite Version");
  return out;
}

}  // namespace vak
