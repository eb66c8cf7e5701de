#pragma once
// An INI file through the Windows private-profile functions, read and written
// one key at a time; every write goes to the file at once. The path is UTF-8
// (Path.h); the entries are ANSI bytes, as the files always held them: the
// file stays a single-byte file, byte for byte what the ANSI functions wrote.
#include <optional>
#include <string>
#include <vector>

namespace vak {

// One write of IniFile::writeAll; no value: the key is removed.
struct IniEntry {
  std::string section, key;
  std::optional<std::string> value;
};

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(path), shownPath_(std::move(path)) {}
  // A file whose write errors name shownPath (a file put together in the place
  // of another names that one).
  IniFile(std::string path, std::string shownPath) : path_(std::move(path)), shownPath_(std::move(shownPath)) {}
  const std::string& path() const { return path_; }

  // The whole value, whatever its length. Missing file/section/key -> def.
  std::string readString(const std::string& section, const std::string& key, const std::string& def) const;
  // Decimal, or hex with "0x" or "$"; anything else (or missing) -> def.
  int readInteger(const std::string& section, const std::string& key, int def) const;
  // Integer rule; 0 is false, any other number true.
  bool readBool(const std::string& section, const std::string& key, bool def) const;

  // Any length. A refused write throws "In {path} kann nicht geschrieben werden".
  void writeString(const std::string& section, const std::string& key, const std::string& value);
  void writeInteger(const std::string& section, const std::string& key, int value);
  void writeBool(const std::string& section, const std::string& key, bool value);  // "1" / "0"
  // Removes a key; a missing key or a refused write is ignored.
  void deleteKey(const std::string& section, const std::string& key);
  // The entries, as writeString and deleteKey one after the other would leave
  // the file (for the profile functions reading it), but the file is read and
  // written once: every single write of the profile
  // functions rewrites the whole file, which makes a large file take minutes.
  // A value replaces the key's where it stands, a new key follows the last
  // line of its section, a new section goes to the end of the file, and every
  // other line stays as it was. A file the profile functions might read
  // otherwise than this does (a section named twice, an unclosed bracket, a
  // NUL, a big-endian file) is written entry by entry instead.
  void writeAll(const std::vector<IniEntry>& entries);
  // Makes sure the file on disk holds every write, before it is moved or copied.
  void flush();

 private:
  std::string path_;
  std::string shownPath_;
};

}  // namespace vak
