#include "spectrum/convert/orvfile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "common/shared_ids.h"
#include "spectrum/convert/spcconvert.h"

#include "test_files.h"

using convert_test::ScratchDir;
using convert_test::WriteScratch;

TEST(OrvFile, FolderMissingAndEmptyHaveNoView) {
  const std::string dir = ScratchDir("folder");
  COrvFile folder(dir);
  EXPECT_TRUE(folder.IsFolder());
  EXPECT_EQ(folder.m_pView, nullptr);
  EXPECT_EQ(folder.m_nSize, 0);
  EXPECT_EQ(folder.m_strPath, dir);

  COrvFile missing(dir + "/nothing-here");
  EXPECT_EQ(missing.m_dwAttributes, kOrvAttrInvalid);
  EXPECT_FALSE(missing.HasView());

  COrvFile empty(WriteScratch("empty.bin", ""));
  EXPECT_FALSE(empty.IsFolder());
  EXPECT_FALSE(empty.HasView());
  char buf[8];
  EXPECT_FALSE(empty.ReadLine(buf, sizeof buf));
  EXPECT_EQ(empty.Read(buf, 8), 0u);
}

TEST(OrvFile, AFileBeyondTheLargestTheConvertersReadShowsItsHeadAndIsNeverRead) {
  // An infrared JCAMP-DX file grown (sparsely) to the bound, then past it by one byte.
  const std::string path = WriteScratch("huge.dx",
                                        "##TITLE= huge\r\n##JCAMP-DX= 4.24\r\n##DATA TYPE= INFRARED SPECTRUM\r\n"
                                        "##XUNITS= 1/CM\r\n##YUNITS= TRANSMITTANCE\r\n##FIRSTX= 0\r\n##LASTX= 3\r\n"
                                        "##NPOINTS= 4\r\n##XYDATA= (X++(Y..Y))\r\n0 1 2 3 4\r\n##END=\r\n");
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(kMaxSpectrumFileBytes)), 0);
  {
    COrvFile atTheBound(path);
    EXPECT_FALSE(atTheBound.IsTooLarge());
    EXPECT_EQ(atTheBound.m_nSize, static_cast<std::int64_t>(kMaxSpectrumFileBytes));
  }
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(kMaxSpectrumFileBytes + 1)), 0);
  COrvFile huge(path);
  EXPECT_TRUE(huge.IsTooLarge());
  EXPECT_EQ(huge.m_nSize, static_cast<std::int64_t>(kOrvTooLargeHeadBytes));
  std::string format, kinds;
  ASSERT_TRUE(SpcIdentifyFile(huge, &format, &kinds));
  EXPECT_EQ(format, "JCAMP-DX");
  CSpcData data;
  std::string reader;
  SpcFailure why;
  EXPECT_EQ(SpcLoadSpectrum(path, 0, &data, &reader, &why), SpcLoadResult::TooLarge);
  EXPECT_EQ(reader, "JCAMP-DX");
  EXPECT_EQ(why.Describe(), "the file holds 1073741825 bytes, more than the 1073741824 the converters read");
  EXPECT_TRUE(data.spectrum().empty());
  ::unlink(path.c_str());
}

TEST(OrvFile, LinesStripLineEndsAndKeepALastLineWithoutOne) {
  // LF, CR LF and a CR alone each end a line.
  COrvFile f(WriteScratch("lines.txt", "a\r\n\nb\rc\r\rd"));
  ASSERT_EQ(f.m_nSize, 10);
  char buf[260];
  for (const char* want : {"a", "", "b", "c", "", "d"}) {  // an empty line is a line, not the end
    ASSERT_TRUE(f.ReadLine(buf, sizeof buf));
    EXPECT_STREQ(buf, want);
  }
  EXPECT_FALSE(f.ReadLine(buf, sizeof buf));
  EXPECT_EQ(f.LineOf(6), 4);  // "c"
  EXPECT_EQ(f.LineOf(9), 6);
}

TEST(OrvFile, LongLineIsSplitNeverCut) {
  std::string line(300, 'x');
  for (std::size_t i = 0; i < line.size(); ++i) line[i] = static_cast<char>('a' + i % 26);
  COrvFile f(WriteScratch("long.txt", line + "\nnext\n"));
  char buf[260];
  std::string joined;
  ASSERT_TRUE(f.ReadLine(buf, sizeof buf));
  EXPECT_EQ(std::strlen(buf), 259u);
  joined += buf;
  ASSERT_TRUE(f.ReadLine(buf, sizeof buf));
  joined += buf;
  EXPECT_EQ(joined, line);
  ASSERT_TRUE(f.ReadLine(buf, sizeof buf));
  EXPECT_STREQ(buf, "next");

  // The whole-line form has no limit at all.
  f.SetPosition(0);
  std::string_view whole;
  ASSERT_TRUE(f.ReadLine(&whole));
  EXPECT_EQ(whole, line);
  // Line numbers count from 1; the line end belongs to its line.
  EXPECT_EQ(f.LineOf(0), 1);
  EXPECT_EQ(f.LineOf(300), 1);
  EXPECT_EQ(f.LineOf(301), 2);
  EXPECT_EQ(f.LineOf(1 << 20), 3);
}

TEST(OrvFile, BytesGivenBackBehindTheReaderReadTheSameAgain) {
  // Lines of a 12 MB file read through: what lies behind is given back as the reading goes,
  // and reads the same when it is looked at again, through the view and by line.
  std::string text;
  for (int i = 0; text.size() < (std::size_t(12) << 20); ++i) text += std::to_string(i) + " J1k2L3\r\n";
  COrvFile file(WriteScratch("released.txt", text));
  std::string_view line;
  std::size_t lines = 0;
  while (file.ReadLine(&line)) ++lines;
  EXPECT_EQ(file.Bytes(), text);
  file.ReleaseBefore(file.m_nSize);
  EXPECT_EQ(file.Bytes(), text);
  file.SetPosition(0);
  ASSERT_TRUE(file.ReadLine(&line));
  EXPECT_EQ(line, "0 J1k2L3");
  EXPECT_EQ(lines, static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
}

TEST(OrvFile, ReadStopsAtTheEnd) {
  std::string bytes(100, 0);
  for (int i = 0; i < 100; ++i) bytes[i] = static_cast<char>(i);
  const std::string path = WriteScratch("block.bin", bytes);
  COrvFile f(path);
  f.SetPosition(90);
  char buf[100];
  EXPECT_EQ(f.Read(buf, 100), 10u);
  EXPECT_EQ(buf[0], 90);
  EXPECT_EQ(f.Read(buf, 100), 0u);
}

TEST(OrvFile, PathSplitters) {
  EXPECT_EQ(GetPathTitle("C:\\data\\exp.1\\fid.dx"), "fid");
  EXPECT_EQ(GetPathFileName("/data/exp/fid.dx"), "fid.dx");
  EXPECT_EQ(GetPathExt("/data/exp/fid.dx"), ".dx");
  EXPECT_EQ(GetPathExt("/data/exp/fid"), "");
}
