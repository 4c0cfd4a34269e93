#pragma once
// The charts of the "Statistiche Parco", one series a date: the vehicles by
// age class, the fuel shares, and air conditioning and wheelchair ramps per
// company or per ambit.

#include <optional>
#include <vector>

#include "comms/FleetStatistics.h"
#include "reports/BarChartSection.h"

namespace veltra::reports {

// In their order on the pages: ages, fuels, accessibility.
std::vector<BarChart> FleetCharts(const comms::FleetFigures& now,
                                  const std::optional<comms::FleetFigures>& before,
                                  comms::FleetGrouping grouping);

}  // namespace veltra::reports
