#pragma once
#include <string>
#include <vector>

namespace vak {

// Rebuilds list from the language files (mask, e.g. "*.lng") of folder: when
// at least one file is found, "deutsch" and then each file's Info/#02 that is
// not empty, in file-system order. Empty folder text: list only cleared.
void FindLanguageFiles(const std::string& folder, const std::string& mask, std::vector<std::string>& list,
                       bool clearFirst);

// The folder searched: program folder + "LNG\" (no separating backslash).
inline std::string languageFolder(const std::string& programFolder) { return programFolder + "LNG\\"; }

}  // namespace vak
