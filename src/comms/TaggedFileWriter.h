#pragma once
// Writes a communication in the tagged file format the office and the
// companies exchange: "<Tag>count", "<Azienda=code>", "<Data=date>", one
// record line per vehicle, "</Tag>checksum". Bytes in Windows-1252, lines
// ended by CR LF, the checksum taken over the bytes written.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "comms/Communication.h"

namespace veltra::comms {

// How one vehicle becomes a record line (UTF-8, without terminator).
using RecordLineFormat = std::string (*)(std::int32_t azienda, const VehicleEntry& entry);

// The whole file; none when some text has a character Windows-1252 cannot hold.
std::optional<std::string> TaggedFileText(std::string_view tag, const Communication& communication,
                                          RecordLineFormat format);

// A company communication as the import reads it (tag "VariazioniBusQz").
std::optional<std::string> CommunicationFileText(const Communication& communication);

}  // namespace veltra::comms
