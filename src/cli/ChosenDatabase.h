#pragma once
// The database a veltra-cli command works on: the one given with --db, else
// the one associated with the installation.

#include <memory>
#include <optional>
#include <string>

#include "cli/CliContext.h"

namespace veltra::db {
class DatabaseConnection;
}

namespace veltra::cli {

// None when neither names a file.
std::optional<std::string> chosenDatabase(const CliContext& context);

// True, after saying why, when the locator carries a password: the program
// never prints nor stores one.
bool refusedForPassword(CliContext& context, const std::string& locator);

// That database opened; none, after saying why, when there is none or it
// does not open.
std::unique_ptr<db::DatabaseConnection> openChosenDatabase(CliContext& context);

}  // namespace veltra::cli
