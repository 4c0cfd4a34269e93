#include "comms/VehicleQuery.h"

namespace veltra::comms {

std::string VehicleFieldList(std::string_view table) {
  static constexpr std::string_view Fields[] = {
      "ambito", "prop",     "interno", "libretto", "targa",   "prima",  "tipo",
      "dtimm",  "dest",     "carroz",  "aliment",  "sedere",  "piedi",  "handicap",
      "lung",   "altezza",  "aria",    "pedana",   "prezzo",  "contrib", "contrib2",
      "atto",   "datini",   "datfin",  "datrad"};
  std::string list;
  for (std::string_view field : Fields) {
    if (!list.empty()) list += ", ";
    if (!table.empty()) list.append(table).append(".");
    list += field;
  }
  return list;
}

}  // namespace veltra::comms
