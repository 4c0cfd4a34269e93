#include "db/sqlite/SqliteErrorText.h"

#include <sqlite3.h>

#include "db/platform/Files.h"

namespace veltra::db::engine {

std::string withSystemReason(std::string sentence, const std::string& path) {
  const std::string reason = platform::WhyFileRefused(path);
  return reason.empty() ? sentence : sentence + " " + reason;
}

EngineStatus describeOpenFailure(const std::string& path, int code,
                                 std::string_view engineMessage) {
  if ((code & 0xff) == SQLITE_CANTOPEN)
    return EngineStatus::failure(withSystemReason("Impossibile aprire il file \"" + path + "\" (" +
                                                      std::string(engineMessage) + ").",
                                                  path),
                                 code);
  return describeEngineFailure(code, engineMessage);
}

namespace {

FailureKind kindOf(int code) {
  switch (code & 0xff) {
    case SQLITE_CONSTRAINT:
      return FailureKind::Constraint;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return FailureKind::Busy;
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
      return FailureKind::Io;
    case SQLITE_FULL:
      return FailureKind::DiskFull;
    case SQLITE_NOTADB:
      return FailureKind::NotADatabase;
    default:
      return FailureKind::Other;
  }
}

// A file deleted or moved away while open is told as such: it is why SQLite
// can no longer write, not a file made read-only.
EngineStatus readOnlyFailure(int code) {
  if (code == SQLITE_READONLY_DBMOVED)
    return EngineStatus::failure(
        "Il file del database è stato cancellato o spostato mentre era in uso: la modifica non è "
        "stata salvata.",
        code);
  return EngineStatus::failure(
      "Il database è in sola lettura: il file o la sua cartella non ammettono modifiche.", code);
}

EngineStatus sentenceFor(int code, const std::string& message) {
  switch (code & 0xff) {
    case SQLITE_NOTADB:
      return EngineStatus::failure("Il file non è un database.", code);
    case SQLITE_CORRUPT:
      return EngineStatus::failure("Il database è danneggiato (" + message + ").", code);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return EngineStatus::failure(
          "Il database è bloccato da un altro utente o programma (" + message + ").", code);
    case SQLITE_FULL:
      return EngineStatus::failure("Il disco è pieno (" + message + ").", code);
    case SQLITE_READONLY:
      return readOnlyFailure(code);
    case SQLITE_IOERR:
      return EngineStatus::failure("Errore di lettura o scrittura del disco (" + message + ").",
                                   code);
    case SQLITE_NOMEM:
      return EngineStatus::failure("Memoria insufficiente (" + message + ").", code);
    case SQLITE_CANTOPEN:
      return EngineStatus::failure("Impossibile aprire o creare il file (" + message + ").", code);
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return EngineStatus::failure("Accesso al file negato (" + message + ").", code);
    case SQLITE_CONSTRAINT:
      return EngineStatus::failure("Dati non ammessi dalla tavola (" + message + ").", code);
    case SQLITE_TOOBIG:
      return EngineStatus::failure("Dato troppo grande (" + message + ").", code);
    case SQLITE_INTERRUPT:
      return EngineStatus::failure("Operazione interrotta (" + message + ").", code);
    default:
      // The engine's own words stay in brackets, for whoever looks into it.
      return EngineStatus::failure(
          "Il motore del database ha rifiutato l'operazione (" + message + ").", code);
  }
}

}  // namespace

EngineStatus describeEngineFailure(int code, std::string_view engineMessage) {
  EngineStatus status = sentenceFor(code, std::string(engineMessage));
  status.kind = kindOf(code);
  return status;
}

}  // namespace veltra::db::engine
