#pragma once
// Bitmap files (.bmp) as pictures for controls.
#include <windows.h>

#include <climits>
#include <string>

namespace vak {

// The bitmap of a file, as LoadImage(IMAGE_BITMAP, LR_LOADFROMFILE) gives it,
// or null when the file is missing or no bitmap LoadImage takes. A plain
// uncompressed file is read once and made into the bitmap directly; every
// other file is left to LoadImage, so both take and refuse the same files.
// A picture larger than box is shrunk to fit into it, its sides keeping their
// ratio, without being made in its full size first; a smaller one keeps its size.
HBITMAP loadBitmapFile(const std::string& path, SIZE box = SIZE{LONG_MAX, LONG_MAX});
// The direct reading alone: null for every file it leaves to LoadImage.
HBITMAP loadPlainBitmapFile(const std::string& path);

}  // namespace vak
