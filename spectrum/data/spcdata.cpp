// The spectrum record, its parameter list and their archive form.
#include "spectrum/data/spcdata.h"

#include <bit>
#include <utility>

#include "platform/archive/archive.h"
#include "platform/base/text.h"

// ---- Parameter list --------------------------------------------------------------------------

std::ptrdiff_t CSpcParamList::Find(std::string_view name) const {
  for (std::size_t i = 0; i < m_entries.size(); ++i)
    if (plat::equalsNoCase(m_entries[i].name, name)) return static_cast<std::ptrdiff_t>(i);
  return -1;
}

bool CSpcParamList::SetParam(const CSpcParam& param) {
  const std::ptrdiff_t i = Find(param.name);
  if (i < 0) {
    m_entries.push_back(param);
    return true;
  }
  return m_entries[static_cast<std::size_t>(i)].value.AssignKeepType(param.value);
}

bool CSpcParamList::SetParam(std::string_view name, const CVariant& value) {
  const std::ptrdiff_t i = Find(name);
  if (i >= 0) return m_entries[static_cast<std::size_t>(i)].value.AssignKeepType(value);
  CSpcParam param;
  param.name = std::string(name);
  param.value = value;
  m_entries.push_back(std::move(param));
  return true;
}

CSpcParam CSpcParamList::GetParam(std::string_view name) const {
  const std::ptrdiff_t i = Find(name);
  return i < 0 ? CSpcParam() : m_entries[static_cast<std::size_t>(i)];
}

CVariant CSpcParamList::GetValue(std::string_view name) const {
  const std::ptrdiff_t i = Find(name);
  return i < 0 ? CVariant() : m_entries[static_cast<std::size_t>(i)].value;
}

bool CSpcParamList::HasParam(std::string_view name) const { return Find(name) >= 0; }

bool CSpcParamList::RenameParam(std::string_view oldName, std::string_view newName) {
  const std::ptrdiff_t i = Find(oldName);
  if (i < 0) return false;
  m_entries[static_cast<std::size_t>(i)].name = std::string(newName);
  return true;
}

namespace {

// An entry named name whose value set gives, with an empty comment.
template <class Set>
CSpcParam NamedValue(std::string_view name, Set set) {
  CSpcParam param;
  set(param.value);
  param.name = std::string(name);
  return param;
}

}  // namespace

// The value is copied before the list grows, so it may be an entry of this list.
void CSpcParamList::Append(std::string_view name, const CVariant& value) {
  m_entries.push_back(NamedValue(name, [&](CVariant& v) { v = value; }));
}
void CSpcParamList::Append(std::string_view name, std::int16_t value) {
  m_entries.push_back(NamedValue(name, [&](CVariant& v) { v.SetShort(value); }));
}
void CSpcParamList::Append(std::string_view name, std::int32_t value) {
  m_entries.push_back(NamedValue(name, [&](CVariant& v) { v.SetLong(value); }));
}
void CSpcParamList::Append(std::string_view name, float value) {
  m_entries.push_back(NamedValue(name, [&](CVariant& v) { v.SetFloat(value); }));
}
void CSpcParamList::Append(std::string_view name, double value) {
  m_entries.push_back(NamedValue(name, [&](CVariant& v) { v.SetDouble(value); }));
}
void CSpcParamList::Append(std::string_view name, std::string_view text) {
  m_entries.push_back(NamedValue(name, [&](CVariant& v) { v.SetString(text); }));
}
void CSpcParamList::AppendDate(std::string_view name, double date) {
  m_entries.push_back(NamedValue(name, [&](CVariant& v) { v.SetDate(date); }));
}

// ---- Record ----------------------------------------------------------------------------------

void CSpcData::Reset() { *this = CSpcData(); }

bool CSpcData::HasData() const { return !data[0].empty() || !data[1].empty() || !scans.empty(); }

namespace {

// Points are archived re, im, re, im, ... as little-endian floats: on a little-endian machine
// that is how the vector holds them, so they go in and out as one block.
constexpr bool kPointsAsStored = std::endian::native == std::endian::little;

void storePoints(plat::Archive& ar, const std::vector<CSpcPoint>& points) {
  ar.writeI32(static_cast<std::int32_t>(points.size()));
  if constexpr (kPointsAsStored) {
    ar.writeBytes(points.data(), points.size() * sizeof(CSpcPoint));
  } else {
    for (const CSpcPoint& p : points) {
      ar.writeF32(p.re);
      ar.writeF32(p.im);
    }
  }
}

void loadPoints(plat::Archive& ar, std::vector<CSpcPoint>* points) {
  const std::uint32_t n = ar.readCount(CSpcData::kMaxPoints, 8);
  points->resize(n);
  if constexpr (kPointsAsStored) {
    ar.readBytes(points->data(), std::size_t(n) * sizeof(CSpcPoint));
  } else {
    for (CSpcPoint& p : *points) {
      p.re = ar.readF32();
      p.im = ar.readF32();
    }
  }
}

// Smallest archived sizes, used to refuse counts the remaining bytes cannot hold.
constexpr std::uint64_t kMinParamBytes = 2 + 1 + 1;     // type word, two empty strings
constexpr std::uint64_t kMinScanBytes = 4 + 4 + 1;      // peak count, ion current, empty label

}  // namespace

void CSpcData::Store(plat::Archive& ar) const {
  ar.writeI32(nState);
  ar.writeI32(nAux);
  ar.writeI32(nDomain);
  ar.writeI32(nAcqCode);
  ar.writeI32(nKind);
  ar.writeString(strName);

  ar.writeI32(static_cast<std::int32_t>(params.size()));
  for (const CSpcParam& p : params) {
    p.value.WriteVariant(ar);
    ar.writeString(p.name);
    ar.writeString(p.comment);
  }

  ar.writeI32(static_cast<std::int32_t>(integrals.size()));
  for (const CSpcIntegral& in : integrals) {
    ar.writeU32(in.from);
    ar.writeU32(in.to);
    ar.writeF32(in.factor);
  }

  ar.writeI32(static_cast<std::int32_t>(peaks.size()));
  for (std::int32_t peak : peaks) ar.writeI32(peak);

  ar.writeI32(static_cast<std::int32_t>(scans.size()));
  for (const CMassScan& scan : scans) {
    ar.writeI32(static_cast<std::int32_t>(scan.peaks.size()));
    for (const CSpcPoint& peak : scan.peaks) {
      ar.writeF32(peak.im);  // mass first
      ar.writeF32(peak.re);
    }
    ar.writeF32(scan.fIonCurrent);
    ar.writeString(scan.strLabel);
  }

  storePoints(ar, data[0]);
  storePoints(ar, data[1]);
}

void CSpcData::Load(plat::Archive& ar) {
  CSpcData loaded;
  loaded.nState = ar.readI32();
  loaded.nAux = ar.readI32();
  loaded.nDomain = ar.readI32();
  loaded.nAcqCode = ar.readI32();
  loaded.nKind = ar.readI32();
  loaded.strName = ar.readString();

  const std::uint32_t paramCount = ar.readCount(kMaxElements, kMinParamBytes);
  for (std::uint32_t i = 0; i < paramCount; ++i) {
    CSpcParam p;
    p.value.ReadVariant(ar);
    p.name = ar.readString();
    p.comment = ar.readString();
    loaded.params.Append(std::move(p));
  }

  loaded.integrals.resize(ar.readCount(kMaxElements, 12));
  for (CSpcIntegral& in : loaded.integrals) {
    in.from = ar.readU32();
    in.to = ar.readU32();
    in.factor = ar.readF32();
  }

  loaded.peaks.resize(ar.readCount(kMaxElements, 4));
  for (std::int32_t& peak : loaded.peaks) peak = ar.readI32();

  // Scans and parameters grow as they are read: their memory follows the bytes actually there.
  const std::uint32_t scanCount = ar.readCount(kMaxElements, kMinScanBytes);
  for (std::uint32_t s = 0; s < scanCount; ++s) {
    CMassScan& scan = loaded.scans.emplace_back();
    scan.peaks.resize(ar.readCount(kMaxPoints, 8));
    for (CSpcPoint& peak : scan.peaks) {
      peak.im = ar.readF32();  // mass first
      peak.re = ar.readF32();
    }
    scan.fIonCurrent = ar.readF32();
    scan.strLabel = ar.readString();
  }

  loadPoints(ar, &loaded.data[0]);
  loadPoints(ar, &loaded.data[1]);
  *this = std::move(loaded);
}

void CSpcData::Serialize(plat::Archive& ar) {
  if (ar.isStoring())
    Store(ar);
  else
    Load(ar);
}
