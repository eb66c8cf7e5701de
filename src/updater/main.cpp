// updater.exe: finishes an update of the Meldewart. Started without arguments
// from the program folder after the program has downloaded the new version:
// reads the program's path ("#02" of section "Update" in update.ini beside
// this file), waits until that program has ended, puts "ICQ-Meldewart.tmp" in
// its place and starts it. The old program file is replaced only in one step
// by a complete copy of the new one, so a failure leaves a working program;
// a new program file that is not a whole Windows program is refused.
#include <windows.h>
#include <tlhelp32.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDefaultWaitMs = 30000;
constexpr DWORD kPollMs = 200;

std::wstring fromUtf8(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (n <= 1) return std::wstring();
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &out[0], n);
  out.resize(static_cast<std::size_t>(n - 1));
  return out;
}

int fail(int code, const std::wstring& text) {
  MessageBoxW(nullptr, text.c_str(), fromUtf8("Meldewart für ICQ - Update").c_str(),
              MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  return code;
}

std::wstring ownFolder() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return std::wstring();
    if (n < buf.size()) {
      std::wstring path(buf.data(), n);
      const std::size_t slash = path.find_last_of(L"\\/");
      return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
    }
    buf.resize(buf.size() * 2);
  }
}

std::wstring folderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

struct FileId {
  DWORD volume = 0, high = 0, low = 0;
  bool operator==(const FileId& o) const { return volume == o.volume && high == o.high && low == o.low; }
};

bool fileId(const std::wstring& path, FileId& id) {
  HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool ok = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  id = FileId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  return ok;
}

std::wstring baseName(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Whether another process runs the program file `program`.
bool programRunning(const std::wstring& program) {
  FileId wanted;
  const bool haveId = fileId(program, wanted);
  const std::wstring name = baseName(program);
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return false;
  bool running = false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snap, &entry); more && !running; more = Process32NextW(snap, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) continue;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
    if (process) {
      wchar_t image[32768];
      DWORD size = sizeof image / sizeof image[0];
      if (QueryFullProcessImageNameW(process, 0, image, &size)) {
        FileId id;
        if (haveId && fileId(std::wstring(image, size), id)) running = id == wanted;
        else running = lstrcmpiW(std::wstring(image, size).c_str(), program.c_str()) == 0;
      }
      CloseHandle(process);
    } else {
      // Not ours to look into: the name alone decides.
      running = lstrcmpiW(baseName(entry.szExeFile).c_str(), name.c_str()) == 0;
    }
  }
  CloseHandle(snap);
  return running;
}

DWORD waitLimitMs() {
  // The tests shorten the wait.
  wchar_t value[32] = {};
  const DWORD n = GetEnvironmentVariableW(L"VAK_UPDATER_WAIT_MS", value, 32);
  if (n == 0 || n >= 32) return kDefaultWaitMs;
  return static_cast<DWORD>(wcstoul(value, nullptr, 10));
}

bool nonEmptyFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  return !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeHigh || data.nFileSizeLow);
}

bool readWhole(const std::wstring& path, std::vector<unsigned char>& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart < 256LL * 1024 * 1024;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() || (ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
  }
  CloseHandle(h);
  return ok;
}

// A structure of type T at `offset` of the file, when the file holds all of it.
template <typename T>
bool at(const std::vector<unsigned char>& file, unsigned long long offset, T& out) {
  if (offset > file.size() || file.size() - offset < sizeof(T)) return false;
  std::memcpy(&out, file.data() + offset, sizeof(T));
  return true;
}

// Whether the file is a whole Windows program for the machine this updater
// runs on, as its own headers say: an error page saved under the program's
// name, or a download cut off, must never replace the program. Checked: the
// MZ header and its e_lfanew, the "PE\0\0" signature, the machine type and
// the kind of optional header, an executable and no DLL, and that the
// headers, every section's data and the signature data lie within the file.
bool isWholeProgram(const std::vector<unsigned char>& file) {
  const auto* self = reinterpret_cast<const unsigned char*>(GetModuleHandleW(nullptr));
  const auto* ownDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(self);
  const auto* ownNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(self + ownDos->e_lfanew);

  IMAGE_DOS_HEADER dos{};
  if (!at(file, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < static_cast<LONG>(sizeof dos))
    return false;
  const auto nt = static_cast<unsigned long long>(dos.e_lfanew);
  DWORD signature = 0;
  IMAGE_FILE_HEADER header{};
  WORD magic = 0;
  if (!at(file, nt, signature) || signature != IMAGE_NT_SIGNATURE || !at(file, nt + 4, header) ||
      header.Machine != ownNt->FileHeader.Machine || !(header.Characteristics & IMAGE_FILE_EXECUTABLE_IMAGE) ||
      (header.Characteristics & IMAGE_FILE_DLL) || header.NumberOfSections == 0)
    return false;
  const unsigned long long optional = nt + 4 + sizeof header;
  if (header.SizeOfOptionalHeader < sizeof(IMAGE_OPTIONAL_HEADER) || !at(file, optional, magic) ||
      magic != ownNt->OptionalHeader.Magic)
    return false;
  IMAGE_OPTIONAL_HEADER opt{};
  if (!at(file, optional, opt) || opt.SizeOfHeaders > file.size()) return false;
  // The certificate table is the one data directory given as a file offset.
  if (opt.NumberOfRvaAndSizes > IMAGE_DIRECTORY_ENTRY_SECURITY) {
    const IMAGE_DATA_DIRECTORY& sig = opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY];
    if (static_cast<unsigned long long>(sig.VirtualAddress) + sig.Size > file.size()) return false;
  }
  const unsigned long long sections = optional + header.SizeOfOptionalHeader;
  for (WORD i = 0; i < header.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER section{};
    if (!at(file, sections + i * sizeof section, section)) return false;
    if (static_cast<unsigned long long>(section.PointerToRawData) + section.SizeOfRawData > file.size()) return false;
  }
  return true;
}

// Puts a complete copy of `source` beside `target` and then lets it take the
// target's place in one step; until then the target is untouched.
bool replaceProgram(const std::wstring& source, const std::wstring& target, DWORD deadline) {
  const std::wstring staged = target + L".neu";
  if (!CopyFileW(source.c_str(), staged.c_str(), FALSE)) {
    DeleteFileW(staged.c_str());
    return false;
  }
  for (;;) {
    if (MoveFileExW(staged.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      DeleteFileW(source.c_str());
      return true;
    }
    // A file still held open (a virus scanner, the ending program) may let go soon.
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0) break;
    Sleep(kPollMs);
  }
  DeleteFileW(staged.c_str());
  return false;
}

bool start(const std::wstring& program) {
  std::wstring commandLine = L"\"" + program + L"\"";
  const std::wstring folder = folderOf(program);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                      &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::wstring folder = ownFolder();
  const std::wstring info = folder + L"\\update.ini";
  std::vector<wchar_t> value(32768);
  GetPrivateProfileStringW(L"Update", L"#02", L"", value.data(), static_cast<DWORD>(value.size()), info.c_str());
  const std::wstring program = value.data();
  if (program.empty())
    return fail(1, fromUtf8("Die Update-Informationen fehlen:\r\n") + info +
                       fromUtf8("\r\nenthält keinen Programmpfad. Das Update wurde nicht ausgeführt."));

  const std::wstring update = folder + L"\\ICQ-Meldewart.tmp";
  if (!nonEmptyFile(update))
    return fail(2, fromUtf8("Die neue Programmdatei fehlt oder ist leer:\r\n") + update +
                       fromUtf8("\r\nDas Programm bleibt unverändert."));
  std::vector<unsigned char> bytes;
  if (!readWhole(update, bytes) || !isWholeProgram(bytes)) {
    DeleteFileW(update.c_str());
    return fail(6, fromUtf8("Die heruntergeladene Programmdatei ist kein vollständiges Windows-Programm "
                            "und wurde verworfen:\r\n") +
                       update + fromUtf8("\r\nDas Programm bleibt unverändert."));
  }

  const DWORD deadline = GetTickCount() + waitLimitMs();
  while (programRunning(program)) {
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0)
      return fail(3, fromUtf8("Das Programm läuft noch:\r\n") + program +
                         fromUtf8("\r\nBeenden Sie es und starten Sie die Updateprüfung erneut.\r\n"
                                  "Das Programm bleibt unverändert."));
    Sleep(kPollMs);
  }

  if (!replaceProgram(update, program, GetTickCount() + 5000))
    return fail(4, fromUtf8("Die Programmdatei konnte nicht ersetzt werden:\r\n") + program +
                       fromUtf8("\r\nDas bisherige Programm bleibt erhalten."));

  if (!start(program))
    return fail(5, fromUtf8("Das neue Programm ist installiert, konnte aber nicht gestartet werden:\r\n") + program);
  return 0;
}
