// Bitmap files: the loader that reads a plain file once takes and refuses
// exactly the files LoadImage does, and gives the same picture.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "TestSupport.h"
#include "platform/BitmapFile.h"

using vaktest::writeFileBytes;

namespace {

void put(std::string& b, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b += static_cast<char>(v >> (8 * i) & 0xFF);
}

// A file of width x height pixels with `bits` a pixel; pixel bytes count up,
// so every row and every colour index differs. edit may change the header
// fields before the file is put together.
struct Bmp {
  int width = 19, height = 19;
  int bits = 24;
  int colors = 0;  // colour table entries written (and named in biClrUsed when used is -1)
  int used = -1;
  int planes = 1;
  std::uint32_t compression = BI_RGB;
  int headerSize = 40;
  int offBitsDelta = 0;  // added to the true offset of the pixels
  int cutPixels = 0;     // bytes missing at the end
  std::string bytes() const {
    const int stride = (width * bits + 31) / 32 * 4;
    const int pixelBytes = stride * (height < 0 ? -height : height);
    const int table = 4 * colors;
    std::string b = "BM";
    put(b, static_cast<std::uint32_t>(14 + headerSize + table + pixelBytes), 4);
    put(b, 0, 4);
    put(b, static_cast<std::uint32_t>(14 + headerSize + table + offBitsDelta), 4);
    if (headerSize == 12) {
      put(b, 12, 4);
      put(b, static_cast<std::uint32_t>(width), 2);
      put(b, static_cast<std::uint32_t>(height), 2);
      put(b, static_cast<std::uint32_t>(planes), 2);
      put(b, static_cast<std::uint32_t>(bits), 2);
    } else {
      put(b, static_cast<std::uint32_t>(headerSize), 4);
      put(b, static_cast<std::uint32_t>(width), 4);
      put(b, static_cast<std::uint32_t>(height), 4);
      put(b, static_cast<std::uint32_t>(planes), 2);
      put(b, static_cast<std::uint32_t>(bits), 2);
      put(b, compression, 4);
      put(b, static_cast<std::uint32_t>(pixelBytes), 4);
      put(b, 2835, 4);
      put(b, 2835, 4);
      put(b, static_cast<std::uint32_t>(used < 0 ? colors : used), 4);
      put(b, 0, 4);
      b += std::string(static_cast<size_t>(headerSize - 40), '\0');
    }
    for (int i = 0; i < colors; ++i) {
      put(b, static_cast<std::uint32_t>(RGB(i * 7, 255 - i, i * 3)), 3);
      b += '\0';
    }
    for (int i = 0; i < pixelBytes - cutPixels; ++i) b += static_cast<char>(i * 5 + i / stride);
    return b;
  }
};

// The picture as 32-bit pixels, with its size and depth.
std::vector<std::uint32_t> pixelsOf(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  std::vector<std::uint32_t> out{static_cast<std::uint32_t>(info.bmWidth), static_cast<std::uint32_t>(info.bmHeight),
                                 info.bmBitsPixel};
  BITMAPINFO want{};
  want.bmiHeader.biSize = sizeof want.bmiHeader;
  want.bmiHeader.biWidth = info.bmWidth;
  want.bmiHeader.biHeight = -info.bmHeight;
  want.bmiHeader.biPlanes = 1;
  want.bmiHeader.biBitCount = 32;
  want.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &want, DIB_RGB_COLORS);
  DeleteDC(dc);
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

class BitmapFileTest : public testing::Test {
 protected:
  void SetUp() override { dir_ = vaktest::freshDir("bitmapfile"); }
  // Both loaders on the same file: both refuse it, or both give the same
  // picture. direct: whether the file is read directly (not left to LoadImage);
  // taken: what LoadImage is sure to say, where it is.
  void expectSameAsLoadImage(const std::string& name, const std::string& bytes, bool direct,
                             std::optional<bool> taken = std::nullopt) {
    const std::string path = dir_ + "\\" + name + ".bmp";
    writeFileBytes(path, bytes);
    expectSameAt(path, name, direct, taken);
  }
  void expectSameAt(const std::string& path, const std::string& name, bool direct, std::optional<bool> taken) {
    const std::wstring wide(path.begin(), path.end());
    HBITMAP reference = static_cast<HBITMAP>(LoadImageW(nullptr, wide.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    HBITMAP loaded = vak::loadBitmapFile(path);
    HBITMAP plain = vak::loadPlainBitmapFile(path);
    if (taken) {
      EXPECT_EQ(reference != nullptr, *taken) << name << ": not as the test expects of LoadImage";
    }
    EXPECT_EQ(plain != nullptr, direct) << name;
    EXPECT_EQ(loaded != nullptr, reference != nullptr) << name;
    if (loaded && reference) {
      EXPECT_EQ(pixelsOf(loaded), pixelsOf(reference)) << name;
    }
    if (plain && reference) {
      EXPECT_EQ(pixelsOf(plain), pixelsOf(reference)) << name;
    }
    for (HBITMAP b : {loaded, reference, plain})
      if (b) DeleteObject(b);
  }
  std::string dir_;
};

}  // namespace

TEST_F(BitmapFileTest, PlainFilesGiveLoadImagesPicture) {
  expectSameAsLoadImage("rgb24", Bmp{}.bytes(), true, true);
  Bmp wide32;
  wide32.width = 3;
  wide32.height = 5;
  wide32.bits = 32;
  expectSameAsLoadImage("rgb32", wide32.bytes(), true, true);
  Bmp rgb16;
  rgb16.bits = 16;
  rgb16.width = 5;
  expectSameAsLoadImage("rgb16", rgb16.bytes(), true, true);
  Bmp pal8;
  pal8.bits = 8;
  pal8.colors = 256;
  pal8.width = 7;
  expectSameAsLoadImage("pal8", pal8.bytes(), true, true);
  Bmp byCount = pal8;
  byCount.used = 0;  // a full table without its count
  expectSameAsLoadImage("pal8_table_by_count", byCount.bytes(), true, true);
  Bmp pal4;
  pal4.bits = 4;
  pal4.colors = 16;
  pal4.width = 9;
  pal4.height = 2;
  expectSameAsLoadImage("pal4", pal4.bytes(), true, true);
  Bmp gap = Bmp{};
  gap.offBitsDelta = 6;  // pixels further on, after a gap
  std::string withGap = gap.bytes();
  withGap.insert(54, std::string(6, '\x55'));
  expectSameAsLoadImage("gap_before_pixels", withGap, true, true);
}

// Files the direct reading leaves to LoadImage: whatever it says goes.
TEST_F(BitmapFileTest, OtherFilesAreTakenOrRefusedAsByLoadImage) {
  struct Case {
    const char* name;
    std::function<void(Bmp&)> edit;
  };
  const Case cases[] = {
      {"mono", [](Bmp& b) { b.bits = 1; b.colors = 2; }},
      {"top_down", [](Bmp& b) { b.height = -19; }},
      {"core_header", [](Bmp& b) { b.headerSize = 12; }},
      {"v5_header", [](Bmp& b) { b.headerSize = 124; }},
      {"rgb24_with_table", [](Bmp& b) { b.colors = 2; }},
      {"pal8_too_many_colours", [](Bmp& b) { b.bits = 8; b.colors = 256; b.used = 300; }},
      {"pal8_three_colours", [](Bmp& b) { b.bits = 8; b.colors = 3; }},
      {"two_planes", [](Bmp& b) { b.planes = 2; }},
      {"bitfields", [](Bmp& b) { b.bits = 16; b.compression = BI_BITFIELDS; b.colors = 3; }},
      {"zero_width", [](Bmp& b) { b.width = 0; }},
      {"pixels_cut_short", [](Bmp& b) { b.cutPixels = 30; }},
      {"pixels_past_the_end", [](Bmp& b) { b.offBitsDelta = 4000; }},
      {"offset_inside_the_table", [](Bmp& b) { b.bits = 8; b.colors = 256; b.offBitsDelta = -100; }},
      {"bits_7", [](Bmp& b) { b.bits = 7; }},
  };
  for (const Case& c : cases) {
    Bmp b;
    c.edit(b);
    expectSameAsLoadImage(c.name, b.bytes(), false);
  }
  expectSameAsLoadImage("header_only", Bmp{}.bytes().substr(0, 30), false);
  expectSameAsLoadImage("text", "kein Bild", false, false);
  expectSameAsLoadImage("empty", "", false, false);
  std::string wrongMagic = Bmp{}.bytes();
  wrongMagic[0] = 'X';
  expectSameAsLoadImage("wrong_magic", wrongMagic, false, false);
  expectSameAt(dir_ + "\\missing.bmp", "missing", false, false);
}

// A picture larger than the box comes shrunk into it, its sides in their
// ratio, read directly or by LoadImage; a smaller one keeps its size; a file
// refused stays refused.
TEST_F(BitmapFileTest, LargePicturesComeShrunkIntoTheBox) {
  const SIZE box{40, 40};
  struct Case {
    const char* name;
    int width, height, headerSize;
    LONG wantWidth, wantHeight;
  };
  const Case cases[] = {
      {"plain_wide", 300, 150, 40, 40, 20},      // read directly
      {"plain_small", 19, 19, 40, 19, 19},
      {"core_tall", 50, 100, 12, 20, 40},        // left to LoadImage
      {"over_4_mb", 1300, 1300, 40, 40, 40},     // left to LoadImage, never read whole
  };
  for (const Case& c : cases) {
    Bmp b;
    b.width = c.width;
    b.height = c.height;
    b.headerSize = c.headerSize;
    const std::string path = dir_ + "\\" + c.name + ".bmp";
    writeFileBytes(path, b.bytes());
    HBITMAP loaded = vak::loadBitmapFile(path, box);
    ASSERT_TRUE(loaded) << c.name;
    BITMAP info{};
    GetObjectW(loaded, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, c.wantWidth) << c.name;
    EXPECT_EQ(info.bmHeight, c.wantHeight) << c.name;
    DeleteObject(loaded);
  }
  writeFileBytes(dir_ + "\\text.bmp", "kein Bild");
  EXPECT_EQ(vak::loadBitmapFile(dir_ + "\\text.bmp", box), nullptr);
}
