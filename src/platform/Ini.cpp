#include "platform/Ini.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Path.h"
#include "platform/WinText.h"

namespace vak {
namespace {

std::string trimmed(const std::string& s) {
  const std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// The wide functions, because the ANSI ones of Wine crash on, cut or drop
// values of 32,767 bytes or more. They keep a file in the encoding it has:
// "If the file was created using Unicode characters, the function writes
// Unicode characters to the file. Otherwise, the function writes ANSI
// characters" (WritePrivateProfileString), and a missing file is created as
// ANSI. So the entries cross over in the ANSI code page, and the file holds
// the very bytes the ANSI functions wrote. In the Windows-1252 code page the
// program's own table does it, which gives every byte 00-FF a character of its
// own (also the five the code page leaves undefined); in another code page,
// Windows' conversion of it, as the ANSI functions used.
bool ansiIs1252() {
  static const bool is1252 = GetACP() == 1252;
  return is1252;
}

std::wstring entryText(const std::string& bytes) {
  if (ansiIs1252() || bytes.empty()) return widen(bytes);
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &out[0], n);
  return out;
}

std::string entryBytes(const wchar_t* text, std::size_t length) {
  if (ansiIs1252() || length == 0) return narrow(std::wstring(text, length));
  const int size = static_cast<int>(length);
  const int n = WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, text, size, &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace

std::string IniFile::readString(const std::string& section, const std::string& key, const std::string& def) const {
  // The function cuts a value to the buffer and then returns size - 1: grow
  // until the value fits.
  const std::wstring file = widePath(path_), wsection = entryText(section), wkey = entryText(key),
                     wdef = entryText(def);
  std::vector<wchar_t> buf(2048);
  for (;;) {
    const DWORD n = GetPrivateProfileStringW(wsection.c_str(), wkey.c_str(), wdef.c_str(), buf.data(),
                                             static_cast<DWORD>(buf.size()), file.c_str());
    if (n + 1 < buf.size() || buf.size() >= 0x10000000u) return entryBytes(buf.data(), n);
    buf.assign(buf.size() * 4, L'\0');
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
  if (!WritePrivateProfileStringW(entryText(section).c_str(), entryText(key).c_str(), entryText(value).c_str(),
                                  widePath(path_).c_str()))
    throw VakError(errIniWrite(pathToText(shownPath_)));
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int value) {
  writeString(section, key, intToStr(value));
}

void IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

void IniFile::deleteKey(const std::string& section, const std::string& key) {
  if (!fileExists(path_)) return;
  // Trimmed here: Wine compares the names of a deletion with their blanks.
  WritePrivateProfileStringW(entryText(trimmed(section)).c_str(), entryText(trimmed(key)).c_str(), nullptr,
                             widePath(path_).c_str());
}

void IniFile::flush() {
  // WritePrivateProfileString: "If all parameters are NULL, the function
  // flushes the cache." Wine then also forgets the file, so a file put in its
  // place later is read afresh.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, widePath(path_).c_str());
}

}  // namespace vak
