#pragma once
// The table's view of the spectrum control it is attached to: the kind name through
// ISpectrumControl::GetCurMethod and parameter values through GetParam. It holds one reference
// to the control for as long as it lives.
#include "common/ispectrumcontrol.h"
#include "controls/table/tablespectrum.h"

namespace karvel {

class CSpectrumLink : public ITableSpectrum {
 public:
  // Takes over one reference the caller holds.
  explicit CSpectrumLink(ISpectrumControl* control) : m_control(control) {}
  ~CSpectrumLink() override;
  CSpectrumLink(const CSpectrumLink&) = delete;
  CSpectrumLink& operator=(const CSpectrumLink&) = delete;

  ISpectrumControl* Control() const { return m_control; }

  bool GetCurMethod(plat::String16* kindName) override;
  bool GetParam(const plat::String16& name, plat::String16* value) override;

 private:
  ISpectrumControl* m_control;
};

}  // namespace karvel
