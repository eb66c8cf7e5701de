#include "status/LineCodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace vak {
namespace {

bool isStrippedAtEdge(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return u == ' ' || u == '\t' || u == '\v' || u == '\f' || u == 0x1A || u == 0xA0;
}

// What a private-profile write of value followed by a read gives back: the
// value line ends at the first line break (or NUL), loses blanks and tabs at
// both ends, then one pair of equal surrounding quotes.
std::string simulateIniRoundTrip(const std::string& value) {
  std::string v = value.substr(0, value.find_first_of(std::string("\r\n\0", 3)));
  std::size_t b = 0;
  std::size_t e = v.size();
  while (b < e && isStrippedAtEdge(v[b])) ++b;
  while (e > b && isStrippedAtEdge(v[e - 1])) --e;
  v = v.substr(b, e - b);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  return v;
}

bool isUndefinedCp1252(unsigned char c) { return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D; }

// Fixed-seed texts over all bytes 01-FF, weighted towards what INI lines and
// the escaping itself care about.
std::vector<std::string> generatedTexts() {
  std::mt19937 rng(20261208u);
  const std::string special = std::string("\r\n\r\n=[];\\\\\"\"''  \t\t") + "\x81\x8D\x8F\x90\x9D\xA0" + "\\x\\r\\n";
  std::uniform_int_distribution<int> len(0, 24);
  std::uniform_int_distribution<int> pick(0, 9);
  std::uniform_int_distribution<int> anyByte(1, 255);
  std::uniform_int_distribution<std::size_t> specialIdx(0, special.size() - 1);
  std::vector<std::string> texts;
  for (int i = 0; i < 6000; ++i) {
    std::string t;
    const int n = len(rng);
    for (int k = 0; k < n; ++k) {
      const int p = pick(rng);
      if (p < 5) {
        t += special[specialIdx(rng)];
      } else if (p < 8) {
        t += static_cast<char>(anyByte(rng));
      } else {
        t += static_cast<char>('a' + k % 26);
      }
    }
    texts.push_back(t);
  }
  return texts;
}

TEST(LineCodec, EscapedFormSurvivesAnIniLine) {
  for (const std::string& text : generatedTexts()) {
    const std::string stored = escapeValue(text);
    EXPECT_EQ(stored.find_first_of("\r\n"), std::string::npos) << text;
    EXPECT_FALSE(needsEscapedForm(stored)) << stored;
    EXPECT_EQ(unescapeValue(simulateIniRoundTrip(stored)), text) << stored;
  }
}

TEST(LineCodec, PlainTextThatNeedsNoEscapeSurvives) {
  int plainCount = 0;
  for (const std::string& text : generatedTexts()) {
    if (needsEscapedForm(text)) continue;
    ++plainCount;
    EXPECT_EQ(simulateIniRoundTrip(text), text) << text;
    EXPECT_EQ(plainForm(text), text);
  }
  EXPECT_GT(plainCount, 500);  // the generator covers both kinds
}

TEST(LineCodec, EveryByteAtEveryPlace) {
  for (int c = 0; c < 256; ++c) {
    const char ch = static_cast<char>(c);
    for (const std::string& text : {std::string(1, ch), std::string(1, ch) + "x", "x" + std::string(1, ch),
                                    "x" + std::string(1, ch) + "y", std::string(2, ch), std::string(3, ch)}) {
      const std::string stored = escapeValue(text);
      EXPECT_EQ(unescapeValue(simulateIniRoundTrip(stored)), text) << c;
      for (char s : stored) {
        const unsigned char u = static_cast<unsigned char>(s);
        EXPECT_TRUE(u >= 0x20 && !isUndefinedCp1252(u)) << c;
      }
      if (!needsEscapedForm(text)) {
        EXPECT_EQ(simulateIniRoundTrip(text), text) << c;
      }
    }
  }
}

TEST(LineCodec, WhatNeedsTheEscapedForm) {
  EXPECT_FALSE(needsEscapedForm(""));
  EXPECT_FALSE(needsEscapedForm("Bin weg"));
  EXPECT_FALSE(needsEscapedForm("a=b; [x] C:\\Pfad\\"));
  EXPECT_FALSE(needsEscapedForm("\"zitiert\" und mehr"));
  EXPECT_FALSE(needsEscapedForm("\"gemischt'"));
  EXPECT_FALSE(needsEscapedForm("\""));
  EXPECT_FALSE(needsEscapedForm("Gr\xFC\xDF" "e \x80 \xFF"));

  EXPECT_TRUE(needsEscapedForm("Hi\r\nDu"));
  EXPECT_TRUE(needsEscapedForm("Hi\nDu"));
  EXPECT_TRUE(needsEscapedForm("Hi\rDu"));
  EXPECT_TRUE(needsEscapedForm("a\tb"));
  EXPECT_TRUE(needsEscapedForm(std::string("a\0b", 3)));
  EXPECT_TRUE(needsEscapedForm("a\x1F"));
  EXPECT_TRUE(needsEscapedForm(" vorn"));
  EXPECT_TRUE(needsEscapedForm("hinten "));
  EXPECT_TRUE(needsEscapedForm(" "));
  EXPECT_TRUE(needsEscapedForm("\"ganz\""));
  EXPECT_TRUE(needsEscapedForm("'ganz'"));
  EXPECT_TRUE(needsEscapedForm("''"));
  for (const char* undefinedByte : {"\x81", "\x8D", "\x8F", "\x90", "\x9D"}) {
    EXPECT_TRUE(needsEscapedForm(std::string("a") + undefinedByte + "b")) << undefinedByte;
  }
}

TEST(LineCodec, EscapeForms) {
  EXPECT_EQ(escapeValue("Hi\r\nDu"), "Hi\\r\\nDu");
  EXPECT_EQ(escapeValue("C:\\x"), "C:\\\\x");
  EXPECT_EQ(escapeValue("a\tb"), "a\\tb");
  EXPECT_EQ(escapeValue(" a "), "\\x20a\\x20");
  EXPECT_EQ(escapeValue("\"a\""), "\\x22a\\x22");
  EXPECT_EQ(escapeValue("'a b'"), "\\x27a b\\x27");
  EXPECT_EQ(escapeValue("a\x81" "b\x01"), "a\\x81b\\x01");
  EXPECT_EQ(escapeValue(""), "");
}

TEST(LineCodec, UnescapeKeepsBrokenEscapes) {
  EXPECT_EQ(unescapeValue("a\\qb"), "a\\qb");
  EXPECT_EQ(unescapeValue("ende\\"), "ende\\");
  EXPECT_EQ(unescapeValue("\\x4"), "\\x4");
  EXPECT_EQ(unescapeValue("\\xZZ"), "\\xZZ");
  EXPECT_EQ(unescapeValue("\\x4a\\x4A"), "JJ");
  EXPECT_EQ(unescapeValue("ohne"), "ohne");
}

TEST(LineCodec, PlainFormForOlderReaders) {
  EXPECT_EQ(plainForm("a\r\nb"), "a b");
  EXPECT_EQ(plainForm("a\rb\nc"), "a b c");
  EXPECT_EQ(plainForm("a\n\rb"), "a  b");
  EXPECT_EQ(plainForm("a\r\n\r\nb"), "a  b");
  EXPECT_EQ(plainForm("\r\n"), " ");
  EXPECT_EQ(plainForm("a\tb"), "a\tb");
}

TEST(LineCodec, EscapedKeyName) {
  EXPECT_EQ(escapedKey("a"), "ax");
  EXPECT_EQ(escapedKey("b"), "bx");
}

}  // namespace
}  // namespace vak
