#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "comms/ExportFile.h"
#include "db/platform/Console.h"

int main(int argc, char** argv) {
  veltra::comms::LetWritesFailPastFileSizeLimit();
  veltra::platform::UseUtf8Output();
  const std::vector<std::string> args = veltra::platform::ProgramArguments(argc, argv);
  return veltra::cli::runCommandLine(args, std::cout, std::cerr);
}
