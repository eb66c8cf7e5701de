#include "settings/PageText.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/Text.h"

namespace vak {

namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string lowered(std::string s) {
  for (char& c : s) c = lower(c);
  return s;
}

bool startsWithNoCase(const std::string& s, std::size_t at, const char* word) {
  for (std::size_t i = 0; word[i]; ++i)
    if (at + i >= s.size() || lower(s[at + i]) != word[i]) return false;
  return true;
}

// The first place from `from` on where word (lower case) starts, in any case;
// npos if none. Reads the text in place: a copy of the rest for every search
// made a page of many scripts take minutes.
std::size_t findNoCase(const std::string& s, std::size_t from, const char* word) {
  for (std::size_t at = from; at < s.size(); ++at)
    if (lower(s[at]) == word[0] && startsWithNoCase(s, at, word)) return at;
  return std::string::npos;
}

// Whether bytes are UTF-8 with at least one character beyond ASCII.
bool isUtf8Text(const std::string& s) {
  bool wide = false;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    if (b >= 0x80) {
      if ((b & 0xE0) == 0xC0)
        n = 1;
      else if ((b & 0xF0) == 0xE0)
        n = 2;
      else if ((b & 0xF8) == 0xF0)
        n = 3;
      else
        return false;
    }
    if (i + n >= s.size()) return false;
    for (std::size_t k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
    if (n) wide = true;
    i += n + 1;
  }
  return wide;
}

// The charset named in a Content-Type value or a <meta> tag, lower case.
std::string charsetOf(const std::string& text) {
  const std::string l = lowered(text);
  const std::size_t at = l.find("charset=");
  if (at == std::string::npos) return std::string();
  std::size_t i = at + 8;
  while (i < l.size() && (l[i] == '"' || l[i] == '\'')) ++i;
  std::size_t end = i;
  while (end < l.size() && (std::isalnum(static_cast<unsigned char>(l[end])) || l[end] == '-' || l[end] == '_')) ++end;
  return l.substr(i, end - i);
}

// The page's bytes as Windows-1252.
std::string asCp1252(const std::string& body, const std::string& contentType, bool html) {
  std::string charset = charsetOf(contentType);
  if (charset.empty() && html) charset = charsetOf(body.substr(0, 2048));
  if (charset == "utf-8" || charset == "utf8" || (charset.empty() && isUtf8Text(body))) return utf8ToCp1252(body);
  return body;
}

// Appends a code point as Windows-1252 ('?' when it has no place there).
void appendCodePoint(std::string& out, unsigned long cp) {
  if (cp == 0) return;
  std::u16string u;
  if (cp < 0x10000)
    u.push_back(static_cast<char16_t>(cp));
  else
    u.push_back(u'?');
  out += utf16ToCp1252(u);
}

struct Entity {
  const char* name;
  unsigned long cp;
};
const Entity kEntities[] = {
    {"amp", '&'},     {"lt", '<'},       {"gt", '>'},       {"quot", '"'},     {"apos", '\''},
    {"nbsp", ' '},    {"auml", 0xE4},    {"ouml", 0xF6},    {"uuml", 0xFC},    {"Auml", 0xC4},
    {"Ouml", 0xD6},   {"Uuml", 0xDC},    {"szlig", 0xDF},   {"eacute", 0xE9},  {"egrave", 0xE8},
    {"copy", 0xA9},   {"reg", 0xAE},     {"euro", 0x20AC},  {"ndash", 0x2013}, {"mdash", 0x2014},
    {"laquo", 0xAB},  {"raquo", 0xBB},   {"bdquo", 0x201E}, {"ldquo", 0x201C}, {"rdquo", 0x201D},
    {"hellip", 0x2026}, {"middot", 0xB7}, {"deg", 0xB0},     {"sect", 0xA7},
};

// Decodes the entity at text[at] == '&'; returns the characters used (0: not an entity).
std::size_t decodeEntity(const std::string& text, std::size_t at, std::string& out) {
  // A reference ends within the next ten characters: a search to the page's
  // end made every '&' of a long text without ';' cost all the rest of it.
  const std::size_t semi = text.substr(at, 11).find(';');
  if (semi == std::string::npos) return 0;
  const std::string name = text.substr(at + 1, semi - 1);
  if (name.size() > 1 && name[0] == '#') {
    const bool hexa = name[1] == 'x' || name[1] == 'X';
    const std::string digits = name.substr(hexa ? 2 : 1);
    if (digits.empty()) return 0;
    // Digits only (strtoul alone would take blanks, a sign or "0x" too).
    for (char d : digits)
      if (!(hexa ? std::isxdigit(static_cast<unsigned char>(d)) : std::isdigit(static_cast<unsigned char>(d))))
        return 0;
    const unsigned long cp = std::strtoul(digits.c_str(), nullptr, hexa ? 16 : 10);
    appendCodePoint(out, cp == 0xA0 ? ' ' : cp);
    return semi + 1;
  }
  for (const Entity& e : kEntities)
    if (name == e.name) {
      appendCodePoint(out, e.cp);
      return semi + 1;
    }
  return 0;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// Tags that end a line of text.
bool breaksLine(const std::string& tag) {
  static const char* const blocks[] = {"br", "p", "div", "li", "ul", "ol", "tr", "table", "h1", "h2", "h3",
                                       "h4", "h5", "h6", "pre", "hr", "dt", "dd", "dl", "blockquote", "title",
                                       "section", "article", "header", "footer", "body", "html", "head"};
  for (const char* b : blocks)
    if (tag == b) return true;
  return false;
}

std::string withCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else if (c != '\0') {
      out += c;
    }
  }
  return out;
}

}  // namespace

bool looksLikeHtml(const std::string& body, const std::string& contentType) {
  const std::string type = lowered(contentType);
  if (type.find("html") != std::string::npos) return true;
  if (!type.empty()) return false;
  std::size_t i = 0;
  while (i < body.size() && isBlank(body[i])) ++i;
  return startsWithNoCase(body, i, "<!doctype html") || startsWithNoCase(body, i, "<html");
}

std::string htmlToText(const std::string& html) {
  std::string out;
  bool pendingBlank = false;
  bool pre = false;
  // Ends the current line (if any text is on it).
  auto lineEnd = [&out, &pendingBlank] {
    pendingBlank = false;
    if (!out.empty() && out.back() != '\n') out += '\n';
  };
  // Ends the current line and leaves one empty line after it.
  auto paragraph = [&out, &lineEnd] {
    lineEnd();
    if (!out.empty() && !(out.size() >= 2 && out[out.size() - 2] == '\n')) out += '\n';
  };
  auto put = [&](const std::string& s) {
    if (pendingBlank && !out.empty() && out.back() != '\n') out += ' ';
    pendingBlank = false;
    out += s;
  };
  for (std::size_t i = 0; i < html.size();) {
    char c = html[i];
    if (c == '<') {
      if (html.compare(i, 4, "<!--") == 0) {
        const std::size_t end = html.find("-->", i + 4);
        i = end == std::string::npos ? html.size() : end + 3;
        continue;
      }
      const std::size_t close = html.find('>', i);
      if (close == std::string::npos) break;  // a cut-off tag: the rest is not text
      std::size_t n = i + 1;
      const bool ending = n < close && html[n] == '/';
      if (ending) ++n;
      std::size_t nameEnd = n;
      while (nameEnd < close && std::isalnum(static_cast<unsigned char>(html[nameEnd]))) ++nameEnd;
      const std::string tag = lowered(html.substr(n, nameEnd - n));
      i = close + 1;
      if (!ending && (tag == "script" || tag == "style")) {
        const std::size_t end = findNoCase(html, i, tag == "script" ? "</script" : "</style");
        if (end == std::string::npos) {
          i = html.size();
        } else {
          const std::size_t endClose = html.find('>', end);
          i = endClose == std::string::npos ? html.size() : endClose + 1;
        }
        continue;
      }
      if (tag == "pre") pre = !ending;
      if (tag == "p" || tag == "h1" || tag == "h2" || tag == "h3" || tag == "table" || tag == "ul" ||
          tag == "ol" || tag == "pre") {
        paragraph();
      } else if (breaksLine(tag)) {
        lineEnd();
      } else if (tag == "td" || tag == "th") {
        pendingBlank = true;
      }
      continue;
    }
    // The character at i and the characters it takes: one, or a whole
    // reference when that stands for a tab or a line break, which then counts
    // as that character written out ("&#13;" at the end left a line end).
    std::size_t used = 1;
    if (c == '&') {
      std::string decoded;
      const std::size_t length = decodeEntity(html, i, decoded);
      if (length && decoded.size() == 1 && decoded[0] != ' ' && isBlank(decoded[0])) {
        c = decoded[0];
        used = length;
      } else if (length) {
        put(decoded);
        i += length;
        continue;
      }
    }
    if (c == '\0') {  // not text: it would end the field's text early
      i += used;
      continue;
    }
    if (isBlank(c) && !pre) {
      pendingBlank = true;
      i += used;
      continue;
    }
    if (pre && (c == '\n' || c == '\r')) {
      if (c == '\r' && i + used < html.size() && html[i + used] == '\n') ++i;
      out += '\n';
      i += used;
      continue;
    }
    put(std::string(1, c));
    i += used;
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return withCrLf(out);
}

std::string pageToText(const std::string& body, const std::string& contentType) {
  if (body.size() > kMaxPageBytes) {
    // Back to the start of a UTF-8 character cut in two, so that a page
    // recognised as UTF-8 by its bytes still is.
    std::size_t cut = kMaxPageBytes;
    for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(body[cut]) & 0xC0) == 0x80; ++back) --cut;
    return T("Die Seite ist größer als ") + std::to_string(kMaxPageBytes >> 20) + T(" MB; angezeigt wird nur ihr Anfang.") +
           "\r\n\r\n" +
           pageToText(body.substr(0, cut), contentType);
  }
  const bool html = looksLikeHtml(body, contentType);
  const std::string text = asCp1252(body, contentType, html);
  return html ? htmlToText(text) : withCrLf(text);
}

}  // namespace vak
