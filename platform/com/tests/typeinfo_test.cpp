// Type information read back from the same table the object dispatches through, from the
// registered library loaded by its id and version.
#include "platform/com/automation.h"
#include "platform/com/font.h"
#include "platform/com/tests/com_fixture.h"
#include "platform/com/typelib.h"

namespace comtest {
namespace {

using namespace sample;

// One member as a client reads it.
struct Member {
  std::string name;
  DispId id;
  VarType vt;
  Word flags;
  bool operator==(const Member&) const = default;
};

std::string text(Bstr s) {
  const std::string out = plat::toUtf8(stringView(s));
  freeString(s);
  return out;
}

std::string nameOf(ITypeInfo* info, MemberId id) {
  Bstr name = nullptr;
  EXPECT_EQ(info->GetDocumentation(id, &name, nullptr, nullptr, nullptr), S_OK);
  return text(name);
}

// The type a description refers to through an HRefType, and its attributes.
struct Referenced {
  Ref<ITypeInfo> info;
  TypeAttr attr;
};
Referenced referenced(ITypeInfo* from, const TypeDesc& desc) {
  Referenced r;
  EXPECT_EQ(desc.vt, VT_USERDEFINED);
  EXPECT_EQ(from->GetRefTypeInfo(desc.hreftype, r.info.put()), S_OK);
  if (!r.info) return r;
  TypeAttr* a = nullptr;
  EXPECT_EQ(r.info->GetTypeAttr(&a), S_OK);
  r.attr = *a;
  r.info->ReleaseTypeAttr(a);
  return r;
}

class TypeInformation : public SampleSuite {
 protected:
  void SetUp() override {
    Ref<IDispatch> object = createSample<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(object);
    std::uint32_t count = 0;
    ASSERT_EQ(object->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ASSERT_EQ(object->GetTypeInfo(0, 0x409, info_.put()), S_OK);
    ASSERT_EQ(object->GetTypeInfo(1, 0, nullptr), E_POINTER);
    Ref<ITypeInfo> none;
    EXPECT_EQ(object->GetTypeInfo(1, 0, none.put()), DISP_E_BADINDEX);
  }
  Ref<ITypeInfo> info_;
};

TEST_F(TypeInformation, TheDispatchInterfaceDescribesItsTable) {
  TypeAttr* attr = nullptr;
  ASSERT_EQ(info_->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, DIID__DSample);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_EQ(attr->lcid, 0x409u);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDISPATCHABLE);
  const Word vars = attr->cVars, funcs = attr->cFuncs;
  info_->ReleaseTypeAttr(attr);
  EXPECT_EQ(nameOf(info_.get(), MEMBERID_NIL), "_DSample");

  // Properties are variables, in table order, with their ids, types and flags.
  std::vector<Member> properties;
  for (Word i = 0; i < vars; ++i) {
    VarDesc* v = nullptr;
    ASSERT_EQ(info_->GetVarDesc(i, &v), S_OK);
    EXPECT_EQ(v->varkind, VAR_DISPATCH);
    properties.push_back({nameOf(info_.get(), v->memid), v->memid, v->elemdescVar.tdesc.vt, v->wVarFlags});
    info_->ReleaseVarDesc(v);
  }
  const std::vector<Member> expected = {
      {"Number", kNumber, VT_I4, 0},          {"Enabled", kEnabled, VT_BOOL, 0},
      {"Ratio", kRatio, VT_R4, 0},            {"LineColor", kLineColor, VT_USERDEFINED, 0},
      {"TextFont", kTextFont, VT_PTR, 0},     {"Title", kTitle, VT_BSTR, 0},
      {"Secret", kSecret, VT_I4, VARFLAG_FHIDDEN}, {"Count", kCount, VT_I4, VARFLAG_FREADONLY},
      {"BackColor", kBackColor, VT_USERDEFINED, 0},
  };
  EXPECT_EQ(properties, expected);
  VarDesc* past = nullptr;
  EXPECT_EQ(info_->GetVarDesc(vars, &past), TYPE_E_ELEMENTNOTFOUND);

  // Methods are functions with their parameters' names and types.
  ASSERT_EQ(funcs, 4);
  FuncDesc* f = nullptr;
  ASSERT_EQ(info_->GetFuncDesc(0, &f), S_OK);
  EXPECT_EQ(f->memid, kDescribe);
  EXPECT_EQ(f->funckind, FUNC_DISPATCH);
  EXPECT_EQ(f->invkind, INVOKE_FUNC);
  ASSERT_EQ(f->cParams, 2);
  EXPECT_EQ(f->lprgelemdescParam[0].tdesc.vt, VT_BSTR);
  EXPECT_EQ(f->lprgelemdescParam[1].tdesc.vt, VT_I4);
  EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_BSTR);
  info_->ReleaseFuncDesc(f);
  Bstr names[4] = {};
  std::uint32_t count = 0;
  ASSERT_EQ(info_->GetNames(kDescribe, names, 4, &count), S_OK);
  ASSERT_EQ(count, 3u);
  EXPECT_EQ(text(names[0]), "Describe");
  EXPECT_EQ(text(names[1]), "prefix");
  EXPECT_EQ(text(names[2]), "n");
  ASSERT_EQ(info_->GetFuncDesc(3, &f), S_OK);
  EXPECT_EQ(f->memid, DISPID_ABOUTBOX);
  EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_VOID);
  EXPECT_EQ(f->wFuncFlags, FUNCFLAG_FHIDDEN);
  info_->ReleaseFuncDesc(f);

  // Names map to the ids the object dispatches.
  const char16_t* lookup[] = {u"title"};
  MemberId id = 0;
  ASSERT_EQ(info_->GetIDsOfNames(lookup, 1, &id), S_OK);
  EXPECT_EQ(id, kTitle);
}

TEST_F(TypeInformation, ColourAndFontReferToTheStandardTypes) {
  VarDesc* color = nullptr;
  ASSERT_EQ(info_->GetVarDesc(3, &color), S_OK);
  const Referenced oleColor = referenced(info_.get(), color->elemdescVar.tdesc);
  info_->ReleaseVarDesc(color);
  ASSERT_TRUE(oleColor.info);
  EXPECT_EQ(oleColor.attr.guid, GUID_OLE_COLOR);
  EXPECT_EQ(oleColor.attr.typekind, TKIND_ALIAS);
  EXPECT_EQ(oleColor.attr.tdescAlias.vt, VT_UI4);
  EXPECT_EQ(nameOf(oleColor.info.get(), MEMBERID_NIL), "OLE_COLOR");

  VarDesc* font = nullptr;
  ASSERT_EQ(info_->GetVarDesc(4, &font), S_OK);
  ASSERT_EQ(font->elemdescVar.tdesc.vt, VT_PTR);
  const Referenced fontDisp = referenced(info_.get(), *font->elemdescVar.tdesc.lptdesc);
  info_->ReleaseVarDesc(font);
  ASSERT_TRUE(fontDisp.info);
  EXPECT_EQ(fontDisp.attr.guid, IID_IFontDisp);
  EXPECT_EQ(fontDisp.attr.typekind, TKIND_DISPATCH);
  EXPECT_EQ(fontDisp.attr.cVars, 8);
  EXPECT_EQ(nameOf(fontDisp.info.get(), DISPID_FONT_SIZE), "Size");

  // Both live in the standard library, which is built in.
  Ref<ITypeLib> standard;
  std::uint32_t index = 99;
  ASSERT_EQ(fontDisp.info->GetContainingTypeLib(standard.put(), &index), S_OK);
  LibAttr* lib = nullptr;
  ASSERT_EQ(standard->GetLibAttr(&lib), S_OK);
  EXPECT_EQ(lib->guid, LIBID_StdOle);
  EXPECT_EQ(lib->wMajorVerNum, 2);
  standard->ReleaseTLibAttr(lib);
  Ref<ITypeLib> loaded;
  EXPECT_EQ(loadRegTypeLib(LIBID_StdOle, 2, 0, 0, loaded.put()), S_OK);
  Ref<ITypeInfo> bad;
  EXPECT_EQ(info_->GetRefTypeInfo(77, bad.put()), TYPE_E_ELEMENTNOTFOUND);
}

TEST_F(TypeInformation, ClassInfoNamesTheCoclassAndItsEventInterface) {
  Ref<IProvideClassInfo2> classInfo = createSample<IProvideClassInfo2>(IID_IProvideClassInfo2);
  ASSERT_TRUE(classInfo);
  Guid events;
  ASSERT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  EXPECT_EQ(events, DIID__DSampleEvents);
  EXPECT_EQ(classInfo->GetGUID(2, &events), E_INVALIDARG);

  Ref<ITypeInfo> coclass;
  ASSERT_EQ(classInfo->GetClassInfo(coclass.put()), S_OK);
  TypeAttr* attr = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, CLSID_Sample);
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  EXPECT_EQ(attr->wTypeFlags, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL);
  ASSERT_EQ(attr->cImplTypes, 2);
  coclass->ReleaseTypeAttr(attr);

  const std::pair<Guid, std::int32_t> expected[] = {{DIID__DSample, IMPLTYPEFLAG_FDEFAULT},
                                                    {DIID__DSampleEvents, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
  for (std::uint32_t i = 0; i < 2; ++i) {
    std::int32_t flags = 0;
    ASSERT_EQ(coclass->GetImplTypeFlags(i, &flags), S_OK);
    EXPECT_EQ(flags, expected[i].second);
    HRefType ref = 0;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(i, &ref), S_OK);
    TypeDesc desc;
    desc.vt = VT_USERDEFINED;
    desc.hreftype = ref;
    EXPECT_EQ(referenced(coclass.get(), desc).attr.guid, expected[i].first);
  }
  HRefType ref = 0;
  EXPECT_EQ(coclass->GetRefTypeOfImplType(2, &ref), TYPE_E_ELEMENTNOTFOUND);

  // The events are functions of the event interface.
  Ref<ITypeLib> lib;
  ASSERT_EQ(coclass->GetContainingTypeLib(lib.put(), nullptr), S_OK);
  Ref<ITypeInfo> eventInfo;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(DIID__DSampleEvents, eventInfo.put()), S_OK);
  Bstr names[2] = {};
  std::uint32_t count = 0;
  ASSERT_EQ(eventInfo->GetNames(kChanged, names, 2, &count), S_OK);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(text(names[0]), "Changed");
  EXPECT_EQ(text(names[1]), "text");
  Bstr libName = nullptr, help = nullptr;
  ASSERT_EQ(lib->GetDocumentation(-1, &libName, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(text(libName), "SampleLib");
  EXPECT_EQ(text(help), "Sample control module");
  std::int32_t found = 0;
  char16_t member[] = u"FIRECHANGED";
  ASSERT_EQ(lib->IsName(member, 0, &found), S_OK);
  EXPECT_EQ(found, 1);
}

TEST_F(TypeInformation, TheLibraryIsLoadedByIdAndVersion) {
  Ref<ITypeLib> lib;
  EXPECT_EQ(loadRegTypeLib(LIBID_SampleLib, 1, 0, 0x409, lib.put()), S_OK);
  EXPECT_EQ(loadRegTypeLib(LIBID_SampleLib, 1, 0, 0x407, lib.put()), S_OK);  // any locale will do
  EXPECT_EQ(loadRegTypeLib(LIBID_SampleLib, 0, 184, 0x409, lib.put()), TYPE_E_LIBNOTREGISTERED);
  EXPECT_EQ(loadRegTypeLib(LIBID_SampleLib, 1, 1, 0x409, lib.put()), TYPE_E_LIBNOTREGISTERED);
  EXPECT_EQ(loadRegTypeLib(LIBID_SampleLib, 2, 0, 0x409, lib.put()), TYPE_E_LIBNOTREGISTERED);
  EXPECT_FALSE(lib);
}

// Versions registered by hand: the same major number, the asked minor number, else the highest
// above it; version keys are hexadecimal.
TEST(TypeLibraryVersions, LoadingPicksTheVersionThePublishedRuleGives) {
  const Guid libid = guid("{5A1D0E55-0000-4000-8000-0000000001B0}");
  const std::u16string key = u"TypeLib\\" + guidToString(libid);
  for (const char16_t* version : {u"1.2", u"1.a", u"2.0", u"junk"}) {
    const plat::String16 path = u"/lib/v" + plat::String16(version);
    ASSERT_EQ(regkeys::writeKey(reg::kClassesRoot, key + u"\\" + version + u"\\0\\linux", &path), reg::Status::Success);
  }
  const plat::String16 english = u"/lib/english";
  ASSERT_EQ(regkeys::writeKey(reg::kClassesRoot, key + u"\\1.2\\9\\linux", &english), reg::Status::Success);
  auto pathFor = [&](Word major, Word minor, Lcid lcid) {
    std::string path;
    const HResult hr = queryPathOfRegTypeLib(libid, major, minor, lcid, &path);
    return failed(hr) ? std::string("none") : path;
  };
  EXPECT_EQ(pathFor(1, 2, 0), "/lib/v1.2");
  EXPECT_EQ(pathFor(1, 0, 0), "/lib/v1.a");
  EXPECT_EQ(pathFor(1, 3, 0), "/lib/v1.a");
  EXPECT_EQ(pathFor(1, 10, 0), "/lib/v1.a");
  EXPECT_EQ(pathFor(1, 11, 0), "none");
  EXPECT_EQ(pathFor(2, 0, 0), "/lib/v2.0");
  EXPECT_EQ(pathFor(0, 184, 0), "none");
  EXPECT_EQ(pathFor(1, 2, 0x409), "/lib/english");  // the primary language before neutral
  ASSERT_EQ(regkeys::deleteTree(reg::kClassesRoot, key), reg::Status::Success);
  EXPECT_EQ(pathFor(2, 0, 0), "none");
}

TEST(TypeLibraryVersions, AnInterfaceOutsideAnyLibraryStillDescribesItself) {
  Ref<ITypeInfo> info;
  ASSERT_EQ(createTypeInfo(fontDispInterface(), info.put()), S_OK);
  VarDesc* size = nullptr;
  ASSERT_EQ(info->GetVarDesc(1, &size), S_OK);
  EXPECT_EQ(size->memid, DISPID_FONT_SIZE);
  EXPECT_EQ(size->elemdescVar.tdesc.vt, VT_CY);
  info->ReleaseVarDesc(size);
}

}  // namespace
}  // namespace comtest
