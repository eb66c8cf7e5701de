#include "status/Letters.h"

#include <gtest/gtest.h>

#include "platform/Text.h"

namespace vak {
namespace {

TEST(Letters, SevenLettersBothWays) {
  const std::string single = "\xE4\xF6\xFC\xC4\xD6\xDC\xDF";
  const std::string utf8 = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F";
  EXPECT_EQ(toUtf8Form(single), utf8);
  EXPECT_EQ(fromUtf8Form(utf8), single);
  EXPECT_EQ(toUtf8Form(T("Grüße aus Köln")), "Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln");
}

TEST(Letters, OtherBytesStay) {
  // é in both forms, a lone C3, other accented letters, ASCII.
  const std::string others = "\xC3\xA9 \xE9 \xC3 \xC3\x20 caf\xE8 \xC3\xC3";
  EXPECT_EQ(fromUtf8Form(others), others);
  EXPECT_EQ(toUtf8Form("\xE9\xE8\xC3\xFF abc"), "\xE9\xE8\xC3\xFF abc");
  EXPECT_EQ(toUtf8Form(""), "");
  EXPECT_EQ(fromUtf8Form(""), "");
}

TEST(Letters, ScansLeftToRightWithoutOverlap) {
  // C3 C3 A4: the first C3 stays, the pair after it becomes ä.
  EXPECT_EQ(fromUtf8Form("\xC3\xC3\xA4"), "\xC3\xE4");
  // The single byte of Ä (C4) behind a C3 is no pair of the from direction.
  EXPECT_EQ(fromUtf8Form("\xC3\xC4"), "\xC3\xC4");
  // A converted byte never starts a new match: ä ä ä back to back.
  EXPECT_EQ(fromUtf8Form("\xC3\xA4\xC3\xA4\xC3\xA4"), "\xE4\xE4\xE4");
  // To UTF-8 of the byte C3 followed by ä leaves the C3 alone.
  EXPECT_EQ(toUtf8Form("\xC3\xE4"), "\xC3\xC3\xA4");
}

TEST(Letters, CaseMatters) {
  EXPECT_EQ(fromUtf8Form("\xC3\x84"), "\xC4");   // Ä
  EXPECT_EQ(fromUtf8Form("\xC3\xA4"), "\xE4");   // ä
  EXPECT_EQ(fromUtf8Form("\xC3\x9F"), "\xDF");   // ß
  EXPECT_EQ(fromUtf8Form("\xC3\xBF"), "\xC3\xBF");  // ÿ is not one of the seven
}

TEST(Letters, RoundTripOfSingleByteText) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  // Every byte text without C3 comes back after both directions.
  std::string noC3;
  for (char c : all)
    if (c != '\xC3') noC3 += c;
  EXPECT_EQ(fromUtf8Form(toUtf8Form(noC3)), noC3);
}

}  // namespace
}  // namespace vak
