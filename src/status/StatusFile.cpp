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

// Where a reader finds a text: the key it takes and the value it must get
// there, and a stale escaped form that must be gone.
struct StoredText {
  std::string section, key, value, gone;
};

// The writes of a title or message under key; texts a plain line cannot hold
// exactly also get their escaped form under key + "x", a stale escaped form goes.
StoredText writeText(std::vector<IniEntry>& writes, const std::string& section, const std::string& key,
                     const std::string& text) {
  const std::string xkey = escapedKey(key);
  if (needsEscapedForm(text)) {
    writes.push_back({section, key, plainForm(text)});
    writes.push_back({section, xkey, escapeValue(text)});
    return {section, xkey, escapeValue(text), ""};
  }
  writes.push_back({section, key, text});
  writes.push_back({section, xkey, std::nullopt});
  return {section, key, text, xkey};
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
  std::vector<IniEntry> writes{{kHeader, "#01", "1"}};
  std::vector<StoredText> texts;
  texts.reserve(2 * kEntryCount);
  for (int n = 1; n <= kEntryCount; ++n) {
    const std::string section = intToStr(n);
    texts.push_back(writeText(writes, section, "a", m.entry(n).title));
    texts.push_back(writeText(writes, section, "b", m.entry(n).message));
    writes.push_back({section, "c", intToStr(m.stateOf(n))});
  }
  // In one go: key by key, every write rewrites the whole file.
  ini.writeAll(writes);
  // Read back once all is written: a text the file does not give back whole,
  // say after a write cut short without an error, must not pass for saved;
  // nor may a stale escaped form, which a reader would take instead.
  for (const StoredText& t : texts)
    if (ini.readString(t.section, t.key, kAbsent) != t.value || (!t.gone.empty() && hasKey(ini, t.section, t.gone)))
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
