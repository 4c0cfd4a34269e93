#pragma once
// One vehicle as a company communication carries it: what one record line of
// a communication file holds and what applying it writes into bus and storia.
// The company code and the date belong to the owning Communication.

#include <cstdint>
#include <string>

namespace veltra::comms {

// The first column of an imported record line; entries read from the
// database are Var. It does not decide between insert and update.
enum class EntryKind : int { Var = 0, New = 1 };

// Texts are UTF-8; dates are "GG/MM/AAAA" or empty. Fields are in the order
// of a record line (atto stands between contrib and contrib2).
struct VehicleEntry {
  EntryKind kind = EntryKind::Var;
  std::string telaio;
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

  friend bool operator==(const VehicleEntry&, const VehicleEntry&) = default;
};

}  // namespace veltra::comms
