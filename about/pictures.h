#pragma once
// The library's two pictures, the start logo and the strip at the top of the about box, drawn at
// compile time into 8-bit palette BMP data: a dark blue field with a proton spectrum on a
// baseline (a quartet, a singlet and a triplet of Lorentzian lines).
#include <array>
#include <cstddef>
#include <cstdint>

namespace about {

constexpr std::size_t BmpStride(int width) { return (static_cast<std::size_t>(width) + 3) & ~std::size_t(3); }
constexpr std::size_t Bmp8Size(int width, int height) {
  return 14 + 40 + 256 * 4 + BmpStride(width) * static_cast<std::size_t>(height);
}

// Where the spectrum lies in a picture, in pixels.
struct SpectrumPlacement {
  int left, right;  // the baseline's ends
  int baseline;     // its row
  int height;       // the rows of the tallest line above it
};

// Palette entries of the pictures.
constexpr int kBackgroundShades = 64;  // 0..63: the field, dark at the top
constexpr std::uint8_t kAxis = 64, kTrace = 65, kFill = 66;

// The picture's colour of a palette entry, as 0x00RRGGBB.
constexpr std::uint32_t PictureColor(int index) {
  if (index < kBackgroundShades) {
    const int r = 12 + 6 * index / (kBackgroundShades - 1);
    const int g = 28 + 64 * index / (kBackgroundShades - 1);
    const int b = 70 + 60 * index / (kBackgroundShades - 1);
    return std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
  }
  if (index == kAxis) return 0xAABED2u;
  if (index == kTrace) return 0xFFD65Au;
  if (index == kFill) return 0x3C82AAu;
  return 0;
}

// The spectrum's height at column x, 0..1 of the placement's height: lines of half width 2.5
// pixels at fractions of the baseline.
constexpr double SpectrumValue(double x, const SpectrumPlacement& p) {
  struct Line {
    double at;      // fraction of the baseline
    double offset;  // pixels from there (the lines of a multiplet)
    double amplitude;
  };
  // A 1:3:3:1 quartet, a singlet and a 1:2:1 triplet, 7 pixels between the lines of a multiplet.
  constexpr Line kLines[] = {{0.24, 0, 0.12}, {0.24, 7, 0.36}, {0.24, 14, 0.36}, {0.24, 21, 0.12}, {0.60, 0, 1.0},
                             {0.78, 0, 0.30}, {0.78, 7, 0.60}, {0.78, 14, 0.30}};
  double sum = 0;
  for (const Line& line : kLines) {
    const double u = (x - (p.left + line.at * (p.right - p.left) + line.offset)) / 2.5;
    sum += line.amplitude / (1 + u * u);
  }
  return sum > 1 ? 1 : sum;
}

// Draws a width x height picture into out, which holds Bmp8Size(width, height) bytes.
constexpr void DrawSpectrumPicture(std::uint8_t* out, int width, int height, const SpectrumPlacement& p) {
  const std::size_t size = Bmp8Size(width, height);
  auto put16 = [&](std::size_t at, std::uint32_t v) {
    out[at] = std::uint8_t(v);
    out[at + 1] = std::uint8_t(v >> 8);
  };
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    put16(at, v);
    put16(at + 2, v >> 16);
  };
  constexpr std::size_t kBits = 14 + 40 + 256 * 4;
  out[0] = 'B';
  out[1] = 'M';
  put32(2, std::uint32_t(size));
  put32(10, std::uint32_t(kBits));
  put32(14, 40);
  put32(18, std::uint32_t(width));
  put32(22, std::uint32_t(height));  // rows bottom up
  put16(26, 1);
  put16(28, 8);
  put32(34, std::uint32_t(BmpStride(width) * static_cast<std::size_t>(height)));
  put32(38, 3780);  // 96 pixels per inch
  put32(42, 3780);
  put32(46, 256);
  for (int i = 0; i < 256; ++i) {
    const std::uint32_t c = PictureColor(i);
    out[54 + 4 * i] = std::uint8_t(c);
    out[55 + 4 * i] = std::uint8_t(c >> 8);
    out[56 + 4 * i] = std::uint8_t(c >> 16);
    out[57 + 4 * i] = 0;
  }
  // The trace's row in a column.
  auto traceRow = [&](int x) { return p.baseline - static_cast<int>(SpectrumValue(x, p) * p.height + 0.5); };
  for (int x = 0; x < width; ++x) {
    const int now = traceRow(x);
    const int prev = x > p.left ? traceRow(x - 1) : now;
    const int top = (prev < now ? prev : now) - 1;
    const int bottom = (prev > now ? prev : now) + 1;
    for (int y = 0; y < height; ++y) {
      std::uint8_t index = std::uint8_t(y * (kBackgroundShades - 1) / (height > 1 ? height - 1 : 1));
      if (x >= p.left && x <= p.right) {
        if (y > bottom && y < p.baseline) index = kFill;
        if (y >= top && y <= bottom && y < p.baseline) index = kTrace;
        if (y == p.baseline || (y > p.baseline && y <= p.baseline + 3 && (x - p.left) % 20 == 0)) index = kAxis;
      }
      out[kBits + BmpStride(width) * static_cast<std::size_t>(height - 1 - y) + static_cast<std::size_t>(x)] = index;
    }
  }
}

template <int W, int H>
constexpr std::array<std::uint8_t, Bmp8Size(W, H)> SpectrumPicture(const SpectrumPlacement& p) {
  std::array<std::uint8_t, Bmp8Size(W, H)> out{};
  DrawSpectrumPicture(out.data(), W, H, p);
  return out;
}

// The start logo, 400 x 240.
inline constexpr int kLogoWidth = 400, kLogoHeight = 240;
inline constexpr auto kLogoBmp = SpectrumPicture<kLogoWidth, kLogoHeight>({30, 370, 196, 150});

// The about box's picture, exactly the picture control's designed size (225 x 60 dialog units of
// the template's font), so the box keeps its designed layout.
inline constexpr int kStripWidth = 338, kStripHeight = 90;
inline constexpr auto kStripBmp = SpectrumPicture<kStripWidth, kStripHeight>({120, 326, 80, 64});

}  // namespace about
