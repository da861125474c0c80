#include "spectrum/control/widgets/knob.h"

#include "common/guids.h"

UI_IMPLEMENT_DYNCREATE(CKnob, CControlHost)
UI_IMPLEMENT_DYNCREATE(CScroll, CControlHost)

bool CKnob::Create(std::string_view windowName, ui::DWORD style, const ui::Rect& rect, ui::Wnd* parent, ui::UINT id) {
  return CreateControl(CLSID_KnobControl, DIID__DKnobEvents, windowName, style, rect, parent, id);
}

float CKnob::GetValue() {
  float value = 0.0f;
  return GetFloat(kValue, &value) ? value : 0.0f;
}
void CKnob::SetValue(float value) { SetFloat(kValue, value); }
void CKnob::SetIncrement(float increment) { SetFloat(kIncrement, increment); }
void CKnob::SetInitValue(float value) { SetFloat(kInitValue, value); }
void CKnob::SetMinValue(float value) { SetFloat(kMinValue, value); }
void CKnob::SetMaxValue(float value) { SetFloat(kMaxValue, value); }
void CKnob::SetIncMode(std::int32_t mode) { SetInt(kIncMode, mode); }
void CKnob::SetCaption(std::string_view caption) { SetText(plat::ole::DISPID_CAPTION, caption); }

bool CScroll::Create(std::string_view windowName, ui::DWORD style, const ui::Rect& rect, ui::Wnd* parent, ui::UINT id) {
  return CreateControl(CLSID_ScrollControl, DIID__DScrollEvents, windowName, style, rect, parent, id);
}

void CScroll::SetImage(std::int32_t image) { SetInt(kImage, image); }
std::int32_t CScroll::GetRightBound() {
  std::int32_t value = 0;
  return GetInt(kRightBound, &value) ? value : 0;
}
void CScroll::SetRightBound(std::int32_t bound) { SetInt(kRightBound, bound); }
std::int32_t CScroll::GetLeftBound() {
  std::int32_t value = 0;
  return GetInt(kLeftBound, &value) ? value : 0;
}
void CScroll::SetLeftBound(std::int32_t bound) { SetInt(kLeftBound, bound); }
void CScroll::SetPoints(std::int32_t points) { SetInt(kPoints, points); }
