#include "db/DatabaseConnection.h"

#include "db/engine/EngineDatabase.h"

namespace veltra::db {

DatabaseConnection::DatabaseConnection(ui::Prompter& prompter, const std::string& path)
    : prompter_(prompter) {
  if (!path.empty()) path_ = path;
  engine::EngineStatus status;
  owned_ = engine::EngineDatabase::open(path, status);
  if (!owned_) {
    unreachable_ = status.kind == engine::FailureKind::ConnectionLost;
    prompter_.message("Errore in fase di apertura del database\n\n" + status.text, ui::Icon::Stop);
    return;
  }
  database_ = owned_.get();
  // Long statements let a window repaint meanwhile.
  database_->setProgressHook([&prompter] { prompter.keepResponsive(); });
  open_ = true;
}

DatabaseConnection::DatabaseConnection(ui::Prompter& prompter, engine::EngineDatabase& borrowed)
    : prompter_(prompter), database_(&borrowed), open_(borrowed.isOpen()) {
  if (!borrowed.path().empty()) path_ = borrowed.path();
}

DatabaseConnection::~DatabaseConnection() {
  if (owned_ && open_) {
    const engine::EngineStatus status = owned_->close();
    if (!status)
      prompter_.message("Errore in fase di sconnessione del data base\n\n" + status.text,
                        ui::Icon::Stop);
  }
  database_ = nullptr;
  open_ = false;
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
      prompter_.message(text, ui::Icon::Stop);
      return false;
    }
    if (prompter_.message(text + "\n\nPremere OK per riprovare il collegamento.",
                          ui::Icon::Exclamation, ui::Buttons::OkCancel) != ui::Answer::Ok)
      return false;
  }
}

struct BulkTransaction::State {
  explicit State(engine::EngineDatabase& db) : transaction(db) {}
  engine::Transaction transaction;
};

BulkTransaction::BulkTransaction(DatabaseConnection& connection) : connection_(connection) {
  if (!connection.IsOpen()) return;
  state_ = std::make_unique<State>(*connection.engineDatabase());
  ok_ = state_->transaction.status().ok;
  if (!ok_)
    connection.prompter().message(
        "Errore in apertura della transazione\n\n" + state_->transaction.status().text,
        ui::Icon::Stop);
}

BulkTransaction::~BulkTransaction() = default;

bool BulkTransaction::ok() const {
  return ok_ && connection_.engineDatabase()->inTransaction();
}

bool BulkTransaction::Commit() {
  if (!ok_) return false;
  ok_ = false;
  const engine::EngineStatus status = state_->transaction.commit();
  if (!status) {
    connection_.prompter().message("Errore in chiusura della transazione\n\n" + status.text,
                                   ui::Icon::Stop);
    return false;
  }
  return true;
}

}  // namespace veltra::db
