#pragma once
// A forward-only read of one SELECT, given in parts and assembled into one
// statement; values come out as text by name, or by position as text or number.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "db/FieldValue.h"

namespace veltra::db {

class DatabaseConnection;
namespace engine {
class QueryRecordset;
}

class QueryCursor {
 public:
  explicit QueryCursor(DatabaseConnection* connection);
  ~QueryCursor();
  QueryCursor(const QueryCursor&) = delete;
  QueryCursor& operator=(const QueryCursor&) = delete;

  bool SetSelect(std::string_view text) { return setPart(select_, text); }
  bool SetFrom(std::string_view text) { return setPart(from_, text); }
  bool SetWhere(std::string_view text) { return setPart(where_, text); }
  bool SetGroupBy(std::string_view text) { return setPart(groupBy_, text); }
  bool SetOrderBy(std::string_view text) { return setPart(orderBy_, text); }

  bool Execute();
  bool NextRow();

  bool GetText(const std::string& fieldName, std::string& out);
  // The same text by position, for readers that know their select list.
  bool GetText(int position, std::string& out);
  bool GetInt(int position, std::int32_t& out);
  bool GetDouble(int position, double& out);
  bool GetString(int position, std::string& out);
  // The same text appended to out: nothing for a null or another type.
  bool AppendString(int position, std::string& out);

  // True once a failure was shown: the rows read so far may not be all of
  // them, which callers that write a file must not pass off as complete.
  bool Failed() const { return failed_; }

  // The statement as assembled by the last Execute; also shown in error boxes.
  const std::string& Statement() const { return statement_; }
  void BuildSql();

 private:
  static bool setPart(std::optional<std::string>& part, std::string_view text);
  bool readColumn(int position, FieldValue& out);
  void reportColumnFailure(const std::string& column, const std::string& engineText);

  DatabaseConnection* connection_;
  bool rowFlag_ = false;
  bool failed_ = false;
  std::unique_ptr<engine::QueryRecordset> recordset_;
  std::optional<std::string> select_, from_, where_, groupBy_, orderBy_;
  std::string statement_;
};

}  // namespace veltra::db
