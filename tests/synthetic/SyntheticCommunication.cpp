#include "synthetic/SyntheticCommunication.h"

#include <array>
#include <cstdio>

namespace veltra::testing {

using namespace comms;

namespace {

constexpr std::array<const char*, 4> Makes = {"IVECO Citelis 12", "Mercedes Citaro",
                                              "Irisbus Crossway", "Solaris Urbino 12"};
constexpr std::array<const char*, 3> Fuels = {"Gasolio", "Metano", "Elettrica"};
constexpr std::array<const char*, 3> Owners = {"Società Trasporti Ombrena", "Comune di Città Alta",
                                               "Leasing Nord S.p.A."};
constexpr std::int32_t AmbitCount = 11;

std::string formatted(const char* format, long a, long b = 0) {
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), format, a, b);
  return buffer.data();
}

std::string dateText(long day, long month, long year) {
  std::array<char, 16> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%02ld/%02ld/%04ld", day, month, year);
  return buffer.data();
}

VehicleEntry syntheticVehicle(std::int32_t azienda, std::size_t index, int revision) {
  const long i = static_cast<long>(index);
  VehicleEntry entry{EntryKind::New, SyntheticChassis(azienda, index), {}};
  VehicleData& vehicle = entry.vehicle;
  vehicle.ambito = static_cast<std::int32_t>(1 + i % AmbitCount);
  vehicle.prop = Owners[index % Owners.size()];
  vehicle.interno = formatted("%ld", i + 1);
  vehicle.libretto = formatted("LIB%07ld", i);
  vehicle.targa = formatted("OM%05ld", i % 100000) + static_cast<char>('A' + revision % 26);
  vehicle.prima = dateText(1 + i % 28, 1 + i % 12, 1995 + i % 25);
  vehicle.tipo = Makes[index % Makes.size()];
  vehicle.dtimm = dateText(1 + (i + 3) % 28, 1 + (i + 5) % 12, 2000 + i % 20);
  vehicle.dest = i % 5 == 0 ? "Noleggio" : "Linea urbana";
  vehicle.carroz = i % 3 == 0 ? "Interurbano" : "Urbano";
  vehicle.aliment = Fuels[index % Fuels.size()];
  vehicle.sedere = static_cast<std::int32_t>(20 + (i + revision) % 40);
  vehicle.piedi = static_cast<std::int32_t>(30 + i % 70);
  vehicle.handicap = static_cast<std::int32_t>(i % 3);
  vehicle.lung = 10.5 + static_cast<double>(i % 8) * 0.25;
  vehicle.altezza = 0.3 + static_cast<double>(i % 4) * 0.1;
  vehicle.aria = static_cast<std::int32_t>(i % 2);
  vehicle.pedana = static_cast<std::int32_t>((i / 2) % 2);
  vehicle.prezzo = 150000.0 + static_cast<double>(i % 1000) * 125.5 + revision * 1000.0;
  vehicle.contrib = vehicle.prezzo * 0.4;
  vehicle.atto = i % 4 == 0 ? "" : formatted("DGR %ld/%ld", 100 + i % 900, 2000 + i % 20);
  vehicle.contrib2 = static_cast<double>(i % 10) * 1000.0;
  vehicle.datini = dateText(1 + i % 28, 1 + (i + 1) % 12, 2000 + i % 20);
  vehicle.datfin = i % 7 == 0 ? std::string("99/99/9999") : std::string();
  vehicle.datrad = i % 50 == 49 ? dateText(31, 12, 2023) : std::string();
  return entry;
}

}  // namespace

std::string SyntheticChassis(std::int32_t azienda, std::size_t index) {
  return formatted("ZCF%03ld%09ld", azienda, static_cast<long>(index));
}

Communication SyntheticCommunication(std::int32_t azienda, std::string date, std::size_t vehicles,
                                     int revision) {
  Communication communication(azienda, std::move(date));
  for (std::size_t i = 0; i < vehicles; ++i)
    communication.append(syntheticVehicle(azienda, i, revision));
  return communication;
}

}  // namespace veltra::testing
