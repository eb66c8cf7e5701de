// The status pictures: drawn from their shared row they look exactly like
// the icons made of them, in every size.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/Icons.h"

namespace {

constexpr COLORREF kBackground = RGB(240, 240, 240);

// A side x side picture of what `paint` draws over the background, as 0x00RRGGBB.
template <class Paint>
std::vector<std::uint32_t> drawnPixels(int side, Paint paint) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = side;
  bi.bmiHeader.biHeight = -side;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  const RECT all{0, 0, side, side};
  HBRUSH brush = CreateSolidBrush(kBackground);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  paint(dc);
  GdiFlush();
  std::vector<std::uint32_t> out(static_cast<std::size_t>(side) * static_cast<std::size_t>(side));
  std::memcpy(out.data(), bits, out.size() * sizeof(std::uint32_t));
  for (std::uint32_t& p : out) p &= 0xFFFFFFu;
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bmp);
  return out;
}

int channelDistance(std::uint32_t a, std::uint32_t b) {
  int most = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    if (d > most) most = d;
  }
  return most;
}

}  // namespace

TEST(StatusIcons, DrawnLikeTheirIconsInEverySize) {
  for (int side : {16, 24, 20}) {
    vak::StatusIcons icons(side);
    ASSERT_EQ(icons.size(), side);
    for (int n = 1; n <= vak::StatusIcons::kItems; ++n) {
      if (n == 30) continue;
      HICON icon = icons.icon(n);
      ASSERT_TRUE(icon) << "item " << n;
      ICONINFO info{};
      ASSERT_TRUE(GetIconInfo(icon, &info));
      BITMAP bm{};
      GetObjectW(info.hbmColor, sizeof bm, &bm);
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
      EXPECT_EQ(bm.bmWidth, side);
      EXPECT_EQ(icons.icon(n), icon) << "made once";

      const auto fromRow = drawnPixels(side, [&](HDC dc) { icons.draw(dc, n, 0, 0); });
      const auto asIcon =
          drawnPixels(side, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, side, side, 0, nullptr, DI_NORMAL); });
      int differing = 0, covered = 0;
      for (std::size_t i = 0; i < fromRow.size(); ++i) {
        if (channelDistance(fromRow[i], asIcon[i]) > 1) ++differing;
        if (fromRow[i] != (kBackground & 0xFFFFFFu)) ++covered;
      }
      EXPECT_EQ(differing, 0) << "item " << n << ", " << side << " pixels";
      EXPECT_GT(covered, side * side / 8) << "item " << n << " draws (almost) nothing";
    }
  }
}

TEST(StatusIcons, ColoursOfThePictures) {
  vak::StatusIcons icons(16);
  // The middle of the flower of "online" is its red heart; the corners are clear.
  EXPECT_EQ(icons.pixel(1, 8, 8), 0xFFE63C28u);
  EXPECT_EQ(icons.pixel(1, 0, 0), 0u);
  EXPECT_EQ(icons.pixel(1, 15, 15), 0u);
  // "Do not disturb": a white bar across a red sign.
  EXPECT_EQ(icons.pixel(4, 8, 8), 0xFFFFFFFFu);
  EXPECT_EQ(icons.pixel(4, 8, 4), 0xFFC81E1Eu);
  // Item 30 has no picture: no icon, nothing drawn.
  EXPECT_EQ(icons.icon(30), nullptr);
  const auto none = drawnPixels(16, [&](HDC dc) { icons.draw(dc, 30, 0, 0); });
  for (std::uint32_t p : none) ASSERT_EQ(p, kBackground & 0xFFFFFFu);
  // Without pictures nothing is drawn and no icon made.
  vak::StatusIcons empty;
  EXPECT_EQ(empty.size(), 0);
  EXPECT_EQ(empty.icon(1), nullptr);
}
