// The "Statistiche Parco" from the dialog's OK to its first page ready for
// the preview, over the register of support/FleetRegister.h (50,000 vehicles
// of 50 companies, each company sending 20 communications: a million history
// rows), by company at a day after the last communication: the figures
// computed from the register, then the pagination on a sheet's painter and
// page 1 drawn into its sheet, as the desktop's preview does. /1 adds a
// second date to compare with, a second pass over the history.
//
// Qt runs on the offscreen platform. Run by hand, with a Release build:
//   build/release/bench/report_statistics_bench
//
// Counters (medians of the runs): figures_ms the loading of the report (the
// figures of each date, the tables and charts made from them), preview_ms
// the pagination and page 1; the time of the benchmark is their sum.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "db/DatabaseConnection.h"
#include "reports/FleetStatisticsReport.h"
#include "support/BenchSupport.h"
#include "support/FleetRegister.h"
#include "support/OffscreenBenchMain.h"
#include "support/PreviewPages.h"

namespace {

using namespace veltra::bench;
using namespace veltra;

comms::FleetStatisticsChoice statisticsChoice(bool compare) {
  comms::FleetStatisticsChoice choice;
  choice.date = "31/12/2030";
  if (compare) choice.compareDate = "31/12/2010";
  return choice;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

void BM_StatisticsPreviewFromOk(benchmark::State& state) {
  BenchPrompter prompter;
  db::DatabaseConnection connection(prompter, fleetRegister(50000, 20));
  std::vector<double> figures, preview;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    reports::FleetStatisticsReport report(statisticsChoice(state.range(0) != 0));
    if (!report.load(connection, prompter) || report.rowCount() == 0) std::abort();
    figures.push_back(millisecondsSince(start));
    const auto laidOut = std::chrono::steady_clock::now();
    previewPages(report, true);
    preview.push_back(millisecondsSince(laidOut));
  }
  state.counters["figures_ms"] = median(figures);
  state.counters["preview_ms"] = median(preview);
}

}  // namespace

BENCHMARK(BM_StatisticsPreviewFromOk)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

int main(int argc, char** argv) {
  return veltra::bench::runOffscreenBenchmarks(argc, argv);
}
