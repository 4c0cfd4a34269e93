#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "comms/ExportFile.h"

int main(int argc, char** argv) {
  veltra::comms::LetWritesFailPastFileSizeLimit();
  std::vector<std::string> args(argv + 1, argv + argc);
  return veltra::cli::runCommandLine(args, std::cout, std::cerr);
}
