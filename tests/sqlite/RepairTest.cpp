// Repair keeps every row that can still be read by its rowid, sets aside what
// the copy refuses, never writes the damaged original, and leaves a database
// at the path at every moment.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>

#include "RawSqliteFile.h"
#include "db/sqlite/SqliteDatabase.h"
#include "db/sqlite/SqliteStatement.h"
#include "db/sqlite/repair/Repair.h"
#include "support/TempDir.h"

namespace veltra::db::engine {
namespace {

constexpr int PageSize = 4096;
constexpr int Parents = 40;
constexpr int Stamps = 10;
constexpr int Children = 3000;
const std::vector<std::string> Tables = {"parent", "stamp", "child"};

using RowIds = std::map<std::string, std::set<std::int64_t>>;
using testing::bytesOf;
using testing::writeBytes;

// A child refers to a parent and to a stamp. Without rows, the model whose
// schema a repaired copy gets.
void buildRegister(const std::string& path, bool withRows = true) {
  EngineStatus status;
  auto db = SqliteDatabase::create(path, status);
  ASSERT_TRUE(db) << status.text;
  ASSERT_TRUE(db->execute(
      "CREATE TABLE parent (k INTEGER NOT NULL, name VARCHAR(20) NOT NULL);"
      "CREATE UNIQUE INDEX parent_k ON parent (k);"
      "CREATE TABLE stamp (s INTEGER NOT NULL); CREATE UNIQUE INDEX stamp_s ON stamp (s);"
      "CREATE TABLE child (k INTEGER NOT NULL, s INTEGER NOT NULL,"
      " pad VARCHAR(200) CHECK (length(pad) <= 100),"
      " CONSTRAINT child_parent FOREIGN KEY (k) REFERENCES parent (k),"
      " CONSTRAINT child_stamp FOREIGN KEY (s) REFERENCES stamp (s));"
      "CREATE INDEX child_k ON child (k);"));
  if (withRows) {
    ASSERT_TRUE(db->execute(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(Children) +
        ") INSERT INTO parent SELECT i, 'azienda ' || i FROM n WHERE i <= " +
        std::to_string(Parents) +
        ";"
        "INSERT INTO stamp SELECT k FROM parent WHERE k <= " +
        std::to_string(Stamps) +
        ";"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(Children) +
        ") INSERT INTO child SELECT i % 40 + 1, i % 10 + 1, printf('%.*c', 100, 'x') FROM n"));
  }
  ASSERT_TRUE(db->close());
}

// The repair with the schema of buildRegister as the program's own.
EngineStatus repair(const std::string& path, RepairReport& report,
                    const RepairObserver& observer = {}) {
  const std::string model = path + ".schema";
  if (!std::filesystem::exists(model)) buildRegister(model, false);
  return repairInPlace(path, model, report, observer);
}

// The middle one of the table's or index's pages of that kind.
std::int64_t pageOf(const std::string& path, const std::string& name, const std::string& kind) {
  const auto pages = testing::pagesOf(path, name, kind);
  EXPECT_GT(pages.size(), 2u) << name;
  return pages.at(pages.size() / 2);
}

// The rows each table still gives up when asked for one rowid at a time; a
// writable schema lets SQLite read a file cut short.
RowIds readableByRowid(const std::string& path) {
  RowIds readable;
  const auto db = testing::openForReading(path);
  EXPECT_TRUE(db);
  if (!db) return readable;
  EXPECT_EQ(testing::executeRaw(db.get(), "PRAGMA writable_schema = ON"), SQLITE_OK);
  EngineStatus status;
  for (const std::string& table : Tables) {
    SqliteStatement probe(db.get(), "SELECT * FROM " + table + " WHERE rowid = ?", status);
    for (std::int64_t rowid = 1; status && rowid <= Children; ++rowid) {
      probe.reset();
      probe.bindInt(1, rowid);
      EngineStatus read;
      if (probe.step(read)) readable[table].insert(rowid);
    }
  }
  return readable;
}

// The rows of the repaired file, the rows set aside counted with their table.
RowIds heldAfterRepair(const std::string& path) {
  RowIds held;
  EngineStatus status;
  auto db = SqliteDatabase::open(path, status);
  EXPECT_TRUE(db) << status.text;
  if (!db) return held;
  std::string sql =
      "SELECT 'parent', rowid FROM parent UNION ALL SELECT 'stamp', rowid FROM "
      "stamp UNION ALL SELECT 'child', rowid FROM child";
  SqliteStatement hasSetAside(db->handle(), "SELECT 1 FROM sqlite_master WHERE name = ?", status);
  hasSetAside.bindText(1, std::string(SetAsideTableName));
  if (hasSetAside.step(status))
    sql += " UNION ALL SELECT tavola, riga FROM " + std::string(SetAsideTableName);
  SqliteStatement rows(db->handle(), sql, status);
  while (rows.step(status)) held[rows.columnText(0)].insert(rows.columnInt(1));
  EXPECT_TRUE(status) << status.text;
  return held;
}

std::string integrityOf(const std::string& path) {
  EngineStatus status;
  auto db = SqliteDatabase::open(path, status);
  if (!db) return status.text;
  SqliteStatement check(db->handle(), "PRAGMA integrity_check", status);
  return check.step(status) ? check.columnText(0) : status.text;
}

struct Damage {
  const char* name;
  void (*apply)(const std::string& path);
  bool losesRows;
};

void overwritePage(const std::string& path, std::int64_t page, bool flip) {
  std::string bytes = bytesOf(path);
  const std::size_t start = static_cast<std::size_t>(page - 1) * PageSize;
  if (flip) {
    for (std::size_t at = start + 8; at < start + PageSize; at += 97) bytes[at] ^= 0x5a;
  } else {
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(start), PageSize, '\0');
  }
  writeBytes(path, bytes);
}

void truncateBy(const std::string& path, std::uintmax_t cut) {
  std::filesystem::resize_file(path, std::filesystem::file_size(path) - cut);
}

const Damage Damages[] = {
    {"FlippedBytesInATablePage",
     [](const std::string& path) { overwritePage(path, pageOf(path, "child", "leaf"), true); },
     true},
    {"ZeroedTablePage",
     [](const std::string& path) { overwritePage(path, pageOf(path, "child", "leaf"), false); },
     true},
    {"ZeroedIndexPage",
     [](const std::string& path) { overwritePage(path, pageOf(path, "child_k", "leaf"), false); },
     false},
    {"CutByItsLastPage", [](const std::string& path) { truncateBy(path, PageSize); }, true},
    {"CutByTenPages", [](const std::string& path) { truncateBy(path, 10 * PageSize); }, true},
    {"CutInHalf",
     [](const std::string& path) { truncateBy(path, std::filesystem::file_size(path) / 2); }, true},
    // What a flipped bit in a stored date does: a value the table refuses.
    {"AValueTheTableRefuses",
     [](const std::string& path) {
       EngineStatus status;
       auto db = SqliteDatabase::open(path, status);
       ASSERT_TRUE(
           db->execute("PRAGMA ignore_check_constraints = ON;"
                       "UPDATE child SET pad = pad || pad WHERE rowid = 5"));
     },
     true},
    {"OrphanedRows",
     [](const std::string& path) {
       EngineStatus status;
       auto db = SqliteDatabase::open(path, status);
       ASSERT_TRUE(
           db->execute("PRAGMA foreign_keys = OFF; DELETE FROM parent WHERE k = 7;"
                       "DELETE FROM stamp WHERE s = 3"));
     },
     true},
};

class RepairDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(RepairDamage, KeepsEveryRowStillReadableAndNeverWritesTheOriginal) {
  testing::TempDir dir;
  const std::string path = dir.file("registro.mdb");
  buildRegister(path);
  GetParam().apply(path);
  const std::string damagedBytes = bytesOf(path);
  const RowIds readable = readableByRowid(path);

  RepairReport report;
  const EngineStatus repaired = repair(path, report);
  ASSERT_TRUE(repaired) << repaired.text;
  EXPECT_EQ(integrityOf(path), "ok");
  EXPECT_EQ(bytesOf(report.keptBeside), damagedBytes);
  EXPECT_EQ(report.lostNothing(), !GetParam().losesRows);

  const RowIds held = heldAfterRepair(path);
  std::int64_t setAside = 0;
  for (const TableRescue& rescue : report.tables) {
    if (rescue.table == SetAsideTableName) continue;
    const auto& kept = held.count(rescue.table) ? held.at(rescue.table) : std::set<std::int64_t>{};
    const auto& before =
        readable.count(rescue.table) ? readable.at(rescue.table) : std::set<std::int64_t>{};
    for (const std::int64_t rowid : before)
      EXPECT_EQ(kept.count(rowid), 1u) << rescue.table << " rowid " << rowid;
    // The file's pages may give more than SQLite reads by rowid, never a row twice.
    EXPECT_GE(rescue.kept + rescue.setAside, static_cast<std::int64_t>(before.size()))
        << rescue.table;
    EXPECT_EQ(
        rescue.kept + rescue.setAside,
        static_cast<std::int64_t>(held.count(rescue.table) ? held.at(rescue.table).size() : 0))
        << rescue.table;
    setAside += rescue.setAside;
  }
  // A missing parent or stamp is never made up: the rows naming them are set aside.
  if (std::string(GetParam().name) == "OrphanedRows") {
    EXPECT_EQ(setAside, Children / Parents + Children / Stamps);
  }
}

INSTANTIATE_TEST_SUITE_P(Damages, RepairDamage, ::testing::ValuesIn(Damages),
                         [](const auto& test) { return std::string(test.param.name); });

// The copy a killed repair left, and its journal, go with the next repair.
TEST(Repair, AHealthyFileIsLeftUntouchedAndAKilledRepairsCopyRemoved) {
  testing::TempDir dir;
  const std::string path = dir.file("sano.mdb");
  buildRegister(path);
  writeBytes(path + ".riparazione", "half a copy");
  writeBytes(path + ".riparazione-journal", "its journal");
  const std::string bytes = bytesOf(path);
  RepairReport report;
  ASSERT_TRUE(repair(path, report));
  EXPECT_TRUE(report.keptBeside.empty());
  EXPECT_TRUE(report.lostNothing());
  EXPECT_EQ(bytesOf(path), bytes);
  EXPECT_FALSE(std::filesystem::exists(path + ".riparazione"));
  EXPECT_FALSE(std::filesystem::exists(path + ".riparazione-journal"));
}

TEST(Repair, RowsThatBreakAUniqueIndexAreSetAsideAndTheIndexKept) {
  testing::TempDir dir;
  const std::string path = dir.file("doppi.mdb");
  {
    EngineStatus status;
    auto db = SqliteDatabase::create(path, status);
    ASSERT_TRUE(db) << status.text;
    ASSERT_TRUE(
        db->execute("CREATE TABLE t (k INTEGER); INSERT INTO t VALUES (1), (1);"
                    "CREATE INDEX t_k ON t (k)"));
    // Declared unique over rows that are not: what a damaged file can hold.
    ASSERT_TRUE(
        db->execute("PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = "
                    "'CREATE UNIQUE INDEX t_k ON t (k)' WHERE name = 't_k'"));
    ASSERT_TRUE(db->close());
    auto model = SqliteDatabase::create(path + ".schema", status);
    ASSERT_TRUE(model->execute("CREATE TABLE t (k INTEGER); CREATE UNIQUE INDEX t_k ON t (k)"));
  }
  RepairReport report;
  const EngineStatus repaired = repair(path, report);
  ASSERT_TRUE(repaired) << repaired.text;
  ASSERT_EQ(report.tables.size(), 1u);
  EXPECT_EQ(report.tables[0].kept, 1);
  EXPECT_EQ(report.tables[0].setAside, 1);
  EngineStatus status;
  auto db = SqliteDatabase::open(path, status);
  EXPECT_FALSE(db->execute("INSERT INTO t VALUES (1)"));
}

// A row whose copy fails for a reason other than a refusal (here the
// model's check overflows on it) stops the repair: the copy is not taken,
// however much of it was filled, and the original stays as it was.
TEST(Repair, ACopyThatCannotBeFilledNeverReplacesTheOriginal) {
  testing::TempDir dir;
  const std::string path = dir.file("registro.mdb");
  {
    EngineStatus status;
    auto db = SqliteDatabase::create(path, status);
    ASSERT_TRUE(db->execute(
        "CREATE TABLE t (k INTEGER CHECK (abs(k) >= 0)); PRAGMA ignore_check_constraints = ON;"
        "INSERT INTO t VALUES (1), (-9223372036854775807 - 1), (3)"));
    auto model = SqliteDatabase::create(path + ".schema", status);
    ASSERT_TRUE(model->execute("CREATE TABLE t (k INTEGER CHECK (abs(k) >= 0))"));
  }
  const std::string bytes = bytesOf(path);
  RepairReport report;
  const EngineStatus repaired = repair(path, report);
  EXPECT_FALSE(repaired);
  EXPECT_NE(repaired.text.find("integer overflow"), std::string::npos) << repaired.text;
  EXPECT_EQ(bytesOf(path), bytes);
  EXPECT_FALSE(report.replaced());
  EXPECT_FALSE(std::filesystem::exists(path + ".riparazione"));
  EXPECT_FALSE(std::filesystem::exists(path + ".danneggiato"));
}

#ifndef _WIN32
// Killed right after each step, the repair leaves a database at the path:
// the damaged original until the copy is in place, then the copy.
TEST(Repair, AKillAtAnyStepLeavesADatabaseAtThePath) {
  for (const RepairStep step :
       {RepairStep::CopyVerified, RepairStep::OriginalKeptBeside, RepairStep::CopyInPlace}) {
    testing::TempDir dir;
    const std::string path = dir.file("registro.mdb");
    buildRegister(path);
    truncateBy(path, PageSize);
    const std::string damagedBytes = bytesOf(path);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      RepairReport report;
      static_cast<void>(repair(path, report, [step](RepairStep reached) {
        if (reached == step) raise(SIGKILL);
      }));
      _exit(0);
    }
    int wstatus = 0;
    ASSERT_EQ(waitpid(child, &wstatus, 0), child);
    ASSERT_TRUE(WIFSIGNALED(wstatus) && WTERMSIG(wstatus) == SIGKILL);
    if (step == RepairStep::CopyInPlace)
      EXPECT_EQ(integrityOf(path), "ok");
    else
      EXPECT_EQ(bytesOf(path), damagedBytes);
  }
}
#endif

}  // namespace
}  // namespace veltra::db::engine
