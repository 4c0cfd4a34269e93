#pragma once
// The register of a long history the fleet benchmarks run on: vehicles of
// companies of 1,000 each, every company sending the given number of
// communications (the 15th of successive months from January 2010), every
// communication listing all its vehicles. Built once with generated
// communications and kept in /tmp/veltra-fleet-bench/ (a few minutes for a
// million history rows); delete the folder to build it again.
//
// VELTRA_FLEET_REGISTER names a register built beforehand instead, of the
// same shape (../shared/anchors/mkfleet.py TEMPLATE OUT 50000 20).

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "comms/ApplyCommunication.h"
#include "support/CachedRegister.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::bench {

inline constexpr std::size_t FleetVehiclesPerCompany = 1000;
inline const std::filesystem::path FleetCacheFolder = "/tmp/veltra-fleet-bench";

// Communication number n of every company: the 15th of successive months.
inline std::string fleetCommunicationDate(int n) {
  char text[32];
  std::snprintf(text, sizeof text, "15/%02d/%04d", 1 + n % 12, 2010 + n / 12);
  return text;
}

// The cached register of vehicles x communications history rows.
inline std::string fleetRegister(std::size_t vehicles, int communications) {
  if (const char* given = std::getenv("VELTRA_FLEET_REGISTER")) return given;
  const auto path = FleetCacheFolder / ("fleet_" + std::to_string(vehicles) + "x" +
                                        std::to_string(communications) + ".mdb");
  return CachedRegister(path, [&](db::DatabaseConnection& connection) {
    const auto companies = static_cast<std::int32_t>(vehicles / FleetVehiclesPerCompany);
    for (int n = 0; n < communications; ++n) {
      for (std::int32_t azienda = 1; azienda <= companies; ++azienda) {
        const auto communication = testing::SyntheticCommunication(
            azienda, fleetCommunicationDate(n), FleetVehiclesPerCompany, n);
        if (!comms::ApplyCommunication(connection, communication).done()) std::abort();
      }
      std::fprintf(stderr, "register %zux%d: communication %d of %d applied\n", vehicles,
                   communications, n + 1, communications);
    }
  });
}

}  // namespace veltra::bench
