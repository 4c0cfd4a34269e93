#include "db/engine/ErrorText.h"

#include <sqlite3.h>

namespace veltra::db::engine {

EngineStatus describeOpenFailure(const std::string& path, int code, std::string_view engineMessage) {
  if ((code & 0xff) == SQLITE_CANTOPEN)
    return EngineStatus::failure("Impossibile aprire il file \"" + path + "\" (" +
                                     std::string(engineMessage) + ").",
                                 code);
  return describeEngineFailure(code, engineMessage);
}

EngineStatus describeEngineFailure(int code, std::string_view engineMessage) {
  const std::string message(engineMessage);
  switch (code & 0xff) {
    case SQLITE_NOTADB:
      return EngineStatus::failure("Il file non è un database riconosciuto (" + message + ").", code);
    case SQLITE_CORRUPT:
      return EngineStatus::failure("Il database è danneggiato (" + message + ").", code);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return EngineStatus::failure(
          "Il database è bloccato da un altro utente o programma (" + message + ").", code);
    case SQLITE_FULL:
      return EngineStatus::failure("Il disco è pieno (" + message + ").", code);
    case SQLITE_READONLY:
      return EngineStatus::failure("Il database è in sola lettura (" + message + ").", code);
    case SQLITE_IOERR:
      return EngineStatus::failure("Errore di lettura o scrittura del disco (" + message + ").", code);
    case SQLITE_NOMEM:
      return EngineStatus::failure("Memoria insufficiente (" + message + ").", code);
    default:
      return EngineStatus::failure(message, code);
  }
}

}  // namespace veltra::db::engine
