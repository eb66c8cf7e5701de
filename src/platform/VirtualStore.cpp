#include "platform/VirtualStore.h"

#include <vector>

namespace vak {

namespace {

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The names of a path's keys, without empty ones ("\a\\b\" -> a, b).
std::vector<std::string> keyNames(const std::string& path) {
  std::vector<std::string> names;
  std::string name;
  for (char c : path) {
    if (c != '\\') {
      name += c;
    } else if (!name.empty()) {
      names.push_back(name);
      name.clear();
    }
  }
  if (!name.empty()) names.push_back(name);
  return names;
}

}  // namespace

VirtualStoreKind virtualStoreOf(const SystemFacts& facts) {
  // "Registry virtualization ... is supported starting with Windows Vista";
  // it needs UAC, and the policy "Virtualize file and registry write failures
  // to per-user locations" (on unless switched off).
  if (facts.wine || facts.windowsMajor < 6 || !facts.uacOn || !facts.virtualizationOn) return VirtualStoreKind::None;
  return facts.windows64 ? VirtualStoreKind::Wow64 : VirtualStoreKind::Native;
}

std::string virtualStorePath(VirtualStoreKind kind, const std::string& machinePath) {
  if (kind == VirtualStoreKind::None) return std::string();
  const std::vector<std::string> names = keyNames(machinePath);
  // Only keys below HKLM\Software, never the store's root itself.
  if (names.size() < 2 || lower(names[0]) != "software") return std::string();
  // "Registry virtualization is disabled for ... keys and subkeys of
  // HKEY_LOCAL_MACHINE\Software\Classes, ...\Software\Microsoft\Windows, and
  // ...\Software\Microsoft\Windows NT."
  const std::string first = lower(names[1]);
  const std::string second = names.size() > 2 ? lower(names[2]) : std::string();
  if (first == "classes" || (first == "microsoft" && (second == "windows" || second == "windows nt")))
    return std::string();
  std::string path = kind == VirtualStoreKind::Wow64 ? "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node"
                                                     : "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE";
  for (std::size_t i = 1; i < names.size(); ++i) path += "\\" + names[i];
  return path;
}

}  // namespace vak
