#pragma once
// Registry keys of one test profile, seen through Wine's reg.exe; removed
// (HKCU and HKLM) when the test starts and when it ends.
#include <optional>
#include <string>

#include "TestSupport.h"
#include "platform/Text.h"

namespace vaktest {

inline const char* const kOwnersKey = "HKCU\\Software\\Mirabilis\\ICQ\\NewOwners";

class TestProfile {
 public:
  explicit TestProfile(std::string uin) : uin_(std::move(uin)) { clean(); }
  ~TestProfile() { clean(); }
  TestProfile(const TestProfile&) = delete;
  TestProfile& operator=(const TestProfile&) = delete;

  const std::string& uin() const { return uin_; }
  std::string hkcu() const { return std::string(kOwnersKey) + "\\" + uin_; }
  std::string hklm() const { return "HKLM\\Software\\Mirabilis\\ICQ\\NewOwners\\" + uin_; }
  std::string entry(int n) const { return hkcu() + "\\CustomStatusList\\" + std::to_string(n); }
  std::string lite() const { return hklm() + "\\ICQLite"; }
  std::string commonPrefs() const { return hkcu() + "\\CommonPrefs"; }

 private:
  void clean() const {
    regDeleteKey(hkcu());
    regDeleteKey(hklm());
  }
  std::string uin_;
};

// reg.exe has no helper for removing a single value.
inline void regDeleteValue(const std::string& key, const std::string& name) {
  run("reg delete \"" + key + "\" /v \"" + name + "\" /f /reg:32");
}

// The bytes of a REG_SZ value as a program reading it through the ANSI
// functions gets them. reg query prints in the console's code page, which
// loses letters; reg export writes the exact characters (UTF-16).
inline std::optional<std::string> regExportedString(const std::string& key, const std::string& name) {
  const std::string file = freshDir("reg_export") + "\\key.reg";
  if (run("reg export \"" + key + "\" \"" + file + "\" /y /reg:32") != 0) return std::nullopt;
  const std::string raw = readFileBytes(file);
  std::u16string wide;
  for (std::size_t i = 2; i + 1 < raw.size(); i += 2)  // after the BOM
    wide += static_cast<char16_t>(static_cast<unsigned char>(raw[i]) | static_cast<unsigned char>(raw[i + 1]) << 8);
  const std::string text = vak::utf16ToCp1252(wide);
  const std::string head = "\n\"" + name + "\"=\"";
  const std::size_t at = text.find(head);
  if (at == std::string::npos) return std::nullopt;
  std::string value;
  for (std::size_t i = at + head.size(); i < text.size() && text[i] != '"'; ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char c = text[++i];
      value += c == 'n' ? '\n' : c == 'r' ? '\r' : c == '0' ? '\0' : c;  // export's escapes
      continue;
    }
    value += text[i];
  }
  return value;
}

}  // namespace vaktest
