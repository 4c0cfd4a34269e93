#include "comms/ApplyCommunication.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "comms/NumberText.h"
#include "comms/VehicleFields.h"
#include "db/TableCursor.h"

namespace veltra::comms {

namespace {

constexpr const char* DuplicateMessage =
    "ATTENZIONE: Esiste già una comunicazione della medesima Azienda comunicata nella\n"
    "medesima data !!!\n\n"
    "Questa comunicazione non può essere ulteriormente registrata.";

enum class Registration { Registered, Duplicate, Failed };

Registration registerCommunication(db::DatabaseConnection& connection,
                                   const Communication& communication) {
  db::TableCursor comunica(&connection, "comunica");
  comunica.SelectIndex("codice");
  const std::string keys[] = {std::to_string(communication.azienda()), communication.date()};
  if (comunica.Seek(keys)) return Registration::Duplicate;
  comunica.AddNew();
  comunica.SetField("azienda", keys[0]);
  comunica.SetField("data", keys[1]);
  return comunica.Update() ? Registration::Registered : Registration::Failed;
}

// Each field as its database text would set it; numbers go without the text.
bool setVehicleField(db::TableCursor& cursor, int position, const VehicleField& field,
                     const VehicleData& vehicle) {
  switch (field.kind) {
    case FieldKind::Text:
      return cursor.SetField(position, VehicleValue<std::string>(field, vehicle));
    case FieldKind::Whole:
      return cursor.SetWholeNumber(position, VehicleValue<std::int32_t>(field, vehicle));
    case FieldKind::Flag:
      return cursor.SetWholeNumber(position,
                                   FlagDatabaseValue(VehicleValue<std::int32_t>(field, vehicle)));
    case FieldKind::Length:
    case FieldKind::Height:
    case FieldKind::Amount:
      return cursor.SetNumber(position, DatabaseNumber(field, vehicle));
  }
  return false;
}

// Besides the chassis, the fields a row is given: the communication's date
// and company, then the vehicle's fields in their order.
enum : std::size_t { DataField, AziendaField, FirstVehicleField };
constexpr std::size_t GivenFieldCount = FirstVehicleField + VehicleFields.size();

// The positions of the written fields in one table, looked up once for all rows.
struct RowFields {
  explicit RowFields(db::TableCursor& cursor) : telaio(cursor.FieldPosition("telaio")) {
    given[DataField] = cursor.FieldPosition("data");
    given[AziendaField] = cursor.FieldPosition("azienda");
    for (std::size_t i = 0; i < VehicleFields.size(); ++i)
      given[FirstVehicleField + i] = cursor.FieldPosition(std::string(VehicleFields[i].name));
  }
  int telaio;
  std::array<int, GivenFieldCount> given{};
};

class VehicleWriter {
 public:
  VehicleWriter(db::DatabaseConnection& connection, const Communication& communication)
      : bus_(&connection, "bus"),
        storia_(&connection, "storia"),
        busFields_(bus_),
        storiaFields_(storia_),
        date_(communication.date()),
        azienda_(communication.azienda()) {
    bus_.SelectIndex("codice");
    storia_.SelectIndex("codice");
    for (std::size_t k = 0; k < GivenFieldCount; ++k)
      fromBus_[k] = {storiaFields_.given[k], busFields_.given[k]};
  }

  // Every vehicle's chassis is sought once: the engine may read them at once.
  void expect(const Communication& communication) {
    std::vector<std::string_view> chassis;
    chassis.reserve(communication.entries().size());
    for (const VehicleEntry& entry : communication.entries()) chassis.push_back(entry.telaio);
    bus_.ExpectSeeks(chassis);
  }

  // Both rows are attempted whatever happens to either; false when one failed.
  bool write(const VehicleEntry& entry, int& inserted, int& updated) {
    const bool known = bus_.Seek({&entry.telaio, 1});
    if (known) {
      bus_.Edit();
    } else {
      bus_.AddNew();
      bus_.SetField(busFields_.telaio, entry.telaio);
    }
    for (std::size_t k = 0; k < GivenFieldCount; ++k) setField(bus_, busFields_, k, entry.vehicle);
    bool ok = bus_.Update();
    if (ok) ++(known ? updated : inserted);
    storia_.AddNew();
    storia_.SetField(storiaFields_.telaio, entry.telaio);
    // storia takes the values of the bus row just written as bus converted
    // them, so that each is converted once; a value bus refused is set
    // again, for storia to tell its own refusal.
    storia_.CopyGivenFields(fromBus_, bus_, notFromBus_);
    for (const std::size_t k : notFromBus_) setField(storia_, storiaFields_, k, entry.vehicle);
    return storia_.Update() && ok;
  }

 private:
  void setField(db::TableCursor& cursor, const RowFields& fields, std::size_t k,
                const VehicleData& vehicle) {
    const int position = fields.given[k];
    if (k == DataField)
      cursor.SetField(position, date_);
    else if (k == AziendaField)
      cursor.SetWholeNumber(position, azienda_);
    else
      setVehicleField(cursor, position, VehicleFields[k - FirstVehicleField], vehicle);
  }

  db::TableCursor bus_;
  db::TableCursor storia_;
  RowFields busFields_;
  RowFields storiaFields_;
  std::string date_;
  std::int32_t azienda_;
  // The pairs (storia's position, bus's position) of each given field, and
  // the fields of the last row that storia could not take from bus.
  std::array<std::pair<int, int>, GivenFieldCount> fromBus_{};
  std::vector<std::size_t> notFromBus_;
};

bool applyVehicles(db::DatabaseConnection& connection, const db::BulkTransaction& transaction,
                   const Communication& communication, int& inserted, int& updated) {
  VehicleWriter writer(connection, communication);
  writer.expect(communication);
  bool ok = true;
  for (const VehicleEntry& entry : communication.entries()) {
    // An error that ended the transaction itself leaves nothing to write into.
    if (!transaction.Ok()) return false;
    ok = writer.write(entry, inserted, updated) && ok;
  }
  return ok;
}

}  // namespace

ui::Result<ImportCounts> ApplyCommunication(db::DatabaseConnection& connection,
                                            const Communication& communication) {
  const ui::Result<ImportCounts> nothingKept{ui::Outcome::Failed, {}};
  db::BulkTransaction transaction(connection);
  if (!transaction.Ok()) return nothingKept;
  const Registration registration = registerCommunication(connection, communication);
  if (registration == Registration::Duplicate) {
    connection.Prompter().message(DuplicateMessage, ui::Icon::Stop);
    return nothingKept;
  }
  // Every bus and storia row needs the comunica row: without it they would
  // all fail, each with its own box, and change nothing.
  ImportCounts counts;
  const bool ok = registration == Registration::Registered && transaction.Attempt([&] {
    counts = {};
    return applyVehicles(connection, transaction, communication, counts.inserted, counts.updated);
  });
  if (!transaction.Commit()) return nothingKept;
  return {ok ? ui::Outcome::Done : ui::Outcome::Failed, counts};
}

}  // namespace veltra::comms
