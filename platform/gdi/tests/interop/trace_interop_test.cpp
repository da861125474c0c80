// A spectrum-like trace (a polyline in a wide black pen) drawn into a PDF page, an enhanced and
// a Windows metafile, rendered by other programs (poppler; emf2svg with librsvg, and
// LibreOffice; libwmf): its dark pixels lie along the curve, in every column of it, and nowhere
// else.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/metafile.h"
#include "platform/gdi/tests/gdi_testing.h"
#include "tools/interop/image_read.h"
#include "tools/interop/interop_reader.h"

namespace {

using namespace gdi;

// The trace over a 1000 x 500 area (device pixels of a 100 x 50 mm page at 254 dpi).
constexpr int kWidth = 1000, kHeight = 500, kPen = 6;
double TraceY(double x) { return 250 + 180 * std::sin(x / 90.0) * std::exp(-x / 1500.0); }

// On a white page, as the program's pages are: the pictures' bounds are the whole area.
void DrawTrace(DC& dc) {
  dc.FillSolidRect(Rect(0, 0, kWidth, kHeight), RGB(255, 255, 255));
  std::vector<Point> points;
  for (int x = 50; x <= kWidth - 50; x += 5) points.push_back({x, static_cast<int>(std::lround(TraceY(x)))});
  Pen pen;
  pen.CreatePen(PS_SOLID, kPen, RGB(0, 0, 0));
  const Pen old = dc.SelectObject(pen);
  dc.Polyline(points.data(), static_cast<int>(points.size()));
  dc.SelectObject(old);
}

// The reference of the recordings: a 100 x 50 mm page of 254 dpi pixels.
DC PageReference(const std::string& path = {}) {
  PdfPageSetup page;
  page.widthMm = 100;
  page.heightMm = 50;
  page.dpi = 254;
  return DC::CreatePdfDC(path, page);
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  return plat::readFile(path, &bytes) == plat::FileStatus::Ok ? bytes : std::string();
}

void RunReader(const std::string& command, const std::string& out) {
  ASSERT_EQ(interop::Run(command, out), 0) << command << ": " << ReadAll(out + ".err");
}

// The polyline's length in drawing units.
double TraceLength() {
  double length = 0;
  for (int x = 55; x <= kWidth - 50; x += 5)
    length += std::hypot(5.0, std::lround(TraceY(x)) - std::lround(TraceY(x - 5)));
  return length;
}

// The image shows the trace at scale (image pixels a drawing unit): every column the curve
// crosses holds dark pixels, all of them within the pen's reach of the curve, and (penWidth)
// as many of them as the pen's width over the curve's length covers.
void ExpectTrace(const interop::Image& image, double scale, bool penWidth = true) {
  ASSERT_FALSE(image.Empty());
  const double reach = (kPen / 2.0 + 6) * scale + 2;  // the pen, a segment's chord, blending
  long dark = 0, stray = 0;
  int columns = 0, hit = 0;
  for (int x = 0; x < image.width; ++x) {
    const double u = x / scale;
    const bool onCurve = u >= 50 + kPen && u <= kWidth - 50 - kPen;
    columns += onCurve;
    bool found = false;
    for (int y = 0; y < image.height; ++y) {
      const std::uint8_t* p = image.At(x, y);
      if (p[0] > 128 || p[1] > 128 || p[2] > 128) continue;
      ++dark;
      const double curve = TraceY(std::clamp(u, 50.0, kWidth - 50.0)) * scale;
      // Near a steep stretch the curve spans more rows in one column: the reach grows with it.
      const double slope = std::fabs(TraceY(u + 1) - TraceY(u - 1)) / 2;
      if (std::fabs(y - curve) > reach * (1 + slope)) ++stray;
      else found = true;
    }
    hit += onCurve && found;
  }
  EXPECT_EQ(hit, columns) << "columns of the curve without its ink";
  EXPECT_EQ(stray, 0) << "dark pixels off the curve, of " << dark;
  if (penWidth) {
    const double inked = kPen * scale * TraceLength() * scale;
    EXPECT_NEAR(static_cast<double>(dark), inked, 0.35 * inked) << "the pen's width";
  }
}

TEST(TraceInterop, APdfPageShowsTheTraceInPoppler) {
  if (!interop::HasCommand("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed (Debian package poppler-utils)";
  const std::string pdf = gdi_test::ScratchPath("trace.pdf"), stem = gdi_test::ScratchPath("trace");
  DC dc = PageReference(pdf);
  ASSERT_EQ(dc.StartDoc(u"trace"), 1);
  dc.StartPage();
  DrawTrace(dc);
  dc.EndPage();
  ASSERT_EQ(dc.EndDoc(), 1);
  RunReader("pdftoppm -scale-to-x 500 -scale-to-y 250 -singlefile " + interop::Quote(pdf) + " " + interop::Quote(stem),
            stem + ".log");
  const interop::Image image = interop::ReadPpm(ReadAll(stem + ".ppm"));
  ASSERT_EQ(image.width, 500);
  ASSERT_EQ(image.height, 250);
  ExpectTrace(image, 0.5);
}

// The enhanced metafile of the trace, written to path.
void WriteTraceEmf(const std::string& path) {
  const DC reference = PageReference();
  const Rect frame(0, 0, 10000, 5000);  // 100 x 50 mm
  DC dc = DC::CreateEnhMetaFile(&reference, &frame, u"KEDRUS");
  DrawTrace(dc);
  ASSERT_TRUE(dc.CloseEnhMetaFile().WriteFile(path));
}

TEST(TraceInterop, AnEnhancedMetafileShowsTheTraceInEmf2svg) {
  if (!interop::HasCommand("emf2svg-conv") || !interop::HasCommand("rsvg-convert"))
    GTEST_SKIP() << "emf2svg-conv or rsvg-convert is not installed (Debian packages emf2svg, librsvg2-bin)";
  const std::string emf = gdi_test::ScratchPath("trace.emf"), svg = gdi_test::ScratchPath("trace.svg"),
                    png = gdi_test::ScratchPath("trace-emf.png");
  WriteTraceEmf(emf);
  RunReader("emf2svg-conv -i " + interop::Quote(emf) + " -o " + interop::Quote(svg), svg + ".log");
  RunReader("rsvg-convert -f png -b white -o " + interop::Quote(png) + " " + interop::Quote(svg), png + ".log");
  const interop::Image image = interop::ReadPng(ReadAll(png));
  ASSERT_FALSE(image.Empty());
  EXPECT_NEAR(image.width, kWidth, 2);
  // emf2svg draws every pen of an EMR_CREATEPEN record a pixel wide, whatever its width: the
  // width is not its to judge.
  ExpectTrace(image, image.width / static_cast<double>(kWidth), false);
}

TEST(TraceInterop, AnEnhancedMetafileShowsTheTraceInLibreOfficeAtItsSizeAndPenWidth) {
  if (!interop::HasCommand("soffice")) GTEST_SKIP() << "soffice is not installed (Debian package libreoffice-draw-nogui)";
  const std::string emf = gdi_test::ScratchPath("office.emf"), folder = gdi_test::ScratchPath("office");
  WriteTraceEmf(emf);
  // Draw places the picture on a page of its own at the picture's size, 96 pixels an inch.
  RunReader("soffice --headless --convert-to png --outdir " + interop::Quote(folder) + " " + interop::Quote(emf), folder + ".log");
  const interop::Image page = interop::ReadPng(ReadAll(folder + "/office.png"));
  ASSERT_FALSE(page.Empty()) << ReadAll(folder + ".log");
  // The picture's 100 x 50 mm found by its ink: the curve's leftmost point (x 50) and top.
  int left = page.width, top = page.height, right = -1;
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (const std::uint8_t* p = page.At(x, y); p[0] <= 128 && p[1] <= 128 && p[2] <= 128)
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y);
  ASSERT_GE(right, left) << "no ink";
  const double scale = 96.0 / 254.0;
  double highest = kHeight;
  for (int x = 50; x <= kWidth - 50; x += 5) highest = std::min(highest, static_cast<double>(std::lround(TraceY(x))));
  EXPECT_NEAR(right - left, (kWidth - 100) * scale, kPen * scale + 2) << "the picture's size";
  const int x0 = static_cast<int>(std::lround(left - (50 - kPen / 2.0) * scale));
  const int y0 = static_cast<int>(std::lround(top - (highest - kPen / 2.0) * scale));
  interop::Image picture;
  picture.width = static_cast<int>(kWidth * scale);
  picture.height = static_cast<int>(kHeight * scale);
  ASSERT_TRUE(x0 >= 0 && y0 >= 0 && x0 + picture.width <= page.width && y0 + picture.height <= page.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      picture.rgb.insert(picture.rgb.end(), page.At(x0 + x, y0 + y), page.At(x0 + x, y0 + y) + 3);
  ExpectTrace(picture, scale);
}

TEST(TraceInterop, AWindowsMetafileShowsTheTraceInLibwmf) {
  if (!interop::HasCommand("wmf2gd")) GTEST_SKIP() << "wmf2gd is not installed (Debian package libwmf-bin)";
  const DC reference = PageReference();
  DC dc = DC::CreateMetaFile(&reference);
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowOrg(0, 0);
  dc.SetWindowExt(kWidth, kHeight);
  dc.SetViewportExt(kWidth, kHeight);
  DrawTrace(dc);
  const std::string wmf = gdi_test::ScratchPath("trace.wmf"), png = gdi_test::ScratchPath("trace-wmf.png");
  ASSERT_TRUE(dc.CloseMetaFile().WriteFile(wmf));
  RunReader("wmf2gd -t png -o " + interop::Quote(png) + " " + interop::Quote(wmf), png + ".log");
  const interop::Image image = interop::ReadPng(ReadAll(png));
  ASSERT_FALSE(image.Empty());
  EXPECT_NEAR(static_cast<double>(image.width) / image.height, 2.0, 0.02);
  ExpectTrace(image, image.width / static_cast<double>(kWidth));
}

}  // namespace
