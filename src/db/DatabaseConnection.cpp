#include "db/DatabaseConnection.h"

#include <vector>

#include "db/engine/EngineDatabase.h"

namespace veltra::db {

namespace {

constexpr const char* OpenFailure = "Errore in fase di apertura del database\n\n";

}  // namespace

DatabaseConnection::DatabaseConnection(ui::Prompter& prompter, const std::string& path,
                                       WhenUnreachable whenUnreachable)
    : prompter_(&prompter) {
  if (!path.empty()) path_ = path;
  for (;;) {
    engine::EngineStatus status;
    owned_ = engine::EngineDatabase::open(path, status);
    if (owned_) break;
    unreachable_ = status.kind == engine::FailureKind::ConnectionLost;
    if (!unreachable_ || whenUnreachable == WhenUnreachable::Report) {
      prompter_->message(OpenFailure + status.text, ui::Icon::Stop);
      return;
    }
    if (prompter_->message(OpenFailure + status.text +
                               "\n\nPremere OK per riprovare il collegamento,\n"
                               "Annulla per continuare senza database.",
                           ui::Icon::Exclamation, ui::Buttons::OkCancel) != ui::Answer::Ok)
      return;
  }
  database_ = owned_.get();
  // Long statements let a window repaint meanwhile.
  database_->setProgressHook([&prompter] { prompter.keepResponsive(); });
  open_ = true;
}

DatabaseConnection::DatabaseConnection(ui::Prompter& prompter, engine::EngineDatabase& borrowed)
    : prompter_(&prompter), database_(&borrowed), open_(borrowed.isOpen()) {
  if (!borrowed.path().empty()) path_ = borrowed.path();
}

DatabaseConnection::~DatabaseConnection() {
  if (owned_ && open_) {
    const engine::EngineStatus status = owned_->close();
    if (!status)
      prompter_->message("Errore in fase di sconnessione del data base\n\n" + status.text,
                         ui::Icon::Stop);
  }
  database_ = nullptr;
  open_ = false;
}

bool DatabaseConnection::ReadOnly() const {
  return open_ && database_->readOnly();
}

bool DatabaseConnection::RefusedAsReadOnly() const {
  if (!ReadOnly()) return false;
  prompter_->message(
      "L'utente del server non ha il permesso di modificare il registro: può solo consultarlo.",
      ui::Icon::Stop);
  return true;
}

// A server that stopped answering may be back in a moment (a restart, a
// network cut): the user may try again instead of losing the connection.
bool DatabaseConnection::StillInPlace() const {
  if (!open_) return true;
  for (;;) {
    const engine::EngineStatus status = database_->stillInPlace();
    if (status) return true;
    const std::string text = "Errore di accesso al database\n\n" + status.text;
    if (status.kind != engine::FailureKind::ConnectionLost) {
      prompter_->message(text, ui::Icon::Stop);
      givenUp_ = true;
      return false;
    }
    if (prompter_->message(text + "\n\nPremere OK per riprovare il collegamento,\n"
                                  "Annulla per scollegare il database.",
                           ui::Icon::Exclamation, ui::Buttons::OkCancel) != ui::Answer::Ok) {
      givenUp_ = true;
      return false;
    }
  }
}

struct BulkTransaction::State {
  explicit State(engine::EngineDatabase& db) : transaction(db) {}
  engine::Transaction transaction;
};

ReadSnapshot::ReadSnapshot(DatabaseConnection& connection) {
  engine::EngineDatabase* database = connection.EngineDatabase();
  bool begun = false;
  // One that cannot begin leaves the reads to say what failed.
  if (database != nullptr && database->beginReading(begun) && begun) begun_ = database;
}

ReadSnapshot::~ReadSnapshot() {
  if (begun_ != nullptr) begun_->endReading();
}

BulkTransaction::BulkTransaction(DatabaseConnection& connection) : connection_(connection) {
  if (!connection.IsOpen() || connection.RefusedAsReadOnly()) return;
  state_ = std::make_unique<State>(*connection.EngineDatabase());
  ok_ = state_->transaction.status().ok;
  if (!ok_)
    connection.Prompter().message(
        "Errore in apertura della transazione\n\n" + state_->transaction.status().text,
        ui::Icon::Stop);
}

BulkTransaction::~BulkTransaction() = default;

bool BulkTransaction::Ok() const {
  return ok_ && connection_.EngineDatabase()->inTransaction();
}

namespace {

// Keeps the plain boxes of an attempt, to be shown once it stands or
// forgotten when it is done again; what needs an answer goes through.
class HeldPrompter final : public ui::Prompter {
 public:
  explicit HeldPrompter(ui::Prompter& shown) : shown_(shown) {}

  std::optional<std::string> openFile(const ui::FileChoice& choice) override {
    return shown_.openFile(choice);
  }
  std::optional<std::string> saveFile(const ui::FileChoice& choice) override {
    return shown_.saveFile(choice);
  }
  void beginBusy(bool withIndicator) override { shown_.beginBusy(withIndicator); }
  void keepResponsive() override { shown_.keepResponsive(); }
  void showHeld() {
    for (const Held& box : held_) shown_.message(box.text, box.icon, ui::Buttons::Ok, box.caption);
  }

 private:
  struct Held {
    std::string text;
    ui::Icon icon;
    std::string caption;
  };

  ui::Answer showMessage(std::string_view text, ui::Icon icon, ui::Buttons buttons,
                         std::string_view caption) override {
    if (buttons != ui::Buttons::Ok) return shown_.message(text, icon, buttons, caption);
    held_.push_back({std::string(text), icon, std::string(caption)});
    return ui::Answer::Ok;
  }

  ui::Prompter& shown_;
  std::vector<Held> held_;
};

}  // namespace

bool BulkTransaction::Attempt(const std::function<bool()>& work) {
  engine::EngineDatabase& database = *connection_.EngineDatabase();
  if (!Ok()) return work();
  engine::EngineStatus status;
  const std::unique_ptr<engine::WriteDeferral> deferral = database.deferWrites(status);
  if (!deferral) return work();
  HeldPrompter held(*connection_.prompter_);
  bool result = false;
  {
    // The connection's own prompter comes back however work ends.
    struct Holding {
      ui::Prompter*& current;
      ui::Prompter* const own = current;
      ~Holding() { current = own; }
    } holding{connection_.prompter_};
    connection_.prompter_ = &held;
    result = work();
  }
  // A connection lost meanwhile ends the transaction: Commit says so.
  if (!deferral->settle()) return false;
  if (deferral->spoiled()) return work();
  held.showHeld();
  return result;
}

bool BulkTransaction::Commit() {
  if (!ok_) return false;
  ok_ = false;
  const engine::EngineStatus status = state_->transaction.commit();
  if (!status) {
    connection_.Prompter().message("Errore in chiusura della transazione\n\n" + status.text,
                                   ui::Icon::Stop);
    return false;
  }
  return true;
}

}  // namespace veltra::db
