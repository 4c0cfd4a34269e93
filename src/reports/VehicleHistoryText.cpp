#include "reports/VehicleHistoryText.h"

#include <cstdint>
#include <vector>

#include "db/FieldValueText.h"
#include "db/QueryCursor.h"
#include "reports/QueryColumns.h"
#include "reports/VehicleCardItems.h"

namespace veltra::reports {

namespace {

constexpr int DateColumn = 0;
constexpr int FirstItemColumn = 1;

// One line of a block and the value it showed last. The first values are
// those of the behaviour: the first row prints every text that is not empty,
// every number but -1, and both flags (9 is neither -1 nor 0).
class HistoryItem {
 public:
  HistoryItem(std::string_view label, comms::FieldKind kind)
      : label_(label), kind_(kind), whole_(kind == comms::FieldKind::Flag ? 9 : -1) {}

  // The item's line when the row's value differs from the last one shown;
  // nothing otherwise.
  void appendWhenChanged(db::QueryCursor& query, int column, std::string& text) {
    switch (kind_) {
      case comms::FieldKind::Text:
        return appendText(query, column, text);
      case comms::FieldKind::Whole:
      case comms::FieldKind::Flag:
        return appendWhole(query, column, text);
      case comms::FieldKind::Length:
      case comms::FieldKind::Height:
      case comms::FieldKind::Amount:
        return appendNumber(query, column, text);
    }
  }

 private:
  void appendText(db::QueryCursor& query, int column, std::string& text) {
    std::string value = TrimmedColumn(query, column);
    if (value == text_) return;
    text_ = std::move(value);
    text += CardLine(label_, text_);
  }

  void appendWhole(db::QueryCursor& query, int column, std::string& text) {
    std::int32_t value = 0;
    query.GetInt(column, value);
    if (value == whole_) return;
    whole_ = value;
    text += CardLine(label_, kind_ == comms::FieldKind::Flag ? std::string(ShownFlag(value != 0))
                                                             : std::to_string(value));
  }

  void appendNumber(db::QueryCursor& query, int column, std::string& text) {
    double value = 0.0;
    query.GetDouble(column, value);
    if (value == number_) return;
    number_ = value;
    text += CardLine(label_, ShownNumber(kind_, value));
  }

  std::string_view label_;
  comms::FieldKind kind_;
  std::string text_;
  std::int32_t whole_;
  double number_ = -1.0;
};

// In the order of the select list from column 1 on.
std::vector<HistoryItem> historyItems() {
  std::vector<HistoryItem> items;
  items.reserve(2 + CardItems.size());
  items.emplace_back(CompanyLabel, comms::FieldKind::Text);
  items.emplace_back(AmbitLabel, comms::FieldKind::Text);
  for (const CardItem& item : CardItems) items.emplace_back(item.label, KindOf(item));
  return items;
}

void appendBlock(db::QueryCursor& query, std::vector<HistoryItem>& items, std::string& text) {
  std::string date;
  query.GetString(DateColumn, date);
  text.append("\r\nData comunicazione").append(date).append("\r\n\r\n");
  int column = FirstItemColumn;
  for (HistoryItem& item : items) item.appendWhenChanged(query, column++, text);
}

}  // namespace

std::string HistorySelectList() {
  std::string list = "storia.data, regazi.denom, regprv.denom";
  for (const CardItem& item : CardItems) list.append(", storia.").append(item.field);
  return list;
}

std::string VehicleHistoryText(db::DatabaseConnection& connection, std::string_view chassisKey) {
  db::QueryCursor query(&connection);
  query.SetSelect(HistorySelectList());
  query.SetFrom("storia, regazi, regprv");
  query.SetWhere("storia.telaio = " + db::QuoteText(chassisKey) +
                 " AND regazi.codice = storia.azienda AND regprv.codice = storia.ambito");
  query.SetOrderBy("storia.data");

  std::string text = CardLine(ChassisLabel, chassisKey);
  std::vector<HistoryItem> items = historyItems();
  for (bool row = query.Execute(); row; row = query.NextRow()) appendBlock(query, items, text);
  return text;
}

}  // namespace veltra::reports
