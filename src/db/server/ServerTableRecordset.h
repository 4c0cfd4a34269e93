#pragma once
// The table recordset on the server: statements prepared once per session,
// rows known by the hidden identity column, each write inside bulk work
// wrapped in its own savepoint.

#include <string>
#include <vector>

#include "db/engine/TableRecordset.h"
#include "db/server/ServerConnection.h"

namespace veltra::db::engine {

class ServerDatabase;
class ServerWriteQueue;

class ServerTableRecordset final : public TableRecordset {
 public:
  ServerTableRecordset(ServerDatabase& db, TableInfo table);
  EngineStatus expectSeeks(std::span<const std::string_view> keys) override;

 private:
  void indexChanged() override;
  EngineStatus findRow(std::span<const FieldValue> keys, bool& found, std::int64_t& rowid) override;
  EngineStatus readRow(std::int64_t rowid, bool& exists) override;
  EngineStatus writeRow(bool adding, std::int64_t& rowid) override;
  void releaseStatements() override;

  void bind(size_t position, const FieldValue& value);
  EngineStatus deferWrite(ServerWriteQueue& writes, const std::string& name, std::int64_t& rowid);
  // Runs a prepared write; inside a transaction a refused write undoes only itself.
  ServerResult runWrite(const std::string& name, EngineStatus& status);

  ServerDatabase& db_;
  ServerParameters parameters_;
  std::string insertSql_;  // made once: a bulk writer inserts many rows
};

}  // namespace veltra::db::engine
