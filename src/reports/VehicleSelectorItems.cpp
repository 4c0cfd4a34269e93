#include "reports/VehicleSelectorItems.h"

#include "db/PlainText.h"
#include "db/QueryCursor.h"
#include "reports/QueryColumns.h"

namespace veltra::reports {

namespace {

bool startsIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         db::EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string SelectorItemText(std::string_view plate, std::string_view chassis) {
  std::string text;
  text.reserve(plate.size() + chassis.size() + 8);
  text.append(plate).append("      (").append(chassis).append(")");
  return text;
}

std::vector<VehicleSelectorItem> VehicleSelectorItems(db::DatabaseConnection& connection,
                                                      SelectorFor card) {
  db::QueryCursor query(&connection);
  query.SetSelect("targa, telaio");
  query.SetFrom("bus");
  if (card == SelectorFor::HistoryCard) query.SetGroupBy("targa, telaio");
  query.SetOrderBy("targa");
  std::vector<VehicleSelectorItem> items;
  for (bool row = query.Execute(); row; row = query.NextRow()) {
    VehicleSelectorItem item{{}, TrimmedColumn(query, 0), TrimmedColumn(query, 1)};
    item.text = SelectorItemText(item.plate, item.chassis);
    items.push_back(std::move(item));
  }
  return items;
}

std::string ChassisKeyOfItem(std::string_view itemText) {
  const std::size_t open = itemText.rfind('(');
  std::string_view key = open == std::string_view::npos ? itemText : itemText.substr(open + 1);
  if (!key.empty()) key.remove_suffix(1);
  return std::string(key);
}

std::optional<std::size_t> FirstItemStartingWith(const std::vector<VehicleSelectorItem>& items,
                                                 std::string_view typed) {
  if (typed.empty()) return std::nullopt;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (startsIgnoringCase(items[i].plate, typed) || startsIgnoringCase(items[i].chassis, typed))
      return i;
  return std::nullopt;
}

}  // namespace veltra::reports
