#include <gtest/gtest.h>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace veltra::testing {
namespace {

ProgramRun cli(const std::vector<std::string>& args) {
  TempDir home;
  // Never the user's own association: a settings file of the test's own.
  return runProgram(VELTRA_CLI_PATH, args, {"VELTRA_SETTINGS=" + home.file("veltra.ini")});
}

TEST(CommandLine, HelpAndVersion) {
  const auto help = cli({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.out.rfind("Uso: veltra-cli [--db PATH] COMANDO ...\n", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("  import FILE [--yes]\n"), std::string::npos);
  EXPECT_TRUE(help.err.empty());

  const auto version = cli({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, std::string("veltra-cli ") + VELTRA_VERSION + "\n");
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

}  // namespace
}  // namespace veltra::testing
