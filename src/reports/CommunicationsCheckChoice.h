#pragma once
// The dialog of the communications verification: the companies with the
// mark that puts them under observation, kept in the database the moment it
// changes, and the period the verification covers.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comms/CodeChoice.h"
#include "db/DatabaseConnection.h"
#include "ui/Prompter.h"

namespace veltra::reports {

inline constexpr std::string_view InvalidPeriodStartMessage =
    "ATTENZIONE: la data di Inizio Periodo è espressa in un formato illegale.\n\n"
    "Le date devono essere espresse nella forma GG/MM/AAAA.\n\n";
inline constexpr std::string_view InvalidPeriodEndMessage =
    "ATTENZIONE: la data di Fine Periodo è espressa in un formato illegale.\n\n"
    "Le date devono essere espresse nella forma GG/MM/AAAA.\n\n";
inline constexpr std::string_view PeriodEndsBeforeStartMessage =
    "ATTENZIONE: la data di Fine Periodo è antecedente alla data di Inizio Periodo\n\n"
    "Il periodo indicato deve comprendere almeno un giorno !!!";

struct CompanyMark {
  comms::CodeItem item;  // "%04d - name"
  bool marked = false;

  friend bool operator==(const CompanyMark&, const CompanyMark&) = default;
};

// Every company, marked or not, by name.
std::vector<CompanyMark> CompanyMarks(db::DatabaseConnection& connection);

// A click on the company: its mark flips in the database at once. The new
// mark, or none when the company is not in the register or the write failed
// (the mark then stays as it was).
std::optional<bool> ToggleCompanyMark(db::DatabaseConnection& connection, std::int32_t azienda);
// The marks of many companies flip in one write: their new marks in the
// order given, each none as above (all of them when the write failed).
std::vector<std::optional<bool>> ToggleCompanyMarks(db::DatabaseConnection& connection,
                                                    const std::vector<std::int32_t>& codes);

// Gives each listed company the mark (not a flip: a marked company stays
// marked). The codes not in the register, which are left alone.
std::vector<std::int32_t> SetCompanyMarks(db::DatabaseConnection& connection,
                                          const std::vector<std::int32_t>& codes, bool marked);

// The codes of a "N[,N...]" list, each the digits of the code of a company
// of the register (leading zeros allowed, any length); none, after the
// refusal (stop icon) that names the first one that is not.
std::optional<std::vector<std::int32_t>> AcceptCompanyCodes(
    std::string_view list, const std::vector<CompanyMark>& companies, ui::Prompter& prompter);

// Both dates "GG/MM/AAAA", start not after end.
struct CheckPeriod {
  std::string start;
  std::string end;

  friend bool operator==(const CheckPeriod&, const CheckPeriod&) = default;
};

// How the dialog opens: from the first of today's month to today
// ("GG/MM/AAAA").
CheckPeriod DefaultCheckPeriod(std::string_view today);

// "OK": the start, the end, then their order; the first one refused shows
// its message (stop icon) and nothing is returned, the dialog stays open.
std::optional<CheckPeriod> AcceptCheckPeriod(std::string_view typedStart, std::string_view typedEnd,
                                             ui::Prompter& prompter);

// The same with either date left out: it takes the value the dialog opens
// with on that day ("GG/MM/AAAA").
std::optional<CheckPeriod> AcceptCheckPeriodOrDefault(std::optional<std::string_view> typedStart,
                                                      std::optional<std::string_view> typedEnd,
                                                      std::string_view today,
                                                      ui::Prompter& prompter);

}  // namespace veltra::reports
