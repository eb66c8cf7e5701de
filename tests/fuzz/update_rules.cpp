// What the update check makes of the values it reads from outside: the
// server override (the environment variable VAK_UPDATE_SERVER) and the
// fields of the update information file (announced version "#01", the
// download addresses "#03", "#04", "#06", the size text "#05"). The input's
// lines are, in this order: override, version, size text, the three
// addresses. (The language files give only a display name, which is shown as
// it is: nothing OS-free interprets it.)
//
// Holds: the server is the base or http/https with a valid host and port,
// and the result given as the override again gives itself.
#include <string>

#include "FuzzCheck.h"
#include "settings/UpdateRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string rest = vakfuzz::text(data, size);
  const std::string override = vakfuzz::takeLine(rest);
  const std::string version = vakfuzz::takeLine(rest);
  const std::string sizeText = vakfuzz::takeLine(rest);
  vak::UpdateSources sources;
  sources.program = vakfuzz::takeLine(rest);
  sources.updater = vakfuzz::takeLine(rest);
  sources.language = vakfuzz::takeLine(rest);

  // The server: the base, or "http://" or "https://" and a host with an
  // optional port, nothing else: no user part, no path, no control character.
  const std::string base = "http://vak.example.org";
  const std::string server = vak::serverWithOverride(base, override);
  if (server != base) {
    const std::size_t sep = server.find("://");
    FUZZ_CHECK(sep != std::string::npos);
    const std::string scheme = server.substr(0, sep);
    FUZZ_CHECK(scheme == "http" || scheme == "https");
    const std::string authority = server.substr(sep + 3);
    std::string host = authority;
    std::string port;
    const std::size_t close = authority.rfind(']');
    const std::size_t colon = authority.rfind(':');
    if (colon != std::string::npos && (close == std::string::npos || colon > close)) {
      host = authority.substr(0, colon);
      port = authority.substr(colon + 1);
    }
    FUZZ_CHECK(!host.empty());
    if (host[0] == '[') {
      FUZZ_CHECK(host.size() > 2 && host.back() == ']');
      FUZZ_CHECK(host.find_first_not_of("0123456789abcdefABCDEF:.", 1) == host.size() - 1);
    } else {
      FUZZ_CHECK(host.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-") ==
                 std::string::npos);
    }
    if (colon != std::string::npos && (close == std::string::npos || colon > close)) {
      FUZZ_CHECK(!port.empty() && port.size() <= 5 && port.find_first_not_of("0123456789") == std::string::npos);
      const long n = std::stol(port);
      FUZZ_CHECK(n >= 1 && n <= 65535);
    }
    // Given again, the result gives itself, whatever the base.
    FUZZ_CHECK(vak::serverWithOverride(base, server) == server);
    FUZZ_CHECK(vak::serverWithOverride("http://other", server) == server);
  }

  // The version decides by exact comparison only.
  FUZZ_CHECK(vak::manualCheckOffers(version) == (version != vak::kOwnVersion));
  FUZZ_CHECK(vak::automaticCheckOffers(version) == (version == vak::kReleaseVersion));

  // The size text is shown as it came, after the block counter.
  const std::string progress = vak::progressText(static_cast<long>(size), sizeText);
  FUZZ_CHECK(progress == std::to_string(size) + "KB | " + sizeText);

  FUZZ_CHECK(sources.complete() ==
             (!sources.program.empty() && !sources.updater.empty() && !sources.language.empty()));
  return 0;
}
