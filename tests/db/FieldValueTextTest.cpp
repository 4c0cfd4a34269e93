#include <gtest/gtest.h>

#include <cfloat>

#include "db/CalendarDate.h"
#include "db/DateValue.h"
#include "db/FieldValueText.h"

namespace veltra::db {
namespace {

std::string text(const FieldValue& value) {
  std::string out = "unchanged";
  EXPECT_TRUE(FieldValueToText(value, out));
  return out;
}

FieldValue date(int y, int m, int d) {
  return FieldValue::ofReal(FieldType::Date, static_cast<double>(*dayNumberOf({y, m, d})));
}

TEST(FieldValueToText, NumbersAndFlags) {
  EXPECT_EQ(text(FieldValue::ofInteger(FieldType::Integer, -32768)), "-32768");
  EXPECT_EQ(text(FieldValue::ofInteger(FieldType::Long, 2147483647)), "2147483647");
  EXPECT_EQ(text(FieldValue::ofInteger(FieldType::Byte, 255)), "255");
  EXPECT_EQ(text(FieldValue::ofInteger(FieldType::Boolean, 1)), "1");
  EXPECT_EQ(text(FieldValue::ofInteger(FieldType::Boolean, 0)), "0");
  EXPECT_EQ(text(FieldValue::ofReal(FieldType::Single, 1.5)), "");
}

TEST(FieldValueToText, DoubleIsTwentyCharactersWithDecimalComma) {
  EXPECT_EQ(text(FieldValue::ofReal(FieldType::Double, 12.5)), "000000000000012,5000");
  EXPECT_EQ(text(FieldValue::ofReal(FieldType::Double, -3.25)), "-00000000000003,2500");
  EXPECT_EQ(text(FieldValue::ofReal(FieldType::Double, 12000.0)), "000000000012000,0000");
}

TEST(FieldValueToText, HugeDoublesKeepEveryDigitAndTheirComma) {
  // The import accepts 1e70 as a length: its text is 76 characters, not a cut 63.
  EXPECT_EQ(text(FieldValue::ofReal(FieldType::Double, 1e70)),
            "10000000000000000725314363815292351261583744096465219555182101554790400,0000");
  EXPECT_EQ(text(FieldValue::ofReal(FieldType::Double, -1.5e65)),
            "-150000000000000010505571038072674121863612844271609840295812792320,0000");
  const std::string largest = text(FieldValue::ofReal(FieldType::Double, DBL_MAX));
  EXPECT_EQ(largest.size(), 314u);
  EXPECT_TRUE(largest.starts_with("179769313486231570")) << largest;
  EXPECT_TRUE(largest.ends_with(",0000")) << largest;
}

TEST(FieldValueToText, CurrencyIsTwentyOneCharactersExactly) {
  EXPECT_EQ(text(FieldValue::ofInteger(FieldType::Currency, 12345000)), "+000000000001234,5000");
  EXPECT_EQ(text(FieldValue::ofInteger(FieldType::Currency, -70000)), "-000000000000007,0000");
  EXPECT_EQ(text(FieldValue::ofInteger(FieldType::Currency, 1)), "+000000000000000,0001");
  // The largest currency value keeps all its digits.
  EXPECT_EQ(text(FieldValue::ofInteger(FieldType::Currency, INT64_MAX)), "+922337203685477,5807");
  EXPECT_EQ(text(FieldValue::ofInteger(FieldType::Currency, INT64_MIN)), "-922337203685477,5808");
}

TEST(FieldValueToText, DatesAndTheirSentinels) {
  EXPECT_EQ(text(date(2004, 3, 5)), "05/03/2004");
  EXPECT_EQ(text(date(1600, 1, 1)), "00/00/0000");
  EXPECT_EQ(text(date(1601, 1, 1)), "01/01/1601");
  EXPECT_EQ(text(date(2399, 12, 31)), "31/12/2399");
  EXPECT_EQ(text(date(2400, 1, 1)), "99/99/9999");
  EXPECT_EQ(text(date(2400, 12, 31)), "99/99/9999");
}

TEST(FieldValueToText, TextsBlobsAndNulls) {
  EXPECT_EQ(text(FieldValue::ofText(FieldType::Text, "ABC  ")), "ABC");
  EXPECT_EQ(text(FieldValue::ofText(FieldType::Text, "   ")), " ");
  EXPECT_EQ(text(FieldValue::ofText(FieldType::Memo, " a b ")), " a b");
  EXPECT_EQ(text(FieldValue::ofText(FieldType::LongBinary, std::string(300, '\0'))),
            "BLOB [300 bytes]");
  for (auto type : {FieldType::Integer, FieldType::Date, FieldType::Text, FieldType::Boolean,
                    FieldType::Currency})
    EXPECT_EQ(text(FieldValue::null(type)), "");
}

TEST(TrimTrailingBlanks, RemovesAllTrailingBlanksOnly) {
  std::string a = "  x y  ", b = "    ", c = "";
  TrimTrailingBlanks(a);
  TrimTrailingBlanks(b);
  TrimTrailingBlanks(c);
  EXPECT_EQ(a, "  x y");
  EXPECT_EQ(b, "");
  EXPECT_EQ(c, "");
}

TEST(QuoteText, DoublesInnerQuotes) {
  EXPECT_EQ(QuoteText("ab"), "\"ab\"");
  EXPECT_EQ(QuoteText("a\"b"), "\"a\"\"b\"");
  EXPECT_EQ(QuoteText(""), "\"\"");
}

TEST(CalendarDate, DayMonthYearTextHasAFourDigitYear) {
  EXPECT_TRUE(parseDayMonthYear("1/2/2010"));
  EXPECT_FALSE(parseDayMonthYear("01/02/20100"));
  EXPECT_FALSE(parseDayMonthYear("01/02/201"));
}

TEST(DateValue, ValidOnlyForRealCalendarMoments) {
  EXPECT_FALSE(DateValue(2004, 2, 30).IsValid());
  EXPECT_TRUE(DateValue(2004, 2, 29).IsValid());
  EXPECT_FALSE(DateValue(2003, 2, 29).IsValid());
  EXPECT_FALSE(DateValue(2004, 13, 1).IsValid());
  EXPECT_FALSE(DateValue(2004, 1, 1, 24, 0, 0).IsValid());
  EXPECT_DOUBLE_EQ(DateValue(1899, 12, 30).DayCount(), 0.0);
  EXPECT_DOUBLE_EQ(DateValue(1900, 1, 1).DayCount(), 2.0);
  EXPECT_DOUBLE_EQ(DateValue(2000, 1, 1, 12, 0, 0).DayCount(), 36526.5);
  const DateValue d(2004, 3, 5);
  EXPECT_EQ(d.Year(), 2004);
  EXPECT_EQ(d.Month(), 3);
  EXPECT_EQ(d.Day(), 5);
}

TEST(DateValue, FromFieldValues) {
  EXPECT_TRUE(DateValue(date(2004, 3, 5)).IsValid());
  EXPECT_EQ(DateValue(FieldValue::ofText(FieldType::Text, "05/03/2004")).Day(), 5);
  EXPECT_FALSE(DateValue(FieldValue::ofText(FieldType::Text, "31/02/2004")).IsValid());
  EXPECT_FALSE(DateValue(FieldValue::null(FieldType::Date)).IsValid());
}

TEST(DateValue, DifferenceAcrossTheEpoch) {
  const auto span = DateValue(2004, 3, 1) - DateValue(2004, 2, 1);
  EXPECT_TRUE(span.valid);
  EXPECT_DOUBLE_EQ(span.days, 29.0);
  // Before the epoch the time of day still counts forward.
  const auto morning = DateValue(1899, 12, 29, 6, 0, 0),
             evening = DateValue(1899, 12, 29, 18, 0, 0);
  EXPECT_DOUBLE_EQ((evening - morning).days, 0.5);
  EXPECT_EQ(morning.Day(), 29);
  EXPECT_DOUBLE_EQ((DateValue(1900, 1, 1) - DateValue(1899, 12, 29, 12, 0, 0)).days, 2.5);
  EXPECT_TRUE((DateValue(9999, 12, 1) - DateValue(100, 1, 1)).valid);
  EXPECT_FALSE((DateValue(12000, 1, 1) - DateValue(2000, 1, 1)).valid);
  EXPECT_FALSE((DateValue() - DateValue(2004, 1, 1)).valid);
}

}  // namespace
}  // namespace veltra::db
