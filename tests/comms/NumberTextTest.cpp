#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "comms/NumberText.h"

namespace veltra::comms {
namespace {

TEST(DecimalCommaText, FormatsEachFieldWithItsDecimals) {
  EXPECT_EQ(LengthText(12.5), "12,500");
  EXPECT_EQ(HeightText(12.5), "12,5");
  EXPECT_EQ(AmountText(12.5), "12,50");
  EXPECT_EQ(HeightText(3.0), "3,0");
  EXPECT_EQ(AmountText(1500.0), "1500,00");
  EXPECT_EQ(AmountText(-0.005), "-0,01");
  EXPECT_EQ(HeightText(0.34), "0,3");
}

TEST(DecimalCommaText, WritesVeryLargeValuesWhole) {
  const std::string text = AmountText(1e300);
  EXPECT_EQ(text.size(), 301u + 3u);
  EXPECT_EQ(text.substr(text.size() - 3), ",00");
}

// The general conversion the quick form of whole-of-last-decimal values must match.
std::string generalText(double value, int decimals) {
  std::array<char, 400> buffer;
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                 std::chars_format::fixed, decimals)
                       .ptr;
  std::replace(buffer.data(), end, '.', ',');
  return std::string(buffer.data(), end);
}

// What the database keeps of that text: the number it reads as.
double readBack(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

TEST(DecimalCommaText, QuickFormsAgreeWithTheGeneralConversion) {
  std::mt19937_64 random(20261207);
  std::vector<double> values = {
      0.0,   -0.0,           1e-300,          -1e-300,         0.0005,
      2.675, 1099511627.776, 1099511627775.0, 1099511627776.0, 4503599627370497.0};
  for (int i = 0; i < 20000; ++i) {
    const auto units = static_cast<std::int64_t>(random() % 2000000000000) - 1000000000000;
    for (double power : {10.0, 100.0, 1000.0}) {
      const double value = static_cast<double>(units) / power;
      values.insert(values.end(),
                    {value, std::nextafter(value, 1e300), std::nextafter(value, -1e300)});
    }
    values.push_back(std::bit_cast<double>(random()));
  }
  for (double value : values)
    for (int decimals : {0, 1, 2, 3}) {
      const std::string text = generalText(value, decimals);
      ASSERT_EQ(DecimalCommaText(value, decimals), text) << value << " with " << decimals;
      if (std::isfinite(value)) {
        ASSERT_EQ(std::bit_cast<std::uint64_t>(DecimalRounded(value, decimals)),
                  std::bit_cast<std::uint64_t>(readBack(text)))
            << value << " with " << decimals;
      }
    }
}

TEST(ReadWholeNumber, TakesBlanksSignAndDigitsUpToTheFirstOtherCharacter) {
  EXPECT_EQ(ReadWholeNumber("42"), 42);
  EXPECT_EQ(ReadWholeNumber("  -17abc"), -17);
  EXPECT_EQ(ReadWholeNumber("+8>"), 8);
  EXPECT_EQ(ReadWholeNumber("12>"), 12);
  EXPECT_EQ(ReadWholeNumber(""), 0);
  EXPECT_EQ(ReadWholeNumber("abc"), 0);
  EXPECT_EQ(ReadWholeNumber("- 5"), 0);
  EXPECT_EQ(ReadWholeNumber("2147483647"), 2147483647);
  EXPECT_EQ(ReadWholeNumber("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ReadWholeNumber("000000000000000000000007"), 7);
}

TEST(ReadWholeNumber, RefusesNumbersBeyondThirtyTwoBits) {
  EXPECT_FALSE(ReadWholeNumber("2147483648"));
  EXPECT_FALSE(ReadWholeNumber("-2147483649"));
  EXPECT_FALSE(ReadWholeNumber("99999999999999999999999"));
}

TEST(ReadDecimalNumber, AcceptsCommaOrPoint) {
  EXPECT_EQ(ReadDecimalNumber("12,5"), 12.5);
  EXPECT_EQ(ReadDecimalNumber("12.5"), 12.5);
  EXPECT_EQ(ReadDecimalNumber(" -0,25"), -0.25);
  EXPECT_EQ(ReadDecimalNumber("+3"), 3.0);
  EXPECT_EQ(ReadDecimalNumber(",5"), 0.5);
  EXPECT_EQ(ReadDecimalNumber("7,"), 7.0);
  EXPECT_EQ(ReadDecimalNumber("1,5e3"), 1500.0);
  EXPECT_EQ(ReadDecimalNumber("2E-1"), 0.2);
}

// Plain numbers, the measures and amounts of every file, are read by a short
// way: the double must be the very one the full reading of the text gives.
TEST(ReadDecimalNumber, PlainNumbersReadAsTheFullReadingDoes) {
  const auto full = [](std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
  };
  std::vector<std::string> texts = {"999999999999999", "0,000000000000001", "-12,50"};
  for (int units = 0; units < 200000; units += 7)
    for (int decimals : {1, 2, 3}) {
      std::string text = std::to_string(units);
      text.insert(text.size() - std::min<std::size_t>(text.size(), decimals), ",");
      texts.push_back(text);
    }
  for (const std::string& text : texts) ASSERT_EQ(ReadDecimalNumber(text), full(text)) << text;
}

TEST(ReadDecimalNumber, StopsAtTheFirstOtherCharacter) {
  EXPECT_EQ(ReadDecimalNumber("12,5 mm"), 12.5);
  EXPECT_EQ(ReadDecimalNumber("1,2,3"), 1.2);
  EXPECT_EQ(ReadDecimalNumber("4e"), 4.0);
  EXPECT_EQ(ReadDecimalNumber("4e+x"), 4.0);
  EXPECT_EQ(ReadDecimalNumber(""), 0.0);
  EXPECT_EQ(ReadDecimalNumber("abc"), 0.0);
  EXPECT_EQ(ReadDecimalNumber("."), 0.0);
  EXPECT_EQ(ReadDecimalNumber("-"), 0.0);
  // Words a C library would read as numbers are not numbers in a record.
  EXPECT_EQ(ReadDecimalNumber("inf"), 0.0);
  EXPECT_EQ(ReadDecimalNumber("nan"), 0.0);
  EXPECT_EQ(ReadDecimalNumber("0x10"), 0.0);
}

TEST(ReadDecimalNumber, RefusesValuesADoubleCannotHold) {
  EXPECT_FALSE(ReadDecimalNumber("1e999"));
  EXPECT_FALSE(ReadDecimalNumber("-1e999"));
}

TEST(DecimalCommaText, ReadingAndWritingBackGiveTheFileText) {
  EXPECT_EQ(LengthText(*ReadDecimalNumber("12,5")), "12,500");
  EXPECT_EQ(AmountText(*ReadDecimalNumber("123456,78")), "123456,78");
}

TEST(Flags, FileAndDatabaseForms) {
  EXPECT_EQ(FlagFromFileText("S"), 1);
  EXPECT_EQ(FlagFromFileText("Si"), 1);
  EXPECT_EQ(FlagFromFileText("s"), 0);
  // Empty, though the bytes beyond it begin with S.
  EXPECT_EQ(FlagFromFileText(std::string_view("S", 0)), 0);
  EXPECT_EQ(FlagFromFileText("N"), 0);
  EXPECT_EQ(FlagFromFileText(""), 0);
  EXPECT_EQ(FlagFileChar(1), 'S');
  EXPECT_EQ(FlagFileChar(0), 'N');
  EXPECT_EQ(FlagFileChar(2), 'N');
  EXPECT_EQ(FlagDatabaseValue(1), 1);
  EXPECT_EQ(FlagDatabaseValue(0), 0);
  EXPECT_EQ(FlagDatabaseValue(2), 0);
  EXPECT_EQ(FlagFromDatabaseText("1"), 1);
  EXPECT_EQ(FlagFromDatabaseText("-1"), 1);
  EXPECT_EQ(FlagFromDatabaseText("0"), 0);
}

}  // namespace
}  // namespace veltra::comms
