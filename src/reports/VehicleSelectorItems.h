#pragma once
// The vehicle selector of the two card dialogs: one item per vehicle of bus,
// "plate      (chassis)", in the order of the plates; the chassis key read
// back from an item; and the item a typed prefix finds.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/DatabaseConnection.h"

namespace veltra::reports {

struct VehicleSelectorItem {
  std::string text;     // what the selector shows
  std::string plate;    // targa, trailing blanks removed
  std::string chassis;  // telaio, trailing blanks removed

  friend bool operator==(const VehicleSelectorItem&, const VehicleSelectorItem&) = default;
};

// The history card's query groups its rows by plate and chassis; the vehicle
// card's does not. Both list the vehicles of bus.
enum class SelectorFor { VehicleCard, HistoryCard };

// "%s      (%s)": six blanks between the plate and the parenthesis.
std::string SelectorItemText(std::string_view plate, std::string_view chassis);

// One item per row of the query, in its order (by plate).
std::vector<VehicleSelectorItem> VehicleSelectorItems(db::DatabaseConnection& connection,
                                                      SelectorFor card);

// The text after the last "(" of an item, without its last character (the
// closing parenthesis). A chassis that holds "(" itself gives only its part
// after the last one, as the behaviour fixes it.
std::string ChassisKeyOfItem(std::string_view itemText);

// The first item whose plate or chassis begins with typed, ignoring the case
// of ASCII letters as the database does; none when typed is empty or no item
// matches.
std::optional<std::size_t> FirstItemStartingWith(const std::vector<VehicleSelectorItem>& items,
                                                 std::string_view typed);

}  // namespace veltra::reports
