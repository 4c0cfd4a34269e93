#pragma once
// The options that hold for every veltra-cli command, taken out of the
// arguments wherever they stand; what is left is the command and its own
// arguments.

#include <optional>
#include <string>
#include <vector>

namespace veltra::cli {

struct CommandLineOptions {
  enum class Request { Command, Help, Version, Malformed };

  Request request = Request::Command;
  std::optional<std::string> database;  // --db PATH
  bool yes = false;                     // --yes
  std::vector<std::string> command;     // the command's name, then its arguments
  std::string problem;                  // why the line is malformed
};

// --help and --version end the reading: what follows them is not looked at.
CommandLineOptions parseCommandLineOptions(const std::vector<std::string>& args);

}  // namespace veltra::cli
