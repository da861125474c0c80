// Text objects: free labels (drawn, hit, dragged, found, archived), the title with its fields
// and offset, and the notice with its profile switch.
#include <gtest/gtest.h>

#include "foundation/profdesc.h"
#include "platform/archive/archive.h"
#include "profile/profile.h"
#include "spectrum/control/labels/tests/labels_testing.h"
#include "spectrum/control/labels/texts.h"

namespace {

using namespace labels_test;

// 1000 points of value 0-100 over a 500 x 300 plot, two points per column: point i at column
// i / 2, value v at row 300 - 3 v.
struct TextPlot : LabelPlot {
  TextPlot() : LabelPlot(SpectrumBuilder::Nmr(1000).Constant(1.0)) {
    SetScale(Rect(0, 0, 500, 300), 0.0f, 100.0f, 2.0f);
  }
};

TEST(FreeText, HorizontalLabelIsCentredOnItsAnchorAndHitThere) {
  TextPlot plot;
  plot.list.m_TextFont.lfEscapement = 0;
  CText* label = CText::Create(plot.list, "Peak A", 250, 150);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->m_nX, 500);
  EXPECT_FLOAT_EQ(label->m_fY, 50.0f);
  EXPECT_TRUE(label->m_bEnabled);
  EXPECT_EQ(label->GetContextMenu(false), 7);

  const gdi::RasterSurface s = plot.Draw(500, 300);
  SaveRendering(s, "text_horizontal");
  const gdi::Size size = Measure(LabelFont(10, 0, 1), "Peak A");
  const Rect box(250 - size.cx / 2, 150 - size.cy / 2, 250 - size.cx / 2 + size.cx, 150 - size.cy / 2 + size.cy);
  EXPECT_EQ(label->m_area, box);
  EXPECT_TRUE(InkInCell(InkBox(s, Rect(0, 0, 500, 300)), box));
  EXPECT_EQ(label->HitTest(250, 150), 1);
  EXPECT_EQ(label->HitTest(box.right, 150), 0);
  EXPECT_EQ(CText::FindAt(plot.list, 250, 150), label);
  EXPECT_EQ(CText::FindAt(plot.list, 250, 20), nullptr);
  label->m_bEnabled = false;
  EXPECT_EQ(CText::FindAt(plot.list, 250, 150), nullptr);
}

TEST(FreeText, VerticalLabelRisesFromItsAnchorAndIsHitOnItsTurnedRectangle) {
  TextPlot plot;  // the default text font is vertical (escapement 900)
  CText* label = CText::Create(plot.list, "Solvent impurity", 250, 150);
  const gdi::RasterSurface s = plot.Draw(500, 300);
  SaveRendering(s, "text_vertical");
  const gdi::Size size = Measure(LabelFont(10, 900, 1), "Solvent impurity");
  const int w = size.cx, h = size.cy;
  const Rect box(250 - h / 2, 150 + w / 2 - w, 250 - h / 2 + h, 150 + w / 2);
  EXPECT_EQ(label->m_area, box);
  EXPECT_TRUE(InkInCell(InkBox(s, Rect(0, 0, 500, 300)), box));
  // High above the anchor (outside where a horizontal label would be): still the label.
  EXPECT_EQ(label->HitTest(250, 150 - w / 2 + 2), 1);
  EXPECT_EQ(label->HitTest(250 + h, 150), 0);
}

TEST(FreeText, NotDrawnOffTheViewOrOnAFid) {
  TextPlot plot;
  CText* label = CText::Create(plot.list, "x", 250, 150);
  plot.Draw(500, 300);
  ASSERT_FALSE(label->m_area.IsRectEmpty());
  // The anchor must lie in [left bound, right bound).
  label->m_nX = 999;
  plot.Draw(500, 300);
  EXPECT_TRUE(label->m_area.IsRectEmpty());
  EXPECT_EQ(label->HitTest(label->m_area.left, label->m_area.top), 0);
  label->m_nX = 500;
  plot.data().nDomain = 0;
  EXPECT_TRUE(InkBox(plot.Draw(500, 300), Rect(0, 0, 500, 300)).IsRectEmpty());
  EXPECT_TRUE(label->m_area.IsRectEmpty());
  // A printed picture does not move the screen area.
  plot.data().nDomain = 1;
  plot.Draw(500, 300);
  const Rect screen = label->m_area;
  plot.list.m_plotRect = Rect(0, 0, 1000, 600);
  plot.Draw(1000, 600, kDrawModePrint);
  EXPECT_EQ(label->m_area, screen);
}

TEST(FreeText, DragMovesTheAnchorToTheMouseWithinTheData) {
  TextPlot plot;
  CText* label = CText::Create(plot.list, "x", 250, 150);
  EXPECT_TRUE(label->Drag(100, 60, 250, 150));
  EXPECT_EQ(label->m_nX, 200);
  EXPECT_FLOAT_EQ(label->m_fY, 80.0f);
  EXPECT_FALSE(label->Drag(600, 60, 100, 60));  // point 1200 of 1000
  EXPECT_FALSE(label->Drag(-10, 60, 100, 60));  // point -20
  EXPECT_EQ(label->m_nX, 200);
  EXPECT_TRUE(label->Drag(499, 299, 100, 60));
  EXPECT_EQ(label->m_nX, 998);
}

TEST(FreeText, APressOffTheDataMakesNoLabel) {
  TextPlot plot;
  const std::size_t before = plot.list.GetSize();
  EXPECT_EQ(CText::Create(plot.list, "x", -10, 150), nullptr);   // point -20
  EXPECT_EQ(CText::Create(plot.list, "x", 600, 150), nullptr);   // point 1200 of 1000
  EXPECT_EQ(plot.list.GetSize(), before);
  EXPECT_NE(CText::Create(plot.list, "x", 499, 150), nullptr);   // point 998
  // Drawing the title and the notice without an area draws nothing and does not fail.
  CTitle title(&plot.list, plot.list.m_pProcess, 0);
  title.SetDefaults();
  CCopyright notice(&plot.list, plot.list.m_pProcess, 0);
  notice.SetDefaults();
  gdi::RasterSurface surface(10, 10);
  gdi::DC dc(surface);
  title.Draw(&dc, nullptr, 1);
  notice.Draw(&dc, nullptr, 1);
}

TEST(FreeText, ArchiveKeepsTheLabelAndPropertySetsOnlyItsEnabledFlag) {
  TextPlot plot;
  CText* label = CText::Create(plot.list, "Überlagerung", 250, 150);
  label->m_nX = 321;
  label->m_fY = -2.5f;
  plat::Archive out;
  label->Serialize(out);
  // Text (length-prefixed), x, y, enabled.
  EXPECT_EQ(out.bytes().size(), 1 + 13 + 4 + 4 + 4u);
  TextPlot other;
  CText copy(&other.list, &other.process(), 0);
  plat::Archive in(out.bytes());
  copy.Serialize(in);
  EXPECT_TRUE(in.atEnd());
  EXPECT_EQ(copy.m_strText, "Überlagerung");
  EXPECT_EQ(copy.m_nX, 321);
  EXPECT_EQ(copy.m_fY, -2.5f);
  EXPECT_TRUE(copy.m_bEnabled);

  plat::Archive props;
  label->m_bEnabled = false;
  label->StoreProperties(props);
  EXPECT_EQ(props.bytes().size(), 4u);
  plat::Archive propsIn(props.bytes());
  copy.LoadProperties(propsIn);
  EXPECT_FALSE(copy.m_bEnabled);
  EXPECT_EQ(copy.m_strText, "Überlagerung");
  // A short archive fails cleanly.
  plat::Archive truncated(std::span<const std::uint8_t>(out.bytes().data(), 10));
  EXPECT_THROW(copy.Serialize(truncated), plat::ArchiveError);
}

TEST(Title, FieldsAreTheControlsParameters) {
  LabelPlot plot(SpectrumBuilder::Nmr(10));
  plot.params = {{"FILENAME", "ethyl acetate.fid"}, {"TITLE", "CDCl3"}};
  CTitle& title = plot.Add<CTitle>(kDrawTitle);
  EXPECT_EQ(title.m_strText, "$FILENAME$");
  EXPECT_FALSE(title.m_bEnabled);
  EXPECT_EQ(title.ExpandedText(), "ethyl acetate.fid");
  const std::pair<const char*, const char*> cases[] = {
      {"Cost: 5$$", "Cost: 5$"}, {"Sample in $TITLE", "Sample in CDCl3"}, {"$NOSUCH$ / $TITLE$!", " / CDCl3!"},
      {"$$$TITLE$$$", "$CDCl3$"}, {"plain", "plain"}, {"$", ""}, {"", ""}};
  for (const auto& [text, shown] : cases) {
    title.m_strText = text;
    EXPECT_EQ(title.ExpandedText(), shown) << text;
  }
  // Without a control nothing can be asked.
  CDrawObjectList alone(nullptr, &plot.process());
  CTitle orphan(&alone, &plot.process(), 0);
  orphan.m_strText = "a$FILENAME$b";
  EXPECT_EQ(orphan.ExpandedText(), "ab");
}

TEST(Title, StandsItsOffsetFromTheTopLeftScaledByZoom) {
  for (const int zoom : {100, 200}) {
    LabelPlot plot(SpectrumBuilder::Nmr(10));
    plot.params = {{"FILENAME", "ethyl acetate.fid"}};
    CTitle& title = plot.Add<CTitle>(kDrawTitle);
    title.m_bEnabled = true;
    title.m_color = gdi::RGB(0, 0, 255);
    plot.list.m_nZoom = zoom;
    gdi::RasterSurface s(600, 300, kWhite);
    gdi::DC dc(s);
    Rect area(20, 10, 600, 300);
    title.Draw(&dc, &area, kDrawModeScreen);
    SaveRendering(s, "title_zoom_" + std::to_string(zoom));

    // 10 mm at 96 dpi is 37.8 pixels: 38 at 100 %, 76 at 200 %; 16 points scaled the same way.
    gdi::RasterSurface expected(600, 300, kWhite);
    gdi::DC reference(expected);
    gdi::LOGFONTA font;
    font.lfHeight = gdi::MulDiv(16, 96 * zoom, 7200);
    font.lfWeight = 400;
    gdi::SetFaceName(font, "Arial");
    reference.SelectObject(gdi::Font(font));
    reference.SetTextColor(gdi::RGB(0, 0, 255));
    const int offset = zoom == 100 ? 38 : 76;
    reference.TextOut(20 + offset, 10 + offset, std::string_view("ethyl acetate.fid"));
    EXPECT_EQ(InkBox(s, Rect(0, 0, 600, 300)), InkBox(expected, Rect(0, 0, 600, 300))) << zoom;
    EXPECT_EQ(s.CountPixels(gdi::RGB(0, 0, 255)), expected.CountPixels(gdi::RGB(0, 0, 255))) << zoom;
    EXPECT_EQ(area, Rect(20, 10, 600, 300));
  }
  LabelPlot plot(SpectrumBuilder::Nmr(10));
  CTitle& title = plot.Add<CTitle>(kDrawTitle);
  title.m_bEnabled = true;
  title.m_strText.clear();
  EXPECT_TRUE(InkBox(plot.Draw(300, 200), Rect(0, 0, 300, 200)).IsRectEmpty());
}

TEST(Title, ArchiveKeepsEveryField) {
  LabelPlot plot(SpectrumBuilder::Nmr(10));
  CTitle& title = plot.Add<CTitle>(kDrawTitle);
  title.m_strText = "$TITLE$ at $SF$ MHz";
  title.m_color = 0x123456;
  title.m_nPosX = -250;
  title.m_nPosY = 4000;
  title.m_logFont.lfWeight = 700;
  title.m_bEnabled = true;
  plat::Archive out;
  title.Serialize(out);
  EXPECT_EQ(out.bytes().size(), 4 + 4 + 4 + 1 + 19 + 60 + 4u);
  LabelPlot other(SpectrumBuilder::Nmr(10));
  CTitle& copy = other.Add<CTitle>(kDrawTitle);
  plat::Archive in(out.bytes());
  copy.LoadProperties(in);
  EXPECT_EQ(copy.m_strText, title.m_strText);
  EXPECT_EQ(copy.m_color, 0x123456u);
  EXPECT_EQ(copy.m_nPosX, -250);
  EXPECT_EQ(copy.m_nPosY, 4000);
  EXPECT_EQ(copy.m_logFont.lfWeight, 700);
  EXPECT_EQ(gdi::FaceNameOf(copy.m_logFont), "Arial");
  EXPECT_TRUE(copy.m_bEnabled);
}

class Notice : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaultProfRoot(u"HKEY_CURRENT_USER\\Software\\Orvane\\KEDRUS Lite\\2.0");
    SetDefaultProfSection(u"nelvar");
  }
  void TearDown() override {
    COrvProfDesc desc;
    OrvDeleteProfValue(u"Copyright", &desc);
    SetDefaultProfRoot(nullptr);
    SetDefaultProfSection(nullptr);
  }
};

TEST_F(Notice, DrawnInBlackAtTheTopRightAndTheAreaBelowIt) {
  LabelPlot plot(SpectrumBuilder::Nmr(10));
  CCopyright& notice = plot.Add<CCopyright>(kDrawCopyright);
  EXPECT_TRUE(notice.m_bEnabled);  // no profile value: on
  notice.m_color = gdi::RGB(255, 0, 0);  // kept, but the notice is black
  gdi::RasterSurface s(400, 200, kWhite);
  gdi::DC dc(s);
  Rect area(10, 5, 390, 200);
  notice.Draw(&dc, &area, kDrawModeScreen);
  SaveRendering(s, "notice");
  const gdi::Size size = Measure(LabelFont(6, 0, 0), CCopyright::kNotice);
  EXPECT_EQ(area, Rect(10, 5 + size.cy, 390, 200));
  const Rect ink = InkBox(s, Rect(0, 0, 400, 200));
  ASSERT_FALSE(ink.IsRectEmpty());
  EXPECT_LE(ink.right, 390);
  EXPECT_GE(ink.left, 390 - size.cx);
  EXPECT_GE(ink.top, 5);
  EXPECT_LE(ink.bottom, 5 + size.cy);
  EXPECT_EQ(s.CountPixels(gdi::RGB(255, 0, 0)), 0);
}

TEST_F(Notice, TheProfileValueSwitchesItInEveryNewOrResetPlot) {
  COrvProfDesc desc;
  ASSERT_EQ(OrvSetProfInt(u"Copyright", 0, &desc), PROF_OK);
  LabelPlot plot(SpectrumBuilder::Nmr(10));
  CCopyright& notice = plot.Add<CCopyright>(kDrawCopyright);
  EXPECT_FALSE(notice.m_bEnabled);
  ASSERT_EQ(OrvSetProfInt(u"Copyright", 1, &desc), PROF_OK);
  notice.SetDefaults();
  EXPECT_TRUE(notice.m_bEnabled);
}

}  // namespace
