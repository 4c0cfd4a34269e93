#include "reports/CommunicationsCheckReport.h"

#include <algorithm>
#include <cstdio>

#include "comms/DateInput.h"
#include "db/DatabaseConnection.h"
#include "db/QueryCursor.h"
#include "reports/QueryColumns.h"

namespace veltra::reports {

namespace {

// The code and the date are as wide as their headings; the last column is as
// wide as its widest text, whether any row carries it or not.
const std::vector<ColumnSpec>& checkColumns() {
  static const std::vector<ColumnSpec> columns = {
      {"Codice", Align::Left, false},
      {"Azienda"},
      {"Data Comunicazione", Align::Left, false},
      {"Numero Elementi Comunicati", Align::Left, false, NotReceivedText},
  };
  return columns;
}

std::string codeText(std::int32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", code);
  return text;
}

}  // namespace

CommunicationsCheckReport::CommunicationsCheckReport(CheckPeriod period, std::time_t createdAt)
    : PrintReport("Verifica Comunicazioni Aziendali", checkColumns(), createdAt),
      period_(std::move(period)) {}

bool CommunicationsCheckReport::load(db::DatabaseConnection& connection, ui::Prompter& prompter) {
  prompter.beginBusy(true);
  companies_.clear();
  // Counts of the communications listed, whatever is imported meanwhile.
  db::ReadSnapshot snapshot(connection);
  const bool read =
      loadCompanies(connection) && loadCommunications(connection) && countElements(connection);
  buildRows();
  return read;
}

bool CommunicationsCheckReport::loadCompanies(db::DatabaseConnection& connection) {
  db::QueryCursor query(&connection);
  query.SetSelect("codice, denom");
  query.SetFrom("regazi");
  query.SetWhere("attiva = TRUE");
  query.SetOrderBy("denom");
  for (bool found = query.Execute(); found; found = query.NextRow()) {
    CheckedCompany company;
    query.GetInt(0, company.code);
    company.name = TrimmedColumn(query, 1);
    companies_.push_back(std::move(company));
  }
  return !query.Failed();
}

// The statements want the dates month first.
void CommunicationsCheckReport::selectPeriodRows(db::QueryCursor& query, const char* table) const {
  query.SetSelect("azienda, data");
  query.SetFrom(table);
  query.SetWhere("data >= #" + comms::MonthDayYear(period_.start) + "# AND data <= #" +
                 comms::MonthDayYear(period_.end) + "#");
  query.SetOrderBy("azienda, data");
}

// Communications of companies not under observation are left out.
bool CommunicationsCheckReport::loadCommunications(db::DatabaseConnection& connection) {
  db::QueryCursor query(&connection);
  selectPeriodRows(query, "comunica");
  for (bool found = query.Execute(); found; found = query.NextRow()) {
    std::int32_t code = 0;
    query.GetInt(0, code);
    if (CheckedCompany* company = companyOf(code))
      company->communications.push_back({TrimmedColumn(query, 1), 0});
  }
  return !query.Failed();
}

// A history row counts for the communication of its company and date; one
// with no such communication is not counted.
bool CommunicationsCheckReport::countElements(db::DatabaseConnection& connection) {
  db::QueryCursor query(&connection);
  selectPeriodRows(query, "storia");
  for (bool found = query.Execute(); found; found = query.NextRow()) {
    std::int32_t code = 0;
    query.GetInt(0, code);
    CheckedCompany* company = companyOf(code);
    if (!company) continue;
    const std::string date = TrimmedColumn(query, 1);
    auto& received = company->communications;
    const auto communication =
        std::find_if(received.begin(), received.end(),
                     [&](const CheckedCommunication& candidate) { return candidate.date == date; });
    if (communication != received.end()) ++communication->elements;
  }
  return !query.Failed();
}

CheckedCompany* CommunicationsCheckReport::companyOf(std::int32_t code) {
  const auto found =
      std::find_if(companies_.begin(), companies_.end(),
                   [&](const CheckedCompany& company) { return company.code == code; });
  return found == companies_.end() ? nullptr : &*found;
}

void CommunicationsCheckReport::buildRows() {
  rows_.clear();
  for (std::size_t company = 0; company < companies_.size(); ++company) {
    const std::size_t received = companies_[company].communications.size();
    if (received == 0) rows_.push_back({company, std::nullopt});
    for (std::size_t communication = 0; communication < received; ++communication)
      rows_.push_back({company, communication});
  }
}

// Every row repeats the company's code and name.
std::vector<std::string> CommunicationsCheckReport::cells(std::size_t row) const {
  const Row& printed = rows_[row];
  const CheckedCompany& company = companies_[printed.company];
  if (!printed.communication)
    return {codeText(company.code), company.name, "", std::string(NotReceivedText)};
  const CheckedCommunication& communication = company.communications[*printed.communication];
  return {codeText(company.code), company.name, communication.date,
          std::to_string(communication.elements) + " Elementi"};
}

HeaderLines CommunicationsCheckReport::headerLines(std::size_t /*firstRow*/) const {
  return {std::string(ReportBanner), "Verifica Comunicazioni Pervenute",
          "Periodo dal " + period_.start + " al " + period_.end};
}

}  // namespace veltra::reports
