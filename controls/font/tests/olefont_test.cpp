#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "controls/font/olefont.h"
#include "foundation/profdesc.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/com/driver.h"
#include "profile/profile.h"

using namespace plat::ole;

namespace {

std::u16string Take(Bstr text) {
  std::u16string s = text ? std::u16string(text) : std::u16string();
  freeString(text);
  return s;
}

gdi::LOGFONTA Arial(int height) {
  gdi::LOGFONTA font;
  font.lfHeight = height;
  font.lfWeight = 400;
  gdi::SetFaceName(font, "Arial");
  return font;
}

TEST(OleFont, ReadsAndWritesTheRecordThroughIFont) {
  gdi::LOGFONTA record = Arial(12);
  COleFont font(&record);
  IFont* f = font.GetIFont(false);
  Currency size = 0;
  ASSERT_EQ(f->get_Size(&size), S_OK);
  EXPECT_EQ(size, 120000);
  // Sizes travel as height x 10000 and back, negative heights too.
  EXPECT_EQ(f->put_Size(-125000), S_OK);
  EXPECT_EQ(record.lfHeight, -12);
  f->get_Size(&size);
  EXPECT_EQ(size, -120000);

  EXPECT_EQ(f->put_Name(u"0123456789012345678901234567890123456789"), S_OK);
  EXPECT_EQ(gdi::FaceNameOf(record), "0123456789012345678901234567890");
  f->put_Name(u"\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9\u00E9");
  EXPECT_EQ(gdi::FaceNameOf(record).size(), 30u);  // 15 characters of two bytes: no half of one
  Bstr name = nullptr;
  f->get_Name(&name);
  EXPECT_EQ(Take(name).size(), 15u);

  Bool32 bold = 0;
  std::int16_t weight = 0;
  f->put_Bold(1);
  f->get_Weight(&weight);
  EXPECT_EQ(weight, 700);
  f->put_Weight(550);
  f->get_Bold(&bold);
  EXPECT_TRUE(bold);
  f->put_Weight(-5);
  EXPECT_EQ(record.lfWeight, -5);
  record.lfWeight = 0x18000;
  f->get_Weight(&weight);
  EXPECT_EQ(weight, -32768);

  Bool32 flag = 0;
  f->put_Italic(1);
  f->put_Underline(1);
  f->put_Strikethrough(1);
  f->get_Strikethrough(&flag);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(record.lfItalic + record.lfUnderline + record.lfStrikeOut, 3);
  std::int16_t charset = 0;
  f->put_Charset(0x1FF);
  f->get_Charset(&charset);
  EXPECT_EQ(charset, 0xFF);
  EXPECT_EQ(f->get_hFont(nullptr), E_NOTIMPL);
  EXPECT_EQ(f->Clone(nullptr), E_NOTIMPL);
  EXPECT_EQ(f->SetHdc(0), E_NOTIMPL);

  // Without a record every method that touches it fails and changes nothing.
  COleFont empty(nullptr);
  IFont* e = empty.GetIFont(false);
  EXPECT_EQ(e->get_Size(&size), E_FAIL);
  EXPECT_EQ(e->put_Name(u"x"), E_FAIL);
  EXPECT_EQ(e->put_Bold(1), E_FAIL);
  EXPECT_EQ(e->get_Charset(&charset), E_FAIL);
}

TEST(OleFont, OffersIFontDispAndKeepsOneIdentity) {
  gdi::LOGFONTA record = Arial(10);
  COleFont font(&record);
  void* disp = nullptr;
  ASSERT_EQ(font.QueryInterface(IID_IFontDisp, &disp), S_OK);
  void* ifont = nullptr;
  ASSERT_EQ(static_cast<IDispatch*>(disp)->QueryInterface(IID_IFont, &ifont), S_OK);
  void* unknownA = nullptr;
  void* unknownB = nullptr;
  static_cast<IFont*>(ifont)->QueryInterface(IID_IUnknown, &unknownA);
  static_cast<IDispatch*>(disp)->QueryInterface(IID_IUnknown, &unknownB);
  EXPECT_EQ(unknownA, unknownB);
  static_cast<IUnknown*>(unknownA)->Release();
  static_cast<IUnknown*>(unknownB)->Release();
  static_cast<IFont*>(ifont)->Release();

  DispatchDriver driver(static_cast<IDispatch*>(disp));
  DispId id = 0;
  ASSERT_EQ(driver.idOfName(u"bold", &id), S_OK);
  EXPECT_EQ(id, DISPID_FONT_BOLD);
  Variant size;
  variantInit(&size);
  ASSERT_EQ(driver.getProperty(DISPID_FONT_SIZE, &size), S_OK);
  EXPECT_EQ(size.vt, VT_CY);
  EXPECT_EQ(size.cy, 100000);
  Variant name;
  variantInit(&name);
  name.vt = VT_BSTR;
  name.bstr = allocString(u"Courier New");
  ASSERT_EQ(driver.setProperty(DISPID_FONT_NAME, name), S_OK);
  variantClear(&name);
  EXPECT_EQ(gdi::FaceNameOf(record), "Courier New");
  // The external references never delete the member: the count goes back to its owner's one.
  EXPECT_EQ(static_cast<IDispatch*>(disp)->Release(), 1u);

  COleFont empty(nullptr);
  DispatchDriver none(empty.GetIDispatch(false));
  Variant v;
  variantInit(&v);
  EXPECT_EQ(none.getProperty(DISPID_FONT_SIZE, &v), DISP_E_EXCEPTION);
}

TEST(OleFont, CopiesMoveTheInterfaceAttributesOnly) {
  gdi::LOGFONTA from = Arial(14);
  from.lfWidth = 9;
  from.lfEscapement = 900;
  from.lfWeight = 700;
  from.lfItalic = 1;
  from.lfCharSet = 2;
  gdi::SetFaceName(from, "Times");
  gdi::LOGFONTA to = Arial(10);
  COleFont source(&from), target(&to);
  EXPECT_TRUE(target.CopyFrom(source.GetUnknown()));
  EXPECT_EQ(to.lfHeight, 14);
  EXPECT_EQ(to.lfWeight, 700);
  EXPECT_EQ(to.lfItalic, 1);
  EXPECT_EQ(to.lfCharSet, 2);
  EXPECT_EQ(gdi::FaceNameOf(to), "Times");
  EXPECT_EQ(to.lfWidth, 0);
  EXPECT_EQ(to.lfEscapement, 0);

  gdi::LOGFONTA back = Arial(8);
  COleFont other(&back);
  EXPECT_TRUE(source.CopyTo(other.GetUnknown()));
  EXPECT_EQ(back.lfHeight, 14);

  COleFont empty(nullptr);
  EXPECT_FALSE(empty.CopyFrom(source.GetUnknown()));
  EXPECT_FALSE(empty.CopyTo(source.GetUnknown()));
  EXPECT_FALSE(target.CopyFrom(nullptr));
  EXPECT_FALSE(target.CopyTo(nullptr));
}

TEST(OleFont, ProfileFormIsFourteenValues) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = scratch && *scratch ? scratch : "/tmp";
  plat::makeDirectories(dir);
  auto section = [&](const char16_t* name) {
    auto desc = std::make_unique<COrvProfDesc>(plat::toUtf16(plat::joinPath(dir, "olefont.ini")).c_str(), name);
    desc->SetIni(true);
    return desc;
  };
  gdi::LOGFONTA record = Arial(-11);
  record.lfQuality = 3;
  COleFont font(&record);
  ASSERT_TRUE(SaveFontToProfile(&font, section(u"\\Font").get()));
  gdi::LOGFONTA read = Arial(40);
  COleFont reader(&read);
  ASSERT_TRUE(LoadFontFromProfile(&reader, section(u"\\Font").get()));
  EXPECT_EQ(read, record);
  EXPECT_FALSE(LoadFontFromProfile(&reader, section(u"\\Missing").get()));
  EXPECT_EQ(read, gdi::LOGFONTA());
  COleFont empty(nullptr);
  EXPECT_FALSE(SaveFontToProfile(&empty, section(u"\\Font").get()));
  EXPECT_FALSE(LoadFontFromProfile(&empty, section(u"\\Font").get()));
}

}  // namespace
