#pragma once
// One typed value as the engine hands it out or takes it in. A plain record:
// the cursors copy thousands of these per second, so no variant and no heap
// beyond the text itself.

#include <cstdint>
#include <string>
#include <string_view>

namespace veltra::db {

// The engine's type codes, as the data dictionary stores them.
enum class FieldType : int {
  Boolean = 1,
  Byte = 2,
  Integer = 3,
  Long = 4,
  Currency = 5,
  Single = 6,
  Double = 7,
  Date = 8,
  Text = 10,
  LongBinary = 11,
  Memo = 12,
};

struct FieldValue {
  FieldType type = FieldType::Text;
  bool isNull = true;
  std::int64_t integer = 0;  // Boolean (1/0), Byte, Integer, Long, Currency (ten-thousandths)
  double real = 0.0;         // Single, Double, Date (days since 30/12/1899)
  std::string text;          // Text, Memo, and the raw bytes of a Long binary

  static FieldValue null(FieldType t) { return FieldValue{t, true, 0, 0.0, {}}; }
  static FieldValue ofInteger(FieldType t, std::int64_t v) {
    return FieldValue{t, false, v, 0.0, {}};
  }
  static FieldValue ofReal(FieldType t, double v) { return FieldValue{t, false, 0, v, {}}; }
  static FieldValue ofText(FieldType t, std::string v) {
    return FieldValue{t, false, 0, 0.0, std::move(v)};
  }

  // In place, keeping the text's room: the cursors fill one value row after row.
  void setNumber(FieldType t, std::int64_t i, double r) {
    type = t;
    isNull = false;
    integer = i;
    real = r;
    text.clear();
  }
  void setText(FieldType t, std::string_view v) {
    type = t;
    isNull = false;
    integer = 0;
    real = 0.0;
    text.assign(v);
  }
  void setNull(FieldType t) {
    setNumber(t, 0, 0.0);
    isNull = true;
  }
};

// Currency keeps four decimals exactly: the value times 10,000.
inline constexpr std::int64_t CurrencyScale = 10000;

}  // namespace veltra::db
