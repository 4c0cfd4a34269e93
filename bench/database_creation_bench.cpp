// A complete new database: the file, the special tables, the dictionary, the
// application tables and relations built from it, and the code lists, all in
// one transaction. It should take well under a second. Run by hand:
//   build/release/bench/database_creation_bench

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "schema/DatabaseCreation.h"
#include "ui/Prompter.h"

namespace {

class SilentPrompter : public veltra::ui::Prompter {
 public:
  veltra::ui::Answer message(std::string_view, veltra::ui::Icon, veltra::ui::Buttons,
                             std::string_view) override {
    ++messages;
    return veltra::ui::Answer::Ok;
  }
  std::optional<std::string> openFile(const veltra::ui::FileChoice&) override { return {}; }
  std::optional<std::string> saveFile(const veltra::ui::FileChoice&) override { return {}; }
  void beginBusy(bool) override {}
  int messages = 0;
};

void BM_BuildNewDatabase(benchmark::State& state) {
  std::string pattern = (std::filesystem::temp_directory_path() / "veltra-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("no temporary directory");
    return;
  }
  const std::filesystem::path dir = pattern;
  const std::string path = (dir / "VELTRA.MDB").string();
  SilentPrompter prompter;
  for (auto _ : state) {
    const auto outcome = veltra::schema::BuildNewDatabase(prompter, path, "creato");
    if (outcome != veltra::schema::BuildOutcome::Complete) {
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
