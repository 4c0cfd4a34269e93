#pragma once
// The register the report benchmarks run on: 51,050 buses (50 companies of
// 1,021 generated vehicles, 1,000 of them de-registered), so that 50,050
// vehicles in service are listed, in 550 (company, ambit) groups. Built once
// with generated communications and kept in /tmp/veltra-report-bench/;
// delete the folder to build it again.

#include <cstdlib>
#include <string>

#include "comms/ApplyCommunication.h"
#include "support/CachedRegister.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::bench {

inline constexpr std::int32_t ReportCompanies = 50;
inline constexpr std::size_t ReportVehiclesPerCompany = 1021;
// Vehicle i of a company is de-registered when i % 50 == 49.
inline constexpr std::size_t ReportListedVehicles =
    ReportCompanies * (ReportVehiclesPerCompany - 20);

inline std::string reportRegisterPath() {
  return CachedRegister(
      "/tmp/veltra-report-bench/register_51050.mdb", [](db::DatabaseConnection& connection) {
        for (std::int32_t azienda = 1; azienda <= ReportCompanies; ++azienda) {
          const auto communication =
              testing::SyntheticCommunication(azienda, "15/01/2024", ReportVehiclesPerCompany);
          if (!comms::ApplyCommunication(connection, communication).done()) std::abort();
        }
      });
}

}  // namespace veltra::bench
