#pragma once
// ICQ's registry keys and value names, in one place: the registry layer reads
// and writes them, the messages that name a key spell them from here.
// Paths are absolute below a root, as Registry takes them.
#include <string>

namespace vak {
namespace icq {

// HKEY_CURRENT_USER (and HKEY_LOCAL_MACHINE) \Software\Mirabilis\ICQ\NewOwners:
// one subkey per profile, named by its number.
inline constexpr const char* kOwnersPath = "\\Software\\Mirabilis\\ICQ\\NewOwners";
// The same keys in ICQ's own spelling, as ICQ opens and creates the per-profile
// keys it keeps in HKLM and CommonPrefs and its DefaultPrefs.
inline constexpr const char* kIcqOwnersPath = "\\software\\mirabilis\\icq\\NewOwners";
inline constexpr const char* kDefaultPrefsPath = "\\software\\mirabilis\\icq\\DefaultPrefs";

// Subkeys of a profile's key.
inline constexpr const char* kCustomStatusList = "CustomStatusList";  // HKCU: entry keys "1" to "32"
inline constexpr const char* kIcqLite = "ICQLite";                    // HKLM
inline constexpr const char* kCommonPrefs = "CommonPrefs";            // HKCU

// Values of NewOwners.
inline constexpr const char* kLastOwner = "LastOwner";
// Values of a profile's key and of its status entries.
inline constexpr const char* kName = "Name";
inline constexpr const char* kDescription = "Description";
inline constexpr const char* kOn = "On";
inline constexpr const char* kLineNumber = "LineNumber";
// Values of ICQLite.
inline constexpr const char* kRemindBirthday = "RemindBirthday";
inline constexpr const char* kRemindBirthdayDaysBefore = "RemindBirthdayDaysBefore";
inline constexpr const char* kAwayStatusText = "AwayStatusText";
inline constexpr const char* kNAStatusText = "NAStatusText";
inline constexpr const char* kSoundFilePath = "SoundFilePath";
inline constexpr const char* kSmileyFilePath = "SmileyFilePath";
// Values of CommonPrefs.
inline constexpr const char* kAllResponsePlay = "AllResponsePlay";
// Values of DefaultPrefs.
inline constexpr const char* kMultiInstance = "MultiInstance";
inline constexpr const char* kLiteVersion = "ICQLite Version";

// ICQ's switches.
inline constexpr const char* kYes = "Yes";
inline constexpr const char* kNo = "No";

// Root names as messages show them.
inline constexpr const char* kUserRootName = "HKEY_CURRENT_USER";
inline constexpr const char* kMachineRootName = "HKEY_LOCAL_MACHINE";

// A profile's key (subkey "" for the profile key itself) as absolute path below a root.
inline std::string profilePath(const std::string& uin, const char* subkey) {
  std::string path = std::string(kOwnersPath) + "\\" + uin;
  if (*subkey) path += std::string("\\") + subkey;
  return path;
}
// The same in ICQ's own spelling, with the trailing "\" ICQ gives it.
inline std::string icqProfilePath(const std::string& uin, const char* subkey) {
  return std::string(kIcqOwnersPath) + "\\" + uin + "\\" + subkey + "\\";
}
// A profile's key as messages name it: "HKEY_LOCAL_MACHINE\Software\Mirabilis\ICQ\NewOwners\{uin}\ICQLite".
inline std::string profileKeyText(const char* rootName, const std::string& uin, const char* subkey) {
  return rootName + profilePath(uin, subkey);
}

}  // namespace icq
}  // namespace vak
