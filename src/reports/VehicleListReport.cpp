#include "reports/VehicleListReport.h"

#include "comms/NumberText.h"
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

// The fields the list prints, and the ambit its pages are grouped by with its name.
const SituationColumns& queryColumns() {
  static const SituationColumns columns = [] {
    SituationColumns listed = ListedVehicleColumns(
        {"ambito", "interno", "targa", "tipo", "prima", "dest", "carroz", "aliment", "sedere",
         "piedi", "handicap", "lung", "altezza", "aria", "pedana", "datini", "datfin"});
    listed.push_back(TrimmedTextColumn("regprv.denom", &comms::SituationRow::ambitName));
    return listed;
  }();
  return columns;
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
  query.SetSelect(comms::SelectList(queryColumns()));
  query.SetFrom("bus, regazi, regprv");
  query.SetWhere(condition());
  query.SetOrderBy(order_ == VehicleListOrder::ByCompany ? "bus.azienda, bus.ambito, bus.targa"
                                                         : "bus.ambito, bus.azienda, bus.targa");
  groups_.clear();
  texts_.clear();
  textEnds_.clear();
  return loadRows(query, prompter, [this](db::QueryCursor& read, comms::SituationList&) {
    comms::SituationRow row;
    comms::ReadColumns(read, queryColumns(), row);
    keep(row);
  });
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
