#include "comms/ApplyCommunication.h"

#include <array>
#include <string>

#include "comms/NumberText.h"
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
  if (comunica.Seek(2, keys)) return Registration::Duplicate;
  comunica.AddNew();
  comunica.SetField("azienda", keys[0]);
  comunica.SetField("data", keys[1]);
  return comunica.Update() ? Registration::Registered : Registration::Failed;
}

struct FieldText {
  const char* field;
  std::string text;
};
using VehicleFieldTexts = std::array<FieldText, 27>;

// What a vehicle's bus and storia rows get besides the chassis, in the order written.
VehicleFieldTexts vehicleFieldTexts(const Communication& communication, const VehicleEntry& entry) {
  return {{
      {"data", communication.date()},
      {"azienda", std::to_string(communication.azienda())},
      {"ambito", std::to_string(entry.ambito)},
      {"prop", entry.prop},
      {"interno", entry.interno},
      {"libretto", entry.libretto},
      {"targa", entry.targa},
      {"prima", entry.prima},
      {"tipo", entry.tipo},
      {"dtimm", entry.dtimm},
      {"dest", entry.dest},
      {"carroz", entry.carroz},
      {"aliment", entry.aliment},
      {"sedere", std::to_string(entry.sedere)},
      {"piedi", std::to_string(entry.piedi)},
      {"handicap", std::to_string(entry.handicap)},
      {"lung", LengthText(entry.lung)},
      {"altezza", HeightText(entry.altezza)},
      {"aria", std::string(FlagDatabaseText(entry.aria))},
      {"pedana", std::string(FlagDatabaseText(entry.pedana))},
      {"prezzo", AmountText(entry.prezzo)},
      {"contrib", AmountText(entry.contrib)},
      {"contrib2", AmountText(entry.contrib2)},
      {"atto", entry.atto},
      {"datini", entry.datini},
      {"datfin", entry.datfin},
      {"datrad", entry.datrad},
  }};
}

class VehicleWriter {
 public:
  explicit VehicleWriter(db::DatabaseConnection& connection)
      : bus_(&connection, "bus"), storia_(&connection, "storia") {
    bus_.SelectIndex("codice");
    storia_.SelectIndex("codice");
  }

  // Both rows are attempted whatever happens to either; false when one failed.
  bool write(const Communication& communication, const VehicleEntry& entry, int& inserted,
             int& updated) {
    const auto texts = vehicleFieldTexts(communication, entry);
    const bool known = bus_.Seek(1, &entry.telaio);
    if (known) {
      bus_.Edit();
    } else {
      bus_.AddNew();
      bus_.SetField("telaio", entry.telaio);
    }
    bool ok = saveRow(bus_, texts);
    if (ok) ++(known ? updated : inserted);
    storia_.AddNew();
    storia_.SetField("telaio", entry.telaio);
    return saveRow(storia_, texts) && ok;
  }

 private:
  static bool saveRow(db::TableCursor& cursor, const VehicleFieldTexts& texts) {
    for (const FieldText& field : texts) cursor.SetField(field.field, field.text);
    return cursor.Update();
  }

  db::TableCursor bus_;
  db::TableCursor storia_;
};

bool applyVehicles(db::DatabaseConnection& connection, const db::BulkTransaction& transaction,
                   const Communication& communication, int& inserted, int& updated) {
  VehicleWriter writer(connection);
  bool ok = true;
  for (const VehicleEntry& entry : communication.entries()) {
    // An error that ended the transaction itself leaves nothing to write into.
    if (!transaction.ok()) return false;
    ok = writer.write(communication, entry, inserted, updated) && ok;
  }
  return ok;
}

}  // namespace

bool ApplyCommunication(db::DatabaseConnection& connection, const Communication& communication,
                        int& inserted, int& updated) {
  db::BulkTransaction transaction(connection);
  if (!transaction.ok()) return false;
  const Registration registration = registerCommunication(connection, communication);
  if (registration == Registration::Duplicate) {
    connection.prompter().message(DuplicateMessage, ui::Icon::Stop);
    inserted = updated = 0;
    return false;
  }
  // Every bus and storia row needs the comunica row: without it they would
  // all fail, each with its own box, and change nothing.
  const bool ok = registration == Registration::Registered &&
                  applyVehicles(connection, transaction, communication, inserted, updated);
  if (!transaction.Commit()) {
    // Nothing of the run was kept.
    inserted = updated = 0;
    return false;
  }
  return ok;
}

}  // namespace veltra::comms
