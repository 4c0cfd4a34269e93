#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

int main(int argc, char** argv) {
  // Past a file-size limit a write fails and the export says so, instead of
  // the signal ending the program without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  return veltra::cli::runCommandLine(args, std::cout, std::cerr);
}
