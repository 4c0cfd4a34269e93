#include "comms/CommunicationsStatus.h"

#include <algorithm>

#include "comms/DateInput.h"
#include "db/QueryCursor.h"

namespace veltra::comms {

namespace {

void noteFailure(const db::QueryCursor& query, bool* readFailed) {
  if (readFailed != nullptr && query.Failed()) *readFailed = true;
}

}  // namespace

std::vector<CodeItem> CommunicatingCompanies(db::DatabaseConnection& connection, bool* readFailed) {
  return ReadCodeItems(
      connection,
      {"regazi.codice, regazi.denom", "regazi, comunica", "comunica.azienda = regazi.codice",
       "regazi.denom, regazi.codice", "regazi.denom"},
      readFailed);
}

std::vector<std::string> CommunicationDates(db::DatabaseConnection& connection,
                                            std::int32_t azienda, bool* readFailed) {
  db::QueryCursor query(&connection);
  query.SetSelect("data");
  query.SetFrom("comunica");
  query.SetWhere("azienda = " + std::to_string(azienda));
  query.SetOrderBy("data");
  std::vector<std::string> dates;
  for (bool row = query.Execute(); row; row = query.NextRow()) {
    std::string date;
    query.GetText("data", date);
    dates.push_back(std::move(date));
  }
  noteFailure(query, readFailed);
  return dates;
}

bool CommunicationHasVehicles(db::DatabaseConnection& connection, std::int32_t azienda,
                              const std::string& date, bool* readFailed) {
  db::QueryCursor query(&connection);
  query.SetSelect("telaio");
  query.SetFrom("storia");
  query.SetWhere("azienda = " + std::to_string(azienda) + " AND data = #" + MonthDayYear(date) +
                 "#");
  // The first row settles it.
  const bool found = query.Execute();
  noteFailure(query, readFailed);
  return found;
}

std::string CommunicationVerdictText(const std::string& date, bool hasVehicles) {
  return "Comunicazione del " + date + "\n\n" +
         (hasVehicles ? "Presentata con contenuti" : "Presentata vuota");
}

std::optional<std::string> AcceptCommunicationDate(std::string_view typed, std::int32_t azienda,
                                                   const std::vector<std::string>& dates,
                                                   ui::Prompter& prompter) {
  const auto date = AcceptInputDate(typed, prompter);
  if (!date) return std::nullopt;
  if (std::find(dates.begin(), dates.end(), *date) != dates.end()) return date;
  prompter.message(
      "Nessuna comunicazione dell'Azienda=" + std::to_string(azienda) + " in data " + *date,
      ui::Icon::Stop);
  return std::nullopt;
}

bool ShowCommunicationVerdict(db::DatabaseConnection& connection, std::int32_t azienda,
                              const std::string& date) {
  bool failed = false;
  const bool hasVehicles = CommunicationHasVehicles(connection, azienda, date, &failed);
  if (failed) return false;
  connection.Prompter().message(CommunicationVerdictText(date, hasVehicles), ui::Icon::Information);
  return true;
}

}  // namespace veltra::comms
