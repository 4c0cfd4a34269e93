#include "reports/QueryColumns.h"

#include "db/FieldValueText.h"

namespace veltra::reports {

std::string TrimmedColumn(db::QueryCursor& query, int position) {
  std::string text;
  query.GetString(position, text);
  db::TrimTrailingBlanks(text);
  return text;
}

std::string RenderedColumn(db::QueryCursor& query, int position) {
  std::string text;
  query.GetText(position, text);
  return text;
}

}  // namespace veltra::reports
