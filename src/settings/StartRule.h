#pragma once
// Which profile the program starts with (OS-free).
#include <string>
#include <vector>

namespace vak {

struct StartSettings {
  bool savedOnce = false;      // ICQStatFile/#01
  std::string savedNumber;     // Einstellungen/#01
  bool useDefault = true;      // Einstellungen/#02, "Standardnummer verwenden"
};

// The saved number counts only when the settings were saved once, it is not
// empty and "Standardnummer verwenden" is off; otherwise ICQ's LastOwner.
// Never empty: "0" when ICQ has no LastOwner.
std::string chooseStartNumber(const StartSettings& s, long long lastOwner);

struct StartProfile {
  std::string number;  // the profile read at start
  int position = -1;   // its position in the profile key list, -1: none listed
};

// Resolves the start number against the listed profiles. A number that names
// no listed profile falls back to the first listed one, so that the profile
// list, the current profile number and the tables show the same profile. With
// no profile listed the number stays and nothing is selected.
StartProfile resolveStartProfile(const std::string& startNumber, const std::vector<std::string>& listed);

}  // namespace vak
