#pragma once
// ICQ's 28 smileys: their codes, file names and the places of their buttons
// (OS-free).
#include <string>

namespace vak {

constexpr int kSmileyCount = 28;

// The text ICQ types for smiley n (1-28).
const char* smileyCode(int n);
// The hint of smiley button n: "Change: " and the code.
std::string smileyHint(int n);

// Bitmap n in a folder: folder + "\Smiley{n}.bmp". A folder that already ends
// in "\" (a drive root such as "C:\") gets no second one.
std::string smileyBitmap(const std::string& folder, int n);
// Its backup beside it: the bitmap's name followed by ".VAK".
std::string smileyBackup(const std::string& folder, int n);

// The folder of a file: everything before the last "\". A root keeps its
// backslash ("C:\x.bmp" -> "C:\", "\x.bmp" -> "\"); no "\" at all -> "".
std::string folderOf(const std::string& path);

// Top-left corner of smiley button n inside its group: six to a row,
// 41 pixels apart across and 48 down, from (7, 70).
struct SmileyCell {
  int left;
  int top;
};
SmileyCell smileyCell(int n);
constexpr int kSmileyButtonSize = 41;

}  // namespace vak
