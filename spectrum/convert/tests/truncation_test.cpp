// Every prefix of sample files through detection, counting and reading.
#include <gtest/gtest.h>

#include "jcampdx_test_util.h"
#include "spectrum/convert/spcconvert.h"
#include "truncation_sweep.h"

using namespace convert_test;

namespace {

std::string SampleJcamp() {
  std::string text =
      "##TITLE= sweep sample $$ comment\r\n##JCAMP-DX= 4.24\r\n##DATA TYPE= INFRARED SPECTRUM\r\n"
      "##$ARR= (0..5)\r\n1 2 3\r\n4.5e1 -5 6\r\n##XUNITS= 1/CM\r\n##YFACTOR= 2\r\n##FIRSTX= 0\r\n"
      "##LASTX= 39\r\n##NPOINTS= 40\r\n##XYDATA= (X++(Y..Y))\r\n";
  PointMap m;
  for (int i = 0; i < 40; ++i) m.set(static_cast<float>(i), static_cast<float>((i * 7) % 11 - (i > 20 ? 300 : 0)));
  JcampVariableList vars;
  vars.vars.resize(2);
  vars.vars[0].m_dLast = 39;
  vars.vars[0].m_bTable = 1;
  vars.vars[1].m_nForm = kJcampDiffDup;
  CJcampDx::WriteAsdf(text, m, vars, 1);
  text += "##NPOINTS= 2\r\n##PEAK TABLE= (XY..XY)\r\n1.5,3; 2.5,4\r\n##END= \r\n";
  return text;
}

}  // namespace

TEST(TruncationSweep, JcampReaderSurvivesEveryPrefix) {
  const std::string sample = SampleJcamp();
  const std::vector<std::string> ir = {"INFRARED SPECTRUM"};
  {
    const std::string path = WriteScratch("whole.dx", sample);
    COrvFile f(path);
    ASSERT_TRUE(CJcampDx::IsJcampFile(f, ir));
    RecordingJcamp r;
    ASSERT_TRUE(r.ReadFile(path, nullptr, &ir));
    ASSERT_EQ(r.blocks.size(), 2u);
    EXPECT_EQ(r.blocks[0].points.size(), 40u);
    EXPECT_EQ(r.blocks[0].points[39].y, 2.0f * (39 * 7 % 11 - 300));  // YFACTOR applied
    EXPECT_EQ(r.blocks[1].points[1].x, 2.5f);
  }
  const std::size_t endLabel = sample.rfind("##END=") + 5;  // "##END" alone ends the file too
  SweepPrefixes("sample.dx", sample, [&](const std::string& path, COrvFile& file, std::size_t length) {
    CJcampDx::IsJcampFile(file, ir);
    SpcCountSpectra(file);
    RecordingJcamp r;
    EXPECT_EQ(r.ReadFile(path, nullptr, &ir), length >= endLabel);  // a prefix without END fails
    CSpcData data;
    SpcLoadSpectrum(path, 0, &data);
  });
}

TEST(TruncationSweep, BinaryAndHostileInputIsRejectedCleanly) {
  std::string binary(4096, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 131 + 7) % 256);
  const std::vector<std::string> ir = {"INFRARED SPECTRUM"};
  SweepPrefixes("binary.bin", binary, [&](const std::string& path, COrvFile& file, std::size_t) {
    EXPECT_FALSE(CJcampDx::IsJcampFile(file, ir));
    RecordingJcamp r;
    EXPECT_FALSE(r.ReadFile(path, nullptr, nullptr));
  }, 61);
  // Declared sizes far beyond the data, repeat counts and ranges that do not fit.
  const std::string hostile =
      "##TITLE= x\n##$A= (0..999999999999)\n1 2\n##$B= (5..1)\n##NPOINTS= 2147483647\n##FIRSTX= 1e308\n"
      "##LASTX= -1e308\n##XFACTOR= 0\n##XYDATA= (X++(Y..Y))\n0 As999999999999999999999\n##NPOINTS= 3\n"
      "##PAGE= N=99999999999999999999\n##XYDATA= (X++(Y..Y))\n0 1 2 3\n##END=\n";
  const std::string path = WriteScratch("hostile.dx", hostile);
  RecordingJcamp r;
  EXPECT_FALSE(r.ReadFile(path, nullptr, nullptr));
  SweepPrefixes("hostile.dx", hostile, [&](const std::string& p, COrvFile&, std::size_t) {
    RecordingJcamp rr;
    rr.ReadFile(p, nullptr, nullptr);
  });
}
