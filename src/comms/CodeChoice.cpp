#include "comms/CodeChoice.h"

#include <algorithm>
#include <cstdio>

#include "comms/NumberText.h"
#include "db/FieldValueText.h"
#include "db/PlainText.h"
#include "db/QueryCursor.h"

namespace veltra::comms {

namespace {

constexpr std::size_t TypedCodeLength = 4;

std::string fourDigits(std::int32_t code) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d", static_cast<int>(code));
  return buffer;
}

// The prefix must be the item's whole leading number: "1234" does not name
// the item of company 12345.
bool namesItem(std::string_view prefix, std::string_view item) {
  return item.starts_with(prefix) &&
         (item.size() == prefix.size() || !db::IsDigit(item[prefix.size()]));
}

}  // namespace

std::string CodeItemText(std::int32_t code, std::string_view name) {
  return fourDigits(code) + " - " + std::string(name);
}

std::vector<CodeItem> ReadCodeItems(db::DatabaseConnection& connection, const CodeListQuery& query,
                                    bool* readFailed) {
  db::QueryCursor cursor(&connection);
  cursor.SetSelect(query.select);
  cursor.SetFrom(query.from);
  cursor.SetWhere(query.where);
  cursor.SetGroupBy(query.groupBy);
  cursor.SetOrderBy(query.orderBy);
  std::vector<CodeItem> items;
  for (bool row = cursor.Execute(); row; row = cursor.NextRow()) {
    std::int32_t code = 0;
    std::string name;
    cursor.GetInt(0, code);
    cursor.GetString(1, name);
    db::TrimTrailingBlanks(name);
    items.push_back({code, CodeItemText(code, name)});
  }
  if (readFailed != nullptr && cursor.Failed()) *readFailed = true;
  return items;
}

std::optional<std::int32_t> TypedCode(std::string_view typed, const std::vector<CodeItem>& items) {
  // An empty text passes: it reads as code 0, which the list must then hold.
  const std::string_view digits = typed.substr(0, TypedCodeLength);
  if (!std::all_of(digits.begin(), digits.end(), db::IsDigit)) return std::nullopt;
  const std::int32_t code = *ReadWholeNumber(digits);
  const std::string prefix = fourDigits(code);
  const bool listed = std::any_of(items.begin(), items.end(), [&](const CodeItem& item) {
    return namesItem(prefix, item.text);
  });
  if (!listed) return std::nullopt;
  return code;
}

std::int32_t ItemCode(std::string_view itemText) {
  return ReadWholeNumber(itemText.substr(0, TypedCodeLength)).value_or(0);
}

std::optional<std::int32_t> AcceptCodeChoice(bool all, std::string_view typed,
                                             const std::vector<CodeItem>& items,
                                             std::string_view refusal, ui::Prompter& prompter) {
  if (all) return -1;
  const auto code = TypedCode(typed, items);
  if (!code) prompter.message(refusal, ui::Icon::Stop);
  return code;
}

}  // namespace veltra::comms
