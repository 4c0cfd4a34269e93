#pragma once
// The declared column types that carry the engine's field types in the file,
// so any SQLite tool sees them and the adapter reads them back.

#include <optional>
#include <string>
#include <string_view>

#include "db/FieldValue.h"

namespace veltra::db::engine {

struct DeclaredType {
  FieldType type;
  int size;
};

std::string declaredType(FieldType type, int size);
std::optional<DeclaredType> parseDeclaredType(std::string_view declared);

}  // namespace veltra::db::engine
