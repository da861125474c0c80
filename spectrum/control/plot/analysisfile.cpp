// The "analysis" section of a spectrum folder: what the user added to the spectrum (integrals,
// peaks, free texts) and how it was viewed (integral sum, amplitude, bounds, frame, margins).
#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "foundation/profdesc.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "profile/profile.h"
#include "spectrum/control/plot/drawobjectlist.h"
#include "spectrum/control/plot/pixels.h"
#include "spectrum/control/plot/plotdata.h"

namespace {

// The section of control n in the folder's "analysis" INI file.
class AnalysisSection {
 public:
  AnalysisSection(const std::string& folder, std::uint32_t controlNumber)
      : m_desc(plat::toUtf16(plat::joinPath(folder, "analysis")).c_str(),
               plat::toUtf16("\\CONTROL_NMR_" + std::to_string(controlNumber)).c_str()) {
    m_desc.SetIni(true);
  }
  bool Open() { return m_desc.Open(PROF_MODE_ALL) == PROF_OK; }

  bool SetDWord(const std::string& name, std::uint32_t value) {
    return OrvSetProfDWord(plat::toUtf16(name).c_str(), value, &m_desc) == PROF_OK;
  }
  bool SetFloat(const std::string& name, float value) { return SetDWord(name, std::bit_cast<std::uint32_t>(value)); }
  bool SetInt(const std::string& name, int value) {
    return OrvSetProfInt(plat::toUtf16(name).c_str(), value, &m_desc) == PROF_OK;
  }
  bool SetString(const std::string& name, const std::string& text) {
    return OrvSetProfString(plat::toUtf16(name).c_str(), plat::toUtf16(text).c_str(), &m_desc) == PROF_OK;
  }
  bool SetBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    return OrvSetProfBinary(plat::toUtf16(name).c_str(), bytes.data(), static_cast<unsigned>(bytes.size()), &m_desc) ==
           PROF_OK;
  }

  bool GetDWord(const std::string& name, std::uint32_t* value, std::uint32_t fallback) {
    return OrvGetProfDWord(plat::toUtf16(name).c_str(), value, fallback, &m_desc) == PROF_OK;
  }
  bool GetInt(const std::string& name, int* value, int fallback) {
    return OrvGetProfInt(plat::toUtf16(name).c_str(), value, fallback, &m_desc) == PROF_OK;
  }
  bool GetString(const std::string& name, std::string* text) {
    plat::String16 value;
    const bool ok = OrvGetProfCString(plat::toUtf16(name).c_str(), &value, u"", &m_desc) == PROF_OK;
    *text = plat::toUtf8(value);
    return ok;
  }
  // The whole block, whatever its size.
  bool GetBinary(const std::string& name, std::vector<std::uint8_t>* bytes) {
    const plat::String16 key = plat::toUtf16(name);
    unsigned length = 0;
    bytes->clear();
    const int probe = OrvGetProfBinary(key.c_str(), nullptr, &length, &m_desc);
    if (probe == PROF_OK) return true;  // an empty block
    if (probe != PROF_MORE_DATA) return false;
    bytes->resize(length);
    if (OrvGetProfBinary(key.c_str(), bytes->data(), &length, &m_desc) != PROF_OK) return false;
    bytes->resize(std::min<std::size_t>(bytes->size(), length));
    return true;
  }
  // The number of values the section holds (an upper bound for counts read from it).
  int ValueCount() {
    int count = 0;
    return OrvGetProfValues(&count, &m_desc) == PROF_OK ? count : 0;
  }

 private:
  COrvProfDesc m_desc;
};

void AppendLe32(std::vector<std::uint8_t>* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint32_t LoadLe32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::string Indexed(const char* name, std::uint32_t i) { return name + std::to_string(i); }

// A bound as the file keeps it: the value truncated to a 32-bit integer.
std::uint32_t BoundWord(float bound) { return static_cast<std::uint32_t>(TruncToInt(bound)); }

}  // namespace

bool CDrawObjectList::SaveAnalysis(const std::string& folder, std::uint32_t controlNumber) {
  AnalysisSection section(folder, controlNumber);
  if (!m_pProcess || !m_pProcess->m_pData || !section.Open()) return false;
  const CSpcData& data = *m_pProcess->m_pData;

  std::vector<std::uint8_t> ranges, factors, peaks;
  for (const CSpcIntegral& integral : data.integrals) {
    AppendLe32(&ranges, integral.from);
    AppendLe32(&ranges, integral.to);
    AppendLe32(&factors, std::bit_cast<std::uint32_t>(integral.factor));
  }
  for (const std::int32_t peak : data.peaks) AppendLe32(&peaks, static_cast<std::uint32_t>(peak));

  bool ok = section.SetDWord("IntegralsNumber", static_cast<std::uint32_t>(data.integrals.size())) &&
            section.SetBinary("IntegralArray", ranges);
  // The integral sum is written whenever the section opened; a failure still fails the save.
  const bool sumWritten = section.SetFloat("IntegSum", m_fIntegSum);
  ok = ok && section.SetBinary("ICorrectionArray", factors) &&
       section.SetDWord("PeaksNumber", static_cast<std::uint32_t>(data.peaks.size())) &&
       section.SetBinary("PeakArray", peaks) && section.SetFloat("Amplitude", m_fAmplitude);
  std::uint32_t texts = 0;
  for (const auto& object : m_objects) {
    if (!ok) break;
    const auto* text = dynamic_cast<const CAnchoredText*>(object.get());
    if (object->GetType() != kDrawText || !text) continue;
    ok = section.SetString(Indexed("Text_", texts), text->m_strText) &&
         section.SetDWord(Indexed("TextX_", texts), static_cast<std::uint32_t>(text->m_nX)) &&
         section.SetFloat(Indexed("TextY_", texts), text->m_fY);
    ++texts;
  }
  ok = ok && section.SetDWord("TextsNumber", texts) && section.SetDWord("LeftBound", BoundWord(m_fLeftBound)) &&
       section.SetDWord("RightBound", BoundWord(m_fRightBound)) && section.SetInt("Base", m_nBase) &&
       section.SetFloat("TopMargin", m_fTopMargin) && section.SetFloat("BottomMargin", m_fBottomMargin);
  return ok && sumWritten;
}

namespace {

// Integrals read from the file: kept only when both ends name points of the data, in order.
void AddIntegrals(CSpcData* data, std::int64_t points, const std::vector<std::uint8_t>& ranges,
                  const std::vector<std::uint8_t>& factors, std::uint32_t count) {
  if (ranges.size() != std::size_t(count) * 8 || factors.size() != std::size_t(count) * 4) return;
  for (std::uint32_t i = 0; i < count; ++i) {
    CSpcIntegral integral;
    integral.from = LoadLe32(&ranges[std::size_t(i) * 8]);
    integral.to = LoadLe32(&ranges[std::size_t(i) * 8 + 4]);
    integral.factor = std::bit_cast<float>(LoadLe32(&factors[std::size_t(i) * 4]));
    if (integral.from > integral.to || integral.to >= points || !std::isfinite(integral.factor)) continue;
    const auto at = std::upper_bound(data->integrals.begin(), data->integrals.end(), integral.from,
                                     [](std::uint32_t from, const CSpcIntegral& e) { return from < e.from; });
    data->integrals.insert(at, integral);
  }
}

void AddPeaks(CSpcData* data, std::int64_t points, const std::vector<std::uint8_t>& block, std::uint32_t count) {
  if (block.size() != std::size_t(count) * 4) return;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t index = LoadLe32(&block[std::size_t(i) * 4]);
    if (index >= points) continue;
    const auto peak = static_cast<std::int32_t>(index);
    const auto at = std::lower_bound(data->peaks.begin(), data->peaks.end(), peak);
    if (at == data->peaks.end() || *at != peak) data->peaks.insert(at, peak);
  }
}

}  // namespace

bool CDrawObjectList::LoadAnalysis(const std::string& folder, std::uint32_t controlNumber) {
  AnalysisSection section(folder, controlNumber);
  if (!m_pProcess || !m_pProcess->m_pData || !section.Open()) return false;
  CSpcData* data = m_pProcess->m_pData;
  const std::int64_t points = IndexablePoints(m_pProcess);

  std::uint32_t integrals = 0;
  std::vector<std::uint8_t> ranges, factors;
  bool ok = section.GetDWord("IntegralsNumber", &integrals, 0) && section.GetBinary("IntegralArray", &ranges) &&
            section.GetBinary("ICorrectionArray", &factors);
  if (ok) AddIntegrals(data, points, ranges, factors, integrals);

  std::uint32_t word = std::bit_cast<std::uint32_t>(m_fIntegSum);
  section.GetDWord("IntegSum", &word, word);
  if (std::isfinite(std::bit_cast<float>(word))) m_fIntegSum = std::bit_cast<float>(word);

  std::uint32_t peakCount = 0;
  std::vector<std::uint8_t> peaks;
  ok = ok && section.GetDWord("PeaksNumber", &peakCount, 0) && section.GetBinary("PeakArray", &peaks);
  if (ok) AddPeaks(data, points, peaks, peakCount);

  auto readFloat = [&](const char* name, float* value) {
    std::uint32_t bits = std::bit_cast<std::uint32_t>(*value);
    const bool read = section.GetDWord(name, &bits, bits);
    if (read && std::isfinite(std::bit_cast<float>(bits))) *value = std::bit_cast<float>(bits);
    return read;
  };
  ok = ok && readFloat("Amplitude", &m_fAmplitude);

  std::uint32_t texts = 0;
  ok = ok && section.GetDWord("TextsNumber", &texts, 0);
  if (ok) {
    // Three values per text: a larger count cannot be in the file.
    texts = std::min<std::uint32_t>(texts, static_cast<std::uint32_t>(section.ValueCount() / 3));
    bool last = texts == 0;
    for (std::uint32_t i = texts; i-- > 0;) {
      std::string text;
      std::uint32_t x = 0, y = 0;
      last = section.GetString(Indexed("Text_", i), &text);
      last = section.GetDWord(Indexed("TextX_", i), &x, 0) && last;
      last = section.GetDWord(Indexed("TextY_", i), &y, 0) && last;
      const float value = std::bit_cast<float>(y);
      if (static_cast<std::int32_t>(x) < 0 || x >= points || !std::isfinite(value)) continue;
      if (auto* label = dynamic_cast<CAnchoredText*>(GetDrawObject(kDrawText))) {
        label->m_strText = text;
        label->m_nX = static_cast<std::int32_t>(x);
        label->m_fY = value;
      }
    }
    ok = last;
  }

  std::uint32_t left = 0, right = 0;
  ok = ok && section.GetDWord("LeftBound", &left, 0);
  if (ok) m_fLeftBound = static_cast<float>(static_cast<std::int32_t>(left));
  ok = ok && section.GetDWord("RightBound", &right, 0);
  if (ok) m_fRightBound = static_cast<float>(static_cast<std::int32_t>(right));
  // A point range must name points of the data (masses are taken as they are).
  if (!IsMassKind(m_pProcess) && points > 0) {
    const float last = static_cast<float>(points - 1);
    m_fLeftBound = std::clamp(m_fLeftBound, 0.0f, last);
    m_fRightBound = std::clamp(m_fRightBound, 0.0f, last);
  }
  ok = ok && section.GetInt("Base", &m_nBase, 0);
  ok = ok && readFloat("TopMargin", &m_fTopMargin) && readFloat("BottomMargin", &m_fBottomMargin);
  return ok;
}
