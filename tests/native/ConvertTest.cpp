#include <gtest/gtest.h>

#include <climits>

#include "platform/Convert.h"
#include "platform/Errors.h"
#include "platform/Text.h"

using namespace vak;

TEST(ParseInteger, Decimal) {
  EXPECT_EQ(parseInteger("0"), 0);
  EXPECT_EQ(parseInteger("42"), 42);
  EXPECT_EQ(parseInteger("007"), 7);
  EXPECT_EQ(parseInteger("-5"), -5);
  EXPECT_EQ(parseInteger("+5"), 5);
  EXPECT_EQ(parseInteger("  42  "), 42);
  EXPECT_EQ(parseInteger("\t12\t"), 12);
  EXPECT_EQ(parseInteger("2147483647"), INT_MAX);
  EXPECT_EQ(parseInteger("-2147483648"), INT_MIN);
}

TEST(ParseInteger, Hexadecimal) {
  EXPECT_EQ(parseInteger("0x10"), 16);
  EXPECT_EQ(parseInteger("0X1f"), 31);
  EXPECT_EQ(parseInteger("$1F"), 31);
  EXPECT_EQ(parseInteger("$ff"), 255);
  EXPECT_EQ(parseInteger("-$10"), -16);
  EXPECT_EQ(parseInteger(" 0x7FFFFFFF "), INT_MAX);
  // Eight hex digits are a 32-bit pattern.
  EXPECT_EQ(parseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(parseInteger("0x80000000"), INT_MIN);
}

TEST(ParseInteger, RejectsEverythingElse) {
  for (const char* bad : {"", " ", "abc", "12abc", "1 2", "1.5", "+", "-", "--1", "+-1", "0x", "$", "0xG", "$-1",
                          "1e3", "0b101", "١", "\xB2"}) {
    EXPECT_EQ(parseInteger(bad), std::nullopt) << "'" << bad << "'";
  }
  EXPECT_EQ(parseInteger(std::string("4\0" "2", 3)), std::nullopt);
}

TEST(ParseInteger, Overflow) {
  EXPECT_EQ(parseInteger("2147483648"), std::nullopt);
  EXPECT_EQ(parseInteger("-2147483649"), std::nullopt);
  EXPECT_EQ(parseInteger("99999999999999999999999"), std::nullopt);
  EXPECT_EQ(parseInteger("$100000000"), std::nullopt);
  EXPECT_EQ(parseInteger("0x0000000000000010"), 16);  // leading zeros are not an overflow
}

TEST(StrToInt, ThrowsTheUsersErrorText) {
  EXPECT_EQ(strToInt(" 12 "), 12);
  EXPECT_EQ(strToInt("$A"), 10);
  try {
    strToInt("zw\xF6lf");
    FAIL() << "no error";
  } catch (const VakError& e) {
    EXPECT_EQ(std::string(e.what()), T("'zwölf' ist kein gültiger Integerwert"));
  }
  try {
    strToInt("");
    FAIL() << "no error";
  } catch (const VakError& e) {
    EXPECT_EQ(std::string(e.what()), T("'' ist kein gültiger Integerwert"));
  }
}

TEST(IntToStr, Decimal) {
  EXPECT_EQ(intToStr(0), "0");
  EXPECT_EQ(intToStr(-17), "-17");
  EXPECT_EQ(intToStr(2147483647), "2147483647");
  EXPECT_EQ(intToStr(-2147483648LL), "-2147483648");
  for (int v : {INT_MIN, -1, 0, 1, 1234567, INT_MAX}) EXPECT_EQ(strToInt(intToStr(v)), v);
}

TEST(ErrorTexts, Windows1252) {
  EXPECT_EQ(errInvalidType("Name"), "Ung\xFCltiger Datentyp f\xFCr 'Name'");
  EXPECT_EQ(errGetData("On"), "Fehler beim Holen der Daten f\xFCr 'On'");
  EXPECT_EQ(errSetData("On"), "Fehler beim Setzen der Daten f\xFCr 'On'");
  EXPECT_EQ(errIniWrite("C:\\x\\a.icq"), "In C:\\x\\a.icq kann nicht geschrieben werden");
  EXPECT_EQ(errNotInteger("x"), "'x' ist kein g\xFCltiger Integerwert");
  EXPECT_EQ(errListIndex(-1), "Listenindex \xFC"
                              "berschreitet das Maximum (-1)");
}
