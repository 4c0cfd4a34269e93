#pragma once
// A query recordset on the server: the statement translated to the server's
// dialect and run whole, so that one query reads one consistent state and
// other statements can run on the connection while its rows are read.

#include <memory>
#include <string>
#include <vector>

#include "db/engine/QueryRecordset.h"
#include "db/server/ServerConnection.h"

namespace veltra::db::engine {

class ServerDatabase;

class ServerQueryRecordset final : public QueryRecordset {
 public:
  static std::unique_ptr<ServerQueryRecordset> create(ServerDatabase& db, const std::string& jetSql,
                                                      EngineStatus& status);

  EngineStatus open() override;
  EngineStatus moveNext() override;
  bool atEnd() const override { return row_ >= rows_; }

  int columnCount() const override { return static_cast<int>(columnNames_.size()); }
  const std::string& columnName(int position) const override {
    return columnNames_[static_cast<std::size_t>(position)];
  }
  EngineStatus getField(int position, FieldValue& out) const override;
  using QueryRecordset::getField;
  EngineStatus getText(int position, std::string& out, bool& isText) const override;

 private:
  ServerQueryRecordset(ServerDatabase& db, std::string sql);
  EngineStatus run();

  ServerDatabase& db_;
  std::string sql_;
  ServerResult result_;
  int rows_ = 0;
  int row_ = 0;
  bool opened_ = false;
  EngineStatus failure_;  // of the first run, told by the first open
  std::vector<std::string> columnNames_;
  std::vector<FieldType> types_;
};

}  // namespace veltra::db::engine
