#include "db/server/ServerTableRecordset.h"

#include <libpq-fe.h>

#include "db/engine/TableDef.h"
#include "db/server/ServerDatabase.h"
#include "db/server/ServerErrorText.h"
#include "db/server/ServerValues.h"
#include "db/server/ServerWriteQueue.h"

namespace veltra::db::engine {

namespace {

constexpr std::string_view WriteSavepoint = "veltra_scrittura";

std::string parameter(size_t number) {
  return "$" + std::to_string(number);
}

std::string columnList(const TableInfo& table) {
  std::string list;
  for (size_t i = 0; i < table.columns.size(); ++i)
    list += (i > 0 ? ", " : "") + quoteIdentifier(table.columns[i].name);
  return list;
}

const std::string& identity() {
  static const std::string quoted = quoteIdentifier(RowIdentityColumn);
  return quoted;
}

std::string seekSql(const TableInfo& table, const IndexInfo& index, size_t keyCount) {
  std::string where, order;
  for (size_t i = 0; i < index.fields.size(); ++i) {
    if (i < keyCount)
      where += (i > 0 ? " AND " : "") + quoteIdentifier(index.fields[i]) + " = " + parameter(i + 1);
    else
      order += (order.empty() ? " ORDER BY " : ", ") + quoteIdentifier(index.fields[i]);
  }
  return "SELECT " + identity() + " FROM " + quoteIdentifier(table.name) + " WHERE " + where +
         order + " LIMIT 1";
}

std::string updateSql(const TableInfo& table, const std::vector<bool>& changed) {
  std::string assignments;
  size_t number = 0;
  for (size_t i = 0; i < table.columns.size(); ++i)
    if (changed[i])
      assignments += (assignments.empty() ? "" : ", ") + quoteIdentifier(table.columns[i].name) +
                     " = " + parameter(++number);
  return "UPDATE " + quoteIdentifier(table.name) + " SET " + assignments + " WHERE " + identity() +
         " = " + parameter(number + 1);
}

}  // namespace

ServerTableRecordset::ServerTableRecordset(ServerDatabase& db, TableInfo table)
    : TableRecordset(std::move(table)), db_(db) {}

void ServerTableRecordset::indexChanged() {}

void ServerTableRecordset::bind(size_t position, const FieldValue& value) {
  parameters_.nulls[position] = value.isNull;
  if (!value.isNull) serverText(value, parameters_.texts[position]);
}

EngineStatus ServerTableRecordset::findRow(std::span<const FieldValue> keys, bool& found,
                                           std::int64_t& rowid) {
  if (const SeekCache* cache = db_.seekCache(table(), currentIndex(), keys.size())) {
    if (const auto row = cache->find(keys); row.known) {
      found = row.rowid.has_value();
      if (found) rowid = *row.rowid;
      return EngineStatus::success();
    }
  }
  EngineStatus status;
  const std::string name =
      db_.preparedStatement(seekSql(table(), currentIndex(), keys.size()), status);
  if (name.empty()) return status;
  parameters_.resize(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) bind(i, keys[i]);
  auto result = db_.runPrepared(name, parameters_, status);
  found = status && rowCount(result.get()) > 0;
  if (found) rowid = std::stoll(std::string(textAt(result.get(), 0, 0)));
  return status;
}

EngineStatus ServerTableRecordset::expectSeeks(std::span<const std::string_view> keys) {
  // None when no index of one field is chosen.
  if (const auto values = expectedKeys(keys); !values.empty())
    db_.expectSeeks(table(), currentIndex(), values);
  return EngineStatus::success();
}

EngineStatus ServerTableRecordset::readRow(std::int64_t rowid, bool& exists) {
  EngineStatus status = db_.identityOf(rowid);
  if (!status) return status;
  const std::string name =
      db_.preparedStatement("SELECT " + columnList(table()) + " FROM " +
                                quoteIdentifier(table().name) + " WHERE " + identity() + " = $1",
                            status);
  if (name.empty()) return status;
  parameters_.resize(1);
  parameters_.texts[0] = std::to_string(rowid);
  auto result = db_.runPrepared(name, parameters_, status);
  exists = status && rowCount(result.get()) > 0;
  if (!exists) return status;
  for (size_t i = 0; i < table().columns.size(); ++i)
    if (FieldValue* slot = storedSlot(i)) {
      const auto column = static_cast<int>(i);
      if (isNullAt(result.get(), 0, column))
        slot->setNull(table().columns[i].type);
      else
        readServerText(textAt(result.get(), 0, column), table().columns[i].type, *slot);
    }
  return status;
}

EngineStatus ServerTableRecordset::writeRow(bool adding, std::int64_t& rowid) {
  EngineStatus status;
  if (!adding)
    if (status = db_.identityOf(rowid); !status) return status;
  if (adding && insertSql_.empty()) insertSql_ = insertSql(table());
  const std::string name =
      db_.preparedStatement(adding ? insertSql_ : updateSql(table(), assigned()), status);
  if (name.empty()) return status;
  size_t count = adding ? 0 : 1;
  for (size_t i = 0; i < table().columns.size(); ++i) count += writes(i) ? 1 : 0;
  parameters_.resize(count);
  size_t number = 0;
  for (size_t i = 0; i < table().columns.size(); ++i)
    if (writes(i)) bind(number++, written(i));
  if (!adding) parameters_.texts[number] = std::to_string(rowid);
  if (ServerWriteQueue* writes = db_.deferredWrites()) return deferWrite(*writes, name, rowid);
  auto result = runWrite(name, status);
  if (!status) return describeServerWriteFailure(result.get(), table(), status);
  if (adding) rowid = std::stoll(std::string(textAt(result.get(), 0, 0)));
  return status;
}

// The write is only queued: its answer, read with many others, can spoil the
// whole attempt, not refuse this row alone.
EngineStatus ServerTableRecordset::deferWrite(ServerWriteQueue& writes, const std::string& name,
                                              std::int64_t& rowid) {
  SeekCaches& caches = db_.seekCaches();
  if (mode() == Mode::Adding) {
    const KeyPart valueAt = [this](size_t column) -> const FieldValue& { return written(column); };
    rowid = writes.queueInsert(table(), name, parameters_, valueAt);
    if (!writes.spoiled()) caches.noteInsert(table(), rowid, valueAt);
  } else {
    writes.queueUpdate(table(), name, parameters_, assigned(), rowid);
    caches.noteUpdate(table(), assigned());
  }
  return writes.full() ? db_.sendDeferred(false) : EngineStatus::success();
}

// The server aborts the whole transaction at the first refused statement;
// the savepoint keeps the refusal to this one write, as on the file.
ServerResult ServerTableRecordset::runWrite(const std::string& name, EngineStatus& status) {
  if (!db_.inTransaction()) return db_.runPrepared(name, parameters_, status);
  auto result = db_.runPreparedInSavepoint(std::string(WriteSavepoint), name, parameters_, status);
  if (!status && db_.inTransaction())
    static_cast<void>(db_.execute("ROLLBACK TO SAVEPOINT " + std::string(WriteSavepoint) +
                                  "; RELEASE SAVEPOINT " + std::string(WriteSavepoint)));
  return result;
}

// The statements belong to the session, for the next cursor of the same kind.
void ServerTableRecordset::releaseStatements() {}

}  // namespace veltra::db::engine
