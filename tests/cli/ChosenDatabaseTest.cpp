// Which database a command works on: --db wins over the association.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cli/ChosenDatabase.h"
#include "qt/AssociationSettings.h"
#include "support/TempDir.h"

namespace veltra::testing {
namespace {

TEST(ChosenDatabase, TheOptionWinsOverTheAssociationAndAnEmptyOneIsNone) {
  TempDir dir;
  const std::string file = dir.file("veltra.ini");
  ASSERT_EQ(setenv("VELTRA_SETTINGS", file.c_str(), 1), 0);
  qt::AssociationSettings settings(QString::fromStdString(file));
  ASSERT_TRUE(settings.saveDatabase("/dati/VELTRA.MDB", /*createKey=*/true));

  std::ostringstream out, err;
  cli::ConsolePrompter prompter(out, err, false);
  cli::CliContext context{out, err, prompter, std::nullopt, {}};
  EXPECT_EQ(cli::chosenDatabase(context), "/dati/VELTRA.MDB");
  context.databaseOption = "/altro.mdb";
  EXPECT_EQ(cli::chosenDatabase(context), "/altro.mdb");

  context.databaseOption.reset();
  ASSERT_TRUE(settings.saveDatabase(""));
  EXPECT_FALSE(cli::chosenDatabase(context));
  unsetenv("VELTRA_SETTINGS");
}

}  // namespace
}  // namespace veltra::testing
