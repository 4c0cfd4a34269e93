#pragma once
// The sentences the user reads after a server failure, built from the
// SQLSTATE and the names the server gives (never from its message text).

#include <string>

#include "db/engine/EngineStatus.h"
#include "db/engine/SchemaTypes.h"

struct pg_conn;
struct pg_result;

namespace veltra::db::engine {

// The failure of a statement: result may be null when the connection broke.
EngineStatus describeServerFailure(const pg_conn* connection, const pg_result* result);
// A refused write on table, told as the same sentences the file's engine gives.
EngineStatus describeServerWriteFailure(const pg_result* result, const TableInfo& table,
                                        const EngineStatus& failure);
// The SQLSTATE of a failed result, "" for none.
std::string sqlState(const pg_result* result);

}  // namespace veltra::db::engine
