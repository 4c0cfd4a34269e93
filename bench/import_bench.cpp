// Importing a generated company communication into a fresh database: the
// first time every vehicle is new (inserts), then the next day's
// communication of the same vehicles (updates). Beside them the sqlite3
// shell's .import loads the same records into an equivalent table, the
// fastest load SQLite itself offers. Run by hand, one benchmark per process
// so that each peak memory figure is its own:
//   build/release/bench/import_bench --benchmark_filter=Inserts
//
// Counters: peak_extra_MiB is the growth of the resident set during the timed
// part over what it was before; for the shell, peak_MiB is the shell
// process's own peak.

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
#include <sstream>
#include <string>

#include "support/BenchSupport.h"
#include "comms/ApplyCommunication.h"
#include "comms/CommunicationReader.h"
#include "comms/RecordLine.h"
#include "comms/TaggedFileWriter.h"
#include "db/DatabaseConnection.h"
#include "schema/DatabaseCreation.h"
#include "ui/Prompter.h"
#include "synthetic/SyntheticCommunication.h"

namespace {

using namespace veltra::bench;

namespace fs = std::filesystem;
using namespace veltra;

// A scratch folder with the two communications of n vehicles and the same
// records as a tab-separated file for the shell.
class Workspace {
 public:
  explicit Workspace(std::size_t vehicles) {
    char pattern[] = "/tmp/veltra-import-bench-XXXXXX";
    folder_ = mkdtemp(pattern);
    const auto first = testing::SyntheticCommunication(7, "15/03/2024", vehicles);
    write("first.txt", comms::CommunicationFileText(first).value());
    write("next.txt",
          comms::CommunicationFileText(testing::SyntheticCommunication(7, "16/03/2024", vehicles, 1))
              .value());
    std::string records;
    for (const auto& entry : first.entries())
      records += comms::SituationRecordFields(first.azienda(), entry) + "\n";
    write("records.tsv", records);
  }
  ~Workspace() { fs::remove_all(folder_); }

  std::string file(const std::string& name) const { return (folder_ / name).string(); }

  void freshDatabase() {
    fs::remove(file("VELTRA.MDB"));
    BenchPrompter prompter;
    if (schema::BuildNewDatabase(prompter, file("VELTRA.MDB"), "") !=
        schema::BuildOutcome::Complete)
      std::abort();
  }

 private:
  void write(const std::string& name, const std::string& bytes) {
    std::ofstream(file(name), std::ios::binary) << bytes;
  }
  fs::path folder_;
};
struct ImportCounts {
  int inserted = 0;
  int updated = 0;
};

// What the import command does once the user confirmed: check the file whole, apply it.
ImportCounts importFile(const std::string& database, const std::string& file) {
  BenchPrompter prompter;
  db::DatabaseConnection connection(prompter, database);
  std::ifstream in(file, std::ios::binary);
  const auto check = comms::CheckCommunication(in);
  ImportCounts counts;
  if (!check.communication ||
      !comms::ApplyCommunication(connection, *check.communication, counts.inserted, counts.updated))
    std::abort();
  return counts;
}

void timedImport(benchmark::State& state, Workspace& work, const std::string& file,
                 ImportCounts& counts, long& peakExtraKiB) {
  // Heap kept from earlier work would hide the import's own growth.
  malloc_trim(0);
  const long before = statusKiB("VmRSS:");
  resetPeak();
  state.ResumeTiming();
  counts = importFile(work.file("VELTRA.MDB"), file);
  state.PauseTiming();
  peakExtraKiB = std::max(peakExtraKiB, statusKiB("VmHWM:") - before);
}

void reportImport(benchmark::State& state, long peakExtraKiB) {
  state.counters["vehicles"] = static_cast<double>(state.range(0));
  state.counters["peak_extra_MiB"] = static_cast<double>(peakExtraKiB) / 1024.0;
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The file check alone: reading, converting and parsing every line. Its
// peak is what the communication itself takes in memory.
void BM_CheckCommunication(benchmark::State& state) {
  Workspace work(static_cast<std::size_t>(state.range(0)));
  long peakExtraKiB = 0;
  for (auto _ : state) {
    state.PauseTiming();
    malloc_trim(0);
    const long before = statusKiB("VmRSS:");
    resetPeak();
    state.ResumeTiming();
    std::ifstream in(work.file("first.txt"), std::ios::binary);
    if (!comms::CheckCommunication(in).communication) state.SkipWithError("refused");
    state.PauseTiming();
    peakExtraKiB = std::max(peakExtraKiB, statusKiB("VmHWM:") - before);
    state.ResumeTiming();
  }
  reportImport(state, peakExtraKiB);
}

void BM_ImportInserts(benchmark::State& state) {
  Workspace work(static_cast<std::size_t>(state.range(0)));
  long peakExtraKiB = 0;
  for (auto _ : state) {
    state.PauseTiming();
    work.freshDatabase();
    ImportCounts counts;
    timedImport(state, work, work.file("first.txt"), counts, peakExtraKiB);
    if (counts.inserted != state.range(0)) state.SkipWithError("not every vehicle inserted");
    state.ResumeTiming();
  }
  reportImport(state, peakExtraKiB);
}

void BM_ImportUpdates(benchmark::State& state) {
  Workspace work(static_cast<std::size_t>(state.range(0)));
  long peakExtraKiB = 0;
  for (auto _ : state) {
    state.PauseTiming();
    work.freshDatabase();
    importFile(work.file("VELTRA.MDB"), work.file("first.txt"));
    ImportCounts counts;
    timedImport(state, work, work.file("next.txt"), counts, peakExtraKiB);
    if (counts.updated != state.range(0)) state.SkipWithError("not every vehicle updated");
    state.ResumeTiming();
  }
  reportImport(state, peakExtraKiB);
}

// The bus table's columns in the order of the records, with the same
// primary key and case rule on the chassis.
constexpr const char* EquivalentTable =
    "CREATE TABLE bus (telaio TEXT COLLATE NOCASE PRIMARY KEY NOT NULL, azienda INTEGER NOT NULL,"
    " ambito INTEGER NOT NULL, prop TEXT NOT NULL, interno TEXT, libretto TEXT NOT NULL,"
    " targa TEXT NOT NULL, prima TEXT NOT NULL, tipo TEXT NOT NULL, dtimm TEXT NOT NULL,"
    " dest TEXT NOT NULL, carroz TEXT NOT NULL, aliment TEXT NOT NULL, sedere INTEGER NOT NULL,"
    " piedi INTEGER NOT NULL, handicap INTEGER NOT NULL, lung REAL NOT NULL,"
    " altezza REAL NOT NULL, aria INTEGER NOT NULL, pedana INTEGER NOT NULL,"
    " prezzo REAL NOT NULL, contrib REAL NOT NULL, atto TEXT, contrib2 REAL NOT NULL,"
    " datini TEXT NOT NULL, datfin TEXT, datrad TEXT);";

long shellRowCount(const Workspace& work, const std::string& database) {
  const std::string output = work.file("count.txt");
  runShell({"sqlite3", database, "SELECT count(*) FROM bus;"}, output);
  std::ifstream in(output);
  long count = -1;
  in >> count;
  return count;
}

double childCpuMs() {
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(children.ru_utime) + ms(children.ru_stime);
}

void BM_SqliteShellImport(benchmark::State& state) {
  Workspace work(static_cast<std::size_t>(state.range(0)));
  const std::string database = work.file("shell.db");
  double importCpuMs = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(database);
    if (runShell({"sqlite3", database, EquivalentTable}) != 0) state.SkipWithError("no sqlite3");
    const double before = childCpuMs();
    state.ResumeTiming();
    if (runShell({"sqlite3", database, ".mode tabs",
                  ".import " + work.file("records.tsv") + " bus"}) != 0)
      state.SkipWithError(".import failed");
    state.PauseTiming();
    importCpuMs += childCpuMs() - before;
    if (shellRowCount(work, database) != state.range(0)) state.SkipWithError("rows missing");
    state.ResumeTiming();
  }
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  state.counters["vehicles"] = static_cast<double>(state.range(0));
  state.counters["peak_MiB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
  // The shell's own processor time; the CPU column counts this process only.
  state.counters["shell_cpu_ms"] = importCpuMs / static_cast<double>(state.iterations());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_CheckCommunication)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ImportInserts)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ImportUpdates)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SqliteShellImport)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
