#include "platform/Ini.h"

#include <windows.h>

#include <vector>

#include "platform/Convert.h"
#include "platform/Errors.h"

namespace vak {
namespace {

std::string trimmed(const std::string& s) {
  const std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

std::string IniFile::readString(const std::string& section, const std::string& key, const std::string& def) const {
  // The function cuts a value to the buffer and then returns size - 1: grow
  // until the value fits.
  std::vector<char> buf(2048);
  for (;;) {
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf.data(),
                                             static_cast<DWORD>(buf.size()), path_.c_str());
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
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
    throw VakError(errIniWrite(path_));
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int value) {
  writeString(section, key, intToStr(value));
}

void IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

void IniFile::deleteKey(const std::string& section, const std::string& key) {
  // Trimmed here: Wine compares the names of a deletion with their blanks.
  WritePrivateProfileStringA(trimmed(section).c_str(), trimmed(key).c_str(), nullptr, path_.c_str());
}

}  // namespace vak
