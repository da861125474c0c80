#include "spectrum/control/labels/labelobjects.h"

#include "spectrum/control/labels/baseline.h"
#include "spectrum/control/labels/integrals.h"
#include "spectrum/control/labels/peaklabels.h"
#include "spectrum/control/labels/texts.h"
#include "spectrum/control/plot/drawobjectlist.h"

void RegisterLabelDrawObjects() {
  RegisterDrawObjectClass(kDrawCopyright, &MakeDrawObject<CCopyright>);
  RegisterDrawObjectClass(kDrawTPeaks, &MakeDrawObject<CTPeaks>);
  RegisterDrawObjectClass(kDrawIntegSums, &MakeDrawObject<CIntegSums>);
  RegisterDrawObjectClass(kDrawIntegrals, &MakeDrawObject<CIntegrals>);
  RegisterDrawObjectClass(kDrawMPeaks, &MakeDrawObject<CMPeaks>);
  RegisterDrawObjectClass(kDrawBaseline, &MakeDrawObject<CBaseline>);
  RegisterDrawObjectClass(kDrawTitle, &MakeDrawObject<CTitle>);
  RegisterDrawObjectClass(kDrawText, &MakeDrawObject<CText>);
}
