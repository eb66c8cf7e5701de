#pragma once
// ICQ keeps ä ö ü Ä Ö Ü ß of titles and messages as UTF-8 byte pairs; the
// program's texts are single-byte Windows-1252. Exactly these seven letters
// are converted, nothing else.
#include <string>

namespace vak {

std::string toUtf8Form(const std::string& text);
std::string fromUtf8Form(const std::string& text);

}  // namespace vak
