#pragma once
// The program's handle on one open database file. Cursors are made on it;
// failures are shown through its Prompter and reported as false.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/Prompter.h"

namespace veltra::db {

namespace engine {
class EngineDatabase;
}

class DatabaseConnection {
 public:
  // How a register whose server does not answer is met when opening it.
  enum class WhenUnreachable { Report, OfferRetry };

  // Opens the file at path; the result is read with IsOpen. With OfferRetry
  // the box of a server that cannot be reached lets the user try again.
  DatabaseConnection(ui::Prompter& prompter, const std::string& path,
                     WhenUnreachable whenUnreachable = WhenUnreachable::Report);
  // Works on an engine database that someone else opened and keeps owning
  // (database creation writes through both at once, in one transaction).
  DatabaseConnection(ui::Prompter& prompter, engine::EngineDatabase& borrowed);
  ~DatabaseConnection();
  DatabaseConnection(const DatabaseConnection&) = delete;
  DatabaseConnection& operator=(const DatabaseConnection&) = delete;

  bool IsOpen() const { return open_; }
  // The register could not be opened because its server could not be
  // reached: it may well be there again later, unlike a bad file.
  bool Unreachable() const { return unreachable_; }
  const std::optional<std::string>& Path() const { return path_; }
  // The user may only read this register (a server role granted SELECT only).
  bool ReadOnly() const;
  // True, after one box saying so, when the register may only be read: a
  // command that writes asks this before any work.
  bool RefusedAsReadOnly() const;
  ui::Prompter& Prompter() const { return *prompter_; }
  engine::EngineDatabase* EngineDatabase() const { return database_; }
  // False, after saying so, when what the connection opened has been
  // deleted or moved away since, or the server it is on stopped answering
  // and the user chose not to try again; the connection is then given up.
  bool StillInPlace() const;
  // StillInPlace once answered false: the register is to be let go.
  bool GivenUp() const { return givenUp_; }

 private:
  friend class BulkTransaction;  // holds the boxes of an attempt back

  ui::Prompter* prompter_;
  std::unique_ptr<engine::EngineDatabase> owned_;
  engine::EngineDatabase* database_ = nullptr;
  std::optional<std::string> path_;
  bool open_ = false;
  bool unreachable_ = false;
  mutable bool givenUp_ = false;
};

// The reads of one report or listing: where other workstations write
// meanwhile (a register on a server), every read sees the register as it
// stood at the first, as one query would. Inside bulk work it joins it.
class ReadSnapshot {
 public:
  explicit ReadSnapshot(DatabaseConnection& connection);
  ~ReadSnapshot();
  ReadSnapshot(const ReadSnapshot&) = delete;
  ReadSnapshot& operator=(const ReadSnapshot&) = delete;

 private:
  engine::EngineDatabase* begun_ = nullptr;  // to end it; null when it began none
};

// Bulk work (applying a communication, creating a database, seeding) runs in
// one transaction that is committed at the end: a row that fails a
// constraint undoes only itself, a crash leaves the file as it was before.
// Errors that end the transaction itself are shown and make Ok() false.
class BulkTransaction {
 public:
  explicit BulkTransaction(DatabaseConnection& connection);
  ~BulkTransaction();
  BulkTransaction(const BulkTransaction&) = delete;
  BulkTransaction& operator=(const BulkTransaction&) = delete;

  // False once the transaction could not start, was committed, or was ended
  // by the engine itself (disk full, I/O error): then nothing more can be written.
  bool Ok() const;
  // Commits; false (after a box) when the engine could not make it final.
  bool Commit();
  // Runs work, whose writes the engine may defer (see
  // EngineDatabase::deferWrites), and gives back its result. Its boxes are
  // held back until its writes are known to stand; when one was refused,
  // all it wrote is undone and work runs again, each write answered at once,
  // so the result is what it would have been without deferring. work must
  // therefore change nothing but the database and its own results, and start
  // those afresh each time.
  bool Attempt(const std::function<bool()>& work);

 private:
  DatabaseConnection& connection_;
  struct State;
  std::unique_ptr<State> state_;
  bool ok_ = false;
};

}  // namespace veltra::db
