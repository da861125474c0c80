#include "spectrum/control/plot/trace.h"

#include "platform/archive/archive.h"
#include "spectrum/control/plot/appearance.h"
#include "spectrum/control/plot/drawobjectlist.h"

// ---- CSpectrum --------------------------------------------------------------------------------

CSpectrum::CSpectrum(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawSpectrum, owner, process, instance) {}

void CSpectrum::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_tracePen);
  if (ar.isStoring()) {
    ar.writeI32(m_nDrawAlgorithm);
    ar.writeF32(m_fMax);
    ar.writeF32(m_fMin);
    ar.writeU32(m_dwReserved1);
    ar.writeF32(m_fValuePerPixel);
    ar.writeU32(m_dwReserved2);
  } else {
    m_nDrawAlgorithm = ar.readI32();
    m_fMax = ar.readF32();
    m_fMin = ar.readF32();
    m_dwReserved1 = ar.readU32();
    m_fValuePerPixel = ar.readF32();
    m_dwReserved2 = ar.readU32();
  }
  CDrawObject::Serialize(ar);
}

void CSpectrum::SetDefaults() {
  m_tracePen = MakeLogPen(gdi::PS_SOLID, 10, 0);
  m_nDrawAlgorithm = 1;
  m_zoomColor = 0;
  m_zoomFont = MakeLogFont(10, 400, 1, "Arial");
  m_bEnabled = true;
  m_area.SetRectEmpty();
}

int CSpectrum::GetContextMenu(bool inSelection) { return inSelection ? 0 : 1; }

void CSpectrum::Draw(gdi::DC*, gdi::Rect*, int) {}

// ---- CIonCurrent ------------------------------------------------------------------------------

CIonCurrent::CIonCurrent(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawIonCurrent, owner, process, instance) {}

void CIonCurrent::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_ionPen);
  CDrawObject::Serialize(ar);
}

void CIonCurrent::SetDefaults() {
  m_ionPen = MakeLogPen(gdi::PS_SOLID, 25, 0);
  m_bEnabled = true;
  m_area.SetRectEmpty();
}

int CIonCurrent::GetContextMenu(bool inSelection) { return inSelection ? 0 : 1; }

void CIonCurrent::Draw(gdi::DC*, gdi::Rect*, int) {}
