// The sample in-process server: one automated control class with a custom interface, events
// and a type library, and one plain class, registered and created as the product's are.
#include <string>

#include "platform/base/text.h"
#include "platform/com/automation.h"
#include "platform/com/font.h"
#include "platform/com/server.h"
#include "platform/com/tests/sample/sample.h"

namespace sample {

using namespace plat::ole;
using plat::String16;

namespace {

int gStarts = 0;

extern const TypeLibDesc kSampleLib;
extern const CoClassDesc kSampleClass;

class Sample final : public AutomationObject {
 public:
  Sample() : AutomationObject(kSampleClass, &kSampleLib), xSample_(*this) {}
  ~Sample() override { releaseInterface(font_); }

  static const DispInterfaceDesc& Dispatch();
  static const DispInterfaceDesc& Events();

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  std::int32_t GetNumberProp() const { return number_; }
  void SetNumberProp(std::int32_t v) { number_ = v; }
  int GetEnabled() const { return enabled_; }
  void SetEnabled(int v) { enabled_ = v; }
  float GetRatio() const { return ratio_; }
  void SetRatio(float v) { ratio_ = v; }
  OleColor GetLineColor() const { return lineColor_; }
  void SetLineColor(OleColor v) { lineColor_ = v; }
  IDispatch* GetTextFont() const {
    if (font_) font_->AddRef();
    return font_;
  }
  void SetTextFont(IDispatch* font) {
    if (font) font->AddRef();
    releaseInterface(font_);
    font_ = font;
  }
  Bstr GetTitle() const { return allocString(title_); }
  void SetTitle(const char16_t* title) { title_ = stringView(title); }
  std::int32_t GetSecret() const { return secret_; }
  void SetSecret(std::int32_t v) { secret_ = v; }
  std::int32_t GetCount() const { return 3; }
  OleColor GetBackColor() const { return backColor_; }
  void SetBackColor(OleColor v) { backColor_ = v; }
  Bstr Describe(const char16_t* prefix, std::int32_t n) {
    return allocString(String16(stringView(prefix)) + plat::toUtf16(std::to_string(n)));
  }
  HResult Fail() { throwDispatchException(kSampleFailure, u"the sample failed", u"Sample"); }
  void FireChanged(const char16_t* text) {
    Variant arg;
    variantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstr = allocString(stringView(text));
    FireEvent(kChanged, {&arg, 1});
    variantClear(&arg);
  }
  void AboutBox() {}

  struct XSample : Nested<ISample> {
    using Nested::Nested;
    HResult GetNumber(std::int32_t* n) override {
      if (!n) return E_POINTER;
      *n = outer<Sample>().number_;
      return S_OK;
    }
    HResult SetNumber(std::int32_t n) override {
      outer<Sample>().number_ = n;
      return S_OK;
    }
    HResult GetModuleStarts(std::int32_t* starts) override {
      if (!starts) return E_POINTER;
      *starts = gStarts;
      return S_OK;
    }
  } xSample_;

  std::int32_t number_ = 0;
  int enabled_ = 0;
  float ratio_ = 0.0f;
  OleColor lineColor_ = 0;
  OleColor backColor_ = 0x00FFFFFF;
  IDispatch* font_ = nullptr;
  String16 title_;
  std::int32_t secret_ = 0;

  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};

const ComObject::InterfaceEntry Sample::kEntries[] = {interfaceEntry<ISample, &Sample::xSample_>(IID_ISample)};
const ComObject::InterfaceMap Sample::kMap{&ComObject::kInterfaceMap, kEntries};

const DispInterfaceDesc& Sample::Dispatch() {
  static constexpr DispEntry kMembers[] = {
      dispProperty<&Sample::GetNumberProp, &Sample::SetNumberProp>("Number", kNumber, DispType::I4),
      dispProperty<&Sample::GetEnabled, &Sample::SetEnabled>("Enabled", kEnabled, DispType::Bool),
      dispProperty<&Sample::GetRatio, &Sample::SetRatio>("Ratio", kRatio, DispType::R4),
      dispProperty<&Sample::GetLineColor, &Sample::SetLineColor>("LineColor", kLineColor, DispType::Color),
      dispProperty<&Sample::GetTextFont, &Sample::SetTextFont>("TextFont", kTextFont, DispType::Font),
      dispProperty<&Sample::GetTitle, &Sample::SetTitle>("Title", kTitle, DispType::Bstr),
      dispProperty<&Sample::GetSecret, &Sample::SetSecret>("Secret", kSecret, DispType::I4, kDispHidden),
      dispProperty<&Sample::GetCount>("Count", kCount, DispType::I4),
      dispProperty<&Sample::GetBackColor, &Sample::SetBackColor>("BackColor", kBackColor, DispType::Color,
                                                                  kDispDefault),
      dispMethod<&Sample::Describe>("Describe", kDescribe, DispType::Bstr,
                                    {{"prefix", DispType::Bstr}, {"n", DispType::I4}}),
      dispMethod<&Sample::Fail>("Fail", kFailMethod, DispType::Error),
      dispMethod<&Sample::FireChanged>("FireChanged", kFireChanged, DispType::Void, {{"text", DispType::Bstr}}),
      dispMethod<&Sample::AboutBox>("AboutBox", DISPID_ABOUTBOX, DispType::Void, {}, kDispHidden),
  };
  static constexpr DispInterfaceDesc kDesc{"_DSample", &DIID__DSample, "Dispatch interface for the sample", kMembers};
  return kDesc;
}

const DispInterfaceDesc& Sample::Events() {
  static constexpr DispEntry kMembers[] = {
      dispEvent("Changed", kChanged, {{"text", DispType::Bstr}}),
      dispEvent("Reset", kReset),
  };
  static constexpr DispInterfaceDesc kDesc{"_DSampleEvents", &DIID__DSampleEvents, "Event interface for the sample",
                                           kMembers};
  return kDesc;
}

// A class with no automation: what a property page's registration looks like.
class SamplePage final : public ComObject {};

const CoClassDesc kSampleClass{"Sample", &CLSID_Sample, "Sample Control", &Sample::Dispatch(), &Sample::Events(),
                               TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL};
const CoClassDesc* const kCoClasses[] = {&kSampleClass};
const DispInterfaceDesc* const kInterfaces[] = {&Sample::Dispatch(), &Sample::Events()};
const TypeLibDesc kSampleLib{"SampleLib", &LIBID_SampleLib, "Sample control module", 1, 0, 0x409, {},
                             kInterfaces, kCoClasses};

const ClassEntry kClasses[] = {
    {&CLSID_Sample, &createObject<Sample>, kSampleProgId, "Sample Control", ClassKind::Control,
     kRegInsertable | kRegApartmentThreading, kSampleMiscStatus, &kSampleLib, 1},
    {&CLSID_SamplePage, &createObject<SamplePage>, kSamplePageProgId, "Sample Property Page",
     ClassKind::PropertyPage},
};
const TypeLibDesc* const kLibraries[] = {&kSampleLib};

int startModule() {
  ++gStarts;
  return 1;
}

const ServerModule kModule{kClasses, kLibraries, &startModule, nullptr};

}  // namespace

}  // namespace sample

KEDRUS_COM_SERVER(sample::kModule)
