#include "db/engine/SqlDialect.h"

#include <cctype>

#include "db/CalendarDate.h"
#include "db/PlainText.h"
#include "db/engine/TableDef.h"

namespace veltra::db::engine {

namespace {

bool isWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Reads a literal opened by quote at pos; doubled quotes stand for one. pos
// ends past the closing quote. None when the literal is not closed.
std::optional<std::string> literalBody(std::string_view sql, size_t& pos, char quote) {
  std::string body;
  for (++pos; pos < sql.size(); ++pos) {
    if (sql[pos] != quote) {
      body += sql[pos];
      continue;
    }
    if (pos + 1 < sql.size() && sql[pos + 1] == quote) {
      body += quote;
      ++pos;
      continue;
    }
    ++pos;
    return body;
  }
  return std::nullopt;
}

// #MM/DD/YYYY# (one-digit month and day too) becomes the stored 'YYYY-MM-DD'.
std::optional<std::string> dateLiteral(std::string_view sql, size_t& pos) {
  const size_t close = sql.find('#', pos + 1);
  if (close == std::string_view::npos) return std::nullopt;
  std::string body(sql.substr(pos + 1, close - pos - 1));
  const size_t first = body.find('/');
  const size_t second = first == std::string::npos ? first : body.find('/', first + 1);
  if (second == std::string::npos) return std::nullopt;
  // Swap month and day to read it with the day/month/year reader.
  const std::string dayFirst = body.substr(first + 1, second - first - 1) + "/" +
                               body.substr(0, first) + body.substr(second);
  const auto date = parseDayMonthYear(dayFirst);
  if (!date) return std::nullopt;
  pos = close + 1;
  return "'" + isoDateText(*date) + "'";
}

// Follows the words and brackets of a statement to say where NULLs must be
// placed: after each item of the ORDER BY of the statement itself.
class NullPlacement {
 public:
  void openBracket() { ++depth_; }
  void closeBracket() { --depth_; }
  void word(std::string_view word, std::string& out) {
    if (depth_ != 0) return;
    if (EqualsIgnoringCase(word, "BY") && EqualsIgnoringCase(lastWord_, "ORDER")) {
      inOrderBy_ = true;
      descending_ = false;
      placed_ = false;
    } else if (inOrderBy_ &&
               (EqualsIgnoringCase(word, "LIMIT") || EqualsIgnoringCase(word, "OFFSET"))) {
      endItem(out, word.size());
      inOrderBy_ = false;
    } else if (inOrderBy_ && EqualsIgnoringCase(word, "NULLS")) {
      placed_ = true;
    } else if (inOrderBy_) {
      descending_ = EqualsIgnoringCase(word, "DESC");
    }
    lastWord_ = word;
  }
  void comma(std::string& out) {
    if (depth_ == 0 && inOrderBy_) endItem(out, 0);
    descending_ = false;
    placed_ = false;
  }
  void end(std::string& out) {
    if (inOrderBy_) endItem(out, 0);
  }

 private:
  // Places the clause after the item's last character, before any blank and
  // before the tail characters of out that already belong to what follows.
  // An item that says where its NULLs go keeps its own word.
  void endItem(std::string& out, size_t tail) {
    if (placed_) return;
    size_t at = out.size() - tail;
    while (at > 0 && std::isspace(static_cast<unsigned char>(out[at - 1]))) --at;
    out.insert(at, descending_ ? " NULLS LAST" : " NULLS FIRST");
  }

  int depth_ = 0;
  bool inOrderBy_ = false;
  bool descending_ = false;
  bool placed_ = false;
  std::string lastWord_;
};

// One walk of keys in its key's order; per key one seek of its latest row
// on or before the day, and one of its earliest for the spelling.
LatestRowsSql seekingLatestRows(const LatestRowsRequest& r) {
  const std::string bounded = " <= " + r.day;
  return {"(SELECT history.*, (SELECT earliest." + r.key + " FROM " + r.history +
              " AS earliest WHERE earliest." + r.key + " = keyed." + r.key + " AND earliest." +
              r.date + bounded + " ORDER BY earliest." + r.date + " LIMIT 1) AS " + FirstKeyColumn +
              ", keyed." + r.key + " AS listed_key FROM " + r.keys + " AS keyed, " + r.history +
              " AS history WHERE history." + r.key + " = keyed." + r.key + " AND history." +
              r.date + " = (SELECT MAX(latest." + r.date + ") FROM " + r.history +
              " AS latest WHERE latest." + r.key + " = keyed." + r.key + " AND latest." + r.date +
              bounded + ")) AS " + r.alias,
          r.alias + ".listed_key"};
}

// One read of the history in its (key, date) index's order: of each key the
// row with no later one, and the first row's spelling. Keys are never NULL,
// so the index's own NULL placement gives the order without a sort.
LatestRowsSql windowedLatestRows(const LatestRowsRequest& r) {
  return {"(SELECT * FROM (SELECT history.*, FIRST_VALUE(history." + r.key + ") OVER keyed AS " +
              FirstKeyColumn + ", LEAD(history." + r.date + ") OVER keyed AS next_date FROM " +
              r.history + " AS history WHERE history." + r.date + " <= " + r.day +
              " WINDOW keyed AS (PARTITION BY history." + r.key + " ORDER BY history." + r.date +
              ")) AS dated WHERE dated.next_date IS NULL) AS " + r.alias,
          r.alias + "." + r.key + " NULLS LAST"};
}

}  // namespace

LatestRowsSql latestRowsSql(const LatestRowsRequest& request, Dialect dialect) {
  return dialect == Dialect::Server ? windowedLatestRows(request) : seekingLatestRows(request);
}

std::optional<std::string> translateDialect(std::string_view jetSql, std::string& error,
                                            Dialect dialect) {
  const bool server = dialect == Dialect::Server;
  NullPlacement nulls;
  std::string out;
  out.reserve(jetSql.size() + 16);
  size_t pos = 0;
  while (pos < jetSql.size()) {
    const char c = jetSql[pos];
    if (c == '"' || c == '\'') {
      const auto body = literalBody(jetSql, pos, c);
      if (!body) {
        error = "Stringa non chiusa nell'istruzione SQL.";
        return std::nullopt;
      }
      out += quoteLiteral(*body);
    } else if (c == '#') {
      const auto literal = dateLiteral(jetSql, pos);
      if (!literal) {
        error = "Data non valida nell'istruzione SQL (si scrive #MM/GG/AAAA#).";
        return std::nullopt;
      }
      out += *literal;
    } else if (c == '[') {
      const size_t close = jetSql.find(']', pos);
      if (close == std::string_view::npos) {
        error = "Nome fra parentesi quadre non chiuso nell'istruzione SQL.";
        return std::nullopt;
      }
      out += "\"" + std::string(jetSql.substr(pos + 1, close - pos - 1)) + "\"";
      pos = close + 1;
    } else if (isWordChar(c)) {
      const size_t start = pos;
      while (pos < jetSql.size() && isWordChar(jetSql[pos])) ++pos;
      const std::string_view word = jetSql.substr(start, pos - start);
      if (!server && EqualsIgnoringCase(word, "TRUE"))
        out += "1";
      else if (!server && EqualsIgnoringCase(word, "FALSE"))
        out += "0";
      else
        out += word;
      if (server) nulls.word(word, out);
    } else {
      if (server && c == '(') nulls.openBracket();
      if (server && c == ')') nulls.closeBracket();
      if (server && c == ',') nulls.comma(out);
      out += c;
      ++pos;
    }
  }
  if (server) nulls.end(out);
  return out;
}

}  // namespace veltra::db::engine
