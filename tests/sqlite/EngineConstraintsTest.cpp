// The file itself refuses what the schema forbids, whoever writes to it: a
// plain SQLite client is refused too.

#include <gtest/gtest.h>

#include "RawSqliteFile.h"
#include "db/DbFixture.h"

namespace veltra::db {
namespace {

class EngineConstraintsTest : public testing::DbWithCompanyTest {
 protected:
  // Runs a statement on the file with a plain SQLite client; returns its result code.
  int rawExecute(const std::string& sql) { return testing::executeOnFile(path, sql); }
};

// These read the file itself.
INSTANTIATE_TEST_SUITE_P(File, EngineConstraintsTest, ::testing::Values(testing::TestEngine::File),
                         testing::engineName);

TEST_P(EngineConstraintsTest, ZeroLengthTextIsRefusedWhereNotAllowed) {
  // The cursor turns "" into NULL; a zero-length text can only come from elsewhere.
  EXPECT_NE(rawExecute("INSERT INTO azi (codice, denom) VALUES (3, '')"), SQLITE_OK);
  EXPECT_EQ(
      rawExecute(
          "INSERT INTO mezzi (telaio, data, azienda, interno) VALUES ('Z', '2004-01-01', 1, '')"),
      SQLITE_OK);
}

TEST_P(EngineConstraintsTest, TheFileRefusesWhatTheTypesCannotHold) {
  const std::string insert = "INSERT INTO mezzi (telaio, data, azienda";
  EXPECT_EQ(rawExecute(insert + ") VALUES ('R1', '2004-02-29', 1)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('R2', '2004-02-30', 1)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('R3', '05/03/2004', 1)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('R4', '2004-01-01', 40000)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('R5', '2004-01-01', 'uno')"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('ABCDEFGHIJK', '2004-01-01', 1)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ", aria) VALUES ('R6', '2004-01-01', 1, 2)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ", posti) VALUES ('R7', '2004-01-01', 1, 3000000000)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('R8', '2004-01-01', 5)"), SQLITE_OK);
  EXPECT_NE(rawExecute("DELETE FROM azi WHERE codice = 1"), SQLITE_OK)
      << "a referenced row cannot go while rows refer to it";
}

}  // namespace
}  // namespace veltra::db
