#pragma once
// Dates typed by the user: the rule every date field of the dialogs and of
// veltra-cli follows, and the forms a checked date takes afterwards.

#include <optional>
#include <string>
#include <string_view>

#include "ui/Prompter.h"

namespace veltra::comms {

inline constexpr std::string_view InvalidDateMessage =
    "ATTENZIONE: la data di generazione è espressa in un formato illegale.\n\n"
    "Le date devono essere espresse nella forma GG/MM/AAAA.\n\n";

// GG/MM/AAAA or GG/MM/AA, the separators being "/", "-" or "."; a two-digit
// year is 2000 + AA. The date as "GG/MM/AAAA", or none when the text breaks
// the rule or names a day the calendar does not have.
std::optional<std::string> ReadInputDate(std::string_view typed);

// The same, showing the message with the stop icon when the text is refused.
std::optional<std::string> AcceptInputDate(std::string_view typed, ui::Prompter& prompter);

// Today as "GG/MM/AAAA": what the date fields are preset to.
std::string TodayDateText();

// Whether the checked "GG/MM/AAAA" date names a day before the other one.
bool IsEarlierDate(std::string_view date, std::string_view other);

// A checked "GG/MM/AAAA" as the statements want it between "#" signs: "MM/GG/AAAA".
std::string MonthDayYear(std::string_view date);

}  // namespace veltra::comms
