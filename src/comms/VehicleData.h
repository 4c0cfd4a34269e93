#pragma once
// What the register knows of a vehicle besides its chassis: the columns that
// bus and storia share, from ambito to datrad. A communication's entry and a
// situation row both hold one; VehicleFields lists them for every reader and
// writer.

#include <cstdint>
#include <string>

namespace veltra::comms {

// Texts are UTF-8; dates are "GG/MM/AAAA" or empty.
struct VehicleData {
  std::int32_t ambito = 0;
  std::string prop;
  std::string interno;
  std::string libretto;
  std::string targa;
  std::string prima;
  std::string tipo;
  std::string dtimm;
  std::string dest;
  std::string carroz;
  std::string aliment;
  std::int32_t sedere = 0;
  std::int32_t piedi = 0;
  std::int32_t handicap = 0;
  double lung = 0.0;
  double altezza = 0.0;
  std::int32_t aria = 0;    // 1 = yes
  std::int32_t pedana = 0;  // 1 = yes
  double prezzo = 0.0;
  double contrib = 0.0;
  std::string atto;
  double contrib2 = 0.0;
  std::string datini;
  std::string datfin;
  std::string datrad;  // empty while the vehicle is active

  friend bool operator==(const VehicleData&, const VehicleData&) = default;
};

}  // namespace veltra::comms
