#pragma once
// Runs a program to its end and keeps what it wrote and how it ended, for
// tests of veltra-cli as a user or a script would call it.

#include <string>
#include <vector>

namespace veltra::testing {

struct ProgramRun {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// Arguments are passed as they are, without a shell; extra environment
// entries are "NAME=value".
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& environment = {});

}  // namespace veltra::testing
