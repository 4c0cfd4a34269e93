#include "comms/RecordLine.h"

#include <array>
#include <iterator>
#include <optional>

#include "comms/NumberText.h"
#include "comms/Windows1252.h"

namespace veltra::comms {

namespace {

using FieldReader = bool (*)(std::string_view field, VehicleEntry& entry);

// The longest text, in characters, the reader takes for a field, and how the
// field fills the entry.
struct FieldRule {
  std::size_t capacity;
  FieldReader read;
};

bool readKind(std::string_view field, VehicleEntry& entry) {
  if (field == "NEW") {
    entry.kind = EntryKind::New;
    return true;
  }
  if (field == "VAR") {
    entry.kind = EntryKind::Var;
    return true;
  }
  return false;
}

// The company column: the communication's own code applies to every record.
bool ignoreField(std::string_view, VehicleEntry&) {
  return true;
}

template <std::string VehicleEntry::*Member>
bool readText(std::string_view field, VehicleEntry& entry) {
  entry.*Member = field;
  return true;
}

template <std::int32_t VehicleEntry::*Member>
bool readWhole(std::string_view field, VehicleEntry& entry) {
  const auto value = ReadWholeNumber(field);
  if (!value) return false;
  entry.*Member = *value;
  return true;
}

template <double VehicleEntry::*Member>
bool readDecimal(std::string_view field, VehicleEntry& entry) {
  const auto value = ReadDecimalNumber(field);
  if (!value) return false;
  entry.*Member = *value;
  return true;
}

template <std::int32_t VehicleEntry::*Member>
bool readFlag(std::string_view field, VehicleEntry& entry) {
  entry.*Member = FlagFromFileText(field);
  return true;
}

constexpr std::size_t AnyField = 1023;
constexpr std::size_t LongText = 63;
constexpr std::size_t ShortText = 31;
constexpr std::size_t DateOrCode = 15;

using E = VehicleEntry;
constexpr std::array<FieldRule, VariationFieldCount> VariationFields = {{
    {AnyField, readKind},
    {LongText, readText<&E::telaio>},
    {AnyField, ignoreField},
    {AnyField, readWhole<&E::ambito>},
    {LongText, readText<&E::prop>},
    {DateOrCode, readText<&E::interno>},
    {ShortText, readText<&E::libretto>},
    {DateOrCode, readText<&E::targa>},
    {DateOrCode, readText<&E::prima>},
    {ShortText, readText<&E::tipo>},
    {DateOrCode, readText<&E::dtimm>},
    {ShortText, readText<&E::dest>},
    {ShortText, readText<&E::carroz>},
    {ShortText, readText<&E::aliment>},
    {AnyField, readWhole<&E::sedere>},
    {AnyField, readWhole<&E::piedi>},
    {AnyField, readWhole<&E::handicap>},
    {AnyField, readDecimal<&E::lung>},
    {AnyField, readDecimal<&E::altezza>},
    {AnyField, readFlag<&E::aria>},
    {AnyField, readFlag<&E::pedana>},
    {AnyField, readDecimal<&E::prezzo>},
    {AnyField, readDecimal<&E::contrib>},
    {ShortText, readText<&E::atto>},
    {AnyField, readDecimal<&E::contrib2>},
    {DateOrCode, readText<&E::datini>},
    {DateOrCode, readText<&E::datfin>},
    {DateOrCode, readText<&E::datrad>},
}};

// The TAB-separated fields of the line, or none when their number is not
// the record's.
std::optional<std::array<std::string_view, VariationFieldCount>> splitFields(
    std::string_view line) {
  std::array<std::string_view, VariationFieldCount> fields;
  std::size_t count = 0;
  for (;;) {
    const std::size_t tab = line.find('\t');
    if (count == fields.size()) return std::nullopt;
    fields[count++] = line.substr(0, tab);
    if (tab == std::string_view::npos) break;
    line.remove_prefix(tab + 1);
  }
  if (count != fields.size()) return std::nullopt;
  return fields;
}

}  // namespace

bool ParseVariationLine(Communication& communication, std::string_view line) {
  const auto fields = splitFields(line);
  if (!fields) return false;
  VehicleEntry entry;
  for (std::size_t i = 0; i < VariationFields.size(); ++i) {
    const FieldRule& rule = VariationFields[i];
    if (Utf8Length((*fields)[i]) > rule.capacity || !rule.read((*fields)[i], entry)) return false;
  }
  communication.append(std::move(entry));
  return true;
}

std::string SituationRecordFields(std::int32_t azienda, const VehicleEntry& entry) {
  const std::string fields[] = {entry.telaio,
                                std::to_string(azienda),
                                std::to_string(entry.ambito),
                                entry.prop,
                                entry.interno,
                                entry.libretto,
                                entry.targa,
                                entry.prima,
                                entry.tipo,
                                entry.dtimm,
                                entry.dest,
                                entry.carroz,
                                entry.aliment,
                                std::to_string(entry.sedere),
                                std::to_string(entry.piedi),
                                std::to_string(entry.handicap),
                                LengthText(entry.lung),
                                HeightText(entry.altezza),
                                std::string(1, FlagFileChar(entry.aria)),
                                std::string(1, FlagFileChar(entry.pedana)),
                                AmountText(entry.prezzo),
                                AmountText(entry.contrib),
                                entry.atto,
                                AmountText(entry.contrib2),
                                entry.datini,
                                entry.datfin,
                                entry.datrad};
  return TabSeparated(fields);
}

std::string TabSeparated(std::span<const std::string> fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += '\t';
    line += fields[i];
  }
  return line;
}

std::string VariationRecordLine(std::int32_t azienda, const VehicleEntry& entry) {
  return (entry.kind == EntryKind::New ? "NEW\t" : "VAR\t") + SituationRecordFields(azienda, entry);
}

}  // namespace veltra::comms
