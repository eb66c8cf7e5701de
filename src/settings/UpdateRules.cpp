#include "settings/UpdateRules.h"

#include <cstdlib>

#include "Version.h"
#include "settings/Texts.h"

namespace vak {

const char* const kOwnVersion = VAK_VERSION;
const char* const kReleaseVersion = "2.0";

bool manualCheckOffers(const std::string& announced) { return announced != kOwnVersion; }

bool automaticCheckOffers(const std::string& announced) { return announced == kReleaseVersion; }

std::string progressText(long blocks, const std::string& sizeText) {
  return std::to_string(blocks) + "KB | " + sizeText;
}

namespace {

std::string trimmed(const std::string& s) {
  const char* blanks = " \t\r\n";
  const std::size_t first = s.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// An environment variable's value, empty when it is not set.
std::string environment(const char* name) {
#ifdef _MSC_VER
  char* value = nullptr;
  std::size_t size = 0;
  if (_dupenv_s(&value, &size, name) != 0 || !value) return std::string();
  std::string result(value);
  std::free(value);
  return result;
#else
  const char* value = std::getenv(name);
  return value ? value : "";
#endif
}

}  // namespace

std::string serverWithOverride(const std::string& base, const std::string& override) {
  std::string o = trimmed(override);
  std::string scheme = "http";
  const std::size_t sep = o.find("://");
  if (sep != std::string::npos) {
    scheme = o.substr(0, sep);
    o = o.substr(sep + 3);
  }
  const std::size_t end = o.find_first_of("/?#");
  const std::string authority = o.substr(0, end);
  // "host", "host:port"; a user part or an empty host is not a server.
  if (scheme.empty() || authority.empty() || authority[0] == ':' || authority.find('@') != std::string::npos ||
      authority.find_first_of(" \t") != std::string::npos)
    return base;
  return scheme + "://" + authority;
}

std::string updateServer() {
  return serverWithOverride(kUpdateServer, environment("VAK_UPDATE_SERVER"));
}

}  // namespace vak
