#pragma once
// The program's own pictures: the status icons Image1..Image34.
#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

namespace vak {

// The status pictures of items 1..34 in one size (16 x 16 pixels at 96 DPI):
// entries 1..32, 33 away, 34 not available; item 30 has no picture. All are
// painted at once into one row of 32-bit pixels with premultiplied alpha and
// drawn from there; an icon is made only for a window that needs one.
class StatusIcons {
 public:
  static constexpr int kItems = 34;

  StatusIcons() = default;  // no pictures
  explicit StatusIcons(int size);
  ~StatusIcons();
  StatusIcons(StatusIcons&& other) noexcept;
  StatusIcons& operator=(StatusIcons&& other) noexcept;
  StatusIcons(const StatusIcons&) = delete;
  StatusIcons& operator=(const StatusIcons&) = delete;

  // Side of a picture in pixels; 0 when there are none.
  int size() const { return side_; }
  // Draws picture n with its top left corner at x, y, blended over what dc holds.
  void draw(HDC dc, int n, int x, int y) const;
  // Picture n as an icon, made on the first request and destroyed with this
  // object; nullptr for item 30.
  HICON icon(int n);
  // Pixel x, y of picture n as 0xAARRGGBB, straight alpha (as in its icon).
  std::uint32_t pixel(int n, int x, int y) const;

 private:
  void release();
  void swap(StatusIcons& other) noexcept;

  HDC dc_ = nullptr;  // holds row_
  HBITMAP row_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  int side_ = 0;
  std::vector<std::uint32_t> straight_;  // the same row with straight alpha
  std::array<HICON, kItems + 1> icons_{};
};

}  // namespace vak
