// OLE dates: days since 30 December 1899 as a double.
#include <cmath>
#include <cstdio>

#include "platform/base/text.h"
#include "platform/oleauto/oleauto.h"

namespace plat::ole {

namespace {

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar (the civil-days
// algorithm: eras of 400 years, years starting in March).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, int* year, int* month, int* day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *year = static_cast<int>(yoe + era * 400 + (m <= 2));
  *month = m;
  *day = d;
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Day 0 of the OLE calendar, counted from 1 January 1970.
constexpr std::int64_t kEpochShift = 25569;

double combine(std::int64_t dayNumber, std::int64_t secondsOfDay) {
  const double time = static_cast<double>(secondsOfDay) / 86400.0;
  // Before the epoch the fraction still counts forwards from midnight of that day.
  return dayNumber >= 0 ? static_cast<double>(dayNumber) + time : static_cast<double>(dayNumber) - time;
}

}  // namespace

bool dateFromParts(const DateParts& p, double* date) {
  if (p.year < 100 || p.year > 9999 || p.month < 1 || p.month > 12) return false;
  if (p.day < 1 || p.day > daysInMonth(p.year, p.month)) return false;
  if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59) return false;
  const std::int64_t dayNumber = daysFromCivil(p.year, p.month, p.day) + kEpochShift;
  *date = combine(dayNumber, p.hour * 3600 + p.minute * 60 + p.second);
  return true;
}

bool partsFromDate(double date, DateParts* parts) {
  if (!std::isfinite(date) || date < kMinDate - 1.0 || date > kMaxDate + 1.0) return false;
  double whole = std::trunc(date);
  std::int64_t dayNumber = static_cast<std::int64_t>(whole);
  std::int64_t seconds = std::llround(std::fabs(date - whole) * 86400.0);
  if (seconds >= 86400) {  // rounded up to the next midnight
    seconds -= 86400;
    ++dayNumber;
  }
  int y = 0, m = 0, d = 0;
  civilFromDays(dayNumber - kEpochShift, &y, &m, &d);
  if (y < 100 || y > 9999) return false;
  parts->year = y;
  parts->month = m;
  parts->day = d;
  parts->hour = static_cast<int>(seconds / 3600);
  parts->minute = static_cast<int>(seconds / 60 % 60);
  parts->second = static_cast<int>(seconds % 60);
  // 1 January 1970 was a Thursday.
  const std::int64_t fromUnix = dayNumber - kEpochShift;
  parts->dayOfWeek = static_cast<int>(((fromUnix % 7) + 7 + 4) % 7);
  parts->dayOfYear = static_cast<int>(dayNumber - (daysFromCivil(y, 1, 1) + kEpochShift)) + 1;
  return true;
}

double dateFromTime(std::int64_t seconds) {
  std::int64_t days = seconds / 86400;
  std::int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  return combine(days + kEpochShift, rest);
}

bool timeFromDate(double date, std::int64_t* seconds) {
  DateParts p;
  if (!partsFromDate(date, &p)) return false;
  const std::int64_t days = daysFromCivil(p.year, p.month, p.day);
  *seconds = days * 86400 + p.hour * 3600 + p.minute * 60 + p.second;
  return true;
}

std::string formatDate(double date) {
  DateParts p;
  if (!partsFromDate(date, &p)) return std::string();
  char buf[48];
  const bool noDay = p.year == 1899 && p.month == 12 && p.day == 30;
  const bool noTime = p.hour == 0 && p.minute == 0 && p.second == 0;
  if (noDay)
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.hour, p.minute, p.second);
  else if (noTime)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                  p.second);
  return buf;
}

namespace {

// Reads 1 to maxDigits decimal digits at text[*pos].
bool readField(std::u16string_view text, std::size_t* pos, int minDigits, int maxDigits, int* value) {
  int n = 0, v = 0;
  while (*pos < text.size() && n < maxDigits && text[*pos] >= u'0' && text[*pos] <= u'9') {
    v = v * 10 + (text[*pos] - u'0');
    ++*pos;
    ++n;
  }
  if (n < minDigits) return false;
  *value = v;
  return true;
}

bool expect(std::u16string_view text, std::size_t* pos, char16_t c) {
  if (*pos >= text.size() || text[*pos] != c) return false;
  ++*pos;
  return true;
}

bool readDay(std::u16string_view text, std::size_t* pos, DateParts* p) {
  return readField(text, pos, 4, 4, &p->year) && expect(text, pos, u'-') && readField(text, pos, 1, 2, &p->month) &&
         expect(text, pos, u'-') && readField(text, pos, 1, 2, &p->day);
}

bool readTime(std::u16string_view text, std::size_t* pos, DateParts* p) {
  return readField(text, pos, 1, 2, &p->hour) && expect(text, pos, u':') && readField(text, pos, 1, 2, &p->minute) &&
         expect(text, pos, u':') && readField(text, pos, 1, 2, &p->second);
}

}  // namespace

bool parseDate(std::u16string_view text, double* date) {
  text = trim(text);
  DateParts p;
  std::size_t pos = 0;
  // A time alone has its colon within the first three characters.
  const std::size_t colon = text.find(u':');
  const bool timeOnly = colon != std::u16string_view::npos && colon <= 2;
  if (timeOnly) {
    if (!readTime(text, &pos, &p)) return false;
  } else {
    if (!readDay(text, &pos, &p)) return false;
    if (pos < text.size()) {
      if (!expect(text, &pos, u' ')) return false;
      while (pos < text.size() && text[pos] == u' ') ++pos;
      if (!readTime(text, &pos, &p)) return false;
    }
  }
  if (pos != text.size()) return false;
  return dateFromParts(p, date);
}

}  // namespace plat::ole
