#include "reports/CommunicationsCheckChoice.h"

#include <algorithm>

#include "comms/DateInput.h"
#include "comms/NumberText.h"
#include "db/PlainText.h"
#include "db/QueryCursor.h"
#include "db/TableCursor.h"
#include "reports/QueryColumns.h"

namespace veltra::reports {

namespace {

// The company's mark, the cursor left on its row for the edit; none when the
// register lacks the company.
std::optional<bool> seekMark(db::TableCursor& regazi, std::int32_t azienda) {
  const std::string key = std::to_string(azienda);
  if (!regazi.SelectIndex("codice") || !regazi.Seek({&key, 1})) return std::nullopt;
  std::string mark;
  regazi.GetField("attiva", mark);
  return mark == "1";
}

bool writeMark(db::TableCursor& regazi, bool marked) {
  return regazi.Edit() && regazi.SetField("attiva", marked ? "1" : "0") && regazi.Update();
}

// The whole number the text spells, whatever its length, when a company of
// the register has it: the codes of the register are not bound to the four
// digits of the list's items.
std::optional<std::int32_t> registeredCode(std::string_view typed,
                                           const std::vector<CompanyMark>& companies) {
  if (typed.empty() || !std::all_of(typed.begin(), typed.end(), db::IsDigit)) return std::nullopt;
  const auto code = comms::ReadWholeNumber(typed);
  const bool registered =
      code && std::any_of(companies.begin(), companies.end(),
                          [&](const CompanyMark& company) { return company.item.code == *code; });
  return registered ? code : std::nullopt;
}

}  // namespace

std::vector<CompanyMark> CompanyMarks(db::DatabaseConnection& connection) {
  db::QueryCursor query(&connection);
  query.SetSelect("codice, denom, attiva");
  query.SetFrom("regazi");
  query.SetOrderBy("denom");
  std::vector<CompanyMark> companies;
  for (bool found = query.Execute(); found; found = query.NextRow()) {
    std::int32_t code = 0;
    std::int32_t mark = 0;
    query.GetInt(0, code);
    query.GetInt(2, mark);
    companies.push_back({{code, comms::CodeItemText(code, TrimmedColumn(query, 1))}, mark != 0});
  }
  return companies;
}

std::optional<bool> ToggleCompanyMark(db::DatabaseConnection& connection, std::int32_t azienda) {
  return ToggleCompanyMarks(connection, {azienda}).front();
}

// One transaction: every mark written with a single commit, which the file
// makes lasting once instead of once a company. The first write refused
// (the failure was shown) ends it and undoes the others.
std::vector<std::optional<bool>> ToggleCompanyMarks(db::DatabaseConnection& connection,
                                                    const std::vector<std::int32_t>& codes) {
  const std::vector<std::optional<bool>> unchanged(codes.size());
  std::vector<std::optional<bool>> after;
  db::BulkTransaction transaction(connection);
  if (!transaction.Ok()) return unchanged;
  {
    db::TableCursor regazi(&connection, "regazi");
    for (std::int32_t code : codes) {
      const auto marked = seekMark(regazi, code);
      if (marked && !writeMark(regazi, !*marked)) return unchanged;
      after.push_back(marked ? std::optional(!*marked) : marked);
    }
  }
  return transaction.Commit() ? after : unchanged;
}

std::optional<std::vector<std::int32_t>> AcceptCompanyCodes(
    std::string_view list, const std::vector<CompanyMark>& companies, ui::Prompter& prompter) {
  std::vector<std::int32_t> codes;
  for (std::size_t start = 0; start <= list.size();) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    const std::string_view typed = list.substr(start, comma - start);
    const auto code = registeredCode(typed, companies);
    if (!code) {
      prompter.message("ATTENZIONE: l'Azienda " + std::string(typed) +
                           " non è presente nell'archivio delle Aziende.",
                       ui::Icon::Stop);
      return std::nullopt;
    }
    codes.push_back(*code);
    start = comma + 1;
  }
  return codes;
}

std::vector<std::int32_t> SetCompanyMarks(db::DatabaseConnection& connection,
                                          const std::vector<std::int32_t>& codes, bool marked) {
  db::TableCursor regazi(&connection, "regazi");
  std::vector<std::int32_t> unknown;
  for (std::int32_t code : codes) {
    if (seekMark(regazi, code))
      writeMark(regazi, marked);
    else
      unknown.push_back(code);
  }
  return unknown;
}

CheckPeriod DefaultCheckPeriod(std::string_view today) {
  return {"01/" + std::string(today.substr(3)), std::string(today)};
}

std::optional<CheckPeriod> AcceptCheckPeriod(std::string_view typedStart, std::string_view typedEnd,
                                             ui::Prompter& prompter) {
  const auto refuse = [&](std::string_view message) {
    prompter.message(message, ui::Icon::Stop);
    return std::nullopt;
  };
  auto start = comms::ReadInputDate(typedStart);
  if (!start) return refuse(InvalidPeriodStartMessage);
  auto end = comms::ReadInputDate(typedEnd);
  if (!end) return refuse(InvalidPeriodEndMessage);
  if (comms::IsEarlierDate(*end, *start)) return refuse(PeriodEndsBeforeStartMessage);
  return CheckPeriod{std::move(*start), std::move(*end)};
}

std::optional<CheckPeriod> AcceptCheckPeriodOrDefault(std::optional<std::string_view> typedStart,
                                                      std::optional<std::string_view> typedEnd,
                                                      std::string_view today,
                                                      ui::Prompter& prompter) {
  const CheckPeriod defaults = DefaultCheckPeriod(today);
  return AcceptCheckPeriod(typedStart.value_or(defaults.start), typedEnd.value_or(defaults.end),
                           prompter);
}

}  // namespace veltra::reports
