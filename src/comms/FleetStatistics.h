#pragma once
// The figures a regional office reports on its fleet at a date: vehicles and
// seats, age, fuel, air conditioning and ramps, regional contribution by
// year of entry into service; for the region, and per company or per ambit.
// The vehicles are those the fleet export lists at that date and that are
// still in service then.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "comms/CodeChoice.h"
#include "comms/SituationRow.h"
#include "db/DatabaseConnection.h"
#include "ui/Prompter.h"

namespace veltra::comms {

inline constexpr std::string_view NotStatedText = "non indicato";

enum class FleetGrouping { Company, Ambit };

// The age classes, in completed years since the first registration.
enum AgeClass { UpToFive, SixToTen, ElevenToFifteen, OverFifteen, AgeNotStated, AgeClassCount };

struct ContributionYear {
  int vehicles = 0;
  double contrib = 0.0;

  friend bool operator==(const ContributionYear&, const ContributionYear&) = default;
};

// One group's accumulators: their size follows the distinct ages, fuels and
// years met, never the number of vehicles or of history rows.
struct GroupFigures {
  std::int32_t code = -1;  // -1 for the region
  std::string name;
  int vehicles = 0;
  std::int64_t sedere = 0;
  std::int64_t piedi = 0;
  std::int64_t handicap = 0;
  std::map<int, int> agesInDays;  // vehicles per age in days, known ages only
  std::array<int, AgeClassCount> ageClasses{};
  std::map<std::string, int> fuels;  // "" for the vehicles whose fuel is not stated
  int withAria = 0;
  int withPedana = 0;
  std::map<int, ContributionYear> contribByYear;  // year of datini; 0 when not stated

  void add(const SituationRow& state, int ageInDays, int completedYears);
  int knownAges() const;
  // In years; none when no age is known.
  std::optional<double> meanAge() const;
  std::optional<double> medianAge() const;
};

struct FleetFigures {
  std::string date;  // "GG/MM/AAAA"
  GroupFigures region;
  std::vector<GroupFigures> groups;  // by code
  // Vehicles in service in the whole register, whatever the company chosen.
  int registerVehicles = 0;
};

struct FleetStatisticsChoice {
  std::string date;
  std::optional<std::string> compareDate;
  std::int32_t company = -1;  // -1: every company
  std::string companyName;
  FleetGrouping grouping = FleetGrouping::Company;
};

// Whether the vehicle whose latest state up to the day is given still served
// on it: neither withdrawn (datfin) nor de-registered (datrad) on or before
// it. A date that is missing or not a date withdraws nothing.
bool InServiceOn(const VehicleData& vehicle, const std::string& date);

// One pass over the states of the day, as the fleet export reads them. The
// chosen company's group is there even when it has no vehicle. False when
// reading failed (the failure was shown).
bool ComputeFleetFigures(db::DatabaseConnection& connection, const FleetStatisticsChoice& choice,
                         const std::string& date, FleetFigures& figures);

// The dialog's controls, or the command line's options, as given.
struct FleetStatisticsForm {
  std::string dateText;
  bool compare = false;
  std::string compareText;
  bool allCompanies = true;
  std::string companyText;
  FleetGrouping grouping = FleetGrouping::Company;
};

// "OK": the company (among those of the history), then the date, then the
// date to compare with; the first refused shows its message (stop icon).
std::optional<FleetStatisticsChoice> AcceptFleetStatisticsForm(
    const FleetStatisticsForm& form, const std::vector<CodeItem>& companies,
    ui::Prompter& prompter);

}  // namespace veltra::comms
