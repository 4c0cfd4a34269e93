#include "reports/QueryColumns.h"

#include "db/FieldValueText.h"

namespace veltra::reports {

std::string TrimmedColumn(db::QueryCursor& query, int position) {
  std::string text;
  query.GetString(position, text);
  db::TrimTrailingBlanks(text);
  return text;
}

std::string TextByName(db::QueryCursor& query, const std::string& field) {
  std::string text;
  query.GetText(field, text);
  return text;
}

}  // namespace veltra::reports
