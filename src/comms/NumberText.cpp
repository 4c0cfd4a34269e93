#include "comms/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
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

// Most measures and amounts are a whole number of their last decimal
// (12,500 or 1234,50): scaled by 10^decimals they give an integer, and their
// text is its digits with the comma set in, without the general conversion.
// The scaling may round onto the integer, but below 2^40 by less than 2^-13,
// so the correctly rounded text of the value is that same integer. False,
// nothing written, for any other value.
bool appendWholeOfLastDecimal(double value, int decimals, std::string& out) {
  constexpr std::array<std::uint64_t, 7> Powers = {1, 10, 100, 1000, 10000, 100000, 1000000};
  constexpr double Limit = 1099511627776.0;  // 2^40
  if (decimals < 0 || decimals >= static_cast<int>(Powers.size())) return false;
  const std::uint64_t power = Powers[static_cast<std::size_t>(decimals)];
  const double scaled = std::abs(value) * static_cast<double>(power);
  if (!(scaled < Limit) || scaled != std::floor(scaled)) return false;
  const auto units = static_cast<std::uint64_t>(scaled);
  if (std::signbit(value)) out += '-';
  AppendWholeNumber(static_cast<std::int64_t>(units / power), out);
  if (decimals == 0) return true;
  out += ',';
  std::array<char, 8> fraction;
  std::uint64_t rest = units % power;
  for (int i = decimals; i-- > 0; rest /= 10)
    fraction[static_cast<std::size_t>(i)] = static_cast<char>('0' + rest % 10);
  out.append(fraction.data(), static_cast<std::size_t>(decimals));
  return true;
}

}  // namespace

std::string DecimalCommaText(double value, int decimals) {
  std::string text;
  AppendDecimalCommaText(value, decimals, text);
  return text;
}

void AppendDecimalCommaText(double value, int decimals, std::string& out) {
  if (appendWholeOfLastDecimal(value, decimals, out)) return;
  // Large enough for the widest double in fixed notation; written before it is read.
  std::array<char, 400> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  std::replace(buffer.data(), result.ptr, '.', ',');
  out.append(buffer.data(), result.ptr);
}

void AppendWholeNumber(std::int64_t value, std::string& out) {
  std::array<char, 24> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  out.append(buffer.data(), result.ptr);
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
  std::string number(text.substr(skipBlanks(text, 0)));
  std::replace(number.begin(), number.end(), ',', '.');
  bool negative = false;
  std::string_view rest = number;
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

std::string_view FlagDatabaseText(std::int32_t flag) {
  return flag == 1 ? "1" : "0";
}

std::int32_t FlagFromDatabaseText(std::string_view text) {
  return !text.empty() && text.front() == '0' ? 0 : 1;
}

}  // namespace veltra::comms
