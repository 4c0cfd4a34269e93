#pragma once
// Making a file just written, and a rename in its folder, last through a
// power cut. Internal to the engine adapter.

#include <string>

namespace veltra::db::engine {

// Both are best effort: a file system that cannot sync leaves the data as
// safe as it can make it.
void syncFile(const std::string& path);
void syncFolderOf(const std::string& path);

// A database file and the journals SQLite keeps beside it: the copy an
// earlier run left when it was killed, whose journal SQLite would otherwise
// play back into the next file of that name.
void removeDatabaseFiles(const std::string& path);

}  // namespace veltra::db::engine
