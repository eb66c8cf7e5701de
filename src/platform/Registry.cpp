#include "platform/Registry.h"

#include <windows.h>

#include "platform/Errors.h"

namespace vak {
namespace {

HKEY rootKey(RegRoot root) { return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// ICQ Lite is a 32-bit program: always its view of HKLM\Software. The virtual
// store lies where the system keeps it in the user's hive, the native view
// (since Windows 7 HKCU\Software\Classes is one key for both views anyway).
REGSAM viewOf(RegRoot root) { return root == RegRoot::MachineVirtualStore ? KEY_WOW64_64KEY : KEY_WOW64_32KEY; }

// "\Software\X\" -> "Software\X": the paths are absolute, the API wants them
// relative to the root.
std::string relativePath(const std::string& path) {
  std::size_t b = 0, e = path.size();
  while (b < e && path[b] == '\\') ++b;
  while (e > b && path[e - 1] == '\\') --e;
  return path.substr(b, e - b);
}

// The path below the root's key; for the virtual store "" when it holds no
// copy of that machine key. base (relative, "" for none) is put in front.
std::string keyPath(RegRoot root, const std::string& base, const std::string& path) {
  const std::string rel =
      root == RegRoot::MachineVirtualStore ? virtualStorePath(systemVirtualStore(), path) : relativePath(path);
  if (base.empty() || rel.empty()) return rel;
  return base + "\\" + rel;
}

std::optional<VirtualStoreKind>& storeOverride() {
  static std::optional<VirtualStoreKind> kind;
  return kind;
}

// A DWORD of HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\System;
// fallback when it is missing.
bool policyOn(const char* name, bool fallback) {
  // One key for 32- and 64-bit programs (Policies is shared between the views).
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return fallback;
  DWORD type = 0, value = 0, size = sizeof value;
  const LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return fallback;
  return value != 0;
}

SystemFacts systemFacts() {
  SystemFacts facts;
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  facts.wine = ntdll && GetProcAddress(ntdll, "wine_get_version");
  // RtlGetVersion tells the real version, whatever the manifest declares.
  using GetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  const auto getVersion =
      ntdll ? reinterpret_cast<GetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion"))) : nullptr;
  if (getVersion && getVersion(&version) == 0) facts.windowsMajor = version.dwMajorVersion;
  BOOL wow64 = FALSE;
  facts.windows64 = sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
  facts.uacOn = policyOn("EnableLUA", true);
  facts.virtualizationOn = policyOn("EnableVirtualization", true);
  return facts;
}

RegType typeOf(DWORD type) {
  switch (type) {
    case REG_SZ: return RegType::String;
    case REG_EXPAND_SZ: return RegType::ExpandString;
    case REG_BINARY: return RegType::Binary;
    case REG_DWORD: return RegType::DWord;
    default: return RegType::Other;
  }
}

// Type and raw data of a value; false when it is missing or unreadable.
// Most values fit the first buffer, so one call reads them (every registry
// call is a round trip to the server under Wine).
bool queryValue(HKEY key, const std::string& name, DWORD& type, std::vector<std::uint8_t>& data,
                std::size_t firstSize = 256) {
  if (!key) return false;
  data.assign(firstSize > 0 && firstSize <= MAXDWORD ? firstSize : 256, 0);
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD got = static_cast<DWORD>(data.size());
    const LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &got);
    if (rc == ERROR_SUCCESS) {
      data.resize(got);
      return true;
    }
    if (rc != ERROR_MORE_DATA) return false;
    data.assign(static_cast<std::size_t>(got) + 1, 0);  // got: the size it needs now (it may grow meanwhile)
  }
  return false;
}

// Deletes rel and everything below it, depth first.
bool deleteTree(HKEY root, const std::string& rel, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, rel.c_str(), 0, KEY_READ | view, &key) == ERROR_SUCCESS) {
    // Collect first: deleting while enumerating shifts the indexes.
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD len = sizeof name;
      if (RegEnumKeyExA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, len);
    }
    RegCloseKey(key);
    for (const std::string& n : names) deleteTree(root, rel + "\\" + n, view);
  }
  return RegDeleteKeyExA(root, rel.c_str(), view, 0) == ERROR_SUCCESS;
}

}  // namespace

VirtualStoreKind systemVirtualStore() {
  if (storeOverride()) return *storeOverride();
  static const VirtualStoreKind kind = virtualStoreOf(systemFacts());
  return kind;
}

void setSystemVirtualStore(std::optional<VirtualStoreKind> kind) { storeOverride() = kind; }

Registry::Registry(RegRoot root) : root_(root) {}

Registry::Registry(RegPlace place) : root_(place.root), base_(relativePath(place.base)) {}

Registry::~Registry() { closeKey(); }

bool Registry::openKey(const std::string& path, bool create) {
  closeKey();
  HKEY key = nullptr;
  const std::string rel = keyPath(root_, base_, path);
  if (rel.empty() && root_ == RegRoot::MachineVirtualStore) return opened(ERROR_FILE_NOT_FOUND, nullptr);
  const REGSAM access = KEY_READ | KEY_WRITE | viewOf(root_);
  LONG rc;
  if (create)
    rc = RegCreateKeyExA(rootKey(root_), rel.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                         nullptr);
  else
    rc = RegOpenKeyExA(rootKey(root_), rel.c_str(), 0, access, &key);
  return opened(rc, key);
}

bool Registry::openKeyReadOnly(const std::string& path) {
  closeKey();
  HKEY key = nullptr;
  const std::string rel = keyPath(root_, base_, path);
  if (rel.empty() && root_ == RegRoot::MachineVirtualStore) return opened(ERROR_FILE_NOT_FOUND, nullptr);
  const LONG rc = RegOpenKeyExA(rootKey(root_), rel.c_str(), 0, KEY_READ | viewOf(root_), &key);
  return opened(rc, key);
}

bool Registry::openSubKeyReadOnly(const Registry& parent, const std::string& name) {
  return openSub(parent, name, KEY_READ);
}

bool Registry::openSubKey(const Registry& parent, const std::string& name) {
  return openSub(parent, name, KEY_READ | KEY_WRITE);
}

bool Registry::openSub(const Registry& parent, const std::string& name, unsigned long access) {
  closeKey();
  const std::string rel = relativePath(name);
  if (!parent.key_ || rel.empty()) {  // no parent key; never the parent itself
    denied_ = false;
    notFound_ = true;
    return false;
  }
  HKEY key = nullptr;
  const LONG rc = RegOpenKeyExA(static_cast<HKEY>(parent.key_), rel.c_str(), 0, access | viewOf(root_), &key);
  return opened(rc, key);
}

bool Registry::opened(long rc, void* key) {
  denied_ = rc == ERROR_ACCESS_DENIED;
  notFound_ = rc == ERROR_FILE_NOT_FOUND;
  if (rc != ERROR_SUCCESS) return false;
  key_ = key;
  return true;
}

void Registry::closeKey() {
  if (key_) {
    RegCloseKey(static_cast<HKEY>(key_));
    key_ = nullptr;
  }
}

bool Registry::isOpen() const { return key_ != nullptr; }

std::vector<std::string> Registry::getKeyNames() const {
  std::vector<std::string> names;
  const HKEY key = static_cast<HKEY>(key_);
  if (!key) return names;
  // A key name has at most 255 characters: the buffer fits every name without
  // asking the key for its longest first (one round trip less under Wine).
  std::vector<char> buf(257);
  for (DWORD i = 0;; ++i) {
    DWORD len = static_cast<DWORD>(buf.size());
    const LONG rc = RegEnumKeyExA(key, i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {  // a longer name was added meanwhile
      buf.resize(buf.size() * 2 + 256);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    names.emplace_back(buf.data(), len);
  }
  return names;
}

RegValueInfo Registry::getValueInfo(const std::string& name) const {
  RegValueInfo info;
  const HKEY key = static_cast<HKEY>(key_);
  DWORD type = 0, size = 0;
  if (key && RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    info.exists = true;
    info.type = typeOf(type);
    info.size = size;
  }
  return info;
}

bool Registry::valueExists(const std::string& name) const { return getValueInfo(name).exists; }

RegValueData Registry::readValue(const std::string& name, std::size_t sizeHint) const {
  RegValueData value;
  DWORD type = 0;
  if (!queryValue(static_cast<HKEY>(key_), name, type, value.data, sizeHint)) {
    value.data.clear();
    return value;
  }
  value.exists = true;
  value.type = typeOf(type);
  return value;
}

std::string Registry::readString(const std::string& name) const {
  DWORD type = 0;
  std::vector<std::uint8_t> data;
  if (!queryValue(static_cast<HKEY>(key_), name, type, data)) return "";
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw VakError(errInvalidType(name));
  std::string s(data.begin(), data.end());
  const std::size_t nul = s.find('\0');
  if (nul != std::string::npos) s.resize(nul);
  return s;
}

std::int32_t Registry::readInteger(const std::string& name) const {
  DWORD type = 0;
  std::vector<std::uint8_t> data;
  if (!queryValue(static_cast<HKEY>(key_), name, type, data)) throw VakError(errGetData(name));
  if (type != REG_DWORD) throw VakError(errInvalidType(name));
  if (data.size() != 4) throw VakError(errGetData(name));
  const std::uint32_t v = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                          static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
  return v <= 0x7FFFFFFFu ? static_cast<std::int32_t>(v) : static_cast<std::int32_t>(v - 0x80000000u) + INT32_MIN;
}

std::vector<std::uint8_t> Registry::readBinary(const std::string& name, std::size_t maxBytes) const {
  DWORD type = 0;
  std::vector<std::uint8_t> data;
  if (!queryValue(static_cast<HKEY>(key_), name, type, data)) return {};
  if (data.size() > maxBytes) data.resize(maxBytes);
  return data;
}

namespace {
void setValue(void* key, const std::string& name, DWORD type, const void* data, std::size_t size) {
  if (!key || size > MAXDWORD ||
      RegSetValueExA(static_cast<HKEY>(key), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                     static_cast<DWORD>(size)) != ERROR_SUCCESS)
    throw VakError(errSetData(name));
}
}  // namespace

void Registry::writeString(const std::string& name, const std::string& value) {
  setValue(key_, name, REG_SZ, value.c_str(), value.size() + 1);
}

void Registry::writeInteger(const std::string& name, std::int32_t value) {
  const DWORD v = static_cast<DWORD>(value);
  setValue(key_, name, REG_DWORD, &v, sizeof v);
}

void Registry::writeBinary(const std::string& name, const std::vector<std::uint8_t>& data) {
  setValue(key_, name, REG_BINARY, data.data(), data.size());
}

bool Registry::deleteKeyTree(RegRoot root, const std::string& path) { return deleteKeyTree(RegPlace{root, ""}, path); }

bool Registry::deleteKeyTree(const RegPlace& place, const std::string& path) {
  const std::string base = relativePath(place.base);
  if (relativePath(path).empty()) return false;  // never the root (or its stand-in) itself
  const std::string rel = keyPath(place.root, base, path);
  if (rel.empty()) return false;
  return deleteTree(rootKey(place.root), rel, viewOf(place.root));
}

}  // namespace vak
