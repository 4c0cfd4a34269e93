#include <gtest/gtest.h>

#include <sstream>

#include "cli/CommandLineOptions.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace veltra::testing {
namespace {

using cli::CommandLineOptions;
using Request = CommandLineOptions::Request;

ProgramRun cli(const std::vector<std::string>& args) {
  TempDir home;
  // Never the user's own association or folders: everything in the test's own.
  return runProgram(VELTRA_CLI_PATH, args,
                    {"VELTRA_SETTINGS=" + home.file("veltra.ini"), "HOME=" + home.path().string(),
                     "XDG_DATA_HOME=" + home.file("data")});
}

TEST(CommandLine, HelpAndVersion) {
  const auto help = cli({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.out.rfind("Uso: veltra-cli [--db PATH|URI] COMANDO ...\n", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("  import FILE [--yes]\n"), std::string::npos);
  EXPECT_NE(help.out.find("  --db PATH|URI "), std::string::npos);
  EXPECT_TRUE(help.err.empty());

  const auto version = cli({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, std::string("veltra-cli ") + VELTRA_VERSION + "\n");
}

TEST(CommandLine, EveryCommandTheHelpListsExists) {
  std::istringstream help(cli({"--help"}).out);
  std::string line;
  while (std::getline(help, line) && line != "Comandi:") {
  }
  int listed = 0;
  while (std::getline(help, line) && !line.empty()) {
    const std::string name = line.substr(2, line.find(' ', 2) - 2);
    EXPECT_EQ(cli({name}).err.find("comando sconosciuto"), std::string::npos) << name;
    ++listed;
  }
  EXPECT_GT(listed, 0);
}

TEST(CommandLine, MalformedCommandLinesExitTwoWithTheUsage) {
  for (const auto& args : std::vector<std::vector<std::string>>{{}, {"sconosciuto"}, {"--db"}}) {
    const auto run = cli(args);
    EXPECT_EQ(run.exitStatus, 2) << (args.empty() ? "" : args[0]);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("Uso: veltra-cli"), std::string::npos);
  }
  EXPECT_NE(cli({"sconosciuto"}).err.find("comando sconosciuto: sconosciuto"), std::string::npos);
}

TEST(CommandLineOptions, GlobalOptionsStandAnywhereAndHelpEndsTheReading) {
  const auto options = cli::parseCommandLineOptions({"import", "--yes", "a.txt", "--db", "x.mdb"});
  EXPECT_EQ(options.request, Request::Command);
  EXPECT_TRUE(options.yes);
  EXPECT_EQ(options.database, "x.mdb");
  EXPECT_EQ(options.command, (std::vector<std::string>{"import", "a.txt"}));

  EXPECT_EQ(cli::parseCommandLineOptions({"status", "-h", "--db"}).request, Request::Help);
  EXPECT_EQ(cli::parseCommandLineOptions({"--db", "--version"}).problem, "manca il comando");
  EXPECT_EQ(cli::parseCommandLineOptions({"status", "--db"}).problem, "--db vuole un percorso");
}

}  // namespace
}  // namespace veltra::testing
