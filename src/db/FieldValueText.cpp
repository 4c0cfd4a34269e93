#include "db/FieldValueText.h"

#include <array>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "db/CalendarDate.h"

namespace veltra::db {

namespace {

constexpr std::size_t DateTextLength = 10;  // "GG/MM/AAAA"

// The whole text, however long: a double as large as 1e308 has over 300 digits.
std::string formatted(const char* format, auto... values) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, format, values...);
  if (length < 0) return {};
  if (static_cast<std::size_t>(length) < sizeof buffer) return std::string(buffer, length);
  std::string text(static_cast<std::size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, format, values...);
  return text;
}

std::string doubleText(double value) {
  std::string text = formatted("%020.4lf", value);
  for (char& c : text)
    if (c == '.') c = ',';
  return text;
}

// Sign, fifteen integer digits, comma, four decimals: the fixed form lists align on.
std::string currencyText(std::int64_t tenThousandths) {
  const bool negative = tenThousandths < 0;
  // The magnitude of the most negative value still fits once widened.
  const auto magnitude = negative ? static_cast<std::uint64_t>(-(tenThousandths + 1)) + 1
                                  : static_cast<std::uint64_t>(tenThousandths);
  const std::uint64_t whole = magnitude / CurrencyScale;
  const std::uint64_t fraction = magnitude % CurrencyScale;
  return formatted("%c%015" PRIu64 ",%04" PRIu64, negative ? '-' : '+', whole, fraction);
}

std::string dateText(double dayCount) {
  const CivilDate date = civilDateOf(dayCount);
  return DateText(date.day, date.month, date.year);
}

std::string textOf(const FieldValue& value) {
  if (value.isNull) return {};
  switch (value.type) {
    case FieldType::Integer:
    case FieldType::Byte:
      return formatted("%d", static_cast<int>(value.integer));
    case FieldType::Long:
      return formatted("%ld", static_cast<long>(value.integer));
    case FieldType::Boolean:
      return value.integer != 0 ? "1" : "0";
    case FieldType::Double:
      return doubleText(value.real);
    case FieldType::Currency:
      return currencyText(value.integer);
    case FieldType::Date:
      return dateText(value.real);
    case FieldType::Text:
    case FieldType::Memo:
      return value.text;
    case FieldType::LongBinary:
      return formatted("BLOB [%d bytes]", static_cast<int>(value.text.size()));
    case FieldType::Single:
      return {};
  }
  return {};
}

}  // namespace

std::string DateText(int day, int month, int year) {
  std::string text;
  AppendDateText(day, month, year, text);
  return text;
}

void AppendDateText(int day, int month, int year, std::string& out) {
  if (year <= 1600) return static_cast<void>(out.append(NoDate));
  if (year >= 2400) return static_cast<void>(out.append(EndOfTime));
  if (day < 0 || day > 99 || month < 0 || month > 99)
    return static_cast<void>(out.append(formatted("%02d/%02d/%04d", day, month, year)));
  // Digit by digit: exports write several dates on each of their many lines.
  char text[DateTextLength] = {'/', '/', '/', '/', '/', '/', '/', '/', '/', '/'};
  const auto put = [&text](std::size_t from, int value, std::size_t digits) {
    for (std::size_t i = digits; i-- > 0; value /= 10)
      text[from + i] = static_cast<char>('0' + value % 10);
  };
  put(0, day, 2);
  put(3, month, 2);
  put(6, year, 4);
  out.append(text, DateTextLength);
}

bool FieldValueToText(const FieldValue& value, std::string& out) {
  out = textOf(value);
  size_t end = out.size();
  while (end > 1 && out[end - 1] == ' ') --end;
  out.resize(end);
  return true;
}

std::string PlainNumberText(double value) {
  // Room for the widest double written out in full.
  std::array<char, 400> buffer;
  const auto end =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed)
          .ptr;
  return std::string(buffer.data(), end);
}

void TrimTrailingBlanks(std::string& text) {
  const auto last = text.find_last_not_of(' ');
  text.resize(last == std::string::npos ? 0 : last + 1);
}

std::string QuoteText(std::string_view value) {
  std::string quoted;
  quoted.reserve(value.size() + 2);
  quoted += '"';
  for (char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

}  // namespace veltra::db
