#pragma once
// Shared pieces of the component tests: the sample server registered in the test's sandbox
// registry, an owning interface pointer and owning VARIANTs.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/base/module.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/com/library.h"
#include "platform/com/regkeys.h"
#include "platform/com/tests/sample/sample.h"

namespace comtest {

using namespace plat::ole;
namespace reg = plat::reg;
using plat::DWord;
using plat::Word;

inline std::string samplePath() { return COM_SAMPLE_MODULE; }

// One reference to an interface, released at the end.
template <class T>
class Ref {
 public:
  Ref() = default;
  explicit Ref(T* p) : p_(p) {}
  ~Ref() { reset(); }
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Ref& operator=(Ref&& o) noexcept {
    if (this != &o) {
      reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out arguments: void** of a fresh pointer.
  void** out() {
    reset();
    return reinterpret_cast<void**>(&p_);
  }
  T** put() {
    reset();
    return &p_;
  }
  template <class U>
  HResult query(const Guid& iid, Ref<U>* other) const {
    return p_->QueryInterface(iid, other->out());
  }

 private:
  T* p_ = nullptr;
};

// An owning VARIANT.
struct Var {
  Variant v;
  Var() { variantInit(&v); }
  ~Var() { variantClear(&v); }
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;
  Variant* operator&() { return &v; }
};

inline void setI4(Var& x, std::int32_t n) {
  variantClear(&x.v);
  x.v.vt = VT_I4;
  x.v.i32 = n;
}
inline void setBstr(Var& x, std::u16string_view text) {
  variantClear(&x.v);
  x.v.vt = VT_BSTR;
  x.v.bstr = allocString(text);
}

// The text of a default (or named) value below HKEY_CLASSES_ROOT; "<none>" when missing.
inline std::string classesText(const std::u16string& path, std::u16string_view name = u"") {
  plat::String16 text;
  return regkeys::readString(reg::kClassesRoot, path, name, &text) ? plat::toUtf8(text) : "<none>";
}

// The sample module, loaded and started.
struct SampleModule {
  static void* handle() {
    void* module = nullptr;
    EXPECT_EQ(loadModule(samplePath(), true, &module), S_OK);
    return module;
  }
  static HResult call(const char* entry) {
    auto* f = reinterpret_cast<HResult (*)()>(moduleSymbol(handle(), entry));
    return f ? f() : E_FAIL;
  }
  template <class T>
  static Ref<T> create(const Guid& iid) {
    Ref<T> ref;
    EXPECT_EQ(createInstance(sample::CLSID_Sample, nullptr, CLSCTX_INPROC_SERVER, iid, ref.out()), S_OK);
    return ref;
  }
};

// The sample registered for each test and unregistered after it.
class SampleServer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(call("DllRegisterServer"), S_OK); }
  void TearDown() override { EXPECT_EQ(call("DllUnregisterServer"), S_OK); }

  static HResult call(const char* entry) { return SampleModule::call(entry); }
  // The module's own answer, which counts its objects and locks.
  static HResult canUnloadNow() { return call("DllCanUnloadNow"); }
  template <class T>
  static Ref<T> createSample(const Guid& iid) {
    return SampleModule::create<T>(iid);
  }
};

// The sample registered once for a whole suite of tests that only use it.
class SampleSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(SampleModule::call("DllRegisterServer"), S_OK); }
  static void TearDownTestSuite() { EXPECT_EQ(SampleModule::call("DllUnregisterServer"), S_OK); }
  template <class T>
  static Ref<T> createSample(const Guid& iid) {
    return SampleModule::create<T>(iid);
  }
};

}  // namespace comtest
