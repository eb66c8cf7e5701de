#include "status/LineCodec.h"

namespace vak {
namespace {

// The five bytes Windows-1252 leaves undefined; a code-page trip may not keep them.
bool isUndefinedCp1252(unsigned char c) { return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D; }

bool isControl(unsigned char c) { return c < 0x20; }

// Characters an INI read may strip at either end of a value: blanks, every
// control character, and the no-break space (white space once the value is
// widened to UTF-16).
bool isEdgeSpace(unsigned char c) { return c == ' ' || c == 0xA0 || isControl(c); }

bool isQuote(unsigned char c) { return c == '"' || c == '\''; }

const char kHex[] = "0123456789ABCDEF";

void appendHexEscape(std::string& out, unsigned char c) {
  out += "\\x";
  out += kHex[c >> 4];
  out += kHex[c & 0x0F];
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool needsEscapedForm(const std::string& text) {
  if (text.empty()) return false;
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (isControl(c) || isUndefinedCp1252(c)) return true;
  }
  const unsigned char first = static_cast<unsigned char>(text.front());
  const unsigned char last = static_cast<unsigned char>(text.back());
  if (isEdgeSpace(first) || isEdgeSpace(last)) return true;
  // The reader drops a pair of equal quotes round the value.
  return text.size() >= 2 && isQuote(first) && first == last;
}

std::string escapeValue(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  const std::size_t lastIndex = text.empty() ? 0 : text.size() - 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool atEdge = i == 0 || i == lastIndex;
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (isControl(c) || isUndefinedCp1252(c) || (atEdge && (isEdgeSpace(c) || isQuote(c)))) {
      appendHexEscape(out, c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string unescapeValue(const std::string& stored) {
  std::string out;
  out.reserve(stored.size());
  std::size_t i = 0;
  while (i < stored.size()) {
    const char c = stored[i];
    if (c != '\\' || i + 1 >= stored.size()) {
      out += c;
      ++i;
      continue;
    }
    const char kind = stored[i + 1];
    if (kind == '\\') {
      out += '\\';
      i += 2;
    } else if (kind == 'r') {
      out += '\r';
      i += 2;
    } else if (kind == 'n') {
      out += '\n';
      i += 2;
    } else if (kind == 't') {
      out += '\t';
      i += 2;
    } else if (kind == 'x' && i + 3 < stored.size() && hexValue(stored[i + 2]) >= 0 &&
               hexValue(stored[i + 3]) >= 0) {
      out += static_cast<char>(hexValue(stored[i + 2]) * 16 + hexValue(stored[i + 3]));
      i += 4;
    } else {
      out += c;  // unknown or broken escape: kept as it stands
      ++i;
    }
  }
  return out;
}

std::string plainForm(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += ' ';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace vak
