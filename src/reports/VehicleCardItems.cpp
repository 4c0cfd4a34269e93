#include "reports/VehicleCardItems.h"

#include "comms/NumberText.h"

namespace veltra::reports {

std::string ShownNumber(comms::FieldKind kind, double value) {
  switch (kind) {
    case comms::FieldKind::Length:
      return comms::LengthText(value) + " m.";
    case comms::FieldKind::Height:
      return comms::HeightText(value) + " cm.";
    case comms::FieldKind::Amount:
      return comms::AmountText(value) + " Euro";
    case comms::FieldKind::Text:
    case comms::FieldKind::Whole:
    case comms::FieldKind::Flag:
      break;
  }
  return {};
}

std::string_view ShownFlag(bool yes) {
  return yes ? "SI" : "NO";
}

std::string CardLine(std::string_view label, std::string_view shown) {
  std::string line;
  line.reserve(label.size() + shown.size() + CardLineEnd.size());
  line.append(label).append(shown).append(CardLineEnd);
  return line;
}

}  // namespace veltra::reports
