#pragma once
// How the reports read a query's row: texts lose their trailing blanks (the
// fixed-width fields pad them), dates come out as "GG/MM/AAAA", and other
// values, such as flags, as the program renders them.

#include <initializer_list>
#include <string>
#include <string_view>

#include "comms/SituationRow.h"
#include "comms/VehicleQuery.h"
#include "db/QueryCursor.h"

namespace veltra::reports {

std::string TrimmedColumn(db::QueryCursor& query, int position);
std::string RenderedColumn(db::QueryCursor& query, int position);

using SituationColumns = comms::QueryColumns<comms::SituationRow>;

// A text column read into a member of the row without its trailing blanks.
comms::QueryColumn<comms::SituationRow> TrimmedTextColumn(std::string expression,
                                                          std::string comms::SituationRow::*member);

// The columns the vehicle lists begin with (the chassis, the date of the
// vehicle's last communication, its company and the company's name), then
// the named fields of bus, read as the lists show them.
SituationColumns ListedVehicleColumns(std::initializer_list<std::string_view> busFields);

}  // namespace veltra::reports
