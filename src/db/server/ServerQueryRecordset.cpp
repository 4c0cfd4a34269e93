#include "db/server/ServerQueryRecordset.h"

#include <libpq-fe.h>

#include <utility>

#include "db/CalendarDate.h"
#include "db/FieldValueText.h"
#include "db/engine/SqlDialect.h"
#include "db/server/ServerDatabase.h"
#include "db/server/ServerErrorText.h"
#include "db/server/ServerValues.h"

namespace veltra::db::engine {

ServerQueryRecordset::ServerQueryRecordset(ServerDatabase& db, std::string sql)
    : db_(db), sql_(std::move(sql)) {}

ServerQueryRecordset::~ServerQueryRecordset() {
  discardRest();
}

// The statement runs here, so that a syntax error is reported before any row
// is asked for; the first row gives the columns.
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
  if (!status && recordset->failedState_.starts_with("42")) return nullptr;
  recordset->failure_ = status;
  status = EngineStatus::success();
  return recordset;
}

EngineStatus ServerQueryRecordset::run() {
  discardRest();
  drained_.clear();
  drainFailure_ = EngineStatus::success();
  failedState_.clear();
  if (auto status = db_.startStream(sql_, *this); !status) {
    row_.reset();
    return status;
  }
  streaming_ = true;
  return readRow(row_);
}

EngineStatus ServerQueryRecordset::readRow(ServerResult& row) {
  EngineStatus status;
  row = db_.nextStreamed(status);
  if (row && columnNames_.empty())
    for (int i = 0; i < PQnfields(row.get()); ++i) {
      columnNames_.emplace_back(PQfname(row.get(), i));
      types_.push_back(fieldTypeOfServerType(PQftype(row.get(), i)));
    }
  if (status && row && PQresultStatus(row.get()) == PGRES_SINGLE_TUPLE) return status;
  if (!status) failedState_ = sqlState(row.get());
  streaming_ = false;
  row.reset();
  return status;
}

void ServerQueryRecordset::drain() {
  while (streaming_) {
    ServerResult row;
    const EngineStatus status = readRow(row);
    if (row)
      drained_.push_back(std::move(row));
    else
      drainFailure_ = status;
  }
}

void ServerQueryRecordset::discardRest() {
  for (ServerResult row; streaming_;) static_cast<void>(readRow(row));
}

// The run begun at creation serves the first open; a later one runs the statement again.
EngineStatus ServerQueryRecordset::open() {
  if (!opened_) {
    opened_ = true;
    return failure_;
  }
  return run();
}

EngineStatus ServerQueryRecordset::moveNext() {
  if (atEnd()) return EngineStatus::failure("Nessun record corrente.");
  if (!drained_.empty()) {
    row_ = std::move(drained_.front());
    drained_.pop_front();
    return EngineStatus::success();
  }
  if (streaming_) return readRow(row_);
  row_.reset();
  return std::exchange(drainFailure_, EngineStatus::success());
}

EngineStatus ServerQueryRecordset::getField(int position, FieldValue& out) const {
  if (auto status = readable(position); !status) return status;
  const FieldType type = types_[static_cast<std::size_t>(position)];
  if (isNullAt(row_.get(), 0, position))
    out.setNull(type);
  else
    readServerText(textAt(row_.get(), 0, position), type, out);
  return EngineStatus::success();
}

EngineStatus ServerQueryRecordset::appendText(int position, std::string& out, bool& isText) const {
  isText = false;
  if (auto status = readable(position); !status) return status;
  const FieldType type = types_[static_cast<std::size_t>(position)];
  if (isNullAt(row_.get(), 0, position)) return EngineStatus::success();
  const auto text = textAt(row_.get(), 0, position);
  if (type == FieldType::Date) {
    if (const auto date = parseIsoDate(text)) {
      AppendDateText(date->day, date->month, date->year, out);
      isText = true;
    }
  } else if (type == FieldType::Text || type == FieldType::Memo) {
    out.append(text);
    isText = true;
  }
  return EngineStatus::success();
}

}  // namespace veltra::db::engine
