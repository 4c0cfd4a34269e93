#include "reports/VehicleCardText.h"

#include "comms/NumberText.h"
#include "db/FieldValueText.h"
#include "db/TableCursor.h"
#include "reports/VehicleCardItems.h"

namespace veltra::reports {

namespace {

// A table cursor on the key index, as every seek of the card needs.
class KeyCursor {
 public:
  KeyCursor(db::DatabaseConnection& connection, const std::string& table)
      : cursor_(&connection, table) {
    cursor_.SelectIndex("codice");
  }

  bool seek(const std::string& key) { return cursor_.Seek({&key, 1}); }

  // The field's text with its trailing blanks removed.
  std::string text(const std::string& field) {
    std::string value;
    cursor_.GetField(field, value);
    db::TrimTrailingBlanks(value);
    return value;
  }

  // The denom of the row of code, or unknown when there is no such row.
  std::string nameOf(const std::string& code, std::string_view unknown) {
    return seek(code) ? text("denom") : std::string(unknown);
  }

 private:
  db::TableCursor cursor_;
};

// Every value comes as its database text: whole numbers in decimal, flags as
// "1" or "0", decimal numbers with a decimal comma.
std::string shownValue(comms::FieldKind kind, const std::string& text) {
  switch (kind) {
    case comms::FieldKind::Text:
    case comms::FieldKind::Whole:
      return text;
    case comms::FieldKind::Flag:
      return std::string(ShownFlag(comms::FlagFromDatabaseText(text) == 1));
    case comms::FieldKind::Length:
    case comms::FieldKind::Height:
    case comms::FieldKind::Amount:
      return ShownNumber(kind, comms::ReadDecimalNumber(text).value_or(0.0));
  }
  return text;
}

}  // namespace

std::string VehicleCardText(db::DatabaseConnection& connection, std::string_view chassisKey) {
  KeyCursor bus(connection, "bus");
  KeyCursor regazi(connection, "regazi");
  KeyCursor regprv(connection, "regprv");
  if (!bus.seek(std::string(chassisKey))) return std::string(VehicleNotAvailableText);

  std::string card;
  card += CardLine(CompanyLabel, regazi.nameOf(bus.text("azienda"), UnknownCompanyName));
  card += CardLine(AmbitLabel, regprv.nameOf(bus.text("ambito"), UnknownAmbitName));
  card += CardLineEnd;
  card += CardLine(ChassisLabel, bus.text("telaio"));
  for (const CardItem& item : CardItems) {
    card += CardLine(item.label, shownValue(KindOf(item), bus.text(std::string(item.field))));
    if (item.endsGroup) card += CardLineEnd;
  }
  card += CardLine("Data ultimo aggiornamento: ", bus.text("data"));
  return card;
}

}  // namespace veltra::reports
