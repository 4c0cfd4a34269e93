#pragma once
// What every veltra-cli command receives: its streams, the console Prompter,
// the database chosen with --db (or none), and its own arguments.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/ConsolePrompter.h"

namespace veltra::cli {

struct CliContext {
  std::ostream& out;
  std::ostream& err;
  ConsolePrompter& prompter;
  std::optional<std::string> databaseOption;  // --db PATH
  std::vector<std::string> args;              // after the command name

  // Writes the usage error and returns the usage exit status.
  int usageError(const std::string& problem) const;
};

using CommandHandler = int (*)(CliContext& context);

}  // namespace veltra::cli
