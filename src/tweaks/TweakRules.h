#pragma once
// OS-free rules of the tweaks tab: the title of ICQ's main window, ICQ's ten
// event sounds and the paths and settings keys built from them, and the
// messages about a sound folder that cannot be used.
#include <optional>
#include <string>

namespace vak {

// Title of ICQ's main window for a profile: the UIN's digits in groups of
// three, "123-456-789". Digits after the ninth are not used; a shorter UIN
// ends after its last digit ("123456" gives "123-456-").
std::string icqWindowTitle(const std::string& uin);

constexpr int kSoundRows = 10;

// Row 1..10: the event's caption (Windows-1252) and ICQ's file name for it.
std::string soundLabel(int row);
std::string soundFileName(int row);
// folder + "\" + file name, and that path + ".VAK" (the copy of ICQ's own file).
std::string soundFilePath(const std::string& folder, int row);
std::string soundBackupPath(const std::string& folder, int row);
// Key of the row's check box state in section "ICQ-Sound": "#01" .. "#09", "#010".
std::string soundRowKey(int row);

// Why a sound folder cannot be used, as a message (Windows-1252), or nullopt
// when it can. An empty folder would put every path into the drive's root.
// folderText is the folder as shown to the user.
std::optional<std::string> soundFolderProblem(const std::string& folderText, bool folderExists);

}  // namespace vak
