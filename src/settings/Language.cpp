#include "settings/Language.h"

#include "platform/Files.h"
#include "platform/Ini.h"

namespace vak {

void FindLanguageFiles(const std::string& folder, const std::string& mask, std::vector<std::string>& list,
                       bool clearFirst) {
  if (clearFirst) list.clear();
  if (folder.empty()) return;
  std::string dir = folder;
  if (dir.back() != '\\') dir += '\\';
  const std::vector<std::string> names = findFiles(dir, mask);
  if (names.empty()) return;
  list.push_back("deutsch");
  for (const std::string& name : names) {
    const std::string display = IniFile(dir + name).readString("Info", "#02", "");
    if (!display.empty()) list.push_back(display);
  }
}

}  // namespace vak
