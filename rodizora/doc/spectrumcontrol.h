#pragma once
// The program's side of a spectrum control: one reference to its ISpectrumControl, created by
// class id (in-process or any server) or asked of an object, released when this goes; BSTR
// results come back as strings.
#include <optional>
#include <string_view>

#include "common/ispectrumcontrol.h"
#include "platform/base/types.h"

class CSpcControlRef {
 public:
  CSpcControlRef() = default;
  // Takes one reference the caller already holds.
  explicit CSpcControlRef(ISpectrumControl* control) : m_control(control) {}
  ~CSpcControlRef() { Reset(); }
  CSpcControlRef(CSpcControlRef&& other) noexcept : m_control(other.m_control) { other.m_control = nullptr; }
  CSpcControlRef& operator=(CSpcControlRef&& other) noexcept;
  CSpcControlRef(const CSpcControlRef&) = delete;
  CSpcControlRef& operator=(const CSpcControlRef&) = delete;

  // A new spectrum control (CLSID_Spc); empty when none can be created.
  static CSpcControlRef Create();
  // The object's ISpectrumControl; empty when it has none.
  static CSpcControlRef Query(plat::ole::IUnknown* object);

  explicit operator bool() const { return m_control != nullptr; }
  ISpectrumControl* operator->() const { return m_control; }
  ISpectrumControl* Get() const { return m_control; }
  void Reset();

  // GetCurMethod: the kind name, empty when the control does not answer.
  plat::String16 CurMethod() const;
  // GetParam(name); none when it fails.
  std::optional<plat::String16> Param(std::u16string_view name) const;
  // GetSpectraCount(path); 0 when it fails.
  int SpectraCount(std::u16string_view path) const;

 private:
  ISpectrumControl* m_control = nullptr;
};

// The text of a BSTR the callee allocated, which is freed here.
plat::String16 TakeBstr(plat::ole::Bstr text);

// An input string of a call: a BSTR the caller allocates and frees.
class BstrArg {
 public:
  explicit BstrArg(std::u16string_view text) : m_text(plat::ole::allocString(text)) {}
  ~BstrArg() { plat::ole::freeString(m_text); }
  BstrArg(const BstrArg&) = delete;
  BstrArg& operator=(const BstrArg&) = delete;
  operator const char16_t*() const { return m_text ? m_text : u""; }

 private:
  plat::ole::Bstr m_text;
};
