// Repair puts a copy in the file's place only when the copy holds everything
// the file declares: a step of the copy that fails must stop it.

#include <gtest/gtest.h>

#include <filesystem>

#include "db/engine/EngineDatabase.h"
#include "db/engine/Repair.h"
#include "support/TempDir.h"

namespace veltra::db::engine {
namespace {

TEST(Repair, AUniqueIndexTheRowsBreakIsNeverDroppedFromTheFile) {
  testing::TempDir dir;
  const std::string path = dir.file("doppi.mdb");
  {
    EngineStatus status;
    auto db = EngineDatabase::create(path, status);
    ASSERT_TRUE(db) << status.text;
    ASSERT_TRUE(db->execute("CREATE TABLE t (k INTEGER); INSERT INTO t VALUES (1), (1);"
                            "CREATE INDEX t_k ON t (k)"));
    // Declared unique over rows that are not: what a damaged file can hold.
    ASSERT_TRUE(db->execute("PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = "
                            "'CREATE UNIQUE INDEX t_k ON t (k)' WHERE name = 't_k'"));
    ASSERT_TRUE(db->close());
  }

  const EngineStatus repaired = repairInPlace(path);
  EXPECT_FALSE(repaired);
  EXPECT_FALSE(std::filesystem::exists(path + ".danneggiato"));
  EXPECT_FALSE(std::filesystem::exists(path + ".riparazione"));
}

}  // namespace
}  // namespace veltra::db::engine
