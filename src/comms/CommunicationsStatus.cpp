#include "comms/CommunicationsStatus.h"

#include "comms/DateInput.h"
#include "db/QueryCursor.h"

namespace veltra::comms {

std::vector<CodeItem> CommunicatingCompanies(db::DatabaseConnection& connection) {
  return ReadCodeItems(connection, {"regazi.codice, regazi.denom", "regazi, comunica",
                                    "comunica.azienda = regazi.codice",
                                    "regazi.denom, regazi.codice", "regazi.denom"});
}

std::vector<std::string> CommunicationDates(db::DatabaseConnection& connection,
                                            std::int32_t azienda) {
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
  return dates;
}

bool CommunicationHasVehicles(db::DatabaseConnection& connection, std::int32_t azienda,
                              const std::string& date) {
  db::QueryCursor query(&connection);
  query.SetSelect("telaio");
  query.SetFrom("storia");
  query.SetWhere("azienda = " + std::to_string(azienda) + " AND data = #" + MonthDayYear(date) +
                 "#");
  // The first row settles it.
  return query.Execute();
}

std::string CommunicationVerdictText(const std::string& date, bool hasVehicles) {
  return "Comunicazione del " + date + "\n\n" +
         (hasVehicles ? "Presentata con contenuti" : "Presentata vuota");
}

void ShowCommunicationVerdict(db::DatabaseConnection& connection, std::int32_t azienda,
                              const std::string& date) {
  connection.prompter().message(
      CommunicationVerdictText(date, CommunicationHasVehicles(connection, azienda, date)),
      ui::Icon::Information);
}

}  // namespace veltra::comms
