#include "comms/VehicleFields.h"

#include <algorithm>
#include <cassert>

#include "comms/NumberText.h"

namespace veltra::comms {

namespace {

// The decimals a decimal field is written with: lung, altezza, or an amount.
int decimalsOf(FieldKind kind) {
  switch (kind) {
    case FieldKind::Length:
      return LengthDecimals;
    case FieldKind::Height:
      return HeightDecimals;
    default:
      return AmountDecimals;
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
  switch (field.kind) {
    case FieldKind::Text:
      line += VehicleValue<std::string>(field, vehicle);
      return;
    case FieldKind::Flag:
      line += FlagFileChar(VehicleValue<std::int32_t>(field, vehicle));
      return;
    case FieldKind::Whole:
      return AppendWholeNumber(VehicleValue<std::int32_t>(field, vehicle), line);
    case FieldKind::Length:
    case FieldKind::Height:
    case FieldKind::Amount:
      return AppendDecimalFileText(field.kind, VehicleValue<double>(field, vehicle), line);
  }
}

void AppendDecimalFileText(FieldKind kind, double value, std::string& line) {
  AppendDecimalCommaText(value, decimalsOf(kind), line);
}

double DatabaseNumber(const VehicleField& field, const VehicleData& vehicle) {
  return DecimalRounded(VehicleValue<double>(field, vehicle), decimalsOf(field.kind));
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

std::vector<const VehicleField*> VehicleFieldsBesides(
    std::initializer_list<std::string_view> names) {
  std::vector<const VehicleField*> fields;
  for (const VehicleField& field : VehicleFields)
    if (std::find(names.begin(), names.end(), field.name) == names.end()) fields.push_back(&field);
  return fields;
}

void ResetFields(VehicleData& vehicle, const std::vector<const VehicleField*>& fields,
                 const VehicleData& base) {
  for (const VehicleField* field : fields)
    std::visit([&](auto pointer) { vehicle.*pointer = base.*pointer; }, field->member);
}

}  // namespace veltra::comms
