// The two card dialogs on a large register: filling the vehicle selector
// (one item per vehicle of bus, 50,000 of them), finding the item a typed
// prefix names, and composing the vehicle card and a history card of 50
// communications. The dialogs do this on the database already open, so the
// connection is opened once, outside the timing.
//
// The register is 50 companies of 1,000 vehicles each, plus a company 51
// whose 20 vehicles are sent in 50 successive communications, each one
// changing seats, prices and plates. It is built once and kept in
// /tmp/veltra-card-bench/; delete the folder to build it again. Run by hand:
//   build/release/bench/vehicle_card_bench

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "comms/ApplyCommunication.h"
#include "db/DatabaseConnection.h"
#include "reports/VehicleCardText.h"
#include "reports/VehicleHistoryText.h"
#include "reports/VehicleSelectorItems.h"
#include "schema/DatabaseCreation.h"
#include "support/BenchSupport.h"
#include "synthetic/SyntheticCommunication.h"

namespace {

using namespace veltra;
using namespace veltra::bench;
namespace fs = std::filesystem;

constexpr std::int32_t Companies = 50;
constexpr std::size_t VehiclesPerCompany = 1000;
constexpr std::int32_t HistoryCompany = Companies + 1;
constexpr std::size_t HistoryVehicles = 20;
constexpr int HistoryCommunications = 50;
constexpr std::size_t RegisterVehicles = Companies * VehiclesPerCompany + HistoryVehicles;
const fs::path CacheFolder = "/tmp/veltra-card-bench";

// Communication number n: the 15th of successive months.
std::string communicationDate(int n) {
  char text[32];
  std::snprintf(text, sizeof text, "15/%02d/%04d", 1 + n % 12, 2010 + n / 12);
  return text;
}

void apply(db::DatabaseConnection& connection, const comms::Communication& communication) {
  if (!comms::ApplyCommunication(connection, communication).done()) std::abort();
}

void buildRegister(const fs::path& path) {
  const fs::path partial = path.string() + ".partial";
  fs::remove(partial);
  BenchPrompter prompter;
  if (!schema::BuildNewDatabase(prompter, partial.string(), "").done()) std::abort();
  db::DatabaseConnection connection(prompter, partial.string());
  for (std::int32_t azienda = 1; azienda <= Companies; ++azienda)
    apply(connection,
          testing::SyntheticCommunication(azienda, communicationDate(0), VehiclesPerCompany));
  for (int n = 0; n < HistoryCommunications; ++n)
    apply(connection, testing::SyntheticCommunication(HistoryCompany, communicationDate(n),
                                                      HistoryVehicles, n));
  fs::rename(partial, path);
}

const std::string& registerPath() {
  static const std::string path = [] {
    fs::create_directories(CacheFolder);
    const fs::path file = CacheFolder / "cards.mdb";
    if (!fs::exists(file)) buildRegister(file);
    return file.string();
  }();
  return path;
}

// The register opened once, as the dialogs find it.
struct OpenRegister {
  BenchPrompter prompter;
  db::DatabaseConnection connection{prompter, registerPath()};
};

OpenRegister& openRegister() {
  static OpenRegister open;
  return open;
}

void BM_FillSelector(benchmark::State& state) {
  auto& open = openRegister();
  const auto card =
      state.range(0) == 0 ? reports::SelectorFor::VehicleCard : reports::SelectorFor::HistoryCard;
  std::size_t items = 0;
  for (auto _ : state) {
    const auto list = reports::VehicleSelectorItems(open.connection, card);
    items = list.size();
    benchmark::DoNotOptimize(list.data());
  }
  if (items != RegisterVehicles) state.SkipWithError("vehicles missing from the selector");
  state.SetLabel(state.range(0) == 0 ? "vehicle card" : "history card (grouped)");
  state.counters["items"] = static_cast<double>(items);
}

// The worst case of typing: no item matches, so every plate and chassis is tried.
void BM_FindTypedPrefix(benchmark::State& state) {
  const auto items =
      reports::VehicleSelectorItems(openRegister().connection, reports::SelectorFor::VehicleCard);
  for (auto _ : state) benchmark::DoNotOptimize(reports::FirstItemStartingWith(items, "zz9"));
  state.counters["items"] = static_cast<double>(items.size());
}

void BM_ComposeVehicleCard(benchmark::State& state) {
  auto& open = openRegister();
  const std::string chassis = testing::SyntheticChassis(HistoryCompany, 0);
  for (auto _ : state) {
    const std::string card = reports::VehicleCardText(open.connection, chassis);
    if (card.starts_with("\r\n")) state.SkipWithError("the vehicle is not in bus");
    benchmark::DoNotOptimize(card.data());
  }
}

void BM_ComposeHistoryCard(benchmark::State& state) {
  auto& open = openRegister();
  const std::string chassis = testing::SyntheticChassis(HistoryCompany, 0);
  std::size_t blocks = 0;
  for (auto _ : state) {
    const std::string history = reports::VehicleHistoryText(open.connection, chassis);
    blocks = 0;
    for (std::size_t at = history.find("Data comunicazione"); at != std::string::npos;
         at = history.find("Data comunicazione", at + 1))
      ++blocks;
    benchmark::DoNotOptimize(history.data());
  }
  if (blocks != HistoryCommunications)
    state.SkipWithError("communications missing from the history");
  state.counters["blocks"] = static_cast<double>(blocks);
}

}  // namespace

BENCHMARK(BM_FillSelector)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindTypedPrefix)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeVehicleCard)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeHistoryCard)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
