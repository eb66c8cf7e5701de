#include "status/StatusFile.h"

#include <vector>

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Ini.h"
#include "platform/Path.h"
#include "platform/Text.h"
#include "status/LineCodec.h"

namespace vak {

namespace {

const char* const kHeader = "Statusdatei";
// Default that no stored value can equal: tells a missing key from an empty one.
const char* const kAbsent = "\x01";

bool hasKey(const IniFile& ini, const std::string& section, const std::string& key) {
  return ini.readString(section, key, kAbsent) != kAbsent;
}

// Where a reader finds a text: the key it takes and the value it must get there.
struct StoredText {
  std::string section, key, value;
};

// A title or message under key; texts a plain line cannot hold exactly also
// get their escaped form under key + "x", a stale escaped form goes.
StoredText writeText(IniFile& ini, const std::string& section, const std::string& key, const std::string& text) {
  const std::string xkey = escapedKey(key);
  if (needsEscapedForm(text)) {
    ini.writeString(section, key, plainForm(text));
    StoredText stored{section, xkey, escapeValue(text)};
    ini.writeString(section, xkey, stored.value);
    return stored;
  }
  ini.writeString(section, key, text);
  if (hasKey(ini, section, xkey)) {
    ini.deleteKey(section, xkey);
    // A stale escaped form would come back instead of the text.
    if (hasKey(ini, section, xkey)) return {section, xkey, kAbsent};
  }
  return {section, key, text};
}

std::string readText(const IniFile& ini, const std::string& section, const std::string& key) {
  const std::string escaped = ini.readString(section, escapedKey(key), kAbsent);
  if (escaped != kAbsent) return unescapeValue(escaped);
  return ini.readString(section, key, "");
}

}  // namespace

void saveStatusFile(const std::string& path, const StatusModel& m) { saveStatusFile(path, m, path); }

void saveStatusFile(const std::string& path, const StatusModel& m, const std::string& shownPath) {
  IniFile ini(path, shownPath);
  ini.writeInteger(kHeader, "#01", 1);
  std::vector<StoredText> texts;
  texts.reserve(2 * kEntryCount);
  for (int n = 1; n <= kEntryCount; ++n) {
    const std::string section = intToStr(n);
    texts.push_back(writeText(ini, section, "a", m.entry(n).title));
    texts.push_back(writeText(ini, section, "b", m.entry(n).message));
    ini.writeInteger(section, "c", m.stateOf(n));
  }
  // Read back once all is written (every write rewrites the file): a text the
  // file does not give back whole, say after a write cut short without an
  // error, must not pass for saved.
  for (const StoredText& t : texts)
    if (ini.readString(t.section, t.key, kAbsent) != t.value)
      throw VakError(T("In ") + pathToText(shownPath) + T(" kann Eintrag ") + t.section +
                     T(" nicht vollständig gespeichert werden"));
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
