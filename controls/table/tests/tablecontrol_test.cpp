// The table control through ITableControl and its container: references of the attached
// spectrum and the cell fonts, the archive form through the control's state, the spectrum found
// at drawing time, and the drawing at the document's zoom.
#include "common/guids.h"
#include "common/shared_ids.h"
#include "controls/base/tests/control_fixture.h"
#include "controls/table/tablecontrol.h"
#include "controls/table/tests/tabletestutil.h"
#include "platform/com/creation.h"
#include "platform/com/driver.h"
#include "platform/gdi/surface.h"

namespace karvel::test {
namespace {

class TableControlTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_EQ(createInstance(CLSID_TableControl, nullptr, CLSCTX_INPROC_SERVER, IID_ITableControl,
                             reinterpret_cast<void**>(&table_)),
              S_OK);
    control_ = LastMade<CTableControl>();
  }
  void TearDown() override {
    releaseInterface(table_);
    ControlTest::TearDown();
  }
  std::u16string Text(std::uint32_t c, std::uint32_t r) {
    std::u16string buffer(70000, u'?');
    if (table_->GetCellText(c, r, buffer.data(), static_cast<std::int32_t>(buffer.size())) != S_OK) return u"<fail>";
    return buffer.c_str();
  }

  ITableControl* table_ = nullptr;
  CTableControl* control_ = nullptr;
};

TEST_F(TableControlTest, CellsThroughTheInterface) {
  std::uint32_t columns = 9, rows = 9;
  ASSERT_EQ(table_->GetTableSize(&columns, &rows), S_OK);
  EXPECT_EQ(columns + rows, 0u);
  ASSERT_EQ(table_->SetTableSize(3, 2), S_OK);
  EXPECT_EQ(Positions(control_->Model()), (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}));
  EXPECT_EQ(table_->SetTableSize(1025, 1), E_FAIL);
  EXPECT_EQ(table_->SetCellText(2, 1, u"$SF$ MHz"), S_OK);
  EXPECT_EQ(table_->SetCellText(3, 0, u"x"), E_FAIL);
  EXPECT_EQ(Text(2, 1), u"$SF$ MHz");
  // The buffer always ends in a terminator; less than one unit is refused.
  char16_t small[4] = {u'?', u'?', u'?', u'?'};
  EXPECT_EQ(table_->GetCellText(2, 1, small, 4), S_OK);
  EXPECT_EQ(std::u16string(small), u"$SF");
  EXPECT_EQ(table_->GetCellText(2, 1, small, 0), E_FAIL);
  EXPECT_EQ(table_->GetCellText(5, 5, small, 4), E_FAIL);
  std::uint32_t color = 1;
  EXPECT_EQ(table_->SetCellColor(0, 1, 0x00FFB400), S_OK);
  EXPECT_EQ(table_->GetCellColor(0, 1, &color), S_OK);
  EXPECT_EQ(color, 0x00FFB400u);
  EXPECT_EQ(table_->GetCellColor(0, 2, &color), E_FAIL);
  // Smaller keeps the cells; larger again shows the old texts.
  EXPECT_EQ(table_->SetTableSize(1, 1), S_OK);
  EXPECT_EQ(table_->SetTableSize(3, 2), S_OK);
  EXPECT_EQ(control_->Model().cells().size(), 6u);
  EXPECT_EQ(Text(2, 1), u"$SF$ MHz");
}

TEST_F(TableControlTest, SpectrumAndFontObjectsAreHandedOutWithoutReferences) {
  FakeSpectrumControl first, second;
  EXPECT_EQ(first.References(), 1u);
  ISpectrumControl* got = nullptr;
  EXPECT_EQ(table_->GetSpectrum(&got), E_FAIL);
  EXPECT_EQ(got, nullptr);
  ASSERT_EQ(table_->AttachSpectrum(first.Interface()), S_OK);
  EXPECT_EQ(first.References(), 2u);
  ASSERT_EQ(table_->GetSpectrum(&got), S_OK);
  EXPECT_EQ(got, first.Interface());
  EXPECT_EQ(first.References(), 2u);
  ASSERT_EQ(table_->AttachSpectrum(second.Interface()), S_OK);
  EXPECT_EQ(first.References(), 1u);
  EXPECT_EQ(second.References(), 2u);

  ASSERT_EQ(table_->SetTableSize(1, 1), S_OK);
  IDispatch* font = nullptr;
  ASSERT_EQ(table_->GetCellFont(0, 0, &font), S_OK);
  EXPECT_EQ(table_->GetCellFont(1, 1, &font), E_FAIL);
  ASSERT_EQ(table_->GetCellFont(0, 0, &font), S_OK);
  DispatchDriver driver(font);
  Variant name;
  variantInit(&name);
  name.vt = VT_BSTR;
  name.bstr = allocString(u"Courier New");
  ASSERT_EQ(driver.setProperty(DISPID_FONT_NAME, name), S_OK);
  variantClear(&name);
  EXPECT_EQ(gdi::FaceNameOf(*control_->Model().CellFont(0, 0)), "Courier New");

  // A font object still held when a load replaces the cells no longer reaches any record.
  font->AddRef();
  ASSERT_EQ(table_->LoadTable(1, u"/nonexistent", 0), S_OK);
  EXPECT_EQ(control_->Model().cells().size(), 0u);
  Variant v;
  variantInit(&v);
  EXPECT_NE(driver.getProperty(DISPID_FONT_NAME, &v), S_OK);
  font->Release();

  // Closing lets the spectrum go.
  IOleObject* object = nullptr;
  ASSERT_EQ(table_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
  object->Close(OLECLOSE_NOSAVE);
  object->Release();
  EXPECT_EQ(second.References(), 1u);
  EXPECT_EQ(table_->GetSpectrum(&got), E_FAIL);
}

TEST_F(TableControlTest, AttachingLoadsTheKindsDefaultsAndSavingAlwaysSucceeds) {
  FakeSpectrumControl nmr;
  EXPECT_EQ(table_->SaveTable(0, nullptr, 0), S_OK);  // nothing attached: nothing written
  ASSERT_EQ(table_->AttachSpectrum(nmr.Interface()), S_OK);
  ASSERT_EQ(table_->SetTableSize(1, 2), S_OK);
  ASSERT_EQ(table_->SetCellText(0, 1, u"$SF$"), S_OK);
  ASSERT_EQ(table_->SaveTable(0, nullptr, 0), S_OK);

  ITableControl* other = nullptr;
  ASSERT_EQ(createInstance(CLSID_TableControl, nullptr, CLSCTX_INPROC_SERVER, IID_ITableControl,
                           reinterpret_cast<void**>(&other)),
            S_OK);
  ASSERT_EQ(other->AttachSpectrum(nmr.Interface()), S_OK);
  char16_t text[8] = {};
  ASSERT_EQ(other->GetCellText(0, 1, text, 8), S_OK);
  EXPECT_EQ(std::u16string(text), u"$SF$");
  other->Release();
  EXPECT_EQ(table_->AttachSpectrum(nullptr), S_OK);
  EXPECT_EQ(nmr.References(), 1u);
}

TEST_F(TableControlTest, StateRoundTripsWithLongTextsAndRefusesDamagedState) {
  ASSERT_EQ(table_->SetTableSize(2, 2), S_OK);
  ASSERT_EQ(table_->SetCellText(0, 0, std::u16string(255, u'a').c_str()), S_OK);
  ASSERT_EQ(table_->SetCellText(1, 1, std::u16string(65536, u'b').c_str()), S_OK);
  ASSERT_EQ(table_->SetCellColor(1, 0, 0xC00000), S_OK);
  std::vector<std::uint8_t> state;
  ASSERT_TRUE(control_->SaveState(&state));

  ITableControl* copy = nullptr;
  ASSERT_EQ(createInstance(CLSID_TableControl, nullptr, CLSCTX_INPROC_SERVER, IID_ITableControl,
                           reinterpret_cast<void**>(&copy)),
            S_OK);
  CTableControl* loaded = LastMade<CTableControl>();
  ASSERT_TRUE(loaded->LoadState(state));
  EXPECT_EQ(Positions(loaded->Model()), Positions(control_->Model()));
  EXPECT_EQ(CellText(loaded->Model(), 0, 0), std::string(255, 'a'));
  EXPECT_EQ(CellText(loaded->Model(), 1, 1), std::string(65536, 'b'));
  EXPECT_EQ(loaded->Model().FindCell(1, 0)->color, 0xC00000u);
  EXPECT_EQ(loaded->GetExtent(), control_->GetExtent());

  // Cut anywhere, the state is refused and the table stays as it was.
  for (const std::size_t n : {std::size_t(0), std::size_t(7), std::size_t(40), state.size() / 2, state.size() - 1}) {
    EXPECT_FALSE(loaded->LoadState(std::span(state.data(), n))) << n;
    EXPECT_EQ(loaded->Model().cells().size(), 4u);
  }
  copy->Release();
}

TEST_F(TableControlTest, DrawingFindsTheDocumentsSpectrumAndScalesWithTheZoom) {
  FakeSpectrumControl spectrum;
  FakeSite site;
  FakeSite::Item other;
  other.record.type = 0;
  FakeSite::Item fromFile;
  fromFile.record.type = ItemTypeSpectrum;
  fromFile.record.subtype = ItemFromFile;
  fromFile.object = spectrum.Interface();
  site.items = {other, fromFile};
  SetSite(*control_, site.GetUnknown());
  ASSERT_EQ(table_->SetTableSize(2, 1), S_OK);
  ASSERT_EQ(table_->SetCellText(0, 0, u"$SF$"), S_OK);
  ASSERT_EQ(table_->SetCellText(1, 0, u"MHz"), S_OK);
  ASSERT_EQ(table_->SetCellColor(0, 0, 0x0000FF), S_OK);
  ASSERT_EQ(table_->SetCellColor(1, 0, 0x0000FF), S_OK);
  control_->Model().GridPen().lopnWidth.x = 40;

  const gdi::Rect bounds(10, 10, 310, 110);
  auto draw = [&](std::int32_t zoom) {
    site.zoom = zoom;
    auto surface = std::make_unique<gdi::RasterSurface>(320, 120, gdi::COLORREF(0xFFFFFF));
    gdi::DC dc(*surface);
    control_->OnDraw(&dc, bounds, bounds);
    return surface;
  };
  auto at100 = draw(100);
  KeepPng(*at100, "table.png");
  // The spectrum was found and linked, without loading defaults.
  ISpectrumControl* got = nullptr;
  ASSERT_EQ(table_->GetSpectrum(&got), S_OK);
  EXPECT_EQ(got, spectrum.Interface());
  EXPECT_EQ(control_->Model().FindCell(0, 0)->shownText, "400.13");
  // Grid: 40 hundredths of a millimetre at 96 dpi are 2 pixels; lines at the left, right, top and
  // bottom edges of the bounds and one between the two columns.
  const gdi::Rect leftEdge(10, 50, 12, 51), topEdge(100, 10, 101, 12);
  EXPECT_EQ(at100->CountPixels(0, &leftEdge), 2);
  EXPECT_EQ(at100->CountPixels(0, &topEdge), 2);
  EXPECT_EQ(at100->GetPixel(12, 50), 0xFFFFFFu);
  const gdi::Rect row(13, 50, 308, 51);
  EXPECT_GE(at100->CountPixels(0, &row), 2);
  const std::int64_t text100 = CountInk(*at100, 0x0000FF, 0xFFFFFF);
  EXPECT_GT(text100, 0);
  // Twice the zoom: a 3-pixel grid and texts about four times the ink.
  auto at200 = draw(200);
  const gdi::Rect thick(6, 50, 16, 51);
  EXPECT_EQ(at200->CountPixels(0, &thick), 3);
  EXPECT_GT(CountInk(*at200, 0x0000FF, 0xFFFFFF), 3 * text100);

  // Without a spectrum only the grid's pen is made: nothing is drawn.
  IOleObject* object = nullptr;
  ASSERT_EQ(table_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
  object->Close(OLECLOSE_NOSAVE);
  object->Release();
  site.items.clear();
  SetSite(*control_, site.GetUnknown());
  EXPECT_EQ(draw(100)->CountPixels(0xFFFFFF), 320 * 120);
  SetSite(*control_, nullptr);
}

}  // namespace
}  // namespace karvel::test
