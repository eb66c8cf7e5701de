#include "status/EntryText.h"

#include <gtest/gtest.h>

#include "platform/Text.h"

namespace vak {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(EntryText, StringValue) {
  EXPECT_EQ(entryTextFromString("\x7A\x75\x72\xC3\xBC\x63\x6B"), T("zurück"));
  EXPECT_EQ(entryTextFromString("caf\xC3\xA9"), "caf\xC3\xA9");  // é stays as two bytes
  EXPECT_EQ(entryTextFromString(std::string("Hi\0Du", 5)), "Hi");
  EXPECT_EQ(entryTextFromString(""), "");
}

TEST(EntryText, BinaryDescriptionDropsLastByte) {
  const Bytes b = {0x48, 0x69, 0x00, 0x44, 0x75, 0x00};
  EXPECT_EQ(entryTextFromBinary(b, true), "Hi\r\nDu");
  EXPECT_EQ(entryTextFromBinary(b, false), "Hi\r\nDu\r\n");
  EXPECT_EQ(entryTextFromBinary(Bytes{0x41}, true), "");
  EXPECT_EQ(entryTextFromBinary(Bytes{0x41}, false), "A");
}

TEST(EntryText, BinaryEmptyAndLetters) {
  EXPECT_EQ(entryTextFromBinary(Bytes{}, false), "");
  EXPECT_EQ(entryTextFromBinary(Bytes{}, true), "");
  // Every NUL becomes CR LF, then the letters are converted.
  const Bytes b = {0x00, 0x00, 0xC3, 0xBC, 0x00, 0xC3};
  EXPECT_EQ(entryTextFromBinary(b, false), std::string("\r\n\r\n\xFC\r\n\xC3"));
  EXPECT_EQ(entryTextFromBinary(b, true), std::string("\r\n\r\n\xFC\r\n"));
}

TEST(EntryText, AwayBinary) {
  Bytes longText(2000);
  for (std::size_t i = 0; i < longText.size(); ++i) longText[i] = static_cast<std::uint8_t>('a' + i % 26);
  const std::string got = awayTextFromBinary(longText);
  ASSERT_EQ(got.size(), kAwayTextMaxBytes);
  EXPECT_EQ(got, std::string(longText.begin(), longText.begin() + 1024));

  EXPECT_EQ(awayTextFromBinary(Bytes{0x41, 0x42, 0x00, 0x43}), "AB");
  EXPECT_EQ(awayTextFromBinary(Bytes{}), "");
  EXPECT_EQ(awayTextFromBinary(Bytes{0x00, 0x41}), "");
  EXPECT_EQ(awayTextFromBinary(Bytes{0x7A, 0x75, 0x72, 0xC3, 0xBC, 0x63, 0x6B}), T("zurück"));
  // A letter pair split by the 1024-byte cut stays a lone C3.
  Bytes split(1023, 'x');
  split.push_back(0xC3);
  split.push_back(0xA4);
  EXPECT_EQ(awayTextFromBinary(split), std::string(1023, 'x') + "\xC3");
}

TEST(EntryText, AwayString) {
  EXPECT_EQ(awayTextFromString("Bin weg"), "Bin weg");
  EXPECT_EQ(awayTextFromString(std::string("A\0B", 3)), "A");
  EXPECT_EQ(awayTextFromString("\xC3\x96l"), "\xD6l");
}

TEST(EntryText, AwayWrittenAsSingleBytes) {
  EXPECT_EQ(awayTextToBinary(T("zurück")), (Bytes{0x7A, 0x75, 0x72, 0xFC, 0x63, 0x6B}));
  EXPECT_EQ(awayTextToBinary(T("Ã¤")), (Bytes{0xE4}));
  EXPECT_EQ(awayTextToBinary(""), Bytes{});
  // Written and read back it is the same caption (single-byte letters stay).
  const std::string caption = T("Gleich zurück – Grüße");
  EXPECT_EQ(awayTextFromBinary(awayTextToBinary(caption)), caption);
}

}  // namespace
}  // namespace vak
