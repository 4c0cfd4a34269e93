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
void appendPrintedTexts(const comms::SituationRow& situation, PackedTexts& texts) {
  const comms::VehicleData& vehicle = situation.vehicle;
  const auto yes = [](std::int32_t flag) { return std::string_view(flag ? "SI" : ""); };
  for (const std::string_view text :
       {std::string_view(vehicle.targa), std::string_view(situation.telaio),
        std::string_view(vehicle.interno), std::string_view(vehicle.prima),
        std::string_view(vehicle.tipo), std::string_view(vehicle.dest),
        std::string_view(vehicle.carroz), std::string_view(vehicle.aliment)})
    texts.append(text);
  for (const std::int32_t number : {vehicle.sedere, vehicle.piedi, vehicle.handicap})
    texts.append(std::to_string(number));
  texts.append(comms::LengthText(vehicle.lung));
  texts.append(comms::HeightText(vehicle.altezza));
  texts.append(yes(vehicle.aria));
  texts.append(yes(vehicle.pedana));
  for (const std::string_view text :
       {std::string_view(vehicle.datini), std::string_view(vehicle.datfin),
        std::string_view(situation.data), std::string_view(situation.companyName),
        std::string_view(situation.ambitName)})
    texts.append(text);
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
      order_(order),
      texts_(KeptTexts) {}

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
  // One row read into again and again: its texts keep their room.
  comms::SituationRow row;
  return loadRows(query, prompter, [this, &row](db::QueryCursor& read, comms::SituationList&) {
    comms::ReadColumns(read, queryColumns(), row);
    groups_.push_back({row.azienda, row.vehicle.ambito});
    appendPrintedTexts(row, texts_);
  });
}

std::vector<std::string> VehicleListReport::cells(std::size_t row) const {
  std::vector<std::string> texts;
  texts.reserve(vehicleColumns().size());
  for (std::size_t n = 0; n < vehicleColumns().size(); ++n) texts.emplace_back(texts_.text(row, n));
  return texts;
}

// Nine blanks part the two halves of the group's line.
HeaderLines VehicleListReport::headerLines(std::size_t firstRow) const {
  const Group& group = groups_[firstRow];
  const std::string company =
      groupText("Azienda", group.azienda, texts_.text(firstRow, vehicleColumns().size()));
  const std::string ambit =
      groupText("Ambito", group.ambito, texts_.text(firstRow, vehicleColumns().size() + 1));
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
