#pragma once
// Storage of titles and messages in status files (OS-free).
//
// An INI value ends at its line's end, loses blanks at either end and a pair of
// surrounding quotes when read. A text that would not come back exactly is
// stored twice: its plain form (line breaks as blanks) under the usual key, for
// older readers, and its escaped form under the key + "x" ("ax", "bx"), which a
// reader prefers when present. A file without escaped keys loads as it always did.
#include <string>

namespace vak {

// true when text would not survive a plain INI write and read unchanged.
bool needsEscapedForm(const std::string& text);
// Escapes: "\\" -> "\\\\", CR -> "\\r", LF -> "\\n", TAB -> "\\t", other bytes
// below 20 and the five bytes Windows-1252 leaves undefined -> "\\xHH", and a
// blank or quote at either end -> "\\xHH". The result is one line that an INI
// read gives back unchanged.
std::string escapeValue(const std::string& text);
// Inverse of escapeValue. Unknown or broken escapes are kept literally.
std::string unescapeValue(const std::string& stored);
// The plain form written for older readers: CR LF, CR and LF each become one blank.
std::string plainForm(const std::string& text);

// Name of the key holding the escaped form of key ("a" -> "ax").
inline std::string escapedKey(const std::string& key) { return key + "x"; }

}  // namespace vak
