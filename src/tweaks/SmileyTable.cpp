#include "tweaks/SmileyTable.h"

#include <stdexcept>

namespace vak {

namespace {

const char* const kCodes[kSmileyCount] = {
    ":-)",      ":-*",   ":-$",     "*KISSING*", ":-(",      ":-[",        "=-O",
    "]:->",     ";-)",   "O:-)",    "8-)",       "@}->--",   ":-P",        ":-X",
    "[:-}",     "@=",    "*JOKINGLY*", ":-\\",   "*TIRED*",  "*THUMBS UP*", ":'(",
    ">:o",      ":-!",   "*DRINK*", "*KISSED*",  ":-D",      "*STOP*",     "*IN LOVE*",
};

void checkNumber(int n) {
  if (n < 1 || n > kSmileyCount) throw std::out_of_range("smiley number");
}

}  // namespace

const char* smileyCode(int n) {
  checkNumber(n);
  return kCodes[n - 1];
}

std::string smileyHint(int n) { return std::string("Change: ") + smileyCode(n); }

std::string smileyBitmap(const std::string& folder, int n) {
  checkNumber(n);
  const bool endsInSeparator = !folder.empty() && folder.back() == '\\';
  return folder + (endsInSeparator ? "" : "\\") + "Smiley" + std::to_string(n) + ".bmp";
}

std::string smileyBackup(const std::string& folder, int n) { return smileyBitmap(folder, n) + ".VAK"; }

std::string folderOf(const std::string& path) {
  const std::size_t sep = path.find_last_of('\\');
  if (sep == std::string::npos) return std::string();
  const bool root = sep == 0 || path[sep - 1] == ':' || path[sep - 1] == '\\';
  return path.substr(0, root ? sep + 1 : sep);
}

SmileyCell smileyCell(int n) {
  checkNumber(n);
  const int row = (n - 1) / 6, col = (n - 1) % 6;
  return SmileyCell{7 + 41 * col, 70 + 48 * row};
}

}  // namespace vak
