#include <gtest/gtest.h>

#include <span>

#include "platform/base/bytes.h"
#include "gdi_testing.h"

using namespace gdi;
using namespace gdi_test;

namespace {

// One builder for every BMP the tests read: a 3 x 2 image whose pixel (x, y) has colour
// kColors[(x + y) % 4], written with the given bits per pixel (a palette up to 8 bits),
// bottom-up unless topDown, as a resource or with the file header.
constexpr COLORREF kColors[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)};

struct BmpShape {
  int bpp = 24;
  bool topDown = false;
  bool file = false;
  bool rle8 = false;
};

std::vector<std::uint8_t> buildBmp(const BmpShape& shape) {
  const int w = 3, h = 2;
  std::vector<std::uint8_t> info(40, 0), palette, bits;
  plat::storeLe32(info.data(), 40);
  plat::storeLe32(info.data() + 4, w);
  plat::storeLe32(info.data() + 8, static_cast<std::uint32_t>(shape.topDown ? -h : h));
  plat::storeLe16(info.data() + 12, 1);
  plat::storeLe16(info.data() + 14, static_cast<std::uint16_t>(shape.bpp));
  plat::storeLe32(info.data() + 16, shape.rle8 ? 1 : 0);
  if (shape.bpp <= 8) {
    const int colours = shape.bpp == 1 ? 2 : 4;
    plat::storeLe32(info.data() + 32, static_cast<std::uint32_t>(colours));  // colours used
    for (COLORREF c : std::span(kColors, static_cast<std::size_t>(colours))) {
      palette.push_back(static_cast<std::uint8_t>(GetBValue(c)));
      palette.push_back(static_cast<std::uint8_t>(GetGValue(c)));
      palette.push_back(static_cast<std::uint8_t>(GetRValue(c)));
      palette.push_back(0);
    }
  }
  const int stride = (w * shape.bpp + 31) / 32 * 4;
  for (int fileRow = 0; fileRow < h; ++fileRow) {
    const int y = shape.topDown ? fileRow : h - 1 - fileRow;
    if (shape.rle8) {
      for (int x = 0; x < w; ++x) {
        bits.push_back(1);
        bits.push_back(static_cast<std::uint8_t>((x + y) % 4));
      }
      bits.push_back(0);
      bits.push_back(0);  // end of line
      continue;
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(stride), 0);
    for (int x = 0; x < w; ++x) {
      const int index = (x + y) % 4;
      const COLORREF c = kColors[index];
      switch (shape.bpp) {
        case 1: row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>((index & 1) << (7 - x % 8)); break;
        case 4: row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(index << ((x & 1) ? 0 : 4)); break;
        case 8: row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(index); break;
        case 16:
          plat::storeLe16(row.data() + 2 * x, static_cast<std::uint16_t>((GetRValue(c) >> 3) << 10 | (GetGValue(c) >> 3) << 5 | GetBValue(c) >> 3));
          break;
        case 24:
        case 32: {
          std::uint8_t* p = row.data() + x * shape.bpp / 8;
          p[0] = static_cast<std::uint8_t>(GetBValue(c));
          p[1] = static_cast<std::uint8_t>(GetGValue(c));
          p[2] = static_cast<std::uint8_t>(GetRValue(c));
          break;
        }
      }
    }
    bits.insert(bits.end(), row.begin(), row.end());
  }
  if (shape.rle8) {
    bits.push_back(0);
    bits.push_back(1);  // end of bitmap
  }
  std::vector<std::uint8_t> out;
  if (shape.file) {
    out.resize(14, 0);
    out[0] = 'B';
    out[1] = 'M';
    plat::storeLe32(out.data() + 10, static_cast<std::uint32_t>(14 + info.size() + palette.size()));
  }
  out.insert(out.end(), info.begin(), info.end());
  out.insert(out.end(), palette.begin(), palette.end());
  out.insert(out.end(), bits.begin(), bits.end());
  if (shape.file) plat::storeLe32(out.data() + 2, static_cast<std::uint32_t>(out.size()));
  return out;
}

COLORREF expected(int x, int y, int bpp) {
  const int index = (x + y) % 4;
  if (bpp == 1) return kColors[index & 1];
  return kColors[index];
}

}  // namespace

TEST(Bitmaps, ResourcesAndFilesOfEveryDepthLoad) {
  const BmpShape shapes[] = {{1}, {4}, {8}, {16}, {24}, {32}, {24, true}, {8, false, true}, {8, false, false, true}};
  for (const BmpShape& shape : shapes) {
    Bitmap bmp;
    std::string error;
    ASSERT_TRUE(bmp.LoadBmp(buildBmp(shape), &error)) << shape.bpp << ": " << error;
    ASSERT_EQ(bmp.GetSize(), (Size{3, 2}));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(bmp.Surface()->GetPixel(x, y), expected(x, y, shape.bpp)) << shape.bpp << " at " << x << "," << y;
  }
}

TEST(Bitmaps, DamagedBmpDataIsRefusedWithAReason) {
  const std::vector<std::uint8_t> good = buildBmp({8, false, true});
  Bitmap bmp;
  std::string error;
  for (std::size_t n = 0; n < good.size(); ++n) {
    std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(bmp.LoadBmp(cut, &error)) << n;
  }
  auto with = [&](std::size_t at, std::uint32_t value) {
    std::vector<std::uint8_t> b = good;
    plat::storeLe32(b.data() + at, value);
    error.clear();
    const bool ok = bmp.LoadBmp(b, &error);
    EXPECT_FALSE(error.empty() && !ok);
    return ok;
  };
  EXPECT_FALSE(with(10, 0xFFFF0000u));           // bits beyond the file
  EXPECT_FALSE(with(14 + 4, 0x40000000u));       // width out of range
  EXPECT_FALSE(with(14 + 8, 0x80000000u));       // height of INT_MIN
  EXPECT_FALSE(with(14 + 0, 7));                 // unknown header size
  EXPECT_FALSE(with(14 + 16, 9));                // unknown compression
  EXPECT_FALSE(with(14 + 32, 1000));             // a colour table longer than the data
}

TEST(Bitmaps, PixelArtPicturesLieSideBySideAndMalformedArtGivesNothing) {
  // Two 3 x 2 pictures: a black corner on the face, then navy over yellow.
  const char* const rows[] = {"k..", "...", "bbb", "yyy"};
  Bitmap strip;
  ASSERT_TRUE(strip.LoadBmp(MakePixelArtBmp(3, 2, rows)));
  ASSERT_EQ(strip.GetSize(), (Size{6, 2}));
  const RasterSurface& s = *strip.Surface();
  EXPECT_EQ(s.GetPixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(s.GetPixel(1, 0), RGB(192, 192, 192));
  EXPECT_EQ(s.GetPixel(2, 1), RGB(192, 192, 192));
  EXPECT_EQ(s.GetPixel(3, 0), RGB(0, 0, 128));
  EXPECT_EQ(s.GetPixel(5, 1), RGB(255, 255, 0));

  const char* const shortRow[] = {"k..", ".."};
  const char* const unknownLetter[] = {"k.z", "..."};
  const char* const halfPicture[] = {"k..", "...", "bbb"};
  EXPECT_TRUE(MakePixelArtBmp(3, 2, shortRow).empty());
  EXPECT_TRUE(MakePixelArtBmp(3, 2, unknownLetter).empty());
  EXPECT_TRUE(MakePixelArtBmp(3, 2, halfPicture).empty());
}

TEST(Surfaces, PngRoundTripAndWindowSurfacesReportWhatChanged) {
  RasterSurface s = NoiseSurface(17, 9);
  const std::vector<std::uint8_t> png = s.EncodePng();
  ASSERT_FALSE(png.empty());
  EXPECT_EQ(png[1], 'P');
  auto back = RasterSurface::DecodePng(png);
  ASSERT_TRUE(back);
  EXPECT_EQ(Pixels(*back), Pixels(s));

  WindowSurface window(100, 60);
  EXPECT_EQ(window.GetPixel(0, 0), GetSysColor(COLOR_WINDOW));
  std::vector<Rect> told;
  window.SetChangeListener([&](const Rect& r) { told.push_back(r); });
  DC dc(window);
  dc.FillRect(Rect(10, 10, 20, 15), Brush(kRed));
  dc.MoveTo(50, 5);
  dc.LineTo(50, 40);
  EXPECT_EQ(window.TakeChangedRect(), Rect(10, 5, 51, 40));
  EXPECT_TRUE(window.TakeChangedRect().IsRectEmpty());
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0], Rect(10, 10, 20, 15));
  window.Resize(120, 30);
  EXPECT_EQ(window.GetPixel(15, 12), kRed);  // kept
  EXPECT_EQ(window.GetPixel(110, 5), kWhite);
  EXPECT_EQ(dc.GetPixel(15, 12), kRed);
}
