#pragma once
// Conversions between the engine's day count (days since 30 December 1899,
// the fraction being the time of day) and calendar dates, on std::chrono.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace veltra::db {

struct CivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// Whole days since 30/12/1899 of a real calendar date; none when the date does not exist.
std::optional<long> dayNumberOf(const CivilDate& date);
// The calendar date of a day count; the time-of-day fraction is dropped.
CivilDate civilDateOf(double dayCount);

// "YYYY-MM-DD", the form dates are stored in.
std::string isoDateText(const CivilDate& date);
// The same ten characters written at out, for writers that keep them in room
// of their own; false, out untouched, for a year outside 0..9999, which takes more.
bool putIsoDate(const CivilDate& date, char* out);
// Reads "YYYY-MM-DD"; none when the text is not that form or the date does not exist.
std::optional<CivilDate> parseIsoDate(std::string_view text);

// Reads "G/M/AAAA" or "GG/MM/AAAA", the way dates are given to the engine as text.
std::optional<CivilDate> parseDayMonthYear(std::string_view text);

}  // namespace veltra::db
