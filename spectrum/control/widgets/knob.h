#pragma once
// CKnob and CScroll: the hosts of the auxiliary library's knob and scroll strip, reached by
// the dispatch ids of their properties. Each hears its control's one event (dispatch id 1:
// NewValueSet of the knob, NewBoundsSet of the strip) through the handler its owner sets.
#include <cstdint>
#include <string_view>

#include "controls/host/controlhost.h"

class CKnob : public CControlHost {
  UI_DECLARE_DYNCREATE(CKnob)

 public:
  static constexpr plat::ole::DispId kValue = 0;
  static constexpr plat::ole::DispId kIncMode = 1;
  static constexpr plat::ole::DispId kIncrement = 2;
  static constexpr plat::ole::DispId kInitValue = 3;
  static constexpr plat::ole::DispId kMinValue = 4;
  static constexpr plat::ole::DispId kMaxValue = 5;
  static constexpr plat::ole::DispId kNewValueSet = 1;

  // The knob control in a child window; the window text becomes its caption.
  bool Create(std::string_view windowName, ui::DWORD style, const ui::Rect& rect, ui::Wnd* parent, ui::UINT id);

  float GetValue();  // 0 without a knob
  void SetValue(float value);
  void SetIncrement(float increment);
  void SetInitValue(float value);
  void SetMinValue(float value);
  void SetMaxValue(float value);
  // 0: steps add the increment; 1: steps multiply by it.
  void SetIncMode(std::int32_t mode);
  // The text the knob shows: a printf format of its value.
  void SetCaption(std::string_view caption);
};

class CScroll : public CControlHost {
  UI_DECLARE_DYNCREATE(CScroll)

 public:
  static constexpr plat::ole::DispId kImage = 0;
  static constexpr plat::ole::DispId kRightBound = 1;
  static constexpr plat::ole::DispId kLeftBound = 2;
  static constexpr plat::ole::DispId kPoints = 3;
  static constexpr plat::ole::DispId kNewBoundsSet = 1;

  bool Create(std::string_view windowName, ui::DWORD style, const ui::Rect& rect, ui::Wnd* parent, ui::UINT id);

  // A picture handle of the platform's table (the strip draws it; the caller keeps it alive).
  void SetImage(std::int32_t image);
  std::int32_t GetRightBound();  // 0 without a strip
  void SetRightBound(std::int32_t bound);
  std::int32_t GetLeftBound();
  void SetLeftBound(std::int32_t bound);
  void SetPoints(std::int32_t points);
};
