// Bands, strips, the table strip and the structure's place, against values computed here.
#include "rodizora/doc/pagelayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using sapage::BandOf;
using sapage::StripRects;

constexpr int W = 1188, H = 840;

int Floor(double v) { return static_cast<int>(std::floor(v)); }
int Round(double v) { return static_cast<int>(std::floor(v + 0.5)); }

TEST(PageLayout, PathListsSplitAtEveryPlusAndKeepEmptyEntries) {
  EXPECT_EQ(sapage::SplitPathList(u" /data/a.dx +\t/data/b.dx "), (std::vector<std::u16string>{u"/data/a.dx", u"/data/b.dx"}));
  EXPECT_EQ(sapage::SplitPathList(u"a++b"), (std::vector<std::u16string>{u"a", u"", u"b"}));
  EXPECT_EQ(sapage::SplitPathList(u"one"), (std::vector<std::u16string>{u"one"}));
  EXPECT_EQ(sapage::SplitPathList(u"  "), (std::vector<std::u16string>{u""}));
}

TEST(PageLayout, BandsDivideThePageHeightByTheNumberOfEntries) {
  for (int g : {1, 2, 3, 7}) {
    for (int d = 0; d < g; ++d) {
      const sapage::Band band = BandOf(d, g, H);
      EXPECT_EQ(band.top, Floor(double(d) * H / g));
      EXPECT_EQ(band.bottom, Floor(double(d + 1) * H / g));
    }
  }
  // Two files: the second one's items lie in the lower half.
  EXPECT_EQ(BandOf(1, 2, H).top, 420);
  EXPECT_EQ(BandOf(1, 2, H).bottom, 840);
}

TEST(PageLayout, StripsFollowTheSortedKindsAndSameKindsOverlay) {
  // A file holding NMR, MASS and NMR spectra, in the lower of three bands.
  const sapage::Band band = BandOf(2, 3, H);
  const auto rects = StripRects(band, {u"NMR", u"MASS", u"NMR"}, W);
  ASSERT_EQ(rects.size(), 3u);
  const int height = band.bottom - band.top;
  const gdi::Rect mass(0, band.top, W, band.top + height / 2);
  const gdi::Rect nmr(0, band.top + height / 2, W, band.top + height);
  EXPECT_EQ(rects[0], nmr);
  EXPECT_EQ(rects[1], mass);  // "MASS" sorts before "NMR"
  EXPECT_EQ(rects[2], nmr);   // on top of the first NMR spectrum
  // Ordinal order: upper case before lower case; an empty kind (no answer) first.
  const auto mixed = StripRects({0, 90}, {u"nmr", u"", u"UV"}, W);
  EXPECT_EQ(mixed[1], gdi::Rect(0, 0, W, 30));
  EXPECT_EQ(mixed[2], gdi::Rect(0, 30, W, 60));
  EXPECT_EQ(mixed[0], gdi::Rect(0, 60, W, 90));
}

TEST(PageLayout, ATableTakesTheBottomAndTheSpectraShrinkAboveIt) {
  const int h = sapage::TenthsToPage(150);
  EXPECT_EQ(h, 60);
  EXPECT_EQ(sapage::TableRect(W, H, h), gdi::Rect(0, H - 60 + 2, W - 1, H - 1));
  const gdi::Rect upper(0, 0, W, 420), lower(0, 420, W, 840);
  const gdi::Rect once = sapage::ShrinkForTable(lower, H, h);
  EXPECT_EQ(once, gdi::Rect(0, Round(420.0 * (H - h) / H), W, Round(840.0 * (H - h) / H)));
  EXPECT_EQ(once.bottom, H - h);
  // A second table shrinks the first entry's spectra again.
  const gdi::Rect twice = sapage::ShrinkForTable(sapage::ShrinkForTable(upper, H, h), H, h);
  EXPECT_EQ(twice.bottom, Round(Round(420.0 * (H - h) / H) * double(H - h) / H));
}

TEST(PageLayout, PageSizeAndStructurePlace) {
  EXPECT_EQ(sapage::PageSizeFromPrinter(0, 0).width, 1188);
  EXPECT_EQ(sapage::PageSizeFromPrinter(0, 0).height, 840);
  EXPECT_EQ(sapage::PageSizeFromPrinter(280, -1).height, 840);
  EXPECT_EQ(sapage::PageSizeFromPrinter(280, 200).width, 1120);
  EXPECT_EQ(sapage::PageSizeFromPrinter(280, 200).height, 800);
  // Defaults "ObjectLeft" and "ObjectTop" 100, "ObjectWidth" and "ObjectHeight" 300 tenths.
  const sapage::ObjectPlacement place{sapage::TenthsToPage(100), sapage::TenthsToPage(100), sapage::TenthsToPage(300),
                                      sapage::TenthsToPage(300)};
  EXPECT_EQ(sapage::StructureRect(gdi::Rect(0, 420, W, 840), place), gdi::Rect(40, 460, 160, 580));
}

}  // namespace
