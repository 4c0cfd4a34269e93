// The vehicle list by company written to PDF in this process, over the
// register of support/ReportRegister.h (50,050 vehicles in service): the rows
// loaded, then WritePdfReport as veltra-cli runs it (A4 sideways), on the
// offscreen platform. Its floor is measured beside the whole command, in
// report_cli_bench. Run by hand:
//   build/ci/bench/report_pdf_bench
//
// Counters: cpu_s the median processor time, pages the page count, pdf_MiB
// the size of the file written.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "db/DatabaseConnection.h"
#include "qt/PdfReport.h"
#include "reports/VehicleListReport.h"
#include "support/BenchSupport.h"
#include "support/OffscreenBenchMain.h"
#include "support/ReportRegister.h"

namespace {

using namespace veltra;
using namespace veltra::bench;

const std::string Folder = "/tmp/veltra-report-bench/";

reports::VehicleListReport loadedReport(db::DatabaseConnection& connection,
                                        BenchPrompter& prompter) {
  reports::VehicleListReport report(reports::VehicleListOrder::ByCompany, {});
  if (!report.load(connection, prompter) || report.rowCount() != ReportListedVehicles) std::abort();
  return report;
}

double processSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void BM_ReportPdf(benchmark::State& state) {
  BenchPrompter prompter;
  db::DatabaseConnection connection(prompter, reportRegisterPath());
  const std::string path = Folder + "report.pdf";
  int pages = 0;
  std::vector<double> seconds;
  for (auto _ : state) {
    const double started = processSeconds();
    auto report = loadedReport(connection, prompter);
    if (!qt::WritePdfReport(report, path, qt::PdfPaper::A4Landscape, prompter))
      state.SkipWithError("report.pdf not written");
    pages = report.pageCount();
    seconds.push_back(processSeconds() - started);
  }
  state.counters["pages"] = pages;
  state.counters["pdf_MiB"] =
      static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
  state.counters["cpu_s"] = median(seconds);
}

}  // namespace

BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
  return veltra::bench::runOffscreenBenchmarks(argc, argv);
}
