// The texts of ICQ's status entries and away texts as they are decoded from
// the registry, by the value's type. The first byte of the input chooses what
// the rest is (as a digit in the seeds):
//   0 a REG_SZ title or message      3 a REG_BINARY away text
//   1 a REG_BINARY title (Name)      4 a REG_SZ away text
//   2 a REG_BINARY message (Description)
// (Any other type reads as empty before these decoders are reached.)
//
// Holds: a title or message written (letters to UTF-8 form, as REG_SZ) reads
// back unchanged when it has no NUL and no C3 pair of its own; an away text
// written as binary reads back as its single-byte form when that has no NUL
// and at most 1024 bytes. Does not hold for binary titles and messages:
// every NUL becomes CR LF, and a message loses its last byte.
#include <vector>

#include "FuzzCheck.h"
#include "status/EntryText.h"
#include "status/Letters.h"

namespace {

bool holdsPair(const std::string& s) {
  static const std::string second = "\xA4\xB6\xBC\x84\x96\x9C\x9F";
  for (std::size_t i = 0; i + 1 < s.size(); ++i)
    if (s[i] == '\xC3' && second.find(s[i + 1]) != std::string::npos) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned kind = static_cast<unsigned>(data[0] - '0') % 5u;
  const std::string stored = vakfuzz::text(data + 1, size - 1);
  const std::vector<std::uint8_t> bytes(data + 1, data + size);
  const std::string upToNul = stored.substr(0, stored.find('\0'));

  switch (kind) {
    case 0: {
      const std::string t = vak::entryTextFromString(stored);
      FUZZ_CHECK(t == vak::fromUtf8Form(upToNul));
      if (stored.find('\0') == std::string::npos && !holdsPair(stored))
        FUZZ_CHECK(vak::entryTextFromString(vak::toUtf8Form(stored)) == stored);
      break;
    }
    case 1:
    case 2: {
      const bool description = kind == 2;
      const std::string t = vak::entryTextFromBinary(bytes, description);
      FUZZ_CHECK(t.find('\0') == std::string::npos);
      std::string expected;
      const std::size_t used = bytes.empty() ? 0 : bytes.size() - (description ? 1 : 0);
      for (std::size_t i = 0; i < used; ++i) expected += bytes[i] ? std::string(1, static_cast<char>(bytes[i])) : "\r\n";
      FUZZ_CHECK(t == vak::fromUtf8Form(expected));
      break;
    }
    case 3: {
      const std::string t = vak::awayTextFromBinary(bytes);
      FUZZ_CHECK(t.size() <= vak::kAwayTextMaxBytes);
      FUZZ_CHECK(t.find('\0') == std::string::npos);
      FUZZ_CHECK(t == vak::fromUtf8Form(upToNul.substr(0, vak::kAwayTextMaxBytes)));
      // Written back as it is shown.
      const std::vector<std::uint8_t> again = vak::awayTextToBinary(t);
      FUZZ_CHECK(std::string(again.begin(), again.end()) == t);
      // A caption written and read again.
      const std::vector<std::uint8_t> written = vak::awayTextToBinary(stored);
      const std::string single = vak::fromUtf8Form(stored);
      FUZZ_CHECK(std::string(written.begin(), written.end()) == single);
      if (single.find('\0') == std::string::npos && single.size() <= vak::kAwayTextMaxBytes)
        FUZZ_CHECK(vak::awayTextFromBinary(written) == single);
      break;
    }
    default: {
      const std::string t = vak::awayTextFromString(stored);
      FUZZ_CHECK(t == vak::fromUtf8Form(upToNul));
      break;
    }
  }
  return 0;
}
