#pragma once
// Helpers for the Windows tests (run under Wine).
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Shell.h"
#include "platform/Ui.h"
#include "platform/VirtualStore.h"

namespace vaktest {

// A UiSeam that records every message box and dialog and answers from queues.
// Unscripted message boxes answer OK/No(=MbResNo for Yes/No); unscripted
// dialogs are cancelled.
class ScriptedUi : public vak::UiSeam {
 public:
  struct Box {
    std::string caption, text;  // Windows-1252
    unsigned buttons, icon;
  };
  std::vector<Box> boxes;
  std::deque<int> answers;                            // for messageBox
  std::deque<std::optional<std::string>> openNames;   // for openFileDialog
  std::deque<std::optional<std::string>> saveNames;   // for saveFileDialog
  std::vector<std::string> openFilters, saveFilters;

  ScriptedUi();   // installs itself
  ~ScriptedUi() override;  // restores the previous seam

  int messageBox(const std::string& caption, const std::string& text, unsigned buttons, unsigned icon) override;
  std::optional<std::string> openFileDialog(const std::string& filter) override;
  std::optional<std::string> saveFileDialog(const std::string& filter) override;

 private:
  vak::UiSeam* previous_;
};

// Whether this process runs in a Wine prefix that cmake/wine-run.sh created
// for the tests: under Wine, WINEPREFIX set, and the token of the prefix's
// marker file equal to the one in its registry. Otherwise why says what is missing.
bool inOwnTestPrefix(std::string& why);

// A ShellSeam that records what would be opened and the end of the process
// (which then does not happen).
class RecordingShell : public vak::ShellSeam {
 public:
  struct Open {
    std::string file;
    int show;
  };
  std::vector<Open> opened;
  std::vector<unsigned> exits;
  bool openSucceeds = true;

  RecordingShell();   // installs itself
  ~RecordingShell() override;
  bool open(const std::string& file, int showCommand) override;
  void exitProcess(unsigned code) override;

 private:
  vak::ShellSeam* previous_;
};

// Runs a command line (e.g. "reg add ...") inside Wine, waits, returns its exit
// code; its standard output (CR removed) goes to *out when given.
int run(const std::string& commandLine, std::string* out = nullptr);

// Wine's reg.exe, 32-bit view, as an outside writer/reader; keys of the
// virtual store (kStoreIcq64, kStoreIcq32) in the native view, where the
// system keeps them. key like "HKCU\\Software\\Mirabilis\\ICQ\\NewOwners\\123".
void regAddString(const std::string& key, const std::string& name, const std::string& value);
void regAddDword(const std::string& key, const std::string& name, unsigned value);
void regAddBinary(const std::string& key, const std::string& name, const std::string& hexBytes);
void regAddKey(const std::string& key);
void regDeleteKey(const std::string& key);  // no error when missing
bool regKeyExists(const std::string& key);
// "reg query KEY /v NAME /reg:32": nullopt when missing, else {type, data} as reg prints them.
struct RegQuery { std::string type, data; };
std::optional<RegQuery> regQuery(const std::string& key, const std::string& name);

// The bytes of a REG_SZ value (32-bit view) as the program's ANSI reads see
// them; reg query would lose letters in the console's code page.
std::optional<std::string> regExportedString(const std::string& key, const std::string& name);

// ICQ's keys in the user's virtual store as 64-bit and as 32-bit Windows keep
// them, as reg.exe names them (HKCU\Software\Classes is one key for both
// views, under Wine as on Windows 7 and later).
inline const char* const kStoreIcq64 =
    "HKCU\\Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Mirabilis\\ICQ";
inline const char* const kStoreIcq32 = "HKCU\\Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Mirabilis\\ICQ";

// While it lives, the registry layer takes the system for one that keeps a
// virtual store of the given kind (Wine keeps none); ICQ's keys in both
// store paths are removed when it starts and when it ends.
class SimulatedVirtualStore {
 public:
  explicit SimulatedVirtualStore(vak::VirtualStoreKind kind);
  ~SimulatedVirtualStore();
  SimulatedVirtualStore(const SimulatedVirtualStore&) = delete;
  SimulatedVirtualStore& operator=(const SimulatedVirtualStore&) = delete;
  // ICQ's key in this store as reg.exe names it; sub like "\\DefaultPrefs".
  std::string icq(const std::string& sub = "") const;

 private:
  vak::VirtualStoreKind kind_;
};

// While it lives, a key (32-bit view) has only the rights of the DACL `sddl`
// (kNobody, kEveryoneReads); then everyone everything again.
class RestrictedKey {
 public:
  static constexpr const char* kNobody = "D:P";
  static constexpr const char* kEveryoneReads = "D:P(A;;KR;;;WD)";
  // root is HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE (a void* to keep
  // <windows.h> out of this header); path relative to it.
  RestrictedKey(void* root, std::string path, const char* sddl);
  ~RestrictedKey();
  RestrictedKey(const RestrictedKey&) = delete;
  RestrictedKey& operator=(const RestrictedKey&) = delete;
  // Whether its rights could be changed.
  bool opened() const { return opened_; }
  // Whether the key now refuses to be opened for reading / for writing.
  bool readRefused() const { return readRefused_; }
  bool writeRefused() const { return writeRefused_; }

 private:
  void* root_;
  std::string path_;
  bool opened_ = false, readRefused_ = false, writeRefused_ = false;
};

// A fresh empty folder for one test (under VAK_TEST_TMP or %TEMP%), Windows path, no trailing "\".
std::string freshDir(const std::string& name);
std::string readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::string& bytes);

// Dispatches pending messages of this thread until none is left.
void pumpMessages();

// Hex dump "7A 75 72" of bytes, for readable failures.
std::string hex(const std::string& bytes);

}  // namespace vaktest
