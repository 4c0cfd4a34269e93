// A complete new database: the file, the special tables, the dictionary, the
// application tables and relations built from it, and the code lists, all in
// one transaction. It should take well under a second. Run by hand:
//   build/release/bench/database_creation_bench

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "schema/DatabaseCreation.h"
#include "support/BenchSupport.h"
#include "ui/Prompter.h"

namespace {

using namespace veltra::bench;

void BM_BuildNewDatabase(benchmark::State& state) {
  std::string pattern = (std::filesystem::temp_directory_path() / "veltra-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("no temporary directory");
    return;
  }
  const std::filesystem::path dir = pattern;
  const std::string path = (dir / "VELTRA.MDB").string();
  BenchPrompter prompter;
  for (auto _ : state) {
    const auto outcome = veltra::schema::BuildNewDatabase(prompter, path, "creato");
    if (!outcome.done()) {
      state.SkipWithError("the database was not created completely");
      break;
    }
    state.PauseTiming();
    std::filesystem::remove(path);
    state.ResumeTiming();
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_BuildNewDatabase)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
