#include "db/engine/ValueConversion.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "db/CalendarDate.h"
#include "db/PlainText.h"

namespace veltra::db::engine {

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

// A decimal number: optional sign, digits, at most one decimal comma or point.
struct Decimal {
  bool negative = false;
  std::string whole;
  std::string fraction;
};

std::optional<Decimal> parseDecimal(std::string_view text) {
  text = trimmed(text);
  Decimal number;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    number.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool separatorSeen = false;
  for (char c : text) {
    if ((c == ',' || c == '.') && !separatorSeen) {
      separatorSeen = true;
    } else if (c >= '0' && c <= '9') {
      (separatorSeen ? number.fraction : number.whole) += c;
    } else {
      return std::nullopt;
    }
  }
  if (number.whole.empty() && number.fraction.empty()) return std::nullopt;
  return number;
}

std::optional<double> toDouble(const Decimal& number) {
  const std::string text = (number.negative ? "-" : "") + (number.whole.empty() ? "0" : number.whole) +
                           "." + (number.fraction.empty() ? "0" : number.fraction);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Ten-thousandths, exactly: the fifth decimal rounds half away from zero.
std::optional<std::int64_t> toCurrency(const Decimal& number) {
  const std::string digits = number.whole + (number.fraction + "00000").substr(0, 5);
  std::uint64_t scaled = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), scaled);
  if (error != std::errc()) return std::nullopt;
  scaled = scaled / 10 + (scaled % 10 >= 5 ? 1 : 0);
  if (scaled > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
  const auto value = static_cast<std::int64_t>(scaled);
  return number.negative ? -value : value;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

EngineStatus notConvertible(const ColumnInfo& column, std::string_view text, const char* what) {
  return EngineStatus::failure("Il valore " + quoted(text) + " non è " + what +
                               " e non può essere assegnato al campo " + quoted(column.name) + ".");
}

EngineStatus integerValue(const ColumnInfo& column, std::string_view text, long long low,
                          long long high, FieldValue& out) {
  const auto number = parseDecimal(text);
  const auto value = number ? toDouble(*number) : std::nullopt;
  if (!value) return notConvertible(column, text, "un numero");
  // The engine rounds a fraction to the nearest integer, halves to even.
  const double rounded = std::nearbyint(*value);
  if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high))
    return EngineStatus::failure("Il valore " + quoted(text) + " è fuori dall'intervallo del campo " +
                                 quoted(column.name) + " (da " + std::to_string(low) + " a " +
                                 std::to_string(high) + ").");
  out = FieldValue::ofInteger(column.type, static_cast<std::int64_t>(rounded));
  return EngineStatus::success();
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
      out = FieldValue::ofInteger(column.type, *value ? 1 : 0);
      return EngineStatus::success();
    }
    case FieldType::Byte:
      return integerValue(column, text, 0, 255, out);
    case FieldType::Integer:
      return integerValue(column, text, -32768, 32767, out);
    case FieldType::Long:
      return integerValue(column, text, -2147483648LL, 2147483647LL, out);
    case FieldType::Currency: {
      const auto number = parseDecimal(text);
      const auto value = number ? toCurrency(*number) : std::nullopt;
      if (!value) return notConvertible(column, text, "un importo valido");
      out = FieldValue::ofInteger(column.type, *value);
      return EngineStatus::success();
    }
    case FieldType::Single:
    case FieldType::Double: {
      const auto number = parseDecimal(text);
      const auto value = number ? toDouble(*number) : std::nullopt;
      if (!value) return notConvertible(column, text, "un numero");
      out = FieldValue::ofReal(column.type, *value);
      return EngineStatus::success();
    }
    case FieldType::Date: {
      const auto date = parseDayMonthYear(trimmed(text));
      if (!date) return notConvertible(column, text, "una data valida (GG/MM/AAAA)");
      out = FieldValue::ofReal(column.type, static_cast<double>(*dayNumberOf(*date)));
      return EngineStatus::success();
    }
    case FieldType::Text:
      if (Utf8Length(text) > static_cast<size_t>(column.size))
        return EngineStatus::failure("Il testo " + quoted(text) + " è più lungo dei " +
                                     std::to_string(column.size) + " caratteri del campo " +
                                     quoted(column.name) + ".");
      out = FieldValue::ofText(column.type, std::string(text));
      return EngineStatus::success();
    case FieldType::Memo:
    case FieldType::LongBinary:
      out = FieldValue::ofText(column.type, std::string(text));
      return EngineStatus::success();
  }
  return notConvertible(column, text, "del tipo del campo");
}

}  // namespace veltra::db::engine
