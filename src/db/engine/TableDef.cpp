#include "db/engine/TableDef.h"

#include <algorithm>

#include "db/engine/DeclaredTypes.h"
#include "db/engine/EngineDatabase.h"
#include "db/engine/SchemaReader.h"

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

std::string integerRangeCheck(const std::string& column, long long low, long long high) {
  return " CHECK (" + column + " IS NULL OR (typeof(" + column + ") = 'integer' AND " + column +
         " BETWEEN " + std::to_string(low) + " AND " + std::to_string(high) + "))";
}

// The checks that make the file itself refuse what the engine type cannot hold.
std::string typeChecks(const FieldDef& field) {
  const std::string c = quoteIdentifier(field.name);
  switch (field.type) {
    case FieldType::Boolean:
      return " DEFAULT 0 CHECK (" + c + " IN (0, 1))";
    case FieldType::Byte:
      return integerRangeCheck(c, 0, 255);
    case FieldType::Integer:
      return integerRangeCheck(c, -32768, 32767);
    case FieldType::Long:
      return integerRangeCheck(c, -2147483648LL, 2147483647LL);
    case FieldType::Currency:
      return " CHECK (" + c + " IS NULL OR typeof(" + c + ") = 'integer')";
    case FieldType::Single:
    case FieldType::Double:
      return " CHECK (" + c + " IS NULL OR typeof(" + c + ") = 'real')";
    case FieldType::Date:
      return " CHECK (" + c + " IS NULL OR " + c + " IS date(" + c + ", '+0 days'))";
    case FieldType::Text:
      return " COLLATE NOCASE CHECK (" + c + " IS NULL OR (typeof(" + c + ") = 'text' AND length(" +
             c + ") <= " + std::to_string(field.size) + "))";
    case FieldType::Memo:
      return " COLLATE NOCASE CHECK (" + c + " IS NULL OR typeof(" + c + ") = 'text')";
    case FieldType::LongBinary:
      return "";
  }
  return "";
}

std::string columnSql(const FieldDef& field) {
  std::string sql = quoteIdentifier(field.name) + " " + declaredType(field.type, field.size);
  if (field.required) sql += " NOT NULL";
  sql += typeChecks(field);
  const bool isText = field.type == FieldType::Text || field.type == FieldType::Memo;
  if (isText && !field.allowZeroLength) sql += " CHECK (" + quoteIdentifier(field.name) + " <> '')";
  return sql;
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

std::string physicalIndexName(const std::string& table, const std::string& index, bool primary) {
  return (primary ? "pk_" : "ix_") + table + "_" + index;
}

TableDef::TableDef(EngineDatabase& db, std::string name) : db_(db), name_(std::move(name)) {}

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

std::string TableDef::createTableSql() const {
  std::string sql = "CREATE TABLE " + quoteIdentifier(name_) + " (";
  for (size_t i = 0; i < fields_.size(); ++i) sql += (i > 0 ? ", " : "") + columnSql(fields_[i]);
  return sql + ")";
}

EngineStatus TableDef::append() {
  if (!validName(name_))
    return EngineStatus::failure("Il nome di tavola \"" + name_ + "\" non è valido.");
  if (appended_) return EngineStatus::failure("La tavola \"" + name_ + "\" è già nel database.");
  if (fields_.empty()) return EngineStatus::failure("La tavola \"" + name_ + "\" non ha campi.");
  EngineStatus lookup;
  if (!storedSql(db_.handle(), "table", name_, lookup).empty())
    return EngineStatus::failure("La tavola \"" + name_ + "\" esiste già nel database.");
  if (!lookup) return lookup;
  Transaction transaction(db_);
  if (!transaction.status().ok) return transaction.status();
  if (auto status = db_.execute(createTableSql()); !status) return status;
  appended_ = true;
  for (const auto& index : pendingIndexes_)
    if (auto status = createIndexInFile(index); !status) {
      appended_ = false;
      return status;
    }
  pendingIndexes_.clear();
  return transaction.commit();
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
  return createIndexInFile(index);
}

EngineStatus TableDef::createIndexInFile(const IndexDef& index) {
  TableInfo info;
  if (auto status = db_.loadTable(name_, info); !status) return status;
  for (const auto& existing : info.indexes) {
    if (EqualsIgnoringCase(existing.name, index.name))
      return EngineStatus::failure("L'indice \"" + index.name + "\" esiste già nella tavola \"" +
                                   name_ + "\".");
    if (existing.primary && index.primary)
      return EngineStatus::failure("La tavola \"" + name_ + "\" ha già una chiave primaria.");
  }
  const bool unique = index.unique || index.primary;
  std::string sql = std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " +
                    quoteIdentifier(physicalIndexName(name_, index.name, index.primary)) + " ON " +
                    quoteIdentifier(name_) + " (";
  for (size_t i = 0; i < index.fields.size(); ++i)
    sql += (i > 0 ? ", " : "") + quoteIdentifier(index.fields[i].name) +
           (index.fields[i].descending ? " DESC" : "");
  return db_.execute(sql + ")");
}

}  // namespace veltra::db::engine
