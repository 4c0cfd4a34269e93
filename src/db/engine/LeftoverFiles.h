#pragma once
// What a killed run leaves beside a database it was writing. Internal to the
// engine adapter.

#include <string>

namespace veltra::db::engine {

// A database file and the journals SQLite keeps beside it: the copy an
// earlier run left when it was killed, whose journal SQLite would otherwise
// play back into the next file of that name.
void removeDatabaseFiles(const std::string& path);

}  // namespace veltra::db::engine
