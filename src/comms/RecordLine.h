#pragma once
// Record lines: one vehicle per line, its fields separated by TABs. Situation
// files write 27 fields (telaio, the company code, ambito ... datrad); a
// company's communication puts the kind NEW or VAR in front of them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "comms/Communication.h"
#include "comms/VehicleFields.h"
#include "comms/Windows1252.h"

namespace veltra::comms {

// The kind, the chassis and the company code, then the vehicle fields.
inline constexpr std::size_t VariationFieldCount = 3 + VehicleFields.size();

// Why a record line was refused, for a company to find what to mend.
enum class RecordFault {
  None,
  FieldCount,  // not exactly VariationFieldCount fields
  Kind,        // the kind is not "NEW" or "VAR"
  TooLong,     // a field longer than the reader holds
  Number,      // a number that does not fit
};

struct VariationLineRead {
  RecordFault fault = RecordFault::None;
  std::size_t fieldCount = 0;  // the fields the line has, TABs plus one
  std::size_t column = 0;      // 1-based field at fault; 0 for the whole line
  std::size_t width = 0;       // for TooLong: the characters the field holds at most

  explicit operator bool() const { return fault == RecordFault::None; }
};

// Parses one record line of a communication (UTF-8, without its terminator)
// into a new entry appended to the communication. Refused, with nothing
// appended, at the first fault the line holds.
VariationLineRead ParseVariationLine(Communication& communication, std::string_view line);
// The name of a record line's 1-based column: "NEW/VAR", "telaio", "azienda",
// then the vehicle fields in their order; none past the record's last.
std::string_view VariationColumnName(std::size_t column);

// The name of the first field of the vehicle, its chassis included, whose
// text holds a TAB, CR or LF: written into a line it would shift the columns
// or split the line. The program never stores one; it can only come from
// outside. None when every field fits a line.
std::optional<std::string_view> FieldBreakingLine(std::string_view telaio,
                                                  const VehicleData& vehicle);
bool BreaksLine(std::string_view text);
// Why a file is not written: the vehicle and its field.
std::string FieldBreakingLineText(std::string_view telaio, std::string_view field);

// Why the vehicle's line cannot be written: a text that would break it, or
// one Windows-1252 cannot hold (a character it lacks, or bytes that are no
// UTF-8 at all), named by the vehicle and the field. None when it can.
std::optional<std::string> VehicleLineRefusal(std::string_view telaio, const VehicleData& vehicle,
                                              Windows1252Codec& codec);
// The same for a text of another table on the vehicle's line.
std::optional<std::string> TextLineRefusal(std::string_view telaio, std::string_view field,
                                           std::string_view text, Windows1252Codec& codec);

// The 27 fields of a situation record line, without terminator.
std::string SituationRecordFields(std::int32_t azienda, const VehicleEntry& entry);
// The kind, a TAB and the 27 fields: a record line of a communication.
std::string VariationRecordLine(std::int32_t azienda, const VehicleEntry& entry);

}  // namespace veltra::comms
