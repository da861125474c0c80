#pragma once
// The twelve pages that edit the spectrum control's appearance, each over a fixed group of its
// dispatch properties (the tables in appearancepages.cpp):
//   CSpectrumPropPage  "Spectrum"       the trace: enable, colour, width, drawing algorithm
//   CScalePropPage     "Axis"           the x axis: enable, colours, units, font, width
//   CScaleYPropPage    "Axis Y"         the y axis: enable, colours, font, width
//   CIntegralPropPage  "Integrals"      enable, colour, width
//   CIntegSumsPropPage "Integral Sums"  enable, colours, font, width, direction, digits
//   CTPeaksPropPage    "Peak Labels 1"  enable, colours, units, font, width
//   CMPeaksPropPage    "Peak Labels 2"  enable, text colour, units, font, digits
//   CBaselinePropPage  "Baseline"       enable, line and circle colours, width, circle radius
//   CBorderPropPage    "Border"         enable, colour, width
//   CTextPropPage      "Text"           the free texts: colour, font, direction
//   CTitlePropPage     "Title"          enable, text, colour, font, position in millimetres
//   CMiscPropPage      "Miscellaneous"  background and cursor colours, cursor kind
#include "spectrum/control/pages/spcproppage.h"

namespace nelvar {

struct PageDesc {
  ui::UINT templateId;
  ui::UINT captionId;
  const plat::ole::Guid* clsid;
  std::span<const PageField> fields;
};

template <const PageDesc& Desc>
class CAppearancePropPage final : public CSpcPropPage {
 public:
  CAppearancePropPage() : CSpcPropPage(Desc.templateId, Desc.captionId, Desc.fields) {}
  const plat::ole::Guid& GetClassID() const override { return *Desc.clsid; }
};

extern const PageDesc kSpectrumPage, kScalePage, kScaleYPage, kIntegralPage, kIntegSumsPage, kTPeaksPage, kMPeaksPage,
    kBaselinePage, kBorderPage, kTextPage, kTitlePage, kMiscPage;

using CSpectrumPropPage = CAppearancePropPage<kSpectrumPage>;
using CScalePropPage = CAppearancePropPage<kScalePage>;
using CScaleYPropPage = CAppearancePropPage<kScaleYPage>;
using CIntegralPropPage = CAppearancePropPage<kIntegralPage>;
using CIntegSumsPropPage = CAppearancePropPage<kIntegSumsPage>;
using CTPeaksPropPage = CAppearancePropPage<kTPeaksPage>;
using CMPeaksPropPage = CAppearancePropPage<kMPeaksPage>;
using CBaselinePropPage = CAppearancePropPage<kBaselinePage>;
using CBorderPropPage = CAppearancePropPage<kBorderPage>;
using CTextPropPage = CAppearancePropPage<kTextPage>;
using CTitlePropPage = CAppearancePropPage<kTitlePage>;
using CMiscPropPage = CAppearancePropPage<kMiscPage>;

}  // namespace nelvar
