#pragma once
// Registry accessor: one object per operation, an explicit root, absolute key
// paths with a leading "\". Always the 32-bit view (KEY_WOW64_32KEY): ICQ Lite
// is a 32-bit program and our 64-bit exe must see exactly its keys.
// Strings go through the ANSI functions, as ICQ's own, so their bytes are the
// bytes ICQ reads and writes.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/VirtualStore.h"

namespace vak {

enum class RegRoot {
  CurrentUser,
  LocalMachine,
  // The user's virtual copies of HKEY_LOCAL_MACHINE's keys as Windows keeps
  // them for a virtualized 32-bit program (ICQ), addressed with the machine
  // key's path ("\Software\Mirabilis\..."). Where the system keeps none
  // (systemVirtualStore() None) or never virtualizes the key, every key is
  // missing and none can be created.
  MachineVirtualStore,
};

// Where a Registry's paths lead: a root and the key that stands in for the
// root's top ("" for the root itself, else absolute, as "\Software\VakTest\HKLM",
// below HKEY_CURRENT_USER for the virtual store). Tests point ICQ's data at
// scratch keys this way; the program uses the roots themselves.
struct RegPlace {
  RegRoot root = RegRoot::CurrentUser;
  std::string base;
};

// The system's virtual store, found once: none on Windows XP and under Wine.
VirtualStoreKind systemVirtualStore();
// For tests: the kind the system is taken to have; nullopt finds it again.
void setSystemVirtualStore(std::optional<VirtualStoreKind> kind);

enum class RegType { None, String, ExpandString, Binary, DWord, Other };

struct RegValueInfo {
  bool exists = false;
  RegType type = RegType::None;
  std::uint32_t size = 0;  // bytes of data (for strings: including the NUL as stored)
};

struct RegValueData {
  bool exists = false;
  RegType type = RegType::None;
  std::vector<std::uint8_t> data;  // as stored (for strings: including the NUL)
};

class Registry {
 public:
  explicit Registry(RegRoot root);
  explicit Registry(RegPlace place);
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  // Opens path for reading and writing; creates it (and missing keys above it)
  // when create is true. Closes a key opened before. false when it fails.
  [[nodiscard]] bool openKey(const std::string& path, bool create);
  // Opens path for reading only. false when the key does not exist or is not readable.
  [[nodiscard]] bool openKeyReadOnly(const std::string& path);
  // Opens the subkey `name` of the key `parent` has open, for reading only:
  // the same key as the parent's path + "\" + name, found from the parent
  // instead of from the root (cheaper where every step of a path costs).
  [[nodiscard]] bool openSubKeyReadOnly(const Registry& parent, const std::string& name);
  // The same for reading and writing (an existing key only).
  [[nodiscard]] bool openSubKey(const Registry& parent, const std::string& name);
  void closeKey();
  bool isOpen() const;
  // After a failed open: whether the system refused it for lack of rights
  // (a user without administrator rights and a key under HKEY_LOCAL_MACHINE).
  bool accessDenied() const { return denied_; }
  // After a failed open: whether the key does not exist.
  bool notFound() const { return notFound_; }

  // Subkey names of the open key, in the order the registry enumerates them.
  std::vector<std::string> getKeyNames() const;

  RegValueInfo getValueInfo(const std::string& name) const;
  bool valueExists(const std::string& name) const;
  // Type and data of a value, whatever its type; in one call when the data
  // fit sizeHint bytes. Not existing (exists false) when missing or unreadable.
  RegValueData readValue(const std::string& name, std::size_t sizeHint = 256) const;

  // Reads a REG_SZ/REG_EXPAND_SZ value up to its first NUL. A missing value
  // reads as "". Another type throws "Ungültiger Datentyp für '{name}'".
  std::string readString(const std::string& name) const;
  // Reads a REG_DWORD. Missing: "Fehler beim Holen der Daten für '{name}'";
  // another type: "Ungültiger Datentyp für '{name}'".
  std::int32_t readInteger(const std::string& name) const;
  // Reads at most maxBytes of a value's data, whatever its type (empty when missing).
  std::vector<std::uint8_t> readBinary(const std::string& name, std::size_t maxBytes = SIZE_MAX) const;

  // Writes; a refused write throws "Fehler beim Setzen der Daten für '{name}'".
  void writeString(const std::string& name, const std::string& value);
  void writeInteger(const std::string& name, std::int32_t value);
  void writeBinary(const std::string& name, const std::vector<std::uint8_t>& data);

  // Deletes path with all its subkeys (depth first). false when it fails or is missing.
  static bool deleteKeyTree(RegRoot root, const std::string& path);
  static bool deleteKeyTree(const RegPlace& place, const std::string& path);

 private:
  // Takes the result of an open: the key, or why it failed.
  bool opened(long result, void* key);
  bool openSub(const Registry& parent, const std::string& name, unsigned long access);

  RegRoot root_;
  std::string base_;  // relative to the root's key, "" for the root itself
  void* key_ = nullptr;  // HKEY
  bool denied_ = false;
  bool notFound_ = false;
};

}  // namespace vak
