#include "ui/Icons.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace vak {
namespace {

// The pictures are painted with plain GDI at four times the final size and
// reduced by averaging. GDI draws without antialiasing and ignores alpha, so
// each picture is painted on a background colour that no picture uses: a
// sample of another colour belongs to the picture, and the share of such
// samples in a pixel becomes its alpha.
constexpr int kScale = 4;
// Pictures are drawn on a 32 x 32 grid; one grid unit in pixels of the big
// bitmap (set for the size being made).
double g_unit = 16 * kScale / 32.0;
// Magenta: neither a colour of the tables below nor a darkened one (darker()
// never gives 255).
constexpr COLORREF kBackground = RGB(255, 0, 255);
constexpr uint32_t kBackgroundSample = 0xFF00FFu;  // as a 32-bit DIB holds it (0x00RRGGBB)

// Colours of a drawing step: RGB values, or the picture's own colours.
constexpr COLORREF kNone = CLR_INVALID;
constexpr COLORREF kMain = 0x01000000;
constexpr COLORREF kAccent = 0x02000000;
constexpr COLORREF kMainDark = 0x03000000;
constexpr COLORREF kAccentDark = 0x04000000;

enum class Part {
  None, Flower, DndSign, Cup, Note, Heart, Moon, Sun, Book, Phone, Mug, Plate, Sleep, Car,
  Monitor, Gift, Star, Rain, Question, Face, Die, Bag, Letter, House, Camera, Bolt,
  Smile, Frown, Chat, Minus, Clock, Dash  // details and badges
};

struct Look {
  Part shape;
  COLORREF main;
  COLORREF accent;
  Part extra;  // a detail or a badge drawn over the shape
};

// Items 1..34; item 30 has no picture.
constexpr int kItems = StatusIcons::kItems;
const Look kLooks[kItems] = {
    {Part::Flower, RGB(60, 180, 60), RGB(230, 60, 40), Part::None},       // 1 online
    {Part::Flower, RGB(60, 180, 60), RGB(250, 210, 40), Part::Chat},      // 2 free for chat
    {Part::Flower, RGB(220, 50, 40), RGB(250, 210, 40), Part::Minus},     // 3 occupied
    {Part::DndSign, RGB(200, 30, 30), RGB(255, 255, 255), Part::None},    // 4 do not disturb
    {Part::Flower, RGB(190, 190, 200), RGB(140, 140, 150), Part::None},   // 5 invisible
    {Part::Flower, RGB(70, 130, 230), RGB(250, 210, 40), Part::None},     // 6 back soon
    {Part::Cup, RGB(240, 240, 240), RGB(120, 70, 30), Part::None},        // 7
    {Part::Note, RGB(40, 40, 160), RGB(40, 40, 160), Part::None},         // 8
    {Part::Heart, RGB(225, 30, 60), RGB(255, 150, 170), Part::None},      // 9
    {Part::Moon, RGB(245, 215, 70), RGB(170, 130, 20), Part::None},       // 10
    {Part::Sun, RGB(255, 200, 0), RGB(255, 140, 0), Part::None},          // 11
    {Part::Book, RGB(60, 100, 190), RGB(250, 250, 240), Part::None},      // 12
    {Part::Phone, RGB(40, 40, 40), RGB(200, 200, 200), Part::None},       // 13
    {Part::Mug, RGB(240, 180, 30), RGB(255, 255, 255), Part::None},       // 14
    {Part::Plate, RGB(250, 250, 250), RGB(150, 150, 160), Part::None},    // 15
    {Part::Sleep, RGB(60, 90, 200), RGB(60, 90, 200), Part::None},        // 16
    {Part::Car, RGB(210, 40, 40), RGB(40, 40, 40), Part::None},           // 17
    {Part::Monitor, RGB(170, 170, 180), RGB(70, 140, 230), Part::None},   // 18
    {Part::Gift, RGB(60, 160, 220), RGB(230, 40, 60), Part::None},        // 19
    {Part::Star, RGB(255, 210, 30), RGB(200, 140, 0), Part::None},        // 20
    {Part::Rain, RGB(180, 190, 210), RGB(50, 110, 220), Part::None},      // 21
    {Part::Question, RGB(60, 120, 220), RGB(255, 255, 255), Part::None},  // 22
    {Part::Face, RGB(255, 215, 40), RGB(60, 40, 20), Part::Smile},        // 23
    {Part::Face, RGB(120, 170, 240), RGB(30, 40, 90), Part::Frown},      // 24
    {Part::Face, RGB(150, 210, 90), RGB(40, 80, 20), Part::Frown},       // 25 sick
    {Part::Die, RGB(255, 255, 255), RGB(20, 20, 20), Part::None},         // 26
    {Part::Bag, RGB(230, 110, 170), RGB(120, 40, 80), Part::None},        // 27
    {Part::Letter, RGB(250, 245, 220), RGB(150, 120, 60), Part::None},    // 28
    {Part::House, RGB(240, 220, 170), RGB(190, 50, 40), Part::None},      // 29
    {Part::None, 0, 0, Part::None},                                       // 30
    {Part::Camera, RGB(70, 70, 80), RGB(140, 200, 250), Part::None},      // 31
    {Part::Bolt, RGB(255, 220, 0), RGB(190, 120, 0), Part::None},         // 32
    {Part::Flower, RGB(245, 200, 30), RGB(250, 120, 30), Part::Clock},    // 33 away
    {Part::Flower, RGB(240, 110, 30), RGB(200, 40, 30), Part::Dash},      // 34 not available
};

// Circle: x y radius. Oval: left top right bottom. Box: the same plus the
// corner rounding. Poly (filled) and Lines: x y pairs. A step may list several
// shapes of its kind, separated by ";".
enum class Op { Circle, Oval, Box, Poly, Lines };

struct Step {
  Part part;
  Op op;
  COLORREF fill;
  COLORREF line;
  double width;  // of the outline, in grid units
  const char* xy;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(60, 60, 60);

// The pictures step by step; paint() adds the outlines of the heart and the moon.
const Step kSteps[] = {
    {Part::Flower, Op::Circle, kMain, kMainDark, 1.6,
     "16 8 6.5; 24.1 13.9 6.5; 21 23.4 6.5; 11 23.4 6.5; 7.9 13.9 6.5"},
    {Part::Flower, Op::Circle, kAccent, kAccentDark, 1.6, "16 16.5 5"},
    {Part::Heart, Op::Oval, kAccent, kNone, 0, "7 7 12 12"},
    {Part::Sun, Op::Lines, kNone, kAccent, 2.6,
     "26 16 31 16; 23.1 23.1 26.6 26.6; 16 26 16 31; 8.9 23.1 5.4 26.6; 6 16 1 16; "
     "8.9 8.9 5.4 5.4; 16 6 16 1; 23.1 8.9 26.6 5.4"},
    {Part::Sun, Op::Circle, kMain, kAccent, 1.6, "16 16 8"},
    {Part::Star, Op::Poly, kMain, kAccent, 1.6,
     "16 2 19.8 11.7 30.3 12.4 22.2 19 24.8 29.1 16 23.5 7.2 29.1 9.8 19 1.7 12.4 12.2 11.7"},
    {Part::DndSign, Op::Circle, kMain, kMainDark, 1.6, "16 16 14.5"},
    {Part::DndSign, Op::Box, kAccent, kNone, 0, "7 13 25 19.5 2"},
    {Part::Cup, Op::Oval, kNone, kMainDark, 3, "19 13 29 23"},
    {Part::Cup, Op::Poly, kMain, kMainDark, 1.6, "4 11 24 11 22 27 6 27"},
    {Part::Cup, Op::Oval, kAccent, kNone, 0, "6 10 22 15"},
    {Part::Cup, Op::Lines, kNone, RGB(170, 170, 170), 1.4, "10 8 12 5 10 2; 16 8 18 5 16 2"},
    {Part::Note, Op::Lines, kMain, kMain, 2.5, "20 25 20 4 27 8 27 13 20 10"},
    {Part::Note, Op::Oval, kMain, kMain, 2.5, "8 20 21 29"},
    {Part::Book, Op::Poly, kMain, kMainDark, 1.6, "3 8 16 10 29 8 29 27 16 29 3 27"},
    {Part::Book, Op::Poly, kAccent, RGB(150, 150, 150), 1.2,
     "5 6 15 8 15 26 5 24; 17 8 27 6 27 24 17 26"},
    {Part::Book, Op::Lines, kNone, RGB(150, 150, 150), 1.2,
     "7 12 13 13; 7 16 13 17; 19 13 25 12; 19 17 25 16"},
    {Part::Phone, Op::Poly, kMain, RGB(0, 0, 0), 1.6, "9 14 23 14 28 28 4 28"},
    {Part::Phone, Op::Circle, kAccent, RGB(0, 0, 0), 1.6, "16 21 4"},
    {Part::Phone, Op::Lines, kNone, kMain, 4, "4 11 4 7 28 7 28 11"},
    {Part::Mug, Op::Box, kNone, kMainDark, 3, "19 12 29 24 4"},
    {Part::Mug, Op::Box, kMain, kMainDark, 1.6, "5 9 22 29 3"},
    {Part::Mug, Op::Circle, kAccent, RGB(190, 190, 190), 1.2, "8 8 4; 13.5 7 4.5; 19 8 4"},
    {Part::Plate, Op::Circle, kMain, kAccent, 1.6, "16 16 12"},
    {Part::Plate, Op::Circle, kNone, RGB(210, 210, 215), 1.2, "16 16 8"},
    {Part::Plate, Op::Lines, kNone, RGB(120, 120, 130), 2, "2 4 2 28; 30 4 30 28"},
    {Part::Sleep, Op::Lines, kNone, kMain, 2.4,
     "3 16 13 16 3 28 13 28; 15 9 22 9 15 17 22 17; 23 3 28 3 23 9 28 9"},
    {Part::Car, Op::Poly, kMain, kMainDark, 1.6, "2 22 2 16 8 15 11 9 22 9 26 15 30 16 30 22"},
    {Part::Car, Op::Poly, RGB(190, 225, 250), kMainDark, 1, "12 11 21 11 24 15 10 15"},
    {Part::Car, Op::Circle, kAccent, RGB(0, 0, 0), 1.6, "9 23 4; 23 23 4"},
    {Part::Monitor, Op::Box, kMain, kMainDark, 1.6, "2 4 30 23 3"},
    {Part::Monitor, Op::Poly, kMain, kMainDark, 1.6, "12 23 20 23 22 29 10 29"},
    {Part::Monitor, Op::Box, kAccent, kNone, 0, "5 7 27 20"},
    {Part::Gift, Op::Box, kMain, kMainDark, 1.6, "4 12 28 29"},
    {Part::Gift, Op::Box, kAccent, kNone, 0, "14 12 18 29; 4 17 28 20"},
    {Part::Gift, Op::Oval, kNone, kAccent, 2.4, "8 5 16 12; 16 5 24 12"},
    {Part::Rain, Op::Lines, kNone, kAccent, 2, "11 21 9 29; 17 21 15 29; 23 21 21 29"},
    {Part::Rain, Op::Circle, kMain, kNone, 0, "10 15 6; 17 11 8; 24 15 6"},
    {Part::Rain, Op::Box, kMain, kNone, 0, "4 14 29 21 6"},
    {Part::Question, Op::Circle, kMain, kMainDark, 1.6, "16 16 14.5"},
    {Part::Question, Op::Lines, kNone, kAccent, 3.4, "11 12 12 8.5 16 7 20 8.5 21 12 16 16 16 19"},
    {Part::Question, Op::Circle, kAccent, kNone, 0, "16 24 2.2"},
    {Part::Face, Op::Circle, kMain, kMainDark, 1.6, "16 16 14"},
    {Part::Face, Op::Oval, kAccent, kNone, 0, "9.5 9 13.5 15; 18.5 9 22.5 15"},
    {Part::Smile, Op::Lines, kNone, kAccent, 2.2, "9 19 12 23 16 24.5 20 23 23 19"},
    {Part::Frown, Op::Lines, kNone, kAccent, 2.2, "10 25 13 22 16 21 19 22 22 25"},
    {Part::Die, Op::Box, kMain, RGB(90, 90, 90), 1.6, "3 3 29 29 7"},
    {Part::Die, Op::Circle, kAccent, kNone, 0,
     "9.5 9.5 2.4; 9.5 16 2.4; 9.5 22.5 2.4; 22.5 9.5 2.4; 22.5 16 2.4; 22.5 22.5 2.4"},
    {Part::Bag, Op::Oval, kNone, kAccent, 2.4, "10 3 22 17"},
    {Part::Bag, Op::Poly, kMain, kMainDark, 1.6, "5 10 27 10 29 29 3 29"},
    {Part::Letter, Op::Box, kMain, kAccent, 1.6, "2 7 30 26"},
    {Part::Letter, Op::Lines, kNone, kAccent, 1.6, "2 7 16 18 30 7"},
    {Part::House, Op::Box, kMain, kMainDark, 1.6, "6 14 26 29"},
    {Part::House, Op::Box, RGB(120, 70, 30), kNone, 0, "13 20 19 29"},
    {Part::House, Op::Poly, kAccent, kAccentDark, 1.6, "16 2 30 15 2 15"},
    {Part::Camera, Op::Box, kMain, RGB(20, 20, 20), 1.6, "10 6 20 11 2; 2 9 30 27 4"},
    {Part::Camera, Op::Circle, kAccent, RGB(220, 220, 220), 2, "16 18 6.5"},
    {Part::Camera, Op::Circle, RGB(250, 120, 40), kNone, 0, "25.5 13 1.8"},
    {Part::Bolt, Op::Poly, kMain, kAccent, 1.6, "19 1 6 18 14 18 11 31 26 12 18 12 23 1"},
    {Part::Chat, Op::Poly, kWhite, kGrey, 1.4, "17 18 31 18 31 27 24 27 20 31 21 27 17 27"},
    {Part::Minus, Op::Box, kWhite, RGB(120, 20, 20), 1.4, "15 21 31 28 3"},
    {Part::Clock, Op::Circle, kWhite, kGrey, 1.4, "24 24 7.5"},
    {Part::Clock, Op::Lines, kNone, RGB(30, 30, 30), 1.6, "24 19.5 24 24 27.5 24"},
    {Part::Dash, Op::Circle, kWhite, kGrey, 1.4, "24 24 7.5"},
    {Part::Dash, Op::Box, RGB(200, 30, 30), kNone, 0, "19.5 22.5 28.5 25.5"},
};

COLORREF darker(COLORREF c) {
  return RGB(GetRValue(c) * 11 / 20, GetGValue(c) * 11 / 20, GetBValue(c) * 11 / 20);
}

COLORREF resolve(COLORREF c, const Look& k) {
  switch (c) {
    case kMain: return k.main;
    case kAccent: return k.accent;
    case kMainDark: return darker(k.main);
    case kAccentDark: return darker(k.accent);
    default: return c;
  }
}

int px(double v) { return static_cast<int>(std::lround(v * g_unit)); }

std::vector<double> numbers(const char* text) {
  // from_chars: independent of the C locale's decimal separator.
  std::vector<double> out;
  const char* end = text + std::strlen(text);
  for (const char* p = text;;) {
    while (p < end && *p == ' ') ++p;
    double v = 0;
    auto r = std::from_chars(p, end, v);
    if (r.ec != std::errc()) break;  // the end, or the ";" after the shape
    out.push_back(v);
    p = r.ptr;
  }
  return out;
}

void drawShape(HDC dc, Op op, COLORREF fill, COLORREF line, double width, const std::vector<double>& v) {
  HGDIOBJ brush = fill == kNone ? GetStockObject(NULL_BRUSH) : CreateSolidBrush(fill);
  HGDIOBJ pen = line == kNone ? GetStockObject(NULL_PEN) : CreatePen(PS_SOLID, px(width), line);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  std::vector<POINT> pts;
  for (size_t i = 0; i + 1 < v.size(); i += 2) pts.push_back(POINT{px(v[i]), px(v[i + 1])});
  const int count = static_cast<int>(pts.size());
  switch (op) {
    case Op::Circle:
      if (v.size() >= 3)
        Ellipse(dc, px(v[0] - v[2]), px(v[1] - v[2]), px(v[0] + v[2]), px(v[1] + v[2]));
      break;
    case Op::Oval:
      if (v.size() >= 4) Ellipse(dc, px(v[0]), px(v[1]), px(v[2]), px(v[3]));
      break;
    case Op::Box:
      if (v.size() >= 4) {
        const int round = v.size() > 4 ? px(v[4]) : 0;
        RoundRect(dc, px(v[0]), px(v[1]), px(v[2]), px(v[3]), round, round);
      }
      break;
    case Op::Poly: Polygon(dc, pts.data(), count); break;
    case Op::Lines: Polyline(dc, pts.data(), count); break;
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);  // deleting a stock object does nothing
  DeleteObject(pen);
}

void paint(HDC dc, const Look& k) {
  std::vector<double> v;
  const double pi = 3.14159265358979;
  if (k.shape == Part::Heart) {
    for (int i = 0; i < 48; ++i) {
      double t = i * 2 * pi / 48, s = std::sin(t);
      v.push_back(16 + 13.6 * s * s * s);
      v.push_back(15 - 11 * std::cos(t) + 4.25 * std::cos(2 * t) + 1.7 * std::cos(3 * t) +
                  0.85 * std::cos(4 * t));
    }
  } else if (k.shape == Part::Moon) {  // the outer arc, then the inner arc back
    for (int i = 0; i <= 49; ++i) {
      double t = i <= 24 ? -2.4 + 0.2 * i : 2.2 - (i - 25) * 4.4 / 24, r = i <= 24 ? 13 : 11;
      v.push_back((i <= 24 ? 15 : 22) - r * std::cos(t));
      v.push_back(16 + r * std::sin(t));
    }
  }
  if (!v.empty()) drawShape(dc, Op::Poly, k.main, resolve(kMainDark, k), 1.6, v);
  for (const Step& s : kSteps) {
    if (s.part != k.shape && s.part != k.extra) continue;
    for (const char* p = s.xy; p; p = std::strchr(p, ';') ? std::strchr(p, ';') + 1 : nullptr)
      drawShape(dc, s.op, resolve(s.fill, k), resolve(s.line, k), s.width, numbers(p));
  }
}

HBITMAP makeDib(int width, int height, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

// Averages the kScale x kScale samples of each pixel of a picture painted
// big on the background colour into `out` (side x side, `stride` pixels a
// row): straight alpha, as icons keep it.
void reduce(const uint32_t* samples, int side, uint32_t* out, int stride) {
  const int big = side * kScale;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      uint32_t covered = 0, r = 0, g = 0, b = 0;
      for (int sy = 0; sy < kScale; ++sy) {
        for (int sx = 0; sx < kScale; ++sx) {
          const uint32_t v = samples[(y * kScale + sy) * big + x * kScale + sx] & 0xFFFFFFu;
          if (v == kBackgroundSample) continue;
          ++covered;
          r += (v >> 16) & 0xFF;
          g += (v >> 8) & 0xFF;
          b += v & 0xFF;
        }
      }
      const uint32_t a = covered * 255 / (kScale * kScale);
      out[y * stride + x] = covered ? (a << 24) | (r / covered << 16) | (g / covered << 8) | (b / covered) : 0;
    }
  }
}

// Straight alpha to premultiplied, rounded as the system does when it draws
// an icon: a picture drawn from the row looks exactly like its icon drawn.
uint32_t premultiplied(uint32_t v) {
  const uint32_t a = v >> 24;
  const auto channel = [a](uint32_t c) { return ((c & 0xFF) * a + 127) / 255; };
  return (a << 24) | channel(v >> 16) << 16 | channel(v >> 8) << 8 | channel(v);
}

bool hasPicture(int n) { return n >= 1 && n <= kItems && kLooks[n - 1].shape != Part::None; }

}  // namespace

StatusIcons::StatusIcons(int side) {
  if (side < 1 || side > 256) return;
  const int big = side * kScale;
  g_unit = big / 32.0;
  // One memory DC for everything: each picture is painted big on one
  // scratch bitmap and reduced into the row of pictures.
  HDC dc = CreateCompatibleDC(nullptr);
  void* sampleBits = nullptr;
  HBITMAP scratch = dc ? makeDib(big, big, &sampleBits) : nullptr;
  if (!scratch) {
    if (dc) DeleteDC(dc);
    return;
  }
  const int width = side * kItems;
  straight_.assign(static_cast<size_t>(width) * static_cast<size_t>(side), 0);
  HGDIOBJ old = SelectObject(dc, scratch);
  for (int n = 1; n <= kItems; ++n) {
    if (!hasPicture(n)) continue;
    drawShape(dc, Op::Box, kBackground, kNone, 0, {-1, -1, 33, 33});
    paint(dc, kLooks[n - 1]);
    GdiFlush();
    reduce(static_cast<const uint32_t*>(sampleBits), side, &straight_[static_cast<size_t>((n - 1) * side)], width);
  }
  SelectObject(dc, old);
  DeleteObject(scratch);

  void* rowBits = nullptr;
  HBITMAP row = makeDib(width, side, &rowBits);
  if (!row) {
    DeleteDC(dc);
    straight_.clear();
    return;
  }
  uint32_t* out = static_cast<uint32_t*>(rowBits);
  for (size_t i = 0; i < straight_.size(); ++i) out[i] = premultiplied(straight_[i]);
  GdiFlush();
  dc_ = dc;
  row_ = row;
  oldBitmap_ = SelectObject(dc_, row_);
  side_ = side;
}

StatusIcons::~StatusIcons() { release(); }

StatusIcons::StatusIcons(StatusIcons&& other) noexcept { swap(other); }

StatusIcons& StatusIcons::operator=(StatusIcons&& other) noexcept {
  if (this != &other) {
    release();
    swap(other);
  }
  return *this;
}

void StatusIcons::swap(StatusIcons& other) noexcept {
  std::swap(dc_, other.dc_);
  std::swap(row_, other.row_);
  std::swap(oldBitmap_, other.oldBitmap_);
  std::swap(side_, other.side_);
  std::swap(straight_, other.straight_);
  std::swap(icons_, other.icons_);
}

void StatusIcons::release() {
  for (HICON& icon : icons_) {
    if (icon) DestroyIcon(icon);
    icon = nullptr;
  }
  if (dc_) {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
  }
  if (row_) DeleteObject(row_);
  dc_ = nullptr;
  row_ = nullptr;
  oldBitmap_ = nullptr;
  side_ = 0;
  straight_.clear();
}

void StatusIcons::draw(HDC target, int n, int x, int y) const {
  if (!dc_ || !hasPicture(n)) return;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(target, x, y, side_, side_, dc_, (n - 1) * side_, 0, side_, side_, blend);
}

uint32_t StatusIcons::pixel(int n, int x, int y) const {
  if (!dc_ || !hasPicture(n) || x < 0 || y < 0 || x >= side_ || y >= side_) return 0;
  return straight_[static_cast<size_t>(y * side_ * kItems + (n - 1) * side_ + x)];
}

HICON StatusIcons::icon(int n) {
  if (!dc_ || !hasPicture(n)) return nullptr;
  HICON& icon = icons_[static_cast<size_t>(n)];
  if (icon) return icon;
  void* bits = nullptr;
  HBITMAP color = makeDib(side_, side_, &bits);
  if (!color) return nullptr;
  uint32_t* out = static_cast<uint32_t*>(bits);
  for (int y = 0; y < side_; ++y)
    for (int x = 0; x < side_; ++x) out[y * side_ + x] = pixel(n, x, y);
  // The alpha channel decides; the AND mask stays all zero.
  const std::vector<uint8_t> maskBits(static_cast<size_t>((side_ + 15) / 16 * 2 * side_), 0);
  HBITMAP mask = CreateBitmap(side_, side_, 1, 1, maskBits.data());
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask;
  info.hbmColor = color;
  icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(color);
  return icon;
}

}  // namespace vak
