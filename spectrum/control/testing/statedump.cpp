// The text dump of a spectrum control's persistent state, read back by a control of its own.
#include <charconv>
#include <cstdio>
#include <sstream>

#include "platform/archive/archive.h"
#include "spectrum/control/control/spccontrol.h"
#include "spectrum/control/testing/hostitem.h"

namespace nelvar::testing {

namespace {

std::string Num(double v) {
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 9);
  return ec == std::errc() ? std::string(buffer, end) : std::string("?");
}

// FNV-1a over bytes: equal digests for equal contents.
std::string Digest(const void* data, std::size_t size) {
  std::uint64_t h = 1469598103934665603ull;
  const auto* p = static_cast<const std::uint8_t*>(data);
  for (std::size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
  char buffer[17];
  std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(h));
  return buffer;
}

template <class T>
std::string VectorDigest(const std::vector<T>& v) {
  return std::to_string(v.size()) + " " + Digest(v.data(), v.size() * sizeof(T));
}

void DumpRecord(std::ostream& out, const CSpcData& d) {
  out << "record kind=" << d.nKind << " domain=" << d.nDomain << " acq=" << d.nAcqCode << " state=" << d.nState
      << " aux=" << d.nAux << " name=" << d.strName << "\n";
  for (const CSpcParam& p : d.params)
    out << "  param " << p.name << " = " << p.value.GetString() << (p.comment.empty() ? "" : " ; " + p.comment) << "\n";
  out << "  fid " << VectorDigest(d.fid()) << "\n  spectrum " << VectorDigest(d.spectrum()) << "\n";
  out << "  scans " << d.scans.size() << "\n";
  for (const CMassScan& s : d.scans)
    out << "    scan " << VectorDigest(s.peaks) << " ion=" << Num(s.fIonCurrent) << " label=" << s.strLabel << "\n";
  out << "  integrals";
  for (const CSpcIntegral& i : d.integrals) out << " [" << i.from << "," << i.to << " x" << Num(i.factor) << "]";
  out << "\n  peaks";
  for (std::int32_t p : d.peaks) out << " " << p;
  out << "\n";
}

void DumpProcess(std::ostream& out, const CSpcProcess& p) {
  out << "process display=" << p.m_nDisplay << " SI=" << p.m_nSI << " TD=" << p.m_nTD << " aq=" << p.m_nAqMode
      << " PH0=" << Num(p.m_fPH0) << " PH1=" << Num(p.m_fPH1) << " pivot=" << p.m_nPivot << " OP=" << p.m_nOP
      << " freq=" << Num(p.m_dFreq) << " SW=" << Num(p.m_dSW) << " offset=" << Num(p.m_dOffset)
      << " scan=" << p.m_nScan << "/" << p.m_nScans << " points=" << p.m_nCur << "\n";
  out << "  baseline " << VectorDigest(p.m_baseline) << " on=" << p.m_bBaseline << " method=" << p.m_nBaselineMethod
      << " spline=" << Num(p.m_fSplineFactor) << " slope=" << Num(p.m_fSlope) << " points";
  for (std::int32_t b : p.m_basePoints) out << " " << b;
  out << "\n";
}

void DumpPlot(std::ostream& out, CDrawObjectList& list) {
  out << "plot bounds=" << Num(list.m_fLeftBound) << ".." << Num(list.m_fRightBound)
      << " amplitude=" << Num(list.m_fAmplitude) << " base=" << list.m_nBase << " integsum=" << Num(list.m_fIntegSum)
      << " margins=" << Num(list.m_fTopMargin) << "," << Num(list.m_fBottomMargin)
      << " threshold=" << Num(list.m_fMassThreshold) << " cursor=" << list.m_CursorColor << "/" << list.m_CursorType
      << " text=" << list.m_TextColor << "\n";
  for (const CZoomRegion& r : list.m_zoomRegions)
    out << "  zoom region " << Num(r.from) << ".." << Num(r.to) << " x" << Num(r.factor) << "\n";
  for (std::size_t i = 0; i < list.GetSize(); ++i) {
    CDrawObject* object = list.GetAt(i);
    plat::Archive ar;
    object->Serialize(ar);
    out << "  object " << object->GetType() << "/" << object->GetInstance() << " enabled=" << object->m_bEnabled
        << " " << Digest(ar.bytes().data(), ar.bytes().size()) << "\n";
    if (const auto* text = dynamic_cast<const CAnchoredText*>(object))
      out << "    text \"" << text->m_strText << "\" at " << text->m_nX << "," << Num(text->m_fY) << "\n";
  }
}

}  // namespace

std::string DumpSpcState(std::span<const std::uint8_t> state) {
  auto* control = new CSpcControl;
  if (!control->LoadState(state)) {
    control->Release();
    return "unreadable state\n";
  }
  std::ostringstream out;
  DumpRecord(out, control->m_data);
  DumpProcess(out, control->m_process);
  out << "control set=" << control->m_propertySet << " startup=" << control->m_runStartup
      << " number=" << control->m_spectrumNumber << " folder=" << control->m_propertyFolder
      << " link=" << control->m_linkUnit << " extent=" << control->GetExtent().cx << "x" << control->GetExtent().cy
      << "\n  zoom history";
  for (const CZoomBounds& z : control->m_zoomHistory) out << " " << Num(z.left) << ".." << Num(z.right);
  out << "\n  bar states";
  for (const auto& [id, flags] : control->m_barStates) out << " " << id << ":" << flags;
  out << "\n";
  DumpPlot(out, control->m_drawList);
  out << "dock state " << control->m_dockState.m_bars.size() << "\n";
  for (const ui::DockState::BarInfo& b : control->m_dockState.m_bars)
    out << "  bar " << b.barId << " visible=" << b.visible << " floating=" << b.floating << " dock=" << b.dockBarId
        << " row=" << b.row << " offset=" << b.offset << "\n";
  control->Release();
  return out.str();
}

}  // namespace nelvar::testing
