#pragma once
// How the reports read a query's row: texts by position lose their trailing
// blanks (the fixed-width fields pad them), dates and flags are read by name
// so that they come out as the program renders them.

#include <string>

#include "db/QueryCursor.h"

namespace veltra::reports {

std::string TrimmedColumn(db::QueryCursor& query, int position);
std::string TextByName(db::QueryCursor& query, const std::string& field);

}  // namespace veltra::reports
