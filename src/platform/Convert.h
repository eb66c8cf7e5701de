#pragma once
// Number parsing with the rules the program has always used (OS-free).
#include <optional>
#include <string>

namespace vak {

// Whole number in decimal, or hexadecimal with a leading "0x"/"0X" or "$";
// an optional sign; blanks at either end are allowed. Anything else -> nullopt.
// Values outside the 32-bit range -> nullopt.
std::optional<int> parseInteger(const std::string& text);

// parseInteger or throw VakError("'{text}' ist kein gültiger Integerwert").
int strToInt(const std::string& text);

// Decimal text of a number.
std::string intToStr(long long value);

}  // namespace vak
