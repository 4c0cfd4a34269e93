#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comms/FleetFileFormat.h"
#include "comms/FleetLines.h"

namespace veltra::comms {
namespace {

// A line of three fields: the chassis, a text, datrad. A line that is not
// plain ASCII is given its state, as the loader gives it.
void addLine(FleetLines& lines, std::int32_t azienda, const std::string& telaio,
             const std::string& text = "x", std::int32_t ambito = 0,
             const std::string& datrad = "") {
  lines.begin(telaio);
  lines.next();
  lines.text() += text;
  lines.next();
  lines.text() += datrad;
  if (lines.end(azienda, ambito)) return;
  SituationRow state;
  state.azienda = azienda;
  state.vehicle.ambito = ambito;
  state.vehicle.prop = text;
  state.vehicle.datrad = datrad;
  lines.keep(state);
}

// The vehicle lines of the file, CR LF each, after its six header lines.
std::vector<std::string> fileLines(const FleetLines& lines, const SituationFilter& filter = {}) {
  FleetExportChoice choice{filter, "31/12/2030"};
  const auto text = FleetFileText(choice, lines);
  EXPECT_TRUE(text.has_value());
  std::vector<std::string> found;
  std::size_t at = 0;
  for (std::size_t end; (end = text->find("\r\n", at)) != std::string::npos; at = end + 2)
    found.push_back(text->substr(at, end - at));
  EXPECT_EQ(at, text->size());
  return std::vector<std::string>(found.begin() + 6, found.end());
}

TEST(FleetLines, ALineOfTheSameChassisButForCaseReplacesTheLastUnderItsSpelling) {
  FleetLines lines;
  addLine(lines, 1, "A1", "OLD");
  addLine(lines, 2, "a1", "NEW");
  addLine(lines, 1, "A1 ", "other");  // not the same chassis: the blank is not trimmed here
  // Lines kept in Windows-1252 and lines that are not alike.
  addLine(lines, 3, "\xC3\x80x", "\xC3\xA0");
  addLine(lines, 3, "\xC3\x80X", "\xC3\xA8");
  addLine(lines, 4, "\xC4\x80", "\xC3\xA0");
  addLine(lines, 4, "\xC4\x80", "ok");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(fileLines(lines, {.allCompanies = false, .azienda = 2}),
            std::vector<std::string>{"A1\tNEW\t"});
  EXPECT_EQ(fileLines(lines, {.allCompanies = false, .azienda = 3}),
            std::vector<std::string>{"\xC0x\t\xE8\t"});
  EXPECT_NE(lines.refusal({.allCompanies = false, .azienda = 4}), std::nullopt);
  EXPECT_EQ(lines.countMatching({.allCompanies = false, .azienda = 4}), 1u);
}

TEST(FleetLines, MergesOnlyWithTheLastLine) {
  FleetLines lines;
  addLine(lines, 1, "A1");
  addLine(lines, 1, "B2");
  addLine(lines, 1, "A1");
  EXPECT_EQ(lines.size(), 3u);
}

TEST(FleetLines, SortsByCompanyThenChassisBytes) {
  FleetLines lines;
  addLine(lines, 2, "B");
  addLine(lines, 1, "Z");
  addLine(lines, 1, "A");
  addLine(lines, 1, "AB");
  addLine(lines, 1, "\xC3\xA0");  // an accented letter sorts after every ASCII one
  addLine(lines, -1, "Q");
  const std::vector<std::string> expected{"Q\tx\t", "A\tx\t",    "AB\tx\t",
                                          "Z\tx\t", "\xE0\tx\t", "B\tx\t"};
  EXPECT_EQ(fileLines(lines), expected);
}

// In UTF-8 "€" (E2 82 AC) would come after "Š" (C5 A0), "À" (C3 80) and "ÿ"
// (C3 BF); in the files' code page it is 0x80, before 0x8A, 0xC0 and 0xFF.
TEST(FleetLines, SortsChassisByTheirWindows1252Bytes) {
  FleetLines lines;
  for (const char* telaio : {"Xÿ", "XÀ", "XŠ", "X€", "XZ"}) addLine(lines, 1, telaio, "");
  EXPECT_EQ(fileLines(lines), (std::vector<std::string>{"XZ\t\t", "X\x80\t\t", "X\x8A\t\t",
                                                        "X\xC0\t\t", "X\xFF\t\t"}));
}

// The state kept for a line that is not plain goes with the line it replaces.
TEST(FleetLines, RefusesOnlyWhatTheLinesStillHold) {
  FleetLines lines;
  addLine(lines, 1, "A1", "tab\there");
  EXPECT_NE(lines.refusal({}), std::nullopt);
  addLine(lines, 1, "a1", "mended");
  EXPECT_EQ(lines.refusal({}), std::nullopt);
  addLine(lines, 2, "B2", "\xE2\x82\xAC ok");  // "€": Windows-1252 holds it
  addLine(lines, 3, "C3", "\xC4\x80");         // "Ā": it does not
  EXPECT_EQ(lines.refusal({.allCompanies = false, .azienda = 2}), std::nullopt);
  const auto refused = lines.refusal({});
  ASSERT_TRUE(refused.has_value());
  EXPECT_NE(refused->find("\"C3\" ha nel campo \"prop\""), std::string::npos) << *refused;
  EXPECT_EQ(fileLines(lines, {.allCompanies = false, .azienda = 2}),
            std::vector<std::string>{"B2\t\x80 ok\t"});
}

TEST(FleetLines, CountsTheLinesThatPassTheFilter) {
  FleetLines lines;
  addLine(lines, 1, "A", "x", 3);
  addLine(lines, 1, "B", "x", 4, "31/12/2099");  // any date makes it inactive, even a future one
  addLine(lines, 2, "C", "x", 3);

  EXPECT_EQ(lines.countMatching({}), 3u);
  EXPECT_EQ(lines.countMatching({.allCompanies = false, .azienda = 1}), 2u);
  EXPECT_EQ(lines.countMatching({.allAmbits = false, .ambito = 3}), 2u);
  EXPECT_EQ(
      lines.countMatching({.allCompanies = false, .azienda = 1, .allAmbits = false, .ambito = 3}),
      1u);
  EXPECT_EQ(lines.countMatching({.activeOnly = true}), 2u);
  EXPECT_EQ(lines.countMatching({.allCompanies = false, .azienda = 9}), 0u);
}

}  // namespace
}  // namespace veltra::comms
