#include "status/IcqRegistry.h"

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Text.h"
#include "platform/Registry.h"
#include "status/EntryText.h"
#include "status/IcqKeys.h"
#include "status/Letters.h"

#include <map>
#include <memory>

namespace vak {

const char* const kNewOwnersPath = icq::kOwnersPath;

const IcqRoots& realIcqRoots() {
  static const IcqRoots roots;
  return roots;
}

IcqRoots icqRootsBelow(const std::string& base) {
  IcqRoots roots;
  roots.user = {RegRoot::CurrentUser, base + "\\User"};
  roots.machine = {RegRoot::CurrentUser, base + "\\Machine"};
  roots.machineStore = {RegRoot::MachineVirtualStore, base + "\\Store"};
  return roots;
}

namespace {

using namespace icq;

// ICQ's own spelling of the per-profile paths it keeps in HKLM and CommonPrefs.
std::string icqLitePath(const std::string& uin) { return icqProfilePath(uin, kIcqLite); }
std::string commonPrefsPath(const std::string& uin) { return icqProfilePath(uin, kCommonPrefs); }

// The NewOwners key of a root, kept open: a profile's keys are opened from it
// in the steps below it only. Under Wine every step of a path in the 32-bit
// view is a round trip of its own (the registry looks for a Wow6432Node below
// each key), and the four steps to NewOwners are most of a profile key's path.
// What such an open finds is the key the whole path names as long as the kept
// key is still in the registry; when it was removed meanwhile (with all its
// subkeys) nothing opens from it, and the whole path decides. So every open
// that fails from the kept key is tried with the whole path, and the results
// are those of the whole path alone.
class OwnersAnchor {
 public:
  explicit OwnersAnchor(const RegPlace& place) : place_(place) {}
  // The kept key; nullptr until NewOwners has been seen.
  const Registry* key() const { return key_ && key_->isOpen() ? key_.get() : nullptr; }
  // After an open by the whole path: it names a profile's key, so NewOwners is
  // there now; the kept key may have been removed and made again since.
  void renew() {
    key_ = std::make_unique<Registry>(place_);
    if (!key_->openKeyReadOnly(kOwnersPath)) key_.reset();
  }

 private:
  RegPlace place_;
  std::unique_ptr<Registry> key_;
};

OwnersAnchor& anchorOf(const RegPlace& place) {
  static std::map<std::pair<int, std::string>, std::unique_ptr<OwnersAnchor>> anchors;
  std::unique_ptr<OwnersAnchor>& a = anchors[{static_cast<int>(place.root), place.base}];
  if (!a) a = std::make_unique<OwnersAnchor>(place);
  return *a;
}

enum class OpenMode { ReadOnly, ReadWrite, Create };

// Opens the profile key at path (absolute, below NewOwners: below is its part
// after "NewOwners\"), as Registry's openKeyReadOnly / openKey(path, create)
// would, found from the kept NewOwners key where that works.
bool openProfileKey(Registry& reg, const RegPlace& place, const std::string& path, const std::string& below,
                    OpenMode mode) {
  OwnersAnchor& anchor = anchorOf(place);
  if (const Registry* owners = anchor.key()) {
    // Creating only from the whole path: what has to be made is made as ever.
    const bool found = mode == OpenMode::ReadOnly ? reg.openSubKeyReadOnly(*owners, below) : reg.openSubKey(*owners, below);
    if (found) return true;
  }
  const bool opened = mode == OpenMode::ReadOnly ? reg.openKeyReadOnly(path) : reg.openKey(path, mode == OpenMode::Create);
  // Where the whole path opens what the kept key did not find, that key is gone.
  if (opened) anchor.renew();
  return opened;
}

// The part of a profile key's path after "...\NewOwners\" ("" when it is not below NewOwners).
std::string belowOwners(const std::string& path) {
  const std::size_t n = std::char_traits<char>::length(kOwnersPath);
  if (path.size() <= n + 1 || path[n] != '\\') return std::string();
  for (std::size_t i = 0; i < n; ++i) {
    const char a = path[i], b = kOwnersPath[i];
    const char la = a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a;
    const char lb = b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b;
    if (la != lb) return std::string();
  }
  std::string below = path.substr(n + 1);
  // Only a plain path of names: an empty one is left to the registry's reading of the whole path.
  if (below[0] == '\\' || below.find("\\\\") != std::string::npos) return std::string();
  return below;
}

// Registry's open of a profile key: from the kept NewOwners key where the path lies below it.
bool openIcqKey(Registry& reg, const RegPlace& place, const std::string& path, OpenMode mode) {
  const std::string below = belowOwners(path);
  if (place.root == RegRoot::MachineVirtualStore || below.empty())
    return mode == OpenMode::ReadOnly ? reg.openKeyReadOnly(path) : reg.openKey(path, mode == OpenMode::Create);
  return openProfileKey(reg, place, path, below, mode);
}

// A stored text as shown: up to its first NUL, the letters converted; the
// conversion is skipped when no letter's UTF-8 form (all begin with C3) is there.
std::string storedText(const std::vector<std::uint8_t>& data) {
  std::size_t end = 0;
  bool letters = false;
  for (; end < data.size() && data[end] != 0; ++end) letters = letters || data[end] == 0xC3;
  std::string text(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(end));
  return letters ? fromUtf8Form(text) : text;
}

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
  if (value.type == RegType::String) return storedText(value.data);
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
  const RegValueData on = reg.readValue(kOn, 16);
  e.state = on.type == RegType::DWord ? dwordOf(on.data) : 2;
  e.title = readEntryText(reg, kName, false);
  e.message = readEntryText(reg, kDescription, true);
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
  explicit IcqMachineKey(const IcqRoots& roots)
      : global_(roots.machine), copy_(roots.machineStore), globalPlace_(roots.machine) {}
  // For reading: the global key and its virtual copy, each where it opens.
  // false when neither opens.
  bool openReadOnly(const std::string& path) {
    const bool global = openIcqKey(global_, globalPlace_, path, OpenMode::ReadOnly);
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
    if (openIcqKey(global_, globalPlace_, path, OpenMode::Create)) return writeTo(global_);
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
  Registry global_;
  Registry copy_;
  RegPlace globalPlace_;
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
  return storedText(value.data);
}

}  // namespace

ProfileListing listProfiles(const IcqRoots& roots) {
  ProfileListing out;
  Registry owners(roots.user);
  if (!owners.openKey(kOwnersPath, true)) return out;
  out.allKeys = owners.getKeyNames();
  for (const std::string& uin : out.allKeys) {
    Registry reg(roots.user);
    if (!reg.openSubKeyReadOnly(owners, uin)) continue;
    const std::string name = reg.readString(kName);
    out.listedKeys.push_back(uin);
    out.listedTexts.push_back(name + " (" + uin + ")");
  }
  return out;
}

std::vector<std::string> readProfileKeyList(const IcqRoots& roots) {
  Registry owners(roots.user);
  std::vector<std::string> listed;
  if (!owners.openKey(kOwnersPath, true)) return listed;
  // Only the profiles whose key opens are listed in the profile box, so only
  // those count for turning a position of the box into a profile number.
  for (const std::string& name : owners.getKeyNames()) {
    Registry probe(roots.user);
    if (probe.openSubKeyReadOnly(owners, name)) listed.push_back(name);
  }
  return listed;
}

long long readLastOwner(const IcqRoots& roots) {
  Registry reg(roots.user);
  if (!reg.openKeyReadOnly(kOwnersPath)) return 0;
  // Type and data with one query; a missing value is no profile.
  const RegValueData value = reg.readValue(kLastOwner, 16);
  if (!value.exists) return 0;
  // As Registry::readInteger: a REG_DWORD of four bytes.
  if (value.type != RegType::DWord) throw VakError(errInvalidType(kLastOwner));
  if (value.data.size() != 4) throw VakError(errGetData(kLastOwner));
  const std::uint32_t v = static_cast<std::uint32_t>(dwordOf(value.data));
  return v <= 0x7FFFFFFFu ? static_cast<long long>(v) : static_cast<long long>(v) - 0x100000000LL;
}

std::string statusListPath(const std::string& uin) { return profilePath(uin, kCustomStatusList) + "\\"; }

StoredStatusList readStatusList(const std::string& listPath, const IcqRoots& roots) {
  StoredStatusList out{};  // every entry as a missing key
  // The entry keys are opened from the list key: one step each instead of
  // the whole path.
  Registry list(roots.user);
  const bool listOpen = openIcqKey(list, roots.user, listPath, OpenMode::ReadOnly);
  if (!listOpen && list.notFound()) return out;  // no list, no entries
  for (int n = 1; n <= kEntryCount; ++n) {
    Registry reg(roots.user);
    // A list key that may not be read can still hold entry keys that may.
    const bool open =
        listOpen ? reg.openSubKeyReadOnly(list, intToStr(n)) : reg.openKeyReadOnly(listPath + intToStr(n));
    if (open) out[static_cast<std::size_t>(n - 1)] = readEntry(reg);
  }
  return out;
}

bool readBirthday(const std::string& uin, bool& on, std::string& daysText, const IcqRoots& roots) {
  IcqMachineKey reg(roots);
  if (!reg.openReadOnly(icqLitePath(uin))) return false;
  if (reg.readString(kRemindBirthday) == kYes) {
    // The box is ticked before the days are read: a bad days value leaves it ticked.
    on = true;
    daysText = intToStr(reg.readInteger(kRemindBirthdayDaysBefore));
  } else {
    on = false;
    daysText = "2";
  }
  return true;
}

bool writeBirthday(const std::string& uin, bool on, const std::string& daysText, const IcqRoots& roots) {
  requireProfile(uin);
  IcqMachineKey lite(roots);
  if (!lite.openForWriting(icqLitePath(uin))) return false;
  Registry& reg = lite.target();
  if (on) {
    reg.writeString(kRemindBirthday, kYes);
    reg.writeInteger(kRemindBirthdayDaysBefore, strToInt(daysText));
  } else {
    reg.writeString(kRemindBirthday, kNo);
  }
  return true;
}

bool readAwayTexts(const std::string& uin, std::string& away, std::string& na, const IcqRoots& roots) {
  IcqMachineKey reg(roots);
  if (!reg.openReadOnly(icqLitePath(uin))) return false;
  away = readAwayText(reg.holderOf(kAwayStatusText), kAwayStatusText);
  na = readAwayText(reg.holderOf(kNAStatusText), kNAStatusText);
  return true;
}

std::optional<bool> readSoundOn(const std::string& uin, const IcqRoots& roots) {
  Registry reg(roots.user);
  if (!openIcqKey(reg, roots.user, commonPrefsPath(uin), OpenMode::ReadOnly)) return std::nullopt;
  return reg.readString(kAllResponsePlay) == kYes;
}

std::string readSoundFolder(const std::string& uin, const IcqRoots& roots) {
  IcqMachineKey reg(roots);
  if (!reg.openReadOnly(icqLitePath(uin))) return std::string();
  return reg.readString(kSoundFilePath);
}

std::string readSmileyFolder(const std::string& uin, const IcqRoots& roots) {
  IcqMachineKey reg(roots);
  if (!reg.openReadOnly(icqLitePath(uin))) return std::string();
  return reg.readString(kSmileyFilePath);
}

bool writeSmileyFolder(const std::string& uin, const std::string& folder, const IcqRoots& roots) {
  requireProfile(uin);
  IcqMachineKey lite(roots);
  if (!lite.openForWriting(icqLitePath(uin))) return false;
  lite.target().writeString(kSmileyFilePath, folder);
  return true;
}

void writeMultiInstance(bool on, const IcqRoots& roots) {
  IcqMachineKey prefs(roots);
  if (!prefs.openForWriting(kDefaultPrefsPath)) return;
  prefs.target().writeString(kMultiInstance, on ? kYes : kNo);
}

void deleteProfile(const std::string& uin, const IcqRoots& roots) {
  // Never the NewOwners key itself or a key below another profile.
  if (uin.empty() || uin.find('\\') != std::string::npos) return;
  const std::string path = profilePath(uin, "");
  Registry::deleteKeyTree(roots.user, path);
  Registry::deleteKeyTree(roots.machine, path);
  // ICQ's copies of the profile's machine-wide keys: ICQ would still see them.
  Registry::deleteKeyTree(roots.machineStore, path);
}

StatusWriteReport writeStatusSet(const std::string& uin, StatusModel& m, const IcqRoots& roots) {
  requireProfile(uin);
  StatusWriteReport report;
  for (int n = 1; n <= kEntryCount; ++n) m.stateOf(n) = m.entry(n).active ? 1 : 0;
  const std::string listPath = statusListPath(uin);
  for (int n = 1; n <= kEntryCount; ++n) {
    Registry reg(roots.user);
    try {
      if (!reg.openKey(listPath + intToStr(n), true)) {
        report.failedEntries.push_back(n);
        continue;
      }
      reg.writeInteger(kLineNumber, n);
      reg.writeInteger(kOn, m.stateOf(n) == 1 ? 1 : 0);
      const StatusEntry& e = m.entry(n);
      reg.writeString(kName, toUtf8Form(e.title));
      reg.writeString(kDescription, toUtf8Form(e.message));
    } catch (const VakError&) {
      report.failedEntries.push_back(n);
    }
  }
  IcqMachineKey lite(roots);
  try {
    if (!lite.openForWriting(icqLitePath(uin))) {
      report.awayFailed = true;
      report.awayDenied = lite.accessDenied();
      return report;
    }
    lite.target().writeBinary(kAwayStatusText, awayTextToBinary(m.away));
    lite.target().writeBinary(kNAStatusText, awayTextToBinary(m.na));
  } catch (const VakError&) {
    report.awayFailed = true;
  }
  return report;
}

DefaultPrefs readDefaultPrefs(const IcqRoots& roots) {
  DefaultPrefs out;
  IcqMachineKey reg(roots);
  if (!reg.openReadOnly(kDefaultPrefsPath)) return out;
  out.opened = true;
  out.multiInstance = reg.readString(kMultiInstance);
  out.liteVersion = reg.readString(kLiteVersion);
  return out;
}

}  // namespace vak
