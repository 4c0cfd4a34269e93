#include "comms/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
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

}  // namespace

std::string DecimalCommaText(double value, int decimals) {
  // Large enough for the widest double in fixed notation.
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  std::string text(buffer.data(), result.ptr);
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
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
