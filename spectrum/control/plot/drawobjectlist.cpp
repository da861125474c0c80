#include "spectrum/control/plot/drawobjectlist.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "controls/common/archiveforms.h"
#include "platform/archive/archive.h"
#include "spectrum/control/plot/appearance.h"
#include "spectrum/control/plot/axes.h"
#include "spectrum/control/plot/pixels.h"
#include "spectrum/control/plot/trace.h"
#include "spectrum/data/spcprocess.h"

namespace {

using FactoryTable = std::array<DrawObjectFactory, kDrawLastListType + 1>;

FactoryTable& Factories() {
  // The classes of this library; the others are registered by the libraries that hold them.
  static FactoryTable table = [] {
    FactoryTable t{};
    t[kDrawBorder] = &MakeDrawObject<CBorder>;
    t[kDrawScaleY1] = &MakeDrawObject<CScaleY1>;
    t[kDrawGrid] = &MakeDrawObject<CGrid>;
    t[kDrawScale] = &MakeDrawObject<CScale>;
    t[kDrawSpectrum] = &MakeDrawObject<CSpectrum>;
    t[kDrawScaleY2] = &MakeDrawObject<CScaleY2>;
    return t;
  }();
  return table;
}

bool IsListType(std::int32_t type) { return type >= kDrawFirstListType && type <= kDrawLastListType; }

// The default set in the order it is made; sorted insertion leaves it in type order.
constexpr std::int32_t kDefaultSet[] = {kDrawBorder,   kDrawCopyright, kDrawScaleY1,   kDrawGrid,   kDrawTPeaks,
                                        kDrawScale,    kDrawIntegSums, kDrawSpectrum,  kDrawIntegrals,
                                        kDrawScaleY2,  kDrawMPeaks,    kDrawBaseline,  kDrawTitle};

// A stored float that must be finite; anything else keeps the fallback.
float FiniteOr(float v, float fallback) { return std::isfinite(v) ? v : fallback; }

}  // namespace

bool RegisterDrawObjectClass(std::int32_t type, DrawObjectFactory factory) {
  if (!IsListType(type)) return false;
  Factories()[type] = factory;
  return true;
}

CDrawObjectList::CDrawObjectList(CPlotHost* host, CSpcProcess* process) : m_pProcess(process), m_pHost(host) {}

CDrawObjectList::~CDrawObjectList() { RemoveAll(); }

// ---- Objects ----------------------------------------------------------------------------------

std::unique_ptr<CDrawObject> CDrawObjectList::CreateDrawObject(std::int32_t type, CSpcProcess* process,
                                                               std::int32_t instance) {
  if (!IsListType(type)) return nullptr;
  const DrawObjectFactory factory = Factories()[type];
  return factory ? factory(this, process, instance) : nullptr;
}

CDrawObject* CDrawObjectList::GetDrawObject(std::int32_t type) {
  std::int32_t count = 0;
  auto at = m_objects.begin();
  for (; at != m_objects.end() && (*at)->GetType() <= type; ++at)
    if ((*at)->GetType() == type) ++count;
  std::unique_ptr<CDrawObject> object = CreateDrawObject(type, m_pProcess, count);
  if (!object) return nullptr;
  CDrawObject* made = object.get();
  m_objects.insert(at, std::move(object));
  made->SetDefaults();
  return made;
}

CDrawObject* CDrawObjectList::FindDrawObject(std::int32_t type, std::int32_t instance) const {
  for (const auto& object : m_objects)
    if (object->GetType() == type && (instance == -1 || object->GetInstance() == instance)) return object.get();
  return nullptr;
}

int CDrawObjectList::IndexOf(const CDrawObject* object) const {
  for (std::size_t i = 0; i < m_objects.size(); ++i)
    if (m_objects[i].get() == object) return static_cast<int>(i);
  return -1;
}

bool CDrawObjectList::RemoveObject(CDrawObject* object) {
  const int index = IndexOf(object);
  if (index < 0) return false;
  const std::int32_t type = object->GetType();
  const std::int32_t instance = object->GetInstance();
  if (m_nGrabbed == index) m_nGrabbed = -1;
  else if (m_nGrabbed > index) --m_nGrabbed;
  m_objects.erase(m_objects.begin() + index);
  for (const auto& other : m_objects)
    if (other->GetType() == type && other->m_nInstance > instance) --other->m_nInstance;
  return true;
}

void CDrawObjectList::RemoveAll() {
  m_objects.clear();
  m_nGrabbed = -1;
}

bool CDrawObjectList::CreateDefaultObjects(CSpcProcess* process) {
  m_pProcess = process;
  for (const std::int32_t type : kDefaultSet) GetDrawObject(type);
  SetListDefaults();
  return true;
}

void CDrawObjectList::SetListDefaults() {
  m_bkBrush = {gdi::BS_HOLLOW, 0xFFFFFF, 0};
  m_CursorColor = 0;
  m_CursorType = 1;
  m_TextColor = 0;
  m_TextFont = MakeLogFont(10, 400, 1, "Arial", 900);
  for (const auto& object : m_objects) object->SetDefaults();
}

// ---- Drawing ----------------------------------------------------------------------------------

void CDrawObjectList::DrawAll(gdi::DC* dc, const gdi::Rect* client, int mode) {
  gdi::Rect area = *client;
  const double h = static_cast<double>(area.bottom) - area.top;
  area.top += TruncToPixel(h * FiniteOr(m_fTopMargin, 0.0f));
  area.bottom -= TruncToPixel(h * FiniteOr(m_fBottomMargin, 0.0f));
  for (const auto& object : m_objects)
    if (object->m_bEnabled) object->Draw(dc, &area, mode);
  m_bHold = false;
}

// ---- Archives ---------------------------------------------------------------------------------

void CDrawObjectList::StoreObjects(plat::Archive& ar, bool full) {
  for (const auto& object : m_objects) {
    ar.writeU32(static_cast<std::uint32_t>(object->GetType()));
    ar.writeU32(static_cast<std::uint32_t>(object->GetInstance()));
    if (full) object->Serialize(ar);
    else object->StoreProperties(ar);
  }
  ar.writeU32(kDrawEnd);
  ar.writeU32(0);
  karvel::WriteLogBrush(ar, m_bkBrush);
  ar.writeU32(m_CursorColor);
  ar.writeI32(m_CursorType);
  CDrawObject::SerializeFont(ar, m_TextFont);
  ar.writeU32(m_TextColor);
}

void CDrawObjectList::LoadObjects(plat::Archive& ar, bool full) {
  for (;;) {
    const std::uint32_t type = ar.readU32();
    const std::uint32_t instance = ar.readU32();
    if (type == kDrawEnd) break;
    if (!IsListType(static_cast<std::int32_t>(type)))
      throw plat::ArchiveError(plat::ArchiveError::Kind::BadFormat, "unknown draw object type");
    const auto t = static_cast<std::int32_t>(type);
    CDrawObject* object = FindDrawObject(t, static_cast<std::int32_t>(instance));
    std::unique_ptr<CDrawObject> dropped;
    if (!object && !full && t == kDrawText) {
      // A property set carries no labels: a stored text the list lacks is read and dropped.
      dropped = CreateDrawObject(t, m_pProcess, 0);
      object = dropped.get();
    } else if (!object) {
      object = GetDrawObject(t);
    }
    // Without its class the object's bytes cannot be told from what follows.
    if (!object) throw plat::ArchiveError(plat::ArchiveError::Kind::BadFormat, "draw object type without a class");
    if (full) object->Serialize(ar);
    else object->LoadProperties(ar);
  }
  m_bkBrush = karvel::ReadLogBrush(ar);
  m_CursorColor = ar.readU32();
  m_CursorType = ar.readI32();
  CDrawObject::SerializeFont(ar, m_TextFont);
  m_TextColor = ar.readU32();
}

void CDrawObjectList::SerializeObjects(plat::Archive& ar, CSpcProcess* process) {
  if (process) {
    m_pProcess = process;
    for (const auto& object : m_objects) object->m_pProcess = process;
  }
  if (ar.isStoring()) {
    StoreObjects(ar, true);
    ar.writeI32(m_nBase);
    ar.writeF32(m_fIntegSum);
    ar.writeF32(m_fTopMargin);
    ar.writeF32(m_fBottomMargin);
    ar.writeF32(m_fMassThreshold);
    ar.writeF32(m_fLeftBound);
    ar.writeF32(m_fRightBound);
    ar.writeU32(static_cast<std::uint32_t>(m_zoomRegions.size()));
    for (const CZoomRegion& r : m_zoomRegions) {
      ar.writeF32(r.from);
      ar.writeF32(r.to);
      ar.writeF32(r.factor);
    }
    return;
  }
  LoadObjects(ar, true);
  m_nBase = ar.readI32();
  m_fIntegSum = FiniteOr(ar.readF32(), 100.0f);
  m_fTopMargin = FiniteOr(ar.readF32(), 0.0f);
  m_fBottomMargin = FiniteOr(ar.readF32(), 0.0f);
  m_fMassThreshold = FiniteOr(ar.readF32(), 0.0f);
  m_fLeftBound = FiniteOr(ar.readF32(), 0.0f);
  m_fRightBound = FiniteOr(ar.readF32(), 0.0f);
  const std::uint32_t count = ar.readCount(std::numeric_limits<std::uint32_t>::max(), 12);
  m_zoomRegions.clear();
  for (std::uint32_t i = 0; i < count; ++i) {
    CZoomRegion r;
    r.from = ar.readF32();
    r.to = ar.readF32();
    r.factor = ar.readF32();
    // A region that cannot be drawn is dropped.
    if (std::isfinite(r.from) && std::isfinite(r.to) && std::isfinite(r.factor) && r.from <= r.to)
      m_zoomRegions.push_back(r);
  }
  std::stable_sort(m_zoomRegions.begin(), m_zoomRegions.end(),
                   [](const CZoomRegion& a, const CZoomRegion& b) { return a.from < b.from; });
}

// ---- Transforms -------------------------------------------------------------------------------

bool CDrawObjectList::IsMass() const { return m_pProcess && m_pProcess->m_pData && m_pProcess->m_pData->nKind == 1; }

int CDrawObjectList::GetZeroY(const gdi::Rect* plot) {
  if (m_bHold) return m_nHeldZeroY;
  const double height = static_cast<double>(plot->bottom) - plot->top;
  const double range = static_cast<double>(m_fYMax) - m_fYMin;
  // A flat trace lies on the bottom row, raised by the vertical offset.
  const double ratio = IsDivisor(range) ? m_fYMin / range : 0.0;
  m_nHeldZeroY = TruncToPixel((ratio - m_fVerticalOffset) * height + plot->bottom);
  return m_nHeldZeroY;
}

int CDrawObjectList::ValueToY(float value) {
  const gdi::Rect& r = m_plotRect;
  const double height = static_cast<double>(r.bottom) - r.top;
  if (IsMass()) {
    if (!IsDivisor(m_fYMax)) return r.bottom;
    return TruncToPixel(r.bottom - height * value / m_fYMax * m_fAmplitude);
  }
  const int zero = GetZeroY(&r);
  const double range = static_cast<double>(m_fYMax) - m_fYMin;
  if (!IsDivisor(range)) return zero;
  return TruncToPixel(zero - height * value / range * m_fAmplitude);
}

int CDrawObjectList::PosToX(float x) {
  const gdi::Rect& r = m_plotRect;
  if (IsMass()) {
    const double span = static_cast<double>(m_fRightBound) - m_fLeftBound;
    if (!IsDivisor(span)) return r.left;
    return TruncToPixel((x - m_fLeftBound) / span * (static_cast<double>(r.right) - r.left) + r.left);
  }
  if (!IsDivisor(m_fPointsPerPixel)) return r.left;
  return TruncToPixel((x - m_fLeftBound) / m_fPointsPerPixel + r.left);
}

int CDrawObjectList::PointToX(int point) { return PosToX(static_cast<float>(point)); }

double CDrawObjectList::YToValue(int row) {
  const gdi::Rect& r = m_plotRect;
  const double height = static_cast<double>(r.bottom) - r.top;
  if (!IsDivisor(height) || !IsDivisor(m_fAmplitude)) return 0.0;
  if (IsMass()) return (r.bottom - row) / height * m_fYMax / m_fAmplitude;
  const double range = static_cast<double>(m_fYMax) - m_fYMin;
  return (GetZeroY(&r) - static_cast<double>(row)) * range / m_fAmplitude / height;
}

double CDrawObjectList::XToPos(int column) {
  const gdi::Rect& r = m_plotRect;
  if (IsMass()) {
    const double width = static_cast<double>(r.right) - r.left;
    if (!IsDivisor(width)) return m_fLeftBound;
    return (static_cast<double>(m_fRightBound) - m_fLeftBound) * (column - r.left) / width + m_fLeftBound;
  }
  return (static_cast<double>(column) - r.left) * m_fPointsPerPixel + m_fLeftBound;
}

int CDrawObjectList::XToPoint(int column) { return TruncToInt(XToPos(column)); }

std::int32_t CDrawObjectList::GetDefaultUnit() const {
  if (!m_pProcess) return kUnitPoint;
  const std::uint32_t mask = m_pProcess->GetAvailableUnits();
  for (std::int32_t unit = 0; unit <= 9; ++unit)
    if (mask & (1u << unit)) return unit;
  return kUnitPoint;
}

std::int32_t CDrawObjectList::UsableUnit(std::int32_t unit) const {
  if (m_pProcess && unit >= 0 && unit < 32 && (m_pProcess->GetAvailableUnits() & (1u << unit))) return unit;
  return GetDefaultUnit();
}
