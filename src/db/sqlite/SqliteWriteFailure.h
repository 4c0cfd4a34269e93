#pragma once
// Turns a refused INSERT or UPDATE into a sentence that names the field,
// index or relation at fault. SQLite says which kind of constraint failed
// (its extended result code); the adapter looks at the row to say which one.

#include <vector>

#include "db/FieldValue.h"
#include "db/engine/EngineStatus.h"
#include "db/engine/SchemaTypes.h"

namespace veltra::db::engine {

class SqliteDatabase;

EngineStatus describeWriteFailure(SqliteDatabase& db, const TableInfo& table,
                                  const std::vector<FieldValue>& row, const EngineStatus& failure);

}  // namespace veltra::db::engine
