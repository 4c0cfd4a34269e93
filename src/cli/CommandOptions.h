#pragma once
// The "--name value" options and "--name" switches of one veltra-cli command.

#include <map>
#include <optional>
#include <set>
#include <string>

#include "cli/CliContext.h"

namespace veltra::cli {

struct CommandOptions {
  std::map<std::string, std::string> values;
  std::set<std::string> switches;

  bool has(const std::string& name) const { return values.count(name) > 0; }
  const std::string& value(const std::string& name) const { return values.at(name); }
  bool isSet(const std::string& name) const { return switches.count(name) > 0; }
};

// The command's arguments read as options, each at most once. None, after
// the usage error (its exit status in status), when an argument is not among
// the allowed ones, comes twice, lacks its value, or a required one is missing.
std::optional<CommandOptions> parseCommandOptions(CliContext& context,
                                                  const std::set<std::string>& valued,
                                                  const std::set<std::string>& switches,
                                                  const std::set<std::string>& required,
                                                  int& status);

}  // namespace veltra::cli
