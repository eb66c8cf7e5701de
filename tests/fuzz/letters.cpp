// Letter conversion both ways between the program's single-byte letters and
// the UTF-8 pairs ICQ stores for the seven German letters.
//
// Holds: fromUtf8Form(toUtf8Form(x)) == x when x holds no C3 followed by one
// of the seven second bytes; toUtf8Form(fromUtf8Form(y)) == y when y holds
// none of the seven single bytes; fromUtf8Form is idempotent. Neither round
// trip holds in general: a text that already holds the pair C3 A4 (as the two
// letters "Ã¤") reads back as "ä", and a stored E4 is written back as C3 A4.
#include "FuzzCheck.h"
#include "status/Letters.h"

namespace {

const char kSingle[] = "\xE4\xF6\xFC\xC4\xD6\xDC\xDF";
const char kSecond[] = "\xA4\xB6\xBC\x84\x96\x9C\x9F";

int letterOfSingle(char c) {
  for (int i = 0; i < 7; ++i)
    if (kSingle[i] == c) return i;
  return -1;
}
int letterOfSecond(char c) {
  for (int i = 0; i < 7; ++i)
    if (kSecond[i] == c) return i;
  return -1;
}

// The conversions in one pass from the left. The pairs all start with C3 and
// no second byte is C3, so this gives what the seven passes of the rule give.
std::string oneTo(const std::string& s) {
  std::string out;
  for (char c : s) {
    const int l = letterOfSingle(c);
    if (l < 0) {
      out += c;
    } else {
      out += '\xC3';
      out += kSecond[l];
    }
  }
  return out;
}
std::string oneFrom(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const int l = s[i] == '\xC3' && i + 1 < s.size() ? letterOfSecond(s[i + 1]) : -1;
    if (l < 0) {
      out += s[i];
    } else {
      out += kSingle[l];
      ++i;
    }
  }
  return out;
}

bool holdsPair(const std::string& s) {
  for (std::size_t i = 0; i + 1 < s.size(); ++i)
    if (s[i] == '\xC3' && letterOfSecond(s[i + 1]) >= 0) return true;
  return false;
}
bool holdsSingle(const std::string& s) {
  for (char c : s)
    if (letterOfSingle(c) >= 0) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string x = vakfuzz::text(data, size);
  const std::string to = vak::toUtf8Form(x);
  const std::string from = vak::fromUtf8Form(x);
  FUZZ_CHECK(to == oneTo(x));
  FUZZ_CHECK(from == oneFrom(x));
  FUZZ_CHECK(vak::fromUtf8Form(from) == from);
  FUZZ_CHECK(!holdsSingle(to));
  FUZZ_CHECK(!holdsPair(from));
  if (!holdsPair(x)) FUZZ_CHECK(vak::fromUtf8Form(to) == x);
  if (!holdsSingle(x)) FUZZ_CHECK(vak::toUtf8Form(from) == x);
  return 0;
}
