// Dispatch by name and by id, with argument conversion and a raised exception, on the sample
// created through its module.
#include "platform/com/driver.h"
#include "platform/com/font.h"
#include "platform/com/tests/com_fixture.h"

namespace comtest {
namespace {

using namespace sample;

class Dispatch : public SampleSuite {
 protected:
  void SetUp() override {
    object_ = createSample<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(object_);
    driver_.attach(object_.get());
  }
  void TearDown() override {
    driver_.detach();
    object_.reset();
  }

  // Puts value, then reads the property back.
  HResult put(DispId id, const Variant& value) { return driver_.setProperty(id, value); }
  HResult get(DispId id, Var& out) { return driver_.getProperty(id, &out.v); }
  std::int32_t getI4(DispId id) {
    Var v;
    EXPECT_EQ(get(id, v), S_OK);
    EXPECT_EQ(v.v.vt, VT_I4);
    return v.v.i32;
  }

  // A raw Invoke with the arguments already in rgvarg order.
  HResult invoke(DispId id, Word flags, std::vector<Variant> rgvarg, std::vector<DispId> named, Variant* result,
                 std::uint32_t* argErr = nullptr, ExcepInfo* info = nullptr) {
    DispParams p;
    p.rgvarg = rgvarg.empty() ? nullptr : rgvarg.data();
    p.cArgs = std::uint32_t(rgvarg.size());
    p.rgdispidNamedArgs = named.empty() ? nullptr : named.data();
    p.cNamedArgs = std::uint32_t(named.size());
    std::uint32_t err = 99;
    if (result) variantClear(result);  // the caller frees what a result held
    return object_->Invoke(id, IID_NULL, 0, flags, &p, result, info, argErr ? argErr : &err);
  }

  Ref<IDispatch> object_;
  DispatchDriver driver_;
};

Variant i4(std::int32_t n) {
  Variant v;
  variantInit(&v);
  v.vt = VT_I4;
  v.i32 = n;
  return v;
}

TEST_F(Dispatch, NamesAreFoundWithoutRegardToCase) {
  DispId id = 0;
  for (const char16_t* name : {u"Number", u"number", u"NUMBER"}) {
    ASSERT_EQ(driver_.idOfName(name, &id), S_OK);
    EXPECT_EQ(id, kNumber);
  }
  ASSERT_EQ(driver_.idOfName(u"backcolor", &id), S_OK);
  EXPECT_EQ(id, kBackColor);
  // By name: the id found for a name in any case reaches the property.
  ASSERT_EQ(driver_.idOfName(u"tItLe", &id), S_OK);
  Var title;
  setBstr(title, u"By name");
  ASSERT_EQ(put(id, title.v), S_OK);
  Var back;
  ASSERT_EQ(get(kTitle, back), S_OK);
  EXPECT_EQ(stringView(back.v.bstr), u"By name");

  const char16_t* withParams[] = {u"DESCRIBE", u"N", u"prefix"};
  DispId ids[3] = {};
  ASSERT_EQ(object_->GetIDsOfNames(IID_NULL, withParams, 3, 0, ids), S_OK);
  EXPECT_EQ(ids[0], kDescribe);
  EXPECT_EQ(ids[1], 1);
  EXPECT_EQ(ids[2], 0);

  const char16_t* unknownParam[] = {u"Describe", u"count"};
  ASSERT_EQ(object_->GetIDsOfNames(IID_NULL, unknownParam, 2, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], kDescribe);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  EXPECT_EQ(driver_.idOfName(u"Numbers", &id), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(id, DISPID_UNKNOWN);
  const char16_t* one[] = {u"Number"};
  EXPECT_EQ(object_->GetIDsOfNames(sample::IID_ISample, one, 1, 0, ids), DISP_E_UNKNOWNINTERFACE);
}

TEST_F(Dispatch, PropertiesByIdConvertTheirArguments) {
  Var v;
  setBstr(v, u" 42 ");
  ASSERT_EQ(put(kNumber, v.v), S_OK);
  EXPECT_EQ(getI4(kNumber), 42);
  variantClear(&v.v);
  v.v.vt = VT_R8;
  v.v.r8 = 2.5;  // halves go to the even neighbour
  ASSERT_EQ(put(kNumber, v.v), S_OK);
  EXPECT_EQ(getI4(kNumber), 2);
  setBstr(v, u"forty");
  EXPECT_EQ(put(kNumber, v.v), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(driver_.argumentError(), 0u);
  variantClear(&v.v);
  v.v.vt = VT_R8;
  v.v.r8 = 1e12;
  EXPECT_EQ(put(kNumber, v.v), DISP_E_OVERFLOW);
  EXPECT_EQ(getI4(kNumber), 2);  // a refused put changes nothing

  // Booleans go out as VARIANT_TRUE for any nonzero value.
  ASSERT_EQ(put(kEnabled, i4(5)), S_OK);
  Var b;
  ASSERT_EQ(get(kEnabled, b), S_OK);
  EXPECT_EQ(b.v.vt, VT_BOOL);
  EXPECT_EQ(b.v.boolean, kVariantTrue);

  setBstr(v, u"1.5");
  ASSERT_EQ(put(kRatio, v.v), S_OK);
  Var r;
  ASSERT_EQ(get(kRatio, r), S_OK);
  EXPECT_EQ(r.v.vt, VT_R4);
  EXPECT_EQ(r.v.r4, 1.5f);

  // An OLE_COLOR takes any 32-bit value, signed or unsigned, and travels as VT_I4.
  variantClear(&v.v);
  v.v.vt = VT_UI4;
  v.v.u32 = 0x80000005u;
  ASSERT_EQ(put(kLineColor, v.v), S_OK);
  EXPECT_EQ(static_cast<std::uint32_t>(getI4(kLineColor)), 0x80000005u);
  ASSERT_EQ(put(kLineColor, i4(0x00FFB400)), S_OK);
  EXPECT_EQ(getI4(kLineColor), 0x00FFB400);
  variantClear(&v.v);
  v.v.vt = VT_I8;
  v.v.i64 = 0x100000000LL;
  EXPECT_EQ(put(kLineColor, v.v), DISP_E_OVERFLOW);

  setBstr(v, u"A title");
  ASSERT_EQ(put(kTitle, v.v), S_OK);
  Var t;
  ASSERT_EQ(get(kTitle, t), S_OK);
  ASSERT_EQ(t.v.vt, VT_BSTR);
  EXPECT_EQ(stringView(t.v.bstr), u"A title");

  // An argument passed by reference is read through it.
  std::int32_t target = 17;
  Variant byRef;
  variantInit(&byRef);
  byRef.vt = VT_I4 | VT_BYREF;
  byRef.byref = &target;
  ASSERT_EQ(put(kNumber, byRef), S_OK);
  EXPECT_EQ(getI4(kNumber), 17);

  // The object's value (DISPID_VALUE) is its default property.
  ASSERT_EQ(put(kBackColor, i4(0x0000C0)), S_OK);
  EXPECT_EQ(getI4(DISPID_VALUE), 0x0000C0);
}

TEST_F(Dispatch, AFontPropertyHoldsTheInterfaceItIsGiven) {
  Ref<IDispatch> font = createSample<IDispatch>(IID_IDispatch);  // any dispatch object will do
  Var v;
  v.v.vt = VT_DISPATCH;
  v.v.dispatch = font.get();
  font->AddRef();
  ASSERT_EQ(put(kTextFont, v.v), S_OK);
  Var back;
  ASSERT_EQ(get(kTextFont, back), S_OK);
  ASSERT_EQ(back.v.vt, VT_DISPATCH);
  EXPECT_EQ(back.v.dispatch, font.get());
  setI4(v, 3);
  EXPECT_EQ(put(kTextFont, v.v), DISP_E_TYPEMISMATCH);
}

TEST_F(Dispatch, InvokeFollowsThePublishedRules) {
  Var result;
  Var arg;
  setBstr(arg, u"n=");
  // Arguments arrive last first.
  ASSERT_EQ(invoke(kDescribe, DISPATCH_METHOD, {i4(7), arg.v}, {}, &result.v), S_OK);
  ASSERT_EQ(result.v.vt, VT_BSTR);
  EXPECT_EQ(stringView(result.v.bstr), u"n=7");
  // A result nobody wants is freed by the object.
  ASSERT_EQ(invoke(kDescribe, DISPATCH_METHOD, {i4(7), arg.v}, {}, nullptr), S_OK);

  std::uint32_t argErr = 99;
  Var bad;
  setBstr(bad, u"seven");
  EXPECT_EQ(invoke(kDescribe, DISPATCH_METHOD, {bad.v, arg.v}, {}, &result.v, &argErr), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argErr, 0u);  // the second parameter is rgvarg[0]
  EXPECT_EQ(invoke(kDescribe, DISPATCH_METHOD, {arg.v}, {}, &result.v), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(kDescribe, DISPATCH_METHOD, {i4(7), arg.v}, {0}, &result.v), DISP_E_NONAMEDARGS);
  EXPECT_EQ(invoke(kDescribe, DISPATCH_PROPERTYGET, {i4(7), arg.v}, {}, &result.v), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(invoke(999, DISPATCH_METHOD, {}, {}, &result.v), DISP_E_MEMBERNOTFOUND);

  EXPECT_EQ(invoke(kNumber, DISPATCH_PROPERTYGET, {i4(1)}, {}, &result.v), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(kNumber, DISPATCH_PROPERTYPUT, {i4(1)}, {}, nullptr), DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(invoke(kNumber, DISPATCH_PROPERTYPUT, {i4(1), i4(2)}, {DISPID_PROPERTYPUT}, nullptr), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(kNumber, DISPATCH_METHOD, {}, {}, &result.v), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(invoke(kCount, DISPATCH_PROPERTYPUT, {i4(1)}, {DISPID_PROPERTYPUT}, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(getI4(kCount), 3);
  // Read through either flag combination a client may send.
  ASSERT_EQ(invoke(kCount, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, {}, &result.v), S_OK);
  EXPECT_EQ(result.v.i32, 3);

  DispParams empty;
  EXPECT_EQ(object_->Invoke(kCount, sample::IID_ISample, 0, DISPATCH_PROPERTYGET, &empty, &result.v, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
  DispParams lying;
  lying.cArgs = 2;  // and no arguments behind the count
  EXPECT_EQ(object_->Invoke(kCount, IID_NULL, 0, DISPATCH_PROPERTYGET, &lying, &result.v, nullptr, nullptr), E_INVALIDARG);
}

TEST_F(Dispatch, ARaisedExceptionIsReportedThroughExcepInfo) {
  ExcepInfo info;
  Var result;
  ASSERT_EQ(invoke(kFailMethod, DISPATCH_METHOD, {}, {}, &result.v, nullptr, &info), DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, kSampleFailure);
  EXPECT_EQ(stringView(info.bstrDescription), u"the sample failed");
  EXPECT_EQ(stringView(info.bstrSource), u"Sample");
  EXPECT_EQ(result.v.vt, VT_EMPTY);
  freeString(info.bstrDescription);
  freeString(info.bstrSource);
  freeString(info.bstrHelpFile);

  EXPECT_EQ(invoke(kFailMethod, DISPATCH_METHOD, {}, {}, nullptr), DISP_E_EXCEPTION);  // without ExcepInfo too
  EXPECT_EQ(driver_.invoke(kFailMethod, DISPATCH_METHOD, {}, nullptr), DISP_E_EXCEPTION);
  EXPECT_EQ(driver_.exception().scode, kSampleFailure);
  EXPECT_EQ(driver_.exception().description, u"the sample failed");
}

}  // namespace
}  // namespace comtest
