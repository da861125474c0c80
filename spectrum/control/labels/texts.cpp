#include "spectrum/control/labels/texts.h"

#include <cmath>

#include "foundation/profdesc.h"
#include "platform/archive/archive.h"
#include "profile/profile.h"
#include "spectrum/control/plot/appearance.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/control/plot/pixels.h"
#include "spectrum/control/plot/plotdata.h"
#include "spectrum/data/spcprocess.h"

namespace {

constexpr std::int32_t kSpectrumDomain = 1;

// The template with "$NAME$" fields replaced by the host's parameters, "$$" by one "$". A field
// without its closing "$" runs to the end; an unknown name gives nothing.
std::string ExpandFields(std::string_view text, CPlotHost* host) {
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t dollar = text.find('$', at);
    out.append(text.substr(at, dollar == std::string_view::npos ? std::string_view::npos : dollar - at));
    if (dollar == std::string_view::npos) break;
    at = dollar + 1;
    if (at < text.size() && text[at] == '$') {
      out += '$';
      ++at;
      continue;
    }
    const std::size_t close = text.find('$', at);
    const std::string_view name =
        text.substr(at, close == std::string_view::npos ? std::string_view::npos : close - at);
    std::string value;
    if (host && !name.empty() && host->GetParam(name, &value)) out += value;
    at = close == std::string_view::npos ? text.size() : close + 1;
  }
  return out;
}

}  // namespace

// ---- CTitle ---------------------------------------------------------------------------------

CTitle::CTitle(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawTitle, owner, process, instance) {}

void CTitle::SetDefaults() {
  m_strText = "$FILENAME$";
  m_color = 0;
  m_logFont = MakeLogFont(16, 400, 0, "Arial");
  m_nPosX = 1000;
  m_nPosY = 1000;
  m_bEnabled = false;
}

void CTitle::Serialize(plat::Archive& ar) {
  SerializeColor(ar, m_color);
  if (ar.isStoring()) {
    ar.writeI32(m_nPosX);
    ar.writeI32(m_nPosY);
    ar.writeString(m_strText);
  } else {
    m_nPosX = ar.readI32();
    m_nPosY = ar.readI32();
    m_strText = ar.readString();
  }
  SerializeFont(ar, m_logFont);
  CDrawObject::Serialize(ar);
}

std::string CTitle::ExpandedText() const { return ExpandFields(m_strText, m_pOwner->GetHost()); }

void CTitle::Draw(gdi::DC* dc, gdi::Rect* area, int) {
  if (m_strText.empty() || !dc || !area) return;
  const int zoom = m_pOwner->m_nZoom;
  const gdi::Font oldFont = SelectScaledFont(&m_logFont, dc);
  const gdi::COLORREF oldColor = dc->SetTextColor(m_color);
  const int dx = ScaleHundredthsMm(m_nPosX, zoom, dc->GetDeviceCaps(gdi::LOGPIXELSX));
  const int dy = ScaleHundredthsMm(m_nPosY, zoom, dc->GetDeviceCaps(gdi::LOGPIXELSY));
  const double x = static_cast<double>(area->left) + dx;
  const double y = static_cast<double>(area->top) + dy;
  dc->TextOut(TruncToPixel(x), TruncToPixel(y), ExpandedText());
  dc->SetTextColor(oldColor);
  dc->SelectObject(oldFont);
}

// ---- CCopyright -----------------------------------------------------------------------------

CCopyright::CCopyright(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawCopyright, owner, process, instance) {}

void CCopyright::SetDefaults() {
  m_logFont = MakeLogFont(6, 400, 0, "Arial");
  m_color = 0;
  COrvProfDesc desc;
  int enabled = 1;
  OrvGetProfInt(u"Copyright", &enabled, 1, &desc);
  m_bEnabled = enabled != 0;
}

void CCopyright::Serialize(plat::Archive& ar) {
  SerializeColor(ar, m_color);
  SerializeFont(ar, m_logFont);
  CDrawObject::Serialize(ar);
}

void CCopyright::Draw(gdi::DC* dc, gdi::Rect* area, int) {
  if (!dc || !area) return;
  const gdi::Font oldFont = SelectScaledFont(&m_logFont, dc);
  const gdi::COLORREF oldColor = dc->SetTextColor(0);
  const gdi::Size size = dc->GetTextExtent(kNotice);
  dc->TextOut(area->right - size.cx, area->top, kNotice);
  dc->SetTextColor(oldColor);
  dc->SelectObject(oldFont);
  area->top += size.cy;
}

// ---- CText ----------------------------------------------------------------------------------

CText::CText(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance)
    : CDrawObject(kDrawText, owner, process, instance) {
  m_bEnabled = true;
}

CText* CText::Create(CDrawObjectList& list, std::string_view text, int x, int y) {
  // A press off the data makes no label (its anchor would name no point).
  const int point = list.XToPoint(x);
  if (point < 0 || point >= IndexablePoints(list.m_pProcess)) return nullptr;
  auto* label = dynamic_cast<CText*>(list.GetDrawObject(kDrawText));
  if (!label) return nullptr;
  label->m_strText = text;
  label->m_nX = point;
  const double value = list.YToValue(y);
  label->m_fY = std::isfinite(value) ? static_cast<float>(value) : 0.0f;
  return label;
}

CText* CText::FindAt(const CDrawObjectList& list, int x, int y) {
  for (std::size_t i = 0; i < list.GetSize(); ++i) {
    CDrawObject* object = list.GetAt(i);
    if (object->GetType() == kDrawText && object->m_bEnabled && object->m_area.PtInRect({x, y}))
      return dynamic_cast<CText*>(object);
  }
  return nullptr;
}

void CText::Serialize(plat::Archive& ar) {
  if (ar.isStoring()) {
    ar.writeString(m_strText);
    ar.writeI32(m_nX);
    ar.writeF32(m_fY);
  } else {
    m_strText = ar.readString();
    m_nX = ar.readI32();
    const float y = ar.readF32();
    m_fY = std::isfinite(y) ? y : 0.0f;
  }
  CDrawObject::Serialize(ar);
}

void CText::LoadProperties(plat::Archive& ar) { CDrawObject::Serialize(ar); }

void CText::StoreProperties(plat::Archive& ar) { CDrawObject::Serialize(ar); }

int CText::GetContextMenu(bool) { return 7; }

int CText::HitTest(int x, int y) { return m_area.PtInRect({x, y}) ? 1 : 0; }

bool CText::Drag(int x, int y, int, int) {
  CDrawObjectList& list = *m_pOwner;
  const int point = list.XToPoint(x);
  const double value = list.YToValue(y);
  if (point < 0 || point >= IndexablePoints(m_pProcess) || !std::isfinite(value)) return false;
  m_nX = point;
  m_fY = static_cast<float>(value);
  return true;
}

void CText::Draw(gdi::DC* dc, gdi::Rect*, int mode) {
  if (mode != kDrawModePrint) m_area.SetRectEmpty();
  const CSpcData* data = m_pProcess ? m_pProcess->m_pData : nullptr;
  CDrawObjectList& list = *m_pOwner;
  if (!data || data->nDomain != kSpectrumDomain) return;
  if (!(list.m_fLeftBound <= m_nX && m_nX < list.m_fRightBound)) return;

  const gdi::Font oldFont = SelectScaledFont(&list.m_TextFont, dc);
  const gdi::COLORREF oldColor = dc->SetTextColor(list.m_TextColor);
  const gdi::Size size = dc->GetTextExtent(m_strText);
  const int w = size.cx;
  const int h = size.cy;
  const int px = list.PointToX(m_nX);
  const int py = list.ValueToY(m_fY);
  gdi::Rect box;
  if (list.m_TextFont.lfEscapement == 0) {
    dc->TextOut(px - w / 2, py - h / 2, m_strText);
    box = gdi::Rect(gdi::Point{px - w / 2, py - h / 2}, gdi::Size{w, h});
  } else {
    // Rising from the anchor: the text's cell lies to the right of its reference point.
    dc->TextOut(px - h / 2, py + w / 2, m_strText);
    box = gdi::Rect(gdi::Point{px - h / 2, py + w / 2 - w}, gdi::Size{h, w});
  }
  if (mode != kDrawModePrint) m_area = box;
  dc->SetTextColor(oldColor);
  dc->SelectObject(oldFont);
}
