#pragma once
// ICQ's registry data: profiles, status list, away texts, profile options.
// Every function creates its own accessor, opens what it needs and releases it
// (only the NewOwners keys stay open, to find the profiles' keys from; see the .cpp).
// ICQ's values under HKLM are read and written where ICQ itself sees them: on
// Windows Vista and later a value of the user's virtual store wins over the
// machine's (value by value), and writes follow (see IcqMachineKey in the .cpp).
// Errors of unexpected value types are thrown as VakError with the registry
// layer's texts.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "status/StatusModel.h"
#include "status/WriteReport.h"

namespace vak {

// "\Software\Mirabilis\ICQ\NewOwners" (IcqKeys.h has all of ICQ's keys)
extern const char* const kNewOwnersPath;

// Where ICQ's data lies: its HKEY_CURRENT_USER, its HKEY_LOCAL_MACHINE and the
// user's virtual store of HKEY_LOCAL_MACHINE. Every function takes them; the
// default is the real roots. The rules of the virtual store (which machine
// keys have copies, how they are named) hold for a stand-in store as well.
struct IcqRoots {
  RegPlace user{RegRoot::CurrentUser, ""};
  RegPlace machine{RegRoot::LocalMachine, ""};
  RegPlace machineStore{RegRoot::MachineVirtualStore, ""};
};
const IcqRoots& realIcqRoots();
// Stand-ins below HKEY_CURRENT_USER's key base (absolute, as
// "\Software\VakTest"): base\User, base\Machine and base\Store.
IcqRoots icqRootsBelow(const std::string& base);

struct ProfileListing {
  std::vector<std::string> allKeys;      // every subkey name of HKCU NewOwners, registry order
  std::vector<std::string> listedKeys;   // the names whose key opened (the profile key list)
  std::vector<std::string> listedTexts;  // "{Name} ({UIN})" for each listed key
};

// HKCU NewOwners (created if missing): every subkey; those that open read-only
// are listed with their Name. A Name that is not a string throws.
ProfileListing listProfiles(const IcqRoots& roots = realIcqRoots());

// HKCU NewOwners LastOwner as a number; 0 when the key or value is missing.
// A LastOwner of another type throws "Ungültiger Datentyp für 'LastOwner'".
long long readLastOwner(const IcqRoots& roots = realIcqRoots());

// The profile key list: subkey names of HKCU NewOwners (created if missing)
// whose key opens read-only, in registry order. Positions in the profile box
// are positions in this list.
std::vector<std::string> readProfileKeyList(const IcqRoots& roots = realIcqRoots());

// "\Software\Mirabilis\ICQ\NewOwners\{uin}\CustomStatusList\"
std::string statusListPath(const std::string& uin);

// One entry of a status list as stored: its slot of the entry state list
// (0: no key, On if REG_DWORD, else 2), its title and its message (both
// empty when the key is missing).
struct StoredEntry {
  int state = 0;
  std::string title;
  std::string message;
};
using StoredStatusList = std::array<StoredEntry, kEntryCount>;
// Every entry of the status list, each entry key opened once for all its
// values. No stored entry can make this fail.
StoredStatusList readStatusList(const std::string& listPath, const IcqRoots& roots = realIcqRoots());

// The profile's HKLM ICQLite key: RemindBirthday/-DaysBefore. false (and
// nothing changed) when the key does not open; otherwise on/daysText as shown
// (false and "2" unless RemindBirthday is "Yes"). Throws the registry errors;
// on is already true when RemindBirthdayDaysBefore fails.
bool readBirthday(const std::string& uin, bool& on, std::string& daysText,
                  const IcqRoots& roots = realIcqRoots());
// GebBoxClick's write: creates the key; "Yes" and StrToInt(daysText) as DWORD,
// or "No". false (nothing written) when the key cannot be created or opened for
// writing. A non-number throws after "Yes" was written.
[[nodiscard]] bool writeBirthday(const std::string& uin, bool on, const std::string& daysText,
                                 const IcqRoots& roots = realIcqRoots());
// AwayStatusText / NAStatusText; false (nothing changed) when the ICQLite key does not open.
bool readAwayTexts(const std::string& uin, std::string& away, std::string& na,
                   const IcqRoots& roots = realIcqRoots());
// HKCU CommonPrefs AllResponsePlay == "Yes"; nullopt when the key does not open.
std::optional<bool> readSoundOn(const std::string& uin, const IcqRoots& roots = realIcqRoots());

// HKLM ICQLite SoundFilePath: the folder of ICQ's sound files as stored
// (ANSI); "" when the key or the value is missing.
std::string readSoundFolder(const std::string& uin, const IcqRoots& roots = realIcqRoots());
// HKLM ICQLite SmileyFilePath, the folder ICQ reads its smileys from, the same way.
std::string readSmileyFolder(const std::string& uin, const IcqRoots& roots = realIcqRoots());
// SmileyFilePath := folder (ANSI), creating the key; false (nothing written)
// when the key can be neither created nor opened for writing.
[[nodiscard]] bool writeSmileyFolder(const std::string& uin, const std::string& folder,
                                     const IcqRoots& roots = realIcqRoots());

// HKLM DefaultPrefs MultiInstance := "Yes"/"No", creating the key; nothing
// when it cannot be created.
void writeMultiInstance(bool on, const IcqRoots& roots = realIcqRoots());

// Removes the profile's key with all its subkeys, under HKCU, HKLM and in
// ICQ's virtual store; a key missing anywhere is passed over.
void deleteProfile(const std::string& uin, const IcqRoots& roots = realIcqRoots());

// Writes all 32 entries of profile uin from the model (state list := active ?
// 1 : 0 first), then the away and not-available texts. An entry or the away
// texts that the registry refuses are skipped and reported; the rest is still
// written. An empty uin throws before anything is written.
StatusWriteReport writeStatusSet(const std::string& uin, StatusModel& m, const IcqRoots& roots = realIcqRoots());

// HKLM \software\mirabilis\icq\DefaultPrefs: whether it opened, MultiInstance
// and "ICQLite Version" as strings ("" when missing).
struct DefaultPrefs {
  bool opened = false;
  std::string multiInstance;
  std::string liteVersion;
};
DefaultPrefs readDefaultPrefs(const IcqRoots& roots = realIcqRoots());

}  // namespace vak
