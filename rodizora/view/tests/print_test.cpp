// Printing a page: to a PDF file through the print dialog, through the direct printers of
// "rodizora.ini", and exported as enhanced and Windows metafiles, whose bytes are checked here
// against the formats and played back to find the items where the page has them.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstdio>
#include <sstream>

#include "platform/base/file.h"
#include "platform/base/text.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/metafile.h"
#include "platform/ui/responder.h"
#include "rodizora/doc/saprint.h"
#include "rodizora/res/saids.h"
#include "rodizora/view/tests/page_fixture.h"

namespace apptest {
namespace {

using fakes::KindColor;
namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::string bytes;
  return plat::readFile(path, &bytes) == plat::FileStatus::Ok ? bytes : std::string();
}

std::uint32_t U32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  if (at + 4 <= b.size()) std::memcpy(&v, b.data() + at, 4);
  return v;
}
std::int32_t I32(const std::string& b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }
std::uint16_t U16(const std::string& b, std::size_t at) {
  std::uint16_t v = 0;
  if (at + 2 <= b.size()) std::memcpy(&v, b.data() + at, 2);
  return v;
}
bool HoldsColor(std::string_view bytes, gdi::COLORREF color) {
  const std::string needle(reinterpret_cast<const char*>(&color), 4);
  return bytes.find(needle) != std::string_view::npos;
}

// The PDF printer's printable area at 300 dpi: landscape A4 less 5 mm on each side.
constexpr int kPrintWidth = 3390, kPrintHeight = 2362;

class PrintTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    saprint::AppPrinter() = saprint::PrinterChoice{saprint::kPdfPrinter};
  }
  // Exports the view's page through the command; answers the file's bytes. The one question is
  // the save dialog's, which names path.
  static std::string Export(CSaView* view, const std::string& path, bool enhanced) {
    ui::ScriptedResponder script(true);
    script.Then(ui::ModalKind::FileDialog, [path](ui::ModalQuestion& q) {
      EXPECT_FALSE(q.file->open);
      q.file->paths = {path};
      return ui::IDOK;
    });
    ui::ClearModalLog();
    view->SendMessage(ui::WM_COMMAND, enhanced ? saids::ID_EXPORT_EMF : saids::ID_EXPORT_WMF);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(ui::ModalLog().size(), 1u);
    return ReadAll(path);
  }
  // A picture played onto a page-sized bitmap: one pixel per page unit.
  static gdi::COLORREF PlayedPixel(const gdi::EnhMetaFile& picture, int x, int y) {
    gdi::DC dc = gdi::DC::CreateCompatibleDC(nullptr);
    gdi::Bitmap bitmap;
    bitmap.CreateBitmap(kPageWidth, kPageHeight);
    dc.SelectObject(bitmap);
    dc.FillSolidRect(gdi::Rect(0, 0, kPageWidth, kPageHeight), 0xFFFFFF);
    dc.PlayMetaFile(picture, gdi::Rect(0, 0, kPageWidth, kPageHeight));
    return dc.GetPixel(x, y);
  }
};

TEST_F(PrintTest, TheEnhancedMetafileHasItsHeaderAndRecordsAndShowsTheItemsWhateverTheScrolling) {
  SaSettings().documentZoom = 200;  // the page is larger than the window: it scrolls
  CSaView* view = Open("emf.dx", {"NMR", "MASS"});
  ASSERT_NE(view, nullptr);
  const std::string path = dir + "/page.emf";
  const std::string bytes = Export(view, path, true);
  ASSERT_GT(bytes.size(), 108u);
  EXPECT_EQ(U32(bytes, 0), 1u);                      // EMR_HEADER
  EXPECT_EQ(bytes.substr(40, 4), " EMF");
  EXPECT_EQ(U32(bytes, 44), 0x00010000u);            // version
  EXPECT_EQ(U32(bytes, 48), bytes.size());           // bytes
  // The frame: the reference's printable area in 0.01 mm (287 x 200 mm, inclusive).
  EXPECT_EQ(I32(bytes, 24), 0);
  EXPECT_EQ(I32(bytes, 28), 0);
  EXPECT_EQ(I32(bytes, 32), 28700);
  EXPECT_EQ(I32(bytes, 36), 20000);
  // The bounds: what was drawn, inside the reference's pixels (the page stretched over them).
  const gdi::Rect bounds(I32(bytes, 8), I32(bytes, 12), I32(bytes, 16), I32(bytes, 20));
  EXPECT_EQ(bounds, gdi::Rect(0, 0, kPrintWidth - 1, kPrintHeight - 1));
  // The records: sizes in steps of 4 that add up to the file, counted in the header, EOF last.
  std::size_t at = 0;
  std::uint32_t records = 0, last = 0;
  while (at + 8 <= bytes.size()) {
    const std::uint32_t size = U32(bytes, at + 4);
    ASSERT_TRUE(size >= 8 && size % 4 == 0 && at + size <= bytes.size()) << at;
    last = U32(bytes, at);
    at += size;
    ++records;
  }
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(U32(bytes, 52), records);
  EXPECT_EQ(last, gdi::EMR_EOF);

  // The recording reads it back; the items lie where the page has them.
  std::string error;
  const gdi::EnhMetaFile picture = gdi::EnhMetaFile::ReadFile(path, &error);
  ASSERT_FALSE(picture.IsNull()) << error;
  EXPECT_EQ(picture.Records().size(), records);
  EXPECT_EQ(picture.Description(), u"KEDRUS");
  EXPECT_EQ(picture.ReferencePixels(), gdi::Size(kPrintWidth, kPrintHeight));
  EXPECT_EQ(PlayedPixel(picture, 600, 200), KindColor("MASS"));  // upper strip
  EXPECT_EQ(PlayedPixel(picture, 600, 630), KindColor("NMR"));
  EXPECT_EQ(PlayedPixel(picture, 5, kPageHeight / 2 - 5), KindColor("MASS"));
  EXPECT_EQ(PlayedPixel(picture, 5, kPageHeight / 2 + 5), KindColor("NMR"));

  // Scrolled, the printout is the same.
  view->ScrollToPosition({700, 500});
  ASSERT_NE(view->GetScrollPosition(), ui::Point());
  EXPECT_EQ(Export(view, dir + "/scrolled.emf", true), bytes);
  EXPECT_FALSE(view->IsPrinting());
}

TEST_F(PrintTest, TheFullViewPrintsWithThePageLayoutsPropertySetAndGetsItsOwnBack) {
  CSaView* view = Open("full.dx", {"NMR"});
  ASSERT_NE(view, nullptr);
  view->OnViewFull();
  ASSERT_FALSE(view->IsPageLayout());
  SaSettings().app.viewProperties = 1;
  fakes::FakeSpectrum* control = fakes::FakeSpectrum::Live().back();
  control->propertySets.clear();
  const std::string bytes = Export(view, dir + "/full.emf", true);
  EXPECT_EQ(control->propertySets, (std::vector<std::int32_t>{1, 0}));
  // The page stretched over the printer's page, whatever the full view's rectangle.
  const gdi::EnhMetaFile picture = gdi::EnhMetaFile::FromBytes(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  ASSERT_FALSE(picture.IsNull());
  EXPECT_EQ(PlayedPixel(picture, 600, 400), KindColor("NMR"));
  SaSettings().app.viewProperties = 0;
}

TEST_F(PrintTest, TheWindowsMetafileHasAValidPlaceableHeaderAndTheDrawing) {
  CSaView* view = Open("wmf.dx", {"NMR", "MASS"});
  ASSERT_NE(view, nullptr);
  const std::string path = dir + "/page.wmf";
  const std::string bytes = Export(view, path, false);
  ASSERT_GT(bytes.size(), 40u);
  EXPECT_EQ(U32(bytes, 0), 0x9AC6CDD7u);
  EXPECT_EQ(U16(bytes, 4), 0);
  std::uint16_t checksum = 0;
  for (int w = 0; w < 10; ++w) checksum ^= U16(bytes, 2 * w);
  EXPECT_EQ(U16(bytes, 20), checksum);
  const std::int16_t right = static_cast<std::int16_t>(U16(bytes, 10)), bottom = static_cast<std::int16_t>(U16(bytes, 12));
  EXPECT_GT(right, 0);
  EXPECT_GT(bottom, 0);
  EXPECT_NE(U16(bytes, 14), 0);  // units per inch
  // The metafile header: its size in words covers the rest of the file, EOF last.
  EXPECT_EQ(U16(bytes, 22 + 2), 9);
  EXPECT_EQ(U16(bytes, 22 + 4), 0x0300);
  EXPECT_EQ(22 + 2 * static_cast<std::size_t>(U32(bytes, 22 + 6)), bytes.size());
  std::size_t at = 22 + 18;
  std::uint16_t function = 0xFFFF;
  while (at + 6 <= bytes.size()) {
    const std::size_t size = 2 * static_cast<std::size_t>(U32(bytes, at));
    ASSERT_GE(size, 6u);
    function = U16(bytes, at + 4);
    at += size;
  }
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(function, gdi::META_EOF);
  // Both items' colours are drawn.
  EXPECT_TRUE(HoldsColor(std::string_view(bytes).substr(40), KindColor("NMR")));
  EXPECT_TRUE(HoldsColor(std::string_view(bytes).substr(40), KindColor("MASS")));
  if (std::system("command -v wmf2svg >/dev/null 2>&1") == 0) {
    const std::string svg = dir + "/page.svg";
    ASSERT_EQ(std::system(("wmf2svg -o '" + svg + "' '" + path + "' >/dev/null 2>&1").c_str()), 0);
    EXPECT_NE(ReadAll(svg).find("<svg"), std::string::npos);
  }
}

// The page objects of a PDF and the decompressed text of its content streams.
struct Fill {
  gdi::COLORREF color;
  gdi::Rect rect;
  bool operator==(const Fill&) const = default;
};

struct PdfSummary {
  int pages = 0;
  std::vector<double> mediaBox;
  std::string content;
  // The rectangles filled in a colour: "r g b scn", "/GSa gs", then a path from its top-left
  // corner clockwise (page pixels, as our devices write rectangles).
  std::vector<Fill> Fills() const {
    std::vector<std::string> t;
    std::istringstream words(content);
    for (std::string word; words >> word;) t.push_back(word);
    const auto number = [&](std::size_t i, double* v) {
      char* end = nullptr;
      *v = std::strtod(t[i].c_str(), &end);
      return end && *end == 0;
    };
    std::vector<Fill> fills;
    for (std::size_t i = 3; i + 11 < t.size(); ++i) {
      double r, g, b, x0, y0, x1, y1, x2, y2;
      if (t[i] != "scn" || !number(i - 3, &r) || !number(i - 2, &g) || !number(i - 1, &b)) continue;
      if (t[i + 1] != "/GSa" || t[i + 2] != "gs" || t[i + 5] != "m" || t[i + 8] != "l" || t[i + 11] != "l")
        continue;
      if (!number(i + 3, &x0) || !number(i + 4, &y0) || !number(i + 6, &x1) || !number(i + 7, &y1) ||
          !number(i + 9, &x2) || !number(i + 10, &y2))
        continue;
      const auto channel = [](double v) { return static_cast<int>(std::lround(v * 255)); };
      fills.push_back({gdi::RGB(channel(r), channel(g), channel(b)),
                       gdi::Rect(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1), static_cast<int>(y2))});
    }
    return fills;
  }
};

// How often a PDF names an object "/Type /Page" (not "/Pages").
int CountPages(const std::string& bytes) {
  int pages = 0;
  for (std::size_t at = bytes.find("/Type"); at != std::string::npos; at = bytes.find("/Type", at + 5)) {
    std::size_t name = bytes.find_first_not_of(" \r\n", at + 5);
    if (name != std::string::npos && bytes.compare(name, 5, "/Page") == 0 &&
        (name + 5 >= bytes.size() || !std::isalpha(static_cast<unsigned char>(bytes[name + 5]))))
      ++pages;
  }
  return pages;
}

PdfSummary ReadPdf(const std::string& bytes) {
  PdfSummary pdf;
  pdf.pages = CountPages(bytes);
  if (const std::size_t box = bytes.find("/MediaBox"); box != std::string::npos) {
    double v[4];
    if (std::sscanf(bytes.c_str() + box, "/MediaBox [%lf %lf %lf %lf", &v[0], &v[1], &v[2], &v[3]) == 4)
      pdf.mediaBox.assign(v, v + 4);
  }
  for (std::size_t at = bytes.find("stream"); at != std::string::npos; at = bytes.find("stream", at + 6)) {
    std::size_t start = at + 6;
    if (bytes.compare(start, 2, "\r\n") == 0) start += 2;
    else if (bytes[start] == '\n') start += 1;
    else continue;
    const std::size_t end = bytes.find("endstream", start);
    if (end == std::string::npos) break;
    std::vector<unsigned char> out(1 << 22);
    uLongf length = out.size();
    if (uncompress(out.data(), &length, reinterpret_cast<const Bytef*>(bytes.data() + start), end - start) == Z_OK)
      pdf.content.append(reinterpret_cast<const char*>(out.data()), length);
    at = end;
  }
  return pdf;
}

TEST_F(PrintTest, PrintingToAPdfFileGivesOneLandscapePageWithTheItemsDrawn) {
  CSaView* view = Open("pdf.dx", {"NMR", "MASS"});
  ASSERT_NE(view, nullptr);
  const std::string path = dir + "/page.pdf";
  {
    ui::ScriptedResponder script(true);
    script.Then(ui::ModalKind::PrintDialog, [&](ui::ModalQuestion& q) {
      EXPECT_EQ(q.print->printerName, saprint::kPdfPrinter);
      EXPECT_TRUE(q.print->landscape);
      q.print->outputFile = path;
      return ui::IDOK;
    });
    ui::ClearModalLog();
    EXPECT_TRUE(ui::QueryCommandState(view, ui::ID_FILE_PRINT).enabled);
    view->OnCmdMsg(ui::ID_FILE_PRINT, 0, nullptr, nullptr);
    EXPECT_TRUE(script.Done());
  }
  EXPECT_EQ(ui::ModalLog().size(), 1u);  // the print dialog alone: no failure
  const std::string bytes = ReadAll(path);
  ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
  const PdfSummary pdf = ReadPdf(bytes);
  EXPECT_EQ(pdf.pages, 1);
  ASSERT_EQ(pdf.mediaBox.size(), 4u);
  EXPECT_NEAR(pdf.mediaBox[2] - pdf.mediaBox[0], 297 / 25.4 * 72, 1.0);
  EXPECT_NEAR(pdf.mediaBox[3] - pdf.mediaBox[1], 210 / 25.4 * 72, 1.0);
  // The printable area starts 5 mm in from the paper's edges, as on a printer: the page's
  // transform moves the device pixels there.
  const std::size_t cm = pdf.content.find(" cm");
  ASSERT_NE(cm, std::string::npos);
  const std::size_t line = pdf.content.rfind('\n', cm);
  double a, b, c, d, e, f;
  ASSERT_EQ(std::sscanf(pdf.content.c_str() + (line == std::string::npos ? 0 : line + 1), "%lf %lf %lf %lf %lf %lf cm", &a,
                        &b, &c, &d, &e, &f),
            6);
  EXPECT_NEAR(e, 5 / 25.4 * 72, 0.5);
  EXPECT_NEAR(f, (210 - 5) / 25.4 * 72, 0.5);
  EXPECT_NEAR(a * kPrintWidth, (297 - 10) / 25.4 * 72, 0.5);
  // The items' fills, in their colours.
  // The strips in the page's device pixels: the upper half red (MASS), the lower blue (NMR).
  const std::vector<Fill> fills = pdf.Fills();
  const auto filled = [&](gdi::COLORREF color, const gdi::Rect& rect) {
    return std::find(fills.begin(), fills.end(), Fill{color, rect}) != fills.end();
  };
  EXPECT_TRUE(filled(KindColor("MASS"), {0, 0, kPrintWidth, kPrintHeight / 2}));
  EXPECT_TRUE(filled(KindColor("NMR"), {0, kPrintHeight / 2, kPrintWidth, kPrintHeight}));
  // Cancelled, nothing is printed.
  fs::remove(path);
  view->OnFilePrint();
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(PrintTest, DirectPrintersComeFromTheirSectionsOfTheIniFile) {
  CSaView* view = Open("direct.dx", {"NMR"});
  ASSERT_NE(view, nullptr);
  const std::string out = dir + "/out";
  fs::create_directories(out);
  const std::string title = view->GetDocument()->GetTitle();
  const std::string stem = out + "/" + title;
  WriteFile(plat::toUtf8(SaSettings().installPath), "rodizora.ini",
            "[DirectPrinter3]\r\nDriver=enhmetafile\r\nPrinter=PDF\r\nPrintPath=" + out + "\r\nExtention=emf\r\n"
            "[DirectPrinter4]\r\nDriver=WINSPOOL\r\nPrinter=PDF\r\nPort=file\r\nPrintPath=" + out + "\r\nExtention=pdf\r\n"
            "[DirectPrinter5]\r\nPrinter=PDF\r\nPort=FILE\r\nPrintPath=" + out + "\r\nExtention=pdf\r\n"
            "PaperSize=letter\r\nOrientation=PORTRAIT\r\n"
            "[DirectPrinter6]\r\nDriver=METAFILE\r\nPrinter=PDF\r\nPrintPath=" + out + "\r\nExtention=wmf\r\n"
            "[DirectPrinter7]\r\nDriver=WINSPOOL\r\nPrinter=nowhere\r\nPort=FILE\r\n"
            "[DirectPrinter8]\r\nDriver=PLOTTER\r\nPrinter=PDF\r\n");
  ui::ClearModalLog();
  // "Printer &3": an enhanced metafile, whatever the driver name's case.
  view->OnCmdMsg(saids::ID_DIRECT_PRINT_1 + 2, 0, nullptr, nullptr);
  EXPECT_FALSE(gdi::EnhMetaFile::ReadFile(stem + ".emf").IsNull());
  // "file" in lower case is a port, not the file: the PDF printer has nowhere to write.
  view->OnDirectPrint(saids::ID_DIRECT_PRINT_1 + 3);
  EXPECT_FALSE(fs::exists(stem + ".pdf"));
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].text, "Failed to start print job.");
  // "FILE": the job goes to the file, on portrait letter paper ("letter" in any case).
  view->OnDirectPrint(saids::ID_DIRECT_PRINT_1 + 4);
  const PdfSummary letter = ReadPdf(ReadAll(stem + ".pdf"));
  EXPECT_EQ(letter.pages, 1);
  ASSERT_EQ(letter.mediaBox.size(), 4u);
  EXPECT_NEAR(letter.mediaBox[2], 612, 1.0);
  EXPECT_NEAR(letter.mediaBox[3], 792, 1.0);
  // A Windows metafile.
  view->OnDirectPrint(saids::ID_DIRECT_PRINT_1 + 5);
  EXPECT_EQ(U32(ReadAll(stem + ".wmf"), 0), 0x9AC6CDD7u);
  // No such printer: the message, nothing printed; another driver: nothing at all; no section:
  // no printer named, so the message again.
  view->OnDirectPrint(saids::ID_DIRECT_PRINT_1 + 6);
  EXPECT_EQ(ui::ModalLog().size(), 2u);
  const auto files = [&] { return std::distance(fs::directory_iterator(out), fs::directory_iterator()); };
  const auto before = files();
  view->OnDirectPrint(saids::ID_DIRECT_PRINT_1 + 7);
  EXPECT_EQ(ui::ModalLog().size(), 2u);
  view->OnDirectPrint(saids::ID_DIRECT_PRINT_9);
  EXPECT_EQ(ui::ModalLog().size(), 3u);
  EXPECT_EQ(files(), before);
}

TEST_F(PrintTest, PageSetUpChoosesTheOrientationAndThePageFollows) {
  CSaView* view = Open("setup.dx", {"NMR"});
  ASSERT_NE(view, nullptr);
  CSaDoc* doc = view->GetDocument();
  EXPECT_EQ(doc->PageWidth(), kPageWidth);  // landscape A4 from the start
  EXPECT_EQ(doc->PageHeight(), kPageHeight);
  {
    ui::ScriptedResponder script(true);
    script.Then(ui::ModalKind::PrintDialog, [](ui::ModalQuestion& q) {
      EXPECT_TRUE(q.print->setupOnly);
      EXPECT_TRUE(q.print->landscape);
      q.print->landscape = false;
      return ui::IDOK;
    });
    view->OnCmdMsg(ui::ID_FILE_PAGE_SETUP, 0, nullptr, nullptr);
    EXPECT_TRUE(script.Done());
  }
  EXPECT_EQ(saprint::AppPrinter().orientation, ui::DMORIENT_PORTRAIT);
  EXPECT_EQ(doc->PageWidth(), kPageHeight);
  EXPECT_EQ(doc->PageHeight(), kPageWidth);
  // Cancelled, nothing changes.
  view->OnFilePageSetup();
  EXPECT_EQ(saprint::AppPrinter().orientation, ui::DMORIENT_PORTRAIT);
  saprint::AppPrinter() = saprint::PrinterChoice{saprint::kPdfPrinter};
}

TEST_F(PrintTest, PrintSetUpIsOfferedAndChoosesTheApplicationsPrinterForTheOpenPages) {
  CSaView* view = Open("printsetup.dx", {"NMR"});
  ASSERT_NE(view, nullptr);
  CSaDoc* doc = view->GetDocument();
  // The menu item's update comes through the main frame's route, as the menu asks it.
  EXPECT_TRUE(ui::QueryCommandState(MainFrame(), ui::ID_FILE_PRINT_SETUP).enabled);
  {
    ui::ScriptedResponder script(true);
    script.Then(ui::ModalKind::PrintDialog, [](ui::ModalQuestion& q) {
      EXPECT_TRUE(q.print->setupOnly);
      EXPECT_EQ(q.print->printerName, saprint::kPdfPrinter);
      q.print->landscape = false;
      return ui::IDOK;
    });
    MainFrame()->SendMessage(ui::WM_COMMAND, ui::ID_FILE_PRINT_SETUP);
    EXPECT_TRUE(script.Done());
  }
  EXPECT_EQ(saprint::AppPrinter().orientation, ui::DMORIENT_PORTRAIT);
  EXPECT_EQ(doc->PageWidth(), kPageHeight);
  EXPECT_EQ(doc->PageHeight(), kPageWidth);
  saprint::AppPrinter() = saprint::PrinterChoice{saprint::kPdfPrinter};
}

TEST_F(PrintTest, OutputAndExportNamesAndPaperNames) {
  EXPECT_EQ(saprint::OutputFileName("", "/docs", "a", "emf"), "/docs/a.emf");
  EXPECT_EQ(saprint::OutputFileName("/f", "/docs", "a", "emf"), "/f/a.emf");
  EXPECT_EQ(saprint::ExportFileName("/d/x.y/page.dx", "page.dx", "/s", ".wmf"), "/d/x.y/page.wmf");
  EXPECT_EQ(saprint::ExportFileName("/d/x.y/.hidden", ".hidden", "/s", ".wmf"), "/d/x.y/.hidden.wmf");
  EXPECT_EQ(saprint::ExportFileName("", "Rodizora1", "/s", ".emf"), "/s/Rodizora1.emf");
  EXPECT_EQ(saprint::PaperSizeCode(u"letter"), 1);
  EXPECT_EQ(saprint::PaperSizeCode(u"A4small"), 10);
  EXPECT_EQ(saprint::PaperSizeCode(u"A6"), 0);
}

}  // namespace
}  // namespace apptest
