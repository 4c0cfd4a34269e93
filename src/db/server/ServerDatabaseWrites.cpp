// The writes of bulk work deferred in attempts, each under its savepoint.
#include "db/server/ServerDatabase.h"

namespace veltra::db::engine {

namespace {

constexpr std::string_view AttemptSavepoint = "veltra_tentativo";

class ServerWriteDeferral final : public WriteDeferral {
 public:
  explicit ServerWriteDeferral(ServerDatabase& database) : database_(database) {}
  ~ServerWriteDeferral() override {
    if (!settled_) static_cast<void>(settle());
  }
  EngineStatus settle() override {
    settled_ = true;
    return database_.settleWrites(spoiled_);
  }
  bool spoiled() const override { return spoiled_; }

 private:
  ServerDatabase& database_;
  bool settled_ = false, spoiled_ = false;
};

}  // namespace

std::unique_ptr<WriteDeferral> ServerDatabase::deferWrites(EngineStatus& status) {
  status = EngineStatus::success();
  if (!inTransaction() || writes_.active()) return nullptr;
  std::vector<RelationDef> found;
  if (status = relations(found); !status) return nullptr;
  // The writes' statements are each run many times with rows of the same
  // shape: planned once, not once a run. An update of many rows finds each
  // by its identity through the index, where a hash join would read the
  // whole table for every statement.
  if (status = runCommand("SAVEPOINT " + std::string(AttemptSavepoint) +
                          "; SET LOCAL plan_cache_mode = force_generic_plan"
                          "; SET LOCAL enable_hashjoin = off; SET LOCAL enable_mergejoin = off");
      !status)
    return nullptr;
  writes_.start(std::move(found));
  return std::make_unique<ServerWriteDeferral>(*this);
}

EngineStatus ServerDatabase::settleWrites(bool& spoiled) {
  spoiled = false;
  if (!writes_.active()) return EngineStatus::success();
  const EngineStatus sent = sendDeferred();
  spoiled = writes_.spoiled();
  spoiledAttempts_ += spoiled ? 1 : 0;
  writes_.stop();
  seekCaches_.clear();
  if (!sent) return sent;
  const std::string savepoint(AttemptSavepoint);
  return spoiled
             ? execute("ROLLBACK TO SAVEPOINT " + savepoint + "; RELEASE SAVEPOINT " + savepoint)
             : runCommand("RELEASE SAVEPOINT " + savepoint);
}

EngineStatus ServerDatabase::sendDeferred(bool wait) {
  if (ended_) return EngineStatus::failure(ended_->text, ended_->code, FailureKind::WorkEnded);
  if (!writes_.pending()) return EngineStatus::success();
  if (progressHook_) progressHook_();
  ++roundTrips_;
  EngineStatus status = writes_.send(idleConnection(), progressHook_, wait);
  // The rows a spoiled attempt queued are not written: no seek may find them.
  if (writes_.spoiled()) seekCaches_.clear();
  return checked(std::move(status));
}

EngineStatus ServerDatabase::identityOf(std::int64_t& rowid) {
  if (!ServerWriteQueue::isStandIn(rowid)) return EngineStatus::success();
  if (auto status = sendDeferred(); !status) return status;
  const auto identity = writes_.identity(rowid);
  if (!identity) return EngineStatus::failure("La riga scritta non ha avuto risposta dal server.");
  rowid = *identity;
  return EngineStatus::success();
}

}  // namespace veltra::db::engine
