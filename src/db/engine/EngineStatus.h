#pragma once
// The outcome of one engine operation: success, or the failure with the
// engine's description of it (what the user sees as the engine's text).

#include <string>

namespace veltra::db::engine {

// What kind of failure it was, the same on every engine, for the callers that
// must tell an end of the whole operation from a refused row.
enum class FailureKind {
  None,
  Other,
  Constraint,      // the row breaks a rule of the table
  Busy,            // another user or program holds the database
  Io,              // reading or writing the storage failed
  DiskFull,        // no room left
  NotADatabase,    // the file or database is not one of ours
  ConnectionLost,  // the server went away
};

struct [[nodiscard]] EngineStatus {
  bool ok = true;
  int code =
      0;  // the engine's own code (SQLite's extended result code); 0 when the adapter found it
  std::string text;
  FailureKind kind = FailureKind::None;

  explicit operator bool() const { return ok; }
  static EngineStatus success() { return {}; }
  static EngineStatus failure(std::string description, int engineCode = 0,
                              FailureKind kind = FailureKind::Other) {
    return EngineStatus{false, engineCode, std::move(description), kind};
  }
};

}  // namespace veltra::db::engine
