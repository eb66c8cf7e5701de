#pragma once
// Windows-only helpers around Text.h: std::wstring for the W functions.
#include <string>
#include <windows.h>

namespace vak {

std::wstring widen(const std::string& cp1252);
std::string narrow(const std::wstring& text);
// A UTF-8 literal -> wstring for a control.
std::wstring W(const char* utf8);

// Text of a window (control) as Windows-1252.
std::string getText(HWND hwnd);
void setText(HWND hwnd, const std::string& cp1252);

}  // namespace vak
