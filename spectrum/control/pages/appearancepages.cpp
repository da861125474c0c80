#include "spectrum/control/pages/appearancepages.h"

#include "common/guids.h"
#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/pages/pageids.h"

namespace nelvar {

namespace {

using K = FieldKind;
constexpr int kAlgorithms[] = {0, 1};        // "Fastest", "Best"
constexpr int kEscapes[] = {0, 900};         // "Horizontal", "Vertical"
constexpr int kCursorTypes[] = {0, 1, 2};    // "Standard", "Cross", "Rectangle"

// Millimetres with two decimals (the property in 0.01 mm), the radius with one (in 0.1 mm).
constexpr PageField Millimetres(const char* property, ui::UINT id) { return {K::Scaled, property, id, {}, 2, "%.2f", false}; }

constexpr PageField kSpectrumFields[] = {
    {K::Enable, "SpectrumEnable", IDC_ENABLE},
    {K::Color, "SpectrumLineColor", IDC_LINE_COLOR},
    {K::LineWidth, "SpectrumLineWidth", IDC_LINE_WIDTH},
    {K::Choice, "DrawAlgorithm", IDC_FASTEST, kAlgorithms},
};
constexpr PageField kScaleFields[] = {
    {K::Enable, "ScaleEnable", IDC_ENABLE},         {K::Color, "ScaleLineColor", IDC_LINE_COLOR},
    {K::Color, "ScaleTextColor", IDC_TEXT_COLOR},   {K::Units, "ScaleUnits", IDC_UNIT_FIRST},
    {K::Font, "ScaleFont", IDC_FONT},               {K::LineWidth, "ScaleLineWidth", IDC_LINE_WIDTH},
};
constexpr PageField kScaleYFields[] = {
    {K::Enable, "ScaleYEnable", IDC_ENABLE},       {K::Color, "ScaleYLineColor", IDC_LINE_COLOR},
    {K::Color, "ScaleYTextColor", IDC_TEXT_COLOR}, {K::Font, "ScaleYFont", IDC_FONT},
    {K::LineWidth, "ScaleYLineWidth", IDC_LINE_WIDTH},
};
constexpr PageField kIntegralFields[] = {
    {K::Enable, "IntegralEnable", IDC_ENABLE},
    {K::Color, "IntegralLineColor", IDC_LINE_COLOR},
    {K::LineWidth, "IntegralLineWidth", IDC_LINE_WIDTH},
};
constexpr PageField kIntegSumsFields[] = {
    {K::Enable, "IntegSumsEnable", IDC_ENABLE},
    {K::Color, "IntegSumsLineColor", IDC_LINE_COLOR},
    {K::Color, "IntegSumsTextColor", IDC_TEXT_COLOR},
    {K::Font, "IntegSumsFont", IDC_FONT},
    {K::LineWidth, "IntegSumsLineWidth", IDC_LINE_WIDTH},
    {K::Choice, "IntegSumsEscape", IDC_HORIZONTAL, kEscapes},
    {K::Digits, "IntegSumsDigits", IDC_DIGITS},
};
constexpr PageField kTPeaksFields[] = {
    {K::Enable, "TPeaksEnable", IDC_ENABLE},       {K::Color, "TPeaksLineColor", IDC_LINE_COLOR},
    {K::Color, "TPeaksTextColor", IDC_TEXT_COLOR}, {K::Units, "TPeaksUnits", IDC_UNIT_FIRST},
    {K::Font, "TPeaksFont", IDC_FONT},             {K::LineWidth, "TPeaksLineWidth", IDC_LINE_WIDTH},
};
constexpr PageField kMPeaksFields[] = {
    {K::Enable, "MPeaksEnable", IDC_ENABLE},       {K::Color, "MPeaksTextColor", IDC_TEXT_COLOR},
    {K::Units, "MPeaksUnits", IDC_UNIT_FIRST},     {K::Font, "MPeaksFont", IDC_FONT},
    {K::Digits, "MPeaksDigits", IDC_DIGITS},
};
constexpr PageField kBaselineFields[] = {
    {K::Enable, "BaselineEnable", IDC_ENABLE},
    {K::Color, "BaselineLineColor", IDC_LINE_COLOR},
    {K::Color, "BaselineCircColor", IDC_CIRC_COLOR},
    {K::LineWidth, "BaselineLineWidth", IDC_LINE_WIDTH},
    {K::Scaled, "BaselineCircRadius", IDC_RADIUS, {}, 1, "%0.1f", true},
};
constexpr PageField kBorderFields[] = {
    {K::Enable, "BorderEnable", IDC_ENABLE},
    {K::Color, "BorderLineColor", IDC_LINE_COLOR},
    {K::LineWidth, "BorderLineWidth", IDC_LINE_WIDTH},
};
constexpr PageField kTextFields[] = {
    {K::Color, "TextColor", IDC_TEXT_COLOR},
    {K::Font, "TextFont", IDC_FONT},
    {K::Choice, "TextEscape", IDC_HORIZONTAL, kEscapes},
};
constexpr PageField kTitleFields[] = {
    {K::Enable, "TitleEnable", IDC_ENABLE},     {K::Text, "TitleText", IDC_TITLE_TEXT},
    {K::Color, "TitleColor", IDC_TEXT_COLOR},   {K::Font, "TitleFont", IDC_FONT},
    Millimetres("TitlePosX", IDC_POS_X),        Millimetres("TitlePosY", IDC_POS_Y),
};
constexpr PageField kMiscFields[] = {
    {K::Color, "BackColor", IDC_BACK_COLOR},
    {K::Color, "CursorColor", IDC_CURSOR_COLOR},
    {K::Choice, "CursorType", IDC_CURSOR_STANDARD, kCursorTypes},
};

}  // namespace

const PageDesc kSpectrumPage{IDD_PAGE_SPECTRUM, IDS_PAGE_SPECTRUM, &CLSID_SpectrumPropPage, kSpectrumFields};
const PageDesc kScalePage{IDD_PAGE_SCALE, IDS_PAGE_SCALE, &CLSID_ScalePropPage, kScaleFields};
const PageDesc kScaleYPage{IDD_PAGE_SCALEY, IDS_PAGE_SCALEY, &CLSID_ScaleYPropPage, kScaleYFields};
const PageDesc kIntegralPage{IDD_PAGE_INTEGRAL, IDS_PAGE_INTEGRAL, &CLSID_IntegralPropPage, kIntegralFields};
const PageDesc kIntegSumsPage{IDD_PAGE_INTEGSUMS, IDS_PAGE_INTEGSUMS, &CLSID_IntegSumsPropPage, kIntegSumsFields};
const PageDesc kTPeaksPage{IDD_PAGE_TPEAKS, IDS_PAGE_TPEAKS, &CLSID_TPeaksPropPage, kTPeaksFields};
const PageDesc kMPeaksPage{IDD_PAGE_MPEAKS, IDS_PAGE_MPEAKS, &CLSID_MPeaksPropPage, kMPeaksFields};
const PageDesc kBaselinePage{IDD_PAGE_BASELINE, IDS_PAGE_BASELINE, &CLSID_BaselinePropPage, kBaselineFields};
const PageDesc kBorderPage{IDD_PAGE_BORDER, IDS_PAGE_BORDER, &CLSID_BorderPropPage, kBorderFields};
const PageDesc kTextPage{IDD_PAGE_TEXT, IDS_PAGE_TEXT, &CLSID_TextPropPage, kTextFields};
const PageDesc kTitlePage{IDD_PAGE_TITLE, IDS_PAGE_TITLE, &CLSID_TitlePropPage, kTitleFields};
const PageDesc kMiscPage{IDD_PAGE_MISC, IDS_PAGE_MISC, &CLSID_MiscPropPage, kMiscFields};

}  // namespace nelvar
