// The whole "veltra-cli report by-company --pdf FILE" over the register of
// support/ReportRegister.h (50,050 vehicles in service): the program started
// as a user starts it, the rows loaded, paginated for A4 sideways and every
// page written into the PDF. Run by hand:
//   build/release/bench/report_cli_bench
//
// Counters: peak_MiB is the program's peak resident set, pdf_MiB the size of
// the file written.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/ReportRegister.h"

extern char** environ;

namespace {

using namespace veltra::bench;

struct ChildRun {
  int status = -1;
  long peakKiB = 0;
};

ChildRun runCli(std::vector<std::string> args) {
  args.insert(args.begin(), VELTRA_CLI_PATH);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  ChildRun run;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return run;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.peakKiB = usage.ru_maxrss;
  return run;
}

void BM_ReportByCompanyPdf(benchmark::State& state) {
  const std::string database = reportRegisterPath();
  const std::string pdf = "/tmp/veltra-report-bench/by-company.pdf";
  ChildRun run;
  for (auto _ : state) {
    run = runCli({"--db", database, "report", "by-company", "--pdf", pdf});
    if (run.status != 0) state.SkipWithError("veltra-cli report failed");
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(ReportListedVehicles));
  state.counters["peak_MiB"] = static_cast<double>(run.peakKiB) / 1024.0;
  state.counters["pdf_MiB"] =
      static_cast<double>(std::filesystem::file_size(pdf)) / (1024.0 * 1024.0);
}

}  // namespace

BENCHMARK(BM_ReportByCompanyPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
