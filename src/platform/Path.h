#pragma once
// File paths. The program keeps paths as std::string; the file, INI and
// dialog functions of the platform layer take and return them. Paths that
// come from elsewhere, or go into a control or a message, cross here.
#include <string>

namespace vak {

// A path stored by ICQ in its registry or in an INI file (ANSI code page bytes).
std::string pathFromAnsi(const std::string& ansi);
// A path as ANSI code page bytes, for a registry value or an INI entry that ICQ reads.
std::string pathToAnsi(const std::string& path);
// A path as text for a control or a message (Windows-1252).
std::string pathToText(const std::string& path);

}  // namespace vak
