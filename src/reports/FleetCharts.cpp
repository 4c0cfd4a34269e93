#include "reports/FleetCharts.h"

#include <algorithm>
#include <map>

namespace veltra::reports {

namespace {

std::optional<double> share(int part, int whole) {
  if (whole == 0) return std::nullopt;
  return 100.0 * part / whole;
}

std::string atDate(const std::string& date) {
  return "al " + date;
}

// The figures of each date, now first.
std::vector<const comms::FleetFigures*> datesOf(const comms::FleetFigures& now,
                                                const std::optional<comms::FleetFigures>& before) {
  std::vector<const comms::FleetFigures*> dates{&now};
  if (before) dates.push_back(&*before);
  return dates;
}

BarChart ageChart(const std::vector<const comms::FleetFigures*>& dates) {
  BarChart chart{"Mezzi per classe di età (anni compiuti dalla prima immatricolazione)",
                 "Età",
                 "Mezzi",
                 false,
                 {},
                 {"fino a 5 anni", "6-10 anni", "11-15 anni", "oltre 15 anni",
                  std::string(comms::NotStatedText)},
                 {}};
  for (const auto* figures : dates) chart.series.push_back(atDate(figures->date));
  for (int age = 0; age < comms::AgeClassCount; ++age) {
    chart.values.emplace_back();
    for (const auto* figures : dates)
      chart.values.back().push_back(double(figures->region.ageClasses[age]));
  }
  return chart;
}

BarChart fuelChart(const std::vector<const comms::FleetFigures*>& dates) {
  BarChart chart{
      "Quota dei mezzi per alimentazione", "Alimentazione", "% dei mezzi", true, {}, {}, {}};
  std::map<std::string, std::vector<std::optional<double>>> shares;
  for (std::size_t date = 0; date < dates.size(); ++date) {
    const comms::GroupFigures& region = dates[date]->region;
    chart.series.push_back(atDate(dates[date]->date));
    for (const auto& [fuel, count] : region.fuels) {
      auto& values = shares[fuel];
      values.resize(dates.size());
      values[date] = share(count, region.vehicles);
    }
  }
  for (auto& [fuel, values] : shares) {
    chart.categories.push_back(fuel.empty() ? std::string(comms::NotStatedText) : fuel);
    chart.values.push_back(std::move(values));
  }
  return chart;
}

BarChart accessibilityChart(const std::vector<const comms::FleetFigures*>& dates,
                            comms::FleetGrouping grouping) {
  const bool byCompany = grouping == comms::FleetGrouping::Company;
  BarChart chart{byCompany ? "Accessibilità per azienda" : "Accessibilità per ambito",
                 byCompany ? "Azienda" : "Ambito",
                 "% dei mezzi",
                 true,
                 {},
                 {},
                 {}};
  for (const auto* figures : dates)
    chart.series.push_back("Aria condizionata " + atDate(figures->date));
  for (const auto* figures : dates)
    chart.series.push_back("Pedana carrozzella " + atDate(figures->date));
  for (const comms::GroupFigures& group : dates.front()->groups) {
    if (group.vehicles == 0) continue;
    chart.categories.push_back(comms::CodeItemText(group.code, group.name));
    std::vector<std::optional<double>> values;
    for (bool ramp : {false, true})
      for (const auto* figures : dates) {
        const auto same = std::find_if(figures->groups.begin(), figures->groups.end(),
                                       [&](const auto& other) { return other.code == group.code; });
        if (same == figures->groups.end())
          values.emplace_back();
        else
          values.push_back(share(ramp ? same->withPedana : same->withAria, same->vehicles));
      }
    chart.values.push_back(std::move(values));
  }
  return chart;
}

}  // namespace

std::vector<BarChart> FleetCharts(const comms::FleetFigures& now,
                                  const std::optional<comms::FleetFigures>& before,
                                  comms::FleetGrouping grouping) {
  const auto dates = datesOf(now, before);
  return {ageChart(dates), fuelChart(dates), accessibilityChart(dates, grouping)};
}

}  // namespace veltra::reports
