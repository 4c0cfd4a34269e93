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
std::optional<std::string> translateDialect(std::string_view jetSql, std::string& error,
                                            Dialect dialect = Dialect::File);

}  // namespace veltra::db::engine
