#include "platform/Registry.h"
#include "status/IcqRegistry.h"

namespace vak {

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

}  // namespace vak
