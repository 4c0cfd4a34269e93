#include "db/engine/TableDef.h"

#include <algorithm>

#include "db/engine/EngineDatabase.h"

namespace veltra::db::engine {

namespace {

constexpr size_t MaxNameLength = 64;

// The engine's own rule for object names: not empty, no leading blank, none
// of the characters that its SQL gives a meaning to, no control characters.
bool validName(std::string_view name) {
  if (name.empty() || name.size() > MaxNameLength || name.front() == ' ') return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 32 || c == '.' || c == '!' || c == '[' || c == ']' ||
           c == '`' || c == '"';
  });
}

bool knownType(FieldType type) {
  switch (type) {
    case FieldType::Boolean:
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
    case FieldType::Currency:
    case FieldType::Single:
    case FieldType::Double:
    case FieldType::Date:
    case FieldType::Text:
    case FieldType::LongBinary:
    case FieldType::Memo:
      return true;
  }
  return false;
}

}  // namespace

std::string quoteIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string quoteLiteral(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  return quoted + "'";
}

std::string physicalIndexName(const std::string& table, const std::string& index, bool primary) {
  return (primary ? "pk_" : "ix_") + table + "_" + index;
}

EngineStatus TableDef::createField(const FieldDef& field) {
  if (!validName(field.name))
    return EngineStatus::failure("Il nome di campo \"" + field.name + "\" non è valido.");
  if (appended_)
    return EngineStatus::failure("La tavola \"" + name_ + "\" è già nel database: il campo \"" +
                                 field.name + "\" non può essere aggiunto.");
  for (const auto& existing : fields_)
    if (EqualsIgnoringCase(existing.name, field.name))
      return EngineStatus::failure("Il campo \"" + field.name +
                                   "\" è già definito nella tavola \"" + name_ + "\".");
  if (!knownType(field.type))
    return EngineStatus::failure("Il tipo del campo \"" + field.name + "\" non è valido.");
  if (field.type == FieldType::Text && (field.size < 1 || field.size > 255))
    return EngineStatus::failure("La dimensione del campo di testo \"" + field.name +
                                 "\" deve essere fra 1 e 255 caratteri.");
  fields_.push_back(field);
  return EngineStatus::success();
}

EngineStatus TableDef::append() {
  if (!validName(name_))
    return EngineStatus::failure("Il nome di tavola \"" + name_ + "\" non è valido.");
  if (appended_) return EngineStatus::failure("La tavola \"" + name_ + "\" è già nel database.");
  if (fields_.empty()) return EngineStatus::failure("La tavola \"" + name_ + "\" non ha campi.");
  if (auto status = appendToDatabase(pendingIndexes_); !status) return status;
  appended_ = true;
  pendingIndexes_.clear();
  return EngineStatus::success();
}

EngineStatus TableDef::createIndex(const IndexDef& index) {
  if (!validName(index.name))
    return EngineStatus::failure("Il nome di indice \"" + index.name + "\" non è valido.");
  if (index.fields.empty())
    return EngineStatus::failure("L'indice \"" + index.name + "\" non ha campi.");
  for (const auto& field : index.fields) {
    const bool known = std::any_of(fields_.begin(), fields_.end(), [&](const FieldDef& f) {
      return EqualsIgnoringCase(f.name, field.name);
    });
    if (!known)
      return EngineStatus::failure("Il campo \"" + field.name + "\" dell'indice \"" + index.name +
                                   "\" non esiste nella tavola \"" + name_ + "\".");
  }
  if (!appended_) {
    pendingIndexes_.push_back(index);
    return EngineStatus::success();
  }
  return createIndexInDatabase(index);
}

EngineStatus TableDef::createIndexInDatabase(const IndexDef& index) {
  TableInfo info;
  if (auto status = db_.loadTable(name_, info); !status) return status;
  if (auto status = indexNameFree(info, index); !status) return status;
  return db_.execute(createIndexSql(index));
}

std::string TableDef::createIndexSql(const IndexDef& index) const {
  const bool unique = index.unique || index.primary;
  std::string sql = std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " +
                    quoteIdentifier(physicalIndexName(name_, index.name, index.primary)) + " ON " +
                    quoteIdentifier(name_) + " (";
  for (size_t i = 0; i < index.fields.size(); ++i)
    sql += (i > 0 ? ", " : "") + quoteIdentifier(index.fields[i].name) +
           (index.fields[i].descending ? " DESC" : "");
  return sql + ")";
}

EngineStatus indexNameFree(const TableInfo& table, const IndexDef& index) {
  for (const auto& existing : table.indexes) {
    if (EqualsIgnoringCase(existing.name, index.name))
      return EngineStatus::failure("L'indice \"" + index.name + "\" esiste già nella tavola \"" +
                                   table.name + "\".");
    if (existing.primary && index.primary)
      return EngineStatus::failure("La tavola \"" + table.name + "\" ha già una chiave primaria.");
  }
  return EngineStatus::success();
}

}  // namespace veltra::db::engine
