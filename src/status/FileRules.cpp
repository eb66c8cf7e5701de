#include "status/FileRules.h"

namespace vak {
namespace {

// Position just after the last "\" or ":", 0 when there is none.
std::size_t nameStart(const std::string& path) {
  const std::size_t sep = path.find_last_of("\\:");
  return sep == std::string::npos ? 0 : sep + 1;
}

}  // namespace

std::string fileNameOf(const std::string& path) { return path.substr(nameStart(path)); }

std::string withIcqExtension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const bool hasExt = dot != std::string::npos && dot >= nameStart(path);
  const std::string ext = hasExt ? path.substr(dot) : std::string();
  return ext == ".icq" ? path : path + ".icq";
}

std::string backupDate(const LocalDateTime& t) {
  return std::to_string(t.day) + "." + std::to_string(t.month) + "." + std::to_string(t.year);
}

std::string backupTime(const LocalDateTime& t) {
  return std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
}

}  // namespace vak
