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


}  // namespace vaktest
