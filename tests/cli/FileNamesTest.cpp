// veltra-cli with its register, the communication it imports and the file it
// writes in a folder whose name has letters outside ASCII, as an office's
// folders do: Windows takes such names only as UTF-16.

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>

#include "db/platform/Files.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace veltra::testing {
namespace {

using platform::FilePath;

TEST(FileNames, AFolderWithAccentedLettersHoldsTheRegisterAndItsFiles) {
  TempDir home;
  // Not TempDir::file, whose names are in the system's code page on Windows.
  const std::string folder = platform::Utf8Name(home.path() / FilePath("Società Trasporti Città"));
  ASSERT_TRUE(std::filesystem::create_directory(FilePath(folder)));
  const std::string sample = folder + "/VariazioniBusQz_12_20240315.txt";
  std::filesystem::copy_file(
      FilePath(std::string(VELTRA_SOURCE_DIR) + "/examples/VariazioniBusQz_12_20240315.txt"),
      FilePath(sample));
  const std::string database = folder + "/Registro è qui.mdb";
  const auto cli = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--db", database});
    return runProgram(VELTRA_CLI_PATH, args, {"VELTRA_SETTINGS=" + home.file("veltra.ini")});
  };

  EXPECT_EQ(cli({"create", database}).exitStatus, 0);
  const auto imported = cli({"import", sample, "--yes"});
  EXPECT_EQ(imported.exitStatus, 0) << imported.err;
  // The same bytes as on Linux: UTF-8, lines ended by LF alone.
  EXPECT_NE(imported.out.find("Aziendale è terminata\n con successo."), std::string::npos)
      << imported.out;
  EXPECT_EQ(imported.out.find('\r'), std::string::npos);

  const std::string fleet = folder + "/Situazione più recente.txt";
  const auto exported = cli({"export-fleet", "--date", "31/12/2024", "--out", fleet});
  EXPECT_EQ(exported.exitStatus, 0) << exported.err;
  std::ifstream written(FilePath(fleet), std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(written), {}};
  EXPECT_TRUE(text.starts_with("Situazione mezzi al 31/12/2024\r\n")) << text.substr(0, 80);

  // Nothing left beside the files the commands made.
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(FilePath(folder)))
    ++entries;
  EXPECT_EQ(entries, 3u);
}

#ifdef _WIN32
// Windows refuses some characters in a name, and a file another program holds
// open: either way a clear message, the failure's exit status and nothing
// changed.
TEST(FileNames, ANameWindowsRefusesAndAFileHeldOpenAreReportedAndLeftAlone) {
  TempDir home;
  const std::string database = home.file("registro.mdb");
  const auto cli = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--db", database});
    return runProgram(VELTRA_CLI_PATH, args, {"VELTRA_SETTINGS=" + home.file("veltra.ini")});
  };
  ASSERT_EQ(cli({"create", database}).exitStatus, 0);
  ASSERT_EQ(
      cli({"import", std::string(VELTRA_SOURCE_DIR) + "/examples/VariazioniBusQz_12_20240315.txt",
           "--yes"})
          .exitStatus,
      0);

  const std::string refused = home.file("Situazione?.txt");
  const auto unnamed = cli({"export-fleet", "--date", "31/12/2024", "--out", refused});
  EXPECT_EQ(unnamed.exitStatus, 1);
  EXPECT_NE(unnamed.err.find("Impossibile creare\n\n" + refused +
                             "\n\nIl nome contiene un carattere che Windows non ammette"),
            std::string::npos)
      << unnamed.err;

  const std::string held = home.file("Situazione.txt");
  std::ofstream(held, std::ios::binary) << "prima";
  HANDLE other = CreateFileW(FilePath(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  const auto locked = cli({"export-fleet", "--date", "31/12/2024", "--out", held});
  const auto unread = cli({"import", held, "--yes"});
  CloseHandle(other);
  const std::string reason = "\n\nIl file è aperto da un altro programma: chiuderlo e riprovare.";
  EXPECT_EQ(locked.exitStatus, 1);
  EXPECT_NE(locked.err.find("Impossibile scrivere\n\n" + held + reason), std::string::npos)
      << locked.err;
  EXPECT_EQ(unread.exitStatus, 1);
  EXPECT_NE(unread.err.find("Impossibile aprire\n\n" + held + reason), std::string::npos)
      << unread.err;
  std::ifstream kept(held, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "prima");
  for (const auto& entry : std::filesystem::directory_iterator(home.path()))
    EXPECT_NE(entry.path().filename().string().front(), '.') << "left behind: " << entry.path();

  // The register itself held open by another program.
  other = CreateFileW(FilePath(database).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  const auto busy = cli({"status"});
  CloseHandle(other);
  EXPECT_EQ(busy.exitStatus, 1);
  EXPECT_NE(busy.err.find("Il file è aperto da un altro programma"), std::string::npos) << busy.err;
  EXPECT_EQ(cli({"status"}).exitStatus, 0);
}
#endif

}  // namespace
}  // namespace veltra::testing
