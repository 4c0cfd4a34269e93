// The whole "veltra-cli report by-company --pdf FILE" over the register of
// support/ReportRegister.h (50,050 vehicles in service), beside the floor of
// that work, both started as a user starts them and taking turns:
//   - Floor: floor/pdf_floor.c, the shared floor of this report (the list's
//     rows read with its own query and order, laid out 45 rows a page, one
//     deflated content stream a page, one standard font, no measuring);
//   - Report: the program, the rows loaded, paginated for A4 sideways and
//     every page written into the PDF.
// Run by hand, with a Release build:
//   build/release/bench/report_cli_bench
//
// Counters (medians of the runs, whole processes): report_s and floor_s
// wall time, ratio their quotient, cpu_ratio that of processor time (steadier
// on a busy machine); peak_MiB and floor_peak_MiB the peak resident sets,
// pdf_MiB the size of the report's file.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/BenchSupport.h"
#include "support/ReportRegister.h"

extern char** environ;

namespace {

using namespace veltra::bench;

struct ChildRun {
  int status = -1;
  double wallSeconds = 0.0;
  double cpuSeconds = 0.0;
  double peakMiB = 0.0;
};

double seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

ChildRun runProgram(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  ChildRun run;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return run;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return run;
}

double middle(const std::vector<ChildRun>& runs, double ChildRun::*figure) {
  std::vector<double> values;
  for (const ChildRun& run : runs) values.push_back(run.*figure);
  return median(values);
}

void BM_ReportByCompanyPdf(benchmark::State& state) {
  const std::string database = reportRegisterPath();
  const std::string pdf = "/tmp/veltra-report-bench/by-company.pdf";
  const std::string floorPdf = "/tmp/veltra-report-bench/floor.pdf";
  std::vector<ChildRun> report, floor;
  for (auto _ : state) {
    floor.push_back(runProgram({VELTRA_PDF_FLOOR_PATH, database, floorPdf}));
    report.push_back(
        runProgram({VELTRA_CLI_PATH, "--db", database, "report", "by-company", "--pdf", pdf}));
    if (report.back().status != 0) state.SkipWithError("veltra-cli report failed");
    if (floor.back().status != 0) state.SkipWithError("pdf_floor failed");
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(ReportListedVehicles));
  state.counters["report_s"] = middle(report, &ChildRun::wallSeconds);
  state.counters["floor_s"] = middle(floor, &ChildRun::wallSeconds);
  state.counters["ratio"] =
      middle(report, &ChildRun::wallSeconds) / middle(floor, &ChildRun::wallSeconds);
  state.counters["cpu_ratio"] =
      middle(report, &ChildRun::cpuSeconds) / middle(floor, &ChildRun::cpuSeconds);
  state.counters["peak_MiB"] = middle(report, &ChildRun::peakMiB);
  state.counters["floor_peak_MiB"] = middle(floor, &ChildRun::peakMiB);
  state.counters["pdf_MiB"] =
      static_cast<double>(std::filesystem::file_size(pdf)) / (1024.0 * 1024.0);
}

}  // namespace

BENCHMARK(BM_ReportByCompanyPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_MAIN();
