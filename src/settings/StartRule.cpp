#include "settings/StartRule.h"

namespace vak {

std::string chooseStartNumber(const StartSettings& s, long long lastOwner) {
  if (s.savedOnce && !s.savedNumber.empty() && !s.useDefault) return s.savedNumber;
  return std::to_string(lastOwner);
}

StartProfile resolveStartProfile(const std::string& startNumber, const std::vector<std::string>& listed) {
  for (std::size_t i = 0; i < listed.size(); ++i) {
    if (listed[i] == startNumber) return StartProfile{startNumber, static_cast<int>(i)};
  }
  if (!listed.empty()) return StartProfile{listed.front(), 0};
  return StartProfile{startNumber, -1};
}

}  // namespace vak
