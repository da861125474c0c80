// Loading and saving through ISpectrumControl: the spectra of a file counted and loaded by
// number, the silent failure past the last, the load error naming the format, the formats of
// the loaded kind, and saving in them: a spectrum folder with the control's own files, and a
// JCAMP-DX file that loads back with the same points.
#include <cmath>

#include "platform/base/file.h"
#include "platform/base/text.h"
#include "platform/ui/responder.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/control/tests/spectrum_files.h"
#include "spectrum/control/plot/axes.h"
#include "spectrum/control/testing/hostitem.h"
#include "spectrum/convert/jdxconvert.h"

namespace nelvar_test {
namespace {

using plat::ole::E_FAIL;
using plat::ole::S_OK;

class LoadTest : public ControlTest {
 protected:
  ISpectrumControl& Spc(CSpcControl& c) { return *c.SpectrumControl(); }
  plat::ole::HResult Load(CSpcControl& c, const std::string& path, std::int32_t index) {
    return Spc(c).LoadSpectrum(plat::toUtf16(path).c_str(), index);
  }
  plat::ole::HResult Save(CSpcControl& c, const std::string& path, std::int32_t format, std::int32_t type,
                          std::int32_t number) {
    return Spc(c).SaveSpectrum(plat::toUtf16(path).c_str(), format, type, number);
  }
  std::int32_t Count(CSpcControl& c, const std::string& path) {
    std::int32_t n = -1;
    EXPECT_EQ(Spc(c).GetSpectraCount(plat::toUtf16(path).c_str(), &n), S_OK);
    return n;
  }
  std::string Method(CSpcControl& c) {
    plat::ole::Bstr name = nullptr;
    if (Spc(c).GetCurMethod(&name) != S_OK) return "?";
    const std::string text = plat::toUtf8(plat::ole::stringView(name));
    plat::ole::freeString(name);
    return text;
  }
};

TEST_F(LoadTest, EverySpectrumOfAFileLoadsByItsNumberAndOnePastTheLastFailsSilently) {
  const std::string path = WriteFile(ScratchFolder("load"), "three.dx", ThreeSpectraFile());
  CSpcControl& c = *NewControl();
  EXPECT_EQ(Count(c, path), 3);
  // The kinds in table order: MASS, then IR, then UV.
  const struct {
    const char* kind;
    std::size_t points;
  } expected[] = {{"MASS", 4}, {"IR", 6}, {"UV", 8}};
  for (std::int32_t i = 0; i < 3; ++i) {
    ASSERT_EQ(Load(c, path, i), S_OK) << i;
    EXPECT_EQ(Method(c), expected[i].kind);
    EXPECT_EQ(c.m_spectrumNumber, static_cast<std::uint32_t>(i));
    EXPECT_EQ(c.m_data.strName, "three.dx");
    if (i == 0) {
      ASSERT_EQ(c.m_data.scans.size(), 1u);
      EXPECT_EQ(c.m_data.scans[0].peaks.size(), expected[i].points);
    } else {
      EXPECT_EQ(c.m_data.spectrum().size(), expected[i].points);
      EXPECT_EQ(c.m_process.m_nCur, static_cast<std::int32_t>(expected[i].points));
    }
  }
  // Past the last, and a negative number: nothing said, nothing changed.
  for (std::int32_t index : {3, -1}) {
    EXPECT_EQ(Load(c, path, index), E_FAIL);
    EXPECT_EQ(Method(c), "UV");
    EXPECT_EQ(c.m_data.spectrum().size(), 8u);
  }
  EXPECT_TRUE(ui::ModalLog().empty());
  // A file nothing recognises holds no spectrum.
  const std::string other = WriteFile(ScratchFolder("load"), "notes.txt", "just text\n");
  EXPECT_EQ(Count(c, other), 0);
  EXPECT_EQ(Load(c, other, 0), E_FAIL);
  EXPECT_TRUE(ui::ModalLog().empty());
  EXPECT_EQ(Method(c), "UV");
}

TEST_F(LoadTest, AReaderThatFailsIsReportedWithItsFormatAndLeavesTheControlCleared) {
  const std::string path = WriteFile(ScratchFolder("damaged"), "empty-table.dx", TablelessFile());
  CSpcControl& c = *NewControl();
  GiveSpectrum(c, 0, 64);
  ui::ScriptedResponder responder(true);
  ui::UINT style = 0;
  responder.Then(ui::ModalKind::MessageBox, [&](ui::ModalQuestion& q) {
    style = q.style;
    return ui::IDOK;
  });
  EXPECT_EQ(Count(c, path), 1);
  EXPECT_EQ(Load(c, path, 0), E_FAIL);
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].kind, ui::ModalKind::MessageBox);
  EXPECT_EQ(ui::ModalLog()[0].text, "JCAMP-DX file loading error. Currupted file or\nunsupported format.");
  EXPECT_EQ(style & ui::MB_ICONMASK, static_cast<ui::UINT>(ui::MB_ICONSTOP));
  EXPECT_FALSE(c.HoldsData());
  EXPECT_EQ(c.m_drawList.GetSize(), 0u);
}

TEST_F(LoadTest, AFolderWhoseFidIsDamagedLoadsItsSpectrumSaysSoAndSavesTheSpectrumAgain) {
  // The sample transformed and saved as a folder: a fid and a spectrum.
  CSpcControl& source = *NewControl();
  ASSERT_EQ(Load(source, SAMPLE_FID, 0), S_OK);
  ASSERT_TRUE(source.m_process.FourierTransform(0));
  const std::string folder = plat::joinPath(ScratchFolder("damaged_fid"), "saved");
  ASSERT_EQ(Save(source, folder, 0, 0, 0), S_OK);
  const std::vector<CSpcPoint> spectrum = source.m_data.spectrum();
  ASSERT_FALSE(spectrum.empty());
  // The fid cut short.
  std::string fid;
  ASSERT_EQ(plat::readFile(plat::joinPath(folder, "fid.0"), &fid), plat::FileStatus::Ok);
  ASSERT_TRUE(plat::writeFileAtomic(plat::joinPath(folder, "fid.0"), fid.substr(0, fid.size() / 3)));

  CSpcControl& c = *NewControl();
  ui::ScriptedResponder responder(true);
  responder.ThenAnswer(ui::ModalKind::MessageBox, ui::IDOK);
  ASSERT_EQ(Load(c, folder, 0), S_OK);
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].text.rfind(folder + " was not read whole: ", 0), 0u) << ui::ModalLog()[0].text;
  EXPECT_NE(ui::ModalLog()[0].text.find("fid.0"), std::string::npos);
  EXPECT_TRUE(c.m_data.fid().empty());
  ASSERT_EQ(c.m_data.spectrum().size(), spectrum.size());
  EXPECT_EQ(c.m_data.spectrum()[100].re, spectrum[100].re);

  // Saved again, the spectrum is there to load (whole) from the new folder.
  const std::string again = plat::joinPath(ScratchFolder("damaged_fid"), "again");
  ASSERT_EQ(Save(c, again, 0, 0, 0), S_OK);
  CSpcControl& back = *NewControl();
  ASSERT_EQ(Load(back, again, 0), S_OK);
  EXPECT_EQ(ui::ModalLog().size(), 1u);
  ASSERT_EQ(back.m_data.spectrum().size(), spectrum.size());
  EXPECT_EQ(back.m_data.spectrum()[100].re, spectrum[100].re);
}

TEST_F(LoadTest, TheFormatsOfTheLoadedKindAreDescribedAndOnlyWritableOnesSave) {
  CSpcControl& c = *NewControl();
  plat::ole::Bstr name = nullptr, options = nullptr;
  std::int32_t caps = -1, n = -1;
  // Nothing loaded: the record's kind is NMR, and a save has nothing to write.
  ASSERT_EQ(Spc(c).GetFormat(3, &name, &options, &caps), S_OK);
  EXPECT_EQ(plat::toUtf8(plat::ole::stringView(name)), "JCAMP-DX");
  EXPECT_EQ(plat::toUtf8(plat::ole::stringView(options)), kJcampSaveOptions);
  EXPECT_EQ(caps, 3);
  plat::ole::freeString(name);
  plat::ole::freeString(options);
  const std::string dir = ScratchFolder("formats");
  EXPECT_EQ(Save(c, plat::joinPath(dir, "nothing.dx"), 3, 0, 0), E_FAIL);
  EXPECT_FALSE(plat::fileExists(plat::joinPath(dir, "nothing.dx")));
  EXPECT_EQ(Spc(c).GetKindFormatCount(&n), S_OK);
  EXPECT_EQ(n, 16);
  for (std::int32_t bad : {16, -1}) EXPECT_EQ(Spc(c).GetFormat(bad, &name, &options, &caps), E_FAIL);
  GiveSpectrum(c, 0, 64);
  // DisNMR reads only; format 16 is past the kind's list.
  EXPECT_EQ(Save(c, plat::joinPath(dir, "read-only.001"), 2, 0, 0), E_FAIL);
  EXPECT_FALSE(plat::fileExists(plat::joinPath(dir, "read-only.001")));
  EXPECT_EQ(Save(c, plat::joinPath(dir, "past.dx"), 16, 0, 0), E_FAIL);
  GiveSpectrum(c, 2, 64);
  EXPECT_EQ(Spc(c).GetKindFormatCount(&n), S_OK);
  EXPECT_EQ(n, 8);
  GiveSpectrum(c, 1, 2);
  n = -7;
  EXPECT_EQ(Spc(c).GetKindFormatCount(&n), E_FAIL);
  EXPECT_EQ(n, -7);
  c.m_data.nKind = 9;
  EXPECT_EQ(Spc(c).GetFormat(0, &name, &options, &caps), E_FAIL);
}

// The dump's lines that describe the spectrum, its processing and its plot (not where it came
// from: the record's name, its parameters' text forms and the control's folder; nor the axis,
// which the folder keeps to single precision and which is compared on its own).
std::string SpectrumLines(const std::string& dump) {
  std::string kept;
  std::size_t at = 0;
  while (at < dump.size()) {
    const std::size_t end = std::min(dump.find('\n', at), dump.size());
    const std::string line = dump.substr(at, end - at);
    if (line.rfind("record ", 0) != 0 && line.rfind("  param ", 0) != 0 && line.rfind("control ", 0) != 0 &&
        line.rfind("process ", 0) != 0)
      kept += line + "\n";
    at = end + 1;
  }
  return kept;
}

gdi::COLORREF& GridColor(CSpcControl& c) {
  return static_cast<CGrid*>(c.m_drawList.FindDrawObject(kDrawGrid))->m_linePen.lopnColor;
}

TEST_F(LoadTest, ASpectrumFolderKeepsTheAnalysisAndPropertySetsUnderTheSpectrumsNumber) {
  CSpcControl& source = *NewControl();
  ASSERT_EQ(Load(source, SAMPLE_FID, 0), S_OK);
  // Set 1 with a grid of its own colour, set 0 with another; set 0 shown.
  source.SaItem()->SelectPropertySet(1, 0);
  GridColor(source) = 0x00005555;
  source.SaItem()->SelectPropertySet(0, 0);
  GridColor(source) = 0x00003333;
  source.m_data.peaks = {100, 200};
  source.m_data.integrals = {{50, 90, 1.0f}};
  source.m_drawList.m_fIntegSum = 42.0f;
  const std::string folder = plat::joinPath(ScratchFolder("folder"), "saved");
  // Spectrum 0 plainly, spectrum 2 with the annotations.
  CSpcControl& plain = *NewControl();
  ASSERT_EQ(Load(plain, SAMPLE_FID, 0), S_OK);
  ASSERT_EQ(Save(plain, folder, 0, 0, 0), S_OK);
  ASSERT_EQ(Save(source, folder, 0, 0, 2), S_OK);
  EXPECT_TRUE(plat::fileExists(plat::joinPath(folder, "analysis")));
  EXPECT_TRUE(plat::fileExists(plat::joinPath(folder, "properties")));
  std::string properties;
  ASSERT_EQ(plat::readFile(plat::joinPath(folder, "properties"), &properties), plat::FileStatus::Ok);
  EXPECT_NE(properties.find("CONTROL_2\\0"), std::string::npos) << properties;
  EXPECT_NE(properties.find("CONTROL_2\\1"), std::string::npos) << properties;

  CSpcControl& back = *NewControl();
  ASSERT_EQ(Load(back, folder, 2), S_OK);
  EXPECT_EQ(back.m_data.peaks, source.m_data.peaks);
  ASSERT_EQ(back.m_data.integrals.size(), 1u);
  EXPECT_EQ(back.m_data.integrals[0].from, 50u);
  EXPECT_EQ(back.m_drawList.m_fIntegSum, 42.0f);
  EXPECT_EQ(back.m_propertyFolder, folder);
  EXPECT_EQ(back.m_spectrumNumber, 2u);
  EXPECT_EQ(GridColor(back), 0x00003333u);
  std::uint32_t set = 9;
  back.SaItem()->GetPropertySet(&set);
  EXPECT_EQ(set, 0u);
  EXPECT_EQ(SpectrumLines(nelvar::testing::DumpSpcState(SavedState(back))),
            SpectrumLines(nelvar::testing::DumpSpcState(SavedState(source))));
  EXPECT_NEAR(back.m_process.m_dFreq, source.m_process.m_dFreq, 1e-4);
  EXPECT_NEAR(back.m_process.m_dOffset, source.m_process.m_dOffset, 1e-3);
  EXPECT_EQ(back.m_process.m_dSW, source.m_process.m_dSW);
  EXPECT_EQ(back.m_process.m_nSI, source.m_process.m_nSI);
  EXPECT_EQ(back.m_process.m_nCur, source.m_process.m_nCur);
  back.SaItem()->SelectPropertySet(1, 0);
  EXPECT_EQ(GridColor(back), 0x00005555u);
  back.SaItem()->SelectPropertySet(0, 0);
  // Spectrum 0 of the same folder has annotations and sets of its own, as the plain control had.
  ASSERT_EQ(Load(back, folder, 0), S_OK);
  EXPECT_TRUE(back.m_data.peaks.empty());
  EXPECT_TRUE(back.m_data.integrals.empty());
  EXPECT_EQ(GridColor(back), GridColor(plain));
}

TEST_F(LoadTest, ASpectrumSavedAsJcampDxLoadsBackWithTheSamePoints) {
  CSpcControl& source = *NewControl();
  ASSERT_EQ(Load(source, SAMPLE_FID, 0), S_OK);
  const std::string path = plat::joinPath(ScratchFolder("jdx"), "again.dx");
  ASSERT_EQ(Save(source, path, CNmrConvertJcampDx::kFormatIndex, 0, 0), S_OK);
  // A file that is not a folder never leaves the control's own files.
  EXPECT_FALSE(plat::fileExists(plat::joinPath(ScratchFolder("jdx"), "analysis")));
  CSpcControl& back = *NewControl();
  ASSERT_EQ(Load(back, path, 0), S_OK);
  const std::vector<CSpcPoint>& a = source.m_data.fid();
  const std::vector<CSpcPoint>& b = back.m_data.fid();
  ASSERT_FALSE(a.empty());
  ASSERT_GE(b.size(), static_cast<std::size_t>(source.m_process.m_nCur));
  float scale = 0.0f;
  for (const CSpcPoint& p : a) scale = std::max({scale, std::fabs(p.re), std::fabs(p.im)});
  for (std::int32_t i = 0; i < source.m_process.m_nCur; ++i) {
    EXPECT_NEAR(b[i].re, a[i].re, scale * 1e-6f) << i;
    EXPECT_NEAR(b[i].im, a[i].im, scale * 1e-6f) << i;
  }
  EXPECT_EQ(back.m_process.m_nCur, source.m_process.m_nCur);
}

}  // namespace
}  // namespace nelvar_test
