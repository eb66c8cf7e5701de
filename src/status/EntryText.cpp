#include "status/EntryText.h"

#include <algorithm>

#include "status/Letters.h"

namespace vak {
namespace {

std::string upToFirstNul(const std::string& s) { return s.substr(0, s.find('\0')); }

}  // namespace

std::string entryTextFromString(const std::string& stored) { return fromUtf8Form(upToFirstNul(stored)); }

std::string entryTextFromBinary(const std::vector<std::uint8_t>& bytes, bool isDescription) {
  if (bytes.empty()) return std::string();
  const std::size_t used = isDescription ? bytes.size() - 1 : bytes.size();
  std::string text;
  text.reserve(used + 8);
  for (std::size_t i = 0; i < used; ++i) {
    if (bytes[i] == 0) {
      text += "\r\n";
    } else {
      text += static_cast<char>(bytes[i]);
    }
  }
  return fromUtf8Form(text);
}

std::string awayTextFromBinary(const std::vector<std::uint8_t>& bytes) {
  const std::size_t limit = std::min(bytes.size(), kAwayTextMaxBytes);
  std::string text;
  for (std::size_t i = 0; i < limit && bytes[i] != 0; ++i) text += static_cast<char>(bytes[i]);
  return fromUtf8Form(text);
}

std::string awayTextFromString(const std::string& stored) { return fromUtf8Form(upToFirstNul(stored)); }

std::vector<std::uint8_t> awayTextToBinary(const std::string& caption) {
  const std::string single = fromUtf8Form(caption);
  return std::vector<std::uint8_t>(single.begin(), single.end());
}

}  // namespace vak
