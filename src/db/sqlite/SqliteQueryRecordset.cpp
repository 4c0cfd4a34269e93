#include "db/sqlite/SqliteQueryRecordset.h"

#include "db/engine/DeclaredTypes.h"
#include "db/engine/SchemaTypes.h"
#include "db/engine/SqlDialect.h"
#include "db/sqlite/SqliteDatabase.h"
#include "db/sqlite/SqliteStatement.h"

namespace veltra::db::engine {

SqliteQueryRecordset::SqliteQueryRecordset(std::unique_ptr<SqliteStatement> stmt)
    : stmt_(std::move(stmt)) {
  for (int i = 0; i < stmt_->columnCount(); ++i) {
    columnNames_.push_back(stmt_->columnName(i));
    const char* declared = stmt_->declaredType(i);
    const auto parsed = declared != nullptr ? parseDeclaredType(declared) : std::nullopt;
    declaredTypes_.push_back(parsed ? std::optional(parsed->type) : std::nullopt);
  }
}

SqliteQueryRecordset::~SqliteQueryRecordset() = default;

std::unique_ptr<SqliteQueryRecordset> SqliteQueryRecordset::create(SqliteDatabase& db,
                                                                   const std::string& jetSql,
                                                                   EngineStatus& status) {
  std::string problem;
  const auto sql = translateDialect(jetSql, problem);
  if (!sql) {
    status = EngineStatus::failure(problem);
    return nullptr;
  }
  auto stmt = std::make_unique<SqliteStatement>(db.handle(), *sql, status);
  if (!status) return nullptr;
  return std::unique_ptr<SqliteQueryRecordset>(new SqliteQueryRecordset(std::move(stmt)));
}

EngineStatus SqliteQueryRecordset::step() {
  EngineStatus status;
  atEnd_ = !stmt_->step(status);
  return status;
}

EngineStatus SqliteQueryRecordset::open() {
  return step();
}

EngineStatus SqliteQueryRecordset::moveNext() {
  if (atEnd_) return EngineStatus::failure("Nessun record corrente.");
  return step();
}

EngineStatus SqliteQueryRecordset::getField(int position, FieldValue& out) const {
  if (auto status = readable(position); !status) return status;
  const auto& declared = declaredTypes_[static_cast<std::size_t>(position)];
  if (declared)
    stmt_->readColumn(position, *declared, out);
  else
    out = stmt_->columnValue(position);
  return EngineStatus::success();
}

EngineStatus SqliteQueryRecordset::appendText(int position, std::string& out, bool& isText) const {
  isText = false;
  if (auto status = readable(position); !status) return status;
  const auto& declared = declaredTypes_[static_cast<std::size_t>(position)];
  // An expression is typed by what it holds, as getField types it: a text
  // that reads as a stored date is a date.
  isText = declared
               ? stmt_->appendText(position, *declared, out)
               : stmt_->holdsText(position) && stmt_->appendText(position, FieldType::Date, out);
  return EngineStatus::success();
}

}  // namespace veltra::db::engine
