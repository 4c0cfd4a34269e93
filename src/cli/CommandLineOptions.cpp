#include "cli/CommandLineOptions.h"

#include <iterator>

namespace veltra::cli {

CommandLineOptions parseCommandLineOptions(const std::vector<std::string>& args) {
  CommandLineOptions options;
  for (auto arg = args.begin(); arg != args.end(); ++arg) {
    if (*arg == "--help" || *arg == "-h") {
      options.request = CommandLineOptions::Request::Help;
      return options;
    }
    if (*arg == "--version") {
      options.request = CommandLineOptions::Request::Version;
      return options;
    }
    if (*arg == "--yes") {
      options.yes = true;
    } else if (*arg == "--db") {
      if (std::next(arg) == args.end()) {
        options.request = CommandLineOptions::Request::Malformed;
        options.problem = "--db vuole un percorso";
        return options;
      }
      options.database = *++arg;
    } else {
      options.command.push_back(*arg);
    }
  }
  if (options.command.empty()) {
    options.request = CommandLineOptions::Request::Malformed;
    options.problem = "manca il comando";
  }
  return options;
}

}  // namespace veltra::cli
