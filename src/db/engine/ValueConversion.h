#pragma once
// Text given to a field becomes a value of the field's type, the way the
// engine converted it: numbers with a decimal comma or point, dates as
// day/month/year, Yes/No from "1", "0" or "-1". What does not fit is refused
// with a sentence that says why.

#include <string_view>

#include "db/FieldValue.h"
#include "db/engine/EngineStatus.h"
#include "db/engine/SchemaTypes.h"

namespace veltra::db::engine {

EngineStatus valueFromText(const ColumnInfo& column, std::string_view text, FieldValue& out);

}  // namespace veltra::db::engine
