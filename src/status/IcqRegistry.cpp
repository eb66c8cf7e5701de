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
  // Type and data with one query: most texts fit the first buffer.
  const RegValueData value = reg.readValue(name, 1024);
  if (value.type == RegType::String)
    return entryTextFromString(std::string(value.data.begin(), value.data.end()));
  if (value.type == RegType::Binary && !value.data.empty()) return entryTextFromBinary(value.data, isDescription);
  return std::string();
}

// The number of a REG_DWORD's first four bytes (little-endian); a value of
// odd size must not make the entry read fail.
int dwordOf(const std::vector<std::uint8_t>& bytes) {
  std::uint32_t v = 0;
  for (std::size_t i = bytes.size() < 4 ? bytes.size() : 4; i-- > 0;) v = v << 8 | bytes[i];
  return static_cast<int>(v);
}

// State, title and message of an open entry key.
StoredEntry readEntry(const Registry& reg) {
  StoredEntry e;
  const RegValueData on = reg.readValue("On", 16);
  e.state = on.type == RegType::DWord ? dwordOf(on.data) : 2;
  e.title = readEntryText(reg, "Name", false);
  e.message = readEntryText(reg, "Description", true);
  return e;
}

// One of ICQ's keys below HKEY_LOCAL_MACHINE\Software, seen and written as
// ICQ does. On Windows Vista and later ICQ is virtualized (VirtualStore.h):
// it reads a merged view in which "virtual values take precedence over global
// values when present", value by value, and "if the caller does not have
// write access to a key and attempts to write a value to it or create a
// subkey, the value is written to the virtual store". Where the system keeps
// no store (Windows XP, Wine) this is the HKLM key alone, as ICQ sees it there.
class IcqMachineKey {
 public:
  // For reading: the global key and its virtual copy, each where it opens.
  // false when neither opens.
  bool openReadOnly(const std::string& path) {
    const bool global = global_.openKeyReadOnly(path);
    const bool copy = copy_.openKeyReadOnly(path);
    return global || copy;
  }
  // The key whose value `name` ICQ reads: the virtual copy's when it has one.
  const Registry& holderOf(const std::string& name) const {
    return copy_.isOpen() && copy_.valueExists(name) ? copy_ : global_;
  }
  std::string readString(const std::string& name) const { return holderOf(name).readString(name); }
  std::int32_t readInteger(const std::string& name) const { return holderOf(name).readInteger(name); }

  // For writing, where ICQ reads next: into the virtual copy when the key has
  // one (ICQ's own writes go there, its reads prefer it); otherwise into HKLM
  // (created if missing); when HKLM refuses, into the virtual store, as
  // Windows does it for ICQ. false when neither can be written.
  [[nodiscard]] bool openForWriting(const std::string& path) {
    if (copy_.openKey(path, false)) return writeTo(copy_);
    if (global_.openKey(path, true)) return writeTo(global_);
    if (global_.accessDenied() && copy_.openKey(path, true)) return writeTo(copy_);
    return false;
  }
  Registry& target() { return *target_; }
  // After a failed openForWriting: HKLM refused it for lack of rights.
  bool accessDenied() const { return global_.accessDenied(); }

 private:
  bool writeTo(Registry& key) {
    target_ = &key;
    return true;
  }
  Registry global_{RegRoot::LocalMachine};
  Registry copy_{RegRoot::MachineVirtualStore};
  Registry* target_ = &global_;
};

// AwayStatusText / NAStatusText of the open ICQLite key, type and data with
// one query where they fit.
std::string readAwayText(const Registry& reg, const std::string& name) {
  const RegValueData value = reg.readValue(name, kAwayTextMaxBytes + 1);
  if (!value.exists || value.data.empty()) return std::string();
  if (value.type == RegType::Binary) return awayTextFromBinary(value.data);  // its first 1024 bytes
  // Read as a string: another type is an error.
  if (value.type != RegType::String && value.type != RegType::ExpandString) throw VakError(errInvalidType(name));
  return awayTextFromString(std::string(value.data.begin(), value.data.end()));
}

}  // namespace

ProfileListing listProfiles() {
  ProfileListing out;
  Registry owners(RegRoot::CurrentUser);
  if (!owners.openKey(kNewOwnersPath, true)) return out;
  out.allKeys = owners.getKeyNames();
  for (const std::string& uin : out.allKeys) {
    Registry reg(RegRoot::CurrentUser);
    if (!reg.openSubKeyReadOnly(owners, uin)) continue;
    const std::string name = reg.readString("Name");
    out.listedKeys.push_back(uin);
    out.listedTexts.push_back(name + " (" + uin + ")");
  }
  return out;
}

std::vector<std::string> readProfileKeyList() {
  Registry owners(RegRoot::CurrentUser);
  std::vector<std::string> listed;
  if (!owners.openKey(kNewOwnersPath, true)) return listed;
  // Only the profiles whose key opens are listed in the profile box, so only
  // those count for turning a position of the box into a profile number.
  for (const std::string& name : owners.getKeyNames()) {
    Registry probe(RegRoot::CurrentUser);
    if (probe.openSubKeyReadOnly(owners, name)) listed.push_back(name);
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

StoredStatusList readStatusList(const std::string& listPath) {
  StoredStatusList out{};  // every entry as a missing key
  // The entry keys are opened from the list key: one step each instead of
  // the whole path.
  Registry list(RegRoot::CurrentUser);
  const bool listOpen = list.openKeyReadOnly(listPath);
  if (!listOpen && list.notFound()) return out;  // no list, no entries
  for (int n = 1; n <= kEntryCount; ++n) {
    Registry reg(RegRoot::CurrentUser);
    // A list key that may not be read can still hold entry keys that may.
    const bool open =
        listOpen ? reg.openSubKeyReadOnly(list, intToStr(n)) : reg.openKeyReadOnly(listPath + intToStr(n));
    if (open) out[static_cast<std::size_t>(n - 1)] = readEntry(reg);
  }
  return out;
}

bool readBirthday(const std::string& uin, bool& on, std::string& daysText) {
  IcqMachineKey reg;
  if (!reg.openReadOnly(icqLitePath(uin))) return false;
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
  IcqMachineKey lite;
  if (!lite.openForWriting(icqLitePath(uin))) return false;
  Registry& reg = lite.target();
  if (on) {
    reg.writeString("RemindBirthday", kYes);
    reg.writeInteger("RemindBirthdayDaysBefore", strToInt(daysText));
  } else {
    reg.writeString("RemindBirthday", "No");
  }
  return true;
}

bool readAwayTexts(const std::string& uin, std::string& away, std::string& na) {
  IcqMachineKey reg;
  if (!reg.openReadOnly(icqLitePath(uin))) return false;
  away = readAwayText(reg.holderOf("AwayStatusText"), "AwayStatusText");
  na = readAwayText(reg.holderOf("NAStatusText"), "NAStatusText");
  return true;
}

std::optional<bool> readSoundOn(const std::string& uin) {
  Registry reg(RegRoot::CurrentUser);
  if (!reg.openKeyReadOnly(commonPrefsPath(uin))) return std::nullopt;
  return reg.readString("AllResponsePlay") == kYes;
}

std::string readSoundFolder(const std::string& uin) {
  IcqMachineKey reg;
  if (!reg.openReadOnly(icqLitePath(uin))) return std::string();
  return reg.readString("SoundFilePath");
}

std::string readSmileyFolder(const std::string& uin) {
  IcqMachineKey reg;
  if (!reg.openReadOnly(icqLitePath(uin))) return std::string();
  return reg.readString("SmileyFilePath");
}

bool writeSmileyFolder(const std::string& uin, const std::string& folder) {
  requireProfile(uin);
  IcqMachineKey lite;
  if (!lite.openForWriting(icqLitePath(uin))) return false;
  lite.target().writeString("SmileyFilePath", folder);
  return true;
}

void writeMultiInstance(bool on) {
  IcqMachineKey prefs;
  if (!prefs.openForWriting(kDefaultPrefsPath)) return;
  prefs.target().writeString("MultiInstance", on ? kYes : "No");
}

void deleteProfile(const std::string& uin) {
  // Never the NewOwners key itself or a key below another profile.
  if (uin.empty() || uin.find('\\') != std::string::npos) return;
  const std::string path = std::string(kNewOwnersPath) + "\\" + uin;
  Registry::deleteKeyTree(RegRoot::CurrentUser, path);
  Registry::deleteKeyTree(RegRoot::LocalMachine, path);
  // ICQ's copies of the profile's machine-wide keys: ICQ would still see them.
  Registry::deleteKeyTree(RegRoot::MachineVirtualStore, path);
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
  IcqMachineKey lite;
  try {
    if (!lite.openForWriting(icqLitePath(uin))) {
      report.awayFailed = true;
      report.awayDenied = lite.accessDenied();
      return report;
    }
    lite.target().writeBinary("AwayStatusText", awayTextToBinary(m.away));
    lite.target().writeBinary("NAStatusText", awayTextToBinary(m.na));
  } catch (const VakError&) {
    report.awayFailed = true;
  }
  return report;
}

DefaultPrefs readDefaultPrefs() {
  DefaultPrefs out;
  IcqMachineKey reg;
  if (!reg.openReadOnly(kDefaultPrefsPath)) return out;
  out.opened = true;
  out.multiInstance = reg.readString("MultiInstance");
  out.liteVersion = reg.readString("ICQLite Version");
  return out;
}

}  // namespace vak
