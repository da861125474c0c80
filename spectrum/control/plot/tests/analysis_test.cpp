#include <gtest/gtest.h>

#include <bit>

#include "foundation/profdesc.h"
#include "platform/base/file.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "spectrum/control/plot/tests/plot_testing.h"

namespace plot_test {
namespace {

class AnalysisFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterStandIns(); }
  void SetUp() override {
    folder = ScratchPath(std::string("analysis_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    plat::makeDirectories(folder);
    plat::removeFile(folder + "/analysis");
  }
  // The text of the analysis file.
  std::string FileText() const {
    plat::String8 text;
    plat::readFile(folder + "/analysis", &text);
    return text;
  }
  // Writes one value into the file's section directly (as another program would).
  void Put(std::uint32_t control, const char16_t* name, std::uint32_t value) {
    COrvProfDesc desc(plat::toUtf16(folder + "/analysis").c_str(),
                      plat::toUtf16("\\CONTROL_NMR_" + std::to_string(control)).c_str());
    desc.SetIni(true);
    ASSERT_EQ(desc.Open(PROF_MODE_ALL), PROF_OK);
    ASSERT_EQ(OrvSetProfDWord(name, value, &desc), PROF_OK);
  }
  void PutBinary(std::uint32_t control, const char16_t* name, const std::vector<std::uint8_t>& bytes) {
    COrvProfDesc desc(plat::toUtf16(folder + "/analysis").c_str(),
                      plat::toUtf16("\\CONTROL_NMR_" + std::to_string(control)).c_str());
    desc.SetIni(true);
    ASSERT_EQ(desc.Open(PROF_MODE_ALL), PROF_OK);
    ASSERT_EQ(OrvSetProfBinary(name, bytes.data(), static_cast<unsigned>(bytes.size()), &desc), PROF_OK);
  }

  std::string folder;
};

std::unique_ptr<TestSpectrum> Spectrum() { return SpectrumBuilder::Nmr(1000).Constant(1.0).Build(); }

StandIn<kDrawText>* AddText(TestPlot& plot, const std::string& text, std::int32_t x, float y) {
  auto* label = dynamic_cast<StandIn<kDrawText>*>(plot.list.GetDrawObject(kDrawText));
  label->m_strText = text;
  label->m_nX = x;
  label->m_fY = y;
  return label;
}

TEST_F(AnalysisFile, WrittenAndReadBackIntoAFreshListGivesTheSameObjects) {
  TestPlot saved(Spectrum());
  CSpcData& data = saved.spectrum->data;
  data.integrals = {{10, 20, 1.0f}, {100, 180, 0.5f}};
  data.peaks = {15, 140, 600};
  saved.list.m_fIntegSum = 42.5f;
  saved.list.m_fAmplitude = 3.0f;
  saved.list.m_fLeftBound = 100.7f;
  saved.list.m_fRightBound = 900.2f;
  saved.list.m_nBase = 0;
  saved.list.m_fTopMargin = 0.125f;
  saved.list.m_fBottomMargin = 0.0625f;
  AddText(saved, "CH3", 150, 0.75f);
  AddText(saved, "ester \xC3\xA9", 610, -2.0f);
  ASSERT_TRUE(saved.list.SaveAnalysis(folder, 3));
  const std::string text = FileText();
  EXPECT_NE(text.find("[CONTROL_NMR_3]"), std::string::npos);
  // The order of the values is the file's.
  const char* order[] = {"IntegralsNumber", "IntegralArray", "IntegSum", "ICorrectionArray", "PeaksNumber",
                         "PeakArray", "Amplitude", "Text_0", "TextX_0", "TextY_0", "Text_1", "TextX_1",
                         "TextY_1", "TextsNumber", "LeftBound", "RightBound", "Base", "TopMargin", "BottomMargin"};
  std::size_t at = 0;
  for (const char* name : order) {
    const std::size_t next = text.find(std::string("\n") + name + "=", at);
    ASSERT_NE(next, std::string::npos) << name;
    at = next + 1;
  }

  TestPlot loaded(Spectrum());
  ASSERT_TRUE(loaded.list.LoadAnalysis(folder, 3));
  const CSpcData& back = loaded.spectrum->data;
  ASSERT_EQ(back.integrals.size(), 2u);
  EXPECT_EQ(back.integrals[1].from, 100u);
  EXPECT_EQ(back.integrals[1].to, 180u);
  EXPECT_EQ(back.integrals[1].factor, 0.5f);
  EXPECT_EQ(back.peaks, data.peaks);
  EXPECT_EQ(loaded.list.m_fIntegSum, 42.5f);
  EXPECT_EQ(loaded.list.m_fAmplitude, 3.0f);
  EXPECT_EQ(loaded.list.m_fLeftBound, 100.0f);
  EXPECT_EQ(loaded.list.m_fRightBound, 900.0f);
  EXPECT_EQ(loaded.list.m_nBase, 0);
  EXPECT_EQ(loaded.list.m_fTopMargin, 0.125f);
  EXPECT_EQ(loaded.list.m_fBottomMargin, 0.0625f);
  // Texts come back last one first.
  auto* first = dynamic_cast<StandIn<kDrawText>*>(loaded.list.FindDrawObject(kDrawText, 0));
  auto* second = dynamic_cast<StandIn<kDrawText>*>(loaded.list.FindDrawObject(kDrawText, 1));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->m_strText, "ester \xC3\xA9");
  EXPECT_EQ(first->m_nX, 610);
  EXPECT_EQ(first->m_fY, -2.0f);
  EXPECT_EQ(second->m_strText, "CH3");

  // A spectrum without integrals writes a count of 0 and an empty block.
  TestPlot empty(Spectrum());
  ASSERT_TRUE(empty.list.SaveAnalysis(folder, 4));
  TestPlot again(Spectrum());
  EXPECT_TRUE(again.list.LoadAnalysis(folder, 4));
  EXPECT_TRUE(again.spectrum->data.integrals.empty());
  EXPECT_EQ(again.list.FindDrawObject(kDrawText), nullptr);
}

TEST_F(AnalysisFile, BadEntriesAreDroppedAndBoundsKeepTheirSign) {
  TestPlot saved(Spectrum());
  saved.spectrum->data.integrals = {{10, 20, 1.0f}};
  saved.spectrum->data.peaks = {5};
  ASSERT_TRUE(saved.list.SaveAnalysis(folder, 0));

  // Integral ends past the data or reversed, a peak past the data, a block of the wrong size.
  auto le = [](std::initializer_list<std::uint32_t> words) {
    std::vector<std::uint8_t> b;
    for (std::uint32_t w : words)
      for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(w >> (8 * i)));
    return b;
  };
  Put(0, u"IntegralsNumber", 3);
  PutBinary(0, u"IntegralArray", le({300, 400, 50, 40, 900, 1000}));
  PutBinary(0, u"ICorrectionArray", le({std::bit_cast<std::uint32_t>(2.0f), std::bit_cast<std::uint32_t>(1.0f),
                                        std::bit_cast<std::uint32_t>(1.0f)}));
  Put(0, u"PeaksNumber", 3);
  PutBinary(0, u"PeakArray", le({999, 1000, 0xFFFFFFFF}));
  Put(0, u"LeftBound", 0xFFFFFFFF);
  Put(0, u"TextsNumber", 1000000);
  TestPlot loaded(Spectrum());
  EXPECT_FALSE(loaded.list.LoadAnalysis(folder, 0));  // the texts claimed are not there
  ASSERT_EQ(loaded.spectrum->data.integrals.size(), 1u);
  EXPECT_EQ(loaded.spectrum->data.integrals[0].from, 300u);
  EXPECT_EQ(loaded.spectrum->data.integrals[0].factor, 2.0f);
  EXPECT_EQ(loaded.spectrum->data.peaks, (std::vector<std::int32_t>{999}));

  Put(0, u"TextsNumber", 0);
  Put(0, u"PeaksNumber", 2);  // the block holds three
  TestPlot second(Spectrum());
  EXPECT_TRUE(second.list.LoadAnalysis(folder, 0));
  EXPECT_TRUE(second.spectrum->data.peaks.empty());
  // -1 stored as a word is -1, clamped into the data: point 0.
  EXPECT_EQ(second.list.m_fLeftBound, 0.0f);

  // Mass bounds are masses and keep their sign.
  TestPlot mass(SpectrumBuilder::Mass().Scan({{10, 50}}).Build());
  EXPECT_TRUE(mass.list.LoadAnalysis(folder, 0));
  EXPECT_EQ(mass.list.m_fLeftBound, -1.0f);
}

TEST_F(AnalysisFile, ASectionThatDoesNotOpenReportsFailureAndChangesNothing) {
  TestPlot plot(Spectrum());
  const float amplitude = plot.list.m_fAmplitude;
  EXPECT_FALSE(plot.list.LoadAnalysis(folder + "/missing", 1));
  EXPECT_FALSE(plot.list.SaveAnalysis(folder + "/missing/deeper", 1));
  EXPECT_EQ(plot.list.m_fAmplitude, amplitude);
  // A missing value ends the reading: the rest keeps its defaults.
  Put(7, u"IntegralsNumber", 0);
  EXPECT_FALSE(plot.list.LoadAnalysis(folder, 7));
  EXPECT_EQ(plot.list.m_fAmplitude, amplitude);
  CDrawObjectList none(nullptr, nullptr);
  EXPECT_FALSE(none.SaveAnalysis(folder, 1));
}

}  // namespace
}  // namespace plot_test
