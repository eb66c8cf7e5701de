// Windows-1252 <-> UTF-16 and UTF-8. The same input is taken as Windows-1252
// bytes, as UTF-8 (a page, a source literal) and as UTF-16 code units (the
// text of a control, little-endian pairs).
//
// Holds: every byte 00-FF survives Windows-1252 -> UTF-16 -> Windows-1252 and
// Windows-1252 -> UTF-8 -> Windows-1252 (the five undefined bytes travel as
// U+0081 etc.); UTF-16 -> Windows-1252 -> UTF-16 when every unit has a place
// in the code page. Does not hold for other UTF-16 or UTF-8: a character
// outside the code page becomes '?'.
#include <set>
#include <vector>

#include "FuzzCheck.h"
#include "platform/Text.h"

namespace {

// Strict UTF-8 decoding to code points; false on anything malformed
// (overlong forms, surrogates, beyond U+10FFFF, cut sequences).
bool decodeUtf8(const std::string& s, std::vector<std::uint32_t>& out) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n;
    std::uint32_t cp, min;
    if (b < 0x80) {
      n = 0, cp = b, min = 0;
    } else if ((b & 0xE0) == 0xC0) {
      n = 1, cp = b & 0x1Fu, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      n = 2, cp = b & 0x0Fu, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      n = 3, cp = b & 0x07u, min = 0x10000;
    } else {
      return false;
    }
    for (std::size_t k = 1; k <= n; ++k) {
      if (i + k >= s.size()) return false;
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = cp << 6 | (c & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    out.push_back(cp);
    i += n + 1;
  }
  return true;
}

std::u16string toUtf16(const std::vector<std::uint32_t>& cps) {
  std::u16string u;
  for (std::uint32_t cp : cps) {
    if (cp < 0x10000) {
      u += static_cast<char16_t>(cp);
    } else {
      u += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      u += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return u;
}

const std::set<char16_t>& codePageUnits() {
  static const std::set<char16_t> units = [] {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::u16string u = vak::cp1252ToUtf16(all);
    return std::set<char16_t>(u.begin(), u.end());
  }();
  return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string x = vakfuzz::text(data, size);

  // As Windows-1252.
  const std::u16string wide = vak::cp1252ToUtf16(x);
  FUZZ_CHECK(wide.size() == x.size());
  FUZZ_CHECK(vak::utf16ToCp1252(wide) == x);
  const std::string utf8 = vak::cp1252ToUtf8(x);
  std::vector<std::uint32_t> cps;
  FUZZ_CHECK(decodeUtf8(utf8, cps));
  FUZZ_CHECK(toUtf16(cps) == wide);
  FUZZ_CHECK(vak::utf8ToCp1252(utf8) == x);

  // As UTF-8: one byte per character when it is well formed, and the same as
  // the way through UTF-16; never longer than the input.
  const std::string narrowed = vak::utf8ToCp1252(x);
  FUZZ_CHECK(narrowed.size() <= x.size());
  std::vector<std::uint32_t> xcps;
  if (decodeUtf8(x, xcps)) {
    FUZZ_CHECK(narrowed.size() == xcps.size());
    FUZZ_CHECK(narrowed == vak::utf16ToCp1252(toUtf16(xcps)));
  }

  // As UTF-16 code units.
  std::u16string units;
  for (std::size_t i = 0; i + 1 < size; i += 2)
    units += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  const std::string back = vak::utf16ToCp1252(units);
  FUZZ_CHECK(back.size() <= units.size());
  bool representable = true;
  for (char16_t u : units) representable = representable && codePageUnits().count(u) != 0;
  if (representable) FUZZ_CHECK(vak::cp1252ToUtf16(back) == units);
  return 0;
}
