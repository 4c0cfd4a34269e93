#pragma once
// The register's file reached past the program's engine: its bytes, to damage
// them as a disk would, where its pages are, and SQLite itself run on it. The
// only tests that need SQLite go through here.

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace veltra::testing {

std::string bytesOf(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

using SqliteFile = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

// The file open for reading with SQLite itself; null when it cannot be opened.
SqliteFile openForReading(const std::string& path);
// Runs statements with no result on an open file; SQLite's result code.
int executeRaw(sqlite3* db, const std::string& sql);
// Runs statements on the file as a plain SQLite client does, with the
// relations checked; SQLite's result code.
int executeOnFile(const std::string& path, const std::string& sql);
// The first column of the first row of a query read from the file; -1 when there is none.
std::int64_t numberFrom(const std::string& path, const std::string& sql);
// The pages of the table or index of that kind ("leaf", "internal"), in file order.
std::vector<std::int64_t> pagesOf(const std::string& path, const std::string& name,
                                  const std::string& kind);

}  // namespace veltra::testing
