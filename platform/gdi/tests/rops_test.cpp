#include <gtest/gtest.h>

#include <functional>

#include "gdi_testing.h"

using namespace gdi;
using namespace gdi_test;

namespace {

// The sixteen binary operations written out one by one (pen P, destination D, 24 bits).
std::uint32_t expectedRop2(int rop, std::uint32_t P, std::uint32_t D) {
  const std::uint32_t m = 0xFFFFFF;
  switch (rop) {
    case R2_BLACK: return 0;
    case R2_NOTMERGEPEN: return ~(P | D) & m;
    case R2_MASKNOTPEN: return ~P & D & m;
    case R2_NOTCOPYPEN: return ~P & m;
    case R2_MASKPENNOT: return P & ~D & m;
    case R2_NOT: return ~D & m;
    case R2_XORPEN: return (P ^ D) & m;
    case R2_NOTMASKPEN: return ~(P & D) & m;
    case R2_MASKPEN: return P & D;
    case R2_NOTXORPEN: return ~(P ^ D) & m;
    case R2_NOP: return D;
    case R2_MERGENOTPEN: return (~P | D) & m;
    case R2_COPYPEN: return P;
    case R2_MERGEPENNOT: return (P | ~D) & m;
    case R2_MERGEPEN: return P | D;
    case R2_WHITE: return m;
  }
  return 0;
}

// Draws with `draw` twice under XOR on noise and checks that every pixel came back, and that
// the first drawing changed something.
void expectXorTwiceRestores(const std::function<void(DC&)>& draw, const char* what) {
  RasterSurface s = NoiseSurface(64, 48);
  const std::vector<COLORREF> before = Pixels(s);
  DC dc(s);
  dc.SetROP2(R2_XORPEN);
  draw(dc);
  EXPECT_NE(Pixels(s), before) << what << " drew nothing";
  draw(dc);
  EXPECT_EQ(Pixels(s), before) << what;
}

}  // namespace

TEST(RasterOperations, EveryBinaryOperationMatchesItsTruthTable) {
  const COLORREF pen = RGB(0x5A, 0xC3, 0x0F);
  for (int rop = R2_BLACK; rop <= R2_WHITE; ++rop) {
    RasterSurface s = NoiseSurface(16, 4, static_cast<std::uint32_t>(rop));
    const std::vector<COLORREF> before = Pixels(s);
    DC dc(s);
    dc.SetROP2(rop);
    dc.SelectObject(Pen(PS_SOLID, 1, pen));
    dc.MoveTo(0, 2);
    dc.LineTo(16, 2);
    for (int x = 0; x < 16; ++x) {
      const COLORREF d = before[static_cast<std::size_t>(2 * 16 + x)];
      EXPECT_EQ(s.GetPixel(x, 2), expectedRop2(rop, pen, d)) << "rop " << rop << " x " << x;
      EXPECT_EQ(s.GetPixel(x, 1), before[static_cast<std::size_t>(16 + x)]);  // other rows untouched
    }
  }
}

TEST(RasterOperations, XorDrawnTwiceRestoresEveryPixel) {
  expectXorTwiceRestores([](DC& dc) {
    dc.SelectObject(Pen(PS_SOLID, 0, RGB(0, 180, 255)));
    const Point zigzag[5] = {{1, 1}, {60, 40}, {3, 44}, {50, 2}, {50, 30}};
    dc.Polyline(zigzag, 5);
  }, "crossing polyline");
  expectXorTwiceRestores([](DC& dc) {
    dc.SelectObject(Pen(PS_DASHDOT, 1, RGB(0, 180, 255)));
    dc.SetBkMode(TRANSPARENT);
    dc.MoveTo(0, 20);
    dc.LineTo(63, 21);
  }, "dash-dot line");
  expectXorTwiceRestores([](DC& dc) {
    dc.SelectObject(Pen(PS_SOLID, 5, kRed));
    dc.SelectObject(Brush(kBlue));
    dc.Ellipse(4, 4, 50, 40);
    dc.Rectangle(10, 10, 60, 30);
  }, "wide pen shapes");
  expectXorTwiceRestores([](DC& dc) {
    dc.SelectObject(Pen(PS_SOLID, 1, kRed));
    dc.SelectObject(Brush(HS_DIAGCROSS, kBlue));
    const Point tri[3] = {{2, 2}, {60, 10}, {20, 45}};
    dc.Polygon(tri, 3);
    dc.Rectangle(30, 5, 31, 40);  // one pixel wide
  }, "hatched polygon");
  expectXorTwiceRestores([](DC& dc) {
    Font font;
    font.CreateFont(20, 0, 300, 300, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    dc.SelectObject(font);
    dc.SetTextColor(RGB(255, 255, 0));
    dc.SetBkMode(OPAQUE);
    dc.TextOut(4, 30, "Xor 12");
  }, "rotated opaque text");
  expectXorTwiceRestores([](DC& dc) { dc.DrawFocusRect(Rect(3, 3, 40, 30)); }, "focus rectangle");
  expectXorTwiceRestores([](DC& dc) {
    Bitmap mark;
    mark.CreateBitmap(9, 7);
    DC mem = DC::CreateCompatibleDC(&dc);
    mem.SelectObject(mark);
    mem.FillRect(Rect(0, 0, 9, 7), Brush(RGB(0x80, 0x40, 0x20)));
    dc.BitBlt(20, 20, 9, 7, &mem, 0, 0, SRCINVERT);
    dc.SelectObject(Brush(RGB(1, 2, 3)));
    dc.PatBlt(0, 0, 10, 10, PATINVERT);
    dc.PatBlt(5, 5, 10, 10, DSTINVERT);
    dc.InvertRect(Rect(30, 0, 40, 8));
  }, "inverting blits");
}

TEST(RasterOperations, BlitCodesCombinePatternSourceAndDestination) {
  const COLORREF brush = RGB(0x0F, 0xF0, 0x33);
  struct Case {
    DWORD rop;
    std::function<std::uint32_t(std::uint32_t, std::uint32_t, std::uint32_t)> f;  // (P, S, D)
  };
  const std::uint32_t m = 0xFFFFFF;
  const Case cases[] = {
      {SRCCOPY, [](auto, auto S, auto) { return S; }},
      {SRCPAINT, [](auto, auto S, auto D) { return S | D; }},
      {SRCAND, [](auto, auto S, auto D) { return S & D; }},
      {SRCINVERT, [](auto, auto S, auto D) { return S ^ D; }},
      {SRCERASE, [&](auto, auto S, auto D) { return S & ~D & m; }},
      {NOTSRCCOPY, [&](auto, auto S, auto) { return ~S & m; }},
      {NOTSRCERASE, [&](auto, auto S, auto D) { return ~(S | D) & m; }},
      {MERGECOPY, [](auto P, auto S, auto) { return P & S; }},
      {MERGEPAINT, [&](auto, auto S, auto D) { return (~S | D) & m; }},
      {PATCOPY, [](auto P, auto, auto) { return P; }},
      {PATPAINT, [&](auto P, auto S, auto D) { return (P | ~S | D) & m; }},
      {PATINVERT, [](auto P, auto, auto D) { return P ^ D; }},
      {DSTINVERT, [&](auto, auto, auto D) { return ~D & m; }},
      {BLACKNESS, [](auto, auto, auto) { return 0u; }},
      {WHITENESS, [&](auto, auto, auto) { return m; }},
  };
  RasterSurface source = NoiseSurface(8, 8, 99);
  for (const Case& c : cases) {
    RasterSurface s = NoiseSurface(8, 8, 7);
    const std::vector<COLORREF> before = Pixels(s);
    DC dc(s);
    DC mem = DC::CreateCompatibleDC(&dc);
    mem.SelectObject(Bitmap::Wrap(std::make_shared<RasterSurface>(source)));
    dc.SelectObject(Brush(brush));
    ASSERT_TRUE(dc.BitBlt(0, 0, 8, 8, &mem, 0, 0, c.rop));
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        ASSERT_EQ(s.GetPixel(x, y), c.f(brush, source.GetPixel(x, y), before[static_cast<std::size_t>(8 * y + x)]))
            << std::hex << c.rop << " at " << x << "," << y;
  }
}

TEST(RasterOperations, BlitsByRowKeepToTheClipAndToTheSourcesPixels) {
  // A source that sticks out of its bitmap on the left, right and bottom, onto a destination
  // whose clip has a hole: only pixels inside the clip with a source pixel change, each by the
  // operation's formula.
  struct Case {
    DWORD rop;
    std::uint32_t (*f)(std::uint32_t S, std::uint32_t D);
  };
  const Case cases[] = {
      {SRCCOPY, [](std::uint32_t S, std::uint32_t) { return S; }},
      {SRCINVERT, [](std::uint32_t S, std::uint32_t D) { return S ^ D; }},
      {SRCAND, [](std::uint32_t S, std::uint32_t D) { return S & D; }},
      {SRCPAINT, [](std::uint32_t S, std::uint32_t D) { return S | D; }},
      {NOTSRCCOPY, [](std::uint32_t S, std::uint32_t) { return ~S & 0xFFFFFFu; }},
  };
  RasterSurface source = NoiseSurface(16, 12, 5);
  const Rect hole(10, 5, 14, 9);
  for (const Case& c : cases) {
    RasterSurface s = NoiseSurface(40, 30, 3);
    const std::vector<COLORREF> before = Pixels(s);
    DC dc(s);
    DC mem = DC::CreateCompatibleDC(&dc);
    mem.SelectObject(Bitmap::Wrap(std::make_shared<RasterSurface>(source)));
    dc.ExcludeClipRect(hole.left, hole.top, hole.right, hole.bottom);
    ASSERT_TRUE(dc.BitBlt(5, 3, 20, 15, &mem, -4, 2, c.rop));
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        const std::uint32_t D = before[static_cast<std::size_t>(40 * y + x)];
        const int sx = x - 5 - 4, sy = y - 3 + 2;
        const bool changes = x >= 5 && x < 25 && y >= 3 && y < 18 && !hole.PtInRect({x, y}) && sx >= 0 && sx < 16 &&
                             sy >= 0 && sy < 12;
        ASSERT_EQ(s.GetPixel(x, y), changes ? c.f(source.GetPixel(sx, sy), D) : D)
            << std::hex << c.rop << " at " << std::dec << x << "," << y;
      }
    }
  }
}

TEST(RasterOperations, MemoryDCsDrawIntoTheirBitmapAndStretchByNearestPixel) {
  RasterSurface screen(40, 40);
  DC dc(screen);
  DC mem = DC::CreateCompatibleDC(&dc);
  Bitmap bmp;
  ASSERT_TRUE(bmp.CreateCompatibleBitmap(dc, 4, 2));
  const Bitmap old = mem.SelectObject(bmp);
  EXPECT_EQ(old.GetSize(), (Size{1, 1}));
  mem.FillRect(Rect(0, 0, 2, 2), Brush(kRed));
  mem.FillRect(Rect(2, 0, 4, 2), Brush(kBlue));
  EXPECT_EQ(bmp.Surface()->GetPixel(3, 1), kBlue);  // the bitmap holds the drawing
  BITMAP info;
  ASSERT_TRUE(bmp.GetBitmap(&info));
  EXPECT_EQ(info.bmBitsPixel, dc.GetDeviceCaps(BITSPIXEL));
  dc.StretchBlt(10, 10, 8, 4, &mem, 0, 0, 4, 2, SRCCOPY);
  EXPECT_EQ(InkBox(screen, kWhite), Rect(10, 10, 18, 14));
  EXPECT_EQ(screen.CountPixels(kRed), 16);
  EXPECT_EQ(screen.GetPixel(13, 13), kRed);
  EXPECT_EQ(screen.GetPixel(14, 10), kBlue);
  // DrawBitmap copies it whole without a memory DC.
  dc.DrawBitmap(0, 0, bmp);
  EXPECT_EQ(screen.GetPixel(3, 0), kBlue);
}
