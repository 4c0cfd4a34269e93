// The fleet situation export over a long history: vehicles x communications
// rows of storia (50,000 vehicles of 50 companies, each company sending 20
// communications, is a million rows), the state as of a day after the last
// one. In the same run SQLite's C API alone runs the best statement for the
// same rows (one walk of bus, per chassis one seek of its latest history row
// on or before the day and one of its first spelling) and writes them to a
// file, as a shell would.
//
// The register is that of support/FleetRegister.h. Run by hand, with a Release build:
//   build/speed/bench/fleet_export_bench --benchmark_filter=FleetExport/50000/20
//
// BM_FleetStatistics computes the figures of the "Statistiche Parco" for the
// same day over the same register, beside the export: figures_ms and
// export_ms, their ratio and cpu_ratio; the same states are read, so the
// figures should cost about what the export does.
//
// Counters (medians of the runs): export_ms is the whole command, from
// opening the database to the written file; sqlite_ms the baseline; ratio
// export_ms over sqlite_ms, cpu_ratio the same in processor time, steadier
// on a busy machine. peak_extra_MiB is the largest growth of the
// resident set during the export: it follows the vehicles, not the history
// (compare /50000/20 with /50000/2).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "comms/FleetSituationExport.h"
#include "comms/FleetStatistics.h"
#include "db/DatabaseConnection.h"
#include "support/BenchSupport.h"
#include "support/FleetRegister.h"
#include "support/RawSqlite.h"

namespace {

using namespace veltra::bench;

using namespace veltra;

// After every generated communication: the state of every vehicle is its last row.
constexpr const char* ExportDay = "31/12/2030";

long lineCount(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  long lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

// The day as stored; the export's own day is ExportDay.
constexpr const char* StoredExportDay = "2030-12-31";

// The rows of the export: of each vehicle the latest history row on or
// before the day, under the chassis spelling of its first one.
constexpr const char* BestStatement =
    "SELECT (SELECT earliest.telaio FROM storia AS earliest WHERE earliest.telaio = bus.telaio"
    " AND earliest.data <= ?1 ORDER BY earliest.data LIMIT 1),"
    " storia.data, storia.azienda, regazi.denom, regprv.denom, storia.ambito,"
    " storia.prop, storia.interno, storia.libretto, storia.targa, storia.prima, storia.tipo,"
    " storia.dtimm, storia.dest, storia.carroz, storia.aliment, storia.sedere, storia.piedi,"
    " storia.handicap, storia.lung, storia.altezza, storia.aria, storia.pedana, storia.prezzo,"
    " storia.contrib, storia.atto, storia.contrib2, storia.datini, storia.datfin, storia.datrad"
    " FROM bus, storia, regazi, regprv"
    " WHERE storia.telaio = bus.telaio AND storia.data = (SELECT MAX(latest.data) FROM storia"
    " AS latest WHERE latest.telaio = bus.telaio AND latest.data <= ?1)"
    " AND storia.azienda = regazi.codice AND storia.ambito = regprv.codice"
    " ORDER BY bus.telaio";

// Every row, its columns as text separated by TABs, into the file.
void baselineExport(const std::string& database, const std::string& output) {
  RawDatabase db(database, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
  auto stmt = db.prepare(BestStatement);
  sqlite3_bind_text(stmt.get(), 1, StoredExportDay, -1, SQLITE_STATIC);
  const int columns = sqlite3_column_count(stmt.get());
  std::string text;
  int code = SQLITE_ROW;
  while ((code = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    for (int i = 0; i < columns; ++i) {
      if (i > 0) text += '\t';
      const auto* value = sqlite3_column_text(stmt.get(), i);
      if (value != nullptr) text.append(reinterpret_cast<const char*>(value));
    }
    text += "\r\n";
  }
  if (code != SQLITE_DONE) sqliteFailed(db.handle(), "step");
  std::ofstream(output, std::ios::binary) << text;
}

void exportFleet(const std::string& database, const std::string& output) {
  comms::FleetExportChoice choice;
  choice.date = ExportDay;
  BenchPrompter prompter(output);
  db::DatabaseConnection connection(prompter, database);
  // A run that writes its file ends without a message.
  static_cast<void>(comms::ExportFleetSituation(connection, choice));
  if (!prompter.messages.empty()) std::abort();
}

void BM_FleetExport(benchmark::State& state) {
  const std::string database =
      fleetRegister(static_cast<std::size_t>(state.range(0)), static_cast<int>(state.range(1)));
  const std::string output = (FleetCacheFolder / "SituazioneMezzi.txt").string();
  const std::string baselineOutput = (FleetCacheFolder / "baseline_rows.txt").string();
  Comparison comparison;
  long peakExtraKiB = 0;
  for (auto _ : state) {
    comparison.baseline.push_back(timingOf([&] { baselineExport(database, baselineOutput); }));
    const Measure measured = measure([&] { exportFleet(database, output); });
    comparison.program.push_back(measured.timing);
    peakExtraKiB = std::max(peakExtraKiB, measured.peakExtraKiB);
    // Six lines of criteria and column names, then one per vehicle.
    if (lineCount(output) != 6 + state.range(0) || lineCount(baselineOutput) != state.range(0))
      state.SkipWithError("vehicles missing");
  }
  comparison.report(state, "export");
  state.counters["vehicles"] = static_cast<double>(state.range(0));
  state.counters["history_rows"] = static_cast<double>(state.range(0) * state.range(1));
  state.counters["peak_extra_MiB"] = static_cast<double>(peakExtraKiB) / 1024.0;
}

// The figures by company, as veltra-cli stats computes them before writing.
int computeFigures(const std::string& database) {
  comms::FleetStatisticsChoice choice;
  choice.date = ExportDay;
  BenchPrompter prompter;
  db::DatabaseConnection connection(prompter, database);
  comms::FleetFigures figures;
  if (!comms::ComputeFleetFigures(connection, choice, ExportDay, figures)) std::abort();
  return figures.registerVehicles;
}

void BM_FleetStatistics(benchmark::State& state) {
  const std::string database =
      fleetRegister(static_cast<std::size_t>(state.range(0)), static_cast<int>(state.range(1)));
  const std::string output = (FleetCacheFolder / "SituazioneMezzi.txt").string();
  std::vector<Timing> figures, exports;
  long peakExtraKiB = 0;
  int counted = 0;
  for (auto _ : state) {
    exports.push_back(timingOf([&] { exportFleet(database, output); }));
    const Measure measured = measure([&] { counted = computeFigures(database); });
    figures.push_back(measured.timing);
    peakExtraKiB = std::max(peakExtraKiB, measured.peakExtraKiB);
  }
  // The export is the baseline here.
  Comparison comparison{figures, exports};
  comparison.report(state, "figures");
  state.counters["export_ms"] = state.counters["sqlite_ms"];
  state.counters.erase("sqlite_ms");
  state.counters["vehicles_in_service"] = counted;
  state.counters["peak_extra_MiB"] = static_cast<double>(peakExtraKiB) / 1024.0;
}

}  // namespace

BENCHMARK(BM_FleetStatistics)
    ->Args({50000, 2})
    ->Args({50000, 20})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

BENCHMARK(BM_FleetExport)
    ->Args({50000, 2})
    ->Args({10000, 20})
    ->Args({50000, 20})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

BENCHMARK_MAIN();
