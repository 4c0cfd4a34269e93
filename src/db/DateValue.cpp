#include "db/DateValue.h"

#include <cmath>

#include "db/CalendarDate.h"

namespace veltra::db {

namespace {
constexpr double MaxSpanDays = 3615897.0;

// Negative day counts keep a positive time-of-day fraction (-1.25 is 31/12/1899
// at 06:00), so they are first brought onto a straight line.
double linear(double dayCount) {
  if (dayCount >= 0) return dayCount;
  const double whole = std::ceil(dayCount);
  return whole - (dayCount - whole);
}
}  // namespace

DateValue::DateValue(int year, int month, int day, int hour, int minute, int second) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return;
  const auto days = dayNumberOf(CivilDate{year, month, day});
  if (!days) return;
  const double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  // Before the epoch the fraction still counts forward from midnight.
  dayCount_ = *days >= 0 ? *days + fraction : *days - fraction;
  valid_ = true;
}

DateValue::DateValue(const FieldValue& value) {
  if (value.isNull) return;
  switch (value.type) {
    case FieldType::Date:
    case FieldType::Double:
    case FieldType::Single:
      dayCount_ = value.real;
      valid_ = std::isfinite(value.real);
      break;
    case FieldType::Integer:
    case FieldType::Long:
    case FieldType::Byte:
    case FieldType::Boolean:
      dayCount_ = static_cast<double>(value.integer);
      valid_ = true;
      break;
    case FieldType::Currency:
      dayCount_ = static_cast<double>(value.integer) / CurrencyScale;
      valid_ = true;
      break;
    case FieldType::Text:
    case FieldType::Memo:
      if (const auto date = parseDayMonthYear(value.text))
        *this = DateValue(date->year, date->month, date->day);
      break;
    case FieldType::LongBinary:
      break;
  }
}

int DateValue::Year() const {
  return civilDateOf(dayCount_).year;
}
int DateValue::Month() const {
  return civilDateOf(dayCount_).month;
}
int DateValue::Day() const {
  return civilDateOf(dayCount_).day;
}

DateValue::Span operator-(const DateValue& a, const DateValue& b) {
  DateValue::Span span;
  span.days = linear(a.dayCount_) - linear(b.dayCount_);
  span.valid = a.valid_ && b.valid_ && std::fabs(span.days) <= MaxSpanDays;
  return span;
}

}  // namespace veltra::db
