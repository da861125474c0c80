#pragma once
// CKnobControl: the knob (coclass KnobControl, CLSID_KnobControl), a small button-like control
// that shows a number. A left click opens the dial panel below it (CKnobPanelWnd): dragging in
// the panel turns the dial, its arrow buttons step the value. A right click restores the initial
// value. Every change the user makes fires NewValueSet. The host sets the range, the increment
// and its mode, and reads Value back on each event.
//
// The knob keeps none of its own properties: only the stock Caption and Font pass through its
// property exchange.
#include "controls/font/olefont.h"
#include "controls/knob/knobvalue.h"
#include "controls/base/karvelcontrol.h"

namespace karvel {

class CKnobControl;

// The popup dial: a tool window below the knob, as wide as the knob and half as high as wide.
class CKnobPanelWnd : public ui::Wnd {
  UI_DECLARE_MESSAGE_MAP()

 public:
  explicit CKnobPanelWnd(CKnobControl& knob) : m_knob(knob) {}

  bool Dragging() const { return m_dragging; }

 private:
  void OnPaint();
  void OnLButtonDown(ui::UINT flags, ui::Point point);
  void OnLButtonUp(ui::UINT flags, ui::Point point);
  void OnMouseMove(ui::UINT flags, ui::Point point);
  void OnCaptureChanged(ui::Wnd* gaining);
  void Repaint();

  CKnobControl& m_knob;
  // The last drag point relative to the dial centre.
  ui::Point m_last;
  bool m_dragging = false;
  bool m_leftPressed = false;
  bool m_rightPressed = false;
};

class CKnobControl : public CKarvelControl {
  UI_DECLARE_MESSAGE_MAP()

 public:
  CKnobControl();
  ~CKnobControl() override;

  static const plat::ole::DispInterfaceDesc& Dispatch();
  static const plat::ole::DispInterfaceDesc& Events();
  static const plat::ole::CoClassDesc& CoClass();

  void DoPropExchange(plat::ole::PropExchange* px) override;
  void OnDraw(gdi::DC* dc, const gdi::Rect& bounds, const gdi::Rect& invalid) override;

  // ---- Properties (the dispatch table's handlers) ----
  std::int32_t GetIncMode() { return m_value.incMode; }
  void SetIncMode(std::int32_t mode) { m_value.incMode = mode; }
  float GetIncrement() { return m_value.increment; }
  void SetIncrement(float increment) { m_value.increment = increment; }
  float GetInitValue() { return m_value.initValue; }
  void SetInitValue(float value) { m_value.initValue = value; }
  float GetMinValue() { return m_value.minValue; }
  void SetMinValue(float value);
  float GetMaxValue() { return m_value.maxValue; }
  void SetMaxValue(float value);
  float GetValue() { return m_value.value; }
  void SetValue(float value);
  plat::ole::IDispatch* GetFont();
  void SetFont(plat::ole::IDispatch* font);
  void AboutBox() {}

  bool IsHot() const { return m_hot; }
  bool IsHovering() const { return m_hovering; }
  // The dial panel (its window exists while the panel is open).
  CKnobPanelWnd& Panel() { return m_panel; }
  const gdi::LOGFONTA& FaceFont() const { return m_font; }

 private:
  friend class CKnobPanelWnd;

  void OnLButtonDown(ui::UINT flags, ui::Point point);
  void OnRButtonDown(ui::UINT flags, ui::Point point);
  void OnMouseMove(ui::UINT flags, ui::Point point);

  // The face drawn at once, then NewValueSet.
  void Notify();
  // Raised while hot; leaving hot closes the panel.
  void SetHot(bool hot);
  // Hovering and hot cleared, the capture released (the pointer left the knob and the panel).
  void Leave();
  // Whether a screen point lies in the knob's window or the open panel's.
  bool OverKnobOrPanel(ui::Point screen) const;
  void OpenPanel();

  KnobValue m_value;
  bool m_hovering = false;
  bool m_hot = false;
  gdi::LOGFONTA m_font;
  COleFont m_fontObject{&m_font};
  CKnobPanelWnd m_panel{*this};
};

}  // namespace karvel
