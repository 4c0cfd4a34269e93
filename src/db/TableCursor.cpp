#include "db/TableCursor.h"

#include <array>
#include <numeric>
#include <span>
#include <vector>

#include "db/DatabaseConnection.h"
#include "db/FieldValueText.h"
#include "db/engine/EngineDatabase.h"
#include "db/engine/TableRecordset.h"

namespace veltra::db {

namespace {
std::string_view storedSentinel(std::string_view value) {
  if (value == NoDate) return NoDateStored;
  if (value == EndOfTime) return EndOfTimeStored;
  return value;
}
}  // namespace

TableCursor::TableCursor(DatabaseConnection* connection, const std::string& tableName)
    : connection_(connection) {
  if (connection_ == nullptr || !connection_->IsOpen()) return;
  if (!tableName.empty()) tableName_ = tableName;
  engine::EngineDatabase& db = *connection_->EngineDatabase();
  engine::TableInfo table;
  engine::EngineStatus status = db.loadTable(tableName, table);
  if (!status) {
    report("Errore in fase di apertura della tavola (" + tableName + ")", status.text);
    return;
  }
  recordset_ = db.openTable(table, status);
  if (!status) {
    connection_->Prompter().message(status.text, ui::Icon::Stop);
    return;
  }
  open_ = true;
}

TableCursor::~TableCursor() {
  if (open_ && connection_ != nullptr && connection_->IsOpen()) {
    const engine::EngineStatus status = recordset_->close();
    if (!status) report("Errore in chiusura del recordset (" + tableName() + ")", status.text);
  }
  recordset_.reset();
  open_ = false;
  valueBuffer_ = FieldValue{};
}

bool TableCursor::report(std::string_view sentence, const std::string& engineText) {
  connection_->Prompter().message(std::string(sentence) + "\n\n" + engineText, ui::Icon::Stop);
  return false;
}

bool TableCursor::report(std::string_view sentence, const engine::EngineStatus& status) {
  if (status.kind == engine::FailureKind::WorkEnded) return false;
  return report(sentence, status.text);
}

bool TableCursor::SelectIndex(const std::string& indexName) {
  if (!open_) return false;
  const engine::EngineStatus status = recordset_->setIndex(indexName);
  if (!status)
    return report("Errore selezione indice (" + indexName + ") tavola (" + tableName() + ")",
                  status.text);
  return true;
}

bool TableCursor::Seek(std::span<const std::string> keys) {
  if (!open_) return false;
  if (keys.empty() || keys.size() > MaxSeekKeys)
    return report("Errore lettura tavola (" + tableName() + ")",
                  "La ricerca vuole da 1 a " + std::to_string(MaxSeekKeys) + " chiavi.");
  // Keys name the sentinel dates as the program writes them, like SetField values.
  std::array<std::string_view, MaxSeekKeys> values;
  for (std::size_t i = 0; i < keys.size(); ++i) values[i] = storedSentinel(keys[i]);
  bool found = false;
  const engine::EngineStatus status =
      recordset_->seek(std::span(values.data(), keys.size()), found);
  if (!status) return report("Errore lettura tavola (" + tableName() + ")", status);
  return found;
}

void TableCursor::ExpectSeeks(std::span<const std::string_view> keys) {
  if (!open_) return;
  std::vector<std::string_view> values(keys.begin(), keys.end());
  for (std::string_view& value : values) value = storedSentinel(value);
  static_cast<void>(recordset_->expectSeeks(values));
}

bool TableCursor::Edit() {
  if (!open_) return false;
  const engine::EngineStatus status = recordset_->edit();
  if (!status) return report("Errore editing tavola (" + tableName() + ")", status.text);
  return true;
}

bool TableCursor::AddNew() {
  if (!open_) return false;
  const engine::EngineStatus status = recordset_->addNew();
  if (!status) return report("Errore inserimento tavola (" + tableName() + ")", status.text);
  return true;
}

bool TableCursor::Update() {
  if (!open_) return false;
  // Bulk writes hold the thread that paints the busy indicator.
  connection_->Prompter().keepResponsive();
  const engine::EngineStatus status = recordset_->update();
  if (!status) return report("Errore aggiornamento tavola (" + tableName() + ")", status);
  return true;
}

bool TableCursor::reportField(const std::string& fieldName, std::string_view value,
                              const std::string& engineText) {
  const std::string shown = value.empty() ? "NULL" : std::string(value);
  return report(
      "Errore campo (" + fieldName + ") della tavola (" + tableName() + ") <" + shown + ">",
      engineText);
}

bool TableCursor::SetField(const std::string& fieldName, std::string_view value) {
  if (!open_) return false;
  int position = 0;
  if (const engine::EngineStatus status = recordset_->columnOf(fieldName, position); !status)
    return reportField(fieldName, value, status.text);
  return SetField(position, value);
}

int TableCursor::FieldPosition(const std::string& fieldName) {
  if (!open_) return -1;
  int position = 0;
  const engine::EngineStatus status = recordset_->columnOf(fieldName, position);
  if (status) return position;
  report("Errore campo (" + fieldName + ") della tavola (" + tableName() + ")", status.text);
  return -1;
}

bool TableCursor::SetField(int position, std::string_view value) {
  if (!open_ || position < 0) return false;
  const engine::EngineStatus status =
      value.empty() ? recordset_->setFieldNull(position)
                    : recordset_->setFieldText(position, storedSentinel(value));
  return status || fieldRefused(position, value, status.text);
}

bool TableCursor::SetWholeNumber(int position, std::int64_t value) {
  if (!open_ || position < 0) return false;
  const engine::EngineStatus status = recordset_->setFieldInteger(position, value);
  return status || fieldRefused(position, std::to_string(value), status.text);
}

bool TableCursor::SetNumber(int position, double value) {
  if (!open_ || position < 0) return false;
  const engine::EngineStatus status = recordset_->setFieldReal(position, value);
  return status || fieldRefused(position, PlainNumberText(value), status.text);
}

void TableCursor::CopyGivenFields(std::span<const std::pair<int, int>> pairs,
                                  const TableCursor& source, std::vector<std::size_t>& notTaken) {
  if (open_ && source.open_) {
    recordset_->copyGiven(pairs, *source.recordset_, notTaken);
    return;
  }
  notTaken.resize(pairs.size());
  std::iota(notTaken.begin(), notTaken.end(), std::size_t{0});
}

bool TableCursor::fieldRefused(int position, std::string_view shown,
                               const std::string& engineText) {
  return reportField(recordset_->columnName(position), shown, engineText);
}

bool TableCursor::GetField(const std::string& fieldName, std::string& out) {
  if (!open_) return false;
  int position = 0;
  engine::EngineStatus status = recordset_->columnOf(fieldName, position);
  if (status) status = recordset_->getField(position, valueBuffer_);
  if (!status)
    return report("Errore campo (" + fieldName + ") della tavola (" + tableName() + ")",
                  status.text);
  FieldValueToText(valueBuffer_, out);
  valueBuffer_ = FieldValue{};
  return true;
}

}  // namespace veltra::db
