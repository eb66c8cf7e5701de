// What the update check makes of the values it reads from outside: the
// server override (the environment variable VAK_UPDATE_SERVER) and the
// fields of the update information file (announced version "#01", the
// download addresses "#03", "#04", "#06", the size text "#05"). The input's
// lines are, in this order: override, version, size text, the three
// addresses. (The language files give only a display name, which is shown as
// it is: nothing OS-free interprets it.)
//
// Holds: an override's result without control characters, given as the
// override again, gives itself.
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

  // The server: the base, or "scheme://authority" and nothing after it.
  const std::string base = "http://vak.example.org";
  const std::string server = vak::serverWithOverride(base, override);
  if (server != base) {
    const std::size_t sep = server.find("://");
    FUZZ_CHECK(sep != std::string::npos && sep > 0);
    const std::string authority = server.substr(sep + 3);
    FUZZ_CHECK(!authority.empty() && authority[0] != ':');
    FUZZ_CHECK(authority.find_first_of("/?#@ \t") == std::string::npos);
    // Given again, the result gives itself (as long as it holds no control
    // character, which the override's trimming would take off its end).
    bool control = false;
    for (char c : server) control = control || static_cast<unsigned char>(c) < 0x20;
    if (!control) {
      FUZZ_CHECK(vak::serverWithOverride(base, server) == server);
      FUZZ_CHECK(vak::serverWithOverride("http://other", server) == server);
    }
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
