// Status-file values both ways: the escaped form of a title or message, its
// reading back, and the plain form for older readers.
//
// Holds: unescapeValue(escapeValue(x)) == x for every x, and the escaped form
// is one line that an INI read gives back unchanged.
// Does not hold: escapeValue(unescapeValue(y)) == y. A file may hold forms the
// writer never makes ("\x41" for "A", "\x0a" for "\n", an unknown "\q" that
// is kept literally and then written as "\\q").
#include "FuzzCheck.h"
#include "status/LineCodec.h"

namespace {

bool isEdgeSpace(unsigned char c) { return c == ' ' || c == 0xA0 || c < 0x20; }
bool isQuote(char c) { return c == '"' || c == '\''; }

// What an INI read makes of a value written on one line: blanks (and the
// controls and no-break space the wide read treats as such) dropped at either
// end, then one pair of equal quotes round it.
std::string iniRead(const std::string& v) {
  std::size_t b = 0, e = v.size();
  while (b < e && isEdgeSpace(static_cast<unsigned char>(v[b]))) ++b;
  while (e > b && isEdgeSpace(static_cast<unsigned char>(v[e - 1]))) --e;
  if (e - b >= 2 && isQuote(v[b]) && v[b] == v[e - 1]) ++b, --e;
  return v.substr(b, e - b);
}

bool oneSafeLine(const std::string& v) {
  for (char ch : v) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string x = vakfuzz::text(data, size);

  const std::string escaped = vak::escapeValue(x);
  FUZZ_CHECK(vak::unescapeValue(escaped) == x);
  FUZZ_CHECK(oneSafeLine(escaped));
  FUZZ_CHECK(iniRead(escaped) == escaped);

  // A text written only in plain form must come back as it was.
  if (!vak::needsEscapedForm(x)) {
    FUZZ_CHECK(oneSafeLine(x));
    FUZZ_CHECK(iniRead(x) == x);
  }

  const std::string plain = vak::plainForm(x);
  FUZZ_CHECK(plain.find_first_of("\r\n") == std::string::npos);
  FUZZ_CHECK(plain.size() <= x.size());
  if (x.find_first_of("\r\n") == std::string::npos) FUZZ_CHECK(plain == x);

  // Whatever a file holds: read without harm, never longer than stored.
  const std::string read = vak::unescapeValue(x);
  FUZZ_CHECK(read.size() <= x.size());
  if (x.find('\\') == std::string::npos) FUZZ_CHECK(read == x);
  return 0;
}
