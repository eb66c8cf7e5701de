#include "platform/BitmapFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <vector>

#include "platform/Path.h"

namespace vak {

namespace {

// Larger files, and pictures beyond this size, go to LoadImage.
constexpr DWORD kMaxFileSize = 4u << 20;
constexpr LONG kMaxSide = 4096;
constexpr size_t kFileHeader = 14, kInfoHeader = 40, kCoreHeader = 12;

std::uint32_t u32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
LONG u16(const unsigned char* p) { return static_cast<LONG>(p[0] | p[1] << 8); }

// The whole file when it is small enough to be read directly, else its
// headers only (whole = false). False when it cannot be read.
bool readFile(const std::wstring& path, std::vector<unsigned char>& data, bool& whole) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(f, &size) && size.QuadPart >= 0;
  if (ok) {
    whole = size.QuadPart <= kMaxFileSize;
    data.resize(whole ? static_cast<size_t>(size.QuadPart) : kFileHeader + kInfoHeader);
    DWORD got = 0;
    ok = data.empty() ||
         (ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) && got == data.size());
  }
  CloseHandle(f);
  return ok;
}

// The picture's size as its headers give it; 0 x 0 when they do not.
SIZE headerSize(const std::vector<unsigned char>& data) {
  if (data.size() < kFileHeader + 12 || data[0] != 'B' || data[1] != 'M') return SIZE{0, 0};
  const unsigned char* info = data.data() + kFileHeader;
  if (u32(info) == kCoreHeader) return SIZE{u16(info + 4), u16(info + 6)};
  if (u32(info) < kInfoHeader) return SIZE{0, 0};
  return SIZE{static_cast<LONG>(u32(info + 4)), std::abs(static_cast<LONG>(u32(info + 8)))};
}

// The size a picture of `natural` size gets in box.
SIZE fitted(SIZE natural, SIZE box) {
  if (natural.cx <= box.cx && natural.cy <= box.cy) return natural;
  const double scale = std::min(static_cast<double>(box.cx) / natural.cx, static_cast<double>(box.cy) / natural.cy);
  return SIZE{std::max<LONG>(1, static_cast<LONG>(natural.cx * scale + 0.5)),
              std::max<LONG>(1, static_cast<LONG>(natural.cy * scale + 0.5))};
}

// The pixels of a plain file in `size`: made directly when it is the
// picture's own size, else drawn shrunk into a bitmap of that size.
HBITMAP fromPixels(const BITMAPINFO* info, const void* pixels, SIZE size) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = nullptr;
  if (size.cx == info->bmiHeader.biWidth && size.cy == info->bmiHeader.biHeight) {
    bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, pixels, info, DIB_RGB_COLORS);
  } else if ((bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy)) != nullptr) {
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, 0, 0, size.cx, size.cy, 0, 0, info->bmiHeader.biWidth, info->bmiHeader.biHeight, pixels, info,
                  DIB_RGB_COLORS, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// The bitmap of a plain file: a BITMAPINFOHEADER, bottom-up rows, no
// compression, 4 to 32 bits a pixel, a full colour table or none, everything
// inside the file. Null for any other file.
HBITMAP fromPlainFile(const std::vector<unsigned char>& data, SIZE box) {
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
  return fromPixels(reinterpret_cast<const BITMAPINFO*>(bmi.data()), data.data() + offBits,
                    fitted(SIZE{header.biWidth, header.biHeight}, box));
}

}  // namespace

HBITMAP loadPlainBitmapFile(const std::string& path) {
  std::vector<unsigned char> data;
  bool whole = false;
  return readFile(widePath(path), data, whole) && whole ? fromPlainFile(data, SIZE{LONG_MAX, LONG_MAX}) : nullptr;
}

HBITMAP loadBitmapFile(const std::string& path, SIZE box) {
  const std::wstring wide = widePath(path);
  std::vector<unsigned char> data;
  bool whole = false;
  SIZE size{0, 0};  // LoadImage's own size
  if (readFile(wide, data, whole)) {
    if (whole)
      if (HBITMAP bitmap = fromPlainFile(data, box)) return bitmap;
    // LoadImage stretches a picture while it reads it.
    const SIZE natural = headerSize(data);
    if (natural.cx > 0 && natural.cy > 0) size = fitted(natural, box);
    if (size.cx == natural.cx && size.cy == natural.cy) size = SIZE{0, 0};
  }
  return static_cast<HBITMAP>(LoadImageW(nullptr, wide.c_str(), IMAGE_BITMAP, size.cx, size.cy, LR_LOADFROMFILE));
}

}  // namespace vak
