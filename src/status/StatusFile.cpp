#include "status/StatusFile.h"

#include "platform/Convert.h"
#include "platform/Ini.h"
#include "status/LineCodec.h"

namespace vak {

namespace {

const char* const kHeader = "Statusdatei";
// Default that no stored value can equal: tells a missing key from an empty one.
const char* const kAbsent = "\x01";

bool hasKey(const IniFile& ini, const std::string& section, const std::string& key) {
  return ini.readString(section, key, kAbsent) != kAbsent;
}

// A title or message under key; texts a plain line cannot hold exactly also
// get their escaped form under key + "x", a stale escaped form goes.
void writeText(IniFile& ini, const std::string& section, const std::string& key, const std::string& text) {
  const std::string xkey = escapedKey(key);
  if (needsEscapedForm(text)) {
    ini.writeString(section, key, plainForm(text));
    ini.writeString(section, xkey, escapeValue(text));
  } else {
    ini.writeString(section, key, text);
    if (hasKey(ini, section, xkey)) ini.deleteKey(section, xkey);
  }
}

std::string readText(const IniFile& ini, const std::string& section, const std::string& key) {
  const std::string escaped = ini.readString(section, escapedKey(key), kAbsent);
  if (escaped != kAbsent) return unescapeValue(escaped);
  return ini.readString(section, key, "");
}

}  // namespace

void saveStatusFile(const std::string& path, const StatusModel& m) {
  IniFile ini(path);
  ini.writeInteger(kHeader, "#01", 1);
  for (int n = 1; n <= kEntryCount; ++n) {
    const std::string section = intToStr(n);
    writeText(ini, section, "a", m.entry(n).title);
    writeText(ini, section, "b", m.entry(n).message);
    ini.writeInteger(section, "c", m.stateOf(n));
  }
}

LoadResult loadStatusFile(const std::string& path, StatusModel& m) {
  if (path.empty()) return LoadResult::NotAStatusFile;
  const IniFile ini(path);
  if (ini.readInteger(kHeader, "#01 ", 0) != 1) return LoadResult::NotAStatusFile;
  for (int n = 1; n <= kEntryCount; ++n) {
    const std::string section = intToStr(n);
    StatusEntry& e = m.entry(n);
    e.title = readText(ini, section, "a");
    e.message = readText(ini, section, "b");
    e.active = ini.readInteger(section, "c", 0) == 1;
  }
  return LoadResult::Loaded;
}

}  // namespace vak
