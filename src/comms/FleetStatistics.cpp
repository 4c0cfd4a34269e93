#include "comms/FleetStatistics.h"

#include <algorithm>
#include <chrono>

#include "comms/DateInput.h"
#include "comms/FleetSituation.h"

namespace veltra::comms {

namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr double DaysPerYear = 365.2425;

// What the figures read of each state: the fields they count, and those
// that tell whether the vehicle still served. Reading no more than these
// keeps the pass near the cost of the query itself.
constexpr std::string_view CountedFields[] = {"ambito",  "prima",    "aliment", "sedere",
                                              "piedi",   "handicap", "aria",    "pedana",
                                              "contrib", "datini",   "datfin",  "datrad"};

// A stored "GG/MM/AAAA" as a calendar day; none for an empty text, the
// no-date and open-end texts or anything else that is not a real day.
std::optional<year_month_day> calendarDay(std::string_view text) {
  if (text.size() != 10 || text[2] != '/' || text[5] != '/') return std::nullopt;
  int parts[3] = {0, 0, 0};
  const std::string_view digits[3] = {text.substr(0, 2), text.substr(3, 2), text.substr(6)};
  for (int i = 0; i < 3; ++i)
    for (char c : digits[i]) {
      if (c < '0' || c > '9') return std::nullopt;
      parts[i] = parts[i] * 10 + (c - '0');
    }
  const year_month_day day{std::chrono::year(parts[2]),
                           std::chrono::month(static_cast<unsigned>(parts[1])),
                           std::chrono::day(static_cast<unsigned>(parts[0]))};
  if (!day.ok()) return std::nullopt;
  return day;
}

bool endedBy(std::string_view ending, const year_month_day& day) {
  const auto ended = calendarDay(ending);
  return ended && *ended <= day;
}

int completedYears(const year_month_day& from, const year_month_day& to) {
  int years = static_cast<int>(to.year()) - static_cast<int>(from.year());
  if (std::pair(to.month(), to.day()) < std::pair(from.month(), from.day())) --years;
  return years;
}

AgeClass classOf(int years) {
  if (years <= 5) return UpToFive;
  if (years <= 10) return SixToTen;
  if (years <= 15) return ElevenToFifteen;
  return OverFifteen;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The group of a state, made when first met; the chosen company's is made beforehand.
GroupFigures& groupOf(std::map<std::int32_t, GroupFigures>& groups, std::int32_t code,
                      const std::string& name) {
  auto [place, added] = groups.try_emplace(code);
  if (added) {
    place->second.code = code;
    place->second.name = trimmed(name);
  }
  return place->second;
}

}  // namespace

void GroupFigures::add(const SituationRow& state, int ageInDays, int years) {
  const VehicleData& vehicle = state.vehicle;
  ++vehicles;
  sedere += vehicle.sedere;
  piedi += vehicle.piedi;
  handicap += vehicle.handicap;
  if (ageInDays >= 0) {
    ++agesInDays[ageInDays];
    ++ageClasses[classOf(years)];
  } else {
    ++ageClasses[AgeNotStated];
  }
  ++fuels[trimmed(vehicle.aliment)];
  withAria += vehicle.aria != 0 ? 1 : 0;
  withPedana += vehicle.pedana != 0 ? 1 : 0;
  const auto entered = calendarDay(vehicle.datini);
  ContributionYear& year = contribByYear[entered ? static_cast<int>(entered->year()) : 0];
  ++year.vehicles;
  year.contrib += vehicle.contrib;
}

int GroupFigures::knownAges() const {
  return vehicles - ageClasses[AgeNotStated];
}

std::optional<double> GroupFigures::meanAge() const {
  if (knownAges() == 0) return std::nullopt;
  double days = 0.0;
  for (const auto& [age, count] : agesInDays) days += static_cast<double>(age) * count;
  return days / knownAges() / DaysPerYear;
}

// The middle age, or the mean of the two middle ones, walking the counts.
std::optional<double> GroupFigures::medianAge() const {
  const int known = knownAges();
  if (known == 0) return std::nullopt;
  const int lower = (known - 1) / 2;  // 0-based positions of the middle ones
  const int upper = known / 2;
  std::optional<int> lowerAge;
  int seen = 0;
  for (const auto& [age, count] : agesInDays) {
    seen += count;
    if (!lowerAge && seen > lower) lowerAge = age;
    if (seen > upper) return (*lowerAge + age) / 2.0 / DaysPerYear;
  }
  return std::nullopt;
}

bool InServiceOn(const VehicleData& vehicle, const std::string& date) {
  const auto day = calendarDay(date);
  return day && !endedBy(vehicle.datfin, *day) && !endedBy(vehicle.datrad, *day);
}

bool ComputeFleetFigures(db::DatabaseConnection& connection, const FleetStatisticsChoice& choice,
                         const std::string& date, FleetFigures& figures) {
  figures = FleetFigures{};
  figures.date = date;
  figures.region.name = "Regione";
  const year_month_day day = calendarDay(date).value_or(year_month_day{});
  std::map<std::int32_t, GroupFigures> groups;
  const bool oneCompany = choice.company >= 0;
  if (oneCompany && choice.grouping == FleetGrouping::Company)
    groupOf(groups, choice.company, choice.companyName);
  const bool read = ForEachCountedState(connection, date, CountedFields, [&](SituationRow& state) {
    if (!InServiceOn(state.vehicle, date)) return;
    ++figures.registerVehicles;
    if (oneCompany && state.azienda != choice.company) return;
    const auto registered = calendarDay(state.vehicle.prima);
    const bool aged = registered && *registered <= day;
    const int days = aged ? static_cast<int>((sys_days(day) - sys_days(*registered)).count()) : -1;
    const int years = aged ? completedYears(*registered, day) : 0;
    figures.region.add(state, days, years);
    GroupFigures& group = choice.grouping == FleetGrouping::Company
                              ? groupOf(groups, state.azienda, state.companyName)
                              : groupOf(groups, state.vehicle.ambito, state.ambitName);
    group.add(state, days, years);
  });
  for (auto& [code, group] : groups) figures.groups.push_back(std::move(group));
  return read;
}

std::optional<FleetStatisticsChoice> AcceptFleetStatisticsForm(
    const FleetStatisticsForm& form, const std::vector<CodeItem>& companies,
    ui::Prompter& prompter) {
  const auto company = AcceptCodeChoice(form.allCompanies, form.companyText, companies,
                                        InvalidCompanyMessage, prompter);
  if (!company) return std::nullopt;
  FleetStatisticsChoice choice;
  choice.company = *company;
  // The name as the list shows it after its code: "%04d - name".
  for (const CodeItem& item : companies)
    if (item.code == *company && item.text.find(" - ") != std::string::npos)
      choice.companyName = item.text.substr(item.text.find(" - ") + 3);
  choice.grouping = form.grouping;
  auto date = AcceptInputDate(form.dateText, prompter);
  if (!date) return std::nullopt;
  choice.date = std::move(*date);
  if (form.compare) {
    choice.compareDate = AcceptInputDate(form.compareText, prompter);
    if (!choice.compareDate) return std::nullopt;
  }
  return choice;
}

}  // namespace veltra::comms
