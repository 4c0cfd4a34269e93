#pragma once
// What the vehicle card and the history card share: the labels of their
// lines, one per vehicle field but the ambit code and in the order of
// VehicleFields, and how each kind of value is shown. Both cards are plain
// texts whose lines end with CR LF.

#include <array>
#include <string>
#include <string_view>

#include "comms/VehicleFields.h"

namespace veltra::reports {

inline constexpr std::string_view CardLineEnd = "\r\n";
inline constexpr std::string_view CompanyLabel = "Azienda utilizzatrice: ";
inline constexpr std::string_view AmbitLabel = "Ambito: ";
inline constexpr std::string_view ChassisLabel = "Telaio: ";

struct CardItem {
  std::string_view field;  // the column of bus and storia
  std::string_view label;
  bool endsGroup = false;  // the vehicle card leaves an empty line after it
};

inline constexpr std::array<CardItem, 24> CardItems = {{
    {"prop", "Proprietà: "},
    {"interno", "N.ro aziendale interno: "},
    {"libretto", "Carta circolazione: "},
    {"targa", "Targa: "},
    {"prima", "Data 1^ immatricolazione: "},
    {"tipo", "Marca e tipo: "},
    {"dtimm", "Data immatricolazione: ", true},
    {"dest", "Destinazione d'uso: "},
    {"carroz", "Carrozzeria: "},
    {"aliment", "Alimentazione: "},
    {"sedere", "N.ro posti seduti: "},
    {"piedi", "N.ro posti in piedi: "},
    {"handicap", "N.ro posti carrozzella: "},
    {"lung", "Lunghezza: "},
    {"altezza", "Altezza piano calpestabile: "},
    {"aria", "Aria Condizionata: "},
    {"pedana", "Pedana carrozzella: ", true},
    {"prezzo", "Prezzo di acquisto (IVA esclusa): "},
    {"contrib", "Contributo regionale: "},
    {"atto", "Atto erogazione contributo regionale: "},
    {"contrib2", "Altri contributi: ", true},
    {"datini", "Data immissione in servizio: "},
    {"datfin", "Data dismissione: "},
    {"datrad", "Data radiazione: ", true},
}};

// The card items are the vehicle fields after the ambit code, in their order.
constexpr bool CardItemsFollowVehicleFields() {
  if (comms::VehicleFields[0].name != "ambito") return false;
  for (std::size_t i = 0; i < CardItems.size(); ++i)
    if (CardItems[i].field != comms::VehicleFields[i + 1].name) return false;
  return CardItems.size() + 1 == comms::VehicleFields.size();
}
static_assert(CardItemsFollowVehicleFields());

inline comms::FieldKind KindOf(const CardItem& item) {
  return comms::VehicleFieldNamed(item.field).kind;
}

// A decimal number with the decimals of its kind, a decimal comma and its
// unit: 12,500 m. (length), 0,3 cm. (height), 1234,50 Euro (amounts).
std::string ShownNumber(comms::FieldKind kind, double value);
// "SI" or "NO".
std::string_view ShownFlag(bool yes);

// label + shown value + CR LF.
std::string CardLine(std::string_view label, std::string_view shown);

}  // namespace veltra::reports
