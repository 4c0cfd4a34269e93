#include "comms/FleetStatisticsTables.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace veltra::comms {

namespace {

using Value = std::optional<double>;

const std::string NoVehicleNote = "nessun mezzo in servizio al ";

std::string groupLabel(const GroupFigures& group) {
  return group.code < 0 ? "Totale" : CodeItemText(group.code, group.name);
}

// The total first, then every group.
std::vector<const GroupFigures*> groupsOf(const FleetFigures& figures) {
  std::vector<const GroupFigures*> all{&figures.region};
  for (const GroupFigures& group : figures.groups) all.push_back(&group);
  return all;
}

Value share(int part, int whole) {
  if (whole == 0) return std::nullopt;
  return 100.0 * part / whole;
}

FigureTable vehiclesAndSeats(const FleetFigures& figures, const std::string& groupHeading) {
  FigureTable table{"Mezzi e posti",
                    {groupHeading},
                    {{"Mezzi"}, {"Posti a sedere"}, {"Posti in piedi"}, {"Posti carrozzella"}},
                    {}};
  for (const GroupFigures* group : groupsOf(figures)) {
    FigureRow row{{groupLabel(*group)},
                  {double(group->vehicles), double(group->sedere), double(group->piedi),
                   double(group->handicap)},
                  {}};
    if (group->vehicles == 0) row.note = NoVehicleNote + figures.date;
    table.rows.push_back(std::move(row));
  }
  return table;
}

// The tables below leave out a group with no vehicle: the first one says so.
template <class Rows>
FigureTable tableOf(FigureTable table, const FleetFigures& figures, Rows rows) {
  for (const GroupFigures* group : groupsOf(figures))
    if (group->vehicles > 0) rows(*group, groupLabel(*group), table.rows);
  return table;
}

FigureTable ages(const FleetFigures& figures, const std::string& groupHeading) {
  return tableOf({"Età dalla prima immatricolazione (anni)",
                  {groupHeading},
                  {{"Età media", FigureKind::Years},
                   {"Età mediana", FigureKind::Years},
                   {"Età nota"},
                   {std::string(NotStatedText)}},
                  {}},
                 figures, [](const GroupFigures& group, const std::string& label, auto& rows) {
                   rows.push_back({{label},
                                   {group.meanAge(), group.medianAge(), double(group.knownAges()),
                                    double(group.ageClasses[AgeNotStated])},
                                   {}});
                 });
}

FigureTable ageClasses(const FleetFigures& figures, const std::string& groupHeading) {
  return tableOf({"Classi di età (anni compiuti)",
                  {groupHeading},
                  {{"fino a 5"}, {"6-10"}, {"11-15"}, {"oltre 15"}, {std::string(NotStatedText)}},
                  {}},
                 figures, [](const GroupFigures& group, const std::string& label, auto& rows) {
                   FigureRow row{{label}, {}, {}};
                   for (int count : group.ageClasses) row.values.push_back(double(count));
                   rows.push_back(std::move(row));
                 });
}

FigureTable fuels(const FleetFigures& figures, const std::string& groupHeading) {
  return tableOf({"Alimentazione",
                  {groupHeading, "Alimentazione"},
                  {{"Mezzi"}, {"Quota %", FigureKind::Percent}},
                  {}},
                 figures, [](const GroupFigures& group, const std::string& label, auto& rows) {
                   for (const auto& [fuel, count] : group.fuels)
                     rows.push_back({{label, fuel.empty() ? std::string(NotStatedText) : fuel},
                                     {double(count), share(count, group.vehicles)},
                                     {}});
                 });
}

FigureTable comfort(const FleetFigures& figures, const std::string& groupHeading) {
  return tableOf(
      {"Aria condizionata e pedana carrozzella",
       {groupHeading},
       {{"Con aria condizionata"},
        {"Aria %", FigureKind::Percent},
        {"Con pedana"},
        {"Pedana %", FigureKind::Percent}},
       {}},
      figures, [](const GroupFigures& group, const std::string& label, auto& rows) {
        rows.push_back({{label},
                        {double(group.withAria), share(group.withAria, group.vehicles),
                         double(group.withPedana), share(group.withPedana, group.vehicles)},
                        {}});
      });
}

FigureTable contributions(const FleetFigures& figures, const std::string& groupHeading) {
  return tableOf(
      {"Contributo regionale per anno di immissione in servizio",
       {groupHeading, "Anno"},
       {{"Mezzi"}, {"Contributo", FigureKind::Amount}, {"Contributo medio", FigureKind::Amount}},
       {}},
      figures, [](const GroupFigures& group, const std::string& label, auto& rows) {
        for (const auto& [year, entered] : group.contribByYear)
          rows.push_back(
              {{label, year == 0 ? std::string(NotStatedText) : std::to_string(year)},
               {double(entered.vehicles), entered.contrib, entered.contrib / entered.vehicles},
               {}});
      });
}

Value difference(const Value& now, const Value& before) {
  if (!now || !before) return std::nullopt;
  return *now - *before;
}

FigureTable compared(const FigureTable& now, const FigureTable& before, const std::string& nowDate,
                     const std::string& beforeDate) {
  FigureTable table{now.title, now.labelHeadings, {}, {}};
  for (const FigureColumn& column : now.columns) {
    table.columns.push_back({column.heading, column.kind, false, nowDate});
    table.columns.push_back({column.heading, column.kind, false, beforeDate});
    table.columns.push_back({column.heading, column.kind, true, "variazione"});
  }
  // Rows in the order of now, then those only before had, in their order.
  std::vector<std::vector<std::string>> order;
  std::map<std::vector<std::string>, std::pair<const FigureRow*, const FigureRow*>> rows;
  for (const FigureRow& row : now.rows) {
    order.push_back(row.labels);
    rows[row.labels].first = &row;
  }
  for (const FigureRow& row : before.rows) {
    auto& pair = rows[row.labels];
    if (pair.first == nullptr && pair.second == nullptr) order.push_back(row.labels);
    pair.second = &row;
  }
  const std::size_t width = now.columns.size();
  for (const auto& labels : order) {
    const auto [atNow, atBefore] = rows[labels];
    FigureRow row{labels, {}, {}};
    for (std::size_t i = 0; i < width; ++i) {
      const Value a = atNow != nullptr ? atNow->values[i] : std::nullopt;
      const Value b = atBefore != nullptr ? atBefore->values[i] : std::nullopt;
      row.values.insert(row.values.end(), {a, b, difference(a, b)});
    }
    // The counts say it when the group had vehicles at one of the dates.
    if (atNow != nullptr && atBefore != nullptr && !atNow->note.empty() && !atBefore->note.empty())
      row.note = NoVehicleNote + nowDate + " né al " + beforeDate;
    table.rows.push_back(std::move(row));
  }
  return table;
}

std::string csvField(const std::string& text) {
  if (text.find_first_of(";\"\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string csvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields) {
    if (!line.empty()) line += ';';
    line += csvField(field);
  }
  return line + "\r\n";
}

std::vector<std::string> headings(const FigureTable& table) {
  std::vector<std::string> texts = table.labelHeadings;
  for (const FigureColumn& column : table.columns) texts.push_back(ColumnHeading(column));
  return texts;
}

// Characters, not bytes: the labels hold accented letters.
std::size_t displayWidth(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string padded(const std::string& text, std::size_t width, bool right) {
  const std::string blanks(width - std::min(width, displayWidth(text)), ' ');
  return right ? blanks + text : text + blanks;
}

}  // namespace

std::vector<FigureTable> FigureTables(const FleetFigures& figures, FleetGrouping grouping) {
  const std::string heading = grouping == FleetGrouping::Company ? "Azienda" : "Ambito";
  return {vehiclesAndSeats(figures, heading), ages(figures, heading),
          ageClasses(figures, heading),       fuels(figures, heading),
          comfort(figures, heading),          contributions(figures, heading)};
}

std::vector<FigureTable> ComparedTables(const std::vector<FigureTable>& now,
                                        const std::vector<FigureTable>& before,
                                        const std::string& nowDate, const std::string& beforeDate) {
  std::vector<FigureTable> tables;
  for (std::size_t i = 0; i < now.size() && i < before.size(); ++i)
    tables.push_back(compared(now[i], before[i], nowDate, beforeDate));
  return tables;
}

std::string ColumnHeading(const FigureColumn& column) {
  return column.subheading.empty() ? column.heading : column.heading + " " + column.subheading;
}

std::string FigureText(const std::optional<double>& value, const FigureColumn& column) {
  if (!value) return {};
  static constexpr const char* Plain[] = {"%.0f", "%.1f", "%.1f", "%.2f"};
  static constexpr const char* Signed[] = {"%+.0f", "%+.1f", "%+.1f", "%+.2f"};
  const auto kind = static_cast<std::size_t>(column.kind);
  char buffer[64];
  // A change of nothing is written without a sign, and never as "-0".
  const double shown = *value == 0.0 ? 0.0 : *value;
  std::snprintf(buffer, sizeof buffer, column.change && shown != 0.0 ? Signed[kind] : Plain[kind],
                shown);
  std::string text = buffer;
  std::replace(text.begin(), text.end(), '.', ',');
  return text == "-0" || text == "-0,0" || text == "-0,00" ? text.substr(1) : text;
}

std::vector<std::string> RowTexts(const FigureTable& table, const FigureRow& row) {
  std::vector<std::string> texts = row.labels;
  for (std::size_t i = 0; i < table.columns.size(); ++i)
    texts.push_back(!row.note.empty() ? (i == 0 ? row.note : std::string())
                                      : FigureText(row.values[i], table.columns[i]));
  return texts;
}

std::string FigureTablesCsv(const std::vector<FigureTable>& tables) {
  std::string csv = "\xEF\xBB\xBF";
  for (const FigureTable& table : tables) {
    csv += csvLine({table.title});
    csv += csvLine(headings(table));
    for (const FigureRow& row : table.rows) csv += csvLine(RowTexts(table, row));
    csv += "\r\n";
  }
  return csv;
}

std::string FigureTablesText(const std::vector<FigureTable>& tables) {
  std::string text;
  for (const FigureTable& table : tables) {
    std::vector<std::vector<std::string>> lines{headings(table)};
    for (const FigureRow& row : table.rows) lines.push_back(RowTexts(table, row));
    std::vector<std::size_t> widths(lines.front().size(), 0);
    for (std::size_t n = 0; n < lines.size(); ++n)
      for (std::size_t i = 0; i < lines[n].size(); ++i)
        if (n == 0 || table.rows[n - 1].note.empty())
          widths[i] = std::max(widths[i], displayWidth(lines[n][i]));
    text += table.title + "\n";
    for (std::size_t n = 0; n < lines.size(); ++n) {
      // A note runs on from the first value column.
      const bool note = n > 0 && !table.rows[n - 1].note.empty();
      std::string joined;
      for (std::size_t i = 0; i < lines[n].size(); ++i) {
        const bool value = i >= table.labelHeadings.size();
        joined += (i > 0 ? "  " : "") +
                  (note && value ? lines[n][i] : padded(lines[n][i], widths[i], value));
        if (note && value) break;
      }
      text += joined.substr(0, joined.find_last_not_of(' ') + 1) + "\n";
    }
    text += "\n";
  }
  return text;
}

}  // namespace veltra::comms
