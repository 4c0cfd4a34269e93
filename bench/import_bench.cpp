// Importing a generated company communication into a fresh database: the
// first time every vehicle is new (inserts), then the next day's
// communication of the same vehicles (updates). In the same run, on the same
// database, SQLite's C API alone does the same database work: one
// transaction, the comunica row, then per vehicle a seek of bus by chassis,
// an update or an insert of bus and an insert into storia, with prepared
// statements and typed values. Run by hand, with a Release build:
//   build/speed/bench/import_bench --benchmark_filter=Inserts/20000
//
// BM_ImportOnServer compares the same import into a register on a PostgreSQL
// server (VELTRA_BENCH_SERVER, the URI of a database from which new ones can
// be created, e.g. scripts/test-cluster's) with the import into a file, in the
// same run: server_ms, file_ms, server_ratio, and round_trips_per_vehicle, the
// times the program waited for the server (what a network multiplies).
//
// Counters (medians of the runs): program_ms is the import as the command
// runs it (reading and checking the file, then applying it), check_ms its
// file part alone, apply_ms its database part, sqlite_ms the baseline; ratio is program_ms over
// sqlite_ms, apply_ratio apply_ms over sqlite_ms, and the cpu ratios the
// same in processor time, steadier on a busy machine. peak_extra_MiB is the
// largest growth of the resident set during the program's import.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "comms/ApplyCommunication.h"
#include "comms/CommunicationReader.h"
#include "comms/TaggedFileWriter.h"
#include "comms/VehicleFields.h"
#include "db/DatabaseConnection.h"
#include "db/server/ServerConnection.h"
#include "db/server/ServerDatabase.h"
#include "schema/DatabaseCreation.h"
#include "support/BenchSupport.h"
#include "support/RawSqlite.h"
#include "synthetic/SyntheticCommunication.h"

namespace {

using namespace veltra;
using namespace veltra::bench;
namespace fs = std::filesystem;

// A scratch folder with the two communications of n vehicles.
class Workspace {
 public:
  explicit Workspace(std::size_t vehicles)
      : first_(testing::SyntheticCommunication(7, "15/03/2024", vehicles)),
        next_(testing::SyntheticCommunication(7, "16/03/2024", vehicles, 1)) {
    char pattern[] = "/tmp/veltra-import-bench-XXXXXX";
    folder_ = mkdtemp(pattern);
    std::ofstream(file("first.txt"), std::ios::binary)
        << comms::CommunicationFileText(first_).value();
    std::ofstream(file("next.txt"), std::ios::binary)
        << comms::CommunicationFileText(next_).value();
  }
  ~Workspace() { fs::remove_all(folder_); }

  std::string file(const std::string& name) const { return (folder_ / name).string(); }
  std::string database() const { return file("VELTRA.MDB"); }
  const comms::Communication& first() const { return first_; }
  const comms::Communication& next() const { return next_; }

  void freshDatabase() {
    fs::remove(database());
    BenchPrompter prompter;
    if (!schema::BuildNewDatabase(prompter, database(), "").done()) std::abort();
  }

 private:
  comms::Communication first_;
  comms::Communication next_;
  fs::path folder_;
};

struct ImportTimes {
  Timing check;
  Timing apply;
  int inserted = 0;
  int updated = 0;
  long roundTrips = 0;  // on a server
};

// What the import command does once the user confirmed: check the file whole, apply it.
ImportTimes importFile(const std::string& database, const std::string& file) {
  BenchPrompter prompter;
  db::DatabaseConnection connection(prompter, database);
  ImportTimes times;
  std::optional<comms::Communication> communication;
  times.check = timingOf([&] {
    std::ifstream in(file, std::ios::binary);
    communication = comms::CheckCommunication(in).communication;
  });
  if (!communication) std::abort();
  times.apply = timingOf([&] {
    const auto applied = comms::ApplyCommunication(connection, *communication);
    if (!applied.done()) std::abort();
    times.inserted = applied.payload.inserted;
    times.updated = applied.payload.updated;
  });
  if (const auto* server = dynamic_cast<db::engine::ServerDatabase*>(connection.EngineDatabase()))
    times.roundTrips = server->roundTrips();
  return times;
}

// ---- The baseline: the same rows through SQLite's C API ----

// "GG/MM/AAAA" as stored, with the program's no-date and open-end values.
std::string storedDate(const std::string& text) {
  if (text == "00/00/0000") return "1600-01-01";
  if (text == "99/99/9999") return "2400-12-31";
  return text.substr(6, 4) + "-" + text.substr(3, 2) + "-" + text.substr(0, 2);
}

bool isDateColumn(std::string_view name) {
  return name == "prima" || name == "dtimm" || name == "datini" || name == "datfin" ||
         name == "datrad";
}

std::string vehicleColumns() {
  std::string list;
  for (const auto& field : comms::VehicleFields) list.append(", ").append(field.name);
  return list;
}

std::string parameters(std::size_t count) {
  std::string list = "?";
  for (std::size_t i = 1; i < count; ++i) list += ", ?";
  return list;
}

std::string updateSql() {
  std::string sql = "UPDATE bus SET data = ?, azienda = ?";
  for (const auto& field : comms::VehicleFields) sql.append(", ").append(field.name).append(" = ?");
  return sql + " WHERE rowid = ?";
}

std::string insertSql(const char* table) {
  return std::string("INSERT INTO ") + table + " (telaio, data, azienda" + vehicleColumns() +
         ") VALUES (" + parameters(3 + comms::VehicleFields.size()) + ")";
}

void bindText(sqlite3_stmt* stmt, int index, const std::string& text) {
  if (text.empty())
    sqlite3_bind_null(stmt, index);
  else
    sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Binds data, azienda and the vehicle fields from parameter first on; the next free one.
int bindState(sqlite3_stmt* stmt, int first, const std::string& data, int azienda,
              const comms::VehicleData& vehicle) {
  int index = first;
  sqlite3_bind_text(stmt, index++, data.data(), static_cast<int>(data.size()), SQLITE_STATIC);
  sqlite3_bind_int(stmt, index++, azienda);
  for (const auto& field : comms::VehicleFields) {
    switch (field.kind) {
      case comms::FieldKind::Text: {
        const auto& text = comms::VehicleValue<std::string>(field, vehicle);
        bindText(stmt, index++,
                 isDateColumn(field.name) && !text.empty() ? storedDate(text) : text);
        break;
      }
      case comms::FieldKind::Whole:
        sqlite3_bind_int(stmt, index++, comms::VehicleValue<std::int32_t>(field, vehicle));
        break;
      case comms::FieldKind::Flag:
        sqlite3_bind_int(stmt, index++, comms::VehicleValue<std::int32_t>(field, vehicle) == 1);
        break;
      case comms::FieldKind::Length:
      case comms::FieldKind::Height:
      case comms::FieldKind::Amount:
        sqlite3_bind_double(stmt, index++, comms::VehicleValue<double>(field, vehicle));
        break;
    }
  }
  return index;
}

void run(sqlite3* db, sqlite3_stmt* stmt) {
  if (sqlite3_step(stmt) != SQLITE_DONE) sqliteFailed(db, "write");
  sqlite3_reset(stmt);
}

void baselineApply(const std::string& database, const comms::Communication& communication) {
  RawDatabase db(database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
  db.execute("BEGIN IMMEDIATE");
  const std::string date = storedDate(communication.date());
  auto comunica = db.prepare("INSERT INTO comunica (azienda, data) VALUES (?, ?)");
  sqlite3_bind_int(comunica.get(), 1, communication.azienda());
  sqlite3_bind_text(comunica.get(), 2, date.data(), -1, SQLITE_STATIC);
  run(db.handle(), comunica.get());
  auto seek = db.prepare("SELECT rowid FROM bus WHERE telaio = ?");
  auto update = db.prepare(updateSql());
  auto insertBus = db.prepare(insertSql("bus"));
  auto insertStoria = db.prepare(insertSql("storia"));
  for (const auto& entry : communication.entries()) {
    bindText(seek.get(), 1, entry.telaio);
    const bool known = sqlite3_step(seek.get()) == SQLITE_ROW;
    const sqlite3_int64 rowid = known ? sqlite3_column_int64(seek.get(), 0) : 0;
    sqlite3_reset(seek.get());
    if (known) {
      const int last = bindState(update.get(), 1, date, communication.azienda(), entry.vehicle);
      sqlite3_bind_int64(update.get(), last, rowid);
      run(db.handle(), update.get());
    } else {
      bindText(insertBus.get(), 1, entry.telaio);
      bindState(insertBus.get(), 2, date, communication.azienda(), entry.vehicle);
      run(db.handle(), insertBus.get());
    }
    bindText(insertStoria.get(), 1, entry.telaio);
    bindState(insertStoria.get(), 2, date, communication.azienda(), entry.vehicle);
    run(db.handle(), insertStoria.get());
  }
  db.execute("COMMIT");
}

// ---- Side by side ----

// Each run starts from a fresh database; the updates find the first communication in it.
void compareImports(benchmark::State& state, bool updates) {
  Workspace work(static_cast<std::size_t>(state.range(0)));
  const auto& communication = updates ? work.next() : work.first();
  const std::string file = work.file(updates ? "next.txt" : "first.txt");
  const auto prepare = [&] {
    work.freshDatabase();
    if (updates) importFile(work.database(), work.file("first.txt"));
  };
  Comparison whole, apply;
  std::vector<double> checks;
  long peakExtraKiB = 0;
  for (auto _ : state) {
    prepare();
    const Timing baseline = timingOf([&] { baselineApply(work.database(), communication); });
    whole.baseline.push_back(baseline);
    apply.baseline.push_back(baseline);
    prepare();
    ImportTimes times;
    const Measure measured = measure([&] { times = importFile(work.database(), file); });
    if ((updates ? times.updated : times.inserted) != state.range(0))
      state.SkipWithError("vehicles missing");
    whole.program.push_back(measured.timing);
    apply.program.push_back(times.apply);
    checks.push_back(times.check.ms);
    peakExtraKiB = std::max(peakExtraKiB, measured.peakExtraKiB);
  }
  apply.report(state, "apply", "apply_");
  whole.report(state, "program");
  state.counters["check_ms"] = median(checks);
  state.counters["vehicles"] = static_cast<double>(state.range(0));
  state.counters["peak_extra_MiB"] = static_cast<double>(peakExtraKiB) / 1024.0;
}

void BM_ImportInserts(benchmark::State& state) {
  compareImports(state, false);
}
void BM_ImportUpdates(benchmark::State& state) {
  compareImports(state, true);
}

// A new register on the server, named after the run, dropped when done
// with: the server's upkeep of registers left behind would run beside the
// next imports and weigh on their times.
class ServerRegister {
 public:
  explicit ServerRegister(std::string server) : server_(std::move(server)) {
    static int made = 0;
    name_ = "veltra_bench_" + std::to_string(getpid()) + "_" + std::to_string(++made);
    const auto path = server_.find('/', server_.find("://") + 3);
    const auto query = server_.find('?');
    uri_ = server_.substr(0, path) + "/" + name_ +
           (query == std::string::npos ? "" : server_.substr(query));
    BenchPrompter prompter;
    if (!schema::BuildNewDatabase(prompter, uri_, "").done()) std::abort();
  }
  ~ServerRegister() {
    db::engine::EngineStatus status;
    const auto maintenance = db::engine::connectToServer(server_, status);
    if (maintenance) db::engine::runOnServer(maintenance.get(), "DROP DATABASE " + name_, status);
  }
  ServerRegister(const ServerRegister&) = delete;
  ServerRegister& operator=(const ServerRegister&) = delete;

  const std::string& uri() const { return uri_; }

 private:
  std::string server_, name_, uri_;
};

// range(1): 0 imports into an empty register (every vehicle new), 1 imports
// the next communication of the same vehicles (every vehicle updated).
void BM_ImportOnServer(benchmark::State& state) {
  const char* server = std::getenv("VELTRA_BENCH_SERVER");
  if (server == nullptr) return state.SkipWithError("VELTRA_BENCH_SERVER names no server");
  Workspace work(static_cast<std::size_t>(state.range(0)));
  const bool updates = state.range(1) != 0;
  const auto timed = [&](const std::string& database) {
    if (updates) importFile(database, work.file("first.txt"));
    const ImportTimes times = importFile(database, work.file(updates ? "next.txt" : "first.txt"));
    if ((updates ? times.updated : times.inserted) != state.range(0))
      state.SkipWithError("vehicles missing");
    return times;
  };
  std::vector<double> fileMs, serverMs, trips;
  for (auto _ : state) {
    work.freshDatabase();
    fileMs.push_back(timed(work.database()).apply.ms);
    const ImportTimes times = timed(ServerRegister(server).uri());
    serverMs.push_back(times.apply.ms);
    trips.push_back(static_cast<double>(times.roundTrips) / static_cast<double>(state.range(0)));
  }
  state.counters["file_ms"] = median(fileMs);
  state.counters["server_ms"] = median(serverMs);
  state.counters["server_ratio"] = median(serverMs) / median(fileMs);
  state.counters["round_trips_per_vehicle"] = median(trips);
}

}  // namespace

BENCHMARK(BM_ImportOnServer)->Args({20000, 0})->Args({20000, 1})->Iterations(3);
BENCHMARK(BM_ImportInserts)->Arg(1000)->Arg(20000)->Arg(100000)->Iterations(7);
BENCHMARK(BM_ImportUpdates)->Arg(1000)->Arg(20000)->Arg(100000)->Iterations(7);

BENCHMARK_MAIN();
