#include "db/CalendarDate.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace veltra::db {

namespace {
constexpr std::chrono::sys_days Epoch{std::chrono::year{1899} / 12 / 30};

// The number the digits spell, read and checked in one pass: every date of
// an imported file is read here. -1 when the text is empty or not all digits.
int digitsValue(std::string_view text) {
  int value = 0;
  for (char c : text) {
    const unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
    if (digit > 9) return -1;
    value = value * 10 + static_cast<int>(digit);
  }
  return text.empty() ? -1 : value;
}

// Whether the day is one of the month's, by the Gregorian calendar, in a
// year the calendar counts: every stored date read is checked so.
constexpr bool existingDay(const CivilDate& date) {
  constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (!std::chrono::year{date.year}.ok() || date.month < 1 || date.month > 12 || date.day < 1)
    return false;
  const bool leap = date.year % 4 == 0 && (date.year % 100 != 0 || date.year % 400 == 0);
  return date.day <= Days[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
}

// The date the three parts name, when all are digits and it exists.
std::optional<CivilDate> dateOfParts(std::string_view y, std::string_view m, std::string_view d) {
  const CivilDate date{digitsValue(y), digitsValue(m), digitsValue(d)};
  if (date.year < 0 || !existingDay(date)) return std::nullopt;
  return date;
}
}  // namespace

std::optional<long> dayNumberOf(const CivilDate& date) {
  using namespace std::chrono;
  if (!existingDay(date)) return std::nullopt;
  const year_month_day ymd{year{date.year}, month{static_cast<unsigned>(date.month)},
                           day{static_cast<unsigned>(date.day)}};
  return static_cast<long>((sys_days{ymd} - Epoch).count());
}

CivilDate civilDateOf(double dayCount) {
  using namespace std::chrono;
  // The integer part is the day, also before the epoch: -1.25 is 31/12/1899 at 06:00.
  const auto whole = static_cast<long>(std::trunc(dayCount));
  const year_month_day ymd{Epoch + days{whole}};
  return CivilDate{static_cast<int>(ymd.year()),
                   static_cast<int>(static_cast<unsigned>(ymd.month())),
                   static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

std::string isoDateText(const CivilDate& date) {
  std::string text(10, '0');
  if (putIsoDate(date, text.data())) return text;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
  return buffer;
}

namespace {
// "00" to "99" one after the other: two digits are copied, not divided out.
constexpr auto TwoDigits = [] {
  std::array<char, 200> digits{};
  for (std::size_t i = 0; i < 100; ++i) {
    digits[2 * i] = static_cast<char>('0' + i / 10);
    digits[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return digits;
}();
}  // namespace

bool putIsoDate(const CivilDate& date, char* out) {
  // Written by hand, two digits at a time: every stored date passes here.
  if (date.year < 0 || date.year > 9999 || date.month < 0 || date.month > 99 || date.day < 0 ||
      date.day > 99)
    return false;
  const auto put2 = [out](int at, int value) {
    std::memcpy(out + at, &TwoDigits[static_cast<std::size_t>(value) * 2], 2);
  };
  put2(0, date.year / 100);
  put2(2, date.year % 100);
  out[4] = '-';
  put2(5, date.month);
  out[7] = '-';
  put2(8, date.day);
  return true;
}

std::optional<CivilDate> parseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  return dateOfParts(text.substr(0, 4), text.substr(5, 2), text.substr(8, 2));
}

std::optional<CivilDate> parseDayMonthYear(std::string_view text) {
  // "GG/MM/AAAA", the form files and the program write, is read without searching.
  if (text.size() == 10 && text[2] == '/' && text[5] == '/')
    return dateOfParts(text.substr(6), text.substr(3, 2), text.substr(0, 2));
  const auto first = text.find('/');
  const auto second = first == std::string_view::npos ? first : text.find('/', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const auto d = text.substr(0, first), m = text.substr(first + 1, second - first - 1),
             y = text.substr(second + 1);
  if (d.size() > 2 || m.size() > 2 || y.size() != 4) return std::nullopt;
  return dateOfParts(y, m, d);
}

}  // namespace veltra::db
