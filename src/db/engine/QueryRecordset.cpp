#include "db/engine/QueryRecordset.h"

#include "db/engine/EngineDatabase.h"
#include "db/engine/SchemaTypes.h"
#include "db/engine/SqlDialect.h"
#include "db/engine/Statement.h"

namespace veltra::db::engine {

QueryRecordset::QueryRecordset(EngineDatabase& db, std::unique_ptr<Statement> stmt)
    : db_(db), stmt_(std::move(stmt)) {}

QueryRecordset::~QueryRecordset() = default;

std::unique_ptr<QueryRecordset> QueryRecordset::create(EngineDatabase& db, const std::string& jetSql,
                                                       EngineStatus& status) {
  std::string problem;
  const auto sql = translateDialect(jetSql, problem);
  if (!sql) {
    status = EngineStatus::failure(problem);
    return nullptr;
  }
  auto stmt = std::make_unique<Statement>(db.handle(), *sql, status);
  if (!status) return nullptr;
  return std::unique_ptr<QueryRecordset>(new QueryRecordset(db, std::move(stmt)));
}

EngineStatus QueryRecordset::step() {
  EngineStatus status;
  atEnd_ = !stmt_->step(status);
  return status;
}

EngineStatus QueryRecordset::open() { return step(); }

EngineStatus QueryRecordset::moveNext() {
  if (atEnd_) return EngineStatus::failure("Nessun record corrente.");
  return step();
}

int QueryRecordset::columnCount() const { return stmt_->columnCount(); }

EngineStatus QueryRecordset::getField(std::string_view name, FieldValue& out) const {
  for (int i = 0; i < stmt_->columnCount(); ++i)
    if (sameName(stmt_->columnName(i), name)) return getField(i, out);
  return EngineStatus::failure("Il campo \"" + std::string(name) + "\" non è fra le colonne della select.");
}

EngineStatus QueryRecordset::getField(int position, FieldValue& out) const {
  if (atEnd_) return EngineStatus::failure("Nessun record corrente.");
  if (position < 0 || position >= stmt_->columnCount())
    return EngineStatus::failure("La select non ha la colonna " + std::to_string(position) + ".");
  out = stmt_->columnValue(position);
  return EngineStatus::success();
}

}  // namespace veltra::db::engine
