#pragma once
// A query recordset on SQLite: the statement translated, prepared, stepped forward.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/engine/QueryRecordset.h"

namespace veltra::db::engine {

class SqliteDatabase;
class SqliteStatement;

class SqliteQueryRecordset final : public QueryRecordset {
 public:
  // Translates and prepares the statement: a syntax error is reported here.
  static std::unique_ptr<SqliteQueryRecordset> create(SqliteDatabase& db, const std::string& jetSql,
                                                      EngineStatus& status);
  ~SqliteQueryRecordset() override;

  EngineStatus open() override;
  EngineStatus moveNext() override;
  bool atEnd() const override { return atEnd_; }

  int columnCount() const override { return static_cast<int>(columnNames_.size()); }
  const std::string& columnName(int position) const override {
    return columnNames_[static_cast<std::size_t>(position)];
  }
  EngineStatus getField(int position, FieldValue& out) const override;
  using QueryRecordset::getField;
  EngineStatus appendText(int position, std::string& out, bool& isText) const override;

 private:
  explicit SqliteQueryRecordset(std::unique_ptr<SqliteStatement> stmt);
  EngineStatus step();

  std::unique_ptr<SqliteStatement> stmt_;
  bool atEnd_ = true;
  // Read once: exports fetch every column of hundreds of thousands of rows.
  std::vector<std::string> columnNames_;
  std::vector<std::optional<FieldType>> declaredTypes_;  // none for an expression
};

}  // namespace veltra::db::engine
