// The fleet situation export over a long history: vehicles x communications
// rows of storia (50,000 vehicles of 50 companies, each company sending 20
// communications, is a million rows), the state as of a day after the last
// one, so that every row is read. Beside it the sqlite3 shell runs the same
// statement, as the engine hands it to SQLite, with its rows written to a file.
//
// The register is built once with generated communications and kept in
// /tmp/veltra-fleet-bench/ (a few minutes for the million rows); delete the
// folder to build it again. Run by hand, one benchmark per process so that
// each peak memory figure is its own:
//   build/release/bench/fleet_export_bench --benchmark_filter=FleetExport/50000/20
//
// Counters: peak_extra_MiB is the growth of the resident set during the timed
// part over what it was before; for the shell, peak_MiB is the shell
// process's own peak. The export's memory should follow the vehicles, not the
// history: compare /50000/20 with /50000/2 (ten times fewer rows).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/BenchSupport.h"
#include "comms/ApplyCommunication.h"
#include "comms/FleetSituationExport.h"
#include "db/DatabaseConnection.h"
#include "schema/DatabaseCreation.h"
#include "ui/Prompter.h"
#include "synthetic/SyntheticCommunication.h"

namespace {

using namespace veltra::bench;

namespace fs = std::filesystem;
using namespace veltra;

constexpr std::size_t VehiclesPerCompany = 1000;
// After every generated communication: the state of every vehicle is its last row.
constexpr const char* ExportDay = "31/12/2030";
const fs::path CacheFolder = "/tmp/veltra-fleet-bench";

// Communication number n of every company: the 15th of successive months.
std::string communicationDate(int n) {
  char text[32];
  std::snprintf(text, sizeof text, "15/%02d/%04d", 1 + n % 12, 2010 + n / 12);
  return text;
}

void buildRegister(const fs::path& path, std::size_t vehicles, int communications) {
  const fs::path partial = path.string() + ".partial";
  fs::remove(partial);
  BenchPrompter prompter;
  if (schema::BuildNewDatabase(prompter, partial.string(), "") != schema::BuildOutcome::Complete)
    std::abort();
  db::DatabaseConnection connection(prompter, partial.string());
  const auto companies = static_cast<std::int32_t>(vehicles / VehiclesPerCompany);
  for (int n = 0; n < communications; ++n) {
    for (std::int32_t azienda = 1; azienda <= companies; ++azienda) {
      int inserted = 0;
      int updated = 0;
      const auto communication =
          testing::SyntheticCommunication(azienda, communicationDate(n), VehiclesPerCompany, n);
      if (!comms::ApplyCommunication(connection, communication, inserted, updated)) std::abort();
    }
    std::fprintf(stderr, "register %zux%d: communication %d of %d applied\n", vehicles,
                 communications, n + 1, communications);
  }
  fs::rename(partial, path);
}

// The cached register of vehicles x communications history rows.
std::string registerOf(std::size_t vehicles, int communications) {
  fs::create_directories(CacheFolder);
  const fs::path path = CacheFolder / ("fleet_" + std::to_string(vehicles) + "x" +
                                       std::to_string(communications) + ".mdb");
  if (!fs::exists(path)) buildRegister(path, vehicles, communications);
  return path.string();
}
long lineCount(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  long lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

void reportSize(benchmark::State& state) {
  const auto rows = state.range(0) * state.range(1);
  state.counters["vehicles"] = static_cast<double>(state.range(0));
  state.counters["history_rows"] = static_cast<double>(rows);
  state.SetItemsProcessed(state.iterations() * rows);
}

void BM_FleetExport(benchmark::State& state) {
  const std::string database =
      registerOf(static_cast<std::size_t>(state.range(0)), static_cast<int>(state.range(1)));
  const std::string output = (CacheFolder / "SituazioneMezzi.txt").string();
  comms::FleetExportChoice choice;
  choice.date = ExportDay;
  long peakExtraKiB = 0;
  for (auto _ : state) {
    state.PauseTiming();
    malloc_trim(0);
    const long before = statusKiB("VmRSS:");
    resetPeak();
    state.ResumeTiming();
    {
      BenchPrompter prompter(output);
      db::DatabaseConnection connection(prompter, database);
      if (comms::ExportFleetSituation(connection, choice) != comms::FleetExportStatus::Written)
        state.SkipWithError("the export did not write its file");
    }
    state.PauseTiming();
    peakExtraKiB = std::max(peakExtraKiB, statusKiB("VmHWM:") - before);
    // Six lines of criteria and column names, then one per vehicle.
    if (lineCount(output) != 6 + state.range(0)) state.SkipWithError("vehicles missing");
    state.ResumeTiming();
  }
  reportSize(state);
  state.counters["peak_extra_MiB"] = static_cast<double>(peakExtraKiB) / 1024.0;
}

// The export's statement after the engine's translation: the date literal
// becomes the stored date text.
constexpr const char* ShellStatement =
    "SELECT storia.telaio, storia.data, storia.azienda, regazi.denom, storia.ambito, regprv.denom,"
    " storia.prop, storia.interno, storia.libretto, storia.targa, storia.prima, storia.tipo,"
    " storia.dtimm, storia.dest, storia.carroz, storia.aliment, storia.sedere, storia.piedi,"
    " storia.handicap, storia.lung, storia.altezza, storia.aria, storia.pedana, storia.prezzo,"
    " storia.contrib, storia.contrib2, storia.atto, storia.datini, storia.datfin, storia.datrad\n"
    "FROM storia, regazi, regprv\n"
    "WHERE storia.data <= '2030-12-31'  AND storia.azienda = regazi.codice"
    " AND storia.ambito = regprv.codice\n"
    "ORDER BY storia.telaio, storia.data\n";

void BM_SqliteShellFleetQuery(benchmark::State& state) {
  const std::string database =
      registerOf(static_cast<std::size_t>(state.range(0)), static_cast<int>(state.range(1)));
  const std::string output = (CacheFolder / "shell_rows.txt").string();
  for (auto _ : state) {
    if (runShell({"sqlite3", "-readonly", database, ShellStatement}, output) != 0)
      state.SkipWithError("the sqlite3 shell failed");
    state.PauseTiming();
    if (lineCount(output) != state.range(0) * state.range(1)) state.SkipWithError("rows missing");
    state.ResumeTiming();
  }
  reportSize(state);
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  state.counters["peak_MiB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
}

}  // namespace

BENCHMARK(BM_FleetExport)
    ->Args({50000, 2})
    ->Args({50000, 20})
    ->Args({5000, 20})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_SqliteShellFleetQuery)
    ->Args({50000, 2})
    ->Args({50000, 20})
    ->Args({5000, 20})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

BENCHMARK_MAIN();
