#include "db/engine/DeclaredTypes.h"

#include <charconv>

#include "db/PlainText.h"

namespace veltra::db::engine {

namespace {
struct TypeName {
  FieldType type;
  std::string_view name;
};
// Chosen so that SQLite's affinity matches: SMALLINT/INTEGER integer, DOUBLE
// real, VARCHAR/LONGTEXT/DATETEXT text, LONGBLOB none.
constexpr TypeName Names[] = {
    {FieldType::Boolean, "BOOLEAN"},   {FieldType::Byte, "TINYINT"},
    {FieldType::Integer, "SMALLINT"},  {FieldType::Long, "INTEGER"},
    {FieldType::Currency, "CURRENCY"}, {FieldType::Single, "FLOAT"},
    {FieldType::Double, "DOUBLE"},     {FieldType::Date, "DATETEXT"},
    {FieldType::Text, "VARCHAR"},      {FieldType::LongBinary, "LONGBLOB"},
    {FieldType::Memo, "LONGTEXT"},
};

}  // namespace

std::string declaredType(FieldType type, int size) {
  for (const auto& entry : Names) {
    if (entry.type != type) continue;
    std::string text(entry.name);
    if (type == FieldType::Text) text += "(" + std::to_string(size) + ")";
    return text;
  }
  return "LONGBLOB";
}

std::optional<DeclaredType> parseDeclaredType(std::string_view declared) {
  const auto open = declared.find('(');
  const std::string_view name = declared.substr(0, open);
  int size = 0;
  if (open != std::string_view::npos) {
    const auto close = declared.find(')', open);
    if (close == std::string_view::npos) return std::nullopt;
    const auto digits = declared.substr(open + 1, close - open - 1);
    std::from_chars(digits.data(), digits.data() + digits.size(), size);
  }
  for (const auto& entry : Names)
    if (EqualsIgnoringCase(entry.name, name)) return DeclaredType{entry.type, size};
  return std::nullopt;
}

}  // namespace veltra::db::engine
