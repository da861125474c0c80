#pragma once
// The appearance properties of the spectrum control's dispatch interface, as one list from
// which the control declares its Get<Name>/Set<Name> members and builds its dispatch table (and
// so its type information): a property's name, dispatch id and type cannot differ between them.
//
// Each row: name, dispatch id, declared type, and where the value lives (propertyviews.h):
//   OnObject<Class, type id, member...>   a member of the first draw object of that type
//   PenColor / PenWidth<Class, type id, pen member>   a pen's colour or width on that object
//   OnList<member...>                     a member of the draw-object list
//   OnCursor<member>                      a list member the plot cursors are made from
// A member chain names a field inside a field (the escapement of a font record, say).
#include <cstdint>

#include "platform/com/dispatch.h"
#include "platform/gdi/objects.h"

// The C++ types a property of each declared type is read as (Get) and written from (Put).
// BOOL and I4 are 32-bit integers, so that a missing object can read -1 for either.
template <plat::ole::DispType T>
struct SpcPropertyType {
  using Get = std::int32_t;
  using Put = std::int32_t;
};
template <>
struct SpcPropertyType<plat::ole::DispType::Color> {
  using Get = gdi::COLORREF;
  using Put = gdi::COLORREF;
};
template <>
struct SpcPropertyType<plat::ole::DispType::Font> {
  using Get = plat::ole::IDispatch*;  // one reference for the caller
  using Put = plat::ole::IDispatch*;  // borrowed
};
template <>
struct SpcPropertyType<plat::ole::DispType::Bstr> {
  using Get = char16_t*;        // a new string the caller frees
  using Put = const char16_t*;  // borrowed; null is the empty text
};

// The dispatch id that is also the control's value (BackColor).
constexpr plat::ole::DispId kSpcValuePropertyId = 60;

// clang-format off
#define SPC_DISPATCH_PROPERTIES(X) \
  X(GridLineColor,      1,  Color, PenColor<CGrid, kDrawGrid, &CGrid::m_linePen>) \
  X(SpectrumLineColor,  2,  Color, PenColor<CSpectrum, kDrawSpectrum, &CSpectrum::m_tracePen>) \
  X(ScaleLineColor,     3,  Color, PenColor<CScale, kDrawScale, &CScale::m_axisPen>) \
  X(ScaleTextColor,     4,  Color, OnObject<CScale, kDrawScale, &CScale::m_textColor>) \
  X(TPeaksLineColor,    5,  Color, PenColor<CTPeaks, kDrawTPeaks, &CTPeaks::m_linePen>) \
  X(TPeaksTextColor,    6,  Color, OnObject<CTPeaks, kDrawTPeaks, &CTPeaks::m_textColor>) \
  X(IntegSumsLineColor, 7,  Color, PenColor<CIntegSums, kDrawIntegSums, &CIntegSums::m_linePen>) \
  X(IntegSumsTextColor, 8,  Color, OnObject<CIntegSums, kDrawIntegSums, &CIntegSums::m_textColor>) \
  X(ScaleEnable,        9,  Bool,  OnObject<CScale, kDrawScale, &CDrawObject::m_bEnabled>) \
  X(ScaleUnits,         10, I4,    DrawnUnit<CScale, kDrawScale, &CScale::m_nUnit>) \
  X(ScaleFont,          11, Font,  OnObject<CScale, kDrawScale, &CScale::m_fontObject>) \
  X(SpectrumEnable,     12, Bool,  OnObject<CSpectrum, kDrawSpectrum, &CDrawObject::m_bEnabled>) \
  X(BorderEnable,       13, Bool,  OnObject<CBorder, kDrawBorder, &CDrawObject::m_bEnabled>) \
  X(BorderLineColor,    14, Color, PenColor<CBorder, kDrawBorder, &CBorder::m_linePen>) \
  X(BorderLineWidth,    15, I4,    PenWidth<CBorder, kDrawBorder, &CBorder::m_linePen>) \
  X(ScaleLineWidth,     16, I4,    PenWidth<CScale, kDrawScale, &CScale::m_axisPen>) \
  X(SpectrumLineWidth,  17, I4,    PenWidth<CSpectrum, kDrawSpectrum, &CSpectrum::m_tracePen>) \
  X(CursorColor,        18, Color, OnCursor<&CDrawObjectList::m_CursorColor>) \
  X(CursorType,         19, I4,    OnCursor<&CDrawObjectList::m_CursorType>) \
  X(IntegralLineColor,  20, Color, PenColor<CIntegrals, kDrawIntegrals, &CIntegrals::m_linePen>) \
  X(IntegralLineWidth,  21, I4,    PenWidth<CIntegrals, kDrawIntegrals, &CIntegrals::m_linePen>) \
  X(IntegralEnable,     22, Bool,  OnObject<CIntegrals, kDrawIntegrals, &CDrawObject::m_bEnabled>) \
  X(TPeaksUnits,        23, I4,    DrawnUnit<CTPeaks, kDrawTPeaks, &CTPeaks::m_nUnit>) \
  X(TPeaksFont,         24, Font,  OnObject<CTPeaks, kDrawTPeaks, &CTPeaks::m_fontObject>) \
  X(TPeaksEnable,       25, Bool,  OnObject<CTPeaks, kDrawTPeaks, &CDrawObject::m_bEnabled>) \
  X(TPeaksLineWidth,    26, I4,    PenWidth<CTPeaks, kDrawTPeaks, &CTPeaks::m_linePen>) \
  X(BaselineCircRadius, 27, I4,    OnObject<CBaseline, kDrawBaseline, &CBaseline::m_nCircleRadius>) \
  X(IntegSumsLineWidth, 28, I4,    PenWidth<CIntegSums, kDrawIntegSums, &CIntegSums::m_linePen>) \
  X(IntegSumsEnable,    29, Bool,  OnObject<CIntegSums, kDrawIntegSums, &CDrawObject::m_bEnabled>) \
  X(IntegSumsFont,      30, Font,  OnObject<CIntegSums, kDrawIntegSums, &CIntegSums::m_fontObject>) \
  X(IntegSumsEscape,    31, I4,    OnObject<CIntegSums, kDrawIntegSums, &CIntegSums::m_logFont, &gdi::LOGFONTA::lfEscapement>) \
  X(IntegSumsDigits,    32, I4,    OnObject<CIntegSums, kDrawIntegSums, &CIntegSums::m_nDigits>) \
  X(BaselineCircColor,  33, Color, OnObject<CBaseline, kDrawBaseline, &CBaseline::m_circleColor>) \
  X(BaselineLineColor,  34, Color, PenColor<CBaseline, kDrawBaseline, &CBaseline::m_linePen>) \
  X(BaselineLineWidth,  35, I4,    PenWidth<CBaseline, kDrawBaseline, &CBaseline::m_linePen>) \
  X(BaselineEnable,     36, Bool,  OnObject<CBaseline, kDrawBaseline, &CDrawObject::m_bEnabled>) \
  X(DrawAlgorithm,      37, I4,    OnObject<CSpectrum, kDrawSpectrum, &CSpectrum::m_nDrawAlgorithm>) \
  X(TitleEnable,        38, Bool,  OnObject<CTitle, kDrawTitle, &CDrawObject::m_bEnabled>) \
  X(TitleFont,          39, Font,  OnObject<CTitle, kDrawTitle, &CTitle::m_fontObject>) \
  X(TitleColor,         40, Color, OnObject<CTitle, kDrawTitle, &CTitle::m_color>) \
  X(TextColor,          41, Color, OnList<&CDrawObjectList::m_TextColor>) \
  X(TextFont,           42, Font,  OnList<&CDrawObjectList::m_textFontObject>) \
  X(TextEscape,         43, I4,    OnList<&CDrawObjectList::m_TextFont, &gdi::LOGFONTA::lfEscapement>) \
  X(TitlePosX,          44, I4,    OnObject<CTitle, kDrawTitle, &CTitle::m_nPosX>) \
  X(TitlePosY,          45, I4,    OnObject<CTitle, kDrawTitle, &CTitle::m_nPosY>) \
  X(TitleText,          46, Bstr,  OnObject<CTitle, kDrawTitle, &CTitle::m_strText>) \
  X(ScaleYLineColor,    47, Color, PenColor<CScaleY1, kDrawScaleY1, &CScaleY1::m_axisPen>) \
  X(ScaleYTextColor,    48, Color, OnObject<CScaleY1, kDrawScaleY1, &CScaleY1::m_textColor>) \
  X(ScaleYEnable,       49, Bool,  OnObject<CScaleY1, kDrawScaleY1, &CDrawObject::m_bEnabled>) \
  X(ScaleYFont,         50, Font,  OnObject<CScaleY1, kDrawScaleY1, &CScaleY1::m_fontObject>) \
  X(ScaleYLineWidth,    51, I4,    PenWidth<CScaleY1, kDrawScaleY1, &CScaleY1::m_axisPen>) \
  X(ZoomFont,           52, Font,  OnObject<CSpectrum, kDrawSpectrum, &CSpectrum::m_zoomFontObject>) \
  X(ZoomColor,          53, Color, OnObject<CSpectrum, kDrawSpectrum, &CSpectrum::m_zoomColor>) \
  X(MPeaksTextColor,    54, Color, OnObject<CMPeaks, kDrawMPeaks, &CMPeaks::m_textColor>) \
  X(MPeaksFont,         55, Font,  OnObject<CMPeaks, kDrawMPeaks, &CMPeaks::m_fontObject>) \
  X(MPeaksEnable,       56, Bool,  OnObject<CMPeaks, kDrawMPeaks, &CDrawObject::m_bEnabled>) \
  X(MPeaksUnits,        57, I4,    DrawnUnit<CMPeaks, kDrawMPeaks, &CMPeaks::m_nUnit>) \
  X(TPeaksDigits,       58, I4,    OnObject<CTPeaks, kDrawTPeaks, &CTPeaks::m_nDigits>) \
  X(MPeaksDigits,       59, I4,    OnObject<CMPeaks, kDrawMPeaks, &CMPeaks::m_nDigits>) \
  X(BackColor,          60, Color, OnList<&CDrawObjectList::m_bkBrush, &gdi::LOGBRUSH::lbColor>)
// clang-format on

// Declares a property's get and put on the control.
#define SPC_DECLARE_DISPATCH_PROPERTY(name, id, type, ...)                       \
  SpcPropertyType<plat::ole::DispType::type>::Get Get##name();                    \
  void Set##name(SpcPropertyType<plat::ole::DispType::type>::Put value);
