#include "comms/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>

#include "db/PlainText.h"

namespace veltra::comms {

namespace {

bool isBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && isBlank(text[at])) ++at;
  return at;
}

std::size_t skipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && db::IsDigit(text[at])) ++at;
  return at;
}

// The length of the decimal number at the start of text (sign excluded), or 0
// when no digit is there.
std::size_t decimalNumberLength(std::string_view text) {
  std::size_t end = skipDigits(text, 0);
  bool digits = end > 0;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fractionEnd = skipDigits(text, end + 1);
    digits = digits || fractionEnd > end + 1;
    end = fractionEnd;
  }
  if (!digits) return 0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const std::size_t exponentEnd = skipDigits(text, exponent);
    if (exponentEnd > exponent) end = exponentEnd;
  }
  return end;
}

// Every power of ten a double holds exactly that a plain number divides by.
constexpr std::array<double, 16> ExactPowersOfTen = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Digits with at most one decimal comma or point and nothing else, at most
// 15 digits in all, as every measure and amount of a file is. The digits as a
// whole number and the power of ten are both exact doubles, so their quotient
// is the correctly rounded value, the one from_chars gives, without copying
// the text. None for any other text, which takes the general reading.
std::optional<double> plainDecimal(std::string_view text) {
  std::uint64_t digits = 0;
  std::size_t count = 0;
  std::optional<std::size_t> decimals;  // digits after the comma, once there is one
  for (char c : text) {
    if (db::IsDigit(c)) {
      if (++count >= ExactPowersOfTen.size()) return std::nullopt;
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      if (decimals) ++*decimals;
    } else if ((c == ',' || c == '.') && !decimals) {
      decimals = 0;
    } else {
      return std::nullopt;
    }
  }
  if (count == 0) return std::nullopt;
  return static_cast<double>(digits) / ExactPowersOfTen[decimals.value_or(0)];
}

constexpr std::array<std::uint64_t, 7> PowersOfTen = {1, 10, 100, 1000, 10000, 100000, 1000000};

// A value that is a whole number of its last decimal, as most measures and
// amounts are (12,500 or 1234,50): |value| x 10^decimals, an integer. The
// scaling may round onto the integer, but below 2^40 by less than 2^-13, so
// the correctly rounded text of the value is that same integer with the comma
// set in. None for any other value, which takes the general conversion.
std::optional<std::uint64_t> lastDecimalUnits(double value, int decimals) {
  constexpr double Limit = 1099511627776.0;  // 2^40
  if (decimals < 0 || decimals >= static_cast<int>(PowersOfTen.size())) return std::nullopt;
  const double scaled =
      std::abs(value) * static_cast<double>(PowersOfTen[static_cast<std::size_t>(decimals)]);
  if (!(scaled < Limit) || scaled != std::floor(scaled)) return std::nullopt;
  return static_cast<std::uint64_t>(scaled);
}

void appendUnits(bool negative, std::uint64_t units, int decimals, std::string& out) {
  const std::uint64_t power = PowersOfTen[static_cast<std::size_t>(decimals)];
  if (negative) out += '-';
  AppendWholeNumber(static_cast<std::int64_t>(units / power), out);
  if (decimals == 0) return;
  out += ',';
  std::array<char, PowersOfTen.size()> fraction;
  std::uint64_t rest = units % power;
  for (int i = decimals; i-- > 0; rest /= 10)
    fraction[static_cast<std::size_t>(i)] = static_cast<char>('0' + rest % 10);
  out.append(fraction.data(), static_cast<std::size_t>(decimals));
}

// Written into buffer, which is large enough for the widest double in fixed notation.
char* fixedText(double value, int decimals, std::array<char, 400>& buffer) {
  return std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                       std::chars_format::fixed, decimals)
      .ptr;
}

}  // namespace

std::string DecimalCommaText(double value, int decimals) {
  std::string text;
  AppendDecimalCommaText(value, decimals, text);
  return text;
}

void AppendDecimalCommaText(double value, int decimals, std::string& out) {
  if (const auto units = lastDecimalUnits(value, decimals))
    return appendUnits(std::signbit(value), *units, decimals, out);
  std::array<char, 400> buffer;
  char* const end = fixedText(value, decimals, buffer);
  std::replace(buffer.data(), end, '.', ',');
  out.append(buffer.data(), end);
}

double DecimalRounded(double value, int decimals) {
  if (const auto units = lastDecimalUnits(value, decimals))
    return std::copysign(static_cast<double>(*units) /
                             static_cast<double>(PowersOfTen[static_cast<std::size_t>(decimals)]),
                         value);
  std::array<char, 400> buffer;
  char* const end = fixedText(value, decimals, buffer);
  double rounded = value;
  std::from_chars(buffer.data(), end, rounded);
  return rounded;
}

void AppendWholeNumber(std::int64_t value, std::string& out) {
  // Written in place, in room for the widest: every line has several.
  constexpr std::size_t Widest = 20;
  const std::size_t at = out.size();
  out.resize(at + Widest);
  const auto result = std::to_chars(out.data() + at, out.data() + at + Widest, value);
  out.resize(static_cast<std::size_t>(result.ptr - out.data()));
}

std::optional<std::int32_t> ReadWholeNumber(std::string_view text) {
  std::size_t at = skipBlanks(text, 0);
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t Limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  for (; at < text.size() && db::IsDigit(text[at]); ++at) {
    value = value * 10 + (text[at] - '0');
    if (value > Limit) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<double> ReadDecimalNumber(std::string_view text) {
  text.remove_prefix(skipBlanks(text, 0));
  const bool sign = !text.empty() && (text.front() == '+' || text.front() == '-');
  if (const auto plain = plainDecimal(text.substr(sign ? 1 : 0)))
    return sign && text.front() == '-' ? -*plain : *plain;
  // from_chars reads a decimal point only: the text is copied with its commas
  // made points, on the stack unless it is longer than any number of a file.
  std::array<char, 64> room;
  std::string longer;
  char* copy = room.data();
  if (text.size() > room.size()) {
    longer.resize(text.size());
    copy = longer.data();
  }
  std::replace_copy(text.begin(), text.end(), copy, ',', '.');
  bool negative = false;
  std::string_view rest(copy, text.size());
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  const std::size_t length = decimalNumberLength(rest);
  if (length == 0) return 0.0;
  double value = 0.0;
  const auto result =
      std::from_chars(rest.data(), rest.data() + length, value, std::chars_format::general);
  if (result.ec != std::errc()) return std::nullopt;
  return negative ? -value : value;
}

std::int32_t FlagFromFileText(std::string_view field) {
  return !field.empty() && field.front() == 'S' ? 1 : 0;
}

char FlagFileChar(std::int32_t flag) {
  return flag == 1 ? 'S' : 'N';
}

std::int32_t FlagDatabaseValue(std::int32_t flag) {
  return flag == 1 ? 1 : 0;
}

std::int32_t FlagFromDatabaseText(std::string_view text) {
  return !text.empty() && text.front() == '0' ? 0 : 1;
}

}  // namespace veltra::comms
