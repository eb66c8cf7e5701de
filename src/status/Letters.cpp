#include "status/Letters.h"

#include <cstddef>

namespace vak {
namespace {

struct LetterPair {
  const char* single;  // Windows-1252 byte
  const char* utf8;    // its UTF-8 byte pair
};

// Rows in this order; each row runs over the result of the one before.
const LetterPair kLetters[] = {
    {"\xE4", "\xC3\xA4"},  // ä
    {"\xF6", "\xC3\xB6"},  // ö
    {"\xFC", "\xC3\xBC"},  // ü
    {"\xC4", "\xC3\x84"},  // Ä
    {"\xD6", "\xC3\x96"},  // Ö
    {"\xDC", "\xC3\x9C"},  // Ü
    {"\xDF", "\xC3\x9F"},  // ß
};

// Every occurrence of from, scanning left to right without overlaps.
std::string replaceAll(const std::string& text, const std::string& from, const std::string& to) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  for (;;) {
    const std::size_t hit = text.find(from, pos);
    if (hit == std::string::npos) break;
    out.append(text, pos, hit - pos);
    out += to;
    pos = hit + from.size();
  }
  out.append(text, pos, std::string::npos);
  return out;
}

}  // namespace

std::string toUtf8Form(const std::string& text) {
  std::string s = text;
  for (const LetterPair& p : kLetters) s = replaceAll(s, p.single, p.utf8);
  return s;
}

std::string fromUtf8Form(const std::string& text) {
  std::string s = text;
  for (const LetterPair& p : kLetters) s = replaceAll(s, p.utf8, p.single);
  return s;
}

}  // namespace vak
