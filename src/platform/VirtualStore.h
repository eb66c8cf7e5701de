#pragma once
// Registry virtualization (Windows Vista and later, OS-free rules): a 32-bit
// interactive program without requestedExecutionLevel in a manifest, run
// without administrator rights (ICQ Lite), writes its values under
// HKEY_LOCAL_MACHINE\Software into the user's virtual store, and reads a
// merged view in which a value of the virtual store wins over the same value
// of HKEY_LOCAL_MACHINE. VAK has a manifest and is not virtualized, so it has
// to look where ICQ looks.
#include <string>

namespace vak {

// Where Windows keeps the virtual copies of ICQ's machine-wide keys, if anywhere.
enum class VirtualStoreKind {
  None,    // no virtualization: Windows XP, Wine, UAC or its virtualization switched off
  Native,  // 32-bit Windows: ...\VirtualStore\MACHINE\SOFTWARE\...
  Wow64,   // 64-bit Windows: a 32-bit program's HKLM\Software is Software\WOW6432Node, so its copies lie
           // under ...\VirtualStore\MACHINE\SOFTWARE\WOW6432Node\...
};

// What decides it, as found on the system.
struct SystemFacts {
  bool wine = false;               // Wine implements no virtualization
  unsigned windowsMajor = 0;       // 6 and later: Vista, 7, 8, 10, 11
  bool windows64 = false;          // a 64-bit Windows, whatever this build is
  bool uacOn = true;               // Policies\System EnableLUA not 0
  bool virtualizationOn = true;    // Policies\System EnableVirtualization not 0
};
VirtualStoreKind virtualStoreOf(const SystemFacts& facts);

// The path below HKEY_CURRENT_USER of the virtual copy of the machine key
// machinePath (absolute, as "\Software\Mirabilis\ICQ\DefaultPrefs"), or ""
// when Windows keeps none for it: no store, a key outside Software, or one of
// the keys Windows never virtualizes (Software\Classes,
// Software\Microsoft\Windows, Software\Microsoft\Windows NT and below).
std::string virtualStorePath(VirtualStoreKind kind, const std::string& machinePath);

}  // namespace vak
