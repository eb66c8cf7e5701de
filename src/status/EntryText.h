#pragma once
// How the stored bytes of ICQ's texts become the texts shown (OS-free).
#include <cstdint>
#include <string>
#include <vector>

namespace vak {

// A REG_SZ title or message: up to its first NUL, letters converted.
std::string entryTextFromString(const std::string& stored);
// A REG_BINARY title (isDescription false: all bytes) or message (true: the
// last byte dropped); every NUL becomes CR LF; letters converted.
// Size 0 gives "".
std::string entryTextFromBinary(const std::vector<std::uint8_t>& bytes, bool isDescription);

// Away and not-available texts. Binary: at most the first 1024 bytes, up to the
// first NUL. String: up to its first NUL. Letters converted in both.
constexpr std::size_t kAwayTextMaxBytes = 1024;
std::string awayTextFromBinary(const std::vector<std::uint8_t>& bytes);
std::string awayTextFromString(const std::string& stored);
// What is stored for an away text: the caption with the letters in single-byte form.
std::vector<std::uint8_t> awayTextToBinary(const std::string& caption);

}  // namespace vak
