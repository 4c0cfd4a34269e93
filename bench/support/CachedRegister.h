#pragma once
// A generated register kept between runs: built only when its file is not
// there yet, and in a file beside it that takes its name once complete, so
// an interrupted build is never taken for a register.

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "db/DatabaseConnection.h"
#include "schema/DatabaseCreation.h"
#include "support/BenchSupport.h"

namespace veltra::bench {

// The path of the register, which fill, given a connection to a new
// database, filled when it had to be built.
inline std::string CachedRegister(const std::filesystem::path& path,
                                  const std::function<void(db::DatabaseConnection&)>& fill) {
  namespace fs = std::filesystem;
  fs::create_directories(path.parent_path());
  if (fs::exists(path)) return path.string();
  const fs::path partial = path.string() + ".partial";
  fs::remove(partial);
  BenchPrompter prompter;
  if (schema::BuildNewDatabase(prompter, partial.string(), "").outcome != ui::Outcome::Done)
    std::abort();
  {
    db::DatabaseConnection connection(prompter, partial.string());
    fill(connection);
  }
  fs::rename(partial, path);
  return path.string();
}

}  // namespace veltra::bench
