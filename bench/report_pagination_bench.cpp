// The vehicle list by company over a register of 51,050 buses (50 companies
// of 1,021 generated vehicles, 1,000 of them de-registered), so that 50,050
// vehicles in service are listed, in 550 (company, ambit) groups:
//   - Load: the report's query and the list filling;
//   - Paginate: measuring every text, placing the columns and splitting the
//     rows into pages, with the real font metrics: on the painter of a
//     sheet of A4 sideways at 600 dpi, as the desktop's preview paginates;
//   - FirstPage: pagination and page 1 drawn into its sheet;
//   - PreviewFromOk: what the preview waits for after "OK": the rows
//     loaded, the pagination and page 1.
//
// Qt runs on the offscreen platform.
// The register is that of support/ReportRegister.h. Run by hand, one
// benchmark per process so that each peak memory figure is its own:
//   build/release/bench/report_pagination_bench --benchmark_filter=Load
//
// Counters: peak_extra_MiB is the growth of the resident set during the timed
// part over what it was before; pages is the page count.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "db/DatabaseConnection.h"
#include "reports/VehicleListReport.h"
#include "support/BenchSupport.h"
#include "support/OffscreenBenchMain.h"
#include "support/PreviewPages.h"
#include "support/ReportRegister.h"

namespace {

using namespace veltra::bench;
using namespace veltra;

constexpr std::size_t ListedVehicles = ReportListedVehicles;

reports::VehicleListReport loadedReport(db::DatabaseConnection& connection,
                                        ui::Prompter& prompter) {
  reports::VehicleListReport report(reports::VehicleListOrder::ByCompany, {});
  if (!report.load(connection, prompter) || report.rowCount() != ListedVehicles) std::abort();
  return report;
}

long startMemoryReading() {
  malloc_trim(0);
  const long before = statusKiB("VmRSS:");
  resetPeak();
  return before;
}

void BM_LoadVehicleList(benchmark::State& state) {
  const std::string path = reportRegisterPath();
  BenchPrompter prompter;
  db::DatabaseConnection connection(prompter, path);
  long peakExtraKiB = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const long before = startMemoryReading();
    state.ResumeTiming();
    const auto report = loadedReport(connection, prompter);
    state.PauseTiming();
    peakExtraKiB = std::max(peakExtraKiB, statusKiB("VmHWM:") - before);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(ListedVehicles));
  state.counters["peak_extra_MiB"] = static_cast<double>(peakExtraKiB) / 1024.0;
}

void paginate(benchmark::State& state, bool drawFirstPage) {
  BenchPrompter prompter;
  db::DatabaseConnection connection(prompter, reportRegisterPath());
  auto report = loadedReport(connection, prompter);
  long peakExtraKiB = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const long before = startMemoryReading();
    state.ResumeTiming();
    previewPages(report, drawFirstPage);
    state.PauseTiming();
    peakExtraKiB = std::max(peakExtraKiB, statusKiB("VmHWM:") - before);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(report.rowCount()));
  state.counters["pages"] = report.pageCount();
  state.counters["peak_extra_MiB"] = static_cast<double>(peakExtraKiB) / 1024.0;
}

void BM_PaginateVehicleList(benchmark::State& state) {
  paginate(state, false);
}

void BM_FirstPreviewPage(benchmark::State& state) {
  paginate(state, true);
}

// The report of a run goes when the next one comes, not before its page shows.
void BM_PreviewFromOk(benchmark::State& state) {
  BenchPrompter prompter;
  db::DatabaseConnection connection(prompter, reportRegisterPath());
  std::optional<reports::VehicleListReport> report;
  for (auto _ : state) {
    state.PauseTiming();
    report.reset();
    state.ResumeTiming();
    report.emplace(reports::VehicleListOrder::ByCompany, reports::VehicleListChoice{});
    if (!report->load(connection, prompter)) std::abort();
    previewPages(*report, true);
  }
  state.counters["pages"] = report ? report->pageCount() : 0;
}

}  // namespace

BENCHMARK(BM_LoadVehicleList)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_PaginateVehicleList)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_FirstPreviewPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_PreviewFromOk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char** argv) {
  return veltra::bench::runOffscreenBenchmarks(argc, argv);
}
