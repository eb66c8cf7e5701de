#include "platform/Ini.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Path.h"

namespace vak {
namespace {

std::string trimmed(const std::string& s) {
  const std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// The path for the ANSI private-profile functions, which keep the entries'
// bytes as they are. A path the ANSI code page cannot hold is given by its
// short name; that needs the file to exist, so a write creates it first. A
// missing file of such a path has nothing to read: nullopt.
std::optional<std::string> ansiPath(const std::string& path, bool forWrite) {
  try {
    return pathToAnsi(path);
  } catch (const VakError&) {
    // Not in the code page and no short name yet: the file may be missing.
  }
  const std::wstring wide = widePath(path);
  if (forWrite) {
    // Creates the file only when it is missing; an existing one stays untouched.
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw VakError(errIniWrite(pathToText(path)));
    CloseHandle(h);
  } else if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return std::nullopt;
  }
  return pathToAnsi(path);
}

}  // namespace

std::string IniFile::readString(const std::string& section, const std::string& key, const std::string& def) const {
  // The function cuts a value to the buffer and then returns size - 1: grow
  // until the value fits.
  const std::optional<std::string> file = ansiPath(path_, false);
  if (!file) return def;
  std::vector<char> buf(2048);
  for (;;) {
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf.data(),
                                             static_cast<DWORD>(buf.size()), file->c_str());
    if (n + 1 < buf.size() || buf.size() >= 0x40000000u) return std::string(buf.data(), n);
    buf.assign(buf.size() * 4, '\0');
  }
}

int IniFile::readInteger(const std::string& section, const std::string& key, int def) const {
  const std::optional<int> v = parseInteger(readString(section, key, ""));
  return v ? *v : def;
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool def) const {
  return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
  const std::optional<std::string> file = ansiPath(path_, true);
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file->c_str()))
    throw VakError(errIniWrite(pathToText(path_)));
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int value) {
  writeString(section, key, intToStr(value));
}

void IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

void IniFile::deleteKey(const std::string& section, const std::string& key) {
  const std::optional<std::string> file = ansiPath(path_, false);
  if (!file) return;
  // Trimmed here: Wine compares the names of a deletion with their blanks.
  WritePrivateProfileStringA(trimmed(section).c_str(), trimmed(key).c_str(), nullptr, file->c_str());
}

}  // namespace vak
