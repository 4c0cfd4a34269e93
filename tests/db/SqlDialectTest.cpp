#include <gtest/gtest.h>

#include "db/engine/SqlDialect.h"

namespace veltra::db::engine {
namespace {

std::string translated(std::string_view jet) {
  std::string error;
  const auto sql = translateDialect(jet, error);
  EXPECT_TRUE(sql) << error;
  return sql.value_or("");
}

std::string refusal(std::string_view jet) {
  std::string error;
  EXPECT_FALSE(translateDialect(jet, error));
  return error;
}

TEST(SqlDialect, DateLiteralsBecomeStoredDates) {
  EXPECT_EQ(translated("data <= #03/05/2004#"), "data <= '2004-03-05'");
  EXPECT_EQ(translated("data = #3/5/2004#"), "data = '2004-03-05'");
  EXPECT_EQ(translated("d < #12/31/2400# AND d > #01/01/1600#"),
            "d < '2400-12-31' AND d > '1600-01-01'");
}

TEST(SqlDialect, DoubleQuotedLiteralsBecomeSingleQuoted) {
  EXPECT_EQ(translated("tavola = \"bus\""), "tavola = 'bus'");
  EXPECT_EQ(translated("t = \"l'auto\""), "t = 'l''auto'");
  EXPECT_EQ(translated("t = \"a\"\"b\""), "t = 'a\"b'");
  EXPECT_EQ(translated("t = 'it''s'"), "t = 'it''s'");
}

TEST(SqlDialect, LiteralContentsSurvive) {
  EXPECT_EQ(translated("t = \"#01/02/2003# TRUE\""), "t = '#01/02/2003# TRUE'");
  EXPECT_EQ(translated("t = '\"x\" FALSE'"), "t = '\"x\" FALSE'");
}

TEST(SqlDialect, BooleansAndBracketedNames) {
  EXPECT_EQ(translated("attiva = TRUE OR a = false"), "attiva = 1 OR a = 0");
  EXPECT_EQ(translated("TRUEVAL = 1 AND x_true = 2"), "TRUEVAL = 1 AND x_true = 2");
  EXPECT_EQ(translated("SELECT [nome campo] FROM t"), "SELECT \"nome campo\" FROM t");
}

TEST(SqlDialect, MalformedLiteralsAreRefused) {
  EXPECT_FALSE(refusal("t = \"open").empty());
  EXPECT_FALSE(refusal("d = #02/30/2004#").empty());
  EXPECT_FALSE(refusal("d = #2004").empty());
}

}  // namespace
}  // namespace veltra::db::engine
