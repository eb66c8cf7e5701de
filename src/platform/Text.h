#pragma once
// Program texts are Windows-1252 bytes held in std::string. The windows are
// Unicode; these are the only conversions between the two, so that every byte
// 00-FF survives a trip through a control unchanged (the five bytes that
// Windows-1252 leaves undefined map to U+0081 etc., as Windows itself does).
#include <string>

namespace vak {

// Windows-1252 bytes -> UTF-16 code units.
std::u16string cp1252ToUtf16(const std::string& bytes);
// UTF-16 -> Windows-1252 bytes. A character Windows-1252 cannot hold becomes '?'.
std::string utf16ToCp1252(const std::u16string& text);

// The source files are UTF-8; program texts written as literals go through this
// once: UTF-8 -> Windows-1252 bytes.
std::string utf8ToCp1252(const std::string& utf8);
// Windows-1252 -> UTF-8 (for test output and the demo's files).
std::string cp1252ToUtf8(const std::string& bytes);

// Shorthand for a program text written as a UTF-8 literal.
inline std::string T(const char* utf8) { return utf8ToCp1252(utf8); }

}  // namespace vak
