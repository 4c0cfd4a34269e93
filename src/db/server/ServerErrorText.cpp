#include "db/server/ServerErrorText.h"

#include <libpq-fe.h>

#include "db/PlainText.h"

namespace veltra::db::engine {

namespace {

std::string field(const pg_result* result, int code) {
  const char* text = result != nullptr ? PQresultErrorField(result, code) : nullptr;
  return text != nullptr ? text : "";
}

struct ClassSentence {
  std::string_view stateClass;  // the first two characters of the SQLSTATE
  FailureKind kind;
  std::string_view sentence;
};

constexpr ClassSentence Classes[] = {
    {"08", FailureKind::ConnectionLost, "La connessione al server del database si è interrotta"},
    {"57", FailureKind::ConnectionLost, "Il server del database ha interrotto il lavoro"},
    {"53", FailureKind::DiskFull, "Il server del database non ha più spazio o memoria"},
    {"58", FailureKind::Io, "Errore di lettura o scrittura sul server del database"},
    {"XX", FailureKind::Io, "Il server del database ha trovato dati danneggiati"},
    {"40", FailureKind::Busy, "Il database è bloccato da un altro utente o programma"},
    {"55", FailureKind::Busy, "Il database è bloccato da un altro utente o programma"},
    {"28", FailureKind::Other, "Accesso al server del database negato"},
    {"42501", FailureKind::Other,
     "L'utente del server non ha il permesso di modificare il registro: può solo consultarlo"},
    {"42", FailureKind::Other, "Istruzione SQL non valida o oggetto inesistente"},
    {"22", FailureKind::Constraint, "Un valore non è ammesso dal server del database"},
    {"23", FailureKind::Constraint, "Dati non ammessi dalla tavola"},
    {"25", FailureKind::Other, "La transazione sul server del database è già stata annullata"},
};

std::string fieldName(const TableInfo& table, const std::string& column) {
  return "\"" + table.name + "." + column + "\"";
}

// The column a check is named after: ck_<column>_<rule>.
std::string checkedColumn(const std::string& constraint, std::string_view rule) {
  if (!constraint.starts_with("ck_") || !constraint.ends_with(rule)) return {};
  return constraint.substr(3, constraint.size() - 3 - rule.size());
}

EngineStatus checkFailure(const TableInfo& table, const std::string& constraint,
                          const EngineStatus& failure) {
  if (const auto column = checkedColumn(constraint, "_vuoto"); !column.empty())
    return EngineStatus::failure(
        "Il campo " + fieldName(table, column) + " non può essere una stringa di lunghezza zero.",
        failure.code, FailureKind::Constraint);
  return EngineStatus::failure(
      "Un valore non è ammesso nella tavola \"" + table.name + "\" (regola " + constraint + ").",
      failure.code, FailureKind::Constraint);
}

EngineStatus uniqueFailure(const TableInfo& table, const std::string& constraint,
                           const EngineStatus& failure) {
  for (const auto& index : table.indexes)
    if (EqualsIgnoringCase(index.physicalName, constraint))
      return EngineStatus::failure(
          "Il record non è stato salvato perché creerebbe un valore duplicato nell'indice \"" +
              index.name + "\" della tavola \"" + table.name + "\", che non ammette duplicati.",
          failure.code, FailureKind::Constraint);
  return failure;
}

EngineStatus foreignKeyFailure(const TableInfo& table, const std::string& constraint,
                               const EngineStatus& failure) {
  for (const auto& relation : table.relations)
    if (EqualsIgnoringCase(relation.name, constraint))
      return EngineStatus::failure(
          "Il record non può essere aggiunto o modificato: la relazione \"" + relation.name +
              "\" richiede un record corrispondente nella tavola \"" + relation.table + "\".",
          failure.code, FailureKind::Constraint);
  return EngineStatus::failure(
      "Il record non può essere modificato: altri record collegati della tavola \"" + table.name +
          "\" ne dipendono.",
      failure.code, FailureKind::Constraint);
}

}  // namespace

std::string sqlState(const pg_result* result) {
  return field(result, PG_DIAG_SQLSTATE);
}

EngineStatus describeServerFailure(const pg_conn* connection, const pg_result* result) {
  const std::string state = sqlState(result);
  if (state.empty() || PQstatus(connection) != CONNECTION_OK)
    return EngineStatus::failure(
        "La connessione al server del database si è interrotta: l'operazione non è stata "
        "completata.",
        0, FailureKind::ConnectionLost);
  std::string names;
  for (const int code : {PG_DIAG_TABLE_NAME, PG_DIAG_COLUMN_NAME, PG_DIAG_CONSTRAINT_NAME})
    if (const auto name = field(result, code); !name.empty())
      names += (names.empty() ? "" : ", ") + ("\"" + name + "\"");
  const std::string detail = " (SQLSTATE " + state + (names.empty() ? "" : "; " + names) + ").";
  for (const auto& entry : Classes)
    if (state.starts_with(entry.stateClass))
      return EngineStatus::failure(std::string(entry.sentence) + detail, 0, entry.kind);
  return EngineStatus::failure("Il server del database ha rifiutato l'operazione" + detail, 0,
                               FailureKind::Other);
}

EngineStatus describeServerWriteFailure(const pg_result* result, const TableInfo& table,
                                        const EngineStatus& failure) {
  const std::string state = sqlState(result);
  const std::string constraint = field(result, PG_DIAG_CONSTRAINT_NAME);
  if (state == "23502")
    return EngineStatus::failure("Il campo " +
                                     fieldName(table, field(result, PG_DIAG_COLUMN_NAME)) +
                                     " non può contenere un valore nullo: è obbligatorio.",
                                 failure.code, FailureKind::Constraint);
  if (state == "23514") return checkFailure(table, constraint, failure);
  if (state == "23505") return uniqueFailure(table, constraint, failure);
  if (state == "23503") return foreignKeyFailure(table, constraint, failure);
  return failure;
}

}  // namespace veltra::db::engine
