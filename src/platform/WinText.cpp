#include "platform/WinText.h"

#include <vector>

#include "platform/Text.h"

namespace vak {

std::wstring widen(const std::string& cp1252) {
  const std::u16string u = cp1252ToUtf16(cp1252);
  return std::wstring(u.begin(), u.end());
}

std::string narrow(const std::wstring& text) {
  return utf16ToCp1252(std::u16string(text.begin(), text.end()));
}

std::wstring W(const char* utf8) {
  // Straight from UTF-8, so a literal may hold characters beyond Windows-1252.
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (n <= 1) return std::wstring();
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &out[0], n);
  out.resize(static_cast<std::size_t>(n - 1));
  return out;
}

std::string getText(HWND hwnd) {
  const int len = GetWindowTextLengthW(hwnd);
  if (len <= 0) return std::string();
  std::vector<wchar_t> buf(static_cast<std::size_t>(len) + 1);
  const int n = GetWindowTextW(hwnd, buf.data(), static_cast<int>(buf.size()));
  return narrow(std::wstring(buf.data(), static_cast<std::size_t>(n > 0 ? n : 0)));
}

void setText(HWND hwnd, const std::string& cp1252) { SetWindowTextW(hwnd, widen(cp1252).c_str()); }

}  // namespace vak
