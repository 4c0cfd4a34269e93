#include "comms/DateInput.h"

#include <cstdio>
#include <ctime>

#include "db/DateValue.h"
#include "db/platform/LocalTime.h"

namespace veltra::comms {

namespace {

bool isSeparator(char c) {
  return c == '/' || c == '-' || c == '.';
}

// The value of a run of digits; none when another character is among them,
// so that "1a" or " 1" is not taken for 1.
std::optional<int> digitsValue(std::string_view text) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string dateText(int day, int month, int year) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", day, month, year);
  return buffer;
}

}  // namespace

std::optional<std::string> ReadInputDate(std::string_view typed) {
  if (typed.size() != 8 && typed.size() != 10) return std::nullopt;
  if (!isSeparator(typed[2]) || !isSeparator(typed[5])) return std::nullopt;
  const auto day = digitsValue(typed.substr(0, 2));
  const auto month = digitsValue(typed.substr(3, 2));
  auto year = digitsValue(typed.substr(6));
  if (!day || !month || !year) return std::nullopt;
  if (typed.size() == 8) *year += 2000;
  if (!db::DateValue(*year, *month, *day).IsValid()) return std::nullopt;
  return dateText(*day, *month, *year);
}

std::optional<std::string> AcceptInputDate(std::string_view typed, ui::Prompter& prompter) {
  auto date = ReadInputDate(typed);
  if (!date) prompter.message(InvalidDateMessage, ui::Icon::Stop);
  return date;
}

std::string TodayDateText() {
  const std::tm local = platform::LocalTime(std::time(nullptr));
  return dateText(local.tm_mday, local.tm_mon + 1, local.tm_year + 1900);
}

// "AAAAMMGG" orders the days as their texts.
bool IsEarlierDate(std::string_view date, std::string_view other) {
  const auto sortable = [](std::string_view text) {
    return std::string(text.substr(6)) + std::string(text.substr(3, 2)) +
           std::string(text.substr(0, 2));
  };
  return sortable(date) < sortable(other);
}

std::string MonthDayYear(std::string_view date) {
  return std::string(date.substr(3, 2)) + "/" + std::string(date.substr(0, 2)) + "/" +
         std::string(date.substr(6));
}

}  // namespace veltra::comms
