#include "spectrum/convert/saturn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "test_files.h"
#include "truncation_sweep.h"

using namespace convert_test;

namespace {

template <class T>
void PutAt(std::string& out, std::size_t offset, T value) {
  if (out.size() < offset + sizeof(T)) out.resize(offset + sizeof(T), '\0');
  std::memcpy(&out[offset], &value, sizeof(T));  // the tests run on little-endian hosts
}

struct Peak {
  double mass;
  std::uint32_t intensity;
};

// A Saturn file: header, comment, scan records, then the offset and total tables.
std::string SaturnFile(const std::vector<std::vector<Peak>>& scans, const std::vector<std::uint32_t>& totals,
                       double first, double step, const std::string& comment) {
  std::string f(84, '\0');
  PutAt(f, 0, std::uint16_t{25100});
  const unsigned char date[] = {101, 5, 12, 14, 30, 15};  // 12 May 2001 14:30:15
  std::memcpy(&f[6], date, sizeof date);
  PutAt(f, 12, first);
  PutAt(f, 20, step);
  PutAt(f, 57, static_cast<std::int16_t>(scans.size()));
  f[83] = static_cast<char>(comment.size());
  f += comment;
  std::vector<std::uint32_t> offsets;
  for (const auto& peaks : scans) {
    const std::size_t at = f.size();
    offsets.push_back(static_cast<std::uint32_t>(at));
    PutAt(f, at + 2, static_cast<std::uint16_t>(peaks.size()));
    for (std::size_t i = 0; i < peaks.size(); ++i) {
      PutAt(f, at + 6 + 12 * i, peaks[i].mass);
      PutAt(f, at + 14 + 12 * i, peaks[i].intensity);
    }
    f.resize(at + 6 + 12 * peaks.size());
  }
  PutAt(f, 59, static_cast<std::uint32_t>(f.size()));
  for (std::uint32_t o : offsets) PutAt(f, f.size(), o);
  PutAt(f, 63, static_cast<std::uint32_t>(f.size()));
  for (std::uint32_t t : totals) PutAt(f, f.size(), t);
  return f;
}

std::string Sample() {
  return SaturnFile({{{120.5, 300}, {45.25, 7000}, {77.0, 10}}, {}, {{200.0, 1}}}, {7310, 0, 1}, 1.0, 0.5,
                    "run 7");
}

}  // namespace

TEST(Saturn, DetectsByMarkAndHeaderSize) {
  CMassConvertSaturn mass(2);
  CTicConvertSaturn tic(3);
  std::string header(84, '\0');
  PutAt(header, 0, std::uint16_t{25100});
  COrvFile whole(WriteScratch("saturn_header.ms", header));
  EXPECT_TRUE(mass.Detect(&whole));
  EXPECT_TRUE(tic.Detect(&whole));
  COrvFile shortFile(WriteScratch("saturn_short.ms", header.substr(0, 83)));
  EXPECT_FALSE(mass.Detect(&shortFile));
  header[0] = 0x0D;
  COrvFile otherMark(WriteScratch("saturn_other.ms", header));
  EXPECT_FALSE(mass.Detect(&otherMark));
  COrvFile folder(ScratchDir("saturn_folder"));
  EXPECT_FALSE(mass.Detect(&folder));
  EXPECT_EQ(mass.GetDefaultExt(), ".ms");
  std::string name;
  tic.GetFormatName(name);
  EXPECT_EQ(name, "Saturn");
}

TEST(Saturn, ReadsIonCurrentTrace) {
  const std::string path = WriteScratch("saturn_tic.ms", Sample());
  CTicConvertSaturn tic(3);
  CSpcData data;
  ASSERT_TRUE(tic.Read(path, &data, 0));
  ASSERT_EQ(data.spectrum().size(), 3u);
  EXPECT_FLOAT_EQ(data.spectrum()[0].re, 7310.0f);
  EXPECT_FLOAT_EQ(data.spectrum()[1].re, 0.0f);
  EXPECT_FLOAT_EQ(data.spectrum()[2].re, 1.0f);
  EXPECT_DOUBLE_EQ(data.params.GetValue("FIRSTX").GetDouble(), 1.0);
  EXPECT_DOUBLE_EQ(data.params.GetValue("LASTX").GetDouble(), 2.0);  // 1.0 + 2 * 0.5
  EXPECT_EQ(data.nDomain, 1);
}

TEST(Saturn, ReadsMassScansWithCommentAndDate) {
  const std::string path = WriteScratch("saturn_mass.ms", Sample());
  CMassConvertSaturn mass(2);
  CSpcData data;
  ASSERT_TRUE(mass.Read(path, &data, 0));
  ASSERT_GE(data.params.size(), 2u);
  EXPECT_EQ(data.params[0].name, "COMMENT");
  EXPECT_EQ(data.params[0].value.GetString(), "run 7");
  EXPECT_EQ(data.params[1].name, "DATE");
  // 12 May 2001 is day 37023 after 30 December 1899; 14:30:15 is 52215 s into it.
  EXPECT_NEAR(data.params[1].value.GetDate().date, 37023.0 + 52215.0 / 86400.0, 1e-9);

  ASSERT_EQ(data.scans.size(), 3u);
  const auto& peaks = data.scans[0].peaks;
  ASSERT_EQ(peaks.size(), 3u);
  EXPECT_FLOAT_EQ(peaks[0].im, 45.25f);
  EXPECT_FLOAT_EQ(peaks[0].re, 7000.0f);
  EXPECT_FLOAT_EQ(peaks[1].im, 77.0f);
  EXPECT_FLOAT_EQ(peaks[2].im, 120.5f);
  EXPECT_FLOAT_EQ(peaks[2].re, 300.0f);
  EXPECT_FLOAT_EQ(data.scans[0].fIonCurrent, 7310.0f);
  EXPECT_TRUE(data.scans[1].peaks.empty());
  ASSERT_EQ(data.scans[2].peaks.size(), 1u);
  EXPECT_FLOAT_EQ(data.scans[2].peaks[0].im, 200.0f);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(data.scans[i].strLabel, "run 7");
    EXPECT_FLOAT_EQ(data.scans[i].fTime, 1.0f + 0.5f * static_cast<float>(i));
  }
}

TEST(Saturn, ImpossibleDateAndHostileTablesStayClean) {
  std::string f = SaturnFile({{{50.0, 1}, {std::nan(""), 2}}}, {3}, 0.0, 1.0, "");
  f[7] = 13;                                // month 13: no DATE
  PutAt(f, 57, std::int16_t{30000});        // far more scans than the tables hold
  const std::string path = WriteScratch("saturn_hostile.ms", f);
  CMassConvertSaturn mass(2);
  CSpcData data;
  ASSERT_TRUE(mass.Read(path, &data, 0));
  EXPECT_FALSE(data.params.HasParam("DATE"));
  ASSERT_EQ(data.scans.size(), 1u);  // the totals table ends the file after one entry
  ASSERT_EQ(data.scans[0].peaks.size(), 1u);  // a peak without a real mass is dropped
  EXPECT_FLOAT_EQ(data.scans[0].peaks[0].im, 50.0f);

  // Tables and scan offsets pointing past the end of the file.
  PutAt(f, 59, std::uint32_t{0xFFFFFFF0u});
  PutAt(f, 63, std::uint32_t{0xFFFFFFF0u});
  const std::string far = WriteScratch("saturn_far.ms", f);
  CTicConvertSaturn tic(3);
  CSpcData trace;
  ASSERT_TRUE(tic.Read(far, &trace, 0));
  EXPECT_TRUE(trace.spectrum().empty());
  EXPECT_FALSE(trace.params.HasParam("FIRSTX"));
}

TEST(Saturn, TruncationSweep) {
  CMassConvertSaturn mass(2);
  CTicConvertSaturn tic(3);
  SweepPrefixes("saturn.ms", Sample(), [&](const std::string& path, COrvFile& file, std::size_t length) {
    EXPECT_EQ(mass.Detect(&file), length >= 84);
    CSpcData m, t;
    EXPECT_EQ(ReadSayingWhy(mass, path, &m), length >= 84);
    EXPECT_EQ(ReadSayingWhy(tic, path, &t), length >= 84);
    EXPECT_LE(m.scans.size(), 3u);
  });
}
