#pragma once
// The register the report benchmarks run on: 51,050 buses (50 companies of
// 1,021 generated vehicles, 1,000 of them de-registered), so that 50,050
// vehicles in service are listed, in 550 (company, ambit) groups. Built once
// with generated communications and kept in /tmp/veltra-report-bench/;
// delete the folder to build it again.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "comms/ApplyCommunication.h"
#include "db/DatabaseConnection.h"
#include "schema/DatabaseCreation.h"
#include "support/BenchSupport.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::bench {

inline constexpr std::int32_t ReportCompanies = 50;
inline constexpr std::size_t ReportVehiclesPerCompany = 1021;
// Vehicle i of a company is de-registered when i % 50 == 49.
inline constexpr std::size_t ReportListedVehicles =
    ReportCompanies * (ReportVehiclesPerCompany - 20);

inline std::string reportRegisterPath() {
  namespace fs = std::filesystem;
  const fs::path folder = "/tmp/veltra-report-bench";
  fs::create_directories(folder);
  const fs::path path = folder / "register_51050.mdb";
  if (fs::exists(path)) return path.string();
  const fs::path partial = path.string() + ".partial";
  fs::remove(partial);
  BenchPrompter prompter;
  if (schema::BuildNewDatabase(prompter, partial.string(), "").outcome != ui::Outcome::Done)
    std::abort();
  {
    db::DatabaseConnection connection(prompter, partial.string());
    for (std::int32_t azienda = 1; azienda <= ReportCompanies; ++azienda) {
      const auto communication =
          testing::SyntheticCommunication(azienda, "15/01/2024", ReportVehiclesPerCompany);
      if (!comms::ApplyCommunication(connection, communication).done()) std::abort();
    }
  }
  fs::rename(partial, path);
  return path.string();
}

}  // namespace veltra::bench
