#include "tweaks/TweakRules.h"

#include <stdexcept>

#include "platform/Text.h"

namespace vak {

namespace {

struct SoundRow {
  const char* label;  // UTF-8 literal
  const char* file;
};

const SoundRow kSounds[kSoundRows] = {
    {"Autorisierung", "Auth.wav"},
    {"Geburtstag", "Birthday.wav"},
    {"Einkommende Datei", "File.wav"},
    {"Datei vollständig", "FileDone.wav"},
    {"Onlinebenachrichtigung", "Global.wav"},
    {"Einkommende SMS", "incomingsms.wav"},
    {"Einkommende Nachricht", "Message.wav"},
    {"Nachricht gesendet", "MsgSent.wav"},
    {"Nachricht wird eingetippt", "MsgType.wav"},
    {"Benachrichtigung", "Notify.wav"},
};

const SoundRow& soundRow(int row) {
  if (row < 1 || row > kSoundRows) throw std::out_of_range("sound row");
  return kSounds[row - 1];
}

// Up to three characters of s from pos; nothing when s is shorter.
std::string group(const std::string& s, std::size_t pos) { return pos < s.size() ? s.substr(pos, 3) : std::string(); }

}  // namespace

std::string icqWindowTitle(const std::string& uin) { return group(uin, 0) + "-" + group(uin, 3) + "-" + group(uin, 6); }

std::string soundLabel(int row) { return T(soundRow(row).label); }

std::string soundFileName(int row) { return soundRow(row).file; }

std::string soundFilePath(const std::string& folder, int row) { return folder + "\\" + soundFileName(row); }

std::string soundBackupPath(const std::string& folder, int row) { return soundFilePath(folder, row) + ".VAK"; }

std::string soundRowKey(int row) { return "#0" + std::to_string(row); }

std::optional<std::string> soundFolderProblem(const std::string& folderText, bool folderExists) {
  const std::string nothingDone = T("\r\nEs wurde keine Sounddatei abgespielt oder verändert.");
  if (folderText.empty()) return T("ICQ hat für dieses Profil keinen Soundordner eingetragen.") + nothingDone;
  if (!folderExists) return T("Der Soundordner \"") + folderText + T("\" wurde nicht gefunden.") + nothingDone;
  return std::nullopt;
}

}  // namespace vak
