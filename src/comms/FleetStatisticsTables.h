#pragma once
// The fleet figures laid out as tables, the one shape every output takes
// them from: the printed report, the CSV file and the command line's plain
// table. With a second date each figure stands beside its value then and the
// change.

#include <optional>
#include <string>
#include <vector>

#include "comms/FleetStatistics.h"

namespace veltra::comms {

enum class FigureKind { Count, Years, Percent, Amount };

struct FigureColumn {
  std::string heading;
  FigureKind kind = FigureKind::Count;
  bool change = false;          // the difference between two dates: written with its sign
  std::string subheading = {};  // the date, or "variazione", beside two dates
};

// The heading on one line: the subheading after it.
std::string ColumnHeading(const FigureColumn& column);

struct FigureRow {
  std::vector<std::string> labels;
  std::vector<std::optional<double>> values;  // none: no value (no age known, say)
  std::string note;                           // in place of the values when set

  friend bool operator==(const FigureRow&, const FigureRow&) = default;
};

struct FigureTable {
  std::string title;
  std::vector<std::string> labelHeadings;
  std::vector<FigureColumn> columns;
  std::vector<FigureRow> rows;
};

// The tables of one date. The first table's first row is the total.
std::vector<FigureTable> FigureTables(const FleetFigures& figures, FleetGrouping grouping);

// Each value of now beside its value before and the change; rows of either
// date are kept, a row missing at one date has no values there.
std::vector<FigureTable> ComparedTables(const std::vector<FigureTable>& now,
                                        const std::vector<FigureTable>& before,
                                        const std::string& nowDate, const std::string& beforeDate);

// A value as the user reads it: decimal comma, no thousands separator; the
// change with its sign; empty for no value.
std::string FigureText(const std::optional<double>& value, const FigureColumn& column);

// The texts of a row, labels first, then each value (or the note in the first value's place).
std::vector<std::string> RowTexts(const FigureTable& table, const FigureRow& row);

// For spreadsheets set to Italian: UTF-8 with its byte order mark, ";"
// between fields, each table under its title and headings, a blank line after it.
std::string FigureTablesCsv(const std::vector<FigureTable>& tables);

// The tables as aligned plain text for a terminal.
std::string FigureTablesText(const std::vector<FigureTable>& tables);

}  // namespace veltra::comms
