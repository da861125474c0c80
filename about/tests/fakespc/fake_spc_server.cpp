// A stand-in for the spectrum modules the about box asks: an in-process server of CLSID_Spc and
// CLSID_SpcModule2 whose objects answer ISpectrumControl's module questions with fixed values,
// as another module of the suite answers them (texts as BSTRs the caller frees, 16-bit version
// numbers). Everything else fails, as the failing base has it.
#include "about/tests/fakespc/fake_spc.h"
#include "common/guids.h"
#include "common/tests/failing_spectrum_control.h"
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

  struct XControl : Nested<FailingSpectrumControl> {
    using Nested::Nested;
    HResult GetModuleName(Bstr* text) override { return *text = Text(A.name), S_OK; }
    HResult GetCreateDate(Bstr* date) override { return *date = Text(A.date), S_OK; }
    HResult GetVersion(std::int16_t* hi, std::int16_t* lo) override { return *hi = A.hi, *lo = A.lo, S_OK; }
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
