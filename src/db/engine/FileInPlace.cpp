#include "db/engine/FileInPlace.h"

#include <sqlite3.h>

#include "db/engine/EngineDatabase.h"

namespace veltra::db::engine {

EngineStatus checkFileInPlace(const EngineDatabase& database) {
  int moved = 0;
  if (database.handle() == nullptr ||
      sqlite3_file_control(database.handle(), "main", SQLITE_FCNTL_HAS_MOVED, &moved) !=
          SQLITE_OK ||
      moved == 0)
    return EngineStatus::success();
  return EngineStatus::failure("Il file " + database.path() +
                               " è stato spostato o cancellato dopo la connessione.");
}

}  // namespace veltra::db::engine
