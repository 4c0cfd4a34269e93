#pragma once
// What a killed run leaves beside a database it was writing. Internal to the
// engine adapter.

#include <string>

#include "db/engine/EngineStatus.h"

namespace veltra::db::engine {

// A database file and the journals SQLite keeps beside it: the copy an
// earlier run left when it was killed, whose journal SQLite would otherwise
// play back into the next file of that name.
void removeDatabaseFiles(const std::string& path);

// A copy is written beside its destination under this name, none left from
// an earlier run, and renamed to the destination only once complete: a run
// killed at any moment leaves no destination, and the same command then succeeds.
std::string startCopyBeside(const std::string& destination);
// Puts the complete copy at partial in place, once written: refused when the
// destination appeared meanwhile. The partial copy goes when status or this fails.
EngineStatus placeCopy(EngineStatus status, const std::string& partial,
                       const std::string& destination);
EngineStatus destinationExists(const std::string& destination);

}  // namespace veltra::db::engine
