#include "platform/Path.h"

#include <windows.h>

#include <vector>

#include "platform/Errors.h"
#include "platform/Text.h"

namespace vak {
namespace {

std::wstring toWide(UINT codePage, const std::string& bytes) {
  if (bytes.empty()) return std::wstring();
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
  return out;
}

std::string fromWide(UINT codePage, const std::wstring& wide, DWORD flags) {
  if (wide.empty()) return std::string();
  const int n = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                    nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
  return out;
}

// The ANSI bytes of wide when the code page holds every character exactly
// (no "best fit" look-alikes, which would name another file); false otherwise.
bool exactAnsi(const std::wstring& wide, std::string& ansi) {
  const UINT acp = GetACP();
  // The UTF code pages take no best-fit flag; they hold every character anyway.
  const DWORD flags = (acp == CP_UTF8 || acp == CP_UTF7) ? 0 : WC_NO_BEST_FIT_CHARS;
  ansi = fromWide(CP_ACP, wide, flags);
  return toWide(CP_ACP, ansi) == wide;
}

std::wstring shortPathOf(const std::wstring& path) {
  const DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return std::wstring();
  std::vector<wchar_t> buf(n + 1);
  const DWORD got = GetShortPathNameW(path.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
  if (got == 0 || got >= buf.size()) return std::wstring();
  return std::wstring(buf.data(), got);
}

}  // namespace

std::wstring widePath(const std::string& path) { return toWide(CP_UTF8, path); }

std::string pathFromWide(const std::wstring& wide) { return fromWide(CP_UTF8, wide, 0); }

std::string pathFromAnsi(const std::string& ansi) { return pathFromWide(toWide(CP_ACP, ansi)); }

std::string pathToAnsi(const std::string& path) {
  const std::wstring wide = widePath(path);
  std::string ansi;
  if (exactAnsi(wide, ansi)) return ansi;
  const std::wstring shortPath = shortPathOf(wide);
  if (!shortPath.empty() && exactAnsi(shortPath, ansi)) return ansi;
  throw VakError(T("Der Pfad \"") + pathToText(path) +
                 T("\" enthält Zeichen, die in der Zeichentabelle von Windows nicht vorkommen, und hat keinen kurzen "
                   "Namen ohne sie.\r\nBitte verwenden Sie einen Ordner und Dateinamen ohne diese Zeichen."));
}

std::string pathToText(const std::string& path) { return utf8ToCp1252(path); }

}  // namespace vak
