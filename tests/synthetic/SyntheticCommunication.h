#pragma once
// Valid communications of any size, for tests, benchmarks and fuzzing seeds.
// Every field fits the widths and rules of the tables, the ambits are among
// the seeded codes, and vehicle i always has the same chassis, so a second
// communication of a company updates the vehicles the first one inserted.

#include <cstddef>
#include <cstdint>
#include <string>

#include "comms/Communication.h"

namespace veltra::testing {

// The chassis of the company's vehicle number index.
std::string SyntheticChassis(std::int32_t azienda, std::size_t index);

// vehicles entries of kind NEW; revision changes the communicated values
// (seats, prices, plates) so that a later communication differs.
comms::Communication SyntheticCommunication(std::int32_t azienda, std::string date,
                                            std::size_t vehicles, int revision = 0);

}  // namespace veltra::testing
