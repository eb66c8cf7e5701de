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

bool isAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// A host name ("localhost", "update.example.org": labels of letters, digits
// and inner hyphens), an IPv4 address, or an IPv6 address in brackets.
bool validHost(const std::string& host) {
  if (host.empty() || host.size() > 253) return false;
  if (host.front() == '[')
    return host.size() > 2 && host.back() == ']' &&
           host.find_first_not_of("0123456789abcdefABCDEF:.", 1) == host.size() - 1;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = host.find('.', start);
    const std::string label = host.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') return false;
    for (char c : label)
      if (!isAlnum(c) && c != '-') return false;
    if (dot == std::string::npos) return true;
    start = dot + 1;
  }
}

bool validPort(const std::string& port) {
  if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos) return false;
  const long n = std::stol(port);
  return n >= 1 && n <= 65535;
}

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

std::string serverWithOverride(const std::string& base, const std::string& override) {
  std::string o = trimmed(override);
  // A control character (a line break inside) or a letter outside ASCII: no address of a server.
  for (char c : o)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) return base;
  std::string scheme = "http";
  const std::size_t sep = o.find("://");
  if (sep != std::string::npos) {
    scheme = lower(o.substr(0, sep));
    o = o.substr(sep + 3);
  }
  if (scheme != "http" && scheme != "https") return base;
  const std::string authority = o.substr(0, o.find_first_of("/?#"));
  // "host" or "host:port"; a user part ("user:password@") is not a server.
  std::string host = authority;
  std::string port;
  const std::size_t colon = authority.rfind(':');
  if (colon != std::string::npos && authority.find(']', colon) == std::string::npos) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
    if (!validPort(port)) return base;
  }
  if (!validHost(host)) return base;
  return scheme + "://" + authority;
}

std::string updateServer() {
  return serverWithOverride(kUpdateServer, environment("VAK_UPDATE_SERVER"));
}

}  // namespace vak
