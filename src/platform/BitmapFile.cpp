#include "platform/BitmapFile.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Path.h"

namespace vak {

namespace {

// Larger files, and pictures beyond this size, go to LoadImage.
constexpr DWORD kMaxFileSize = 4u << 20;
constexpr LONG kMaxSide = 4096;
constexpr size_t kFileHeader = 14, kInfoHeader = 40;

std::uint32_t u32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool readWhole(const std::wstring& path, std::vector<unsigned char>& data) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(f, &size) && size.QuadPart >= 0 && size.QuadPart <= kMaxFileSize;
  if (ok) {
    data.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = data.empty() ||
         (ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) && got == data.size());
  }
  CloseHandle(f);
  return ok;
}

// The bitmap of a plain file: a BITMAPINFOHEADER, bottom-up rows, no
// compression, 4 to 32 bits a pixel, a full colour table or none, everything
// inside the file. Null for any other file.
HBITMAP fromPlainFile(const std::vector<unsigned char>& data) {
  if (data.size() < kFileHeader + kInfoHeader || data[0] != 'B' || data[1] != 'M') return nullptr;
  const unsigned char* info = data.data() + kFileHeader;
  const std::uint32_t offBits = u32(data.data() + 10);
  BITMAPINFOHEADER header{};
  std::memcpy(&header, info, sizeof header);
  if (u32(info) != kInfoHeader || header.biWidth < 1 || header.biWidth > kMaxSide || header.biHeight < 1 ||
      header.biHeight > kMaxSide || header.biPlanes != 1 || header.biCompression != BI_RGB)
    return nullptr;
  const WORD bits = header.biBitCount;
  if (bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;
  std::uint64_t colors = header.biClrUsed;
  if (bits <= 8) {
    if (colors == 0) colors = 1u << bits;
    if (colors != (1u << bits)) return nullptr;
  } else if (colors != 0) {
    return nullptr;
  }
  const std::uint64_t stride = (static_cast<std::uint64_t>(header.biWidth) * bits + 31) / 32 * 4;
  const std::uint64_t pixels = stride * static_cast<std::uint64_t>(header.biHeight);
  if (kFileHeader + kInfoHeader + 4 * colors > offBits || offBits + pixels > data.size()) return nullptr;

  // The header with its colour table, aligned for the GDI.
  std::vector<std::uint32_t> bmi(static_cast<size_t>((kInfoHeader + 4 * colors) / 4));
  std::memcpy(bmi.data(), info, static_cast<size_t>(kInfoHeader + 4 * colors));
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(bmi.data()), CBM_INIT,
                                  data.data() + offBits, reinterpret_cast<const BITMAPINFO*>(bmi.data()),
                                  DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace

HBITMAP loadPlainBitmapFile(const std::string& path) {
  std::vector<unsigned char> data;
  return readWhole(widePath(path), data) ? fromPlainFile(data) : nullptr;
}

HBITMAP loadBitmapFile(const std::string& path) {
  const std::wstring wide = widePath(path);
  std::vector<unsigned char> data;
  if (readWhole(wide, data))
    if (HBITMAP bitmap = fromPlainFile(data)) return bitmap;
  return static_cast<HBITMAP>(LoadImageW(nullptr, wide.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

}  // namespace vak
