#pragma once
// How a value read from the database becomes the text the program shows,
// prints and exports, and the two date texts that stand outside the calendar.

#include <string>
#include <string_view>

#include "db/FieldValue.h"

namespace veltra::db {

inline constexpr std::string_view NoDate = "00/00/0000";
inline constexpr std::string_view EndOfTime = "99/99/9999";
// What the two sentinels are stored as.
inline constexpr std::string_view NoDateStored = "01/01/1600";
inline constexpr std::string_view EndOfTimeStored = "31/12/2400";

// "GG/MM/AAAA"; NoDate for a year up to 1600, EndOfTime from 2400 on.
std::string DateText(int day, int month, int year);
// The same appended to out.
void AppendDateText(int day, int month, int year, std::string& out);

// Writes the text of the value into out; always true. Trailing blanks are
// removed, but never the first character.
bool FieldValueToText(const FieldValue& value, std::string& out);

// The shortest text without exponent that reads back as the number ("12000.5",
// "inf"): the text a number given as a number stands for.
std::string PlainNumberText(double value);

// Removes every trailing blank; a text of blanks only becomes empty.
void TrimTrailingBlanks(std::string& text);

// A value taken from data or from the user, as a string literal of the
// statement dialect: between double quotes, an inner double quote doubled.
std::string QuoteText(std::string_view value);

}  // namespace veltra::db
