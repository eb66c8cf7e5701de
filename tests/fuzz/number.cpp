// Number parsing of the values read from INI files and the registry
// (settings, states in status files, ICQ Lite's build number).
//
// Holds: every int comes back from its decimal text (blanks round it
// allowed) and from its 32-bit pattern in hexadecimal ("$" and "0x").
// The other way does not: "+7", "007", " 7" and "$7" all read as 7.
#include <cerrno>
#include <cstdlib>
#include <optional>

#include "FuzzCheck.h"
#include "platform/Convert.h"
#include "platform/Errors.h"

namespace {

// The rule again, from the C library: blanks or tabs at either end, a sign,
// "$" or "0x" for hexadecimal, then digits only; decimal in the int range,
// hexadecimal up to FFFFFFFF taken as the 32-bit pattern.
std::optional<int> reference(const std::string& text) {
  std::size_t b = text.find_first_not_of(" \t");
  if (b == std::string::npos) return std::nullopt;
  std::string t = text.substr(b, text.find_last_not_of(" \t") - b + 1);
  bool negative = false;
  if (t[0] == '+' || t[0] == '-') negative = t[0] == '-', t.erase(0, 1);
  int base = 10;
  if (!t.empty() && t[0] == '$')
    base = 16, t.erase(0, 1);
  else if (t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
    base = 16, t.erase(0, 2);
  if (t.empty()) return std::nullopt;
  for (char c : t) {
    const bool digit = c >= '0' && c <= '9';
    const bool hexLetter = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!digit && !(base == 16 && hexLetter)) return std::nullopt;
  }
  errno = 0;
  const unsigned long long v = std::strtoull(t.c_str(), nullptr, base);
  if (errno == ERANGE) return std::nullopt;
  if (base == 16) {
    if (v > 0xFFFFFFFFull) return std::nullopt;
    const std::uint32_t bits = negative ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
    return static_cast<int>(static_cast<std::int64_t>(bits) - (bits > 0x7FFFFFFFu ? 0x100000000ll : 0));
  }
  if (v > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return std::nullopt;
  return static_cast<int>(negative ? -static_cast<long long>(v) : static_cast<long long>(v));
}

std::string hex(std::uint32_t v) {
  static const char digits[] = "0123456789abcdef";
  std::string s;
  do s.insert(s.begin(), digits[v & 15]), v >>= 4;
  while (v);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string x = vakfuzz::text(data, size);
  const std::optional<int> v = vak::parseInteger(x);
  FUZZ_CHECK(v == reference(x));
  bool threw = false;
  try {
    FUZZ_CHECK(vak::strToInt(x) == *v);
  } catch (const vak::VakError&) {
    threw = true;
  }
  FUZZ_CHECK(threw == !v.has_value());

  if (size >= 4) {
    const std::uint32_t bits = static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16) |
                               static_cast<std::uint32_t>(data[3]) << 24;
    const int n = static_cast<int>(static_cast<std::int64_t>(bits) - (bits > 0x7FFFFFFFu ? 0x100000000ll : 0));
    FUZZ_CHECK(vak::parseInteger(vak::intToStr(n)) == n);
    FUZZ_CHECK(vak::parseInteger(" \t" + vak::intToStr(n) + " ") == n);
    FUZZ_CHECK(vak::parseInteger("$" + hex(bits)) == n);
    FUZZ_CHECK(vak::parseInteger("0X" + hex(bits)) == n);
  }
  return 0;
}
