#include "spectrum/control/plot/drawobject.h"

#include <algorithm>

#include "controls/common/archiveforms.h"
#include "platform/archive/archive.h"
#include "spectrum/control/plot/appearance.h"
#include "spectrum/control/plot/drawobjectlist.h"

CDrawObject::CDrawObject(std::int32_t type, CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : m_nType(type), m_pOwner(owner), m_pProcess(process), m_nInstance(instance) {}

CDrawObject::~CDrawObject() = default;

void CDrawObject::Serialize(plat::Archive& ar) {
  if (ar.isStoring()) {
    ar.writeU32(m_bEnabled ? 1 : 0);
  } else {
    m_bEnabled = ar.readU32() != 0;
  }
}

void CDrawObject::SetDefaults() {}

int CDrawObject::GetContextMenu(bool) { return -1; }

void CDrawObject::SetVerticalArea(std::uint32_t, int x, int y) {
  gdi::Rect& sel = m_pOwner->m_selection;
  sel.right = x;
  sel.bottom = y;
  sel.NormalizeRect();
  sel.left = std::max(sel.left, m_area.left);
  sel.top = std::max(sel.top, m_area.top);
  sel.right = std::min(sel.right, m_area.right);
  sel.bottom = std::min(sel.bottom, m_area.bottom);
}

bool CDrawObject::EditAt(std::uint32_t, int, int) { return false; }

bool CDrawObject::Drag(int, int, int, int) { return false; }

int CDrawObject::HitTest(int, int) { return 0; }

void CDrawObject::LoadProperties(plat::Archive& ar) { Serialize(ar); }

void CDrawObject::StoreProperties(plat::Archive& ar) { Serialize(ar); }

gdi::Pen CDrawObject::SelectScaledPen(const gdi::LOGPEN* pen, gdi::DC* dc) {
  gdi::LOGPEN scaled = *pen;
  const int width = ScalePenWidth(pen->lopnWidth.x, m_pOwner->m_nZoom, dc->GetDeviceCaps(gdi::LOGPIXELSX));
  scaled.lopnWidth = {width, width};
  m_curPen.DeleteObject();
  m_curPen.CreatePenIndirect(&scaled);
  return dc->SelectObject(m_curPen);
}

gdi::Font CDrawObject::SelectScaledFont(const gdi::LOGFONTA* font, gdi::DC* dc) {
  gdi::LOGFONTA scaled = *font;
  scaled.lfHeight = ScaleFontHeight(font->lfHeight, m_pOwner->m_nZoom, dc->GetDeviceCaps(gdi::LOGPIXELSY));
  m_curFont.DeleteObject();
  m_curFont.CreateFontIndirect(&scaled);
  return dc->SelectObject(m_curFont);
}

void CDrawObject::SerializePen(plat::Archive& ar, gdi::LOGPEN& pen) {
  if (ar.isStoring()) karvel::WriteLogPen(ar, pen);
  else pen = karvel::ReadLogPen(ar);
}

void CDrawObject::SerializeFont(plat::Archive& ar, gdi::LOGFONTA& font) {
  if (ar.isStoring()) karvel::WriteLogFont(ar, font);
  else font = karvel::ReadLogFont(ar);
}

void CDrawObject::SerializeColor(plat::Archive& ar, gdi::COLORREF& color) {
  if (ar.isStoring()) ar.writeU32(color);
  else color = ar.readU32();
}
