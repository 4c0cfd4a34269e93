#pragma once
// A forward-only recordset over one statement of the engine's SQL dialect.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/FieldValue.h"
#include "db/engine/EngineStatus.h"

namespace veltra::db::engine {

class EngineDatabase;
class Statement;

class QueryRecordset {
 public:
  // Translates and prepares the statement: a syntax error is reported here.
  static std::unique_ptr<QueryRecordset> create(EngineDatabase& db, const std::string& jetSql,
                                                EngineStatus& status);
  ~QueryRecordset();

  // Runs the statement up to its first row.
  EngineStatus open();
  EngineStatus moveNext();
  bool atEnd() const { return atEnd_; }

  int columnCount() const;
  EngineStatus getField(std::string_view name, FieldValue& out) const;
  EngineStatus getField(int position, FieldValue& out) const;
  // A text or date column as text ("GG/MM/AAAA" for a date) into out, whose
  // room serves row after row: exports read every column of many thousands
  // of rows. isText is false, and out empty, for a null or another type.
  EngineStatus getText(int position, std::string& out, bool& isText) const;

 private:
  explicit QueryRecordset(EngineDatabase& db, std::unique_ptr<Statement> stmt);
  EngineStatus step();
  EngineStatus readable(int position) const;

  EngineDatabase& db_;
  std::unique_ptr<Statement> stmt_;
  bool atEnd_ = true;
  // Read once: exports fetch every column of hundreds of thousands of rows.
  std::vector<std::string> columnNames_;
  std::vector<std::optional<FieldType>> declaredTypes_;  // none for an expression
};

}  // namespace veltra::db::engine
