// Bad input from outside, one row each: ICQ's registry data, status files,
// backup slots, the settings file and language files as other programs, older
// versions or other people leave them. Every row seeds the registry or the
// program folder, starts the windows as the program does and acts as a user
// would; then the window must still answer, the messages must be the ones the
// user needs, and ICQ's registry trees must be as before except for the
// values the action is there to write.
#include "GuiFixture.h"

#include <cctype>
#include <map>

#include "platform/Files.h"
#include "platform/Path.h"
#include "status/Backup.h"
#include "status/Letters.h"

using namespace vaktest;
namespace ids = vak::ids;
using vak::T;

namespace {

// ------------------------------------------------------------ the registry

const char* const kOwners = "Software\\Mirabilis\\ICQ\\NewOwners";

std::string ownersPath(const std::string& uin) { return std::string(kOwners) + "\\" + uin; }
std::string entryPath(const std::string& uin, int n) {
  return ownersPath(uin) + "\\CustomStatusList\\" + std::to_string(n);
}
std::string litePath(const std::string& uin) { return ownersPath(uin) + "\\ICQLite"; }
// Where a 64-bit Windows keeps ICQ's copy of the machine key path (below
// HKCU; path below HKLM, "Software\\Mirabilis\\...").
std::string storePath(const std::string& path) {
  return "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node" + path.substr(std::string("Software").size());
}

// A key of ICQ's, written straight through the API (one process for a whole
// row instead of one reg.exe per value): HKCU, or HKLM in the 32-bit view
// that ICQ Lite sees. Values are the bytes given, with the type given.
class Key {
 public:
  Key(HKEY root, std::string path, REGSAM view = KEY_WOW64_32KEY) : path_(std::move(path)) {
    if (RegCreateKeyExA(root, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key_, nullptr) !=
        ERROR_SUCCESS)
      throw std::runtime_error("cannot create key " + path_);
  }
  ~Key() { RegCloseKey(key_); }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  Key& raw(const std::string& name, DWORD type, const std::string& bytes) {
    if (RegSetValueExA(key_, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size())) != ERROR_SUCCESS)
      throw std::runtime_error("cannot set " + path_ + " " + name);
    return *this;
  }
  // A string with its NUL, as programs store them.
  Key& sz(const std::string& name, const std::string& text) { return raw(name, REG_SZ, text + '\0'); }
  Key& dword(const std::string& name, DWORD v) {
    return raw(name, REG_DWORD, std::string(reinterpret_cast<const char*>(&v), sizeof v));
  }
  Key& bin(const std::string& name, const std::string& bytes) { return raw(name, REG_BINARY, bytes); }
  Key& drop(const std::string& name) {
    RegDeleteValueA(key_, name.c_str());
    return *this;
  }

 private:
  std::string path_;
  HKEY key_ = nullptr;
};

void removeKey(HKEY root, const std::string& path, REGSAM view = KEY_WOW64_32KEY) {
  HKEY k = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &k) != ERROR_SUCCESS) return;
  RegDeleteTreeA(k, nullptr);
  RegCloseKey(k);
  RegDeleteKeyExA(root, path.c_str(), view, 0);
}

// The trees compared: ICQ's keys in HKCU, in both views of HKLM (the program
// must never write the 64-bit one) and in both paths of the virtual store.
struct TreeRoot {
  const char* label;
  HKEY root;
  const char* path;
  REGSAM view;
};
const TreeRoot kTrees[] = {
    {"HKCU", HKEY_CURRENT_USER, "Software\\Mirabilis", KEY_WOW64_64KEY},
    {"HKLM32", HKEY_LOCAL_MACHINE, "Software\\Mirabilis", KEY_WOW64_32KEY},
    {"HKLM64", HKEY_LOCAL_MACHINE, "Software\\Mirabilis", KEY_WOW64_64KEY},
    {"Store64", HKEY_CURRENT_USER, "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Mirabilis",
     KEY_WOW64_64KEY},
    {"Store32", HKEY_CURRENT_USER, "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Mirabilis", KEY_WOW64_64KEY},
};

void wipeTrees() {
  for (const TreeRoot& t : kTrees) removeKey(t.root, t.path, t.view);
}

// One key or value of a dump: "HKCU|Software\Mirabilis\ICQ|Name" (value
// names after the second bar; a key alone has none).
struct Item {
  bool isKey = true;
  DWORD type = 0;
  std::string bytes;  // as stored: the wide functions give strings as the registry keeps them
};
using Dump = std::map<std::string, Item>;

void dumpKey(HKEY key, const std::string& where, Dump& out) {
  out[where + "|"] = Item{};
  DWORD subkeys = 0, maxSub = 0, values = 0, maxName = 0, maxData = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &maxSub, nullptr, &values, &maxName, &maxData,
                       nullptr, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot query " + where);
  std::vector<wchar_t> name(maxName + 2);
  std::vector<BYTE> data(maxData + 2);
  for (DWORD i = 0; i < values; ++i) {
    DWORD nameLen = static_cast<DWORD>(name.size()), dataLen = static_cast<DWORD>(data.size()), type = 0;
    if (RegEnumValueW(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen) != ERROR_SUCCESS)
      throw std::runtime_error("cannot read a value of " + where);
    Item v;
    v.isKey = false;
    v.type = type;
    v.bytes.assign(reinterpret_cast<const char*>(data.data()), dataLen);
    out[where + "|" + vak::pathFromWide(std::wstring(name.data(), nameLen))] = v;
  }
  std::vector<wchar_t> sub(maxSub + 2);
  for (DWORD i = 0; i < subkeys; ++i) {
    DWORD len = static_cast<DWORD>(sub.size());
    if (RegEnumKeyExW(key, i, sub.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      throw std::runtime_error("cannot list " + where);
    const std::string path = where + "\\" + vak::pathFromWide(std::wstring(sub.data(), len));
    HKEY child = nullptr;
    const LONG rc = RegOpenKeyExW(key, std::wstring(sub.data(), len).c_str(), 0, KEY_READ, &child);
    if (rc == ERROR_ACCESS_DENIED) {
      out[path + "|"] = Item{true, REG_NONE, "<unreadable>"};  // a key the test took the rights of
      continue;
    }
    if (rc != ERROR_SUCCESS) throw std::runtime_error("cannot open " + path);
    dumpKey(child, path, out);
    RegCloseKey(child);
  }
}

// Every key and value of the trees, with type and bytes.
Dump dumpTrees() {
  Dump out;
  for (const TreeRoot& t : kTrees) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(t.root, t.path, 0, KEY_READ | t.view, &k) != ERROR_SUCCESS) continue;
    dumpKey(k, std::string(t.label) + "|" + t.path, out);
    RegCloseKey(k);
  }
  return out;
}

// What changed between two dumps, split into its parts.
struct Change {
  std::string tree, path, name;  // name empty for a key
  bool isKey;
  std::string what;              // for the failure message
};

std::string shortHex(const std::string& bytes) {
  return hex(bytes.substr(0, 24)) + (bytes.size() > 24 ? " ... (" + std::to_string(bytes.size()) + " bytes)" : "");
}
std::string describe(const Item& i) {
  return i.isKey ? "key" : "type " + std::to_string(i.type) + ": " + shortHex(i.bytes);
}

std::vector<Change> changes(const Dump& before, const Dump& after) {
  std::vector<Change> out;
  auto add = [&](const std::string& id, const Item& item, const std::string& what) {
    const std::size_t bar1 = id.find('|'), bar2 = id.find('|', bar1 + 1);
    out.push_back(Change{id.substr(0, bar1), id.substr(bar1 + 1, bar2 - bar1 - 1), id.substr(bar2 + 1), item.isKey,
                         what + " " + id});
  };
  for (const auto& [id, item] : before) {
    const auto it = after.find(id);
    if (it == after.end())
      add(id, item, "removed");
    else if (it->second.type != item.type || it->second.bytes != item.bytes)
      add(id, item, "changed (" + describe(item) + " -> " + describe(it->second) + ")");
  }
  for (const auto& [id, item] : after)
    if (!before.count(id)) add(id, item, "added (" + describe(item) + ")");
  return out;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}
bool isPrefixPath(const std::string& shortPath, const std::string& longPath) {
  const std::string a = lower(shortPath), b = lower(longPath);
  return b.compare(0, a.size(), a) == 0 && (b.size() == a.size() || b[a.size()] == '\\');
}
bool samePath(const std::string& a, const std::string& b) { return lower(a) == lower(b); }
bool oneOf(const std::string& name, std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (lower(name) == lower(n)) return true;
  return false;
}

// The registry changes an action is there to make.
using Allowed = std::function<bool(const Change&)>;

Allowed nothingWritten() {
  return [](const Change&) { return false; };
}
// The profile key list creates NewOwners when it is missing.
Allowed ownersCreated() {
  return [](const Change& c) { return c.tree == "HKCU" && c.isKey && isPrefixPath(c.path, kOwners); };
}
// "Änderungen übernehmen" for a profile: its 32 entries, its away texts, and
// the keys above them where they were missing.
Allowed takeOverOf(const std::string& uin) {
  return [uin](const Change& c) {
    const std::string list = ownersPath(uin) + "\\CustomStatusList";
    if (c.tree == "HKCU") {
      if (c.isKey && isPrefixPath(c.path, list)) return true;
      for (int n = 1; n <= vak::kEntryCount; ++n)
        if (samePath(c.path, entryPath(uin, n)))
          return c.isKey || oneOf(c.name, {"LineNumber", "On", "Name", "Description"});
      return false;
    }
    if (c.tree == "HKLM32") {
      if (c.isKey && isPrefixPath(c.path, litePath(uin))) return true;
      return samePath(c.path, litePath(uin)) && oneOf(c.name, {"AwayStatusText", "NAStatusText"});
    }
    return false;
  };
}
// The take-over's away texts in ICQ's copy of the ICQ Lite key, not in HKLM.
Allowed awayTextsInStoreOf(const std::string& uin) {
  return [uin](const Change& c) {
    return c.tree == "Store64" && samePath(c.path, storePath(litePath(uin))) &&
           oneOf(c.name, {"AwayStatusText", "NAStatusText"});
  };
}
// The take-over with the away texts where a virtualized ICQ keeps them.
Allowed takeOverWithStoreOf(const std::string& uin) {
  const Allowed plain = takeOverOf(uin), store = awayTextsInStoreOf(uin);
  return [plain, store](const Change& c) {
    return store(c) || (plain(c) && !(c.tree == "HKLM32" && !c.isKey));
  };
}
// Reading a profile writes its birthday reminder back, where ICQ reads it.
Allowed birthdayOf(const std::string& uin) {
  return [uin](const Change& c) {
    return ((c.tree == "HKLM32" && samePath(c.path, litePath(uin))) ||
            (c.tree == "Store64" && samePath(c.path, storePath(litePath(uin))))) &&
           oneOf(c.name, {"RemindBirthday", "RemindBirthdayDaysBefore"});
  };
}
// "Profil löschen": the profile's keys, wherever they are.
Allowed deletionOf(const std::string& uin) {
  return [uin](const Change& c) {
    return c.what.compare(0, 7, "removed") == 0 &&
           (((c.tree == "HKCU" || c.tree == "HKLM32") && isPrefixPath(ownersPath(uin), c.path)) ||
            (c.tree == "Store64" && isPrefixPath(storePath(ownersPath(uin)), c.path)));
  };
}

// --------------------------------------------------------------- the files

// Runs a Unix shell command, "{}" standing for the path: Wine starts a Unix
// program named by its Unix path like a Windows one. It runs on its own:
// Wine's handle of it does not wait for its end.
void unixCommand(std::string command, const std::string& path) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* unixPath = toUnix ? toUnix(vak::widePath(path).c_str()) : nullptr;
  if (!unixPath) return;
  const std::string quoted = std::string("'") + unixPath + "'";
  HeapFree(GetProcessHeap(), 0, unixPath);
  for (std::size_t at; (at = command.find("{}")) != std::string::npos;) command.replace(at, 2, quoted);
  std::string cmd = "/bin/sh -c \"" + command + "\"";
  // Its standard handles on NUL: a Unix program given the test's own
  // handles (or pipes) takes the test's output with it. And without
  // CREATE_NO_WINDOW, with which Wine does not start it at all.
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE nul =
      CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = si.hStdOutput = si.hStdError = nul;
  PROCESS_INFORMATION pi{};
  if (CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(nul);
}

// While it lives, a file or folder refuses writes, as a write-protected file
// or a folder without write access does for a user: the read-only attribute,
// which Wine keeps for files only, else the Unix rights, and because Wine run
// by root ignores both, the file system's immutable flag (which holds for
// root too).
class Unwritable {
 public:
  explicit Unwritable(std::string path) : path_(std::move(path)) {
    SetFileAttributesA(path_.c_str(), GetFileAttributesA(path_.c_str()) | FILE_ATTRIBUTE_READONLY);
    if (holds()) return;
    unix_ = true;
    unixCommand("chattr +i {} 2>/dev/null || chmod a-w {}", path_);
    waitUntil(true);
  }
  ~Unwritable() {
    if (unix_) {
      unixCommand("chattr -i {} 2>/dev/null; chmod u+w {}", path_);
      waitUntil(false);
    }
    SetFileAttributesA(path_.c_str(), GetFileAttributesA(path_.c_str()) & ~DWORD{FILE_ATTRIBUTE_READONLY});
  }
  Unwritable(const Unwritable&) = delete;
  Unwritable& operator=(const Unwritable&) = delete;

  // Whether writing into it is refused here.
  bool holds() const {
    const bool folder = vak::dirExists(path_);
    const std::string probe = folder ? path_ + "\\probe.tmp" : path_;
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           folder ? CREATE_NEW : OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;
    CloseHandle(h);
    if (folder) DeleteFileA(probe.c_str());
    return false;
  }

 private:
  void waitUntil(bool refused) const {
    for (int i = 0; i < 150 && holds() != refused; ++i) Sleep(20);
  }
  std::string path_;
  bool unix_ = false;
};

bool emptyDir(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return true;
  bool empty = true;
  do {
    const std::string n = fd.cFileName;
    if (n != "." && n != "..") empty = false;
  } while (empty && FindNextFileA(h, &fd));
  FindClose(h);
  return empty;
}

// A fresh empty folder for a row, also after a run that was killed while a
// file of it was write-protected.
std::string freshRowFolder(const std::string& name) {
  std::string dir = freshDir(name);
  for (int i = 0; i < 150 && !emptyDir(dir); ++i) {
    if (i == 0) unixCommand("chattr -R -i {} 2>/dev/null; chmod -R u+w {}", dir);
    Sleep(20);
    dir = freshDir(name);
  }
  return dir;
}

std::string repeat(const std::string& piece, std::size_t times) {
  std::string s;
  s.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) s += piece;
  return s;
}

// Bytes that are no text: every byte value, NULs and line ends among them.
std::string junk(std::size_t size) {
  std::string s(size, '\0');
  unsigned x = 12345;
  for (char& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 16);
  }
  return s;
}

// UTF-16LE with its byte order mark, as Notepad saves "Unicode" (text in UTF-8).
std::string utf16File(const char* utf8) {
  const std::wstring w = vak::W(utf8);
  return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(w.data()), w.size() * sizeof(wchar_t));
}

// A status file as a save writes it, with the entries' texts given by text(n).
std::string statusFile(const std::function<std::string(int)>& text) {
  std::string s = "[Statusdatei]\r\n#01=1\r\n";
  for (int n = 1; n <= vak::kEntryCount; ++n)
    s += "[" + std::to_string(n) + "]\r\na=" + text(n) + "\r\nb=Nachricht " + std::to_string(n) + "\r\nc=" +
         (n % 3 == 0 ? "1" : "0") + "\r\n";
  return s;
}

// A status file of 50 MB: the entries, then lines of no use to the program.
std::string fiftyMegabytes(const std::string& titles) {
  return statusFile([&](int n) { return titles + " " + std::to_string(n); }) + "[Fuell]\r\n" +
         repeat("x=" + repeat("0123456789", 9) + "\r\n", 50 * 1024 * 1024 / 94);
}

// ------------------------------------------------------------ hang guards

// Ends the test run when a row does not come back: a hung handler would
// otherwise hold the whole suite until ctest's timeout, and say nothing.
class Watchdog {
 public:
  Watchdog(std::string row, DWORD ms) : row_(std::move(row)), ms_(ms) {
    done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &Watchdog::watch, this, 0, nullptr);
  }
  ~Watchdog() {
    SetEvent(done_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(done_);
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  static DWORD WINAPI watch(void* self) {
    auto* w = static_cast<Watchdog*>(self);
    if (WaitForSingleObject(w->done_, w->ms_) == WAIT_TIMEOUT) {
      std::fprintf(stderr, "\nBadInput row %s did not end within %lu s: it hangs. The run stops here.\n",
                   w->row_.c_str(), static_cast<unsigned long>(w->ms_ / 1000));
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 9);
    }
    return 0;
  }
  std::string row_;
  DWORD ms_;
  HANDLE done_ = nullptr, thread_ = nullptr;
};

// A round trip of a message sent from another thread, as the system and
// other programs send them: the window's thread takes messages again.
bool answers(HWND window, UINT ms) {
  struct Probe {
    HWND window;
    UINT ms;
    bool answered = false;
  } probe{window, ms};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto* pr = static_cast<Probe*>(p);
        DWORD_PTR result = 0;
        pr->answered = SendMessageTimeoutW(pr->window, WM_NULL, 0, 0, SMTO_NORMAL, pr->ms, &result) != 0;
        return 0;
      },
      &probe, 0, nullptr);
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) pumpMessages();
  CloseHandle(thread);
  return probe.answered;
}

// Windows of this thread that are shown, other than the main window (a
// dialog or box left open).
std::vector<HWND> otherShownWindows(HWND main) {
  struct Found {
    HWND main;
    std::vector<HWND> list;
  } found{main, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Found*>(lp);
        wchar_t cls[64] = {};
        GetClassNameW(h, cls, 64);
        if (h != f->main && IsWindowVisible(h) && std::wstring(cls) != L"tooltips_class32") f->list.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.list;
}

// ---------------------------------------------------------------- the rows

class BadInput;

struct Row {
  const char* name;
  // The registry and files before the start (the standard machine is seeded
  // first unless the row says otherwise).
  std::function<void(BadInput&)> seed;
  // What the user does after the start, with what must be seen meanwhile.
  std::function<void(BadInput&)> act;
  // The texts of the message boxes from the start on, in order (UTF-8;
  // "{dir}" is the program folder; a text ending in "…" is the beginning).
  std::vector<std::string> says;
  // The registry changes the actions are there to make.
  Allowed allowed = nothingWritten();
  bool standardMachine = true;
};

// gtest names a failing row by this.
void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class BadInput : public GuiTest, public ::testing::WithParamInterface<Row> {
 public:
  using GuiTest::boxChecked;
  using GuiTest::click;
  using GuiTest::comboText;
  using GuiTest::ctl;
  using GuiTest::editCell;
  using GuiTest::folder_;
  using GuiTest::form;
  using GuiTest::mainWnd;
  using GuiTest::menu;
  using GuiTest::message;
  using GuiTest::chooseProfile;
  using GuiTest::restore;
  using GuiTest::text;
  using GuiTest::title;
  using GuiTest::ui_;

  // The usual machine: profiles 111 (Max) and 222 (Erika) with 32 entries
  // each and an ICQ Lite key, 111 used last, ICQ Lite 5.1.
  void standard() {
    profile("111", "Max");
    profile("222", "Erika");
    Key(HKEY_CURRENT_USER, kOwners).dword("LastOwner", 111);
    Key(HKEY_LOCAL_MACHINE, "Software\\Mirabilis\\ICQ\\DefaultPrefs").sz("ICQLite Version", "2050").sz("MultiInstance",
                                                                                                     "No");
  }
  void profile(const std::string& uin, const std::string& name, int entries = vak::kEntryCount) {
    Key(HKEY_CURRENT_USER, ownersPath(uin)).sz("Name", name);
    for (int n = 1; n <= entries; ++n)
      Key(HKEY_CURRENT_USER, entryPath(uin, n))
          .dword("On", seedActive(n) ? 1 : 0)
          .dword("LineNumber", static_cast<DWORD>(n))
          .sz("Name", seedTitle(uin, n))
          .sz("Description", seedMessage(uin, n));
    Key(HKEY_LOCAL_MACHINE, litePath(uin))
        .bin("AwayStatusText", seedAway(uin))
        .bin("NAStatusText", seedNa(uin))
        .sz("RemindBirthday", "No");
  }
  Key user(const std::string& path) { return Key(HKEY_CURRENT_USER, path); }
  Key machine(const std::string& path) { return Key(HKEY_LOCAL_MACHINE, path); }
  Key entry(const std::string& uin, int n) { return user(entryPath(uin, n)); }
  Key lite(const std::string& uin) { return machine(litePath(uin)); }
  void removeUser(const std::string& path) { removeKey(HKEY_CURRENT_USER, path); }
  void removeMachine(const std::string& path) { removeKey(HKEY_LOCAL_MACHINE, path); }
  std::string file(const std::string& name) const { return folder_ + "\\" + name; }
  void write(const std::string& name, const std::string& bytes) { writeFileBytes(file(name), bytes); }
  // Keeps a file or folder ("": the program folder) write-protected until
  // the row ends; false where that cannot be had.
  bool protect(const std::string& name) {
    protected_.push_back(std::make_unique<Unwritable>(name.empty() ? folder_ : file(name)));
    return protected_.back()->holds();
  }

  // Another program (ICQ, a second VAK) changes the registry while the
  // window is open: these changes are not the program's.
  void meanwhile(const std::function<void()>& change) {
    const Dump pre = dumpTrees();
    change();
    const Dump post = dumpTrees();
    for (const auto& [id, item] : pre)
      if (!post.count(id)) before_.erase(id);
    for (const auto& [id, item] : post) {
      const auto was = pre.find(id);
      if (was == pre.end() || was->second.type != item.type || was->second.bytes != item.bytes) before_[id] = item;
    }
  }

  // --- what the user does ---
  void takeOver() { click(ctl(ids::Button1)); }
  void reset() {
    ui_.answers.push_back(vak::MbResYes);
    click(ctl(ids::Button2));
  }
  void saveAs(const std::string& path) {
    ui_.saveNames.push_back(path);
    menu(ids::Speichern1);
  }
  // "Laden" without saving first.
  void load(const std::string& path) {
    ui_.answers.push_back(vak::MbResNo);
    ui_.openNames.push_back(path);
    menu(ids::Laden);
  }
  // Opens the restore dialog, presses the slot's "Restore" when it is
  // enabled (0: none) and closes it; the slots' labels as shown.
  std::vector<std::string> restoreSlot(int slot) {
    std::vector<std::string> labels;
    driveModal(
        restore(), [&] { menu(ids::Restorelastsaved1); },
        [&] {
          for (int id : {vak::RestoreDialog::d1, vak::RestoreDialog::d2, vak::RestoreDialog::d3})
            labels.push_back(vak::getText(restore().control(id)));
          if (slot > 0) {
            HWND b = restore().control(vak::RestoreDialog::Button1 + slot - 1);
            EXPECT_TRUE(IsWindowEnabled(b)) << "slot " << slot;
            if (IsWindowEnabled(b)) click(b);
          }
          click(restore().control(vak::RestoreDialog::Button4));
        });
    return labels;
  }
  void settingsTab() { menu(ids::Einstellungen1); }
  // "Profil löschen" for the entry at position index of the deletion list, answered Yes.
  void deleteProfileAt(int index) {
    vak::comboSelect(ctl(vak::ids::DelProfile), index);
    ui_.answers.push_back(vak::MbResYes);
    click(ctl(vak::ids::DelProfileBtn));
  }
  void saveSettings() { click(ctl(ids::Button7)); }

  // --- what is shown and stored ---
  bool shownAsStored(const std::string& uin) {
    for (int n = 1; n <= vak::kEntryCount; ++n)
      if (title(n) != seedTitle(uin, n) || message(n) != seedMessage(uin, n) || boxChecked(n) != seedActive(n))
        return false;
    return text(ctl(ids::AwayEd)) == seedAway(uin) && text(ctl(ids::NaEd)) == seedNa(uin);
  }
  // After "Änderungen übernehmen": ICQ holds exactly what the window shows.
  void expectStoredAsShown(const std::string& uin) {
    const Dump d = dumpTrees();
    auto value = [&](const std::string& tree, const std::string& path, const std::string& name) -> const Item* {
      for (const auto& [id, item] : d)
        if (lower(id) == lower(tree + "|" + path + "|" + name)) return &item;
      return nullptr;
    };
    auto wide = [](const std::string& cp1252) {
      const std::wstring w = vak::widen(cp1252);
      return std::string(reinterpret_cast<const char*>(w.c_str()), (w.size() + 1) * sizeof(wchar_t));
    };
    auto dw = [](DWORD v) { return std::string(reinterpret_cast<const char*>(&v), sizeof v); };
    for (int n = 1; n <= vak::kEntryCount; ++n) {
      const std::string p = entryPath(uin, n);
      const vak::StatusEntry& e = form().status().model().entry(n);
      const Item* on = value("HKCU", p, "On");
      const Item* line = value("HKCU", p, "LineNumber");
      const Item* name = value("HKCU", p, "Name");
      const Item* desc = value("HKCU", p, "Description");
      ASSERT_TRUE(on && line && name && desc) << "entry " << n << " not written";
      EXPECT_EQ(on->type, DWORD{REG_DWORD});
      EXPECT_EQ(on->bytes, dw(e.active ? 1 : 0)) << n;
      EXPECT_EQ(line->bytes, dw(static_cast<DWORD>(n))) << n;
      EXPECT_EQ(name->type, DWORD{REG_SZ}) << n;
      EXPECT_TRUE(name->bytes == wide(vak::toUtf8Form(e.title))) << "title of entry " << n;
      EXPECT_EQ(desc->type, DWORD{REG_SZ}) << n;
      EXPECT_TRUE(desc->bytes == wide(vak::toUtf8Form(e.message))) << "message of entry " << n;
    }
    const Item* away = value("HKLM32", litePath(uin), "AwayStatusText");
    ASSERT_TRUE(away);
    EXPECT_EQ(away->type, DWORD{REG_BINARY});
    EXPECT_EQ(away->bytes, vak::fromUtf8Form(form().status().model().away));
  }

 protected:
  void SetUp() override {
    // The registry straight through the API, not through reg.exe: a process
    // per step would make the rows slow.
    wipeTrees();
    folder_ = freshRowFolder("gui_BadInput_" + std::string(GetParam().name));
    setUpdateServer(TestServer::deadUrl());
  }
  void TearDown() override {
    closeApp();
    protected_.clear();
    locked_.clear();
    store_.reset();
    wipeTrees();
  }

  std::vector<std::unique_ptr<Unwritable>> protected_;

 public:
  // The registry layer takes the system for a 64-bit Windows that keeps
  // ICQ's copies in the user's virtual store (Wine keeps none).
  void simulateStore() { store_.emplace(vak::VirtualStoreKind::Wow64); }
  Key storeCopy(const std::string& machinePath) {
    return Key(HKEY_CURRENT_USER, storePath(machinePath), KEY_WOW64_64KEY);
  }
  // Takes all rights of the key (below HKCU) until the row ends.
  bool lockUser(const std::string& path) {
    locked_.push_back(std::make_unique<RestrictedKey>(HKEY_CURRENT_USER, path, RestrictedKey::kNobody));
    return locked_.back()->readRefused();
  }
  std::optional<SimulatedVirtualStore> store_;
  std::vector<std::unique_ptr<RestrictedKey>> locked_;

  Dump before_;  // the trees before the start, and what others changed since
};

std::string expand(std::string text, const std::string& dir) {
  for (std::size_t at; (at = text.find("{dir}")) != std::string::npos;) text.replace(at, 5, dir);
  return text;
}

// A row lasts well below this; the 50 MB rows take the longest (a few seconds).
constexpr DWORD kRowLimitMs = 30000;

TEST_P(BadInput, Row) {
  const Row& row = GetParam();
  if (row.standardMachine) standard();
  if (row.seed) row.seed(*this);
  if (IsSkipped()) return;
  before_ = dumpTrees();
  {
    Watchdog guard(row.name, kRowLimitMs);
    startApp();
    if (row.act) row.act(*this);
    EXPECT_TRUE(answers(mainWnd(), 5000)) << "the window does not answer";
  }
  EXPECT_TRUE(IsWindowEnabled(mainWnd())) << "the main window stays disabled";
  EXPECT_TRUE(otherShownWindows(mainWnd()).empty()) << "a window stays open";

  std::vector<std::string> shown;
  for (const ScriptedUi::Box& b : ui_.boxes) shown.push_back(b.text);
  bool same = shown.size() == row.says.size();
  for (std::size_t i = 0; same && i < shown.size(); ++i) {
    const std::string ellipsis = "\xE2\x80\xA6";
    std::string want = expand(row.says[i], folder_);
    const bool prefix = want.size() >= 3 && want.compare(want.size() - 3, 3, ellipsis) == 0;
    if (prefix) want.resize(want.size() - 3);
    want = T(want.c_str());
    same = prefix ? shown[i].compare(0, want.size(), want) == 0 : shown[i] == want;
  }
  if (!same) {
    std::string list;
    for (const std::string& s : shown) list += "\n  \"" + s.substr(0, 300) + "\"";
    ADD_FAILURE() << "message boxes shown:" << (list.empty() ? " none" : list);
  }

  const Allowed allowed = row.allowed ? row.allowed : nothingWritten();
  for (const Change& c : changes(before_, dumpTrees()))
    EXPECT_TRUE(allowed(c)) << "registry " << c.what;
}

const std::string kEllipsis = "\xE2\x80\xA6";
const std::string kNothingRead = "Es wurde nichts geschrieben: Noch ist kein ICQ-Profil vollständig ausgelesen." + kEllipsis;
const std::string kNotRead111 = "Es wurde nichts geschrieben: Das Profil 111 konnte nicht vollständig ausgelesen" + kEllipsis;

// Bytes as a string of the registry's ANSI view: "\x80" ... "\x9F".
std::string bytes80To9F() {
  std::string s;
  for (int b = 0x80; b <= 0x9F; ++b) s += static_cast<char>(b);
  return s;
}

const Row kRows[] = {
    // --- values of the wrong type where a string or a number is read
    {"EntryOnAsString",
     [](BadInput& m) { m.entry("111", 4).sz("On", "1"); },
     [](BadInput& m) {
       EXPECT_EQ(m.form().status().model().stateOf(4), 2);
       EXPECT_FALSE(m.boxChecked(4));
       EXPECT_EQ(m.title(4), seedTitle("111", 4));
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"EntryOnOfOtherSizesAndTypes",
     [](BadInput& m) {
       m.entry("111", 4).raw("On", REG_DWORD, std::string("\x01\x00", 2));
       m.entry("111", 5).raw("On", REG_QWORD, std::string("\x01\0\0\0\0\0\0\0", 8));
       m.entry("111", 6).raw("On", REG_DWORD, "");
       m.entry("111", 7).raw("On", REG_BINARY, std::string("\x01\0\0\0", 4));
       m.entry("111", 8).dword("On", 5);
     },
     [](BadInput& m) {
       const auto& state = m.form().status().model().state;
       EXPECT_EQ(state[3], 1);
       EXPECT_TRUE(m.boxChecked(4));
       for (int n : {5, 7}) EXPECT_EQ(state[static_cast<size_t>(n - 1)], 2) << n;
       EXPECT_EQ(state[5], 0);
       EXPECT_EQ(state[7], 5);
       EXPECT_FALSE(m.boxChecked(8));
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"EntryTextsOfOtherTypes",
     [](BadInput& m) {
       m.entry("111", 3).dword("Name", 7).raw("Description", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
       m.entry("111", 4).raw("Name", REG_QWORD, std::string(8, '\x41')).raw("Description", REG_EXPAND_SZ, "%PATH%");
       m.entry("111", 5).raw("Name", REG_NONE, "x").raw("Description", REG_DWORD, "");
     },
     [](BadInput& m) {
       for (int n : {3, 4, 5}) {
         EXPECT_EQ(m.title(n), "") << n;
         EXPECT_EQ(m.message(n), "") << n;
       }
       EXPECT_EQ(m.title(6), seedTitle("111", 6));
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"EntryBinaryOfOddAndZeroLength",
     [](BadInput& m) {
       m.entry("111", 3).bin("Name", "abc").bin("Description", "Hallo");
       m.entry("111", 4).bin("Name", "").bin("Description", "");
       m.entry("111", 5).raw("Name", REG_SZ, "").raw("Description", REG_SZ, "ohne Ende");
     },
     [](BadInput& m) {
       EXPECT_EQ(m.title(3), "abc");
       EXPECT_EQ(m.message(3), "Hall");
       EXPECT_EQ(m.title(4), "");
       EXPECT_EQ(m.message(4), "");
       EXPECT_EQ(m.title(5), "");
       EXPECT_EQ(m.message(5), "ohne Ende");
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"ProfileNameAsNumber",
     [](BadInput& m) { m.user(ownersPath("222")).dword("Name", 222); },
     [](BadInput& m) {
       EXPECT_EQ(vak::comboCount(m.ctl(ids::NN)), 0);
       m.takeOver();
     },
     {"Ungültiger Datentyp für 'Name'", kNothingRead}},
    {"ProfileNameAsMultiString",
     [](BadInput& m) { m.user(ownersPath("111")).raw("Name", REG_MULTI_SZ, std::string("Max\0\0", 5)); },
     [](BadInput& m) { m.takeOver(); },
     {"Ungültiger Datentyp für 'Name'", kNothingRead}},
    {"LastOwnerAsString",
     [](BadInput& m) { m.user(kOwners).sz("LastOwner", "111"); },
     [](BadInput& m) {
       m.takeOver();
       m.reset();
     },
     {"Ungültiger Datentyp für 'LastOwner'", kNothingRead, "Sollen die alten Einstellungen geladen werden?",
      "Listenindex überschreitet das Maximum (-1)"}},
    {"LastOwnerAsQword",
     [](BadInput& m) { m.user(kOwners).raw("LastOwner", REG_QWORD, std::string("\x6F\0\0\0\0\0\0\0", 8)); },
     [](BadInput& m) { m.takeOver(); },
     {"Ungültiger Datentyp für 'LastOwner'", kNothingRead}},
    {"LastOwnerOfNoBytes",
     [](BadInput& m) { m.user(kOwners).raw("LastOwner", REG_DWORD, ""); },
     [](BadInput& m) { m.takeOver(); },
     {"Fehler beim Holen der Daten für 'LastOwner'", kNothingRead}},
    {"LastOwnerNamesNoProfile",
     [](BadInput& m) { m.user(kOwners).dword("LastOwner", 999); },
     [](BadInput& m) {
       EXPECT_EQ(m.form().shared().currentProfile, "111");
       EXPECT_EQ(m.comboText(m.ctl(ids::NN)), "Max (111)");
       EXPECT_TRUE(m.shownAsStored("111"));
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"BirthdaySwitchAsNumber",
     [](BadInput& m) { m.lite("111").dword("RemindBirthday", 1); },
     [](BadInput& m) {
       m.takeOver();
       m.chooseProfile(1);
       EXPECT_TRUE(m.shownAsStored("222"));
       m.takeOver();
       m.expectStoredAsShown("222");
     },
     {"Ungültiger Datentyp für 'RemindBirthday'", kNotRead111},
     takeOverOf("222")},
    {"BirthdayDaysAsString",
     [](BadInput& m) { m.lite("111").sz("RemindBirthday", "Yes").sz("RemindBirthdayDaysBefore", "5"); },
     [](BadInput& m) {
       EXPECT_TRUE(vak::isChecked(m.ctl(vak::ids::GebBox)));
       m.takeOver();
     },
     {"Ungültiger Datentyp für 'RemindBirthdayDaysBefore'", kNotRead111}},
    {"AwayTextAsNumber",
     [](BadInput& m) { m.lite("111").dword("AwayStatusText", 1); },
     [](BadInput& m) {
       EXPECT_EQ(m.text(m.ctl(ids::AwayEd)), "");
       m.takeOver();
     },
     {"Ungültiger Datentyp für 'AwayStatusText'", kNotRead111}},
    {"NaTextAsMultiString",
     [](BadInput& m) { m.lite("111").raw("NAStatusText", REG_MULTI_SZ, std::string("weg\0\0", 5)); },
     [](BadInput& m) { m.takeOver(); },
     {"Ungültiger Datentyp für 'NAStatusText'", kNotRead111}},
    {"AwayTextAsString",
     [](BadInput& m) { m.lite("111").sz("AwayStatusText", "zur\xC3\xBC" "ck").sz("NAStatusText", ""); },
     [](BadInput& m) {
       EXPECT_EQ(m.form().status().model().away, T("zurück"));
       EXPECT_EQ(m.form().status().model().na, "");
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"SoundSwitchAsNumber",
     [](BadInput& m) { m.user(ownersPath("111") + "\\CommonPrefs").dword("AllResponsePlay", 1); },
     [](BadInput& m) {
       EXPECT_TRUE(m.shownAsStored("111"));
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {"Ungültiger Datentyp für 'AllResponsePlay'"},
     takeOverOf("111")},
    {"LiteVersionAsNumber",
     [](BadInput& m) { m.machine("Software\\Mirabilis\\ICQ\\DefaultPrefs").dword("ICQLite Version", 2050); },
     [](BadInput& m) {
       EXPECT_TRUE(m.shownAsStored("111"));
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {"Ungültiger Datentyp für 'ICQLite Version'"},
     takeOverOf("111")},
    {"LiteVersionNotANumber",
     [](BadInput& m) { m.machine("Software\\Mirabilis\\ICQ\\DefaultPrefs").sz("ICQLite Version", "5.1"); },
     [](BadInput& m) { EXPECT_TRUE(m.form().status().editButtonShown(32)); },
     {"'5.1' ist kein gültiger Integerwert"}},
    {"LiteVersionOf64KiBDigits",
     [](BadInput& m) {
       m.machine("Software\\Mirabilis\\ICQ\\DefaultPrefs").sz("ICQLite Version", repeat("9", 65536));
     },
     [](BadInput& m) { EXPECT_TRUE(m.shownAsStored("111")); },
     // The message box shows it shortened (RealUi).
     {"'" + repeat("9", 65536) + "' ist kein gültiger Integerwert"}},
    {"MultiInstanceAsBinary",
     [](BadInput& m) { m.machine("Software\\Mirabilis\\ICQ\\DefaultPrefs").bin("MultiInstance", "Yes"); },
     [](BadInput&) {},
     {"Ungültiger Datentyp für 'MultiInstance'"}},

    // --- long strings, NULs inside, bytes 80-9F, broken UTF-8 pairs
    {"EntryTextsOf64KiBAnd1MiB",
     [](BadInput& m) {
       m.entry("111", 5).sz("Name", repeat("T", 65536)).sz("Description", repeat("Nachricht ", 104858));
     },
     [](BadInput& m) {
       EXPECT_EQ(m.title(5).size(), 65536u);
       EXPECT_EQ(m.message(5).size(), 1048580u);
       m.takeOver();
       m.expectStoredAsShown("111");
       EXPECT_EQ(vak::readSlot(m.folder_, 1).present, true);
     },
     {},
     takeOverOf("111")},
    {"ProfileNameOf64KiB",
     [](BadInput& m) { m.user(ownersPath("222")).sz("Name", repeat("E", 65536)); },
     [](BadInput& m) {
       EXPECT_EQ(vak::comboItem(m.ctl(ids::NN), 1), repeat("E", 65536) + " (222)");
       m.chooseProfile(1);
       EXPECT_TRUE(m.shownAsStored("222"));
     },
     {}},
    {"AwayTextsOf1MiBAnd64KiB",
     [](BadInput& m) { m.lite("111").bin("AwayStatusText", repeat("a", 1 << 20)).sz("NAStatusText", repeat("n", 65536)); },
     [](BadInput& m) {
       EXPECT_EQ(m.form().status().model().away, repeat("a", 1024));
       EXPECT_EQ(m.form().status().model().na, repeat("n", 65536));
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"NulsInsideValues",
     [](BadInput& m) {
       m.entry("111", 2).raw("Name", REG_SZ, std::string("ab\0cd\0", 6)).bin("Description", std::string("Hi\0Du\0", 6));
       m.lite("111").bin("AwayStatusText", std::string("AB\0C", 4));
     },
     [](BadInput& m) {
       EXPECT_EQ(m.title(2), "ab");
       EXPECT_EQ(m.message(2), "Hi\r\nDu");
       EXPECT_EQ(m.form().status().model().away, "AB");
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"Bytes80To9F",
     [](BadInput& m) {
       m.entry("111", 2).sz("Name", bytes80To9F()).sz("Description", "x" + bytes80To9F());
       m.lite("111").bin("AwayStatusText", bytes80To9F());
     },
     [](BadInput& m) {
       EXPECT_EQ(hex(m.title(2)), hex(bytes80To9F()));
       EXPECT_EQ(hex(m.message(2)), hex("x" + bytes80To9F()));
       EXPECT_EQ(hex(m.form().status().model().away), hex(bytes80To9F()));
       const Dump before = dumpTrees();
       m.takeOver();
       m.expectStoredAsShown("111");
       // Written back unchanged: the same characters in ICQ's keys.
       const Dump after = dumpTrees();
       for (const char* name : {"Name", "Description"}) {
         const std::string id = "HKCU|" + entryPath("111", 2) + "|" + name;
         ASSERT_TRUE(before.count(id) && after.count(id)) << id;
         EXPECT_EQ(hex(after.at(id).bytes), hex(before.at(id).bytes)) << name;
       }
     },
     {},
     takeOverOf("111")},
    {"BrokenUtf8Pairs",
     [](BadInput& m) {
       m.entry("111", 2).sz("Name", "a\xC3").sz("Description", "\xC3" "A \xC3\xC3\xA4 \xA4");
       m.entry("111", 3).bin("Name", "\xC3").bin("Description", std::string("\xBC\xC3\x00", 3));
     },
     [](BadInput& m) {
       EXPECT_EQ(hex(m.title(2)), hex("a\xC3"));
       EXPECT_EQ(hex(m.message(2)), hex("\xC3" "A \xC3\xE4 \xA4"));
       EXPECT_EQ(hex(m.title(3)), "C3");
       EXPECT_EQ(hex(m.message(3)), "BC C3");
       const Dump before = dumpTrees();
       m.takeOver();
       m.expectStoredAsShown("111");
       const std::string id = "HKCU|" + entryPath("111", 2) + "|Description";
       EXPECT_EQ(hex(dumpTrees().at(id).bytes), hex(before.at(id).bytes));
     },
     {},
     takeOverOf("111")},

    // --- missing keys at each level
    {"NoIcqAtAll",
     nullptr,
     [](BadInput& m) {
       EXPECT_EQ(vak::comboCount(m.ctl(ids::NN)), 0);
       EXPECT_EQ(m.title(1), "");
       EXPECT_TRUE(m.form().status().editButtonShown(32));
     },
     {},
     ownersCreated(),
     false},
    {"NoUserProfiles",
     [](BadInput& m) { m.removeUser("Software\\Mirabilis"); },
     [](BadInput& m) {
       EXPECT_EQ(vak::comboCount(m.ctl(ids::NN)), 0);
       EXPECT_EQ(m.title(1), "");
       EXPECT_EQ(m.text(m.ctl(ids::AwayEd)), "");
     },
     {},
     ownersCreated()},
    {"ProfileWithoutNameOrEntries",
     [](BadInput& m) {
       m.user(ownersPath("111")).drop("Name");
       m.removeUser(ownersPath("111") + "\\CustomStatusList");
     },
     [](BadInput& m) {
       EXPECT_EQ(vak::comboItem(m.ctl(ids::NN), 0), " (111)");
       for (int n = 1; n <= vak::kEntryCount; ++n) {
         EXPECT_EQ(m.title(n), "") << n;
         EXPECT_EQ(m.form().status().model().stateOf(n), 0) << n;
       }
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"EntryKeyMissing",
     [](BadInput& m) { m.removeUser(entryPath("111", 7)); },
     [](BadInput& m) {
       EXPECT_EQ(m.title(7), "");
       EXPECT_EQ(m.form().status().model().stateOf(7), 0);
       EXPECT_EQ(m.title(8), seedTitle("111", 8));
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"NoIcqLiteKey",
     [](BadInput& m) { m.removeMachine(litePath("111")); },
     [](BadInput& m) {
       EXPECT_EQ(m.text(m.ctl(ids::AwayEd)), "");
       EXPECT_FALSE(vak::isChecked(m.ctl(vak::ids::GebBox)));
       EXPECT_FALSE(IsWindowEnabled(m.ctl(vak::ids::GebEdit)));
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"NoMachineProfilesOrDefaultPrefs",
     [](BadInput& m) { m.removeMachine("Software\\Mirabilis"); },
     [](BadInput& m) {
       EXPECT_TRUE(m.form().status().editButtonShown(32));
       m.chooseProfile(1);
       EXPECT_EQ(m.title(3), seedTitle("222", 3));
       EXPECT_EQ(m.text(m.ctl(ids::NaEd)), "");
     },
     {}},
    {"FiveHundredProfiles",
     [](BadInput& m) {
       for (int i = 0; i < 500; ++i) m.profile(std::to_string(100000 + i), "P" + std::to_string(i), 1);
       m.user(kOwners).dword("LastOwner", 100499);
     },
     [](BadInput& m) {
       HWND nn = m.ctl(ids::NN);
       EXPECT_EQ(vak::comboCount(nn), 502);
       EXPECT_EQ(m.comboText(nn), "P499 (100499)");
       EXPECT_EQ(m.title(1), seedTitle("100499", 1));
       const int at = vak::comboFind(nn, "P250 (100250)");
       ASSERT_GE(at, 0);
       m.chooseProfile(at);
       EXPECT_EQ(m.form().shared().currentProfile, "100250");
       EXPECT_EQ(m.title(1), seedTitle("100250", 1));
       EXPECT_EQ(m.title(2), "");
     },
     {}},
    {"EntryKeysOutsideOneTo32",
     [](BadInput& m) {
       for (const char* n : {"0", "33", "100", "abc"})
         m.user(ownersPath("111") + "\\CustomStatusList\\" + n).dword("On", 1).sz("Name", std::string("fremd ") + n);
     },
     [](BadInput& m) {
       EXPECT_TRUE(m.shownAsStored("111"));
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},

    {"ProfileKeyUnreadable",
     [](BadInput& m) {
       if (!m.lockUser(ownersPath("222"))) GTEST_SKIP() << "key rights are not kept here";
     },
     [](BadInput& m) {
       ASSERT_EQ(vak::comboCount(m.ctl(ids::NN)), 1);
       EXPECT_EQ(vak::comboItem(m.ctl(ids::NN), 0), "Max (111)");
       EXPECT_EQ(vak::comboCount(m.ctl(ids::C_ICQNr)), 2);
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {},
     takeOverOf("111")},
    {"VirtualStoreAwayTextAsNumber",
     [](BadInput& m) {
       m.simulateStore();
       m.storeCopy(litePath("111")).dword("AwayStatusText", 7);
     },
     [](BadInput& m) { m.takeOver(); },
     {"Ungültiger Datentyp für 'AwayStatusText'", kNotRead111},
     birthdayOf("111")},
    {"VirtualStoreCopyWithoutAwayTexts",
     [](BadInput& m) {
       m.simulateStore();
       m.storeCopy(litePath("111")).sz("RemindBirthday", "No");
     },
     [](BadInput& m) {
       EXPECT_TRUE(m.shownAsStored("111"));
       m.editCell(1, 1, "neu");
       m.takeOver();
       const Dump d = dumpTrees();
       const std::string copy = "Store64|" + storePath(litePath("111")) + "|";
       ASSERT_TRUE(d.count(copy + "AwayStatusText"));
       EXPECT_EQ(d.at(copy + "AwayStatusText").bytes, seedAway("111"));
       EXPECT_EQ(d.at(copy + "NAStatusText").bytes, seedNa("111"));
     },
     {},
     takeOverWithStoreOf("111")},

    // --- the registry changed by another program while the window is open
    {"ProfileAddedMeanwhile",
     nullptr,
     [](BadInput& m) {
       m.meanwhile([&] { m.profile("0999", "Neu"); });
       m.chooseProfile(1);
       EXPECT_EQ(m.form().shared().currentProfile, "222");
       EXPECT_TRUE(m.shownAsStored("222"));
       m.takeOver();
       m.expectStoredAsShown("222");
     },
     {},
     takeOverOf("222")},
    {"ProfileRemovedMeanwhile",
     nullptr,
     [](BadInput& m) {
       m.meanwhile([&] { m.removeUser(ownersPath("111")); });
       m.chooseProfile(1);
       EXPECT_EQ(m.form().shared().currentProfile, "222");
       EXPECT_TRUE(m.shownAsStored("222"));
     },
     {}},
    {"ProfileAddedMeanwhileThenOneDeleted",
     [](BadInput& m) { m.user(kOwners).dword("LastOwner", 222); },
     [](BadInput& m) {
       m.meanwhile([&] { m.profile("0999", "Neu"); });
       m.chooseProfile(0);
       EXPECT_EQ(m.form().shared().currentProfile, "111");
       m.deleteProfileAt(0);
       EXPECT_TRUE(m.before_.count("HKCU|" + ownersPath("0999") + "|"));
     },
     {"Soll Das Profil Max (111) wirklich gelöscht werden?"},
     deletionOf("111")},
    {"ChosenProfileGoneMeanwhile",
     nullptr,
     [](BadInput& m) {
       m.meanwhile([&] {
         m.removeUser(ownersPath("222"));
         m.removeMachine(ownersPath("222"));
       });
       m.chooseProfile(1);
       EXPECT_TRUE(m.shownAsStored("111"));
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {"Das Profil 222 ist nicht mehr vorhanden" + kEllipsis},
     takeOverOf("111")},

    // --- status files
    {"LoadBinaryJunk",
     [](BadInput& m) { m.write("junk.icq", junk(65536)); },
     [](BadInput& m) {
       m.load(m.file("junk.icq"));
       EXPECT_TRUE(m.shownAsStored("111"));
     },
     {"Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?", "junk.icq ist keine korrekte Statusdatei!"}},
    {"LoadEmptyAndUnicodeJunk",
     [](BadInput& m) {
       m.write("leer.icq", "");
       m.write("utf16.icq", "\xFF\xFE" + junk(4097));
       m.write("utf8.icq", "\xEF\xBB\xBF" + junk(4097));
     },
     [](BadInput& m) {
       for (const char* f : {"leer.icq", "utf16.icq", "utf8.icq"}) m.load(m.file(f));
       EXPECT_TRUE(m.shownAsStored("111"));
     },
     {"Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?", "leer.icq ist keine korrekte Statusdatei!",
      "Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?", "utf16.icq ist keine korrekte Statusdatei!",
      "Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?", "utf8.icq ist keine korrekte Statusdatei!"}},
    {"LoadFiftyMegabytes",
     [](BadInput& m) { m.write("gross.icq", fiftyMegabytes("gross")); },
     [](BadInput& m) {
       m.load(m.file("gross.icq"));
       EXPECT_EQ(m.title(1), "gross 1");
       EXPECT_EQ(m.title(32), "gross 32");
       EXPECT_TRUE(m.boxChecked(3));
     },
     {"Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?"}},
    {"SaveOverFiftyMegabytes",
     [](BadInput& m) { m.write("gross.icq", fiftyMegabytes("gross")); },
     [](BadInput& m) {
       m.saveAs(m.file("gross.icq"));
       const std::string saved = readFileBytes(m.file("gross.icq"));
       EXPECT_GT(saved.size(), 50u * 1000 * 1000);
       EXPECT_NE(saved.find("[Fuell]\r\nx=0123456789"), std::string::npos);  // its other sections stay
       m.editCell(3, 1, "anders");
       m.load(m.file("gross.icq"));
       EXPECT_TRUE(m.shownAsStored("111"));
     },
     {"Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?"}},
    {"LoadMissingSectionsAndDuplicates",
     [](BadInput& m) {
       m.write("teil.icq", "[Statusdatei]\r\n#01=1\r\n[2]\r\na=erst\r\na=zweit\r\nc=1\r\n[2]\r\nb=spaet\r\n[5]\r\nb=nur b\r\n");
     },
     [](BadInput& m) {
       m.load(m.file("teil.icq"));
       EXPECT_EQ(m.title(2), "erst");
       EXPECT_TRUE(m.boxChecked(2));
       EXPECT_EQ(m.message(5), "nur b");
       for (int n : {1, 3, 32}) {
         EXPECT_EQ(m.title(n), "") << n;
         EXPECT_FALSE(m.boxChecked(n)) << n;
       }
       EXPECT_EQ(m.text(m.ctl(ids::AwayEd)), seedAway("111"));
     },
     {"Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?"}},
    {"LoadValuesOf100KB",
     [](BadInput& m) {
       m.write("lang.icq", statusFile([](int n) { return n % 8 == 1 ? repeat(std::to_string(n % 10), 102400) : "kurz"; }));
     },
     [](BadInput& m) {
       m.load(m.file("lang.icq"));
       EXPECT_EQ(m.title(9), repeat("9", 102400));
       EXPECT_EQ(m.title(10), "kurz");
       m.takeOver();
       m.expectStoredAsShown("111");
     },
     {"Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?"},
     takeOverOf("111")},
    {"LoadFolderMissingFileAndOddNumbers",
     [](BadInput& m) {
       vak::createDir(m.file("ordner.icq"));
       m.write("zahlen.icq", "[Statusdatei]\r\n #01 = 1 \r\n[1]\r\nc=0x1\r\n[2]\r\nc= 1 \r\n[3]\r\nc=99999999999\r\n[4]\r\n"
                             "c=1abc\r\n[5]\r\nc=-1\r\n[6]\r\nc=\r\n[7]\r\nc=+1\r\n");
     },
     [](BadInput& m) {
       m.load(m.file("ordner.icq"));
       m.load(m.file("fehlt.icq"));
       m.load(m.file("zahlen.icq"));
       for (int n = 1; n <= 7; ++n) EXPECT_EQ(m.boxChecked(n), n == 1 || n == 2 || n == 7) << n;
     },
     {"Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?", "ordner.icq ist keine korrekte Statusdatei!",
      "Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?", "fehlt.icq ist keine korrekte Statusdatei!",
      "Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?"}},
    {"StatusFileInUtf16",
     [](BadInput& m) {
       m.write("unicode.icq",
               utf16File("[Statusdatei]\r\n#01=1\r\n[1]\r\na=Grüße\r\nb=Łódź\r\nc=1\r\n[2]\r\na=zwei\r\n"));
     },
     [](BadInput& m) {
       m.load(m.file("unicode.icq"));
       EXPECT_EQ(m.title(1), T("Grüße"));
       EXPECT_EQ(m.message(1), T("?ód?"));
       EXPECT_TRUE(m.boxChecked(1));
       EXPECT_EQ(m.title(2), "zwei");
       // Saved over: it stays a Unicode file and gives the texts back.
       m.editCell(2, 1, "Tschüs");
       m.saveAs(m.file("unicode.icq"));
       EXPECT_EQ(readFileBytes(m.file("unicode.icq")).compare(0, 2, "\xFF\xFE"), 0);
       m.editCell(2, 1, "anders");
       m.load(m.file("unicode.icq"));
       EXPECT_EQ(m.title(2), T("Tschüs"));
       EXPECT_EQ(m.title(1), T("Grüße"));
     },
     {"Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?",
      "Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?"}},
    {"SaveUnderALongPath",
     nullptr,
     [](BadInput& m) {
       // Longer than MAX_PATH, which the profile functions take at most.
       ASSERT_TRUE(vak::createDir(m.file(repeat("a", 200))));
       ASSERT_TRUE(vak::createDir(m.file(repeat("a", 200) + "\\" + repeat("b", 100))));
       m.saveAs(m.file(repeat("a", 200) + "\\" + repeat("b", 100) + "\\satz"));
       EXPECT_FALSE(vak::fileExists(m.file(repeat("a", 200) + "\\" + repeat("b", 100) + "\\satz.icq")));
       EXPECT_TRUE(m.shownAsStored("111"));
     },
     {"In {dir}\\" + repeat("a", 200) + "\\" + repeat("b", 100) + "\\satz.icq kann nicht geschrieben werden"}},
    {"SaveAndLoadGermanFileName",
     nullptr,
     [](BadInput& m) {
       const std::string name = m.file("Gr\xC3\xBC\xC3\x9F" "e f\xC3\xBCr J\xC3\xBCrgen");  // Grüße für Jürgen
       m.saveAs(name);
       EXPECT_TRUE(vak::fileExists(name + ".icq"));
       m.editCell(3, 1, "anders");
       m.load(name + ".icq");
       EXPECT_TRUE(m.shownAsStored("111"));
     },
     {"Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?"}},
    {"SaveOverReadOnlyFile",
     [](BadInput& m) {
       m.write("fest.icq", "[Statusdatei]\r\n#01=1\r\n");
       if (!m.protect("fest.icq")) GTEST_SKIP() << "files cannot be write-protected here";
     },
     [](BadInput& m) {
       m.saveAs(m.file("fest.icq"));
       EXPECT_EQ(readFileBytes(m.file("fest.icq")), "[Statusdatei]\r\n#01=1\r\n");
       m.load(m.file("fest.icq"));
       EXPECT_EQ(m.title(1), "");
     },
     {"In {dir}\\fest.icq kann nicht geschrieben werden",
      "Aktuelle Statusmeldungen gehen verloren!\r\nWollen sie diese vorher speichern?"}},

    // --- backup slots
    {"BackupIsAFile",
     [](BadInput& m) { m.write("Backup", "kein Ordner"); },
     [](BadInput& m) {
       m.editCell(2, 1, "neu");
       m.takeOver();
       m.expectStoredAsShown("111");
       EXPECT_EQ(readFileBytes(m.file("Backup")), "kein Ordner");
     },
     {"In {dir}\\Backup\\1.icq kann nicht geschrieben werden"},
     takeOverOf("111")},
    {"BackupSlotsOfJunk",
     [](BadInput& m) {
       vak::createDir(m.file("Backup"));
       m.write("Backup\\1.icq", junk(20000));
       m.write("Backup\\2.icq", "");
       m.write("Backup\\3.icq", "[Statusdatei]\r\n#DATE=1.2.2020\r\n#TIME=3:4:5\r\n[1]\r\na=alt\r\n");
     },
     [](BadInput& m) {
       const auto labels = m.restoreSlot(3);
       ASSERT_EQ(labels.size(), 3u);
       EXPECT_EQ(labels[0], " kein Backup\r\n vorhanden!");
       EXPECT_EQ(labels[1], " kein Backup\r\n vorhanden!");
       EXPECT_EQ(labels[2], "1.2.2020\r\n3:4:5 Uhr");
       EXPECT_TRUE(m.shownAsStored("111"));
       m.takeOver();
       EXPECT_TRUE(vak::readSlot(m.folder_, 1).present);
       EXPECT_EQ(readFileBytes(m.file("Backup\\2.icq")), junk(20000));
       EXPECT_EQ(readFileBytes(m.file("Backup\\3.icq")), "");
     },
     {"3.icq ist keine korrekte Statusdatei!"},
     takeOverOf("111")},
    {"BackupSlotIsAFolder",
     [](BadInput& m) {
       vak::createDir(m.file("Backup"));
       vak::createDir(m.file("Backup\\1.icq"));
       m.write("Backup\\2.icq", "[Statusdatei]\r\n#DATE=2.1.2020\r\n#TIME=1:1:1\r\n#01=1\r\n");
     },
     [](BadInput& m) {
       m.takeOver();
       m.expectStoredAsShown("111");
       EXPECT_TRUE(vak::dirExists(m.file("Backup\\1.icq")));
       EXPECT_EQ(vak::readSlot(m.folder_, 2).label, "2.1.2020\r\n1:1:1 Uhr");
     },
     {"In {dir}\\Backup\\1.icq kann nicht geschrieben werden"},
     takeOverOf("111")},
    {"BackupSlotOfFiftyMegabytes",
     [](BadInput& m) {
       vak::createDir(m.file("Backup"));
       m.write("Backup\\1.icq", "[Statusdatei]\r\n#DATE=1.2.2020\r\n#TIME=3:4:5\r\n" + fiftyMegabytes("alt").substr(15));
     },
     [](BadInput& m) {
       const auto labels = m.restoreSlot(1);
       EXPECT_EQ(labels.at(0), "1.2.2020\r\n3:4:5 Uhr");
       EXPECT_EQ(m.title(9), "alt 9");
       m.takeOver();
       m.expectStoredAsShown("111");
       EXPECT_TRUE(vak::readSlot(m.folder_, 1).present);
       EXPECT_EQ(vak::readSlot(m.folder_, 2).label, "1.2.2020\r\n3:4:5 Uhr");
     },
     {},
     takeOverOf("111")},
    {"BackupSlotWriteProtected",
     [](BadInput& m) {
       vak::createDir(m.file("Backup"));
       for (int k = 1; k <= 3; ++k)
         m.write("Backup\\" + std::to_string(k) + ".icq",
                 "[Statusdatei]\r\n#DATE=" + std::to_string(k) + ".1.2020\r\n#TIME=1:1:1\r\n#01=1\r\n");
       if (!m.protect("Backup\\3.icq")) GTEST_SKIP() << "files cannot be write-protected here";
     },
     [](BadInput& m) {
       m.takeOver();
       EXPECT_NE(vak::readSlot(m.folder_, 1).label, "1.1.2020\r\n1:1:1 Uhr");
       EXPECT_EQ(vak::readSlot(m.folder_, 2).label, "2.1.2020\r\n1:1:1 Uhr");
       EXPECT_EQ(vak::readSlot(m.folder_, 3).label, "3.1.2020\r\n1:1:1 Uhr");
     },
     {},
     takeOverOf("111")},
    {"BackupFolderWriteProtected",
     [](BadInput& m) {
       vak::createDir(m.file("Backup"));
       m.write("Backup\\1.icq", "[Statusdatei]\r\n#DATE=1.1.2020\r\n#TIME=1:1:1\r\n#01=1\r\n");
       if (!m.protect("Backup")) GTEST_SKIP() << "folders cannot be write-protected here";
     },
     [](BadInput& m) {
       m.takeOver();
       m.expectStoredAsShown("111");
       EXPECT_EQ(vak::readSlot(m.folder_, 1).label, "1.1.2020\r\n1:1:1 Uhr");
     },
     {"In {dir}\\Backup\\1.icq kann nicht geschrieben werden"},
     takeOverOf("111")},

    // --- the settings file, the program folder, language files
    {"EinstIniIsAFolder",
     [](BadInput& m) { vak::createDir(m.file("Einst.ini")); },
     [](BadInput& m) {
       m.settingsTab();
       EXPECT_TRUE(vak::isChecked(m.ctl(ids::SICQNr)));
       m.saveSettings();
       EXPECT_EQ(m.text(m.ctl(ids::EinstStat)), "");
     },
     {"In {dir}\\Einst.ini kann nicht geschrieben werden"}},
    {"EinstIniInUtf16",
     [](BadInput& m) { m.write("Einst.ini", utf16File("[Einstellungen]\r\n#05=0\r\n#03=2\r\n")); },
     [](BadInput& m) {
       m.settingsTab();
       EXPECT_FALSE(vak::isChecked(m.ctl(ids::HintBox)));
       m.saveSettings();
       EXPECT_EQ(m.text(m.ctl(ids::EinstStat)), T("Einstellungen übernommen"));
       EXPECT_EQ(readFileBytes(m.file("Einst.ini")).compare(0, 2, "\xFF\xFE"), 0);
       EXPECT_EQ(m.form().shared().settings().readString("ICQStatFile", "#01", ""), "1");
     },
     {}},
    {"EinstIniReadOnly",
     [](BadInput& m) {
       m.write("Einst.ini", "[Einstellungen]\r\n#05=0\r\n#03=2\r\n");
       if (!m.protect("Einst.ini")) GTEST_SKIP() << "files cannot be write-protected here";
     },
     [](BadInput& m) {
       m.settingsTab();
       EXPECT_FALSE(vak::isChecked(m.ctl(ids::HintBox)));
       m.saveSettings();
       EXPECT_EQ(readFileBytes(m.file("Einst.ini")), "[Einstellungen]\r\n#05=0\r\n#03=2\r\n");
     },
     {"In {dir}\\Einst.ini kann nicht geschrieben werden"}},
    {"EinstIniReadOnlyWithSoundsOn",
     [](BadInput& m) {
       m.user(ownersPath("111") + "\\CommonPrefs").sz("AllResponsePlay", "No");
       m.user(ownersPath("222") + "\\CommonPrefs").sz("AllResponsePlay", "Yes");
       m.write("Einst.ini", "[Einstellungen]\r\n#05=1\r\n");
       if (!m.protect("Einst.ini")) GTEST_SKIP() << "files cannot be write-protected here";
     },
     [](BadInput& m) {
       // Sounds on again: the sound switches are kept in Einst.ini.
       m.chooseProfile(1);
       EXPECT_TRUE(m.shownAsStored("222"));
       m.takeOver();
       m.expectStoredAsShown("222");
       EXPECT_EQ(readFileBytes(m.file("Einst.ini")), "[Einstellungen]\r\n#05=1\r\n");
     },
     {"In {dir}\\Einst.ini kann nicht geschrieben werden"},
     takeOverOf("222")},
    {"EinstIniOfJunkAndHugeValues",
     [](BadInput& m) {
       m.write("Einst.ini", junk(3000) + "\r\n[ICQStatFile]\r\n#01=1\r\n[Einstellungen]\r\n#01=" +
                                repeat("9", 102400) + "\r\n#02=0\r\n#03=99999999999\r\n#04=" + repeat("x", 102400) +
                                "\r\n#05=abc\r\n");
     },
     [](BadInput& m) {
       EXPECT_EQ(m.form().shared().currentProfile, "111");
       EXPECT_TRUE(m.shownAsStored("111"));
       m.settingsTab();
       EXPECT_TRUE(vak::isChecked(m.ctl(ids::HintBox)));
       m.saveSettings();
       EXPECT_EQ(m.text(m.ctl(ids::EinstStat)), T("Einstellungen übernommen"));
     },
     {}},
    {"ProgramFolderWriteProtected",
     [](BadInput& m) {
       if (!m.protect("")) GTEST_SKIP() << "folders cannot be write-protected here";
     },
     [](BadInput& m) {
       m.takeOver();
       m.expectStoredAsShown("111");
       m.settingsTab();
       m.saveSettings();
       m.saveAs(m.file("neu.icq"));
     },
     {"In {dir}\\Backup\\1.icq kann nicht geschrieben werden", "In {dir}\\Einst.ini kann nicht geschrieben werden",
      "In {dir}\\neu.icq kann nicht geschrieben werden"},
     takeOverOf("111")},
    {"LanguageFilesOfJunk",
     [](BadInput& m) {
       vak::createDir(m.folder_ + "LNG");
       writeFileBytes(m.folder_ + "LNG\\junk.lng", junk(30000));
       writeFileBytes(m.folder_ + "LNG\\utf16.lng", "\xFF\xFE" + junk(3001));
       writeFileBytes(m.folder_ + "LNG\\leer.lng", "");
       vak::createDir(m.folder_ + "LNG\\ordner.lng");
     },
     [](BadInput& m) {
       HWND languages = m.ctl(ids::ComboLng);
       ASSERT_GE(vak::comboCount(languages), 1);
       EXPECT_EQ(vak::comboItem(languages, 0), "deutsch");
       EXPECT_TRUE(m.shownAsStored("111"));
     },
     {}},
    {"LanguageFilesHuge",
     [](BadInput& m) {
       vak::createDir(m.folder_ + "LNG");
       writeFileBytes(m.folder_ + "LNG\\gross.lng", "[Texte]\r\n" + repeat("t=" + repeat("abcdefghij", 9) + "\r\n", 200000) +
                                                      "[Info]\r\n#01=2.0\r\n#02=Gross\r\n");
       writeFileBytes(m.folder_ + "LNG\\lang.lng", "[Info]\r\n#02=" + repeat("L", 102400) + "\r\n");
     },
     [](BadInput& m) {
       HWND languages = m.ctl(ids::ComboLng);
       ASSERT_EQ(vak::comboCount(languages), 3);
       EXPECT_NE(vak::comboFind(languages, "Gross"), -1);
       EXPECT_NE(vak::comboFind(languages, repeat("L", 102400)), -1);
     },
     {}},
};

INSTANTIATE_TEST_SUITE_P(Matrix, BadInput, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
