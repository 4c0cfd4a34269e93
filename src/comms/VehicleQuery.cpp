#include "comms/VehicleQuery.h"

#include "comms/NumberText.h"

namespace veltra::comms {

namespace {

// 1 for any stored value but 0 (the engine's -1 for Yes among them).
std::int32_t storedFlag(db::QueryCursor& query, int column) {
  std::int32_t yes = 0;
  query.GetInt(column, yes);
  return yes != 0 ? 1 : 0;
}

}  // namespace

void ReadStoredVehicleField(db::QueryCursor& query, int column, const VehicleField& field,
                            VehicleData& vehicle) {
  switch (field.kind) {
    case FieldKind::Text:
      query.GetString(column, VehicleValue<std::string>(field, vehicle));
      return;
    case FieldKind::Whole:
      query.GetInt(column, VehicleValue<std::int32_t>(field, vehicle));
      return;
    case FieldKind::Flag:
      VehicleValue<std::int32_t>(field, vehicle) = storedFlag(query, column);
      return;
    case FieldKind::Length:
    case FieldKind::Height:
    case FieldKind::Amount:
      query.GetDouble(column, VehicleValue<double>(field, vehicle));
      return;
  }
}

void AppendStoredFileText(db::QueryCursor& query, int column, FieldKind kind, std::string& line) {
  switch (kind) {
    case FieldKind::Text:
      query.AppendString(column, line);
      return;
    case FieldKind::Whole: {
      std::int32_t value = 0;
      query.GetInt(column, value);
      return AppendWholeNumber(value, line);
    }
    case FieldKind::Flag:
      line += FlagFileChar(storedFlag(query, column));
      return;
    case FieldKind::Length:
    case FieldKind::Height:
    case FieldKind::Amount: {
      double value = 0.0;
      query.GetDouble(column, value);
      return AppendDecimalFileText(kind, value, line);
    }
  }
}

}  // namespace veltra::comms
