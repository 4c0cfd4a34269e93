#pragma once
// The calendar and clock of a moment as the user's computer shows them.

#include <ctime>

namespace veltra::platform {

std::tm LocalTime(std::time_t moment);

}  // namespace veltra::platform
