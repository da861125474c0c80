// Memory bounded by what the files hold, with the real controls: an SD database whose record
// has a 100 MB field, large spectra within the bound (a spectrum folder, a JCAMP-DX file), and a
// spectrum file beyond the largest the converters read. The peak of
// the program's resident memory while each opens is measured (the kernel's high-water mark,
// reset before), and the user is told of each refusal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/shared_ids.h"
#include "platform/base/memory.h"
#include "platform/base/text.h"
#include "platform/ui/responder.h"
#include "rodizora/app/tests/app_fixture.h"
#include "rodizora/doc/sadoc.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KEDRUS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KEDRUS_SANITIZED 1
#endif
#endif

namespace apptest {
namespace {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"); -1 when it cannot be read.
std::int64_t StatusKb(const std::string& field) {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind(field + ":", 0) == 0) return std::strtoll(line.c_str() + field.size() + 1, nullptr, 10);
  return -1;
}

// Sets the high-water mark of the resident memory to what is resident now; answers that (kB).
std::int64_t ResetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
  return StatusKb("VmRSS");
}

class MemoryTest : public AppTest {
 protected:
  void SetUp() override {
#ifdef KEDRUS_SANITIZED
    GTEST_SKIP() << "the sanitizers' own memory would be measured";
#endif
    AppTest::SetUp();
    ASSERT_TRUE(RegisterNelvar()) << "libnelvar.so serves no spectrum control";
    RegisterKarvel();
    ASSERT_TRUE(Start());
    ASSERT_GE(ResetPeak(), 0) << "no resident memory figures here";
  }
  void TearDown() override {
    if (app) app->CloseAllDocuments(false);
    AppTest::TearDown();
  }
  // How much the resident memory grew at most while run ran (bytes).
  template <class Run>
  std::int64_t PeakGrowth(Run run) {
    const std::int64_t before = ResetPeak();
    run();
    return (StatusKb("VmHWM") - before) * 1024;
  }
  ui::ScriptedResponder script{true};
};

TEST_F(MemoryTest, AnSdRecordWithA100MbFieldIsRefusedWithinThreeTimesTheFilesSize) {
  const std::string folder = ScratchDir("memory_sd");
  const std::string spectrum = folder + "/ETHYL1.dx";
  std::filesystem::copy_file(SAMPLE_FID, spectrum);
  const std::string sdf = folder + "/big.sdf";
  {
    std::ofstream out(sdf, std::ios::binary);
    out << "ethyl acetate\n  KEDRUS\n\n  2  1  0  0  0  0  0  0  0  0999 V2000\n"
           "    0.0000    0.0000    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
           "    1.2990    0.7500    0.0000 O   0  0  0  0  0  0  0  0  0  0  0  0\n"
           "  1  2  1  0\nM  END\n> <IDNUMBER>\nETHYL1\n\n> <NOTES>\n";
    const std::string chunk(1 << 20, 'x');
    for (int i = 0; i < 100; ++i) out << chunk;
    out << "\n\n$$$$\n";
  }
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(sdf));
  script.ThenAnswer(ui::ModalKind::MessageBox, ui::IDOK);
  const std::int64_t growth = PeakGrowth([&] {
    ASSERT_TRUE(app->LoadDatabase(plat::toUtf16(sdf)));
    ASSERT_NE(app->OpenDocumentFile(spectrum), nullptr);
  });
  std::printf("SD file of %lld bytes: peak memory grew by %lld bytes (%.2f times the file)\n",
              static_cast<long long>(size), static_cast<long long>(growth), static_cast<double>(growth) / size);
  EXPECT_LT(growth, 3 * size);
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_NE(ui::ModalLog()[0].text.find(" is longer than 1 MB, the longest line a structure file may hold."),
            std::string::npos)
      << ui::ModalLog()[0].text;
}

TEST_F(MemoryTest, ALargeSpectrumWithinTheBoundOpensWithinThreeTimesItsSize) {
  // A spectrum folder of 8M complex points: a 64 MB fid.
  const std::string folder = ScratchDir("memory_large") + "/large";
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "/parameters", std::ios::binary)
      << "[CONTROL_NMR_0]\r\nSFO1=400.130000\r\nSW=4800.000000\r\nPH0=0.000000\r\nPH1=0.000000\r\n"
         "OFFSET=12.000000\r\nAQ_mod=1\r\nSI=0\r\nTD=16777216\r\nPP=0\r\nVERSION=2\r\n";
  {
    std::vector<float> points(2 * (std::size_t(1) << 23));
    for (std::size_t i = 0; i < points.size(); i += 2) points[i] = 1000.0f / (1.0f + static_cast<float>(i % 65536));
    std::ofstream(folder + "/fid.0", std::ios::binary)
        .write(reinterpret_cast<const char*>(points.data()), static_cast<std::streamsize>(points.size() * 4));
  }
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(folder + "/fid.0"));
  const std::int64_t growth = PeakGrowth([&] { ASSERT_NE(app->OpenDocumentFile(folder), nullptr); });
  std::printf("spectrum folder of %lld bytes: peak memory grew by %lld bytes (%.2f times the file)\n",
              static_cast<long long>(size), static_cast<long long>(growth), static_cast<double>(growth) / size);
  EXPECT_LT(growth, 3 * size);
  EXPECT_TRUE(ui::ModalLog().empty());
}

TEST_F(MemoryTest, ALargeJcampDxSpectrumOpensWithinThreeTimesItsPoints) {
  // The heap as the program sets it up: freed large blocks stay for the next ones.
  plat::reuseLargeBlocks();
  // An NMR spectrum of 4M complex points in squeezed form (a digit a point, 8 MB), its points
  // 32 MB as complex floats.
  constexpr std::int64_t kPoints = std::int64_t(1) << 22;
  const std::string path = ScratchDir("memory_jcamp") + "/large.dx";
  {
    std::ofstream out(path, std::ios::binary);
    out << "##TITLE= large\r\n##JCAMP-DX= 5.0\r\n##DATA TYPE= NMR SPECTRUM\r\n##DATA CLASS= NTUPLES\r\n"
           "##.OBSERVE FREQUENCY= 400.13\r\n##NTUPLES= NMR SPECTRUM\r\n"
           "##VAR_NAME= FREQUENCY, SPECTRUM/REAL, SPECTRUM/IMAG, PAGE NUMBER\r\n##SYMBOL= X, R, I, N\r\n"
           "##VAR_TYPE= INDEPENDENT, DEPENDENT, DEPENDENT, PAGE\r\n##VAR_FORM= AFFN, ASDF, ASDF, AFFN\r\n"
        << "##VAR_DIM= " << kPoints << ", " << kPoints << ", " << kPoints << ", 2\r\n"
        << "##UNITS= HZ, ARBITRARY UNITS, ARBITRARY UNITS,\r\n##FIRST= 4800, 0, 0, 1\r\n"
           "##LAST= 0, 0, 0, 2\r\n##FACTOR= 1, 1, 1, 1\r\n";
    constexpr char kSqz[] = "@ABCDEFGHI";
    for (const char* page : {"##PAGE= N=1\r\n##DATA TABLE= (X++(R..R)), XYDATA\r\n",
                             "##PAGE= N=2\r\n##DATA TABLE= (X++(I..I)), XYDATA\r\n"}) {
      out << page;
      std::string line;
      for (std::int64_t i = 0; i < kPoints; i += 64) {
        line = std::to_string(i) + ' ';
        for (std::int64_t k = i; k < std::min(i + 64, kPoints); ++k) line += kSqz[(k * 7) % 10];
        out << line << "\r\n";
      }
    }
    out << "##END NTUPLES= NMR SPECTRUM\r\n##END=\r\n";
  }
  const std::int64_t points = kPoints * 8;
  const std::int64_t growth = PeakGrowth([&] { ASSERT_NE(app->OpenDocumentFile(path), nullptr); });
  std::printf("JCAMP-DX spectrum of %lld points: peak memory grew by %lld bytes (%.2f times its points)\n",
              static_cast<long long>(kPoints),
              static_cast<long long>(growth), static_cast<double>(growth) / points);
  // The loader's points, the item's and an undo snapshot, with room for the rest: a page's
  // points zeroed in a helper thread's heap (which keeps them from the next blocks) or the
  // picture's walk holding every value went past this.
  EXPECT_LT(growth, 3 * points);
  EXPECT_TRUE(ui::ModalLog().empty());
}

TEST_F(MemoryTest, AFileBeyondTheLargestTheConvertersReadIsRefusedWithoutTakingItsSize) {
  const std::string path = ScratchDir("memory_huge") + "/huge.dx";
  std::ofstream(path) << "##TITLE= huge\r\n##JCAMP-DX= 4.24\r\n##DATA TYPE= INFRARED SPECTRUM\r\n"
                         "##XUNITS= 1/CM\r\n##YUNITS= TRANSMITTANCE\r\n##FIRSTX= 0\r\n##LASTX= 3\r\n"
                         "##NPOINTS= 4\r\n##XYDATA= (X++(Y..Y))\r\n0 1 2 3 4\r\n##END=\r\n";
  const auto size = static_cast<std::int64_t>(kMaxSpectrumFileBytes) * 2;  // 2 GB, sparse
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0);
  script.ThenAnswer(ui::ModalKind::MessageBox, ui::IDOK);
  const std::int64_t growth = PeakGrowth([&] { EXPECT_EQ(app->OpenDocumentFile(path), nullptr); });
  std::printf("file of %lld bytes: refused, peak memory grew by %lld bytes\n", static_cast<long long>(size),
              static_cast<long long>(growth));
  EXPECT_LT(growth, 32 << 20);  // what showing the message takes, nothing of the file
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].text,
            path + " is a JCAMP-DX file larger than 1 GB, the largest file the spectrum control reads.\nIt was not loaded.");
  ::unlink(path.c_str());
}

}  // namespace
}  // namespace apptest
