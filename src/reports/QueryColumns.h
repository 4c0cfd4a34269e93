#pragma once
// How the reports read a query's row by position: texts lose their trailing
// blanks (the fixed-width fields pad them), dates come out as "GG/MM/AAAA",
// and other values, such as flags, as the program renders them.

#include <string>

#include "db/QueryCursor.h"

namespace veltra::reports {

std::string TrimmedColumn(db::QueryCursor& query, int position);
std::string RenderedColumn(db::QueryCursor& query, int position);

}  // namespace veltra::reports
