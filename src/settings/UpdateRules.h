#pragma once
// The decisions of the update check that need no operating system: which
// announced version is offered, the progress text, the update server's
// address, and whether the update information names all three downloads.
#include <string>

namespace vak {

extern const char* const kOwnVersion;      // "2.0 RC3": the manual check compares with it
extern const char* const kReleaseVersion;  // "2.0": the automatic checks compare with it

// The manual check offers every announced version except the program's own.
bool manualCheckOffers(const std::string& announced);
// The automatic checks offer exactly the release "2.0".
bool automaticCheckOffers(const std::string& announced);

// "{blocks}KB | {size}".
std::string progressText(long blocks, const std::string& sizeText);

// The update server: `base` ("http://host[:port]") with scheme, host and port
// taken from `override` when that is set ("http://127.0.0.1:8123", a trailing
// path is ignored; without a scheme http is meant). Only http and https with
// a valid host (name, IPv4, [IPv6]) and port 1-65535 are taken; anything else
// (another scheme, a user part, a control character) leaves `base`.
std::string serverWithOverride(const std::string& base, const std::string& override);
// The server in use: kUpdateServer, overridden by the environment variable
// VAK_UPDATE_SERVER.
std::string updateServer();

// The update section as read from the update information file.
struct UpdateSources {
  std::string program;   // "#03"
  std::string updater;   // "#04"
  std::string language;  // "#06"
  // All three must be named for an update to start.
  bool complete() const { return !program.empty() && !updater.empty() && !language.empty(); }
};

}  // namespace vak
