// The page printed to PDF and exported as Windows and enhanced metafiles, read by other
// programs: poppler (PDF), libwmf (WMF) and emf2svg with librsvg (EMF) render them, and the
// items must lie in their colours where the page has them: the MASS strip over the upper half
// of the printable area, the NMR strip over the lower, nothing on the paper's margins.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/base/file.h"
#include "platform/ui/responder.h"
#include "rodizora/doc/saprint.h"
#include "rodizora/res/saids.h"
#include "rodizora/view/tests/page_fixture.h"
#include "tools/interop/image_read.h"
#include "tools/interop/interop_reader.h"

namespace apptest {
namespace {

std::string ReadAll(const std::string& path) {
  std::string bytes;
  return plat::readFile(path, &bytes) == plat::FileStatus::Ok ? bytes : std::string();
}

// Skips the test unless every command is installed; names the package that brings them.
#define REQUIRE_READERS(package, ...)                                                    \
  for (const char* command : {__VA_ARGS__})                                              \
    if (!interop::HasCommand(command))                                                   \
      GTEST_SKIP() << command << " is not installed (Debian package " << package << ")";

class PrintInterop : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    saprint::AppPrinter() = saprint::PrinterChoice{saprint::kPdfPrinter};
  }
  // Exports the view's page as a metafile through the command, as the user does.
  static void Export(CSaView* view, const std::string& path, bool enhanced) {
    ui::ScriptedResponder script(true);
    script.Then(ui::ModalKind::FileDialog, [path](ui::ModalQuestion& q) {
      q.file->paths = {path};
      return ui::IDOK;
    });
    view->SendMessage(ui::WM_COMMAND, enhanced ? saids::ID_EXPORT_EMF : saids::ID_EXPORT_WMF);
    EXPECT_TRUE(script.Done());
  }
  // Prints the view's page to a PDF file through the print dialog.
  static void PrintPdf(CSaView* view, const std::string& path) {
    ui::ScriptedResponder script(true);
    script.Then(ui::ModalKind::PrintDialog, [&](ui::ModalQuestion& q) {
      q.print->outputFile = path;
      return ui::IDOK;
    });
    view->OnCmdMsg(ui::ID_FILE_PRINT, 0, nullptr, nullptr);
    EXPECT_TRUE(script.Done());
  }
  // Runs a reader; fails the test with its errors when it fails.
  static void RunReader(const std::string& command, const std::string& out) {
    ASSERT_EQ(interop::Run(command, out), 0) << command << ": " << ReadAll(out + ".err");
  }
};

// The page's picture rendered w x h pixels over the printable area (x0, y0 its top left corner
// in the image): MASS above, NMR below, each filling its half but for the edges' blending.
void ExpectStrips(const interop::Image& image, double x0, double y0, double w, double h) {
  ASSERT_FALSE(image.Empty());
  const int left = static_cast<int>(std::ceil(x0)) + 2, right = static_cast<int>(x0 + w) - 2;
  const int top = static_cast<int>(std::ceil(y0)) + 2, middle = static_cast<int>(y0 + h / 2), bottom = static_cast<int>(y0 + h) - 2;
  EXPECT_GT(image.Share(left, top, right, middle - 2, 200, 0, 0), 0.99) << "MASS strip";
  EXPECT_GT(image.Share(left, middle + 2, right, bottom, 0, 0, 200), 0.99) << "NMR strip";
  // No red below the middle, no blue above it.
  EXPECT_LT(image.Share(0, middle + 2, image.width, image.height, 200, 0, 0), 0.001);
  EXPECT_LT(image.Share(0, 0, image.width, middle - 2, 0, 0, 200), 0.001);
}

TEST_F(PrintInterop, ThePdfPrintoutIsOneLandscapeA4PageWithTheItemsInsideItsMargins) {
  REQUIRE_READERS("poppler-utils", "pdfinfo", "pdftoppm");
  CSaView* view = Open("pdf.dx", {"NMR", "MASS"});
  ASSERT_NE(view, nullptr);
  const std::string pdf = dir + "/page.pdf";
  PrintPdf(view, pdf);
  const std::string info = dir + "/page.info";
  RunReader("pdfinfo " + interop::Quote(pdf), info);
  const std::string text = ReadAll(info);
  EXPECT_NE(text.find("Pages:           1\n"), std::string::npos) << text;
  double w = 0, h = 0;
  const std::size_t size = text.find("Page size:");
  ASSERT_NE(size, std::string::npos) << text;
  ASSERT_EQ(std::sscanf(text.c_str() + size, "Page size: %lf x %lf pts", &w, &h), 2) << text;
  EXPECT_NEAR(w, 297 / 25.4 * 72, 0.5);
  EXPECT_NEAR(h, 210 / 25.4 * 72, 0.5);

  // Rendered at two pixels a millimetre: the printable area lies 5 mm in from every edge.
  const std::string stem = dir + "/page";
  RunReader("pdftoppm -scale-to-x 594 -scale-to-y 420 -singlefile " + interop::Quote(pdf) + " " + interop::Quote(stem),
            stem + ".log");
  const interop::Image image = interop::ReadPpm(ReadAll(stem + ".ppm"));
  ASSERT_EQ(image.width, 594);
  ASSERT_EQ(image.height, 420);
  ExpectStrips(image, 10, 10, 574, 400);
  for (const auto& [x0, y0, x1, y1] : {std::array{0, 0, 594, 8}, std::array{0, 412, 594, 420}, std::array{0, 0, 8, 420},
                                       std::array{586, 0, 594, 420}})
    EXPECT_GT(image.Share(x0, y0, x1, y1, 255, 255, 255, 8), 0.99) << "margin " << x0 << "," << y0;
}

TEST_F(PrintInterop, TheWindowsMetafileRendersInLibwmfWithThePagesProportionsAndItems) {
  REQUIRE_READERS("libwmf-bin", "wmf2gd");
  CSaView* view = Open("wmf.dx", {"NMR", "MASS"});
  ASSERT_NE(view, nullptr);
  const std::string wmf = dir + "/page.wmf", png = dir + "/wmf.png";
  Export(view, wmf, false);
  RunReader("wmf2gd -t png -o " + interop::Quote(png) + " " + interop::Quote(wmf), png + ".log");
  const interop::Image image = interop::ReadPng(ReadAll(png));
  ASSERT_FALSE(image.Empty());
  // The picture's frame is the printable area, 287 x 200 mm.
  EXPECT_NEAR(static_cast<double>(image.width) / image.height, 287.0 / 200.0, 0.01) << image.width << "x" << image.height;
  ExpectStrips(image, 0, 0, image.width, image.height);
}

TEST_F(PrintInterop, TheEnhancedMetafileRendersInEmf2svgWithThePagesProportionsAndItems) {
  REQUIRE_READERS("emf2svg and librsvg2-bin", "emf2svg-conv", "rsvg-convert");
  CSaView* view = Open("emf.dx", {"NMR", "MASS"});
  ASSERT_NE(view, nullptr);
  const std::string emf = dir + "/page.emf", svg = dir + "/page.svg", png = dir + "/emf.png";
  Export(view, emf, true);
  RunReader("emf2svg-conv -i " + interop::Quote(emf) + " -o " + interop::Quote(svg), svg + ".log");
  RunReader("rsvg-convert -f png -b white -o " + interop::Quote(png) + " " + interop::Quote(svg), png + ".log");
  const interop::Image image = interop::ReadPng(ReadAll(png));
  ASSERT_FALSE(image.Empty());
  EXPECT_NEAR(static_cast<double>(image.width) / image.height, 287.0 / 200.0, 0.01) << image.width << "x" << image.height;
  ExpectStrips(image, 0, 0, image.width, image.height);
}

}  // namespace
}  // namespace apptest
