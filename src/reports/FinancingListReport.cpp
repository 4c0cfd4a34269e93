#include "reports/FinancingListReport.h"

#include "comms/NumberText.h"
#include "db/PlainText.h"
#include "db/QueryCursor.h"
#include "reports/QueryColumns.h"

namespace veltra::reports {

namespace {

const std::vector<ColumnSpec>& financingColumns() {
  static const std::vector<ColumnSpec> columns = {
      {"Azienda"},
      {"Propriet\u00e0"},
      {"Targa"},
      {"Telaio"},
      {"Libretto"},
      {"Immatr."},
      {"Marca Tipo"},
      {"Prezzo", Align::Right},
      {"Contrib.Reg.", Align::Right},
      {"Altri Contr.", Align::Right},
      {"Immissione"},
      {"Dismissione"},
      {"Radiazione"},
      {"Ultimo Agg."},
  };
  return columns;
}

// Column positions of the query.
enum Column {
  Atto = 0,
  Telaio,
  Data,
  Azienda,
  CompanyName,
  Prop,
  Targa,
  Libretto,
  Tipo,
  Dtimm,
  Prezzo,
  Contrib,
  Contrib2,
  Datini,
  Datfin,
  Datrad,
};

comms::SituationRow readRow(db::QueryCursor& query) {
  comms::SituationRow row;
  comms::VehicleData& vehicle = row.vehicle;
  vehicle.atto = TrimmedColumn(query, Atto);
  row.telaio = TrimmedColumn(query, Telaio);
  row.data = TrimmedColumn(query, Data);
  query.GetInt(Azienda, row.azienda);
  row.companyName = TrimmedColumn(query, CompanyName);
  vehicle.prop = TrimmedColumn(query, Prop);
  vehicle.targa = TrimmedColumn(query, Targa);
  vehicle.libretto = TrimmedColumn(query, Libretto);
  vehicle.tipo = TrimmedColumn(query, Tipo);
  vehicle.dtimm = TrimmedColumn(query, Dtimm);
  query.GetDouble(Prezzo, vehicle.prezzo);
  query.GetDouble(Contrib, vehicle.contrib);
  query.GetDouble(Contrib2, vehicle.contrib2);
  vehicle.datini = TrimmedColumn(query, Datini);
  vehicle.datfin = TrimmedColumn(query, Datfin);
  vehicle.datrad = TrimmedColumn(query, Datrad);
  return row;
}

}  // namespace

FinancingListReport::FinancingListReport(const VehicleListChoice& choice, std::time_t createdAt)
    : SituationListReport("Rubrica Mezzi (Finanziamento)", financingColumns(), choice, createdAt) {}

bool FinancingListReport::load(db::DatabaseConnection& connection, ui::Prompter& prompter) {
  db::QueryCursor query(&connection);
  query.SetSelect(
      "bus.atto, bus.telaio, bus.data, bus.azienda, regazi.denom, bus.prop, bus.targa,"
      " bus.libretto, bus.tipo,bus.dtimm, bus.prezzo, bus.contrib, bus.contrib2, bus.datini,"
      " bus.datfin, bus.datrad");
  query.SetFrom("bus, regazi");
  // No join on the ambits: the list does not print their names.
  query.SetWhere(" bus.azienda = regazi.codice" + ChosenVehiclesCondition(choice()));
  query.SetOrderBy("bus.atto, regazi.denom, bus.targa");
  return loadRows(query, prompter, [](db::QueryCursor& read, comms::SituationList& rows) {
    rows.appendFinancingRow(readRow(read));
  });
}

std::vector<std::string> FinancingListReport::cells(std::size_t row) const {
  const comms::SituationRow& situation = this->row(row);
  const comms::VehicleData& vehicle = situation.vehicle;
  return {situation.companyName,
          vehicle.prop,
          vehicle.targa,
          situation.telaio,
          vehicle.libretto,
          vehicle.dtimm,
          vehicle.tipo,
          comms::AmountText(vehicle.prezzo),
          comms::AmountText(vehicle.contrib),
          comms::AmountText(vehicle.contrib2),
          vehicle.datini,
          vehicle.datfin,
          vehicle.datrad,
          situation.data};
}

// A page that goes on with an act spelt otherwise still shows the spelling
// that opened its group.
HeaderLines FinancingListReport::headerLines(std::size_t firstRow) const {
  const std::string& act = actOf(groupStart(firstRow));
  return {std::string(ReportBanner), "Elenco Mezzi",
          "Atto regionale erogazione finanziamento: " + (act.empty() ? "ASSENTE" : act)};
}

// Acts are compared as the query sorts them, without regard to case (their
// trailing blanks were removed on reading): "DGR 5/2011" and "dgr 5/2011"
// interleave by company name, and compared byte for byte they would scatter
// one act over pages of alternating spellings.
bool FinancingListReport::opensGroup(std::size_t row) const {
  return row > 0 && !db::EqualsIgnoringCase(actOf(row), actOf(row - 1));
}

std::size_t FinancingListReport::groupStart(std::size_t row) const {
  while (row > 0 && !opensGroup(row)) --row;
  return row;
}

}  // namespace veltra::reports
