#pragma once
// A calendar moment as the engine counts it: days since 30 December 1899,
// midnight, the fraction being the time of day; with a valid flag.

#include "db/FieldValue.h"

namespace veltra::db {

class DateValue {
 public:
  DateValue() = default;  // invalid
  DateValue(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
  explicit DateValue(const FieldValue& value);

  bool IsValid() const { return valid_; }
  double DayCount() const { return dayCount_; }
  int Year() const;
  int Month() const;
  int Day() const;

  // A span in days, with its own valid flag.
  struct Span {
    double days = 0.0;
    bool valid = false;
  };
  friend Span operator-(const DateValue& a, const DateValue& b);

 private:
  double dayCount_ = 0.0;
  bool valid_ = false;
};

}  // namespace veltra::db
