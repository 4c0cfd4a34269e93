#pragma once
// The descriptions the user reads after an engine failure. Failures are told
// apart by SQLite's extended result code, never by the wording of its message.

#include <string>
#include <string_view>

#include "db/engine/EngineStatus.h"

namespace veltra::db::engine {

// The sentence about the file at path followed, when the system tells one, by
// why it refuses the file (a name Windows never takes, a file another program
// holds open).
std::string withSystemReason(std::string sentence, const std::string& path);
EngineStatus describeOpenFailure(const std::string& path, int code, std::string_view engineMessage);
EngineStatus describeEngineFailure(int code, std::string_view engineMessage);

}  // namespace veltra::db::engine
