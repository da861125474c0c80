// The stored forms of the label objects: each class's archive layout read back into a fresh
// object, and what a spectrum folder's "analysis" file keeps of peaks, integrals and texts.
#include <gtest/gtest.h>

#include <functional>

#include "platform/archive/archive.h"
#include "spectrum/control/labels/baseline.h"
#include "spectrum/control/labels/integrals.h"
#include "spectrum/control/labels/peaklabels.h"
#include "spectrum/control/labels/tests/labels_testing.h"
#include "spectrum/control/labels/texts.h"

namespace {

using namespace labels_test;

// Stores the object (expecting `size` bytes), loads the bytes into a new object of the same
// type in another plot, checks it, and stores that again: the same bytes mean every archived
// field came back.
void ExpectRoundTrip(CDrawObject& object, std::size_t size, const std::function<void(CDrawObject&)>& check) {
  plat::Archive out;
  object.Serialize(out);
  EXPECT_EQ(out.bytes().size(), size) << object.GetType();
  LabelPlot other(SpectrumBuilder::Nmr(10));
  CDrawObject* copy = other.list.GetDrawObject(object.GetType());
  plat::Archive in(out.bytes());
  copy->Serialize(in);
  EXPECT_TRUE(in.atEnd());
  check(*copy);
  plat::Archive again;
  copy->Serialize(again);
  EXPECT_EQ(again.bytes(), out.bytes()) << object.GetType();
}

TEST(LabelArchives, EveryClassWritesItsFieldsThenTheEnabledWord) {
  LabelPlot plot(SpectrumBuilder::Nmr(10));
  const gdi::LOGPEN pen{gdi::PS_DASH, {35, 35}, 0x102030};
  gdi::LOGFONTA font;
  font.lfHeight = 14;
  font.lfEscapement = 450;
  font.lfWeight = 700;
  gdi::SetFaceName(font, "Courier New");

  auto& tpeaks = plot.Add<CTPeaks>(kDrawTPeaks);
  tpeaks.m_linePen = pen;
  tpeaks.m_logFont = font;
  tpeaks.m_nUnit = 1;
  tpeaks.m_textColor = 0x445566;
  tpeaks.m_nDigits = 4;
  tpeaks.m_bEnabled = false;
  auto same = [&](CDrawObject& c) {
    const auto& t = dynamic_cast<CTPeaks&>(c);
    EXPECT_EQ(t.m_nDigits, 4);
    EXPECT_EQ(gdi::FaceNameOf(t.m_logFont), "Courier New");
    EXPECT_FALSE(t.m_bEnabled);
  };
  ExpectRoundTrip(tpeaks, 16 + 60 + 4 + 4 + 4 + 4, same);

  // Digits and the relative-intensity flag of the mass labels are not archived.
  auto& mpeaks = plot.Add<CMPeaks>(kDrawMPeaks);
  mpeaks.m_linePen = pen;
  mpeaks.m_logFont = font;
  mpeaks.m_nUnit = 6;
  mpeaks.m_nDigits = 3;
  mpeaks.m_bRelativeIntensity = true;
  ExpectRoundTrip(mpeaks, 16 + 60 + 4 + 4 + 4, [](CDrawObject& c) {
    const auto& m = dynamic_cast<CMPeaks&>(c);
    EXPECT_EQ(m.m_nUnit, 6);
    EXPECT_EQ(m.m_nDigits, 0);
    EXPECT_FALSE(m.m_bRelativeIntensity);
  });

  auto& curves = plot.Add<CIntegrals>(kDrawIntegrals);
  curves.m_linePen = pen;
  ExpectRoundTrip(curves, 16 + 4, [](CDrawObject& c) {
    EXPECT_EQ(dynamic_cast<CIntegrals&>(c).m_linePen.lopnColor, 0x102030u);
  });

  auto& sums = plot.Add<CIntegSums>(kDrawIntegSums);
  sums.m_logFont = font;
  sums.m_textColor = 0x0000FF;
  sums.m_nDigits = 1;
  ExpectRoundTrip(sums, 16 + 60 + 4 + 4 + 4,
                  [](CDrawObject& c) { EXPECT_EQ(dynamic_cast<CIntegSums&>(c).m_nDigits, 1); });

  // The circles' colour and radius are not archived.
  auto& baseline = plot.Add<CBaseline>(kDrawBaseline);
  baseline.m_linePen = pen;
  baseline.m_circleColor = 0x111111;
  baseline.m_nCircleRadius = 7;
  baseline.m_bEnabled = true;
  ExpectRoundTrip(baseline, 16 + 4, [](CDrawObject& c) {
    const auto& b = dynamic_cast<CBaseline&>(c);
    EXPECT_TRUE(b.m_bEnabled);
    EXPECT_EQ(b.m_circleColor, 0x00DC00u);
    EXPECT_EQ(b.m_nCircleRadius, 150);
  });

  auto& notice = plot.Add<CCopyright>(kDrawCopyright);
  notice.m_color = 0x00FF00;
  notice.m_logFont = font;
  ExpectRoundTrip(notice, 4 + 60 + 4,
                  [](CDrawObject& c) { EXPECT_EQ(dynamic_cast<CCopyright&>(c).m_color, 0x00FF00u); });
}

TEST(LabelArchives, PropertySetsCarryEveryAppearanceButNoTexts) {
  // A snapshot of one plot's appearance loaded into another: the peak band's font comes along,
  // the free text does not.
  LabelPlot plot(SpectrumBuilder::Nmr(100).Constant(1.0));
  auto& tpeaks = plot.Add<CTPeaks>(kDrawTPeaks);
  tpeaks.m_logFont.lfHeight = 20;
  CText::Create(plot.list, "note", 10, 10);
  plat::Archive out;
  plot.list.StoreObjects(out, false);

  LabelPlot other(SpectrumBuilder::Nmr(100).Constant(1.0));
  auto& otherPeaks = other.Add<CTPeaks>(kDrawTPeaks);
  plat::Archive in(out.bytes());
  other.list.LoadObjects(in, false);
  EXPECT_EQ(otherPeaks.m_logFont.lfHeight, 20);
  EXPECT_EQ(other.list.FindDrawObject(kDrawText), nullptr);
}

// The folder of one test's "analysis" file.
std::string AnalysisFolder(const std::string& name) {
  const char* dir = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string folder = std::string(dir && *dir ? dir : "/tmp") + "/" + name;
  plat::makeDirectories(folder);
  return folder;
}

// A spectrum of 1000 points with two peaks; the plot shows peak labels, integrals with their
// sums and free texts (no trace: the scale is set as the trace would leave it).
struct AnalysedPlot : LabelPlot {
  AnalysedPlot() : LabelPlot(SpectrumBuilder::Nmr(1000).Lines({{300, 80, 5}, {700, 40, 5}})) {
    Add<CTPeaks>(kDrawTPeaks);
    Add<CIntegSums>(kDrawIntegSums);
    Add<CIntegrals>(kDrawIntegrals);
    list.m_fIntegSum = 3.0f;
    SetScale(Rect(0, 0, 600, 400), 0.0f, 80.0f, 1000.0f / 601.0f);
  }
  gdi::RasterSurface Show() { return Draw(600, 400); }
};

TEST(AnalysisFile, PeaksIntegralsAndTextsComeBackAndDrawTheSame) {
  AnalysedPlot plot;
  plot.data().peaks = {300, 700};
  plot.data().integrals = {{250, 350, 0.0f}, {650, 750, -0.02f}};
  CText::Create(plot.list, "first", 100, 100);
  CText::Create(plot.list, "second", 400, 200);
  const gdi::RasterSurface before = plot.Show();
  SaveRendering(before, "analysis_before");
  const std::string folder = AnalysisFolder("analysis_roundtrip");
  ASSERT_TRUE(plot.list.SaveAnalysis(folder, 0));

  AnalysedPlot reloaded;
  ASSERT_TRUE(reloaded.list.LoadAnalysis(folder, 0));
  EXPECT_EQ(reloaded.data().peaks, plot.data().peaks);
  ASSERT_EQ(reloaded.data().integrals.size(), 2u);
  EXPECT_EQ(reloaded.data().integrals[1].from, 650u);
  EXPECT_EQ(reloaded.data().integrals[1].to, 750u);
  EXPECT_EQ(reloaded.data().integrals[1].factor, -0.02f);
  EXPECT_EQ(reloaded.list.m_fIntegSum, 3.0f);
  // Texts are read back last first.
  const auto* first = dynamic_cast<CText*>(reloaded.list.FindDrawObject(kDrawText, 0));
  const auto* second = dynamic_cast<CText*>(reloaded.list.FindDrawObject(kDrawText, 1));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->m_strText, "second");
  EXPECT_EQ(second->m_strText, "first");
  const gdi::RasterSurface after = reloaded.Show();
  SaveRendering(after, "analysis_after");
  EXPECT_TRUE(SamePixels(before, after));
}

}  // namespace
