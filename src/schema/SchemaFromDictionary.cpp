#include "schema/SchemaFromDictionary.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <vector>

#include "db/DatabaseConnection.h"
#include "db/FieldValueText.h"
#include "db/QueryCursor.h"
#include "db/engine/EngineDatabase.h"
#include "db/engine/TableDef.h"

namespace veltra::schema {

namespace {

using db::FieldType;
using db::engine::EngineStatus;
using Row = std::vector<std::string>;

// The columns a select list names, in order.
std::vector<std::string> columnsOf(std::string_view select) {
  std::vector<std::string> columns;
  while (!select.empty()) {
    const size_t comma = std::min(select.find(','), select.size());
    std::string_view column = select.substr(0, comma);
    while (!column.empty() && column.front() == ' ') column.remove_prefix(1);
    while (!column.empty() && column.back() == ' ') column.remove_suffix(1);
    columns.emplace_back(column);
    select.remove_prefix(std::min(comma + 1, select.size()));
  }
  return columns;
}

// Every row is read before anything is built from it: a statement still
// running would not survive the tables being rebuilt for the relations.
std::vector<Row> readRows(db::DatabaseConnection& connection, std::string_view select,
                          std::string_view from, std::string_view where = {},
                          std::string_view orderBy = {}) {
  db::QueryCursor query(&connection);
  query.SetSelect(select);
  query.SetFrom(from);
  query.SetWhere(where);
  query.SetOrderBy(orderBy);
  const auto columns = columnsOf(select);
  std::vector<Row> rows;
  for (bool more = query.Execute(); more; more = query.NextRow()) {
    Row& row = rows.emplace_back();
    for (const auto& column : columns) query.GetText(column, row.emplace_back());
  }
  return rows;
}

std::string quoted(std::string_view value) {
  return db::QuoteText(value);
}

char firstChar(std::string_view text) {
  return text.empty() ? '\0' : text.front();
}

// The decimal number at the start of a text, as the dictionary stores sizes and positions.
std::optional<int> leadingNumber(std::string_view text) {
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc()) return std::nullopt;
  return value;
}

std::optional<FieldType> typeOfLetter(char letter) {
  switch (letter) {
    case 'A':
      return FieldType::Text;
    case 'B':
      return FieldType::Boolean;
    case 'D':
      return FieldType::Date;
    case 'F':
      return FieldType::Double;
    case 'I':
      return FieldType::Integer;
    case 'L':
      return FieldType::Long;
    case 'M':
      return FieldType::Memo;
    case 'N':
      return FieldType::Currency;
    case 'O':
      return FieldType::LongBinary;
    default:
      return std::nullopt;
  }
}

// A row of campi: nome, tipo, size, obblig, regola, mess.
EngineStatus fieldFromRow(const Row& row, int ordinalPosition, db::engine::FieldDef& field) {
  const char letter = firstChar(row[1]);
  const auto type = typeOfLetter(letter);
  if (!type)
    return EngineStatus::failure("Il tipo \"" + row[1] + "\" del campo \"" + row[0] +
                                 "\" non è fra quelli previsti (A, B, D, F, I, L, M, N, O).");
  const char obligatory = firstChar(row[3]);
  field = {.name = row[0],
           .type = *type,
           .size = letter == 'A' ? leadingNumber(row[2]).value_or(0) : 0,
           .ordinalPosition = ordinalPosition,
           .required = obligatory == '1',
           .allowZeroLength = letter == 'A' && obligatory == '0',
           .validationRule = row[4],
           .validationText = row[5],
           .defaultValue = {}};
  return EngineStatus::success();
}

// Index fields and relation pairs are stored with their position, 0 to 9;
// the rows may arrive in any order.
template <class Entry>
class PositionedEntries {
 public:
  void put(const std::string& positionText, Entry entry) {
    const auto position = leadingNumber(positionText);
    if (!position || *position < 0 || *position >= Capacity) {
      if (problem_.empty())
        problem_ = "La posizione \"" + positionText + "\" è fuori dall'intervallo da 0 a 9.";
      return;
    }
    entries_[*position] = std::move(entry);
    count_ = std::max(count_, *position + 1);
  }

  // Entries 0 to count - 1; a failure when a position was invalid or left empty.
  EngineStatus collect(std::vector<Entry>& out) const {
    if (!problem_.empty()) return EngineStatus::failure(problem_);
    for (int position = 0; position < count_; ++position) {
      if (!entries_[position])
        return EngineStatus::failure("Manca l'elemento in posizione " + std::to_string(position) +
                                     ".");
      out.push_back(*entries_[position]);
    }
    return EngineStatus::success();
  }

 private:
  static constexpr int Capacity = 10;
  std::array<std::optional<Entry>, Capacity> entries_;
  int count_ = 0;
  std::string problem_;
};

class TableMessages {
 public:
  TableMessages(ui::Prompter& prompter, const std::string& table)
      : prompter_(prompter), caption_("Creazione Tavola \"" + table + "\"") {}
  void operator()(const std::string& sentence, const EngineStatus& status) const {
    prompter_.message(sentence + "\n\n" + status.text, ui::Icon::Exclamation, ui::Buttons::Ok,
                      caption_);
  }

 private:
  ui::Prompter& prompter_;
  std::string caption_;
};

bool createFields(const TableMessages& report, db::engine::TableDef& definition,
                  const std::string& table, db::DatabaseConnection& connection) {
  // The fields take their places in the order their rows were written, which
  // is the order of the schema; left to itself the engine would follow the
  // index on (tavola, nome) and put them in name order.
  int ordinalPosition = 1;
  for (const Row& row :
       readRows(connection, "nome, tipo, size, obblig, regola, mess", "campi",
                "tavola = " + quoted(table), connection.EngineDatabase()->insertionOrder())) {
    db::engine::FieldDef field;
    EngineStatus status = fieldFromRow(row, ordinalPosition++, field);
    if (status) status = definition.createField(field);
    if (!status) {
      report("Errore in fase di inserimento campo \"" + row[0] + "\"", status);
      return false;
    }
  }
  return true;
}

// A row of indici: nome, primkey; its fields come from indici2.
EngineStatus indexFromDictionary(db::DatabaseConnection& connection, const std::string& table,
                                 const Row& indexRow, db::engine::IndexDef& index) {
  PositionedEntries<db::engine::IndexField> fields;
  for (const Row& row :
       readRows(connection, "campo, progr", "indici2",
                "tavola = " + quoted(table) + " AND nome = " + quoted(indexRow[0])))
    fields.put(row[1], {.name = row[0], .descending = false});
  const bool primary = firstChar(indexRow[1]) == '1';
  index = {.name = indexRow[0],
           .fields = {},
           .primary = primary,
           .unique = primary,
           .clustered = true,
           .ignoreNulls = true,
           .required = false};
  return fields.collect(index.fields);
}

bool createIndexes(const TableMessages& report, db::engine::TableDef& definition,
                   const std::string& table, db::DatabaseConnection& connection) {
  bool ok = true;
  for (const Row& row :
       readRows(connection, "nome, primkey", "indici", "tavola = " + quoted(table))) {
    db::engine::IndexDef index;
    EngineStatus status = indexFromDictionary(connection, table, row, index);
    if (status) status = definition.createIndex(index);
    if (!status) {
      report("Tavola \"" + table + "\": errore creazione indice \"" + row[0] + "\"", status);
      ok = false;
    }
  }
  return ok;
}

// A row of relaz: nome, interna, esterna; its pairs come from relaz2.
EngineStatus relationFromDictionary(db::DatabaseConnection& connection, const Row& relationRow,
                                    db::engine::RelationDef& relation) {
  PositionedEntries<db::engine::RelationFieldPair> pairs;
  for (const Row& row : readRows(connection, "progr, interno, esterno", "relaz2",
                                 "nome = " + quoted(relationRow[0])))
    pairs.put(row[0], {.field = row[1], .foreignField = row[2]});
  relation = {.name = relationRow[0],
              .table = relationRow[1],
              .foreignTable = relationRow[2],
              .attributes = 0,
              .fields = {}};
  return pairs.collect(relation.fields);
}

}  // namespace

bool CreateTablesFromDictionary(ui::Prompter& prompter, db::DatabaseConnection& connection,
                                db::engine::EngineDatabase& database) {
  prompter.beginBusy(false);
  for (const Row& row : readRows(connection, "nome", "tavole", {}, "nome"))
    if (!CreateTableFromDictionary(prompter, row[0], connection, database)) return false;
  return true;
}

bool CreateTableFromDictionary(ui::Prompter& prompter, const std::string& table,
                               db::DatabaseConnection& connection,
                               db::engine::EngineDatabase& database) {
  const TableMessages report(prompter, table);
  auto definition = database.createTableDef(table);
  if (!createFields(report, *definition, table, connection)) return false;
  bool ok = true;
  if (const EngineStatus status = definition->append(); !status) {
    report("Errore in fase di inserimento tavola \"" + table + "\"", status);
    ok = false;
  }
  // A table that could not be appended still gets its indexes attempted.
  return createIndexes(report, *definition, table, connection) && ok;
}

bool CreateRelationsFromDictionary(ui::Prompter& prompter, db::DatabaseConnection& connection,
                                   db::engine::EngineDatabase& database) {
  bool ok = true;
  for (const Row& row : readRows(connection, "nome, interna, esterna", "relaz")) {
    db::engine::RelationDef relation;
    EngineStatus status = relationFromDictionary(connection, row, relation);
    if (status) status = database.createRelation(relation);
    if (!status) {
      prompter.message("Errore creazione relazione \"" + row[0] + "\"\n\n" + status.text,
                       ui::Icon::Exclamation, ui::Buttons::Ok, "Creazione relazioni");
      ok = false;
    }
  }
  return ok;
}

}  // namespace veltra::schema
