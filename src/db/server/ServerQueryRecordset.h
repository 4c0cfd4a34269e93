#pragma once
// A query recordset on the server: the statement translated to the server's
// dialect, its rows read as the server sends them, one at a time, so that
// memory follows one row and not the whole answer. One statement reads one
// consistent state; another statement sent while its rows are still coming
// first has the rest of them read into memory, so it may run meanwhile.

#include <deque>
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

  ~ServerQueryRecordset() override;

  EngineStatus open() override;
  EngineStatus moveNext() override;
  bool atEnd() const override { return row_ == nullptr; }
  // Reads the rows still to come into memory: the connection is wanted.
  void drain();

  int columnCount() const override { return static_cast<int>(columnNames_.size()); }
  const std::string& columnName(int position) const override {
    return columnNames_[static_cast<std::size_t>(position)];
  }
  EngineStatus getField(int position, FieldValue& out) const override;
  using QueryRecordset::getField;
  EngineStatus appendText(int position, std::string& out, bool& isText) const override;

 private:
  ServerQueryRecordset(ServerDatabase& db, std::string sql);
  // Starts the statement and reads its first row.
  EngineStatus run();
  // The next row from the server into row; null at the end or on a failure.
  EngineStatus readRow(ServerResult& row);
  // The rows of an earlier run still coming: read and dropped.
  void discardRest();

  ServerDatabase& db_;
  std::string sql_;
  ServerResult row_;                  // the current row, alone in its result
  std::deque<ServerResult> drained_;  // the rows after it, read in by drain
  EngineStatus drainFailure_;         // met by drain after them
  bool streaming_ = false;            // rows are still coming from the server
  std::string failedState_;           // the SQLSTATE of the failure that ended the rows
  bool opened_ = false;
  EngineStatus failure_;  // of the first run, told by the first open
  std::vector<std::string> columnNames_;
  std::vector<FieldType> types_;
};

}  // namespace veltra::db::engine
