// NIC mass spectra: a text file whose comment lines follow "$COMM" markers and whose peak list
// follows the "$MS" line as whitespace-separated unsigned numbers, m/z and intensity by turns.
#include <algorithm>
#include <limits>
#include <vector>

#include "spectrum/convert/singleformats.h"

namespace {

constexpr std::int64_t kNicMinSize = 257;
constexpr std::size_t kNicSniffBytes = 255;

bool Contains(std::string_view text, std::string_view word) { return text.find(word) != std::string_view::npos; }

// A piece of the peak list read as an unsigned integer: its leading digits (an optional "+"
// first). A piece that does not start with a digit is no number; a sign "-" is not taken as a
// huge unsigned value. Values beyond 32 bits saturate.
bool ParseUnsigned(std::string_view piece, std::uint32_t* value) {
  std::size_t i = 0;
  if (i < piece.size() && piece[i] == '+') ++i;
  if (i >= piece.size() || piece[i] < '0' || piece[i] > '9') return false;
  std::uint64_t v = 0;
  for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) {
    v = v * 10 + static_cast<std::uint64_t>(piece[i] - '0');
    if (v > std::numeric_limits<std::uint32_t>::max()) v = std::numeric_limits<std::uint32_t>::max();
  }
  *value = static_cast<std::uint32_t>(v);
  return true;
}

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Appends the numbers of one line of the peak list.
void CollectNumbers(std::string_view line, std::vector<std::uint32_t>* numbers) {
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsSeparator(line[i])) ++i;
    std::uint32_t value = 0;
    if (i > start && ParseUnsigned(line.substr(start, i - start), &value)) numbers->push_back(value);
  }
}

// The numbers as (m/z, intensity) pairs; an odd last number has no partner and is dropped.
// Peaks are kept in ascending order of mass, as every user of a scan expects.
CMassScan MakeScan(const std::vector<std::uint32_t>& numbers) {
  CMassScan scan;
  scan.fIonCurrent = 100.0f;
  const std::size_t pairs = std::min<std::size_t>(numbers.size() / 2, CSpcData::kMaxPoints);
  scan.peaks.reserve(pairs);
  for (std::size_t k = 0; k < pairs; ++k) {
    CSpcPoint peak;
    peak.re = static_cast<float>(numbers[2 * k + 1]);
    peak.im = static_cast<float>(numbers[2 * k]);
    scan.peaks.push_back(peak);
  }
  std::stable_sort(scan.peaks.begin(), scan.peaks.end(),
                   [](const CSpcPoint& a, const CSpcPoint& b) { return a.im < b.im; });
  return scan;
}

}  // namespace

bool CMassConvertNic::Detect(COrvFile* file) {
  if (!file || !file->HasView() || file->m_nSize < kNicMinSize) return false;
  const std::string_view head = singleformat::UntilNul(file->Bytes().substr(0, kNicSniffBytes));
  return Contains(head, "$MS") && Contains(head, "$COMM");
}

bool CMassConvertNic::Read(std::string_view path, CSpcData* data, std::int32_t) {
  COrvFile file(path);
  std::string_view line;
  if (!file.ReadLine(&line)) return Fail(SpcFailure::At("empty or no regular file"));
  data->nDomain = 1;
  do {
    line = singleformat::UntilNul(line);
    if (Contains(line, "$COMM")) {
      std::string_view comment;
      if (file.ReadLine(&comment)) {
        comment = singleformat::UntilNul(comment);
        data->params.Append("COMMENT", comment.substr(0, comment.find_first_of("\r\n")));
      }
    } else if (Contains(line, "$MS")) {
      std::vector<std::uint32_t> numbers;
      while (file.ReadLine(&line)) CollectNumbers(singleformat::UntilNul(line), &numbers);
      data->scans.push_back(MakeScan(numbers));
    }
  } while (file.ReadLine(&line));
  return true;
}

std::unique_ptr<CSpcConvert> CreateMassConvertNic(std::uint32_t index) {
  return std::make_unique<CMassConvertNic>(index);
}
