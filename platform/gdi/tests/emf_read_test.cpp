#include <gtest/gtest.h>

#include "platform/base/bytes.h"
#include "gdi_testing.h"

using namespace gdi;
using namespace gdi_test;

namespace {

// One builder for hand-made enhanced metafiles: records in logical units, as other programs
// write them, with the header filled in from them.
class EmfBuilder {
 public:
  EmfBuilder& record(std::uint32_t type, std::initializer_list<std::int32_t> fields) {
    append32(type);
    append32(static_cast<std::uint32_t>(8 + 4 * fields.size()));
    for (std::int32_t f : fields) append32(static_cast<std::uint32_t>(f));
    ++records_;
    return *this;
  }
  // Frame in 0.01 mm, reference 1000 x 1000 pixels on 254 x 254 mm (100 pixels per inch).
  std::vector<std::uint8_t> build(const Rect& bounds, const Rect& frame) {
    record(EMR_EOF, {0, 16, 20});
    std::vector<std::uint8_t> out(108, 0);
    auto put = [&](std::size_t at, std::int32_t v) { plat::storeLe32(out.data() + at, static_cast<std::uint32_t>(v)); };
    put(0, EMR_HEADER);
    put(4, 108);
    put(8, bounds.left), put(12, bounds.top), put(16, bounds.right), put(20, bounds.bottom);
    put(24, frame.left), put(28, frame.top), put(32, frame.right), put(36, frame.bottom);
    put(40, 0x464D4520);
    put(44, 0x10000);
    put(48, static_cast<std::int32_t>(108 + body_.size()));
    put(52, static_cast<std::int32_t>(records_ + 1));
    plat::storeLe16(out.data() + 56, 4);
    put(72, 1000), put(76, 1000), put(80, 254), put(84, 254);
    put(100, 254000), put(104, 254000);
    out.insert(out.end(), body_.begin(), body_.end());
    return out;
  }

 private:
  void append32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) body_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  std::vector<std::uint8_t> body_;
  std::uint32_t records_ = 0;
};

}  // namespace

TEST(ReadingPictures, LogicalRecordsWithTheirOwnMappingPlayScaled) {
  // A picture of 100 x 100 reference pixels whose drawing uses 10 logical units per pixel, y up.
  EmfBuilder b;
  b.record(EMR_SETMAPMODE, {MM_ANISOTROPIC})
      .record(EMR_SETWINDOWEXTEX, {1000, -1000})
      .record(EMR_SETVIEWPORTEXTEX, {100, 100})
      .record(EMR_SETWINDOWORGEX, {0, 1000})
      .record(EMR_CREATEBRUSHINDIRECT, {1, BS_SOLID, static_cast<std::int32_t>(kRed), 0})
      .record(EMR_SELECTOBJECT, {1})
      .record(EMR_SELECTOBJECT, {static_cast<std::int32_t>(0x80000000u | NULL_PEN)})
      // The lower-left quarter in logical units (y up): pixels 0..50, 50..100.
      .record(EMR_RECTANGLE, {0, 500, 501, -1})
      .record(EMR_SAVEDC, {})
      .record(EMR_RESTOREDC, {-5})  // beyond what the picture saved: ignored
      .record(0x7777, {1, 2, 3});   // unknown: skipped
  std::string error;
  const EnhMetaFile emf = EnhMetaFile::FromBytes(b.build(Rect(0, 0, 99, 99), Rect(0, 0, 2540, 2540)), &error);
  ASSERT_FALSE(emf.IsNull()) << error;
  RasterSurface s(200, 200);
  DC dc(s);
  dc.SaveDC();
  ASSERT_TRUE(dc.PlayMetaFile(emf, Rect(0, 0, 200, 200)));
  // (Without a pen, the last column and row are the pen's and stay empty.)
  EXPECT_EQ(InkBox(s, kWhite), Rect(0, 100, 99, 199));
  EXPECT_TRUE(dc.RestoreDC(-1)) << "the DC's own saved state survives the picture";
  EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
}
