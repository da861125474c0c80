#pragma once
// The control's own bars besides the console. Each loads its toolbar resource (window id and
// resource id are the same), takes its title from its string, puts its embedded controls in the
// places its resource keeps for them, and follows the control on every idle update before its
// buttons do. A bar reaches its spectrum control as the first child of its owner (its parent
// when it has none); without one its events and updates change nothing.
#include <memory>
#include <string>
#include <vector>

#include "foundation/flattoolbar.h"
#include "platform/gdi/metafile.h"
#include "platform/gdi/objects.h"
#include "platform/ui/controls.h"
#include "spectrum/control/widgets/knob.h"

class CSpcControl;

class CSpcBar : public CFlatToolBar {
  UI_DECLARE_DYNAMIC(CSpcBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  CSpcBar(ui::UINT barId, ui::UINT titleId) : m_barId(barId), m_titleId(titleId) {}

  CSpcControl* Control() const;
  int OnCreate(ui::CREATESTRUCT* cs);
  void OnUpdateCmdUI(ui::FrameWnd* target, bool disableIfNoHandler) override;

 protected:
  // The bar's embedded controls, made after the buttons are loaded.
  virtual void CreateEmbedded() {}
  // Follows the control (only called with one).
  virtual void UpdateEmbedded(CSpcControl&) {}
  // Makes entry index a separator of the given width carrying id, and answers its rectangle.
  ui::Rect MakePlace(int index, ui::UINT id, int width);
  int ButtonWidth(int index) const;
  // A knob in its place: six times as wide as button 4, with its caption and settings.
  void PlaceKnob(CKnob& knob, int index, ui::UINT id, ui::UINT captionId, float maxValue, float minValue,
                 float initValue, float increment, int incMode);
  // The bars with boxes give them their font: Arial, 14 high, normal weight.
  const gdi::Font& BoxFont();
  void MakeCheckBox(ui::UINT commandId);

 private:
  ui::UINT m_barId;
  ui::UINT m_titleId;
  gdi::Font m_font;
};

class CSpectrumBar : public CSpcBar {
  UI_DECLARE_DYNAMIC(CSpectrumBar)

 public:
  CSpectrumBar();
  ~CSpectrumBar() override;
  CKnob m_knob;
  CScroll m_scroll;

 protected:
  void CreateEmbedded() override;
  void UpdateEmbedded(CSpcControl& control) override;

 private:
  void OnKnob();
  void OnScroll();
  gdi::HENHMETAFILE m_image = 0;
  const void* m_imageOf = nullptr;
};

class CPhaseBar : public CSpcBar {
  UI_DECLARE_DYNAMIC(CPhaseBar)

 public:
  CPhaseBar();
  CKnob m_phase0;
  CKnob m_phase1;

 protected:
  void CreateEmbedded() override;
  void UpdateEmbedded(CSpcControl& control) override;

 private:
  void OnPhase(bool first);
};

class CIntegralBar : public CSpcBar {
  UI_DECLARE_DYNAMIC(CIntegralBar)

 public:
  CIntegralBar();
  CKnob m_scale;
  CKnob m_slope;

 protected:
  void CreateEmbedded() override;
  void UpdateEmbedded(CSpcControl& control) override;
};

class CPickBar : public CSpcBar {
  UI_DECLARE_DYNAMIC(CPickBar)

 public:
  CPickBar();

 protected:
  void CreateEmbedded() override;
};

class CTransformBar : public CSpcBar {
  UI_DECLARE_DYNAMIC(CTransformBar)

 public:
  CTransformBar();
};

class CBaselineBar : public CSpcBar {
  UI_DECLARE_DYNAMIC(CBaselineBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  CBaselineBar();
  ui::ComboBox m_method;
  ui::ComboBox m_spline;
  void OnMethodChange();
  void OnSplineChange();

 protected:
  void CreateEmbedded() override;
  void UpdateEmbedded(CSpcControl& control) override;
};

class CMultiDispBar : public CSpcBar {
  UI_DECLARE_DYNAMIC(CMultiDispBar)
  UI_DECLARE_MESSAGE_MAP()

 public:
  CMultiDispBar();
  ui::ComboBox m_items;
  void OnItemChange();
  void OnUpdateCmdUI(ui::FrameWnd* target, bool disableIfNoHandler) override;

 protected:
  void CreateEmbedded() override;
  void UpdateEmbedded(CSpcControl& control) override;
};

class CNavigateBar : public CSpcBar {
  UI_DECLARE_DYNAMIC(CNavigateBar)

 public:
  CNavigateBar();
  ui::Edit m_scan;

 protected:
  void CreateEmbedded() override;
  void UpdateEmbedded(CSpcControl& control) override;
};

namespace nelvar {

// The bar object of a bar id (505-513), or null.
std::unique_ptr<ui::ControlBar> MakeSpcBar(ui::UINT barId);

// The spline combo's entry for a factor: the rounded decimal logarithm when it is 0-9, else -1.
int SplineEntry(float factor);

}  // namespace nelvar
