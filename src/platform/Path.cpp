#include "platform/Path.h"

namespace vak {

std::string pathFromAnsi(const std::string& ansi) { return ansi; }

std::string pathToAnsi(const std::string& path) { return path; }

std::string pathToText(const std::string& path) { return path; }

}  // namespace vak
