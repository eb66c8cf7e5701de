#pragma once
// File paths. The program keeps paths as UTF-8 in std::string, so every name
// the file system can hold survives; the file, INI and dialog functions of the
// platform layer take and return them and use the wide (W) functions inside.
// Paths that come from elsewhere, or go into a control or a message, cross here.
#include <string>

namespace vak {

// A path stored by ICQ in its registry or in an INI file (ANSI code page bytes).
std::string pathFromAnsi(const std::string& ansi);
// A path as ANSI code page bytes, for a registry value or an INI entry that ICQ
// or the updater reads. A name the code page
// cannot hold is given by its short (8.3) form when the file or folder exists;
// when that does not help either, throws a VakError that names the path.
std::string pathToAnsi(const std::string& path);
// A path as text for a control or a message (Windows-1252; a character it
// cannot hold shows as '?').
std::string pathToText(const std::string& path);

// The two directions between a program path and the wide functions' UTF-16.
std::wstring widePath(const std::string& path);
std::string pathFromWide(const std::wstring& wide);

}  // namespace vak
