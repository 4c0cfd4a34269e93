// veltra-cli register-installation, as an installer script runs it.

#include <gtest/gtest.h>

#include <filesystem>

#include "db/platform/Files.h"
#include "qt/AssociationSettings.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace veltra::testing {
namespace {

TEST(InstallationCommand, CreatesTheKeyAndItsFolderOnceAndThenLeavesThemAlone) {
  TempDir dir;
  const std::string settingsFile = dir.file("config/veltra.ini");
  const auto cli = [&](const std::vector<std::string>& args) {
    return runProgram(VELTRA_CLI_PATH, args, {"VELTRA_SETTINGS=" + settingsFile});
  };
  // Named as the system spells it: Windows' settings keep its own separator.
  const std::string folder = platform::Utf8Name(platform::FilePath(dir.file("dati")) / "Veltra");

  const auto first = cli({"register-installation", folder});
  EXPECT_EQ(first.exitStatus, 0) << first.err;
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  const qt::AssociationSettings settings(QString::fromStdString(settingsFile));
  EXPECT_EQ(settings.directory(), folder);
  EXPECT_FALSE(settings.database());

  const std::string other = dir.file("altrove");
  const auto again = cli({"register-installation", other});
  EXPECT_EQ(again.exitStatus, 0) << again.err;
  EXPECT_EQ(settings.directory(), folder);
  EXPECT_FALSE(std::filesystem::exists(other));

  EXPECT_EQ(cli({"register-installation", folder, other}).exitStatus, 2);
}

}  // namespace
}  // namespace veltra::testing
