#include "comms/VehicleFields.h"

#include <algorithm>
#include <cassert>

#include "comms/NumberText.h"

namespace veltra::comms {

namespace {

// Every kind but the flags reads the same in files and in the database.
void appendNumberOrText(const VehicleField& field, const VehicleData& vehicle, std::string& out) {
  switch (field.kind) {
    case FieldKind::Text:
      out += VehicleValue<std::string>(field, vehicle);
      return;
    case FieldKind::Whole:
    case FieldKind::Flag:
      return AppendWholeNumber(VehicleValue<std::int32_t>(field, vehicle), out);
    case FieldKind::Length:
      return AppendDecimalCommaText(VehicleValue<double>(field, vehicle), LengthDecimals, out);
    case FieldKind::Height:
      return AppendDecimalCommaText(VehicleValue<double>(field, vehicle), HeightDecimals, out);
    case FieldKind::Amount:
      return AppendDecimalCommaText(VehicleValue<double>(field, vehicle), AmountDecimals, out);
  }
}

}  // namespace

const VehicleField& VehicleFieldNamed(std::string_view name) {
  const auto found = std::find_if(VehicleFields.begin(), VehicleFields.end(),
                                  [&](const VehicleField& field) { return field.name == name; });
  assert(found != VehicleFields.end());
  return *found;
}

std::string FileText(const VehicleField& field, const VehicleData& vehicle) {
  std::string text;
  AppendFileText(field, vehicle, text);
  return text;
}

void AppendFileText(const VehicleField& field, const VehicleData& vehicle, std::string& line) {
  if (field.kind == FieldKind::Flag)
    line += FlagFileChar(VehicleValue<std::int32_t>(field, vehicle));
  else
    appendNumberOrText(field, vehicle, line);
}

std::string DatabaseText(const VehicleField& field, const VehicleData& vehicle) {
  if (field.kind == FieldKind::Flag)
    return std::string(FlagDatabaseText(VehicleValue<std::int32_t>(field, vehicle)));
  std::string text;
  appendNumberOrText(field, vehicle, text);
  return text;
}

bool ReadFileText(const VehicleField& field, std::string_view text, VehicleData& vehicle) {
  switch (field.kind) {
    case FieldKind::Text:
      VehicleValue<std::string>(field, vehicle) = text;
      return true;
    case FieldKind::Flag:
      VehicleValue<std::int32_t>(field, vehicle) = FlagFromFileText(text);
      return true;
    case FieldKind::Whole: {
      const auto value = ReadWholeNumber(text);
      if (value) VehicleValue<std::int32_t>(field, vehicle) = *value;
      return value.has_value();
    }
    case FieldKind::Length:
    case FieldKind::Height:
    case FieldKind::Amount: {
      const auto value = ReadDecimalNumber(text);
      if (value) VehicleValue<double>(field, vehicle) = *value;
      return value.has_value();
    }
  }
  return false;
}

VehicleData KeepFields(const VehicleData& from, std::initializer_list<std::string_view> kept,
                       VehicleData base) {
  for (std::string_view name : kept) {
    const VehicleField& field = VehicleFieldNamed(name);
    std::visit([&](auto pointer) { base.*pointer = from.*pointer; }, field.member);
  }
  return base;
}

}  // namespace veltra::comms
