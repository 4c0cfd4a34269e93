#include "comms/RecordLine.h"

#include <algorithm>
#include <array>
#include <optional>

#include "comms/ByteBlocks.h"
#include "comms/NumberText.h"
#include "comms/VehicleFields.h"
#include "db/PlainText.h"

namespace veltra::comms {

namespace {

// A record line of a communication: the kind, the chassis, the company code
// (the communication's own code applies to every record, so it is not read)
// and the vehicle fields.
enum LeadingColumn : std::size_t { Kind, Telaio, Azienda, FirstVehicleColumn };
static_assert(FirstVehicleColumn + VehicleFields.size() == VariationFieldCount);

std::optional<EntryKind> readKind(std::string_view field) {
  if (field == "NEW") return EntryKind::New;
  if (field == "VAR") return EntryKind::Var;
  return std::nullopt;
}

using LineFields = std::array<std::string_view, VariationFieldCount>;

// The TAB-separated fields of the line, or none when their number is not
// the record's.
std::optional<LineFields> splitFields(std::string_view line) {
  LineFields fields;
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

bool fits(std::string_view field, std::size_t width) {
  // No text has more characters than bytes: most fields need no counting.
  return field.size() <= width || db::Utf8Length(field) <= width;
}

VariationLineRead refused(RecordFault fault, std::size_t column, std::size_t width = 0) {
  return {fault, VariationFieldCount, column + 1, width};
}

VariationLineRead tooLong(std::size_t column, std::size_t width) {
  return refused(RecordFault::TooLong, column, width);
}

// Fills entry, a new one, from the fields; refused at the first that does not hold.
VariationLineRead readEntry(const LineFields& fields, VehicleEntry& entry) {
  const auto kind = readKind(fields[Kind]);
  if (!kind) return refused(RecordFault::Kind, Kind);
  if (!fits(fields[Telaio], LongTextWidth)) return tooLong(Telaio, LongTextWidth);
  if (!fits(fields[Azienda], AnyFieldWidth)) return tooLong(Azienda, AnyFieldWidth);
  entry.kind = *kind;
  entry.telaio = fields[Telaio];
  for (std::size_t i = 0; i < VehicleFields.size(); ++i) {
    const VehicleField& field = VehicleFields[i];
    const std::string_view text = fields[FirstVehicleColumn + i];
    if (!fits(text, field.width)) return tooLong(FirstVehicleColumn + i, field.width);
    if (!ReadFileText(field, text, entry.vehicle))
      return refused(RecordFault::Number, FirstVehicleColumn + i);
  }
  return {RecordFault::None, VariationFieldCount, 0, 0};
}

}  // namespace

VariationLineRead ParseVariationLine(Communication& communication, std::string_view line) {
  const auto fields = splitFields(line);
  if (!fields)
    return {RecordFault::FieldCount,
            static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')) + 1, 0, 0};
  // Read in place: an entry is many texts, and a large communication many entries.
  const VariationLineRead read = readEntry(*fields, communication.append());
  if (!read) communication.removeLast();
  return read;
}

std::string_view VariationColumnName(std::size_t column) {
  if (column == 0 || column > VariationFieldCount) return {};
  switch (column - 1) {
    case Kind:
      return "NEW/VAR";
    case Telaio:
      return "telaio";
    case Azienda:
      return "azienda";
    default:
      return VehicleFields[column - 1 - FirstVehicleColumn].name;
  }
}

bool BreaksLine(std::string_view text) {
  // One pass over the text: every text of every exported row goes through here.
  // Every byte of a line end or TAB is at most '\r': one comparison clears the others.
  return std::any_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) <= '\r' && (c == '\t' || c == '\r' || c == '\n');
  });
}

std::optional<std::string_view> FieldBreakingLine(std::string_view telaio,
                                                  const VehicleData& vehicle) {
  if (BreaksLine(telaio)) return "telaio";
  // Numbers and flags are written by the program's own formats, which hold
  // no TAB or line end: only the texts need looking at.
  for (const VehicleField& field : VehicleFields)
    if (field.kind == FieldKind::Text && BreaksLine(VehicleValue<std::string>(field, vehicle)))
      return field.name;
  return std::nullopt;
}

std::string FieldBreakingLineText(std::string_view telaio, std::string_view field) {
  std::string shown(telaio);
  for (char& c : shown)
    if (BreaksLine(std::string_view(&c, 1))) c = ' ';
  return "Il mezzo con telaio \"" + shown + "\" ha nel campo \"" + std::string(field) +
         "\" una tabulazione o un a capo, che spezzerebbe la riga del file.\n"
         "Il dato non è stato scritto da questo programma: va corretto nel database.";
}

namespace {

// Printable ASCII only: nothing to convert and no TAB or line end, which is
// what nearly every text is. Any other byte sends the row the long way,
// which tells which field is at fault.
bool IsPlainAscii(std::string_view text) {
  bool outside = false;
  ForEachByteInBlocks(text, [&outside](char c) {
    outside |= static_cast<unsigned char>(c - '\x0e') >= 0x80 - 0x0e;
  });
  return !outside;
}

bool HasPlainTexts(std::string_view telaio, const VehicleData& vehicle) {
  if (!IsPlainAscii(telaio)) return false;
  for (const VehicleField& field : VehicleFields)
    if (field.kind == FieldKind::Text && !IsPlainAscii(VehicleValue<std::string>(field, vehicle)))
      return false;
  return true;
}

// Most texts are ASCII: only the others go through the converter.
bool Windows1252Lacks(std::string_view text, Windows1252Codec& codec) {
  return !db::IsAscii(text) && !codec.fromUtf8(text);
}

std::string NotEncodableText(std::string_view telaio, std::string_view field) {
  return "Il mezzo con telaio \"" + std::string(telaio) + "\" ha nel campo \"" +
         std::string(field) +
         "\" caratteri che la codifica Windows-1252 non può rappresentare.\n"
         "Il dato va corretto nel database.";
}

}  // namespace

std::optional<std::string> TextLineRefusal(std::string_view telaio, std::string_view field,
                                           std::string_view text, Windows1252Codec& codec) {
  if (IsPlainAscii(text)) return std::nullopt;
  if (BreaksLine(text)) return FieldBreakingLineText(telaio, field);
  if (Windows1252Lacks(text, codec)) return NotEncodableText(telaio, field);
  return std::nullopt;
}

std::optional<std::string> VehicleLineRefusal(std::string_view telaio, const VehicleData& vehicle,
                                              Windows1252Codec& codec) {
  if (HasPlainTexts(telaio, vehicle)) return std::nullopt;
  if (const auto field = FieldBreakingLine(telaio, vehicle))
    return FieldBreakingLineText(telaio, *field);
  if (Windows1252Lacks(telaio, codec)) return NotEncodableText(telaio, "telaio");
  for (const VehicleField& field : VehicleFields)
    if (field.kind == FieldKind::Text &&
        Windows1252Lacks(VehicleValue<std::string>(field, vehicle), codec))
      return NotEncodableText(telaio, field.name);
  return std::nullopt;
}

std::string SituationRecordFields(std::int32_t azienda, const VehicleEntry& entry) {
  std::string line = entry.telaio + '\t';
  AppendWholeNumber(azienda, line);
  for (const VehicleField& field : VehicleFields) {
    line += '\t';
    AppendFileText(field, entry.vehicle, line);
  }
  return line;
}

std::string VariationRecordLine(std::int32_t azienda, const VehicleEntry& entry) {
  return (entry.kind == EntryKind::New ? "NEW\t" : "VAR\t") + SituationRecordFields(azienda, entry);
}

}  // namespace veltra::comms
