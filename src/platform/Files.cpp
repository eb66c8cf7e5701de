#include "platform/Files.h"

#include <windows.h>

#include "platform/CommandLine.h"
#include "platform/Handle.h"
#include "platform/Path.h"

namespace vak {
namespace {

struct FindTraits {
  using type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { FindClose(h); }
};
using FindHandle = Handle<FindTraits>;

std::wstring wpath(const std::string& path) { return widePath(path); }

}  // namespace

bool copyFile(const std::string& from, const std::string& to) {
  return CopyFileW(wpath(from).c_str(), wpath(to).c_str(), FALSE) != 0;
}

bool sameFile(const std::string& a, const std::string& b) {
  auto info = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& fi) {
    HANDLE h = CreateFileW(wpath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, &fi) != 0;
    CloseHandle(h);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION fa{}, fb{};
  if (!info(a, fa) || !info(b, fb)) return false;
  return fa.dwVolumeSerialNumber == fb.dwVolumeSerialNumber && fa.nFileIndexHigh == fb.nFileIndexHigh &&
         fa.nFileIndexLow == fb.nFileIndexLow;
}

bool moveOver(const std::string& from, const std::string& to) {
  return MoveFileExW(wpath(from).c_str(), wpath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
  if (!fileExists(from) || sameFile(from, to)) return false;
  const std::string temp = to + ".vaktmp";
  if (!CopyFileW(wpath(from).c_str(), wpath(temp).c_str(), FALSE) || !moveOver(temp, to)) {
    deleteFile(temp);
    return false;
  }
  return true;
}

bool deleteFile(const std::string& path) { return DeleteFileW(wpath(path).c_str()) != 0; }

bool renameFile(const std::string& from, const std::string& to) { return MoveFileW(wpath(from).c_str(), wpath(to).c_str()) != 0; }

bool createDir(const std::string& path) { return CreateDirectoryW(wpath(path).c_str(), nullptr) != 0; }

bool fileExists(const std::string& path) {
  const DWORD a = GetFileAttributesW(wpath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool isReadOnly(const std::string& path) {
  const DWORD a = GetFileAttributesW(wpath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

bool dirExists(const std::string& path) {
  const DWORD a = GetFileAttributesW(wpath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> findFiles(const std::string& folder, const std::string& mask) {
  std::vector<std::string> names;
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/' && pattern.back() != ':') pattern += '\\';
  pattern += mask;
  WIN32_FIND_DATAW fd;
  FindHandle h(FindFirstFileW(wpath(pattern).c_str(), &fd));
  if (!h.valid()) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(pathFromWide(fd.cFileName));
  } while (FindNextFileW(h.get(), &fd));
  return names;
}

LocalDateTime localNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  LocalDateTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  return t;
}

namespace {
// Full path of the running exe; empty when it cannot be had.
std::wstring modulePath() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return std::wstring();
    if (n < buf.size()) return std::wstring(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}
}  // namespace

std::string programFolder() {
  std::wstring path = modulePath();
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) path.resize(slash);
  return pathFromWide(path);
}

std::string programFileName() {
  const std::wstring path = modulePath();
  const std::size_t slash = path.find_last_of(L"\\/");
  return pathFromWide(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

std::vector<std::string> commandLineArgs() {
  std::vector<std::string> args;
  const std::vector<std::wstring> all = splitCommandLine(GetCommandLineW());
  for (size_t i = 1; i < all.size(); ++i) args.push_back(pathFromWide(all[i]));
  return args;
}

}  // namespace vak
