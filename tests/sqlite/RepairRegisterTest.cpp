// Repair of a real register whose pages were edited as damage edits them:
// rows whose records lie intact are kept even where no tree reaches them,
// nothing damaged is kept as sound, nothing is made up, and every
// replacement of the file is told.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "RawSqliteFile.h"
#include "comms/ApplyCommunication.h"
#include "db/DatabaseConnection.h"
#include "db/engine/EngineDatabase.h"
#include "db/sqlite/SqliteStatement.h"
#include "db/sqlite/repair/FilePages.h"
#include "schema/DatabaseCreation.h"
#include "schema/DatabaseMaintenance.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::schema {
namespace {

using db::engine::EngineDatabase;
using db::engine::EngineStatus;
using db::engine::SqliteStatement;
using testing::bytesOf;
using testing::numberFrom;
using testing::pagesOf;
using testing::RecordingPrompter;
using testing::TempDir;
using testing::writeBytes;

constexpr std::size_t Vehicles = 300;
constexpr std::size_t PageSize = 4096;

// 300 vehicles of one company, each with two history rows.
const std::string& registerPath() {
  static TempDir dir;
  static const std::string path = [] {
    const std::string built = dir.file("registro.mdb");
    RecordingPrompter prompter;
    EXPECT_EQ(BuildNewDatabase(prompter, built, "").outcome, ui::Outcome::Done);
    db::DatabaseConnection connection(prompter, built);
    // The second changes the values, so a vehicle differs from its first history row.
    for (const auto& [date, revision] : {std::pair{"15/01/2024", 0}, {"15/06/2024", 1}})
      EXPECT_TRUE(comms::ApplyCommunication(connection, veltra::testing::SyntheticCommunication(
                                                            1, date, Vehicles, revision))
                      .done());
    return built;
  }();
  return path;
}

std::size_t pageStart(std::int64_t page) {
  return static_cast<std::size_t>(page - 1) * PageSize;
}

class RepairRegister : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(registerPath(), path_);
    vehicles_ = numberFrom(path_, "SELECT count(*) FROM bus");
    history_ = numberFrom(path_, "SELECT count(*) FROM storia");
    communications_ = numberFrom(path_, "SELECT count(*) FROM comunica");
    ASSERT_EQ(vehicles_, static_cast<std::int64_t>(Vehicles));
    ASSERT_EQ(history_, 2 * vehicles_);
    storiaRoot_ = numberFrom(path_, "SELECT rootpage FROM sqlite_master WHERE name = 'storia'");
  }

  // Runs Database > Ripara on the register: its one message.
  std::string repair() {
    RecordingPrompter prompter;
    prompter.files.push_back(path_);
    EXPECT_EQ(RepairDatabaseCommand(prompter), ui::Outcome::Done);
    EXPECT_EQ(prompter.messages.size(), 1u);
    return prompter.messages.empty() ? std::string() : prompter.messages[0].text;
  }

  std::int64_t count(const std::string& table, const std::string& where = "1") {
    return numberFrom(path_, "SELECT count(*) FROM " + table + " WHERE " + where);
  }

  void editBytes(const std::function<void(std::string&)>& edit) {
    std::string bytes = bytesOf(path_);
    edit(bytes);
    writeBytes(path_, bytes);
  }

  TempDir dir_;
  std::string path_ = dir_.file("registro.mdb");
  std::int64_t vehicles_ = 0, history_ = 0, communications_ = 0, storiaRoot_ = 0;
};

TEST_F(RepairRegister, ALeafDroppedFromItsTreeIsReadFromThePages) {
  // The second child pointer of the root copied over the first: the first
  // leaf is still in the file, but no tree reaches it.
  editBytes([&](std::string& bytes) {
    const std::size_t root = pageStart(storiaRoot_);
    ASSERT_EQ(static_cast<unsigned char>(bytes[root]), 0x05);
    const auto cell = [&](int i) {
      return root + static_cast<unsigned char>(bytes[root + 12 + 2 * i]) * 256u +
             static_cast<unsigned char>(bytes[root + 13 + 2 * i]);
    };
    bytes.replace(cell(0), 4, bytes.substr(cell(1), 4));
  });
  const std::string text = repair();
  EXPECT_EQ(count("storia"), history_);
  EXPECT_NE(text.find("Tavola storia: " + std::to_string(history_) + " righe salvate ("),
            std::string::npos)
      << text;
  EXPECT_NE(text.find(" lette dalle pagine del file), 0 messe da parte, 0 illeggibili\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Il file danneggiato è conservato in \"" + path_ + ".danneggiato\""),
            std::string::npos)
      << text;
}

// The second leaf of bus cut to its first cell, and the root's pointer to its
// fourth leaf turned to a leaf of storia (rows of the same shape) whose
// rowids begin within the second's: reading on from the third leaf meets
// rowids out of order, and none of those rows is taken for a vehicle.
TEST_F(RepairRegister, RowsOfAnotherTableGraftedIntoTheTreeAreNotTaken) {
  const std::string original = dir_.file("originale.mdb");
  std::filesystem::copy_file(path_, original);
  const auto busRoot = numberFrom(path_, "SELECT rootpage FROM sqlite_master WHERE name = 'bus'");
  const auto pages = db::engine::FilePages::read(path_);
  ASSERT_TRUE(pages);
  std::string bytes = bytesOf(path_);
  const std::size_t root = pageStart(busRoot);
  ASSERT_EQ(static_cast<unsigned char>(bytes[root]), 0x05);
  const auto childCell = [&](int i) {
    return root + static_cast<unsigned char>(bytes[root + 12 + 2 * i]) * 256u +
           static_cast<unsigned char>(bytes[root + 13 + 2 * i]);
  };
  const auto childPage = [&](int i) {
    db::engine::PageNumber page = 0;
    for (int b = 0; b < 4; ++b)
      page = page * 256 + static_cast<unsigned char>(bytes[childCell(i) + b]);
    return page;
  };
  std::int64_t unread = 0;
  const auto second = pages->rowsOn(childPage(1), unread);
  ASSERT_GT(second.size(), 2u);
  db::engine::PageNumber graft = 0;
  for (const auto leaf : pagesOf(path_, "storia", "leaf")) {
    const auto rows = pages->rowsOn(static_cast<db::engine::PageNumber>(leaf), unread);
    if (!rows.empty() && rows.front().rowid >= second.front().rowid &&
        rows.front().rowid <= second.back().rowid)
      graft = static_cast<db::engine::PageNumber>(leaf);
  }
  ASSERT_NE(graft, 0u);
  // One cell left: SQLite reads that row and goes on to the next leaf.
  bytes[pageStart(childPage(1)) + 3] = '\0';
  bytes[pageStart(childPage(1)) + 4] = '\1';
  for (int b = 0; b < 4; ++b)
    bytes[childCell(3) + b] = static_cast<char>((graft >> (8 * (3 - b))) & 0xff);
  writeBytes(path_, bytes);
  repair();
  EngineStatus status;
  const auto db = testing::openForReading(path_);
  ASSERT_EQ(testing::executeRaw(db.get(), "ATTACH '" + original + "' AS originale"), SQLITE_OK);
  SqliteStatement foreign(db.get(),
                          "SELECT count(*) FROM (SELECT rowid, * FROM bus EXCEPT "
                          "SELECT rowid, * FROM originale.bus)",
                          status);
  ASSERT_TRUE(foreign.step(status)) << status.text;
  EXPECT_EQ(foreign.columnInt(0), 0);
  EXPECT_GT(count("bus"), vehicles_ / 2);
}

TEST_F(RepairRegister, AZeroedRootLosesNoRowOfItsLeaves) {
  editBytes([&](std::string& bytes) {
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(pageStart(storiaRoot_)), PageSize,
                '\0');
  });
  repair();
  EXPECT_EQ(count("storia"), history_);
  EXPECT_EQ(count("bus"), vehicles_);
  EXPECT_EQ(count("storia s", "EXISTS (SELECT 1 FROM bus b WHERE b.telaio = s.telaio)"), history_);
}

TEST_F(RepairRegister, ADamagedTableDefinitionStopsNeitherTheRepairNorTheRegister) {
  editBytes([](std::string& bytes) {
    const std::size_t at = bytes.find("CREATE TABLE \"relaz\"");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 3] = 'X';
  });
  {
    EngineStatus status;
    EXPECT_FALSE(EngineDatabase::open(path_, status));
  }
  const std::string text = repair();
  EXPECT_EQ(count("bus"), vehicles_);
  EXPECT_EQ(count("storia"), history_);
  EXPECT_EQ(count("comunica"), communications_);
  EXPECT_GT(count("relaz"), 0);
  EXPECT_NE(text.find("tutte le righe sono state salvate"), std::string::npos) << text;
}

TEST_F(RepairRegister, AZeroedPageOfTheSchemaTableLosesNoRow) {
  const auto schemaLeaves = pagesOf(path_, "sqlite_schema", "leaf");
  ASSERT_GE(schemaLeaves.size(), 2u);
  for (const std::int64_t leaf : schemaLeaves) {
    if (leaf == 1) continue;
    editBytes([&](std::string& bytes) {
      std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(pageStart(leaf)), PageSize, '\0');
    });
    break;
  }
  repair();
  EXPECT_EQ(count("bus"), vehicles_);
  EXPECT_EQ(count("storia"), history_);
  EXPECT_EQ(count("comunica"), communications_);
}

TEST_F(RepairRegister, ATextThatIsNotUtf8IsSetAsideNotKept) {
  const auto busLeaves = pagesOf(path_, "bus", "leaf");
  editBytes([&](std::string& bytes) {
    const std::size_t at = bytes.find("LIB0000007", pageStart(busLeaves.front()));
    ASSERT_LT(at, pageStart(busLeaves.back() + 1));
    bytes[at] = '\xff';
  });
  const std::string text = repair();
  EXPECT_EQ(count("bus"), vehicles_ - 1);
  EXPECT_EQ(count("bus", "libretto NOT LIKE 'LIB%'"), 0);
  EXPECT_EQ(count("righe_messe_da_parte",
                  "tavola = 'bus' AND motivo = 'testo non valido nel campo libretto'"),
            1);
  // Its history, which names a vehicle no longer there, is set aside with it.
  EXPECT_EQ(count("storia"), history_ - 2);
  EXPECT_NE(text.find("Tavola bus: " + std::to_string(vehicles_ - 1) +
                      " righe salvate, 1 messe da parte, 0 illeggibili\n"),
            std::string::npos)
      << text;
}

// A byte of a chassis changed in place: the row reads well, but the index
// of chassis does not hold it under its rowid, so it makes no new vehicle.
TEST_F(RepairRegister, AnAlteredChassisIsSetAsideNotKeptAsAVehicle) {
  const auto busLeaves = pagesOf(path_, "bus", "leaf");
  const std::string chassis = veltra::testing::SyntheticChassis(1, 7);
  editBytes([&](std::string& bytes) {
    const std::size_t at = bytes.find(chassis, pageStart(busLeaves.front()));
    ASSERT_LT(at, pageStart(busLeaves.back() + 1));
    bytes[at + chassis.size() - 1] ^= 0x01;
  });
  repair();
  EXPECT_EQ(count("bus"), vehicles_ - 1);
  EXPECT_EQ(count("bus", "telaio = '" + chassis + "'"), 0);
  EXPECT_EQ(count("righe_messe_da_parte",
                  "tavola = 'bus' AND motivo = 'valori diversi da quelli degli indici'"),
            1);
}

TEST_F(RepairRegister, AnOrphanHistoryRowIsSetAsideAndNothingIsMadeUp) {
  {
    EngineStatus status;
    auto db = EngineDatabase::open(path_, status);
    ASSERT_TRUE(db->execute(
        "PRAGMA foreign_keys = OFF; INSERT INTO storia SELECT 'ORFANO', '2011-11-11', 99, "
        "ambito, prop, interno, libretto, targa, prima, tipo, dtimm, dest, carroz, aliment, "
        "sedere, piedi, handicap, lung, altezza, aria, pedana, prezzo, contrib, contrib2, atto, "
        "datini, datfin, datrad FROM storia LIMIT 1"));
  }
  repair();
  EXPECT_EQ(count("comunica"), communications_);
  EXPECT_EQ(count("bus"), vehicles_);
  EXPECT_EQ(count("storia"), history_);
  EXPECT_EQ(count("righe_messe_da_parte", "tavola = 'storia' AND valori LIKE '%ORFANO%'"), 1);
}

}  // namespace
}  // namespace veltra::schema
