#pragma once
// veltra-cli: every data operation of the program without a display.

#include <iosfwd>
#include <string>
#include <vector>

namespace veltra::cli {

// Exit status: 0 done, 1 refused or ended with errors, 2 malformed command line.
enum ExitStatus { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace veltra::cli
