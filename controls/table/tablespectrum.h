#pragma once
// What the table needs of the spectrum it is attached to: the spectrum's kind name (for the
// profile sections of its tables) and its parameter values (for the $NAME$ references in cell
// texts). The table control implements it over the spectrum control's ISpectrumControl
// (GetCurMethod and GetParam), holding the interface reference for as long as this object lives.
#include "platform/base/types.h"

namespace karvel {

class ITableSpectrum {
 public:
  virtual ~ITableSpectrum() = default;
  // The kind name, such as "NMR"; false when the spectrum cannot tell.
  virtual bool GetCurMethod(plat::String16* kindName) = 0;
  // The whole value text of the named parameter; false when the lookup fails.
  virtual bool GetParam(const plat::String16& name, plat::String16* value) = 0;
};

}  // namespace karvel
