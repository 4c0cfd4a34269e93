// Writing rows of a 28-column table through TableCursor (AddNew, 28 SetField
// from text, Update) inside one transaction, side by side with raw SQLite
// prepared inserts of the same values. Run by hand:
//   build/release/bench/table_cursor_bench

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "db/DatabaseConnection.h"
#include "db/TableCursor.h"
#include "db/engine/EngineDatabase.h"
#include "db/engine/TableDef.h"
#include "support/BenchSupport.h"
#include "ui/Prompter.h"

namespace {

using namespace veltra::bench;

using veltra::db::FieldType;

struct Column {
  const char* name;
  FieldType type;
  int size;
  const char* value;  // the text the cursor is given
};

// The shape of a vehicle row: texts, dates, small integers, lengths and amounts.
constexpr std::array<Column, 28> Columns{{
    {"telaio", FieldType::Text, 40, nullptr},
    {"data", FieldType::Date, 0, "15/03/2005"},
    {"azienda", FieldType::Integer, 0, "17"},
    {"ambito", FieldType::Integer, 0, "3"},
    {"prop", FieldType::Text, 40, "Autolinee Ombrena"},
    {"interno", FieldType::Text, 10, "A123"},
    {"libretto", FieldType::Text, 20, "LB998877"},
    {"targa", FieldType::Text, 10, "AB123CD"},
    {"prima", FieldType::Date, 0, "01/02/1999"},
    {"tipo", FieldType::Text, 20, "IVECO 490"},
    {"dtimm", FieldType::Date, 0, "03/02/1999"},
    {"dest", FieldType::Text, 15, "Linea"},
    {"carroz", FieldType::Text, 15, "Urbano"},
    {"aliment", FieldType::Text, 15, "Gasolio"},
    {"sedere", FieldType::Integer, 0, "32"},
    {"piedi", FieldType::Integer, 0, "70"},
    {"handicap", FieldType::Integer, 0, "1"},
    {"lung", FieldType::Double, 0, "12000,000"},
    {"altezza", FieldType::Double, 0, "350,0"},
    {"aria", FieldType::Boolean, 0, "1"},
    {"pedana", FieldType::Boolean, 0, "0"},
    {"prezzo", FieldType::Double, 0, "180000,00"},
    {"contrib", FieldType::Double, 0, "90000,00"},
    {"contrib2", FieldType::Double, 0, "0,00"},
    {"atto", FieldType::Text, 15, "DGR 12/2004"},
    {"datini", FieldType::Date, 0, "10/03/1999"},
    {"datfin", FieldType::Date, 0, "31/12/2015"},
    {"datrad", FieldType::Date, 0, "00/00/0000"},
}};

// The schema must be whole, or the timings measure refusals.
void require(const veltra::db::engine::EngineStatus& status) {
  if (status) return;
  std::fprintf(stderr, "%s\n", status.text.c_str());
  std::abort();
}

std::string freshDatabase() {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("veltra-bench-" + std::to_string(getpid()) + ".mdb"))
                               .string();
  std::filesystem::remove(path);
  veltra::db::engine::EngineStatus status;
  auto db = veltra::db::engine::EngineDatabase::create(path, status);
  auto table = db->createTableDef("bus");
  for (const auto& c : Columns) {
    veltra::db::engine::FieldDef field;
    field.name = c.name;
    field.type = c.type;
    field.size = c.size;
    field.required = true;
    require(table->createField(field));
  }
  require(table->append());
  require(table->createIndex({"codice", {{"telaio", false}}, true, true}));
  return path;
}

std::string chassis(long n) {
  return "ZCF" + std::to_string(1000000 + n);
}

void CursorInserts(benchmark::State& state) {
  const long rows = state.range(0);
  for (auto _ : state) {
    state.PauseTiming();
    const std::string path = freshDatabase();
    state.ResumeTiming();
    BenchPrompter prompter;
    {
      veltra::db::DatabaseConnection connection(prompter, path);
      veltra::db::BulkTransaction transaction(connection);
      veltra::db::TableCursor bus(&connection, "bus");
      for (long n = 0; n < rows; ++n) {
        bus.AddNew();
        for (const auto& c : Columns) bus.SetField(c.name, c.value ? c.value : chassis(n));
        bus.Update();
      }
      transaction.Commit();
    }
    if (!prompter.messages.empty()) state.SkipWithError(prompter.messages.front().c_str());
    state.PauseTiming();
    std::filesystem::remove(path);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * rows);
}

// The same rows with SQLite's own prepared insert, values already in stored form.
void RawSqliteInserts(benchmark::State& state) {
  const long rows = state.range(0);
  const char* stored[28] = {
      nullptr,      "2005-03-15", "17",        "3",          "Autolinee Ombrena",
      "A123",       "LB998877",   "AB123CD",   "1999-02-01", "IVECO 490",
      "1999-02-03", "Linea",      "Urbano",    "Gasolio",    "32",
      "70",         "1",          "12000.0",   "350.0",      "1",
      "0",          "180000.0",   "90000.0",   "0.0",        "DGR 12/2004",
      "1999-03-10", "2015-12-31", "1600-01-01"};
  for (auto _ : state) {
    state.PauseTiming();
    const std::string path = freshDatabase();
    state.ResumeTiming();
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    std::string sql = "INSERT INTO bus VALUES (?";
    for (int i = 1; i < 28; ++i) sql += ", ?";
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, (sql + ")").c_str(), -1, &stmt, nullptr);
    for (long n = 0; n < rows; ++n) {
      const std::string key = chassis(n);
      for (int i = 0; i < 28; ++i) {
        const FieldType type = Columns[i].type;
        if (i == 0)
          sqlite3_bind_text(stmt, 1, key.c_str(), -1, SQLITE_TRANSIENT);
        else if (type == FieldType::Integer || type == FieldType::Boolean)
          sqlite3_bind_int(stmt, i + 1, std::atoi(stored[i]));
        else if (type == FieldType::Double)
          sqlite3_bind_double(stmt, i + 1, std::atof(stored[i]));
        else
          sqlite3_bind_text(stmt, i + 1, stored[i], -1, SQLITE_STATIC);
      }
      if (sqlite3_step(stmt) != SQLITE_DONE) state.SkipWithError(sqlite3_errmsg(db));
      sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    state.PauseTiming();
    std::filesystem::remove(path);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * rows);
}

}  // namespace

BENCHMARK(CursorInserts)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(RawSqliteInserts)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
