#pragma once
// A query's columns written once: each column's expression in the select
// list beside the reading of its value into the row, so that the select text
// and the reads cannot drift apart. The vehicle fields come from their own
// table, in the order of a record line or as a query names them.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "comms/VehicleData.h"
#include "comms/VehicleFields.h"
#include "db/QueryCursor.h"

namespace veltra::comms {

template <class Row>
struct QueryColumn {
  std::string expression;
  std::function<void(db::QueryCursor& query, int column, Row& row)> read;
};

template <class Row>
using QueryColumns = std::vector<QueryColumn<Row>>;

// "a, b, c": the expressions in the columns' order.
template <class Row>
std::string SelectList(const QueryColumns<Row>& columns) {
  std::string list;
  for (const QueryColumn<Row>& column : columns) {
    if (!list.empty()) list += ", ";
    list += column.expression;
  }
  return list;
}

// The query's current row, every column read into row.
template <class Row>
void ReadColumns(db::QueryCursor& query, const QueryColumns<Row>& columns, Row& row) {
  int position = 0;
  for (const QueryColumn<Row>& column : columns) column.read(query, position++, row);
}

// A column read into a member of the row as it is stored.
template <class Row>
QueryColumn<Row> TextColumn(std::string expression, std::string Row::*member) {
  return {std::move(expression), [member](db::QueryCursor& query, int column, Row& row) {
            query.GetString(column, row.*member);
          }};
}
template <class Row>
QueryColumn<Row> WholeColumn(std::string expression, std::int32_t Row::*member) {
  return {std::move(expression), [member](db::QueryCursor& query, int column, Row& row) {
            query.GetInt(column, row.*member);
          }};
}

// How a vehicle field's value is taken from its column.
using VehicleFieldReader = void (*)(db::QueryCursor& query, int column, const VehicleField& field,
                                    VehicleData& vehicle);

// As stored: texts as they are, a flag 1 for any value but 0.
void ReadStoredVehicleField(db::QueryCursor& query, int column, const VehicleField& field,
                            VehicleData& vehicle);

// The same column appended to line as a record line writes the field: the
// text ReadStoredVehicleField then AppendFileText give, without a vehicle
// in between.
void AppendStoredFileText(db::QueryCursor& query, int column, FieldKind kind, std::string& line);

// The field's column of table ("table.name"; the bare name without a
// table), read by read into the row's vehicle.
template <class Row>
QueryColumn<Row> VehicleColumn(std::string_view table, const VehicleField& field,
                               VehicleData Row::*vehicle,
                               VehicleFieldReader read = ReadStoredVehicleField) {
  std::string expression = table.empty() ? std::string() : std::string(table) + ".";
  expression += field.name;
  return {std::move(expression),
          [&field, vehicle, read](db::QueryCursor& query, int column, Row& row) {
            read(query, column, field, row.*vehicle);
          }};
}

// Every vehicle field of table, in the order of a record line, read as stored.
template <class Row>
void AppendVehicleColumns(QueryColumns<Row>& columns, std::string_view table,
                          VehicleData Row::*vehicle) {
  for (const VehicleField& field : VehicleFields)
    columns.push_back(VehicleColumn(table, field, vehicle));
}

}  // namespace veltra::comms
