#pragma once
// What a take-over of the status set could not write, and the texts that tell
// the user (OS-free).
#include <string>
#include <vector>

namespace vak {

struct StatusWriteReport {
  std::vector<int> failedEntries;  // entries whose key or values were refused
  bool awayFailed = false;         // the away and not-available texts were not written
  bool awayDenied = false;         // ... because access to the ICQ Lite key was denied

  bool complete() const { return failedEntries.empty() && !awayFailed; }
  // The backup holds the 32 entries only: it is taken when all of them were written.
  bool entriesComplete() const { return failedEntries.empty(); }
};

// Message after a take-over that did not write everything (Windows-1252).
// backupTaken tells whether the written entries were saved as a backup.
std::string statusWriteFailureText(const StatusWriteReport& report, const std::string& uin, bool backupTaken);

// Message when a take-over is refused because the profile shown was not read
// completely (uin empty: no profile was read at all).
std::string incompleteReadText(const std::string& uin);

}  // namespace vak
