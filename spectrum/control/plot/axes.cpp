#include "spectrum/control/plot/axes.h"

#include "platform/archive/archive.h"
#include "spectrum/control/plot/appearance.h"
#include "spectrum/control/plot/drawobjectlist.h"

// ---- CBorder ----------------------------------------------------------------------------------

CBorder::CBorder(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawBorder, owner, process, instance) {}

void CBorder::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_linePen);
  CDrawObject::Serialize(ar);
}

void CBorder::SetDefaults() {
  m_linePen = MakeLogPen(gdi::PS_SOLID, 30, 0x0000C0);
  m_bEnabled = false;
}

void CBorder::Draw(gdi::DC*, gdi::Rect*, int) {}

// ---- CGrid ------------------------------------------------------------------------------------

CGrid::CGrid(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawGrid, owner, process, instance) {}

void CGrid::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_linePen);
  CDrawObject::Serialize(ar);
}

void CGrid::SetDefaults() {
  m_linePen = MakeLogPen(gdi::PS_DOT, 1, 0xC0C0C0);
  m_bEnabled = false;
}

void CGrid::Draw(gdi::DC*, gdi::Rect*, int) {}

// ---- CScale -----------------------------------------------------------------------------------

CScale::CScale(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawScale, owner, process, instance) {}

void CScale::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_axisPen);
  SerializePen(ar, m_tickPen);
  SerializeFont(ar, m_logFont);
  SerializeColor(ar, m_textColor);
  if (ar.isStoring()) ar.writeI32(m_nUnit);
  else m_nUnit = ar.readI32();
  CDrawObject::Serialize(ar);
}

void CScale::SetDefaults() {
  m_axisPen = MakeLogPen(gdi::PS_SOLID, 40, 0xC00000);
  m_tickPen = MakeLogPen(gdi::PS_SOLID, 30, 0xC00000);
  m_textColor = 0x640000;
  m_nUnit = m_pOwner->GetDefaultUnit();
  m_logFont = MakeLogFont(12, 400, 0, "Arial");
  m_bEnabled = true;
}

int CScale::GetContextMenu(bool) { return 4; }

void CScale::Draw(gdi::DC*, gdi::Rect*, int) {}

// ---- CScaleY1 ---------------------------------------------------------------------------------

CScaleY1::CScaleY1(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawScaleY1, owner, process, instance) {}

void CScaleY1::Serialize(plat::Archive& ar) {
  SerializePen(ar, m_axisPen);
  SerializePen(ar, m_tickPen);
  SerializeFont(ar, m_logFont);
  SerializeColor(ar, m_textColor);
  CDrawObject::Serialize(ar);
}

void CScaleY1::SetDefaults() {
  m_axisPen = MakeLogPen(gdi::PS_SOLID, 40, 0xC00000);
  m_tickPen = MakeLogPen(gdi::PS_SOLID, 30, 0xC00000);
  m_textColor = 0x640000;
  m_logFont = MakeLogFont(10, 400, 0, "Arial");
  m_band.SetRectEmpty();
  m_bEnabled = true;
}

void CScaleY1::Draw(gdi::DC*, gdi::Rect*, int) {}

// ---- CScaleY2 ---------------------------------------------------------------------------------

CScaleY2::CScaleY2(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawScaleY2, owner, process, instance) {
  m_bEnabled = true;
}

void CScaleY2::Draw(gdi::DC*, gdi::Rect*, int) {}
