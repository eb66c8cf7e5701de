#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"

using namespace vak;

namespace {

std::string allBytes() {
  std::string s;
  for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
  return s;
}

}  // namespace

TEST(Cp1252, HighRangeTableAndUndefinedBytes) {
  // 0x80-0x9F: the code page's table; the five undefined bytes keep their number.
  const char16_t expected[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  for (int b = 0x80; b <= 0x9F; ++b) {
    const std::u16string u = cp1252ToUtf16(std::string(1, static_cast<char>(b)));
    ASSERT_EQ(u.size(), 1u);
    EXPECT_EQ(u[0], expected[b - 0x80]) << "byte " << std::hex << b;
  }
  // Everything else is Latin-1.
  EXPECT_EQ(cp1252ToUtf16("A\x7F\xA0\xFC\xFF"), (std::u16string{u'A', 0x7F, 0xA0, 0xFC, 0xFF}));
  EXPECT_EQ(cp1252ToUtf16(std::string(1, '\0')), std::u16string(1, u'\0'));
}

TEST(Cp1252, AllBytesSurviveUtf16AndUtf8) {
  const std::string bytes = allBytes();
  const std::u16string wide = cp1252ToUtf16(bytes);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(utf16ToCp1252(wide), bytes);
  const std::string utf8 = cp1252ToUtf8(bytes);
  EXPECT_EQ(utf8ToCp1252(utf8), bytes);
  // No two bytes share a character.
  for (std::size_t i = 0; i < wide.size(); ++i)
    for (std::size_t j = i + 1; j < wide.size(); ++j) ASSERT_NE(wide[i], wide[j]) << i << " " << j;
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(utf16ToCp1252(u"a\u0100b"), "a?b");                 // Ā
  EXPECT_EQ(utf16ToCp1252(u"\u20AC\u2122"), "\x80\x99");        // € ™
  EXPECT_EQ(utf16ToCp1252(std::u16string{0x0080, 0x009F}), "??");  // C1 controls with a table entry
  EXPECT_EQ(utf16ToCp1252(u"x\U0001F600y"), "x?y");              // one character, one '?'
  EXPECT_EQ(utf16ToCp1252(std::u16string{u'a', 0xD800}), "a?");  // lone surrogate
}

TEST(Utf8, LiteralsBecomeWindows1252) {
  EXPECT_EQ(T("Ä Ö Ü ä ö ü ß"), "\xC4 \xD6 \xDC \xE4 \xF6 \xFC \xDF");
  EXPECT_EQ(T("Änderungen übernehmen"), "\xC4nderungen \xFC"
                                        "bernehmen");
  EXPECT_EQ(T("€ „x“ – …"), "\x80 \x84x\x93 \x96 \x85");
  EXPECT_EQ(T("plain"), "plain");
  EXPECT_EQ(T(""), "");
  EXPECT_EQ(cp1252ToUtf8("zur\xFC"
                         "ck \x80"),
            "zurück €");
}

TEST(Utf8, InvalidSequencesBecomeQuestionMarks) {
  EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");            // cut off
  EXPECT_EQ(utf8ToCp1252("a\x80z"), "a?z");          // stray continuation byte
  EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "??");         // overlong '/'
  EXPECT_EQ(utf8ToCp1252("\xED\xA0\x80x"), "?x");    // encoded surrogate
  EXPECT_EQ(utf8ToCp1252("\xF0\x9F\x98\x80!"), "?!");  // outside the code page
  EXPECT_EQ(utf8ToCp1252("\xC3\xBC\xC3"), "\xFC?");
}
