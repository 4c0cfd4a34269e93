#include "db/engine/QueryRecordset.h"

#include "db/PlainText.h"

namespace veltra::db::engine {

EngineStatus QueryRecordset::getField(std::string_view name, FieldValue& out) const {
  for (int i = 0; i < columnCount(); ++i)
    if (EqualsIgnoringCase(columnName(i), name)) return getField(i, out);
  return EngineStatus::failure("Il campo \"" + std::string(name) +
                               "\" non è fra le colonne della select.");
}

EngineStatus QueryRecordset::unreadable(int position) const {
  if (atEnd()) return EngineStatus::failure("Nessun record corrente.");
  return EngineStatus::failure("La select non ha la colonna " + std::to_string(position) + ".");
}

}  // namespace veltra::db::engine
