#pragma once
// CLineWidthCB: an owner-drawn combo box of line widths. Each item's data is a width in
// hundredths of a millimetre (the property-page base fills the list); an item shows the width
// in millimetres beside a sample line of that width at the device's resolution, or "minimal"
// for width 0.
#include "platform/ui/controls.h"

class CLineWidthCB : public ui::ComboBox {
  UI_DECLARE_DYNAMIC(CLineWidthCB)

 public:
  void DrawItem(ui::DRAWITEMSTRUCT* dis) override;
};

// The sample line's width in pixels of a device with pixelsPerInch rows per inch for a width
// in hundredths of a millimetre (bounded to a sane pen).
int LineWidthPixels(long hundredthsMm, int pixelsPerInch);
