#include "db/server/ServerValues.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "db/CalendarDate.h"

namespace veltra::db::engine {

namespace {

// The server's built-in type identifiers (pg_type.oid), fixed since forever.
constexpr unsigned int BoolOid = 16, ByteaOid = 17, Int8Oid = 20, Int2Oid = 21, Int4Oid = 23,
                       Float4Oid = 700, Float8Oid = 701, DateOid = 1082, NumericOid = 1700;

void currencyText(std::int64_t tenThousandths, std::string& out) {
  const bool negative = tenThousandths < 0;
  const auto magnitude =
      static_cast<std::uint64_t>(negative ? -(tenThousandths + 1) : tenThousandths) +
      (negative ? 1u : 0u);
  char fraction[8];
  std::snprintf(fraction, sizeof fraction, "%04llu",
                static_cast<unsigned long long>(magnitude % CurrencyScale));
  out = (negative ? "-" : "") + std::to_string(magnitude / CurrencyScale) + "." + fraction;
}

// "-12.3400" as ten-thousandths, exactly.
std::int64_t currencyOf(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const auto point = text.find('.');
  std::int64_t whole = 0;
  std::from_chars(text.data(), text.data() + text.substr(0, point).size(), whole);
  std::int64_t fraction = 0;
  if (point != std::string_view::npos) {
    std::string digits(text.substr(point + 1, 4));
    digits.resize(4, '0');
    std::from_chars(digits.data(), digits.data() + 4, fraction);
  }
  const std::int64_t value = whole * CurrencyScale + fraction;
  return negative ? -value : value;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

std::string serverTypeName(FieldType type) {
  switch (type) {
    case FieldType::Boolean:
      return "boolean";
    case FieldType::Byte:
    case FieldType::Integer:
      return "smallint";
    case FieldType::Long:
      return "integer";
    case FieldType::Currency:
      return "numeric(19,4)";
    case FieldType::Single:
    case FieldType::Double:
      return "double precision";
    case FieldType::Date:
      return "date";
    case FieldType::Text:
    case FieldType::Memo:
      return "citext";
    case FieldType::LongBinary:
      return "bytea";
  }
  return "bytea";
}

void appendArrayElement(std::string& array, std::string_view text) {
  array += '"';
  for (size_t special = text.find_first_of("\"\\"); special != std::string_view::npos;
       special = text.find_first_of("\"\\")) {
    array.append(text.substr(0, special)) += '\\';
    array += text[special];
    text.remove_prefix(special + 1);
  }
  array.append(text) += '"';
}

void serverText(const FieldValue& value, std::string& out) {
  switch (value.type) {
    case FieldType::Boolean:
      out = value.integer != 0 ? "t" : "f";
      return;
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
      out = std::to_string(value.integer);
      return;
    case FieldType::Currency:
      return currencyText(value.integer, out);
    case FieldType::Single:
    case FieldType::Double: {
      // The shortest text that reads back as the same double, as the server reads it.
      char buffer[32];
      const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.real).ptr;
      out.assign(buffer, end);
      return;
    }
    case FieldType::Date:
      out = isoDateText(civilDateOf(value.real));
      return;
    case FieldType::Text:
    case FieldType::Memo:
      out = value.text;
      return;
    case FieldType::LongBinary: {
      static constexpr char Hex[] = "0123456789abcdef";
      out = "\\x";
      for (unsigned char c : value.text) {
        out += Hex[c >> 4];
        out += Hex[c & 15];
      }
      return;
    }
  }
}

void readServerText(std::string_view text, FieldType type, FieldValue& out) {
  switch (type) {
    case FieldType::Boolean:
      return out.setNumber(type, text == "t" ? 1 : 0, 0.0);
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long: {
      std::int64_t number = 0;
      std::from_chars(text.data(), text.data() + text.size(), number);
      return out.setNumber(type, number, 0.0);
    }
    case FieldType::Currency:
      return out.setNumber(type, currencyOf(text), 0.0);
    case FieldType::Single:
    case FieldType::Double:
      return out.setNumber(type, 0, std::strtod(std::string(text).c_str(), nullptr));
    case FieldType::Date: {
      const auto date = parseIsoDate(text);
      if (!date) return out.setText(FieldType::Text, text);
      return out.setNumber(type, 0, static_cast<double>(*dayNumberOf(*date)));
    }
    case FieldType::Text:
    case FieldType::Memo:
      return out.setText(type, text);
    case FieldType::LongBinary: {
      out.setText(type, {});
      for (size_t i = 2; i + 1 < text.size(); i += 2)
        out.text += static_cast<char>(hexDigit(text[i]) * 16 + hexDigit(text[i + 1]));
      return;
    }
  }
}

FieldType fieldTypeOfServerType(unsigned int oid) {
  switch (oid) {
    case BoolOid:
      return FieldType::Boolean;
    case Int2Oid:
      return FieldType::Integer;
    case Int4Oid:
    case Int8Oid:
      return FieldType::Long;
    case NumericOid:
      return FieldType::Currency;
    case Float4Oid:
    case Float8Oid:
      return FieldType::Double;
    case DateOid:
      return FieldType::Date;
    case ByteaOid:
      return FieldType::LongBinary;
    default:
      return FieldType::Text;  // text, varchar and the case-blind citext alike
  }
}

}  // namespace veltra::db::engine
