#include "platform/Ini.h"

#include <windows.h>

#include <cwctype>
#include <map>
#include <optional>
#include <vector>

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Handle.h"
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

// ---------------------------------------------------------------- writeAll

struct FileTraits {
  using type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
using FileHandle = Handle<FileTraits>;

// The whole file; false when it is missing or cannot be read.
bool readWhole(const std::wstring& path, std::string& bytes) {
  FileHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.valid()) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(f.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(f.get(), &bytes[done], static_cast<DWORD>(bytes.size() - done), &got, nullptr) || got == 0)
      return false;
    done += got;
  }
  return true;
}

// Replaces the file's contents (its attributes and rights stay, as with the
// profile functions' own writes).
bool writeWhole(const std::wstring& path, const std::string& bytes) {
  FileHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
  if (!f.valid()) return false;
  DWORD written = 0;
  return (bytes.empty() || (WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                            written == bytes.size())) &&
         SetEndOfFile(f.get());
}

// How the profile functions read a file: UTF-8 after its byte order mark,
// UTF-16 little-endian after its mark, otherwise the ANSI code page.
enum class FileEncoding { Ansi, Utf8, Utf16 };

bool decodeFile(const std::string& bytes, FileEncoding& encoding, std::wstring& text) {
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    encoding = FileEncoding::Utf8;
    const int size = static_cast<int>(bytes.size() - 3);
    const int n = size ? MultiByteToWideChar(CP_UTF8, 0, bytes.data() + 3, size, nullptr, 0) : 0;
    text.assign(static_cast<std::size_t>(n), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, bytes.data() + 3, size, &text[0], n);
    return true;
  }
  if (bytes.compare(0, 2, "\xFE\xFF") == 0) return false;  // big-endian
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
    if (bytes.size() % 2) return false;
    encoding = FileEncoding::Utf16;
    text.resize((bytes.size() - 2) / 2);
    for (std::size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                     static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
    return true;
  }
  encoding = FileEncoding::Ansi;
  text = entryText(bytes);
  return true;
}

std::string encodeFile(const std::wstring& text, FileEncoding encoding) {
  switch (encoding) {
    case FileEncoding::Utf8: {
      const int n = text.empty() ? 0
                                 : WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                                       0, nullptr, nullptr);
      std::string out(3 + static_cast<std::size_t>(n), '\0');
      out.replace(0, 3, "\xEF\xBB\xBF");
      if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[3], n, nullptr, nullptr);
      return out;
    }
    case FileEncoding::Utf16: {
      std::string out = "\xFF\xFE";
      out.reserve(2 + 2 * text.size());
      for (wchar_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>((c >> 8) & 0xFF);
      }
      return out;
    }
    case FileEncoding::Ansi:
      break;
  }
  return entryBytes(text.data(), text.size());
}

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f'; }

std::wstring trimmedW(const std::wstring& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Names compare without regard to case.
std::wstring folded(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

// The file's lines, by section, as the profile functions find them. Lines
// keep their text (without the line end); blank lines are kept as well.
class IniLines {
 public:
  IniLines() : sections_(1) {}
  // false when the file holds something the profile functions might read
  // otherwise than this class does.
  bool parse(const std::wstring& text) {
    sections_.assign(1, Section{});  // the lines before the first section
    index_.clear();
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find(L'\n', start);
      if (end == std::wstring::npos) end = text.size();
      std::wstring line = text.substr(start, end - start);
      start = end + 1;
      if (!line.empty() && line.back() == L'\r') line.pop_back();
      if (line.find(L'\0') != std::wstring::npos) return false;
      const std::wstring t = trimmedW(line);
      if (!t.empty() && t[0] == L'[') {
        // "[name]" alone; anything else in brackets is read differently by
        // different versions of the profile functions.
        if (t.back() != L']' || t.find_first_of(L"[]", 1) != t.size() - 1) return false;
        const std::wstring name = t.substr(1, t.size() - 2);
        if (name.empty() || trimmedW(name) != name || !index_.emplace(folded(name), sections_.size()).second)
          return false;
        sections_.push_back(Section{{line}});
        continue;
      }
      sections_.back().lines.push_back(line);
    }
    return true;
  }

  void set(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    std::wstring v = value;
    // The profile functions store a value without its leading blanks.
    v.erase(0, v.find_first_not_of(L" \t"));
    Section* s = find(section);
    if (!s) {
      index_.emplace(folded(section), sections_.size());
      sections_.push_back(Section{{L"[" + section + L"]"}});
      s = &sections_.back();
    }
    const std::wstring wanted = folded(key);
    for (std::size_t i = 1; i < s->lines.size(); ++i) {
      std::wstring name;
      if (keyOf(s->lines[i], name) && folded(name) == wanted) {
        s->lines[i] = name + L"=" + v;
        return;
      }
    }
    // After the section's last line that is not blank.
    std::size_t at = s->lines.size();
    while (at > 1 && trimmedW(s->lines[at - 1]).empty()) --at;
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), key + L"=" + v);
  }

  void remove(const std::wstring& section, const std::wstring& key) {
    Section* s = find(section);
    if (!s) return;
    const std::wstring wanted = folded(key);
    for (std::size_t i = 1; i < s->lines.size(); ++i) {
      std::wstring name;
      if (keyOf(s->lines[i], name) && folded(name) == wanted) {
        s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(i));
        return;
      }
    }
  }

  std::wstring text() const {
    std::wstring out;
    for (const Section& s : sections_)
      for (const std::wstring& line : s.lines) out += line + L"\r\n";
    return out;
  }

 private:
  struct Section {
    std::vector<std::wstring> lines;  // the line of its name first (but in the part before the first section)
  };

  Section* find(const std::wstring& name) {
    const auto it = index_.find(folded(name));
    return it == index_.end() ? nullptr : &sections_[it->second];
  }
  // The key a line holds: the text before "=" (or the whole line), trimmed.
  static bool keyOf(const std::wstring& line, std::wstring& name) {
    name = trimmedW(line.substr(0, line.find(L'=')));
    return !name.empty();
  }

  std::vector<Section> sections_;
  std::map<std::wstring, std::size_t> index_;  // folded name -> section
};

// Whether the profile functions reach the file by this name: they take no
// path longer than MAX_PATH.
bool profilePathUsable(const std::wstring& file) {
  const DWORD n = GetFullPathNameW(file.c_str(), 0, nullptr, nullptr);
  return n > 0 && n <= MAX_PATH;
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

void IniFile::writeAll(const std::vector<IniEntry>& entries) {
  const std::wstring file = widePath(path_);
  flush();  // the profile functions hold no part of the file that is not on disk
  std::string bytes;
  FileEncoding encoding = FileEncoding::Ansi;
  std::wstring text;
  IniLines lines;
  // A missing file is new; one that cannot be read, or might be read
  // otherwise, is left to the profile functions.
  const bool readable = readWhole(file, bytes);
  const bool ours = profilePathUsable(file) && (readable ? decodeFile(bytes, encoding, text) && lines.parse(text)
                                                         : !fileExists(path_));
  std::string().swap(bytes);
  std::wstring().swap(text);
  if (!ours) {
    for (const IniEntry& e : entries)
      if (e.value)
        writeString(e.section, e.key, *e.value);
      else
        deleteKey(e.section, e.key);
    return;
  }
  for (const IniEntry& e : entries) {
    const std::wstring section = trimmedW(entryText(e.section)), key = trimmedW(entryText(e.key));
    if (e.value)
      lines.set(section, key, entryText(*e.value));
    else
      lines.remove(section, key);
  }
  const bool written = writeWhole(file, encodeFile(lines.text(), encoding));
  flush();  // read afresh from now on
  if (!written) throw VakError(errIniWrite(pathToText(shownPath_)));
}

void IniFile::flush() {
  // WritePrivateProfileString: "If all parameters are NULL, the function
  // flushes the cache." Wine then also forgets the file, so a file put in its
  // place later is read afresh.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, widePath(path_).c_str());
}

}  // namespace vak
