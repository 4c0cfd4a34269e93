#include "reports/VehicleListReport.h"

#include "comms/NumberText.h"
#include "db/QueryCursor.h"
#include "reports/QueryColumns.h"

namespace veltra::reports {

namespace {

const std::vector<ColumnSpec>& vehicleColumns() {
  static const std::vector<ColumnSpec> columns = {
      {"Targa"},
      {"Telaio"},
      {"Aziendale"},
      {"1^ Immatr."},
      {"Marca Tipo"},
      {"Destin.Uso"},
      {"Carrozzeria"},
      {"Alimentaz."},
      {"Seduti", Align::Right, false},
      {"Piedi", Align::Right, false},
      {"Hand.", Align::Right, false},
      {"Lung.", Align::Right},
      {"Altez.", Align::Right},
      {"AriaCond", Align::Centre, false},
      {"Pedana", Align::Centre, false},
      {"Immissione"},
      {"Dismissione"},
      {"Ultimo Agg."},
  };
  return columns;
}

VehicleListDialog dialogOf(VehicleListOrder order) {
  return order == VehicleListOrder::ByCompany ? VehicleListDialog::ByCompany
                                              : VehicleListDialog::ByAmbit;
}

// Column positions of the query.
enum Column {
  Telaio = 0,
  Data,
  Azienda,
  CompanyName,
  Ambito,
  AmbitName,
  Interno,
  Targa,
  Tipo,
  Prima,
  Dest,
  Carroz,
  Aliment,
  Sedere,
  Piedi,
  Handicap,
  Lung,
  Altezza,
  Aria,
  Pedana,
  Datini,
  Datfin,
};

comms::SituationRow readRow(db::QueryCursor& query) {
  comms::SituationRow row;
  comms::VehicleData& vehicle = row.vehicle;
  row.telaio = TrimmedColumn(query, Telaio);
  row.data = TrimmedColumn(query, Data);
  query.GetInt(Azienda, row.azienda);
  row.companyName = TrimmedColumn(query, CompanyName);
  query.GetInt(Ambito, vehicle.ambito);
  row.ambitName = TrimmedColumn(query, AmbitName);
  vehicle.interno = TrimmedColumn(query, Interno);
  vehicle.targa = TrimmedColumn(query, Targa);
  vehicle.tipo = TrimmedColumn(query, Tipo);
  vehicle.prima = TrimmedColumn(query, Prima);
  vehicle.dest = TrimmedColumn(query, Dest);
  vehicle.carroz = TrimmedColumn(query, Carroz);
  vehicle.aliment = TrimmedColumn(query, Aliment);
  query.GetInt(Sedere, vehicle.sedere);
  query.GetInt(Piedi, vehicle.piedi);
  query.GetInt(Handicap, vehicle.handicap);
  query.GetDouble(Lung, vehicle.lung);
  query.GetDouble(Altezza, vehicle.altezza);
  vehicle.aria = comms::FlagFromDatabaseText(RenderedColumn(query, Aria));
  vehicle.pedana = comms::FlagFromDatabaseText(RenderedColumn(query, Pedana));
  vehicle.datini = TrimmedColumn(query, Datini);
  vehicle.datfin = TrimmedColumn(query, Datfin);
  return row;
}

// The row's cells, then its company's and its ambit's names.
std::vector<std::string> printedTexts(const comms::SituationRow& situation) {
  const comms::VehicleData& vehicle = situation.vehicle;
  const auto yes = [](std::int32_t flag) { return std::string(flag ? "SI" : ""); };
  return {vehicle.targa,
          situation.telaio,
          vehicle.interno,
          vehicle.prima,
          vehicle.tipo,
          vehicle.dest,
          vehicle.carroz,
          vehicle.aliment,
          std::to_string(vehicle.sedere),
          std::to_string(vehicle.piedi),
          std::to_string(vehicle.handicap),
          comms::LengthText(vehicle.lung),
          comms::HeightText(vehicle.altezza),
          yes(vehicle.aria),
          yes(vehicle.pedana),
          vehicle.datini,
          vehicle.datfin,
          situation.data,
          situation.companyName,
          situation.ambitName};
}

std::string groupText(const char* kind, std::int32_t code, std::string_view name) {
  return std::string(kind) + " " + std::to_string(code) + " - " + std::string(name);
}

// The cells, the company's name and the ambit's name.
constexpr std::size_t KeptTexts = 20;

}  // namespace

VehicleListReport::VehicleListReport(VehicleListOrder order, const VehicleListChoice& choice,
                                     std::time_t createdAt)
    : SituationListReport(std::string(VehicleListDialogTitle(dialogOf(order))), vehicleColumns(),
                          choice, createdAt),
      order_(order) {}

std::string VehicleListReport::condition() const {
  return " bus.azienda = regazi.codice AND bus.ambito = regprv.codice AND bus.datrad IS NULL" +
         ChosenVehiclesCondition(choice());
}

bool VehicleListReport::load(db::DatabaseConnection& connection, ui::Prompter& prompter) {
  db::QueryCursor query(&connection);
  query.SetSelect(
      "bus.telaio, bus.data, bus.azienda, regazi.denom, bus.ambito, regprv.denom,"
      " bus.interno, bus.targa, bus.tipo, bus.prima, bus.dest, bus.carroz, bus.aliment,"
      " bus.sedere, bus.piedi, bus.handicap, bus.lung, bus.altezza, bus.aria, bus.pedana,"
      " bus.datini, bus.datfin");
  query.SetFrom("bus, regazi, regprv");
  query.SetWhere(condition());
  query.SetOrderBy(order_ == VehicleListOrder::ByCompany ? "bus.azienda, bus.ambito, bus.targa"
                                                         : "bus.ambito, bus.azienda, bus.targa");
  groups_.clear();
  texts_.clear();
  textEnds_.clear();
  return loadRows(query, prompter,
                  [this](db::QueryCursor& read, comms::SituationList&) { keep(readRow(read)); });
}

void VehicleListReport::keep(const comms::SituationRow& row) {
  groups_.push_back({row.azienda, row.vehicle.ambito});
  for (const std::string& text : printedTexts(row)) {
    texts_ += text;
    textEnds_.push_back(static_cast<std::uint32_t>(texts_.size()));
  }
}

std::string_view VehicleListReport::keptText(std::size_t row, std::size_t n) const {
  const std::size_t index = row * KeptTexts + n;
  const std::size_t begin = index == 0 ? 0 : textEnds_[index - 1];
  return std::string_view(texts_).substr(begin, textEnds_[index] - begin);
}

std::vector<std::string> VehicleListReport::cells(std::size_t row) const {
  std::vector<std::string> texts;
  texts.reserve(vehicleColumns().size());
  for (std::size_t n = 0; n < vehicleColumns().size(); ++n) texts.emplace_back(keptText(row, n));
  return texts;
}

// Nine blanks part the two halves of the group's line.
HeaderLines VehicleListReport::headerLines(std::size_t firstRow) const {
  const Group& group = groups_[firstRow];
  const std::string company =
      groupText("Azienda", group.azienda, keptText(firstRow, vehicleColumns().size()));
  const std::string ambit =
      groupText("Ambito", group.ambito, keptText(firstRow, vehicleColumns().size() + 1));
  const std::string separator(9, ' ');
  return {std::string(ReportBanner), "Elenco Mezzi",
          order_ == VehicleListOrder::ByCompany ? company + separator + ambit
                                                : ambit + separator + company};
}

bool VehicleListReport::opensGroup(std::size_t row) const {
  if (row == 0) return false;
  const Group& current = groups_[row];
  const Group& previous = groups_[row - 1];
  return current.azienda != previous.azienda || current.ambito != previous.ambito;
}

}  // namespace veltra::reports
