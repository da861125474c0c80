// Persistence: the property exchange (the version stamp and the class library's stock
// properties) and the control's archive, and copying another control's state.
#include "platform/archive/archive.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/data/spcdata.h"

void CSpcControl::DoPropExchange(plat::ole::PropExchange* px) {
  ExchangeVersion(px, kPersistVersion);
  COleControlEx::DoPropExchange(px);
}

// The control's archive is a second archive of its own that starts where the given one stands
// and hands it back where it ended: storing, it is written on at the end; loading, it reads the
// bytes that are left and the given archive moves past what it read, never further.
void CSpcControl::Serialize(plat::Archive& ar) {
  plat::Archive own(plat::Archive::Nested{}, ar);
  if (ar.isStoring()) {
    COleControlEx::Serialize(own);
    SerializeOwnState(own);
    return;
  }
  try {
    COleControlEx::Serialize(own);
    SerializeOwnState(own);
  } catch (...) {
    // What was read before the fault goes: the control is left empty, never half loaded.
    ClearData();
    m_zoomHistory.clear();
    m_barStates.clear();
    ResetView();
    throw;
  }
}

void CSpcControl::SerializeOwnState(plat::Archive& ar) {
  if (ar.isStoring()) {
    m_process.Serialize(ar);
    ar.writeU32(static_cast<std::uint32_t>(m_zoomHistory.size()));
    for (const CZoomBounds& z : m_zoomHistory) {
      ar.writeF32(z.left);
      ar.writeF32(z.right);
    }
    ar.writeU32(m_propertySet);
    ar.writeU32(m_runStartup);
    ar.writeU32(m_spectrumNumber);
    ar.writeString(m_propertyFolder);
    ar.writeU32(m_linkUnit);
    ar.writeU32(static_cast<std::uint32_t>(m_barStates.size()));
    for (const auto& [id, flags] : m_barStates) {  // ascending bar ids
      ar.writeU32(id);
      ar.writeU32(flags);
    }
    m_drawList.SerializeObjects(ar, nullptr);
    m_dockState.Serialize(ar);
    return;
  }
  ClearData();
  m_process.Serialize(ar);
  const std::uint32_t zooms = ar.readCount(CSpcData::kMaxElements, 8);
  m_zoomHistory.clear();
  for (std::uint32_t i = 0; i < zooms; ++i) {
    CZoomBounds z;
    z.left = ar.readF32();
    z.right = ar.readF32();
    m_zoomHistory.push_back(z);
  }
  m_propertySet = ar.readU32();
  m_runStartup = ar.readU32();
  m_spectrumNumber = ar.readU32();
  m_propertyFolder = ar.readString();
  m_linkUnit = ar.readU32();
  const std::uint32_t bars = ar.readCount(CSpcData::kMaxElements, 8);
  for (std::uint32_t i = 0; i < bars; ++i) {
    const std::uint32_t id = ar.readU32();
    m_barStates[id] = ar.readU32();
  }
  m_drawList.SerializeObjects(ar, &m_process);
  RebuildPicture();
  ReloadMenus();
  m_dockState.Serialize(ar);
}

bool CSpcControl::SaveToGlobal(CSpcControl* source) {
  if (!source || source == this) return false;
  // The source's state goes through one block of memory into this control.
  plat::Archive out;
  source->Serialize(out);
  plat::Archive in(plat::Archive::Borrow{}, out.bytes());
  try {
    Serialize(in);
  } catch (const plat::ArchiveError&) {
    return false;
  }
  return true;
}
