#include "TestSupport.h"

#include <windows.h>
#include <sddl.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/Handle.h"
#include "platform/Path.h"
#include "platform/Registry.h"
#include "platform/Text.h"

namespace vaktest {
namespace {

struct HandleTraits {
  using type = HANDLE;
  static HANDLE invalid() { return nullptr; }
  static void close(HANDLE h) { CloseHandle(h); }
};
using OwnedHandle = vak::Handle<HandleTraits>;

struct FileTraits {
  using type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
using FileHandle = vak::Handle<FileTraits>;

std::string quote(const std::string& s) { return "\"" + s + "\""; }

void mustRun(const std::string& cmd) {
  std::string out;
  const int rc = run(cmd, &out);
  if (rc != 0) throw std::runtime_error("failed (" + std::to_string(rc) + "): " + cmd + "\n" + out);
}

// Windows path of the folder for test files.
std::string tempBase() {
  const char* unixPath = std::getenv("VAK_TEST_TMP");
  if (unixPath && *unixPath) {
    std::string p = std::string("Z:") + unixPath;
    char full[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(p.c_str(), sizeof full, full, nullptr);
    if (n > 0 && n < sizeof full) return std::string(full, n);
    return p;
  }
  char tmp[MAX_PATH + 1];
  const DWORD n = GetTempPathA(sizeof tmp, tmp);
  std::string p(tmp, n);
  return p + "vak-tests";
}

void createDirs(const std::string& path) {
  for (std::size_t i = 3; i <= path.size(); ++i)
    if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

// Wide functions: test folders may hold names beyond the ANSI code page.
void removeTree(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeTree(child);
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(path.c_str());
}

std::string trimmedToken(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

}  // namespace

// --- the test prefix -----------------------------------------------------------

bool inOwnTestPrefix(std::string& why) {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) {
    why = "not running under Wine (the tests run only in their own Wine prefix)";
    return false;
  }
  char prefix[4096];
  const DWORD n = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
  if (n == 0 || n >= sizeof prefix) {
    why = "WINEPREFIX is not set; run the tests through ctest or cmake/wine-run.sh";
    return false;
  }
  const std::string markerFile = std::string("Z:") + std::string(prefix, n) + "/.vak-test-prefix";
  std::string fileToken;
  try {
    fileToken = trimmedToken(readFileBytes(markerFile));
  } catch (const std::exception&) {
    why = std::string("the prefix ") + prefix + " has no marker of the tests (cmake/wine-run.sh --warmup creates it)";
    return false;
  }
  char regToken[256];
  DWORD size = sizeof regToken;
  if (RegGetValueA(HKEY_CURRENT_USER, "Software\\VAK Testumgebung", "Kennung", RRF_RT_REG_SZ, nullptr, regToken,
                   &size) != ERROR_SUCCESS ||
      fileToken.empty() || fileToken != regToken) {
    why = std::string("the registry in use is not the one of the marked prefix ") + prefix;
    return false;
  }
  return true;
}

// --- ScriptedUi --------------------------------------------------------------

ScriptedUi::ScriptedUi() : previous_(vak::setUi(this)) {}

ScriptedUi::~ScriptedUi() { vak::setUi(previous_); }

int ScriptedUi::messageBox(const std::string& caption, const std::string& text, unsigned buttons, unsigned icon) {
  boxes.push_back(Box{caption, text, buttons, icon});
  if (!answers.empty()) {
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  return buttons == vak::MbYesNo ? vak::MbResNo : vak::MbResOk;
}

std::optional<std::string> ScriptedUi::openFileDialog(const std::string& filter) {
  openFilters.push_back(filter);
  if (openNames.empty()) return std::nullopt;
  std::optional<std::string> r = openNames.front();
  openNames.pop_front();
  return r;
}

std::optional<std::string> ScriptedUi::saveFileDialog(const std::string& filter) {
  saveFilters.push_back(filter);
  if (saveNames.empty()) return std::nullopt;
  std::optional<std::string> r = saveNames.front();
  saveNames.pop_front();
  return r;
}

// --- RecordingShell ------------------------------------------------------------

RecordingShell::RecordingShell() : previous_(vak::setShell(this)) {}

RecordingShell::~RecordingShell() { vak::setShell(previous_); }

bool RecordingShell::open(const std::string& file, int showCommand) {
  opened.push_back(Open{file, showCommand});
  return openSucceeds;
}

void RecordingShell::exitProcess(unsigned code) { exits.push_back(code); }

// --- processes -----------------------------------------------------------------

int run(const std::string& commandLine, std::string* out) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE readRaw = nullptr, writeRaw = nullptr;
  if (!CreatePipe(&readRaw, &writeRaw, &sa, 0)) return -1;
  OwnedHandle readEnd(readRaw), writeEnd(writeRaw);
  SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
  FileHandle nul(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                              OPEN_EXISTING, 0, nullptr));

  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = nul.get();
  si.hStdOutput = writeEnd.get();
  si.hStdError = nul.get();
  PROCESS_INFORMATION pi{};
  std::string cmd = commandLine;
  bool started = false;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt) Sleep(100);
    started = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi) != 0;
  }
  if (!started) return -1;
  OwnedHandle process(pi.hProcess), thread(pi.hThread);
  writeEnd.reset();  // only the child holds the write end now: EOF when it ends

  std::string text;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(readEnd.get(), buf, sizeof buf, &got, nullptr) && got > 0) text.append(buf, got);
  WaitForSingleObject(process.get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  if (out) {
    out->clear();
    for (char c : text)
      if (c != '\r') *out += c;
  }
  return static_cast<int>(code);
}

namespace {
// The view reg.exe addresses a key in: the 32-bit one, ICQ's, except in the
// virtual store, which lies at one place of the user's hive (Wine's 32-bit
// view would move ...\MACHINE\SOFTWARE\X to ...\MACHINE\SOFTWARE\WOW6432Node\X).
std::string viewOf(const std::string& key) {
  static const std::string store = "HKCU\\Software\\Classes\\VirtualStore\\";
  return key.compare(0, store.size(), store) == 0 ? " /reg:64" : " /reg:32";
}
}  // namespace

void regAddString(const std::string& key, const std::string& name, const std::string& value) {
  mustRun("reg add " + quote(key) + " /v " + quote(name) + " /t REG_SZ /d " + quote(value) + " /f" + viewOf(key));
}

void regAddDword(const std::string& key, const std::string& name, unsigned value) {
  char num[16];
  std::snprintf(num, sizeof num, "0x%08X", value);
  mustRun("reg add " + quote(key) + " /v " + quote(name) + " /t REG_DWORD /d " + num + " /f" + viewOf(key));
}

void regAddBinary(const std::string& key, const std::string& name, const std::string& hexBytes) {
  mustRun("reg add " + quote(key) + " /v " + quote(name) + " /t REG_BINARY /d " + quote(hexBytes) + " /f" +
          viewOf(key));
}

void regAddKey(const std::string& key) { mustRun("reg add " + quote(key) + " /f" + viewOf(key)); }

void regDeleteKey(const std::string& key) { run("reg delete " + quote(key) + " /f" + viewOf(key)); }

bool regKeyExists(const std::string& key) { return run("reg query " + quote(key) + viewOf(key)) == 0; }

std::optional<RegQuery> regQuery(const std::string& key, const std::string& name) {
  std::string out;
  // Under load Wine's reg.exe now and then fails without a word; a value that
  // is really missing fails every time.
  int rc = -1;
  for (int attempt = 0; attempt < 3 && rc != 0; ++attempt) {
    if (attempt) Sleep(150);
    rc = run("reg query " + quote(key) + " /v " + quote(name) + viewOf(key), &out);
  }
  if (rc != 0) return std::nullopt;
  // Lines: "    NAME    TYPE    DATA".
  const std::string head = "    " + name + "    ";
  std::size_t pos = 0;
  while (pos < out.size()) {
    std::size_t end = out.find('\n', pos);
    if (end == std::string::npos) end = out.size();
    const std::string line = out.substr(pos, end - pos);
    pos = end + 1;
    if (line.compare(0, head.size(), head) != 0) continue;
    const std::string rest = line.substr(head.size());
    const std::size_t sep = rest.find("    ");
    if (sep == std::string::npos) return RegQuery{rest, ""};
    return RegQuery{rest.substr(0, sep), rest.substr(sep + 4)};
  }
  return std::nullopt;
}

// --- the virtual store and key rights -------------------------------------------

namespace {
// ICQ's keys in both store paths, straight through the API (reg.exe costs a process per call).
void removeStoredIcq() {
  for (const char* key : {kStoreIcq64, kStoreIcq32}) {
    const std::string sub = std::string(key).substr(std::string("HKCU\\").size());
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &k) != ERROR_SUCCESS)
      continue;
    RegDeleteTreeA(k, nullptr);
    RegCloseKey(k);
    RegDeleteKeyExA(HKEY_CURRENT_USER, sub.c_str(), KEY_WOW64_64KEY, 0);
  }
}
}  // namespace

SimulatedVirtualStore::SimulatedVirtualStore(vak::VirtualStoreKind kind) : kind_(kind) {
  removeStoredIcq();
  vak::setSystemVirtualStore(kind);
}

SimulatedVirtualStore::~SimulatedVirtualStore() {
  vak::setSystemVirtualStore(std::nullopt);
  removeStoredIcq();
}

std::string SimulatedVirtualStore::icq(const std::string& sub) const {
  return (kind_ == vak::VirtualStoreKind::Native ? kStoreIcq32 : kStoreIcq64) + sub;
}

namespace {
bool opens(HKEY root, const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, access | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}
}  // namespace

RestrictedKey::RestrictedKey(void* root, std::string path, const char* sddl) : root_(root), path_(std::move(path)) {
  const HKEY base = static_cast<HKEY>(root_);
  HKEY key = nullptr;
  if (RegOpenKeyExA(base, path_.c_str(), 0, WRITE_DAC | READ_CONTROL | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return;
  opened_ = true;
  PSECURITY_DESCRIPTOR sd = nullptr;
  LONG set = ERROR_INVALID_PARAMETER;
  if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr)) {
    set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd);
    LocalFree(sd);
  }
  RegCloseKey(key);
  readRefused_ = set == ERROR_SUCCESS && !opens(base, path_, KEY_READ);
  writeRefused_ = set == ERROR_SUCCESS && !opens(base, path_, KEY_READ | KEY_WRITE);
}

RestrictedKey::~RestrictedKey() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(static_cast<HKEY>(root_), path_.c_str(), 0, WRITE_DAC | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS) {
    SECURITY_DESCRIPTOR open;
    InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);  // NULL DACL: everyone everything
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &open);
    RegCloseKey(key);
  }
}

// --- files ---------------------------------------------------------------------

std::string freshDir(const std::string& name) {
  const std::string dir = tempBase() + "\\" + name;
  removeTree(vak::widePath(dir));
  createDirs(dir);
  if (!(GetFileAttributesA(dir.c_str()) & FILE_ATTRIBUTE_DIRECTORY) ||
      GetFileAttributesA(dir.c_str()) == INVALID_FILE_ATTRIBUTES)
    throw std::runtime_error("cannot create test folder " + dir);
  return dir;
}

std::string readFileBytes(const std::string& path) {
  FileHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr));
  if (!h.valid()) throw std::runtime_error("cannot read " + path);
  std::string data;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h.get(), buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
  return data;
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
  FileHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.valid()) throw std::runtime_error("cannot write " + path);
  DWORD written = 0;
  if (!bytes.empty() && (!WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                         written != bytes.size()))
    throw std::runtime_error("short write " + path);
}

// --- misc ----------------------------------------------------------------------

void pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::string hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (i) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

// The bytes of a REG_SZ value as a program reading it through the ANSI
// functions gets them. reg query prints in the console's code page, which
// loses letters; reg export writes the exact characters (UTF-16).
std::optional<std::string> regExportedString(const std::string& key, const std::string& name) {
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
