// The control's dispatch interface seen from outside: the members that name lookup and type
// information give, and each property put and read through Invoke, landing on the first draw
// object of its type (or the list), a missing object reading -1 or null.
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/guids.h"
#include "platform/base/text.h"
#include "platform/com/automation.h"
#include "platform/com/driver.h"
#include "platform/gdi/surface.h"
#include "platform/ui/testing.h"
#include "spectrum/control/control/tests/control_testing.h"
#include "spectrum/control/control/typelib.h"
#include "spectrum/control/labels/baseline.h"
#include "spectrum/control/labels/integrals.h"
#include "spectrum/control/labels/peaklabels.h"
#include "spectrum/control/labels/texts.h"
#include "spectrum/control/plot/axes.h"
#include "spectrum/control/plot/trace.h"

namespace nelvar_test {
namespace {

using namespace plat::ole;

// A member's value as text, so that one table can read fields of every kind.
std::string Text(std::int64_t v) { return std::to_string(v); }
std::string Text(const std::string& v) { return v; }
std::string Text(const gdi::LOGFONTA& f) { return std::string(f.lfFaceName) + "/" + std::to_string(f.lfHeight); }

enum class Kind { Color, Bool, I4, Font, Bstr };

struct Row {
  const char* name;
  DispId id;
  Kind kind;
  std::int32_t type;  // the draw object's type id; 0: the list's member
  std::string (*read)(CDrawObject* object, CDrawObjectList& list);
};

#define ON(Class, field) [](CDrawObject* o, CDrawObjectList&) { return Text(static_cast<Class*>(o)->field); }
#define ENABLED [](CDrawObject* o, CDrawObjectList&) { return Text(o->m_bEnabled); }
#define LIST(field) [](CDrawObject*, CDrawObjectList& l) { return Text(l.field); }

// The properties as the interface publishes them: name, dispatch id, type, and the member each
// one works on.
const Row kRows[] = {
    {"GridLineColor", 1, Kind::Color, kDrawGrid, ON(CGrid, m_linePen.lopnColor)},
    {"SpectrumLineColor", 2, Kind::Color, kDrawSpectrum, ON(CSpectrum, m_tracePen.lopnColor)},
    {"ScaleLineColor", 3, Kind::Color, kDrawScale, ON(CScale, m_axisPen.lopnColor)},
    {"ScaleTextColor", 4, Kind::Color, kDrawScale, ON(CScale, m_textColor)},
    {"TPeaksLineColor", 5, Kind::Color, kDrawTPeaks, ON(CTPeaks, m_linePen.lopnColor)},
    {"TPeaksTextColor", 6, Kind::Color, kDrawTPeaks, ON(CTPeaks, m_textColor)},
    {"IntegSumsLineColor", 7, Kind::Color, kDrawIntegSums, ON(CIntegSums, m_linePen.lopnColor)},
    {"IntegSumsTextColor", 8, Kind::Color, kDrawIntegSums, ON(CIntegSums, m_textColor)},
    {"ScaleEnable", 9, Kind::Bool, kDrawScale, ENABLED},
    {"ScaleUnits", 10, Kind::I4, kDrawScale, ON(CScale, m_nUnit)},
    {"ScaleFont", 11, Kind::Font, kDrawScale, ON(CScale, m_logFont)},
    {"SpectrumEnable", 12, Kind::Bool, kDrawSpectrum, ENABLED},
    {"BorderEnable", 13, Kind::Bool, kDrawBorder, ENABLED},
    {"BorderLineColor", 14, Kind::Color, kDrawBorder, ON(CBorder, m_linePen.lopnColor)},
    {"BorderLineWidth", 15, Kind::I4, kDrawBorder, ON(CBorder, m_linePen.lopnWidth.x)},
    {"ScaleLineWidth", 16, Kind::I4, kDrawScale, ON(CScale, m_axisPen.lopnWidth.x)},
    {"SpectrumLineWidth", 17, Kind::I4, kDrawSpectrum, ON(CSpectrum, m_tracePen.lopnWidth.x)},
    {"CursorColor", 18, Kind::Color, 0, LIST(m_CursorColor)},
    {"CursorType", 19, Kind::I4, 0, LIST(m_CursorType)},
    {"IntegralLineColor", 20, Kind::Color, kDrawIntegrals, ON(CIntegrals, m_linePen.lopnColor)},
    {"IntegralLineWidth", 21, Kind::I4, kDrawIntegrals, ON(CIntegrals, m_linePen.lopnWidth.x)},
    {"IntegralEnable", 22, Kind::Bool, kDrawIntegrals, ENABLED},
    {"TPeaksUnits", 23, Kind::I4, kDrawTPeaks, ON(CTPeaks, m_nUnit)},
    {"TPeaksFont", 24, Kind::Font, kDrawTPeaks, ON(CTPeaks, m_logFont)},
    {"TPeaksEnable", 25, Kind::Bool, kDrawTPeaks, ENABLED},
    {"TPeaksLineWidth", 26, Kind::I4, kDrawTPeaks, ON(CTPeaks, m_linePen.lopnWidth.x)},
    {"BaselineCircRadius", 27, Kind::I4, kDrawBaseline, ON(CBaseline, m_nCircleRadius)},
    {"IntegSumsLineWidth", 28, Kind::I4, kDrawIntegSums, ON(CIntegSums, m_linePen.lopnWidth.x)},
    {"IntegSumsEnable", 29, Kind::Bool, kDrawIntegSums, ENABLED},
    {"IntegSumsFont", 30, Kind::Font, kDrawIntegSums, ON(CIntegSums, m_logFont)},
    {"IntegSumsEscape", 31, Kind::I4, kDrawIntegSums, ON(CIntegSums, m_logFont.lfEscapement)},
    {"IntegSumsDigits", 32, Kind::I4, kDrawIntegSums, ON(CIntegSums, m_nDigits)},
    {"BaselineCircColor", 33, Kind::Color, kDrawBaseline, ON(CBaseline, m_circleColor)},
    {"BaselineLineColor", 34, Kind::Color, kDrawBaseline, ON(CBaseline, m_linePen.lopnColor)},
    {"BaselineLineWidth", 35, Kind::I4, kDrawBaseline, ON(CBaseline, m_linePen.lopnWidth.x)},
    {"BaselineEnable", 36, Kind::Bool, kDrawBaseline, ENABLED},
    {"DrawAlgorithm", 37, Kind::I4, kDrawSpectrum, ON(CSpectrum, m_nDrawAlgorithm)},
    {"TitleEnable", 38, Kind::Bool, kDrawTitle, ENABLED},
    {"TitleFont", 39, Kind::Font, kDrawTitle, ON(CTitle, m_logFont)},
    {"TitleColor", 40, Kind::Color, kDrawTitle, ON(CTitle, m_color)},
    {"TextColor", 41, Kind::Color, 0, LIST(m_TextColor)},
    {"TextFont", 42, Kind::Font, 0, LIST(m_TextFont)},
    {"TextEscape", 43, Kind::I4, 0, LIST(m_TextFont.lfEscapement)},
    {"TitlePosX", 44, Kind::I4, kDrawTitle, ON(CTitle, m_nPosX)},
    {"TitlePosY", 45, Kind::I4, kDrawTitle, ON(CTitle, m_nPosY)},
    {"TitleText", 46, Kind::Bstr, kDrawTitle, ON(CTitle, m_strText)},
    {"ScaleYLineColor", 47, Kind::Color, kDrawScaleY1, ON(CScaleY1, m_axisPen.lopnColor)},
    {"ScaleYTextColor", 48, Kind::Color, kDrawScaleY1, ON(CScaleY1, m_textColor)},
    {"ScaleYEnable", 49, Kind::Bool, kDrawScaleY1, ENABLED},
    {"ScaleYFont", 50, Kind::Font, kDrawScaleY1, ON(CScaleY1, m_logFont)},
    {"ScaleYLineWidth", 51, Kind::I4, kDrawScaleY1, ON(CScaleY1, m_axisPen.lopnWidth.x)},
    {"ZoomFont", 52, Kind::Font, kDrawSpectrum, ON(CSpectrum, m_zoomFont)},
    {"ZoomColor", 53, Kind::Color, kDrawSpectrum, ON(CSpectrum, m_zoomColor)},
    {"MPeaksTextColor", 54, Kind::Color, kDrawMPeaks, ON(CMPeaks, m_textColor)},
    {"MPeaksFont", 55, Kind::Font, kDrawMPeaks, ON(CMPeaks, m_logFont)},
    {"MPeaksEnable", 56, Kind::Bool, kDrawMPeaks, ENABLED},
    {"MPeaksUnits", 57, Kind::I4, kDrawMPeaks, ON(CMPeaks, m_nUnit)},
    {"TPeaksDigits", 58, Kind::I4, kDrawTPeaks, ON(CTPeaks, m_nDigits)},
    {"MPeaksDigits", 59, Kind::I4, kDrawMPeaks, ON(CMPeaks, m_nDigits)},
    {"BackColor", 60, Kind::Color, 0, LIST(m_bkBrush.lbColor)},
};

#undef ON
#undef ENABLED
#undef LIST

struct Method {
  const char* name;
  DispId id;
  VarType result;  // VT_EMPTY: none
};
const Method kMethods[] = {
    {"AboutBox", -552, VT_EMPTY},      {"GetCurMethod", 102, VT_BSTR},    {"GetModuleName", 103, VT_BSTR},
    {"GetCopyright", 117, VT_BSTR},    {"GetHiVersion", 118, VT_I2},      {"GetLowVersion", 119, VT_I2},
    {"GetCreateDate", 120, VT_BSTR},   {"GetAvailableUnits", 125, VT_I4},
};

// A type as the type information gives it: a VARIANT type, or the name of a referenced type
// (behind a pointer: "*" in front).
std::string TypeName(ITypeInfo* info, const TypeDesc& type) {
  if (type.vt == VT_PTR) return "*" + TypeName(info, *type.lptdesc);
  if (type.vt != VT_USERDEFINED) return std::to_string(type.vt);
  ITypeInfo* ref = nullptr;
  if (failed(info->GetRefTypeInfo(type.hreftype, &ref))) return "?";
  Bstr name = nullptr;
  ref->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  const std::string text = plat::toUtf8(stringView(name));
  freeString(name);
  ref->Release();
  return text;
}

std::string Expected(Kind kind) {
  switch (kind) {
    case Kind::Color: return "OLE_COLOR";
    case Kind::Bool: return std::to_string(VT_BOOL);
    case Kind::I4: return std::to_string(VT_I4);
    case Kind::Font: return "*IFontDisp";
    case Kind::Bstr: return std::to_string(VT_BSTR);
  }
  return {};
}

std::string MemberName(ITypeInfo* info, MemberId id) {
  Bstr name = nullptr;
  std::uint32_t count = 0;
  info->GetNames(id, &name, 1, &count);
  const std::string text = plat::toUtf8(stringView(name));
  freeString(name);
  return text;
}

class Dispatch : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    control = NewControl();
    GiveSpectrum(*control, 0);
    driver.attach(control->GetIDispatch(false));
  }
  void TearDown() override {
    driver.detach();
    ControlTest::TearDown();
  }

  Variant Get(DispId id) {
    Variant v;
    variantInit(&v);
    EXPECT_EQ(driver.getProperty(id, &v), S_OK);
    return v;
  }
  void Put(DispId id, const Variant& v) { EXPECT_EQ(driver.setProperty(id, v), S_OK); }

  // Paints once, so that a refresh shows as the cached picture gone.
  void Paint() {
    gdi::RasterSurface surface(200, 100);
    gdi::DC dc(surface);
    control->m_painter.OnDraw(dc, gdi::Rect(0, 0, 200, 100), {});
    ASSERT_TRUE(control->m_painter.HasCachedBitmap());
  }
  bool Refreshed() const { return !control->m_painter.HasCachedBitmap(); }

  CSpcControl* control = nullptr;
  DispatchDriver driver;
};

TEST_F(Dispatch, NamesIdsAndTypesAgreeBetweenNameLookupTypeInformationAndThePublishedTable) {
  ITypeInfo* info = nullptr;
  ASSERT_EQ(control->GetIDispatch(false)->GetTypeInfo(0, 0, &info), S_OK);
  TypeAttr* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, DIID__DSpcControl);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  ASSERT_EQ(attr->cVars, std::size(kRows));
  ASSERT_EQ(attr->cFuncs, std::size(kMethods));
  for (std::uint32_t i = 0; i < attr->cVars; ++i) {
    const Row& row = kRows[i];
    SCOPED_TRACE(row.name);
    DispId id = 0;
    ASSERT_EQ(driver.idOfName(plat::toUtf16(row.name), &id), S_OK);
    EXPECT_EQ(id, row.id);
    VarDesc* var = nullptr;
    ASSERT_EQ(info->GetVarDesc(i, &var), S_OK);
    EXPECT_EQ(var->memid, row.id);
    EXPECT_EQ(MemberName(info, var->memid), row.name);
    EXPECT_EQ(TypeName(info, var->elemdescVar.tdesc), Expected(row.kind));
    EXPECT_EQ(var->wVarFlags & (VARFLAG_FREADONLY | VARFLAG_FHIDDEN), 0);
    info->ReleaseVarDesc(var);
  }
  for (std::uint32_t i = 0; i < attr->cFuncs; ++i) {
    const Method& method = kMethods[i];
    SCOPED_TRACE(method.name);
    DispId id = 0;
    ASSERT_EQ(driver.idOfName(plat::toUtf16(method.name), &id), S_OK);
    EXPECT_EQ(id, method.id);
    FuncDesc* func = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &func), S_OK);
    EXPECT_EQ(func->memid, method.id);
    EXPECT_EQ(MemberName(info, func->memid), method.name);
    EXPECT_EQ(func->cParams, 0);
    EXPECT_EQ(func->elemdescFunc.tdesc.vt, method.result == VT_EMPTY ? VT_VOID : method.result);
    info->ReleaseFuncDesc(func);
  }
  info->ReleaseTypeAttr(attr);
  info->Release();
}

TEST_F(Dispatch, TheTypeLibraryDescribesTheControlClassAndItsEvent) {
  ITypeLib* lib = nullptr;
  ASSERT_EQ(createTypeLib(nelvar::SpcTypeLib(), &lib), S_OK);
  Bstr name = nullptr, doc = nullptr;
  ASSERT_EQ(lib->GetDocumentation(-1, &name, &doc, nullptr, nullptr), S_OK);
  EXPECT_EQ(plat::toUtf8(stringView(name)), "SpcLib");
  EXPECT_EQ(plat::toUtf8(stringView(doc)), "Orvane Spectrum OLE Control module");
  freeString(name);
  freeString(doc);
  LibAttr* libAttr = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&libAttr), S_OK);
  EXPECT_EQ(libAttr->lcid, 0x409u);
  EXPECT_EQ(libAttr->wMajorVerNum, 1);
  EXPECT_EQ(libAttr->wMinorVerNum, 0);
  lib->ReleaseTLibAttr(libAttr);

  ITypeInfo* events = nullptr;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(DIID__DSpcEvents, &events), S_OK);
  FuncDesc* fire = nullptr;
  ASSERT_EQ(events->GetFuncDesc(0, &fire), S_OK);
  EXPECT_EQ(fire->memid, 1);
  ASSERT_EQ(fire->cParams, 1);
  EXPECT_EQ(fire->lprgelemdescParam[0].tdesc.vt, VT_BSTR);
  Bstr names[2] = {};
  std::uint32_t count = 0;
  events->GetNames(1, names, 2, &count);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(plat::toUtf8(stringView(names[0])), "OnSpectrumLoad");
  EXPECT_EQ(plat::toUtf8(stringView(names[1])), "pszFileName");
  for (Bstr n : names) freeString(n);
  events->ReleaseFuncDesc(fire);
  events->Release();

  ITypeInfo* coclass = nullptr;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(CLSID_Spc, &coclass), S_OK);
  Bstr className = nullptr, classDoc = nullptr;
  coclass->GetDocumentation(MEMBERID_NIL, &className, &classDoc, nullptr, nullptr);
  EXPECT_EQ(plat::toUtf8(stringView(className)), "Spc");
  EXPECT_EQ(plat::toUtf8(stringView(classDoc)), "Orvane Spectrum Control");
  freeString(className);
  freeString(classDoc);
  coclass->Release();
  lib->Release();
}

// A font object over a record of its own, handed to a font property.
struct GivenFont {
  explicit GivenFont(int height) {
    record.lfHeight = height;
    std::snprintf(record.lfFaceName, sizeof record.lfFaceName, "Courier");
  }
  gdi::LOGFONTA record;
  COleFont font{&record};
};

TEST_F(Dispatch, EachPropertyPutAndReadThroughInvokeWorksOnTheFirstObjectOfItsType) {
  // A second object of every type shows that only the first is touched.
  for (const Row& row : kRows)
    for (int k = 0; row.type && k < 2 && !control->m_drawList.FindDrawObject(row.type, 1); ++k)
      control->m_drawList.GetDrawObject(row.type);
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    CDrawObject* first = row.type ? control->m_drawList.FindDrawObject(row.type, 0) : nullptr;
    CDrawObject* second = row.type ? control->m_drawList.FindDrawObject(row.type, 1) : nullptr;
    ASSERT_TRUE(!row.type || (first && second));
    const std::string secondBefore = second ? row.read(second, control->m_drawList) : "";
    Paint();

    Variant value;
    variantInit(&value);
    GivenFont given(17 + row.id);
    std::string expected;
    switch (row.kind) {
      case Kind::Color:
        value.vt = VT_I4;
        value.i32 = 0x00102030 + row.id;
        expected = std::to_string(value.i32);
        break;
      case Kind::I4:
        value.vt = VT_I4;
        value.i32 = 3 + row.id;
        expected = std::to_string(value.i32);
        break;
      case Kind::Bool: {
        const bool was = row.read(first, control->m_drawList) == "1";
        value.vt = VT_BOOL;
        value.boolean = was ? kVariantFalse : kVariantTrue;
        expected = was ? "0" : "1";
        break;
      }
      case Kind::Font:
        value.vt = VT_DISPATCH;
        value.dispatch = given.font.GetIDispatch(false);
        expected = "Courier/" + std::to_string(17 + row.id);
        break;
      case Kind::Bstr:
        value.vt = VT_BSTR;
        value.bstr = allocString(u"Sample title");
        expected = "Sample title";
        break;
    }
    Put(row.id, value);
    EXPECT_EQ(row.read(first, control->m_drawList), expected);
    if (second) {
      EXPECT_EQ(row.read(second, control->m_drawList), secondBefore);
    }
    // Cursor properties remake the cursors and leave the picture; every other put refreshes.
    EXPECT_EQ(Refreshed(), row.id != 18 && row.id != 19);

    Variant read = Get(row.id);
    switch (row.kind) {
      case Kind::Color:
      case Kind::I4:
        EXPECT_EQ(read.vt, VT_I4);
        // The unit properties read the unit the plot draws: a unit the record lacks is drawn in
        // the default one.
        if (row.id == 10 || row.id == 23 || row.id == 57) EXPECT_EQ(read.i32, control->m_drawList.UsableUnit(value.i32));
        else EXPECT_EQ(read.i32, value.i32);
        break;
      case Kind::Bool:
        EXPECT_EQ(read.vt, VT_BOOL);
        EXPECT_EQ(read.boolean, value.boolean);
        break;
      case Kind::Font: {
        // The object's own font, with a reference for the caller.
        ASSERT_EQ(read.vt, VT_DISPATCH);
        ASSERT_NE(read.dispatch, nullptr);
        DispatchDriver font(read.dispatch);
        DispId nameId = 0;
        ASSERT_EQ(font.idOfName(u"Name", &nameId), S_OK);
        Variant face;
        variantInit(&face);
        ASSERT_EQ(font.getProperty(nameId, &face), S_OK);
        EXPECT_EQ(plat::toUtf8(stringView(face.bstr)), "Courier");
        variantClear(&face);
        font.detach();
        break;
      }
      case Kind::Bstr:
        EXPECT_EQ(read.vt, VT_BSTR);
        EXPECT_EQ(plat::toUtf8(stringView(read.bstr)), expected);
        break;
    }
    variantClear(&read);
    if (row.kind != Kind::Font) variantClear(&value);
  }
  // The control's value is BackColor.
  Variant back = Get(DISPID_VALUE);
  EXPECT_EQ(back.vt, VT_I4);
  EXPECT_EQ(back.i32, 0x00102030 + 60);
  EXPECT_FALSE(control->IsModified());
}

TEST_F(Dispatch, CursorColorAndCursorTypeMakeThePlotCursorsAgainInTheCursorColour) {
  Variant value;
  variantInit(&value);
  value.vt = VT_I4;
  value.i32 = static_cast<std::int32_t>(gdi::RGB(0, 0, 255));
  Put(18, value);
  ASSERT_NE(control->m_cursors[0], nullptr);
  EXPECT_EQ(ui::testing::CursorColors(control->m_cursors[0]), std::set<gdi::COLORREF>{gdi::RGB(0, 0, 255)});
  // A new type makes them again too, still in the colour.
  control->m_drawList.m_CursorColor = gdi::RGB(255, 0, 0);
  value.i32 = 2;
  Put(19, value);
  EXPECT_EQ(control->m_drawList.m_CursorType, 2);
  ASSERT_NE(control->m_cursors[1], nullptr);
  EXPECT_EQ(ui::testing::CursorColors(control->m_cursors[1]), std::set<gdi::COLORREF>{gdi::RGB(255, 0, 0)});
}

TEST_F(Dispatch, APropertyWhoseObjectIsMissingReadsMinusOneOrNullAndItsPutDoesNothing) {
  for (const Row& row : kRows) {
    if (!row.type) continue;
    while (CDrawObject* object = control->m_drawList.FindDrawObject(row.type)) control->m_drawList.RemoveObject(object);
  }
  for (const Row& row : kRows) {
    if (!row.type) continue;
    SCOPED_TRACE(row.name);
    Paint();
    Variant read = Get(row.id);
    switch (row.kind) {
      case Kind::Color:
      case Kind::I4:
        EXPECT_EQ(read.vt, VT_I4);
        EXPECT_EQ(read.i32, -1);
        break;
      case Kind::Bool:
        // -1, which automation clients read as TRUE.
        EXPECT_EQ(read.vt, VT_BOOL);
        EXPECT_EQ(read.boolean, kVariantTrue);
        break;
      case Kind::Font:
        EXPECT_EQ(read.vt, VT_DISPATCH);
        EXPECT_EQ(read.dispatch, nullptr);
        break;
      case Kind::Bstr:
        EXPECT_EQ(read.vt, VT_BSTR);
        EXPECT_EQ(read.bstr, nullptr);
        break;
    }
    Variant value;
    variantInit(&value);
    GivenFont given(30);
    if (row.kind == Kind::Font) {
      value.vt = VT_DISPATCH;
      value.dispatch = given.font.GetIDispatch(false);
    } else if (row.kind == Kind::Bstr) {
      value.vt = VT_BSTR;
      value.bstr = allocString(u"lost");
    } else {
      value.vt = VT_I4;
      value.i32 = 5;
    }
    Put(row.id, value);
    EXPECT_EQ(control->m_drawList.FindDrawObject(row.type), nullptr);
    EXPECT_FALSE(Refreshed());
    if (row.kind == Kind::Bstr) variantClear(&value);
  }
}

TEST_F(Dispatch, TheMethodsForwardToTheCustomInterfaceAndTheProcessing) {
  Variant result;
  variantInit(&result);
  ASSERT_EQ(driver.invoke(102, DISPATCH_METHOD, {}, &result), S_OK);
  ASSERT_EQ(result.vt, VT_BSTR);
  EXPECT_EQ(plat::toUtf8(stringView(result.bstr)), "NMR");
  variantClear(&result);
  ASSERT_EQ(driver.invoke(125, DISPATCH_METHOD, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(static_cast<std::uint32_t>(result.i32), control->m_process.GetAvailableUnits());
  EXPECT_NE(result.i32, 0);
  ASSERT_EQ(driver.invoke(DISPID_ABOUTBOX, DISPATCH_METHOD, {}, &result), S_OK);

  // The version halves are the two halves of what the custom interface answers.
  std::int16_t hi = 0, lo = 0;
  const bool versioned = succeeded(control->SpectrumControl()->GetVersion(&hi, &lo));
  EXPECT_EQ(control->GetHiVersion(), versioned ? hi : 0);
  EXPECT_EQ(control->GetLowVersion(), versioned ? lo : 0);

  // A kind outside the kind table has no method name: a null string.
  control->m_data.nKind = 99;
  ASSERT_EQ(driver.invoke(102, DISPATCH_METHOD, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_BSTR);
  EXPECT_EQ(result.bstr, nullptr);
}

// A sink of the control's event: records each call's id and its one text argument.
class EventSink final : public ComObject {
 public:
  std::vector<std::pair<DispId, std::string>> calls;
  IUnknown* unknown() { return GetUnknown(); }

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  struct XEvents : Nested<IDispatch> {
    using Nested::Nested;
    HResult Invoke(DispId id, const Guid&, Lcid, plat::Word, DispParams* params, Variant*, ExcepInfo*,
                   std::uint32_t*) override {
      std::string text = "?";
      if (params && params->cArgs == 1 && params->rgvarg[0].vt == VT_BSTR)
        text = plat::toUtf8(stringView(params->rgvarg[0].bstr));
      outer<EventSink>().calls.emplace_back(id, text);
      return S_OK;
    }
  } xEvents_{*this};
  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};
const ComObject::InterfaceEntry EventSink::kEntries[] = {
    interfaceEntry<IDispatch, &EventSink::xEvents_>(DIID__DSpcEvents)};
const ComObject::InterfaceMap EventSink::kMap{&ComObject::kInterfaceMap, kEntries};

TEST_F(Dispatch, OnSpectrumLoadReachesTheConnectedSinksWithThePath) {
  IProvideClassInfo2* classInfo = nullptr;
  ASSERT_EQ(control->GetIDispatch(false)->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&classInfo)),
            S_OK);
  Guid source{};
  EXPECT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
  EXPECT_EQ(source, DIID__DSpcEvents);
  classInfo->Release();

  IConnectionPointContainer* container = nullptr;
  ASSERT_EQ(control->GetIDispatch(false)->QueryInterface(IID_IConnectionPointContainer,
                                                         reinterpret_cast<void**>(&container)),
            S_OK);
  IConnectionPoint* point = nullptr;
  ASSERT_EQ(container->FindConnectionPoint(DIID__DSpcEvents, &point), S_OK);
  auto* sink = new EventSink;
  plat::DWord cookie = 0;
  ASSERT_EQ(point->Advise(sink->unknown(), &cookie), S_OK);
  control->FireOnSpectrumLoad("/data/ethyl acetate.dx");
  EXPECT_EQ(sink->calls, (std::vector<std::pair<DispId, std::string>>{{1, "/data/ethyl acetate.dx"}}));
  point->Unadvise(cookie);
  point->Release();
  container->Release();
  sink->Release();
}

}  // namespace
}  // namespace nelvar_test
