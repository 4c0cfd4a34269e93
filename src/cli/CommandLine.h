#pragma once
// veltra-cli: every data operation of the program without a display.

#include <iosfwd>
#include <string>
#include <vector>

#include "ui/Outcome.h"

namespace veltra::cli {

// Exit status: 0 done, 1 refused or ended with errors, 2 malformed command line.
enum ExitStatus { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// A core command's outcome as an exit status: a declined confirmation still
// did what was asked (import without --yes checks the file), so it counts as done.
constexpr int ExitStatusOf(ui::Outcome outcome) {
  return outcome == ui::Outcome::Done || outcome == ui::Outcome::Declined ? ExitOk : ExitFailed;
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace veltra::cli
