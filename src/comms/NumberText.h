#pragma once
// Numbers and flags as the communication files and the database texts carry
// them: decimal comma on the way out, comma or point on the way in.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltra::comms {

// The value with the given number of decimals ("%1.<decimals>lf"), every
// "." replaced by ",".
std::string DecimalCommaText(double value, int decimals);
// The same appended to out, for writers that build each line in one buffer.
void AppendDecimalCommaText(double value, int decimals, std::string& out);
// The value its text with that many decimals reads back as: what the
// database keeps of a number written through its text.
double DecimalRounded(double value, int decimals);
// A whole number as "%d" writes it, appended to out.
void AppendWholeNumber(std::int64_t value, std::string& out);

// lung: three decimals; altezza: one; prezzo, contrib, contrib2: two.
inline constexpr int LengthDecimals = 3;
inline constexpr int HeightDecimals = 1;
inline constexpr int AmountDecimals = 2;
inline std::string LengthText(double value) {
  return DecimalCommaText(value, LengthDecimals);
}
inline std::string HeightText(double value) {
  return DecimalCommaText(value, HeightDecimals);
}
inline std::string AmountText(double value) {
  return DecimalCommaText(value, AmountDecimals);
}

// Leading blanks, an optional sign, then digits; the conversion stops at the
// first other character and no digits give 0. None when the number does not
// fit 32 bits: such a field cannot be told apart from a corrupted one.
std::optional<std::int32_t> ReadWholeNumber(std::string_view text);

// Every "," read as ".", then the leading decimal number (blanks, sign,
// digits, point and fraction, exponent); 0.0 when there is none. None when
// the number is beyond what a double holds.
std::optional<double> ReadDecimalNumber(std::string_view text);

// Flags: "S"/"N" in files, 1/0 in the database.
std::int32_t FlagFromFileText(std::string_view field);
char FlagFileChar(std::int32_t flag);
std::int32_t FlagDatabaseValue(std::int32_t flag);
std::int32_t FlagFromDatabaseText(std::string_view text);

}  // namespace veltra::comms
