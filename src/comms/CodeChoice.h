#pragma once
// The company and ambit choosers: their items ("%04d - name") read from the
// database, and the rule that turns what the user typed into one of their codes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/DatabaseConnection.h"
#include "ui/Prompter.h"

namespace veltra::comms {

inline constexpr std::string_view InvalidCompanyMessage =
    "ATTENZIONE: Il Codice Azienda non è valido.\n\n"
    "Occorre selezionare un Codice Azienda presente nella lista.\n\n";
inline constexpr std::string_view InvalidAmbitMessage =
    "ATTENZIONE: Il Codice Ambito non è valido.\n\n"
    "Occorre selezionare un Codice Ambito presente nella lista.\n\n";

struct CodeItem {
  std::int32_t code = 0;
  std::string text;  // "%04d - name"

  friend bool operator==(const CodeItem&, const CodeItem&) = default;
};

std::string CodeItemText(std::int32_t code, std::string_view name);

// The statement parts of a code list: code in column 0, name in column 1.
struct CodeListQuery {
  const char* select;
  const char* from;
  const char* where;
  const char* groupBy;
  const char* orderBy;
};

// One item per row, in the query's order; names lose their trailing blanks.
// readFailed, when given, is set when the query failed (the failure was shown).
std::vector<CodeItem> ReadCodeItems(db::DatabaseConnection& connection, const CodeListQuery& query,
                                    bool* readFailed = nullptr);

// The code of a typed text: its first four characters must be digits (an
// empty text reads as 0), and "%04d" of their value must begin an item of
// the list with no further digit after it. None otherwise.
std::optional<std::int32_t> TypedCode(std::string_view typed, const std::vector<CodeItem>& items);

// The code at the start of an item's text (its first four characters read
// as a whole number), as the list boxes hand the selection back.
std::int32_t ItemCode(std::string_view itemText);

// The code chosen with a list whose "all" box is off: -1 when the box is on;
// none, after the refusal (stop icon), when the typed text names no item.
std::optional<std::int32_t> AcceptCodeChoice(bool all, std::string_view typed,
                                             const std::vector<CodeItem>& items,
                                             std::string_view refusal, ui::Prompter& prompter);

}  // namespace veltra::comms
