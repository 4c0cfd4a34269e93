#include "reports/FinancingListReport.h"

#include "comms/NumberText.h"
#include "db/PlainText.h"
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

// The fields the list prints, and the act its pages are grouped by.
const SituationColumns& queryColumns() {
  static const SituationColumns columns =
      ListedVehicleColumns({"atto", "prop", "targa", "libretto", "tipo", "dtimm", "prezzo",
                            "contrib", "contrib2", "datini", "datfin", "datrad"});
  return columns;
}

}  // namespace

FinancingListReport::FinancingListReport(const VehicleListChoice& choice, std::time_t createdAt)
    : SituationListReport("Rubrica Mezzi (Finanziamento)", financingColumns(), choice, createdAt) {}

bool FinancingListReport::load(db::DatabaseConnection& connection, ui::Prompter& prompter) {
  db::QueryCursor query(&connection);
  query.SetSelect(comms::SelectList(queryColumns()));
  query.SetFrom("bus, regazi");
  // No join on the ambits: the list does not print their names.
  query.SetWhere(" bus.azienda = regazi.codice" + ChosenVehiclesCondition(choice()));
  query.SetOrderBy("bus.atto, regazi.denom, bus.targa");
  return loadRows(query, prompter, [](db::QueryCursor& read, comms::SituationList& rows) {
    comms::SituationRow row;
    comms::ReadColumns(read, queryColumns(), row);
    rows.appendFinancingRow(std::move(row));
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
