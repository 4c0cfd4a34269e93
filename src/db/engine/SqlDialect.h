#pragma once
// Statements are written in the original engine's dialect: #MM/DD/YYYY# date
// literals, string literals in double or single quotes, TRUE and FALSE.
// A small tokenizer turns them into SQLite's; text inside literals is never touched.

#include <optional>
#include <string>
#include <string_view>

namespace veltra::db::engine {

// The SQLite statement, or none with the reason in error when a literal is malformed.
std::optional<std::string> translateDialect(std::string_view jetSql, std::string& error);

}  // namespace veltra::db::engine
