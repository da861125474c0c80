// Every writer writes what the record holds: sizes in the parameters that claim far more points
// than the record has never make a writer allocate or write for them.
#include <gtest/gtest.h>

#include "folder_test_util.h"
#include "platform/base/text.h"

using namespace folder_test;

namespace {

// Bytes at path: the file's size, or the sizes of the files of a folder.
std::uint64_t OutputSize(const std::string& path) {
  const plat::FileInfo info = plat::fileInfo(path);
  if (!info.isDirectory) return info.size;
  std::uint64_t total = 0;
  for (const plat::DirEntry& e : plat::findFiles(path, "*")) total += e.isDirectory ? 0 : e.size;
  return total;
}

// A record of kind holding four points (or one scan of four peaks) whose sizes claim 200 million.
void FillClaimingMore(Spectrum& s, std::int32_t domain) {
  constexpr std::int32_t kClaim = 200000000;
  s.data.nDomain = domain;
  if (s.data.nKind == kSpcKindMass) {
    CMassScan scan;
    scan.peaks = {{1.0f, 10.0f}, {2.0f, 20.0f}, {3.0f, 30.0f}, {4.0f, 40.0f}};
    s.data.scans = {scan};
  } else {
    s.data.fid() = Ramp(4);
    s.data.spectrum() = Ramp(4, 2.0f);
  }
  for (const char* name : {"TD", "SI", "NPOINTS", "ScansNumber"}) s.data.params.Append(Param(name, Long(kClaim)));
  s.data.params.Append(Param("FIRSTX", Double(400.0)));
  s.data.params.Append(Param("LASTX", Double(4000.0)));
  s.data.params.Append(Param("SFO1", Double(400.13)));
  s.data.params.Append(Param("SW", Double(4000.0)));
  s.SetUp();
}

}  // namespace

TEST(WriterBounds, SizesClaimingMoreThanTheRecordHoldsDoNotSizeTheOutput) {
  int written = 0;
  for (const SpcKindRow& row : SpcKindTable()) {
    for (std::uint32_t format = 0; format < row.kind->GetFormatCount(); ++format) {
      const std::unique_ptr<CSpcConvert> leaf = row.kind->CreateFormat(static_cast<std::int32_t>(format));
      if (!leaf || !(leaf->GetCaps() & kSpcCapWrite)) continue;
      std::string name;
      leaf->GetFormatName(name);
      const bool nmr = row.id == kSpcKindNmr || row.id == kSpcKindNmr2d;
      for (const std::int32_t domain : nmr ? std::vector<std::int32_t>{0, 1} : std::vector<std::int32_t>{1}) {
        SCOPED_TRACE(plat::toUtf8(row.name) + " " + name + " domain " + std::to_string(domain));
        Spectrum s(row.id);
        FillClaimingMore(s, domain);
        const std::string path = FreshPath("bounds_" + std::to_string(row.id) + "_" + std::to_string(format) + "_" +
                                           std::to_string(domain) + leaf->GetDefaultExt());
        if (SpcSaveSpectrum(path, &s.process, static_cast<std::int32_t>(format), 0, 0)) ++written;
        // Four points and the format's own header, trailer and parameter text.
        EXPECT_LT(OutputSize(path), 64u * 1024u);
      }
    }
  }
  EXPECT_GE(written, 20);  // the writers keep writing what there is
}
