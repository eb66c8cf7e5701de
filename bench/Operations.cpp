#include "Operations.h"

#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

#include "Startup.h"
#include "app/Ids.h"
#include "app/MainWindow.h"
#include "settings/WebViewer.h"
#include "platform/Convert.h"
#include "platform/Files.h"
#include "platform/Ui.h"
#include "status/EditorDialog.h"
#include "status/EntryText.h"
#include "status/FileRules.h"
#include "status/Letters.h"
#include "status/LineCodec.h"
#include "status/RestoreDialog.h"

namespace bench {

namespace {

// Answers the program's questions and dialogs.
class BenchUi : public vak::UiSeam {
 public:
  std::vector<std::string> errors;
  std::deque<std::string> openNames, saveNames;

  // A question is answered No; any other message (an error, a file that is
  // not a status file) means the operation did not do its work.
  int messageBox(const std::string&, const std::string& text, unsigned buttons, unsigned) override {
    if (buttons == vak::MbYesNo) return vak::MbResNo;
    errors.push_back(text);
    return vak::MbResOk;
  }
  std::optional<std::string> openFileDialog(const std::string&) override { return next(openNames); }
  std::optional<std::string> saveFileDialog(const std::string&) override { return next(saveNames); }

 private:
  static std::optional<std::string> next(std::deque<std::string>& q) {
    if (q.empty()) return std::nullopt;
    std::string s = q.front();
    q.pop_front();
    return s;
  }
};

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

double timed(const std::function<void()>& f) {
  const double t0 = nowMs();
  f();
  return nowMs() - t0;
}

constexpr REGSAM kView = KEY_WOW64_32KEY;
const char* const kOwners = "Software\\Mirabilis\\ICQ\\NewOwners";

struct IniValue {
  std::string section, key, value;
};

// What the program writes into a status file for this set, in its order.
std::vector<IniValue> statusFileValues(const vak::StatusModel& m) {
  std::vector<IniValue> out{{"Statusdatei", "#01", "1"}};
  for (int n = 1; n <= vak::kEntryCount; ++n) {
    const std::string s = vak::intToStr(n);
    const auto text = [&](const char* key, const std::string& t) {
      if (vak::needsEscapedForm(t)) {
        out.push_back({s, key, vak::plainForm(t)});
        out.push_back({s, vak::escapedKey(key), vak::escapeValue(t)});
      } else {
        out.push_back({s, key, t});
      }
    };
    text("a", m.entry(n).title);
    text("b", m.entry(n).message);
    out.push_back({s, "c", vak::intToStr(m.stateOf(n))});
  }
  return out;
}

void writeIni(const std::vector<IniValue>& values, const std::string& path) {
  for (const IniValue& v : values)
    WritePrivateProfileStringA(v.section.c_str(), v.key.c_str(), v.value.c_str(), path.c_str());
}

// The same writes as "Änderungen übernehmen" with the bare calls.
struct BareChange {
  struct Entry {
    std::string key, name, description;
    DWORD number, on;
  };
  std::vector<Entry> entries;
  std::string liteKey;
  std::vector<std::uint8_t> away, na;
  std::string folder;
  std::vector<IniValue> backup;

  void run() const {
    for (const Entry& e : entries) {
      HKEY k = nullptr;
      if (RegCreateKeyExA(HKEY_CURRENT_USER, e.key.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE | kView, nullptr, &k,
                          nullptr) != ERROR_SUCCESS)
        continue;
      RegSetValueExA(k, "LineNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&e.number), 4);
      RegSetValueExA(k, "On", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&e.on), 4);
      RegSetValueExA(k, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(e.name.c_str()),
                     static_cast<DWORD>(e.name.size() + 1));
      RegSetValueExA(k, "Description", 0, REG_SZ, reinterpret_cast<const BYTE*>(e.description.c_str()),
                     static_cast<DWORD>(e.description.size() + 1));
      RegCloseKey(k);
    }
    HKEY k = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, liteKey.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE | kView, nullptr, &k,
                        nullptr) == ERROR_SUCCESS) {
      RegSetValueExA(k, "AwayStatusText", 0, REG_BINARY, away.data(), static_cast<DWORD>(away.size()));
      RegSetValueExA(k, "NAStatusText", 0, REG_BINARY, na.data(), static_cast<DWORD>(na.size()));
      RegCloseKey(k);
    }
    const std::string dir = folder + "\\Backup";
    CreateDirectoryA(dir.c_str(), nullptr);
    DeleteFileA((dir + "\\3.icq").c_str());
    MoveFileA((dir + "\\2.icq").c_str(), (dir + "\\3.icq").c_str());
    MoveFileA((dir + "\\1.icq").c_str(), (dir + "\\2.icq").c_str());
    writeIni(backup, dir + "\\1.icq");
  }
};

// The same reads as choosing a profile, with the bare calls.
struct BareRead {
  std::string einst, uin;

  static void query(HKEY k, const char* name) {
    BYTE data[2048];
    DWORD type = 0, size = sizeof data;
    RegQueryValueExA(k, name, nullptr, &type, data, &size);
  }

  void run() const {
    char text[64];
    GetPrivateProfileStringA("Einstellungen", "#03", "", text, sizeof text, einst.c_str());
    HKEY owners = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOwners, 0, KEY_READ | kView, &owners) != ERROR_SUCCESS) return;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD len = sizeof name;
      if (RegEnumKeyExA(owners, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      HKEY probe = nullptr;
      if (RegOpenKeyExA(owners, name, 0, KEY_READ | kView, &probe) == ERROR_SUCCESS) RegCloseKey(probe);
    }
    RegCloseKey(owners);
    // Each entry key once, found from the list key, all three values at once.
    const std::string list = std::string(kOwners) + "\\" + uin + "\\CustomStatusList";
    HKEY entries = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, list.c_str(), 0, KEY_READ | kView, &entries) == ERROR_SUCCESS) {
      for (int n = 1; n <= vak::kEntryCount; ++n) {
        HKEY k = nullptr;
        if (RegOpenKeyExA(entries, vak::intToStr(n).c_str(), 0, KEY_READ | kView, &k) != ERROR_SUCCESS) continue;
        query(k, "On");
        query(k, "Name");
        query(k, "Description");
        RegCloseKey(k);
      }
      RegCloseKey(entries);
    }
    HKEY k = nullptr;
    const std::string lite = "software\\mirabilis\\icq\\NewOwners\\" + uin + "\\ICQLite";
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, lite.c_str(), 0, KEY_READ | kView, &k) == ERROR_SUCCESS) {
      query(k, "RemindBirthday");
      query(k, "RemindBirthdayDaysBefore");
      query(k, "AwayStatusText");
      query(k, "NAStatusText");
      RegCloseKey(k);
    }
    const std::string prefs = "software\\mirabilis\\icq\\NewOwners\\" + uin + "\\CommonPrefs";
    if (RegOpenKeyExA(HKEY_CURRENT_USER, prefs.c_str(), 0, KEY_READ | kView, &k) == ERROR_SUCCESS) {
      query(k, "AllResponsePlay");
      RegCloseKey(k);
    }
  }
};

// The same reads as loading a status file: the escaped form of a text first.
void bareLoad(const std::string& path) {
  char text[2048];  // the size the program starts with
  GetPrivateProfileStringA("Statusdatei", "#01", "", text, sizeof text, path.c_str());
  for (int n = 1; n <= vak::kEntryCount; ++n) {
    const std::string s = vak::intToStr(n);
    for (const char* key : {"a", "b"}) {
      GetPrivateProfileStringA(s.c_str(), (std::string(key) + "x").c_str(), "\x01", text, sizeof text, path.c_str());
      if (text[0] == '\x01' && text[1] == '\0')
        GetPrivateProfileStringA(s.c_str(), key, "", text, sizeof text, path.c_str());
    }
    GetPrivateProfileStringA(s.c_str(), "c", "", text, sizeof text, path.c_str());
  }
}

void emptyFolder(const std::string& folder) {
  for (const char* name : {"\\Backup\\1.icq", "\\Backup\\2.icq", "\\Backup\\3.icq", "\\Einst.ini", "\\saved.icq"})
    DeleteFileA((folder + name).c_str());
  CreateDirectoryA(folder.c_str(), nullptr);
}

}  // namespace

std::vector<OperationRow> measureOperations(const std::string& workFolder, int runs, std::string& error) {
  const std::string vakFolder = workFolder + "\\program";
  const std::string bareFolder = workFolder + "\\bare";
  CreateDirectoryA(workFolder.c_str(), nullptr);
  emptyFolder(vakFolder);
  emptyFolder(bareFolder);

  BenchUi ui;
  vak::UiSeam* previousUi = vak::setUi(&ui);
  vak::TForm1 form;
  form.create();
  vak::EditorDialog form4(form.status());
  vak::WebViewer form6;
  vak::RestoreDialog form7(form.status());
  form.setDialogs(&form4, &form6, &form7);
  form.shared().programFolder = vakFolder;
  ShowWindow(form.hwnd(), SW_SHOWNORMAL);
  UpdateWindow(form.hwnd());
  vak::runHandler([&] { form.FormShow(); });
  pump();

  std::vector<OperationRow> rows;
  const auto failed = [&] {
    if (ui.errors.empty()) return false;
    error = "the program reported: " + ui.errors.front();
    return true;
  };
  const std::string uin = form.shared().currentProfile;
  if (failed() || uin.empty() || uin == "0") {
    if (error.empty()) error = "no ICQ profile found (is the demo data seeded?)";
    vak::setUi(previousUi);
    return rows;
  }
  const HWND main = form.hwnd();
  const auto command = [&](int id) {
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, id)));
    pump();
  };

  // "Änderungen übernehmen" writes the set as shown; the bare calls write the same.
  vak::StatusModel written = form.status().model();
  for (int n = 1; n <= vak::kEntryCount; ++n) written.stateOf(n) = written.entry(n).active ? 1 : 0;
  BareChange change;
  for (int n = 1; n <= vak::kEntryCount; ++n) {
    const vak::StatusEntry& e = written.entry(n);
    change.entries.push_back({std::string(kOwners) + "\\" + uin + "\\CustomStatusList\\" + vak::intToStr(n),
                              vak::toUtf8Form(e.title), vak::toUtf8Form(e.message), static_cast<DWORD>(n),
                              e.active ? 1u : 0u});
  }
  change.liteKey = "software\\mirabilis\\icq\\NewOwners\\" + uin + "\\ICQLite";
  change.away = vak::awayTextToBinary(written.away);
  change.na = vak::awayTextToBinary(written.na);
  change.folder = bareFolder;
  const vak::LocalDateTime now = vak::localNow();
  change.backup = {{"Statusdatei", "#DATE", vak::backupDate(now)}, {"Statusdatei", "#TIME", vak::backupTime(now)}};
  const std::vector<IniValue> fileValues = statusFileValues(written);
  change.backup.insert(change.backup.end(), fileValues.begin(), fileValues.end());

  BareRead read{vakFolder + "\\Einst.ini", uin};
  const int position = vak::comboSelected(GetDlgItem(main, vak::ids::NN));
  const std::string vakSaved = vakFolder + "\\saved.icq";
  const std::string bareSaved = bareFolder + "\\saved.icq";

  struct Op {
    const char* name;
    std::function<void(bool vakSide)> prepare;  // before each run, not timed
    std::function<void()> vak, bare;
  };
  const auto nothing = [](bool) {};
  const std::vector<Op> ops = {
      {"\xC3\x84nderungen \xC3\xBC" "bernehmen", nothing, [&] { command(vak::ids::Button1); },
       [&] { change.run(); }},
      {"read a profile", nothing,
       [&] {
         HWND nn = GetDlgItem(main, vak::ids::NN);
         SendMessageW(nn, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
         SendMessageW(main, WM_COMMAND, MAKEWPARAM(vak::ids::NN, CBN_SELCHANGE), reinterpret_cast<LPARAM>(nn));
         pump();
       },
       [&] { read.run(); }},
      {"save a status file",
       [&](bool vakSide) {
         // Into a new file each time.
         DeleteFileA((vakSide ? vakSaved : bareSaved).c_str());
         ui.saveNames = {vakSaved};
       },
       [&] { command(vak::ids::Speichern1); }, [&] { writeIni(fileValues, bareSaved); }},
      {"load a status file", [&](bool) { ui.openNames = {vakSaved}; }, [&] { command(vak::ids::Laden); },
       [&] { bareLoad(vakSaved); }},
  };

  for (const Op& op : ops) {
    OperationRow row{op.name, {}, {}};
    for (int round = 0; round <= runs && error.empty(); ++round) {
      // Interleaved, the order switching every round; round 0 warms up.
      for (int side = 0; side < 2; ++side) {
        const bool vakSide = (side == 0) == (round % 2 == 0);
        op.prepare(vakSide);
        const double ms = timed(vakSide ? op.vak : op.bare);
        if (round > 0) (vakSide ? row.vak : row.bare).add(ms);
      }
      failed();
    }
    if (!error.empty()) break;
    rows.push_back(row);
  }
  vak::setUi(previousUi);
  return rows;
}

}  // namespace bench
