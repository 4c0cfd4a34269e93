#include "db/engine/EngineDatabase.h"

#include "db/PlainText.h"

namespace veltra::db::engine {

namespace {

// A name may hold any character: what a URI reserves travels percent-encoded,
// so a ":" or "@" in a name can never be read as a password.
std::string percentEncoded(std::string_view text) {
  constexpr char Hex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : text) {
    const bool unreserved = IsDigit(c) || (AsciiLower(c) >= 'a' && AsciiLower(c) <= 'z') ||
                            c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved) {
      encoded += c;
      continue;
    }
    const auto byte = static_cast<unsigned char>(c);
    encoded += '%';
    encoded += Hex[byte >> 4];
    encoded += Hex[byte & 0x0F];
  }
  return encoded;
}

}  // namespace

std::string EngineDatabase::serverLocator(std::string_view host, int port,
                                          std::string_view database, std::string_view user) {
  std::string locator = "postgresql://";
  if (!user.empty()) locator += percentEncoded(user) + "@";
  locator += percentEncoded(host) + ":" + std::to_string(port);
  return locator + "/" + percentEncoded(database);
}

bool EngineDatabase::isServerLocator(std::string_view locator) {
  return locator.starts_with("postgresql://") || locator.starts_with("postgres://");
}

Transaction::Transaction(EngineDatabase& db) : db_(db) {
  if (db_.inTransaction()) return;
  status_ = db_.begin();
  owner_ = status_.ok;
}

Transaction::~Transaction() {
  if (owner_) db_.rollback();
}

EngineStatus Transaction::commit() {
  if (!owner_) return status_;
  owner_ = false;
  EngineStatus status = db_.commit();
  if (!status) db_.rollback();
  return status;
}

}  // namespace veltra::db::engine
