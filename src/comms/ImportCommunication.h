#pragma once
// The import of a company communication file: the user picks the file, it is
// checked whole, the user confirms, it is applied and the counts are shown.

#include "db/DatabaseConnection.h"

namespace veltra::comms {

enum class ImportStatus {
  Cancelled,          // no file chosen
  CannotOpen,         // the file could not be opened
  Rejected,           // a structural fault: nothing written
  Declined,           // valid, but the user did not confirm
  Applied,            // every row written
  AppliedWithErrors,  // refused as a duplicate, or some rows failed
};

struct ImportOutcome {
  ImportStatus status = ImportStatus::Cancelled;
  int inserted = 0;
  int updated = 0;
};

// Runs the whole dialogue through the connection's Prompter.
ImportOutcome ImportCommunication(db::DatabaseConnection& connection);

}  // namespace veltra::comms
