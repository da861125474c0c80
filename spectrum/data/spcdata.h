#pragma once
// CSpcData: the one in-memory form of a spectrum. Readers fill it, writers and the processing
// engine work on it, the spectrum control archives it. Named values live in a CSpcParamList.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spectrum/data/cvariant.h"

namespace plat {
class Archive;
}

// One data point; in a mass peak re is the intensity and im the mass (m/z).
struct CSpcPoint {
  float re = 0.0f;
  float im = 0.0f;
};
static_assert(sizeof(CSpcPoint) == 8);

// One integral range over point indices [from, to].
struct CSpcIntegral {
  std::uint32_t from = 0;
  std::uint32_t to = 0;
  float factor = 1.0f;
};
static_assert(sizeof(CSpcIntegral) == 12);

// One mass scan. Peaks are {intensity, mass} in ascending order of mass.
struct CMassScan {
  std::vector<CSpcPoint> peaks;
  float fIonCurrent = 0.0f;
  std::uint32_t dwExtra = 0;  // free for converters; not archived
  float fTime = 0.0f;         // not archived
  std::string strLabel;
};

// One named value. Copies are deep.
struct CSpcParam {
  CVariant value;
  std::string name;
  std::string comment;
};

// Named values in insertion order. Names compare without regard to case; duplicates may exist
// and every lookup takes the first match.
class CSpcParamList {
 public:
  // Sets the first entry of that name to the given value converted to the type the entry holds
  // (an entry holding VT_EMPTY takes the value as it is); its stored name and comment stay. A
  // value that cannot be converted leaves the entry as it was and gives false. Without such an
  // entry a copy of the given one is appended.
  bool SetParam(const CSpcParam& param);
  bool SetParam(std::string_view name, const CVariant& value);
  // A copy of the first match, or an empty entry (VT_EMPTY, empty name and comment).
  CSpcParam GetParam(std::string_view name) const;
  // A copy of the first match's value, or VT_EMPTY.
  CVariant GetValue(std::string_view name) const;
  bool HasParam(std::string_view name) const;
  // The first entry with the old name takes the new one; false when there is none.
  bool RenameParam(std::string_view oldName, std::string_view newName);
  // Index of the first match, or -1.
  std::ptrdiff_t Find(std::string_view name) const;

  // Appends without merging (what readers and archive loading do).
  void Append(const CSpcParam& param) { m_entries.push_back(param); }
  void Append(CSpcParam&& param) { m_entries.push_back(std::move(param)); }
  // Appends name = value with an empty comment; the value's type follows the argument's:
  // VT_I2, VT_I4, VT_R4, VT_R8, VT_BSTR (UTF-8 text), or the variant as it is. A date is
  // appended by name (AppendDate), since it is a double too.
  void Append(std::string_view name, const CVariant& value);
  void Append(std::string_view name, std::int16_t value);
  void Append(std::string_view name, std::int32_t value);
  void Append(std::string_view name, float value);
  void Append(std::string_view name, double value);
  void Append(std::string_view name, std::string_view text);
  void AppendDate(std::string_view name, double date);
  void Clear() { m_entries.clear(); }

  std::size_t size() const { return m_entries.size(); }
  bool empty() const { return m_entries.empty(); }
  CSpcParam& operator[](std::size_t i) { return m_entries[i]; }
  const CSpcParam& operator[](std::size_t i) const { return m_entries[i]; }
  std::vector<CSpcParam>::iterator begin() { return m_entries.begin(); }
  std::vector<CSpcParam>::iterator end() { return m_entries.end(); }
  std::vector<CSpcParam>::const_iterator begin() const { return m_entries.begin(); }
  std::vector<CSpcParam>::const_iterator end() const { return m_entries.end(); }
  std::vector<CSpcParam>& entries() { return m_entries; }
  const std::vector<CSpcParam>& entries() const { return m_entries; }

 private:
  std::vector<CSpcParam> m_entries;
};

class CSpcData {
 public:
  // Largest point vector a record holds (and an archive may describe).
  static constexpr std::uint32_t kMaxPoints = 1u << 27;
  // Largest number of any other archived element (parameters, integrals, peaks, scans).
  static constexpr std::uint32_t kMaxElements = 1u << 24;

  std::int32_t nState = 0;    // 1 once a spectrum has been read and set up
  std::int32_t nAux = 0;      // carried and archived unchanged
  std::int32_t nDomain = 0;   // 0 FID (data[0]), 1 spectrum (data[1])
  std::int32_t nAcqCode = 1;  // 1: time-domain data are complex pairs
  std::int32_t nKind = 0;     // 0 NMR, 1 MASS, 2 IR, 3 UV, 4 CH, 5 TIC, 6 NMR 2D
  std::string strName;
  CSpcParamList params;
  std::vector<CSpcIntegral> integrals;
  std::vector<std::int32_t> peaks;
  std::vector<CMassScan> scans;
  std::vector<CSpcPoint> data[2];

  std::vector<CSpcPoint>& fid() { return data[0]; }
  const std::vector<CSpcPoint>& fid() const { return data[0]; }
  std::vector<CSpcPoint>& spectrum() { return data[1]; }
  const std::vector<CSpcPoint>& spectrum() const { return data[1]; }

  // Back to the state of a new record: empty, nAcqCode 1, everything else 0.
  void Reset();
  // True when the FID, the spectrum or the scans hold anything.
  bool HasData() const;

  // The archive form. Load reads into a new record and replaces this one only when the whole
  // record was read, so a failed load (plat::ArchiveError) leaves this record as it was.
  void Store(plat::Archive& ar) const;
  void Load(plat::Archive& ar);
  void Serialize(plat::Archive& ar);
};
