#include "platform/Files.h"

#include <windows.h>

#include "platform/CommandLine.h"
#include "platform/Handle.h"
#include "platform/Text.h"

namespace vak {
namespace {

struct FindTraits {
  using type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { FindClose(h); }
};
using FindHandle = Handle<FindTraits>;

std::string narrowW(const wchar_t* s, std::size_t n) {
  return utf16ToCp1252(std::u16string(reinterpret_cast<const char16_t*>(s), n));
}

}  // namespace

bool copyFile(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool sameFile(const std::string& a, const std::string& b) {
  auto info = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& fi) {
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
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

bool replaceFile(const std::string& from, const std::string& to) {
  if (!fileExists(from) || sameFile(from, to)) return false;
  const std::string temp = to + ".vaktmp";
  if (!CopyFileA(from.c_str(), temp.c_str(), FALSE)) {
    DeleteFileA(temp.c_str());
    return false;
  }
  if (!MoveFileExA(temp.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temp.c_str());
    return false;
  }
  return true;
}

bool deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool renameFile(const std::string& from, const std::string& to) { return MoveFileA(from.c_str(), to.c_str()) != 0; }

bool createDir(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool fileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool dirExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> findFiles(const std::string& folder, const std::string& mask) {
  std::vector<std::string> names;
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/' && pattern.back() != ':') pattern += '\\';
  pattern += mask;
  WIN32_FIND_DATAA fd;
  FindHandle h(FindFirstFileA(pattern.c_str(), &fd));
  if (!h.valid()) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(fd.cFileName);
  } while (FindNextFileA(h.get(), &fd));
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

std::string programFolder() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return "";
    if (n < buf.size()) {
      std::wstring path(buf.data(), n);
      const std::size_t slash = path.find_last_of(L"\\/");
      if (slash != std::wstring::npos) path.resize(slash);
      return narrowW(path.c_str(), path.size());
    }
    buf.resize(buf.size() * 2);
  }
}

std::vector<std::string> commandLineArgs() {
  std::vector<std::string> args;
  const std::vector<std::wstring> all = splitCommandLine(GetCommandLineW());
  for (size_t i = 1; i < all.size(); ++i) args.push_back(narrowW(all[i].c_str(), all[i].size()));
  return args;
}

}  // namespace vak
