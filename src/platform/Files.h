#pragma once
// File system helpers. Paths are UTF-8 (Path.h). Failures are returned, never reported.
#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace vak {

bool copyFile(const std::string& from, const std::string& to);  // overwrites the target
// Replaces `to` with a copy of `from` so that `to` is never left missing or
// half-written: the copy goes to a temporary file beside `to`, which then takes
// its place. false (and `to` unchanged) when `from` cannot be read, names the
// same file as `to`, or the copy or the replacement fails.
bool replaceFile(const std::string& from, const std::string& to);
// Whether two paths name the same existing file (also through other spellings).
bool sameFile(const std::string& a, const std::string& b);
bool deleteFile(const std::string& path);
bool renameFile(const std::string& from, const std::string& to);  // fails when the target exists
// Renames from to to in one step, an existing to replaced; false (and to
// unchanged) when that fails.
bool moveOver(const std::string& from, const std::string& to);
bool createDir(const std::string& path);
bool fileExists(const std::string& path);  // a file, not a folder
bool dirExists(const std::string& path);
bool isReadOnly(const std::string& path);  // has the read-only attribute
// Names (not paths, UTF-8) of the files in folder matching mask, every attribute,
// no folders, in the order the file system returns them.
std::vector<std::string> findFiles(const std::string& folder, const std::string& mask);

LocalDateTime localNow();

// Folder of the running exe, without trailing backslash (UTF-8).
std::string programFolder();
// File name of the running exe, without its folder.
std::string programFileName();
// Command-line arguments after the program name (UTF-8, as paths are).
std::vector<std::string> commandLineArgs();

}  // namespace vak
