#pragma once
// File name rules of status files and backup slots (OS-free).
#include <string>

#include "platform/DateTime.h"

namespace vak {

// The last part of a path: the text after its last "\" or ":".
std::string fileNameOf(const std::string& path);
// Appends ".icq" unless the extension (from the last "." after the last "\"
// or ":") is exactly ".icq": abend -> abend.icq, alt.set -> alt.set.icq,
// abend.ICQ -> abend.ICQ.icq.
std::string withIcqExtension(const std::string& path);

// "8.12.2026" and "9:5:3": unpadded.
std::string backupDate(const LocalDateTime& t);
std::string backupTime(const LocalDateTime& t);

}  // namespace vak
