#include "db/server/ServerQueryRecordset.h"

#include <libpq-fe.h>

#include "db/CalendarDate.h"
#include "db/FieldValueText.h"
#include "db/engine/SqlDialect.h"
#include "db/server/ServerDatabase.h"
#include "db/server/ServerErrorText.h"
#include "db/server/ServerValues.h"

namespace veltra::db::engine {

ServerQueryRecordset::ServerQueryRecordset(ServerDatabase& db, std::string sql)
    : db_(db), sql_(std::move(sql)) {}

// The statement runs here, so that a syntax error is reported before any row
// is asked for, and one round trip gives the columns and the rows.
std::unique_ptr<ServerQueryRecordset> ServerQueryRecordset::create(ServerDatabase& db,
                                                                   const std::string& jetSql,
                                                                   EngineStatus& status) {
  std::string problem;
  const auto sql = translateDialect(jetSql, problem, Dialect::Server);
  if (!sql) {
    status = EngineStatus::failure(problem);
    return nullptr;
  }
  if (sql->find_first_not_of(" \t\r\n;") == std::string::npos) {
    status = EngineStatus::failure("L'istruzione SQL è vuota.");
    return nullptr;
  }
  std::unique_ptr<ServerQueryRecordset> recordset(new ServerQueryRecordset(db, *sql));
  status = recordset->run();
  // A statement the server could not read is refused here; one that failed
  // while making its rows fails when the rows are asked for, as on the file.
  if (!status && sqlState(recordset->result_.get()).starts_with("42")) return nullptr;
  recordset->failure_ = status;
  status = EngineStatus::success();
  for (int i = 0; i < PQnfields(recordset->result_.get()); ++i) {
    recordset->columnNames_.emplace_back(PQfname(recordset->result_.get(), i));
    recordset->types_.push_back(fieldTypeOfServerType(PQftype(recordset->result_.get(), i)));
  }
  return recordset;
}

EngineStatus ServerQueryRecordset::run() {
  EngineStatus status;
  result_ = db_.run(sql_, status);
  rows_ = status ? rowCount(result_.get()) : 0;
  row_ = 0;
  return status;
}

// The rows fetched at creation serve the first open; a later one reads them again.
EngineStatus ServerQueryRecordset::open() {
  if (!opened_) {
    opened_ = true;
    row_ = 0;
    return failure_;
  }
  return run();
}

EngineStatus ServerQueryRecordset::moveNext() {
  if (atEnd()) return EngineStatus::failure("Nessun record corrente.");
  ++row_;
  return EngineStatus::success();
}

EngineStatus ServerQueryRecordset::getField(int position, FieldValue& out) const {
  if (auto status = readable(position); !status) return status;
  const FieldType type = types_[static_cast<std::size_t>(position)];
  if (isNullAt(result_.get(), row_, position))
    out.setNull(type);
  else
    readServerText(textAt(result_.get(), row_, position), type, out);
  return EngineStatus::success();
}

EngineStatus ServerQueryRecordset::getText(int position, std::string& out, bool& isText) const {
  isText = false;
  out.clear();
  if (auto status = readable(position); !status) return status;
  const FieldType type = types_[static_cast<std::size_t>(position)];
  if (isNullAt(result_.get(), row_, position)) return EngineStatus::success();
  const auto text = textAt(result_.get(), row_, position);
  if (type == FieldType::Date) {
    if (const auto date = parseIsoDate(text)) {
      out = DateText(date->day, date->month, date->year);
      isText = true;
    }
  } else if (type == FieldType::Text || type == FieldType::Memo) {
    out.assign(text);
    isText = true;
  }
  return EngineStatus::success();
}

}  // namespace veltra::db::engine
