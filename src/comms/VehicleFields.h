#pragma once
// The vehicle's fields written once: their column names, kinds and widths in
// the order of a record line (atto stands between contrib and contrib2). The
// select lists, the database reader, the values written into bus and storia,
// the file writers and the record-line parser all walk this table. A new
// field is one line here, plus its column heading in the fleet file and its
// place in the fillings of the lists.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "comms/VehicleData.h"

namespace veltra::comms {

// How a field is held and written: texts as they are, whole numbers with
// "%d", flags as S/N in files and 1/0 in the database, the decimal numbers
// with their own count of decimals and a decimal comma.
enum class FieldKind { Text, Whole, Flag, Length, Height, Amount };

using FieldMember =
    std::variant<std::string VehicleData::*, std::int32_t VehicleData::*, double VehicleData::*>;

struct VehicleField {
  std::string_view name;  // the column of bus and storia
  FieldKind kind;
  std::size_t width;  // the longest text, in characters, a record line may hold
  FieldMember member;
};

// Widths of the reader of record lines; numbers and flags take any text.
inline constexpr std::size_t AnyFieldWidth = 1023;
inline constexpr std::size_t LongTextWidth = 63;
inline constexpr std::size_t ShortTextWidth = 31;
inline constexpr std::size_t DateOrCodeWidth = 15;

inline constexpr std::array<VehicleField, 25> VehicleFields = {{
    {"ambito", FieldKind::Whole, AnyFieldWidth, &VehicleData::ambito},
    {"prop", FieldKind::Text, LongTextWidth, &VehicleData::prop},
    {"interno", FieldKind::Text, DateOrCodeWidth, &VehicleData::interno},
    {"libretto", FieldKind::Text, ShortTextWidth, &VehicleData::libretto},
    {"targa", FieldKind::Text, DateOrCodeWidth, &VehicleData::targa},
    {"prima", FieldKind::Text, DateOrCodeWidth, &VehicleData::prima},
    {"tipo", FieldKind::Text, ShortTextWidth, &VehicleData::tipo},
    {"dtimm", FieldKind::Text, DateOrCodeWidth, &VehicleData::dtimm},
    {"dest", FieldKind::Text, ShortTextWidth, &VehicleData::dest},
    {"carroz", FieldKind::Text, ShortTextWidth, &VehicleData::carroz},
    {"aliment", FieldKind::Text, ShortTextWidth, &VehicleData::aliment},
    {"sedere", FieldKind::Whole, AnyFieldWidth, &VehicleData::sedere},
    {"piedi", FieldKind::Whole, AnyFieldWidth, &VehicleData::piedi},
    {"handicap", FieldKind::Whole, AnyFieldWidth, &VehicleData::handicap},
    {"lung", FieldKind::Length, AnyFieldWidth, &VehicleData::lung},
    {"altezza", FieldKind::Height, AnyFieldWidth, &VehicleData::altezza},
    {"aria", FieldKind::Flag, AnyFieldWidth, &VehicleData::aria},
    {"pedana", FieldKind::Flag, AnyFieldWidth, &VehicleData::pedana},
    {"prezzo", FieldKind::Amount, AnyFieldWidth, &VehicleData::prezzo},
    {"contrib", FieldKind::Amount, AnyFieldWidth, &VehicleData::contrib},
    {"atto", FieldKind::Text, ShortTextWidth, &VehicleData::atto},
    {"contrib2", FieldKind::Amount, AnyFieldWidth, &VehicleData::contrib2},
    {"datini", FieldKind::Text, DateOrCodeWidth, &VehicleData::datini},
    {"datfin", FieldKind::Text, DateOrCodeWidth, &VehicleData::datfin},
    {"datrad", FieldKind::Text, DateOrCodeWidth, &VehicleData::datrad},
}};

// The value a field names in a vehicle, as the type its kind holds.
template <class Value>
Value& VehicleValue(const VehicleField& field, VehicleData& vehicle) {
  return vehicle.*std::get<Value VehicleData::*>(field.member);
}
template <class Value>
const Value& VehicleValue(const VehicleField& field, const VehicleData& vehicle) {
  return vehicle.*std::get<Value VehicleData::*>(field.member);
}

// The field of that column; every name a caller passes is one of the table's.
const VehicleField& VehicleFieldNamed(std::string_view name);

// As a record line writes it: flags "S"/"N", numbers with a decimal comma.
std::string FileText(const VehicleField& field, const VehicleData& vehicle);
// The same appended to line, for writers that build each line in one buffer.
void AppendFileText(const VehicleField& field, const VehicleData& vehicle, std::string& line);
// A value of a decimal field's kind (lung, altezza, an amount) as a record
// line writes it, appended to line.
void AppendDecimalFileText(FieldKind kind, double value, std::string& line);
// A decimal field (lung, altezza, the amounts) as bus and storia keep it:
// rounded to the decimals its text carries.
double DatabaseNumber(const VehicleField& field, const VehicleData& vehicle);
// Reads a record line's field into the vehicle; false when a number does not
// fit. The width is the caller's to check.
bool ReadFileText(const VehicleField& field, std::string_view text, VehicleData& vehicle);

// The fields of the columns not named, found once by a caller that uses them
// row after row.
std::vector<const VehicleField*> VehicleFieldsBesides(
    std::initializer_list<std::string_view> names);

// Gives those fields of the vehicle the values they have in base.
void ResetFields(VehicleData& vehicle, const std::vector<const VehicleField*>& fields,
                 const VehicleData& base);

}  // namespace veltra::comms
