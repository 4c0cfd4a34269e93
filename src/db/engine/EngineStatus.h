#pragma once
// The outcome of one engine operation: success, or the failure with the
// engine's description of it (what the user sees as the engine's text).

#include <string>

namespace veltra::db::engine {

struct [[nodiscard]] EngineStatus {
  bool ok = true;
  int code = 0;  // SQLite's extended result code, 0 for failures found by the adapter itself
  std::string text;

  explicit operator bool() const { return ok; }
  static EngineStatus success() { return {}; }
  static EngineStatus failure(std::string description, int engineCode = 0) {
    return EngineStatus{false, engineCode, std::move(description)};
  }
};

}  // namespace veltra::db::engine
