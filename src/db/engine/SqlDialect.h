#pragma once
// Statements are written in the original engine's dialect: #MM/DD/YYYY# date
// literals, string literals in double or single quotes, TRUE and FALSE.
// A small tokenizer turns them into the engine's; text inside literals is never touched.

#include <optional>
#include <string>
#include <string_view>

namespace veltra::db::engine {

// File: SQLite's dialect. Server: PostgreSQL's, where TRUE and FALSE stay
// (its booleans refuse 1 and 0) and each top-level ORDER BY item places
// NULLs where SQLite does (first ascending, last descending).
enum class Dialect { File, Server };

// The engine's statement, or none with the reason in error when a literal is malformed.
// An ORDER BY item that says where its NULLs go keeps its own word.
std::optional<std::string> translateDialect(std::string_view jetSql, std::string& error,
                                            Dialect dialect = Dialect::File);

// The rows of a history that stood on a day: of each key, its row with the
// latest date on or before the day. The history holds one row per key and
// date, neither ever NULL, and each of its keys is a row of keys (a relation
// sees to it), under a column of the same name.
struct LatestRowsRequest {
  std::string history;
  std::string keys;
  std::string key;
  std::string date;
  std::string day;    // a date literal of the statement: #MM/DD/YYYY#
  std::string alias;  // the name the rows go by in the statement
};

// Of the column the rows carry beside the history's own: the key as the
// key's earliest row on or before the day spells it.
inline constexpr const char* FirstKeyColumn = "first_key";

// The rows as an item of a FROM list, and the ORDER BY that lists them by
// key. Each engine has the form it runs fastest: a file seeks each key's
// latest row in the history's index, one key of keys after the other; a
// server reads the history once in the index's order, which also gives the
// order of the list, where a seek per key costs it a round of its executor.
struct LatestRowsSql {
  std::string from;
  std::string orderBy;
};
LatestRowsSql latestRowsSql(const LatestRowsRequest& request, Dialect dialect);

}  // namespace veltra::db::engine
