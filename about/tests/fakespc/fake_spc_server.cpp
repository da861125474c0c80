// A stand-in for the spectrum modules the about box asks: an in-process server of CLSID_Spc and
// CLSID_SpcModule2 whose objects answer ISpectrumControl's module questions with fixed values,
// as another module of the suite answers them (texts as BSTRs the caller frees, 16-bit version
// numbers). Everything else fails.
#include "about/tests/fakespc/fake_spc.h"
#include "common/guids.h"
#include "common/ispectrumcontrol.h"
#include "platform/com/server.h"

namespace fakespc {

namespace {

using namespace plat::ole;

struct Answers {
  const char16_t* name;  // null: handed out as a null BSTR
  const char16_t* date;
  std::int16_t hi, lo;
};

template <const Answers& A>
class FakeModule final : public ComObject {
 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  static Bstr Text(const char16_t* text) { return text ? allocString(text) : nullptr; }

  struct XControl : Nested<ISpectrumControl> {
    using Nested::Nested;
    HResult GetModuleName(Bstr* text) override { return *text = Text(A.name), S_OK; }
    HResult GetCreateDate(Bstr* date) override { return *date = Text(A.date), S_OK; }
    HResult GetVersion(std::int16_t* hi, std::int16_t* lo) override { return *hi = A.hi, *lo = A.lo, S_OK; }
    HResult GetCurMethod(Bstr*) override { return E_FAIL; }
    HResult GetCopyright(Bstr*) override { return E_FAIL; }
    HResult GetFileFormats(Bstr, Bstr*, Bstr*) override { return E_FAIL; }
    HResult LoadSpectrum(Bstr, std::int32_t) override { return E_FAIL; }
    HResult SaveSpectrum(Bstr, std::int32_t, std::int32_t, std::int32_t) override { return E_FAIL; }
    HResult GetFormat(std::int32_t, Bstr*, Bstr*, std::int32_t*) override { return E_FAIL; }
    HResult GetKindFormatCount(std::int32_t*) override { return E_FAIL; }
    HResult GetParamNames(Bstr*) override { return E_FAIL; }
    HResult GetParam(Bstr, Bstr*) override { return E_FAIL; }
    HResult SetParam(Bstr, Bstr) override { return E_FAIL; }
    HResult GetParamDescription(Bstr, Bstr*) override { return E_FAIL; }
    HResult ExecuteCommands(Bstr) override { return E_FAIL; }
    HResult GetMethods(Bstr*) override { return E_FAIL; }
    HResult GetData(SafeArray**) override { return E_FAIL; }
    HResult GetSpectraCount(Bstr, std::int32_t*) override { return E_FAIL; }
    HResult GetCount(std::int32_t*) override { return E_FAIL; }
    HResult GetCurIndex(std::int32_t*) override { return E_FAIL; }
    HResult SetCurIndex(std::int32_t) override { return E_FAIL; }
    HResult TakeResult(Variant*) override { return E_FAIL; }
    HResult GetSize(std::int32_t*) override { return E_FAIL; }
    HResult SetData(SafeArray*) override { return E_FAIL; }
  } xControl_{*this};

  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};

template <const Answers& A>
const ComObject::InterfaceEntry FakeModule<A>::kEntries[] = {
    interfaceEntry<ISpectrumControl, &FakeModule<A>::xControl_>(IID_ISpectrumControl)};
template <const Answers& A>
const ComObject::InterfaceMap FakeModule<A>::kMap{&ComObject::kInterfaceMap, kEntries};

constexpr Answers kControl{kControlName, kControlDate, kControlHi, kControlLo};
constexpr Answers kSecond{nullptr, nullptr, kSecondHi, kSecondLo};

const ClassEntry kClasses[] = {
    {&CLSID_Spc, &createObject<FakeModule<kControl>>, nullptr, "Fake spectrum control"},
    {&CLSID_SpcModule2, &createObject<FakeModule<kSecond>>, nullptr, "Fake second module"},
};
const ServerModule kModule{kClasses, {}, nullptr, nullptr};

}  // namespace

}  // namespace fakespc

KEDRUS_COM_SERVER(fakespc::kModule)
