#include "db/QueryCursor.h"

#include "db/DatabaseConnection.h"
#include "db/FieldValue.h"
#include "db/FieldValueText.h"
#include "db/engine/EngineDatabase.h"
#include "db/engine/QueryRecordset.h"

namespace veltra::db {

QueryCursor::QueryCursor(DatabaseConnection* connection) : connection_(connection) {}

QueryCursor::~QueryCursor() = default;

bool QueryCursor::setPart(std::optional<std::string>& part, std::string_view text) {
  part.reset();
  if (text.empty()) return false;
  part = std::string(text);
  return true;
}

void QueryCursor::BuildSql() {
  statement_.clear();
  if (!select_ || !from_) return;
  statement_ = "SELECT " + *select_ + "\nFROM " + *from_ + "\n";
  if (where_) statement_ += "WHERE " + *where_ + "\n";
  if (groupBy_) statement_ += "GROUP BY " + *groupBy_ + "\n";
  if (orderBy_) statement_ += "ORDER BY " + *orderBy_ + "\n";
}

bool QueryCursor::Execute() {
  if (connection_ == nullptr || !connection_->IsOpen()) return false;
  BuildSql();
  rowFlag_ = true;
  engine::EngineStatus status;
  // The rows of an earlier run are let go first, not kept while the next runs.
  recordset_.reset();
  recordset_ = connection_->EngineDatabase()->openQuery(statement_, status);
  if (!status) {
    rowFlag_ = false;
    failed_ = true;
    connection_->Prompter().message("Errore sintassi SQL\n\n" + statement_ + "\n\n" + status.text,
                                    ui::Icon::Exclamation);
    return false;
  }
  status = recordset_->open();
  if (!status) {
    rowFlag_ = false;
    failed_ = true;
    connection_->Prompter().message(
        "Errore estrazione Select SQL\n\n" + statement_ + "\n\n" + status.text,
        ui::Icon::Exclamation);
    return false;
  }
  if (recordset_->atEnd()) rowFlag_ = false;
  return rowFlag_;
}

bool QueryCursor::NextRow() {
  if (!rowFlag_) return false;
  // Long walks hold the thread that paints the busy indicator.
  connection_->Prompter().keepResponsive();
  if (!recordset_ || recordset_->atEnd()) return rowFlag_ = false;
  const engine::EngineStatus status = recordset_->moveNext();
  if (!status) {
    rowFlag_ = false;
    failed_ = true;
    connection_->Prompter().message("Errore lettura riga successiva della select corrente\n\n" +
                                        statement_ + "\n\n" + status.text,
                                    ui::Icon::Stop);
  }
  if (rowFlag_ && recordset_->atEnd()) rowFlag_ = false;
  return rowFlag_;
}

void QueryCursor::reportColumnFailure(const std::string& column, const std::string& engineText) {
  failed_ = true;
  connection_->Prompter().message(
      "Errore campo (" + column + ") nella select corrente\n\n" + statement_ + "\n\n" + engineText,
      ui::Icon::Stop);
}

bool QueryCursor::readColumn(int position, FieldValue& out) {
  if (!recordset_) return false;
  const engine::EngineStatus status = recordset_->getField(position, out);
  if (!status) reportColumnFailure("#" + std::to_string(position), status.text);
  return status.ok;
}

bool QueryCursor::GetText(const std::string& fieldName, std::string& out) {
  if (!recordset_) return false;
  FieldValue value;
  const engine::EngineStatus status = recordset_->getField(fieldName, value);
  if (!status) {
    reportColumnFailure(fieldName, status.text);
    return false;
  }
  return FieldValueToText(value, out);
}

bool QueryCursor::GetText(int position, std::string& out) {
  FieldValue value;
  if (!readColumn(position, value)) return false;
  return FieldValueToText(value, out);
}

bool QueryCursor::GetInt(int position, std::int32_t& out) {
  FieldValue value;
  if (!readColumn(position, value)) return false;
  out = 0;
  if (value.isNull) return false;
  switch (value.type) {
    case FieldType::Integer:
    case FieldType::Byte:
      out = static_cast<std::int32_t>(value.integer);
      return true;
    case FieldType::Boolean:
      out = value.integer != 0 ? -1 : 0;
      return true;
    default:
      return false;
  }
}

bool QueryCursor::GetDouble(int position, double& out) {
  FieldValue value;
  if (!readColumn(position, value)) return false;
  out = 0.0;
  if (value.isNull) return false;
  if (value.type == FieldType::Double) {
    out = value.real;
    return true;
  }
  if (value.type == FieldType::Currency) {
    // Exactly, not through a locale's text: a comma locale would drop the decimals.
    out = static_cast<double>(value.integer) / CurrencyScale;
    return true;
  }
  return false;
}

bool QueryCursor::GetString(int position, std::string& out) {
  out.clear();
  return AppendString(position, out);
}

bool QueryCursor::AppendString(int position, std::string& out) {
  if (!recordset_) return false;
  bool isText = false;
  const engine::EngineStatus status = recordset_->appendText(position, out, isText);
  if (!status) reportColumnFailure("#" + std::to_string(position), status.text);
  return isText;
}

}  // namespace veltra::db
