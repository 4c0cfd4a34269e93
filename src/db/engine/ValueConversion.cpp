#include "db/engine/ValueConversion.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "db/CalendarDate.h"
#include "db/FieldValueText.h"
#include "db/PlainText.h"

namespace veltra::db::engine {

namespace {

std::string_view trimmed(std::string_view text) {
  // Printable ASCII at both ends is never space, in any locale: most values
  // are such, and need no call to the library.
  const auto printable = [](char c) { return c > ' ' && c < '\x7f'; };
  if (!text.empty() && printable(text.front()) && printable(text.back())) return text;
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

bool allDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), IsDigit);
}

// A decimal number: optional sign, digits, at most one decimal comma or
// point. Views into the text: the field values are converted many thousands
// of times in a row, so no step of it takes a string of its own.
struct Decimal {
  bool negative = false;
  std::string_view whole;
  std::string_view fraction;
};

std::optional<Decimal> parseDecimal(std::string_view text) {
  text = trimmed(text);
  Decimal number;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    number.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const size_t separator = text.find_first_of(",.");
  number.whole = text.substr(0, separator);
  if (separator != std::string_view::npos) number.fraction = text.substr(separator + 1);
  if (!allDigits(number.whole) || !allDigits(number.fraction)) return std::nullopt;
  if (number.whole.empty() && number.fraction.empty()) return std::nullopt;
  return number;
}

// from_chars reads a decimal point only: the number is spelled again with
// one, on the stack unless it is longer than any field ever holds.
std::optional<double> toDouble(const Decimal& number) {
  const auto spell = [&number](char* out) {
    const auto digits = [&out](std::string_view part) {
      out = part.empty() ? (*out = '0', out + 1) : std::copy(part.begin(), part.end(), out);
    };
    if (number.negative) *out++ = '-';
    digits(number.whole);
    *out++ = '.';
    digits(number.fraction);
    return out;
  };
  const auto read = [](const char* first, const char* last) -> std::optional<double> {
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    return value;
  };
  std::array<char, 64> buffer;
  const size_t length = number.whole.size() + number.fraction.size() + 4;
  if (length <= buffer.size()) return read(buffer.data(), spell(buffer.data()));
  std::string longer(length, '\0');
  return read(longer.data(), spell(longer.data()));
}

// A whole number of up to 15 digits is exact as a double: it needs no
// decimal reading. Counts and codes are such numbers.
std::optional<double> numberValue(const Decimal& number) {
  if (!number.fraction.empty() || number.whole.empty() || number.whole.size() > 15)
    return toDouble(number);
  std::int64_t value = 0;
  for (char c : number.whole) value = value * 10 + (c - '0');
  return number.negative ? -static_cast<double>(value) : static_cast<double>(value);
}

// Appends a digit; false when the value would no longer fit.
bool appendDigit(std::uint64_t& value, unsigned digit) {
  if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
  value = value * 10 + digit;
  return true;
}

// Ten-thousandths, exactly: the fifth decimal rounds half away from zero.
std::optional<std::int64_t> toCurrency(const Decimal& number) {
  std::uint64_t scaled = 0;
  for (char c : number.whole)
    if (!appendDigit(scaled, static_cast<unsigned>(c - '0'))) return std::nullopt;
  for (size_t i = 0; i < 5; ++i) {
    const unsigned digit =
        i < number.fraction.size() ? static_cast<unsigned>(number.fraction[i] - '0') : 0;
    if (!appendDigit(scaled, digit)) return std::nullopt;
  }
  scaled = scaled / 10 + (scaled % 10 >= 5 ? 1 : 0);
  if (scaled > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
    return std::nullopt;
  const auto value = static_cast<std::int64_t>(scaled);
  return number.negative ? -value : value;
}

std::string quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

EngineStatus notConvertible(const ColumnInfo& column, std::string_view text, const char* what) {
  return EngineStatus::failure("Il valore " + quoted(text) + " non è " + what +
                               " e non può essere assegnato al campo " + quoted(column.name) + ".");
}

// The bounds of a whole-number field; none for the other types.
std::optional<std::pair<long long, long long>> wholeRange(FieldType type) {
  switch (type) {
    case FieldType::Byte:
      return std::pair(0LL, 255LL);
    case FieldType::Integer:
      return std::pair(-32768LL, 32767LL);
    case FieldType::Long:
      return std::pair(-2147483648LL, 2147483647LL);
    default:
      return std::nullopt;
  }
}

// textOf() gives the value as the user would read it, and is asked only for
// the refusal: numbers given as numbers are not spelled when they fit.
template <class TextOf>
EngineStatus storeWhole(const ColumnInfo& column, double rounded, TextOf textOf, FieldValue& out) {
  const auto [low, high] = *wholeRange(column.type);
  if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high))
    return EngineStatus::failure(
        "Il valore " + quoted(textOf()) + " è fuori dall'intervallo del campo " +
        quoted(column.name) + " (da " + std::to_string(low) + " a " + std::to_string(high) + ").");
  out.setNumber(column.type, static_cast<std::int64_t>(rounded), 0.0);
  return EngineStatus::success();
}

EngineStatus integerValue(const ColumnInfo& column, std::string_view text, FieldValue& out) {
  const auto number = parseDecimal(text);
  const auto value = number ? numberValue(*number) : std::nullopt;
  if (!value) return notConvertible(column, text, "un numero");
  // The engine rounds a fraction to the nearest integer, halves to even.
  return storeWhole(
      column, std::nearbyint(*value), [text] { return text; }, out);
}

std::optional<bool> booleanOf(std::string_view text) {
  text = trimmed(text);
  for (auto yes : {"1", "-1", "true", "yes", "si", "sì", "vero"})
    if (EqualsIgnoringCase(text, yes)) return true;
  for (auto no : {"0", "false", "no", "falso"})
    if (EqualsIgnoringCase(text, no)) return false;
  return std::nullopt;
}

}  // namespace

EngineStatus valueFromText(const ColumnInfo& column, std::string_view text, FieldValue& out) {
  switch (column.type) {
    case FieldType::Boolean: {
      const auto value = booleanOf(text);
      if (!value) return notConvertible(column, text, "un valore Sì/No");
      out.setNumber(column.type, *value ? 1 : 0, 0.0);
      return EngineStatus::success();
    }
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
      return integerValue(column, text, out);
    case FieldType::Currency: {
      const auto number = parseDecimal(text);
      const auto value = number ? toCurrency(*number) : std::nullopt;
      if (!value) return notConvertible(column, text, "un importo valido");
      out.setNumber(column.type, *value, 0.0);
      return EngineStatus::success();
    }
    case FieldType::Single:
    case FieldType::Double: {
      const auto number = parseDecimal(text);
      const auto value = number ? numberValue(*number) : std::nullopt;
      if (!value) return notConvertible(column, text, "un numero");
      out.setNumber(column.type, 0, *value);
      return EngineStatus::success();
    }
    case FieldType::Date: {
      const auto date = parseDayMonthYear(trimmed(text));
      if (!date) return notConvertible(column, text, "una data valida (GG/MM/AAAA)");
      out.setNumber(column.type, 0, static_cast<double>(*dayNumberOf(*date)));
      return EngineStatus::success();
    }
    case FieldType::Text:
      if (textTooLong(column, text))
        return EngineStatus::failure("Il testo " + quoted(text) + " è più lungo dei " +
                                     std::to_string(column.size) + " caratteri del campo " +
                                     quoted(column.name) + ".");
      out.setText(column.type, text);
      return EngineStatus::success();
    case FieldType::Memo:
    case FieldType::LongBinary:
      out.setText(column.type, text);
      return EngineStatus::success();
  }
  return notConvertible(column, text, "del tipo del campo");
}

// Below 10^15 a whole number is exact as a double, as its text reads it.
constexpr std::int64_t ExactWhole = 1'000'000'000'000'000;

EngineStatus valueFromInteger(const ColumnInfo& column, std::int64_t value, FieldValue& out) {
  const bool exact = value > -ExactWhole && value < ExactWhole;
  if (exact && wholeRange(column.type))
    return storeWhole(
        column, static_cast<double>(value), [value] { return std::to_string(value); }, out);
  if (column.type == FieldType::Boolean && (value == 0 || value == 1 || value == -1)) {
    out.setNumber(column.type, value != 0 ? 1 : 0, 0.0);
    return EngineStatus::success();
  }
  return valueFromText(column, std::to_string(value), out);
}

EngineStatus valueFromReal(const ColumnInfo& column, double value, FieldValue& out) {
  if ((column.type == FieldType::Double || column.type == FieldType::Single) &&
      std::isfinite(value)) {
    out.setNumber(column.type, 0, value);
    return EngineStatus::success();
  }
  // "inf" or "nan" is refused as any text is.
  return valueFromText(column, PlainNumberText(value), out);
}

}  // namespace veltra::db::engine
