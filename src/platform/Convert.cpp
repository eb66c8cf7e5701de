#include "platform/Convert.h"

#include <cstdint>

#include "platform/Errors.h"

namespace vak {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int digitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int> parseInteger(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && isBlank(text[b])) ++b;
  while (e > b && isBlank(text[e - 1])) --e;
  bool negative = false;
  if (b < e && (text[b] == '+' || text[b] == '-')) {
    negative = text[b] == '-';
    ++b;
  }
  bool hex = false;
  if (b < e && text[b] == '$') {
    hex = true;
    ++b;
  } else if (e - b >= 2 && text[b] == '0' && (text[b + 1] == 'x' || text[b + 1] == 'X')) {
    hex = true;
    b += 2;
  }
  if (b == e) return std::nullopt;
  // Decimal: the signed 32-bit range. Hexadecimal: up to 8 digits, taken as
  // the 32-bit pattern ($FFFFFFFF is -1), as the program has always read them.
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t value = 0;
  for (std::size_t i = b; i < e; ++i) {
    const int d = digitValue(text[i], hex);
    if (d < 0) return std::nullopt;
    value = value * (hex ? 16u : 10u) + static_cast<unsigned>(d);
    if (value > limit) return std::nullopt;
  }
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  if (negative) bits = 0u - bits;
  // Two's-complement reinterpretation without implementation-defined casts.
  return bits <= 0x7FFFFFFFu ? static_cast<int>(bits) : static_cast<int>(bits - 0x80000000u) + INT32_MIN;
}

int strToInt(const std::string& text) {
  const std::optional<int> v = parseInteger(text);
  if (!v) throw VakError(errNotInteger(text));
  return *v;
}

std::string intToStr(long long value) { return std::to_string(value); }

}  // namespace vak
