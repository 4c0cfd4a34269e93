// A prepared statement runs many times with new bindings: a failure on one run
// must not be forgotten by the runs after it, and a value that could not be
// bound must not be written as null.

#include <gtest/gtest.h>

#include <memory>

#include "RawSqliteFile.h"
#include "db/sqlite/SqliteDatabase.h"
#include "db/sqlite/SqliteStatement.h"
#include "support/TempDir.h"

namespace veltra::db::engine {
namespace {

class StatementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db = SqliteDatabase::create(dir.file("test.mdb"), status);
    ASSERT_TRUE(db) << status.text;
    ASSERT_TRUE(db->execute("CREATE TABLE t (k INTEGER NOT NULL, v TEXT)"));
    insert = std::make_unique<SqliteStatement>(db->handle(), "INSERT INTO t (k, v) VALUES (?, ?)",
                                               status);
    ASSERT_TRUE(status) << status.text;
  }

  long long rowCount() {
    EngineStatus counted;
    SqliteStatement count(db->handle(), "SELECT count(*) FROM t", counted);
    EXPECT_TRUE(count.step(counted)) << counted.text;
    return count.columnInt(0);
  }

  // Binds a valid row, runs the insert and tells whether it went through.
  bool insertRow(int key) {
    insert->reset();
    insert->bindInt(1, key);
    insert->bindText(2, "valore");
    EngineStatus stepped;
    insert->step(stepped);
    return stepped.ok;
  }

  testing::TempDir dir;
  EngineStatus status;
  std::unique_ptr<SqliteDatabase> db;
  std::unique_ptr<SqliteStatement> insert;
};

TEST_F(StatementTest, AFailedStepStaysToldAfterLaterRuns) {
  ASSERT_TRUE(insertRow(1));
  EXPECT_FALSE(insert->failed());

  insert->reset();
  insert->bindNull(1);
  insert->step(status);
  EXPECT_EQ(status.code, SQLITE_CONSTRAINT_NOTNULL);

  EXPECT_TRUE(insertRow(2));
  EXPECT_TRUE(insert->failed());
  EXPECT_EQ(rowCount(), 2);
}

TEST_F(StatementTest, AFailedBindFailsTheStepUntilTheNextReset) {
  insert->reset();
  insert->bindInt(1, 1);
  insert->bindText(3, "oltre i parametri");  // the statement has two
  EXPECT_FALSE(insert->step(status));
  EXPECT_EQ(status.code, SQLITE_RANGE);
  EXPECT_EQ(rowCount(), 0);  // not written with its value left null

  EXPECT_TRUE(insertRow(2));
  EXPECT_TRUE(insert->failed());
  EXPECT_EQ(rowCount(), 1);
}

}  // namespace
}  // namespace veltra::db::engine
