#include "db/engine/QueryRecordset.h"

#include "db/engine/DeclaredTypes.h"
#include "db/engine/EngineDatabase.h"
#include "db/engine/SchemaTypes.h"
#include "db/engine/SqlDialect.h"
#include "db/engine/Statement.h"

namespace veltra::db::engine {

QueryRecordset::QueryRecordset(EngineDatabase& db, std::unique_ptr<Statement> stmt)
    : db_(db), stmt_(std::move(stmt)) {
  for (int i = 0; i < stmt_->columnCount(); ++i) {
    columnNames_.push_back(stmt_->columnName(i));
    const char* declared = stmt_->declaredType(i);
    const auto parsed = declared != nullptr ? parseDeclaredType(declared) : std::nullopt;
    declaredTypes_.push_back(parsed ? std::optional(parsed->type) : std::nullopt);
  }
}

QueryRecordset::~QueryRecordset() = default;

std::unique_ptr<QueryRecordset> QueryRecordset::create(EngineDatabase& db,
                                                       const std::string& jetSql,
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

EngineStatus QueryRecordset::open() {
  return step();
}

EngineStatus QueryRecordset::moveNext() {
  if (atEnd_) return EngineStatus::failure("Nessun record corrente.");
  return step();
}

int QueryRecordset::columnCount() const {
  return static_cast<int>(columnNames_.size());
}

EngineStatus QueryRecordset::getField(std::string_view name, FieldValue& out) const {
  for (std::size_t i = 0; i < columnNames_.size(); ++i)
    if (EqualsIgnoringCase(columnNames_[i], name)) return getField(static_cast<int>(i), out);
  return EngineStatus::failure("Il campo \"" + std::string(name) +
                               "\" non è fra le colonne della select.");
}

EngineStatus QueryRecordset::readable(int position) const {
  if (atEnd_) return EngineStatus::failure("Nessun record corrente.");
  if (position < 0 || position >= columnCount())
    return EngineStatus::failure("La select non ha la colonna " + std::to_string(position) + ".");
  return EngineStatus::success();
}

EngineStatus QueryRecordset::getField(int position, FieldValue& out) const {
  if (auto status = readable(position); !status) return status;
  const auto& declared = declaredTypes_[static_cast<std::size_t>(position)];
  if (declared)
    stmt_->readColumn(position, *declared, out);
  else
    out = stmt_->columnValue(position);
  return EngineStatus::success();
}

EngineStatus QueryRecordset::getText(int position, std::string& out, bool& isText) const {
  isText = false;
  if (auto status = readable(position); !status) return status;
  const auto& declared = declaredTypes_[static_cast<std::size_t>(position)];
  // An expression is typed by what it holds, as getField types it: a text
  // that reads as a stored date is a date.
  isText = declared ? stmt_->readText(position, *declared, out)
                    : stmt_->holdsText(position) && stmt_->readText(position, FieldType::Date, out);
  if (!isText) out.clear();
  return EngineStatus::success();
}

}  // namespace veltra::db::engine
