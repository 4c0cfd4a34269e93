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
  // Bulk work was ended and rolled back whole by an earlier failure, which
  // the commit tells once: what is written after it is refused without a word.
  WorkEnded,
};

struct [[nodiscard]] EngineStatus {
  bool ok = true;
  int code =
      0;  // the engine's own code (SQLite's extended result code); 0 when the adapter found it
  std::string text;
  FailureKind kind = FailureKind::None;

  explicit operator bool() const { return ok; }
  // Not the row's own fault: no room, a storage fault, the server or the
  // operator ending the session or its statement. Bulk work cannot go on.
  bool endsTheWork() const {
    return kind == FailureKind::DiskFull || kind == FailureKind::Io ||
           kind == FailureKind::ConnectionLost;
  }
  static EngineStatus success() { return {}; }
  static EngineStatus failure(std::string description, int engineCode = 0,
                              FailureKind kind = FailureKind::Other) {
    return EngineStatus{false, engineCode, std::move(description), kind};
  }
};

}  // namespace veltra::db::engine
