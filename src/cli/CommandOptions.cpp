#include "cli/CommandOptions.h"

namespace veltra::cli {

std::optional<CommandOptions> parseCommandOptions(CliContext& context,
                                                  const std::set<std::string>& valued,
                                                  const std::set<std::string>& switches,
                                                  const std::set<std::string>& required,
                                                  int& status) {
  CommandOptions options;
  const auto& args = context.args;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool repeated = options.has(arg) || options.isSet(arg);
    if (switches.count(arg) > 0 && !repeated) {
      options.switches.insert(arg);
    } else if (valued.count(arg) > 0 && !repeated && i + 1 < args.size()) {
      options.values[arg] = args[++i];
    } else {
      status = context.usageError("argomento non valido: " + arg);
      return std::nullopt;
    }
  }
  for (const std::string& name : required) {
    if (!options.has(name)) {
      status = context.usageError("manca l'opzione " + name);
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace veltra::cli
