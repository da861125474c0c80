#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/base/bytes.h"
#include "platform/base/file.h"
#include "platform/gdi/qt_bridge.h"
#include "gdi_testing.h"

using namespace gdi;
using namespace gdi_test;

namespace {

// The drawing every picture test records: fills, an outline, an ellipse, a line and text.
void drawScene(DC& dc) {
  dc.FillRect(Rect(0, 0, 100, 50), Brush(kBlue));
  dc.FillRect(Rect(10, 10, 30, 20), Brush(kRed));
  dc.SelectObject(Pen(PS_SOLID, 1, kBlack));
  dc.SelectObject(Brush(RGB(0, 128, 0)));
  dc.Ellipse(40, 5, 70, 30);
  dc.SelectObject(Pen(PS_SOLID, 3, RGB(255, 255, 0)));
  dc.MoveTo(5, 45);
  dc.LineTo(95, 35);
  Font f;
  f.CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  dc.SelectObject(f);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(kWhite);
  dc.TextOut(72, 8, "Hz");
}

EnhMetaFile recordScene(const Rect* frame = nullptr) {
  DC rec = DC::CreateEnhMetaFile(nullptr, frame, u"KEDRUS");
  EXPECT_EQ(rec.GetDeviceCaps(TECHNOLOGY), DT_METAFILE);
  drawScene(rec);
  return rec.CloseEnhMetaFile();
}

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) { return plat::loadLe32(b.data() + at); }
std::int32_t i32(const std::vector<std::uint8_t>& b, std::size_t at) { return static_cast<std::int32_t>(u32(b, at)); }
std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) { return plat::loadLe16(b.data() + at); }

}  // namespace

TEST(Pictures, PlayedBackOneToOneTheyGiveTheSamePixelsAsDrawingDirectly) {
  RasterSurface direct(100, 50);
  DC dc(direct);
  drawScene(dc);
  const EnhMetaFile emf = recordScene();
  ASSERT_FALSE(emf.IsNull());
  RasterSurface played(100, 50);
  DC target(played);
  ASSERT_TRUE(target.PlayMetaFile(emf, Rect(0, 0, 100, 50)));
  EXPECT_EQ(Pixels(played), Pixels(direct));
  direct.SavePng(ScratchPath("scene_direct.png"));
  played.SavePng(ScratchPath("scene_played.png"));
}

TEST(Pictures, PlaybackScalesTheFrameOntoTheRectangle) {
  const EnhMetaFile emf = recordScene();
  // The frame is the bounds of what was drawn.
  EXPECT_EQ(emf.Bounds(), Rect(0, 0, 99, 49));
  RasterSurface s(300, 200);
  DC dc(s);
  dc.SetTextColor(kRed);  // the picture starts from a state of its own ...
  ASSERT_TRUE(dc.PlayMetaFile(emf, Rect(50, 20, 250, 120)));
  EXPECT_EQ(dc.GetTextColor(), kRed);  // ... and leaves the DC's as it was
  EXPECT_EQ(InkBox(s, kWhite), Rect(50, 20, 250, 120));
  const Rect redArea(50, 20, 120, 70);
  EXPECT_EQ(s.CountPixels(kRed, &redArea), 40 * 20);
  EXPECT_EQ(s.GetPixel(70, 40), kRed);
  EXPECT_EQ(s.GetPixel(109, 59), kRed);
  EXPECT_EQ(s.GetPixel(110, 60), kBlue);
  EXPECT_EQ(s.GetPixel(50 + 2 * 55, 20 + 2 * 17), RGB(0, 128, 0));  // inside the ellipse
  s.SavePng(ScratchPath("scene_scaled.png"));

  // Played into a recording, and that recording played back: the same scaled picture.
  DC outer = DC::CreateEnhMetaFile(nullptr, nullptr, u"");
  outer.PlayMetaFile(emf, Rect(50, 20, 250, 120));
  const EnhMetaFile nested = outer.CloseEnhMetaFile();
  EXPECT_EQ(nested.Bounds(), Rect(50, 20, 249, 119));
  RasterSurface again(300, 200);
  DC d2(again);
  d2.PlayMetaFile(nested, Rect(50, 20, 250, 120));
  EXPECT_EQ(again.CountPixels(kRed), s.CountPixels(kRed));
  EXPECT_EQ(InkBox(again, kWhite), Rect(50, 20, 250, 120));
}

TEST(Pictures, TextsOfAPicturePlayedBackScaledShrinkAndGrowWithItsPositions) {
  // A text in a font of its own size and one in the default size (height 0), as a control draws
  // them into its picture; played back at a quarter, half and twice the size, each takes the
  // place the scaled picture gives it (within the rounding of a few pixels).
  for (const int height : {-16, 0}) {
    SCOPED_TRACE("font height " + std::to_string(height));
    DC rec = DC::CreateEnhMetaFile(nullptr, nullptr, u"KEDRUS");
    Font font;
    font.CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, height ? "Arial" : "");
    rec.FillRect(Rect(0, 0, 400, 40), Brush(kWhite));
    rec.SelectObject(font);
    rec.SetBkMode(TRANSPARENT);
    rec.TextOut(10, 10, "Parameter file, XWIN-NMR Version 3.5");
    const EnhMetaFile emf = rec.CloseEnhMetaFile();
    ASSERT_FALSE(emf.IsNull());
    const auto inkAt = [&](int percent) {
      RasterSurface s(400 * percent / 100, 40 * percent / 100);
      DC dc(s);
      dc.PlayMetaFile(emf, Rect(0, 0, s.Width(), s.Height()));
      s.SavePng(ScratchPath("scaled_text_" + std::to_string(-height) + "_" + std::to_string(percent) + ".png"));
      return InkBox(s, kWhite);
    };
    const Rect full = inkAt(100);
    ASSERT_GT(full.Width(), 200);
    for (const int percent : {25, 50, 200}) {
      SCOPED_TRACE(std::to_string(percent) + " %");
      const Rect ink = inkAt(percent);
      EXPECT_NEAR(ink.Width(), full.Width() * percent / 100.0, 3.0);
      EXPECT_NEAR(ink.Height(), full.Height() * percent / 100.0, 2.0);
      EXPECT_NEAR(ink.left, full.left * percent / 100.0, 2.0);
    }
  }
}

TEST(Pictures, EmfHeaderCountsSizesBoundsAndHandlesAreRight) {
  const Rect frame(0, 0, 2646, 1323);  // 100 x 50 pixels in 0.01 mm at 96 per inch
  const EnhMetaFile emf = recordScene(&frame);
  const std::vector<std::uint8_t>& b = emf.Bytes();
  ASSERT_GE(b.size(), 108u);
  EXPECT_EQ(u32(b, 0), 1u);
  EXPECT_EQ(u32(b, 40), 0x464D4520u);
  EXPECT_EQ(u32(b, 44), 0x10000u);
  EXPECT_EQ(u32(b, 48), b.size());
  EXPECT_EQ(Rect(i32(b, 8), i32(b, 12), i32(b, 16), i32(b, 20)), Rect(0, 0, 99, 49));
  EXPECT_EQ(emf.Frame(), frame);
  EXPECT_EQ(emf.ReferencePixels(), (Size{1920, 1080}));
  EXPECT_EQ(emf.Description(), u"KEDRUS");

  // Walk the records ourselves.
  std::size_t pos = u32(b, 4), records = 1;
  std::uint32_t maxHandle = 0, last = 0;
  while (pos < b.size()) {
    const std::uint32_t type = u32(b, pos), size = u32(b, pos + 4);
    ASSERT_GE(size, 8u);
    ASSERT_EQ(size % 4, 0u);
    ASSERT_LE(pos + size, b.size());
    if (type == EMR_CREATEPEN || type == EMR_CREATEBRUSHINDIRECT || type == EMR_EXTCREATEFONTINDIRECTW ||
        ((type == EMR_SELECTOBJECT || type == EMR_DELETEOBJECT) && !(u32(b, pos + 8) & 0x80000000u)))
      maxHandle = std::max(maxHandle, u32(b, pos + 8));
    if (type == EMR_EXTCREATEFONTINDIRECTW) {
      EXPECT_EQ(size, 332u);
    }
    if (type == EMR_CREATEPEN) {
      EXPECT_EQ(size, 28u);
    }
    last = type;
    pos += size;
    ++records;
  }
  EXPECT_EQ(pos, b.size());
  EXPECT_EQ(last, static_cast<std::uint32_t>(EMR_EOF));
  EXPECT_EQ(u32(b, 52), records);
  EXPECT_GT(u16(b, 56), maxHandle);
  EXPECT_EQ(emf.Records().size(), records);

  // Written and read back: the same records.
  const std::string path = ScratchPath("scene.emf");
  ASSERT_TRUE(emf.WriteFile(path));
  std::string error;
  const EnhMetaFile back = EnhMetaFile::ReadFile(path, &error);
  ASSERT_FALSE(back.IsNull()) << error;
  const auto a = emf.Records(), c = back.Records();
  ASSERT_EQ(a.size(), c.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].type, c[i].type);
    EXPECT_TRUE(std::equal(a[i].bytes.begin(), a[i].bytes.end(), c[i].bytes.begin(), c[i].bytes.end())) << i;
  }
}

namespace {

struct WmfRecord {
  std::uint16_t function;
  std::vector<std::int16_t> params;
};

// Checks the placeable header, the metafile header and the record chain of a WMF and gives
// its box and records.
std::vector<WmfRecord> readWmf(const std::vector<std::uint8_t>& b, Rect* box, int* inch) {
  std::vector<WmfRecord> out;
  EXPECT_GE(b.size(), 40u);
  if (b.size() < 40) return out;
  EXPECT_EQ(u32(b, 0), 0x9AC6CDD7u);
  auto s16 = [&](std::size_t at) { return static_cast<std::int16_t>(u16(b, at)); };
  *box = Rect(s16(6), s16(8), s16(10), s16(12));
  *inch = u16(b, 14);
  std::uint16_t sum = 0;
  for (int i = 0; i < 10; ++i) sum ^= u16(b, 2 * i);
  EXPECT_EQ(u16(b, 20), sum) << "placeable header checksum";
  const std::size_t h = 22;
  EXPECT_EQ(u16(b, h), 1);
  EXPECT_EQ(u16(b, h + 2), 9);
  EXPECT_EQ(u16(b, h + 4), 0x0300);
  EXPECT_EQ(22 + 2 * std::size_t(u32(b, h + 6)), b.size()) << "size in words";
  const std::uint16_t objects = u16(b, h + 10);
  const std::uint32_t maxRecord = u32(b, h + 12);
  std::size_t pos = h + 18;
  std::uint32_t largest = 0;
  int live = 0, mostLive = 0;
  while (pos < b.size()) {
    const std::uint32_t size = u32(b, pos);
    EXPECT_GE(size, 3u);
    EXPECT_LE(pos + 2 * std::size_t(size), b.size());
    if (size < 3 || pos + 2 * std::size_t(size) > b.size()) break;
    WmfRecord rec{u16(b, pos + 4), {}};
    for (std::size_t i = 3; i < size; ++i) rec.params.push_back(s16(pos + 2 * i));
    largest = std::max(largest, size);
    if (rec.function == META_CREATEPENINDIRECT || rec.function == META_CREATEBRUSHINDIRECT ||
        rec.function == META_CREATEFONTINDIRECT)
      mostLive = std::max(mostLive, ++live);
    if (rec.function == META_DELETEOBJECT) --live;
    if (rec.function == META_SELECTOBJECT) {
      EXPECT_LT(static_cast<std::uint16_t>(rec.params[0]), objects);
    }
    out.push_back(rec);
    pos += 2 * std::size_t(size);
  }
  EXPECT_EQ(pos, b.size());
  EXPECT_FALSE(out.empty() || out.back().function != META_EOF) << "ends with the end record";
  EXPECT_EQ(largest, maxRecord);
  EXPECT_GE(objects, mostLive);
  return out;
}

bool hasRecord(const std::vector<WmfRecord>& records, std::uint16_t function, std::vector<std::int16_t> params) {
  for (const WmfRecord& r : records)
    if (r.function == function && r.params == params) return true;
  return false;
}

}  // namespace

TEST(Pictures, WmfOfAPictureIsInReferencePixelsWithItsPlaceableHeader) {
  const std::vector<std::uint8_t> wmf = recordScene().ToWmf();
  Rect box;
  int inch = 0;
  const std::vector<WmfRecord> records = readWmf(wmf, &box, &inch);
  EXPECT_EQ(box, Rect(0, 0, 100, 50));
  EXPECT_EQ(inch, 96);
  EXPECT_TRUE(hasRecord(records, META_ELLIPSE, {30, 70, 5, 40}));  // bottom, right, top, left
  ASSERT_TRUE(MetaFile(wmf).WriteFile(ScratchPath("scene.wmf")));
}

TEST(Pictures, WindowsMetafilesKeepLogicalCoordinatesAndTheirMappingCalls) {
  // As a clipboard picture is made: only the window extent is set; the player sets the viewport.
  DC rec = DC::CreateMetaFile(nullptr);
  rec.SetMapMode(MM_ANISOTROPIC);
  rec.SetWindowOrg(0, 0);
  rec.SetWindowExt(3000, 1000);
  rec.SelectObject(Brush(kRed));
  rec.Rectangle(100, 200, 2900, 800);
  rec.SelectObject(StockFont(ANSI_FIXED_FONT));
  rec.SetBkMode(TRANSPARENT);
  rec.TextOut(0, 500, "PPM");
  const MetaFile wmf = rec.CloseMetaFile();
  ASSERT_FALSE(wmf.IsNull());
  EXPECT_TRUE(rec.CloseMetaFile().IsNull());  // closed once
  Rect box;
  int inch = 0;
  const std::vector<WmfRecord> records = readWmf(wmf.Bytes(), &box, &inch);
  EXPECT_TRUE(hasRecord(records, META_SETMAPMODE, {MM_ANISOTROPIC}));
  EXPECT_TRUE(hasRecord(records, META_SETWINDOWEXT, {1000, 3000}));
  EXPECT_TRUE(hasRecord(records, META_RECTANGLE, {800, 2900, 200, 100}));
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 2900);
  bool text = false;
  for (const WmfRecord& r : records) text |= r.function == META_EXTTEXTOUT && r.params[0] > 500 && r.params[1] == 0;
  EXPECT_TRUE(text) << "text at its logical position (the baseline below 500)";
  ASSERT_TRUE(wmf.WriteFile(ScratchPath("logical.wmf")));
}

TEST(Pictures, DamagedFilesAreRefusedAndNeverReadPastTheirEnd) {
  const std::vector<std::uint8_t> good = recordScene().Bytes();
  std::string error;
  for (std::size_t n = 0; n < good.size(); n += 7) {
    const EnhMetaFile cut = EnhMetaFile::FromBytes(std::span(good.data(), n), &error);
    EXPECT_TRUE(cut.IsNull()) << n;
  }
  auto damaged = [&](std::size_t at, std::uint32_t value) {
    std::vector<std::uint8_t> b = good;
    plat::storeLe32(b.data() + at, value);
    return EnhMetaFile::FromBytes(b, &error);
  };
  EXPECT_TRUE(damaged(0, 2).IsNull());                           // not a header
  EXPECT_TRUE(damaged(48, static_cast<std::uint32_t>(good.size() + 4)).IsNull());  // longer than the file
  EXPECT_TRUE(damaged(64, 4000).IsNull());                       // description outside the header
  EXPECT_TRUE(damaged(u32(good, 4) + 4, 6).IsNull());            // record size not a multiple of 4
  EXPECT_TRUE(damaged(u32(good, 4) + 4, 0x7FFFFFF0).IsNull());   // record past the end

  // Records whose fields lie: counts and offsets beyond the record play as nothing.
  std::uint32_t seed = 1;
  RasterSurface s(120, 60);
  DC dc(s);
  for (int round = 0; round < 1500; ++round) {
    std::vector<std::uint8_t> b = good;
    for (int k = 0; k < 8; ++k) {
      seed = seed * 1103515245u + 12345u;
      const std::size_t at = 108 + (seed >> 8) % (b.size() - 108 - 20);
      b[at] = static_cast<std::uint8_t>(seed >> 24);
    }
    const EnhMetaFile emf = EnhMetaFile::FromBytes(b, &error);
    if (!emf.IsNull()) dc.PlayMetaFile(emf, Rect(0, 0, 120, 60));
  }
}

TEST(Pictures, PrintersAndPdfGetNoMarksThatDependOnTheDestination) {
  QImage page(60, 40, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    DeviceCaps caps;
    caps.technology = DT_RASPRINTER;
    caps.horzRes = 60;
    caps.vertRes = 40;
    DC dc = qt::MakePainterDC(painter, caps);
    EXPECT_TRUE(dc.IsPrinting());
    dc.SelectObject(Pen(PS_SOLID, 1, kRed));
    dc.SetROP2(R2_XORPEN);
    dc.MoveTo(0, 10);
    dc.LineTo(60, 10);
    dc.DrawFocusRect(Rect(5, 5, 50, 30));
    dc.PatBlt(0, 0, 60, 40, DSTINVERT);
    dc.SetROP2(R2_COPYPEN);
    dc.MoveTo(0, 20);
    dc.LineTo(60, 20);
  }
  // Only the copied line reached the page.
  auto surface = qt::SurfaceFromImage(page);
  const Rect ink = InkBox(*surface, kWhite);
  EXPECT_GE(ink.top, 19);
  EXPECT_LE(ink.bottom, 21);
  EXPECT_GT(surface->CountPixels(kRed), 50);

  const std::string path = ScratchPath("page.pdf");
  plat::removeFile(path);
  PdfPageSetup setup;
  setup.widthMm = 100;
  setup.heightMm = 50;
  setup.dpi = 300;
  DC pdf = DC::CreatePdfDC(path, setup);
  ASSERT_TRUE(pdf.IsValid());
  EXPECT_TRUE(pdf.IsPrinting());
  EXPECT_EQ(pdf.GetDeviceCaps(HORZRES), 1181);
  EXPECT_EQ(pdf.GetDeviceCaps(HORZSIZE), 100);
  EXPECT_EQ(pdf.StartDoc(u"scene"), 1);
  pdf.StartPage();
  pdf.PlayMetaFile(recordScene(), Rect(0, 0, 1181, 590));
  pdf.EndPage();
  EXPECT_FALSE(plat::fileExists(path));  // written only when the document ends
  EXPECT_EQ(pdf.EndDoc(), 1);
  std::string bytes;
  ASSERT_EQ(plat::readFile(path, &bytes), plat::FileStatus::Ok);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");

  // A margin leaves the printable area inside the paper, as a printer's unprintable edge does.
  setup.marginMm = 5;
  DC margined = DC::CreatePdfDC({}, setup);
  ASSERT_TRUE(margined.IsValid());
  EXPECT_EQ(margined.GetDeviceCaps(HORZRES), 1063);
  EXPECT_EQ(margined.GetDeviceCaps(VERTRES), 472);
  EXPECT_EQ(margined.GetDeviceCaps(HORZSIZE), 90);
  EXPECT_EQ(margined.GetDeviceCaps(PHYSICALWIDTH), 1181);
  EXPECT_EQ(margined.GetDeviceCaps(PHYSICALOFFSETX), 59);
  setup.marginMm = 25;  // nothing left to print on
  EXPECT_FALSE(DC::CreatePdfDC({}, setup).IsValid());
}

namespace {

TEST(Pictures, HandlesFindTheirPictureUntilDeletedAndAreNeverReused) {
  DC rec = DC::CreateEnhMetaFile(nullptr, nullptr, u"handles");
  drawScene(rec);
  const EnhMetaFile picture = rec.CloseEnhMetaFile();
  const HENHMETAFILE first = RegisterEnhMetaFileHandle(picture);
  const HENHMETAFILE second = RegisterEnhMetaFileHandle(picture);
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(EnhMetaFileFromHandle(first).Bytes(), picture.Bytes());
  EXPECT_TRUE(DeleteEnhMetaFileHandle(first));
  EXPECT_TRUE(EnhMetaFileFromHandle(first).IsNull());
  EXPECT_FALSE(DeleteEnhMetaFileHandle(first));
  EXPECT_TRUE(EnhMetaFileFromHandle(0).IsNull());
  EXPECT_GT(RegisterEnhMetaFileHandle(picture), second);
  EXPECT_FALSE(EnhMetaFileFromHandle(second).IsNull());
}

}  // namespace
