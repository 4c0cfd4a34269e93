#pragma once
// Text given to a field becomes a value of the field's type, the way the
// engine converted it: numbers with a decimal comma or point, dates as
// day/month/year, Yes/No from "1", "0" or "-1". What does not fit is refused
// with a sentence that says why.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "db/FieldValue.h"
#include "db/PlainText.h"
#include "db/engine/EngineStatus.h"
#include "db/engine/SchemaTypes.h"

namespace veltra::db::engine {

EngineStatus valueFromText(const ColumnInfo& column, std::string_view text, FieldValue& out);

// Whether the text is the field's value as it stands, which valueFromText
// would only copy: a Text field's text that fits by its bytes, as no text has
// more characters than bytes. Bulk writers set a dozen such on every row.
// Whether a Text field's text has more characters than the field holds. No
// text has more characters than bytes: most are told by their size alone.
inline bool textTooLong(const ColumnInfo& column, std::string_view text) {
  return column.type == FieldType::Text && text.size() > static_cast<std::size_t>(column.size) &&
         Utf8Length(text) > static_cast<std::size_t>(column.size);
}

inline bool isTextAsItStands(const ColumnInfo& column, std::string_view text) {
  return column.type == FieldType::Text && text.size() <= static_cast<std::size_t>(column.size);
}

// A number given as a number: the value, or the refusal, its text would give,
// without spelling the text for the common cases (a whole number into a
// whole-number or Yes/No field, a finite number into a floating field). Bulk
// writers set tens of fields on each of many thousands of rows.
EngineStatus valueFromInteger(const ColumnInfo& column, std::int64_t value, FieldValue& out);
EngineStatus valueFromReal(const ColumnInfo& column, double value, FieldValue& out);

}  // namespace veltra::db::engine
