#include "schema/DefaultDatabase.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace veltra::schema {

constexpr std::string_view DefaultFileName = "VELTRA.MDB";

DefaultDatabase CreateDefaultDatabase(ui::Prompter& prompter,
                                      const std::optional<std::string>& directory) {
  if (!directory) prompter.message(InstallationWarning, ui::Icon::Stop, ui::Buttons::Ok);
  // Without an installation directory the database goes where the user's
  // data belongs, never into the root of the file system.
  const std::filesystem::path folder =
      directory && !directory->empty() ? *directory : UserDataDirectory();
  const std::string path = (folder / DefaultFileName).string();
  prompter.beginBusy(true);
  return {BuildNewDatabase(prompter, path, createdText(path)), path};
}

std::string UserDataDirectory() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  std::filesystem::path base;
  if (dataHome != nullptr && std::filesystem::path(dataHome).is_absolute())
    base = dataHome;
  else if (home != nullptr && *home != '\0')
    base = std::filesystem::path(home) / ".local" / "share";
  else
    base = std::filesystem::temp_directory_path();
  const auto folder = base / "Veltra";
  std::error_code ignored;  // a folder that cannot be made fails the creation, with its message
  std::filesystem::create_directories(folder, ignored);
  return folder.string();
}

}  // namespace veltra::schema
