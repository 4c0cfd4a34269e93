#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "DbFixture.h"
#include "db/FieldValueText.h"
#include "db/TableCursor.h"

namespace veltra::db {
namespace {

class TableCursorTest : public testing::DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    TableCursor azi(connection.get(), "azi");
    azi.AddNew();
    azi.SetField("codice", "7");
    azi.SetField("denom", "Autolinee Ombrena");
    ASSERT_TRUE(azi.Update());
  }

  // Adds a vehicle with the required fields and the given extra ones.
  bool addVehicle(const std::string& chassis, const std::string& date,
                  std::initializer_list<std::pair<const char*, const char*>> extra = {}) {
    TableCursor mezzi(connection.get(), "mezzi");
    mezzi.AddNew();
    mezzi.SetField("telaio", chassis);
    mezzi.SetField("data", date);
    mezzi.SetField("azienda", "7");
    for (const auto& [name, value] : extra) mezzi.SetField(name, value);
    return mezzi.Update();
  }

  std::string read(const std::string& chassis, const std::string& date, const std::string& field) {
    TableCursor mezzi(connection.get(), "mezzi");
    EXPECT_TRUE(mezzi.SelectIndex("codice"));
    const std::string keys[] = {chassis, date};
    EXPECT_TRUE(mezzi.Seek(keys));
    std::string out = "not read";
    EXPECT_TRUE(mezzi.GetField(field, out));
    return out;
  }

  std::string onlyMessage() {
    EXPECT_EQ(prompter.messages.size(), 1u);
    if (prompter.messages.empty()) return {};
    EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Stop);
    return prompter.messages[0].text;
  }

  static std::string head(const std::string& text) { return text.substr(0, text.find("\n\n") + 2); }
};

INSTANTIATE_TEST_SUITE_P(Engines, TableCursorTest, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST_P(TableCursorTest, ValuesRoundTripAsText) {
  ASSERT_TRUE(addVehicle("T1", "05/03/2004",
                         {{"posti", "42"},
                          {"lung", "12000,5"},
                          {"prezzo", "1234,5"},
                          {"aria", "-1"},
                          {"interno", "  "},
                          {"note", "a\nb"},
                          {"datrad", "99/99/9999"}}));
  EXPECT_EQ(read("T1", "05/03/2004", "posti"), "42");
  EXPECT_EQ(read("T1", "05/03/2004", "lung"), "000000000012000,5000");
  EXPECT_EQ(read("T1", "05/03/2004", "prezzo"), "+000000000001234,5000");
  EXPECT_EQ(read("T1", "05/03/2004", "aria"), "1");
  EXPECT_EQ(read("T1", "05/03/2004", "interno"), " ");
  EXPECT_EQ(read("T1", "05/03/2004", "note"), "a\nb");
  EXPECT_EQ(read("T1", "05/03/2004", "datrad"), "99/99/9999");
  EXPECT_EQ(read("t1", "5/3/2004", "telaio"), "T1") << "keys compare without case";
  EXPECT_TRUE(prompter.messages.empty()) << prompter.messages[0].text;
}

TEST_P(TableCursorTest, SentinelDatesAndNullsRoundTrip) {
  ASSERT_TRUE(addVehicle("S", "00/00/0000", {{"datrad", ""}, {"aria", ""}}));
  EXPECT_EQ(read("S", "00/00/0000", "data"), "00/00/0000");
  EXPECT_EQ(read("S", "01/01/1600", "datrad"), "");
  EXPECT_EQ(read("S", "01/01/1600", "aria"), "");
  EXPECT_EQ(read("S", "01/01/1600", "posti"), "") << "a field never set is null";
  ASSERT_TRUE(addVehicle("E", "99/99/9999"));
  EXPECT_EQ(read("E", "31/12/2400", "data"), "99/99/9999");
  // Only the whole sentinel text is replaced.
  prompter.clear();
  EXPECT_FALSE(addVehicle("B", "00/00/0000 "));
  EXPECT_EQ(head(prompter.messages.at(0).text),
            "Errore campo (data) della tavola (mezzi) <00/00/0000 >\n\n");
}

TEST_P(TableCursorTest, EditChangesTheRowFoundBySeek) {
  ASSERT_TRUE(addVehicle("T2", "01/01/2005", {{"posti", "10"}}));
  TableCursor mezzi(connection.get(), "mezzi");
  mezzi.SelectIndex("codice");
  const std::string keys[] = {"T2", "01/01/2005"};
  ASSERT_TRUE(mezzi.Seek(keys));
  ASSERT_TRUE(mezzi.Edit());
  ASSERT_TRUE(mezzi.SetField("posti", "11"));
  ASSERT_TRUE(mezzi.SetField("interno", ""));
  ASSERT_TRUE(mezzi.Update());
  EXPECT_EQ(read("T2", "01/01/2005", "posti"), "11");
  EXPECT_EQ(read("T2", "01/01/2005", "interno"), "");
  EXPECT_EQ(read("T2", "01/01/2005", "azienda"), "7") << "fields not set keep their value";
  // An edit that changes nothing writes nothing and still succeeds.
  ASSERT_TRUE(mezzi.Seek(keys));
  ASSERT_TRUE(mezzi.Edit());
  EXPECT_TRUE(mezzi.Update());
  EXPECT_EQ(read("T2", "01/01/2005", "posti"), "11");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(TableCursorTest, OneCursorOverManyRowsNeverCarriesAValueFromTheRowBefore) {
  ASSERT_TRUE(addVehicle("A", "01/01/2005", {{"posti", "10"}, {"note", "di A"}}));
  ASSERT_TRUE(addVehicle("B", "01/01/2005", {{"posti", "20"}, {"note", "di B"}}));
  TableCursor mezzi(connection.get(), "mezzi");
  mezzi.SelectIndex("codice");
  const int posti = mezzi.FieldPosition("posti");
  std::string out;
  const std::string a[] = {"A", "01/01/2005"}, b[] = {"B", "01/01/2005"};
  ASSERT_TRUE(mezzi.Seek(a));
  ASSERT_TRUE(mezzi.GetField("note", out));
  // An edit of B after a read of A writes only what it sets, and reads B.
  ASSERT_TRUE(mezzi.Seek(b));
  ASSERT_TRUE(mezzi.Edit());
  ASSERT_TRUE(mezzi.SetField(posti, "21"));
  EXPECT_FALSE(mezzi.SetField("lung", "dodici"));
  ASSERT_TRUE(mezzi.Update());
  ASSERT_TRUE(mezzi.GetField("note", out));
  EXPECT_EQ(out, "di B");
  EXPECT_EQ(read("B", "01/01/2005", "posti"), "21");
  EXPECT_EQ(read("B", "01/01/2005", "lung"), "");
  // A new row holds only what it is given, whatever the cursor read before.
  ASSERT_TRUE(mezzi.AddNew());
  ASSERT_TRUE(mezzi.SetField("telaio", "C"));
  ASSERT_TRUE(mezzi.SetField("data", "01/01/2005"));
  ASSERT_TRUE(mezzi.SetField("azienda", "7"));
  EXPECT_FALSE(mezzi.SetField(posti, "molti"));
  ASSERT_TRUE(mezzi.Update());
  for (const char* field : {"posti", "note"}) {
    ASSERT_TRUE(mezzi.GetField(field, out));
    EXPECT_EQ(out, "") << field;
  }
  EXPECT_EQ(read("A", "01/01/2005", "posti"), "10");
  EXPECT_EQ(prompter.messages.size(), 2u) << "one box for each refused text";
}

TEST_P(TableCursorTest, EditsInTurnWriteEachTheFieldsAndDatesTheyGive) {
  ASSERT_TRUE(addVehicle("A", "01/01/2005", {{"posti", "10"}, {"note", "di A"}}));
  ASSERT_TRUE(addVehicle("B", "01/01/2005", {{"posti", "20"}, {"note", "di B"}}));
  TableCursor mezzi(connection.get(), "mezzi");
  mezzi.SelectIndex("codice");
  // Fields and dates given to one cursor row after row: the same set, then
  // another, then the first again; the same date twice, then another.
  const auto edit = [&](const char* chassis,
                        std::initializer_list<std::pair<const char*, const char*>> given) {
    const std::string keys[] = {chassis, "01/01/2005"};
    ASSERT_TRUE(mezzi.Seek(keys));
    ASSERT_TRUE(mezzi.Edit());
    for (const auto& [name, value] : given) ASSERT_TRUE(mezzi.SetField(name, value));
    ASSERT_TRUE(mezzi.Update());
  };
  edit("A", {{"posti", "11"}, {"datrad", "02/02/2010"}});
  edit("B", {{"note", "nuova"}});
  edit("A", {{"posti", "12"}, {"datrad", "02/02/2010"}});
  edit("B", {{"posti", "22"}, {"datrad", "03/03/2011"}});
  const std::tuple<const char*, const char*, const char*> expected[] = {
      {"A", "posti", "12"}, {"A", "datrad", "02/02/2010"}, {"A", "note", "di A"},
      {"B", "posti", "22"}, {"B", "datrad", "03/03/2011"}, {"B", "note", "nuova"}};
  for (const auto& [chassis, field, value] : expected)
    EXPECT_EQ(read(chassis, "01/01/2005", field), value) << chassis << " " << field;
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(TableCursorTest, ARowCopiesOnlyTheValuesAnotherCursorTookInItsLastWrite) {
  TableCursor first(connection.get(), "mezzi");
  TableCursor second(connection.get(), "mezzi");
  const int data = first.FieldPosition("data"), posti = first.FieldPosition("posti"),
            interno = first.FieldPosition("interno"), lung = first.FieldPosition("lung");
  ASSERT_TRUE(first.AddNew());
  first.SetField("telaio", "A");
  first.SetField(data, "01/01/2005");
  first.SetField("azienda", "7");
  first.SetField(posti, "12");
  first.SetField(interno, "X1");
  EXPECT_FALSE(first.SetField(lung, "dodici"));
  ASSERT_TRUE(first.Update());
  prompter.messages.clear();

  ASSERT_TRUE(second.AddNew());
  second.SetField("telaio", "B");
  second.SetField("azienda", "7");
  // lung was refused there, so it is never taken; and a Long is no Double.
  const std::pair<int, int> pairs[] = {
      {data, data}, {lung, lung}, {posti, posti}, {lung, posti}, {interno, interno}};
  std::vector<std::size_t> notTaken;
  second.CopyGivenFields(pairs, first, notTaken);
  EXPECT_EQ(notTaken, (std::vector<std::size_t>{1, 3}));
  ASSERT_TRUE(second.Update());
  EXPECT_EQ(read("B", "01/01/2005", "posti"), "12");
  EXPECT_EQ(read("B", "01/01/2005", "interno"), "X1");
  EXPECT_EQ(read("B", "01/01/2005", "lung"), "");
  // Once the cursor has moved, what it was given belongs to no row it holds.
  first.SelectIndex("codice");
  const std::string keys[] = {"B", "01/01/2005"};
  ASSERT_TRUE(first.Seek(keys));
  ASSERT_TRUE(second.AddNew());
  second.CopyGivenFields(std::span(pairs).subspan(2, 1), first, notTaken);
  EXPECT_EQ(notTaken, std::vector<std::size_t>{0});
  EXPECT_TRUE(prompter.messages.empty());
}

// An edit writes a value where the other cursor holds it; read back after
// that cursor moved on, the row gives what was written.
TEST_P(TableCursorTest, AnEditThatTookAValueReadsBackWhatItWrote) {
  ASSERT_TRUE(addVehicle("A", "01/01/2005", {{"posti", "10"}}));
  TableCursor first(connection.get(), "mezzi");
  TableCursor second(connection.get(), "mezzi");
  const int posti = first.FieldPosition("posti");
  ASSERT_TRUE(first.AddNew());
  first.SetField(posti, "12");
  second.SelectIndex("codice");
  const std::string keys[] = {"A", "01/01/2005"};
  std::string out;
  ASSERT_TRUE(second.Seek(keys) && second.GetField("posti", out) && second.Edit());
  const std::pair<int, int> pairs[] = {{posti, posti}};
  std::vector<std::size_t> notTaken;
  second.CopyGivenFields(pairs, first, notTaken);
  ASSERT_TRUE(notTaken.empty() && second.Update());
  first.SetField(posti, "99");
  ASSERT_TRUE(second.GetField("posti", out));
  EXPECT_EQ(out, "12");
}

TEST_P(TableCursorTest, AFieldPositionOfAnUnknownNameIsReportedOnce) {
  TableCursor mezzi(connection.get(), "mezzi");
  ASSERT_TRUE(mezzi.AddNew());
  const int position = mezzi.FieldPosition("ruote");
  EXPECT_EQ(position, -1);
  EXPECT_EQ(head(onlyMessage()), "Errore campo (ruote) della tavola (mezzi)\n\n");
  EXPECT_FALSE(mezzi.SetField(position, "4"));
  EXPECT_EQ(prompter.messages.size(), 1u);
}

// As NOCASE on the file: only the ASCII letters fold, so an accented capital is another letter.
TEST_P(TableCursorTest, OnlyAsciiLettersCompareWithoutCase) {
  ASSERT_TRUE(addVehicle("città", "05/03/2004"));
  TableCursor mezzi(connection.get(), "mezzi");
  mezzi.SelectIndex("codice");
  const std::string ascii = "CITTà", accented = "CITTÀ";
  EXPECT_TRUE(mezzi.Seek({&ascii, 1}));
  EXPECT_FALSE(mezzi.Seek({&accented, 1}));
}

TEST_P(TableCursorTest, SeekWithALeadingKeyFindsTheFirstMatchingRow) {
  ASSERT_TRUE(addVehicle("P", "01/06/2005"));
  ASSERT_TRUE(addVehicle("P", "01/01/2005"));
  TableCursor mezzi(connection.get(), "mezzi");
  mezzi.SelectIndex("codice");
  const std::string chassis = "P", absent = "Q";
  ASSERT_TRUE(mezzi.Seek({&chassis, 1}));
  std::string date;
  mezzi.GetField("data", date);
  EXPECT_EQ(date, "01/01/2005");
  EXPECT_FALSE(mezzi.Seek({&absent, 1}));
  // A key longer than its field cannot be in the table either.
  const std::string tooLong(63, 'P');
  EXPECT_FALSE(mezzi.Seek({&tooLong, 1}));
  EXPECT_TRUE(prompter.messages.empty()) << "a key that is not there is no failure";
}

TEST_P(TableCursorTest, FailureBoxesNameOperationAndObjects) {
  TableCursor mezzi(connection.get(), "mezzi");
  EXPECT_FALSE(mezzi.SelectIndex("nessuno"));
  EXPECT_EQ(head(onlyMessage()), "Errore selezione indice (nessuno) tavola (mezzi)\n\n");
  prompter.clear();

  const std::string key = "x";
  EXPECT_FALSE(mezzi.Seek({&key, 1}));  // no current index
  EXPECT_EQ(head(onlyMessage()), "Errore lettura tavola (mezzi)\n\n");
  prompter.clear();

  EXPECT_FALSE(mezzi.Edit());  // no current row
  EXPECT_EQ(head(onlyMessage()), "Errore editing tavola (mezzi)\n\n");
  prompter.clear();

  EXPECT_FALSE(mezzi.Update());  // neither Edit nor AddNew
  EXPECT_EQ(head(onlyMessage()), "Errore aggiornamento tavola (mezzi)\n\n");
  prompter.clear();

  ASSERT_TRUE(mezzi.AddNew());
  EXPECT_FALSE(mezzi.SetField("posti", "molti"));
  EXPECT_EQ(head(onlyMessage()), "Errore campo (posti) della tavola (mezzi) <molti>\n\n");
  prompter.clear();

  EXPECT_FALSE(mezzi.SetField("sconosciuto", ""));
  EXPECT_EQ(head(onlyMessage()), "Errore campo (sconosciuto) della tavola (mezzi) <NULL>\n\n");
  prompter.clear();

  std::string out = "kept";
  EXPECT_FALSE(mezzi.GetField("sconosciuto", out));
  EXPECT_EQ(head(onlyMessage()), "Errore campo (sconosciuto) della tavola (mezzi)\n\n");
  EXPECT_EQ(out, "kept");
}

TEST_P(TableCursorTest, SeekKeyOfTheWrongTypeIsAReadFailure) {
  TableCursor azi(connection.get(), "azi");
  azi.SelectIndex("codice");
  const std::string key = "sette";
  EXPECT_FALSE(azi.Seek({&key, 1}));
  EXPECT_EQ(head(onlyMessage()), "Errore lettura tavola (azi)\n\n");
}

TEST_P(TableCursorTest, ConversionRefusals) {
  struct Case {
    const char* field;
    const char* value;
  } cases[] = {{"azienda", "32768"},   {"azienda", "-32769"},  {"posti", "2147483648"},
               {"lung", "1,2,3"},      {"prezzo", "12 euro"},  {"aria", "forse"},
               {"data", "31/02/2004"}, {"data", "2004-03-05"}, {"telaio", "ABCDEFGHIJK"}};
  TableCursor mezzi(connection.get(), "mezzi");
  mezzi.AddNew();
  for (const auto& c : cases) {
    prompter.clear();
    EXPECT_FALSE(mezzi.SetField(c.field, c.value)) << c.field << " <- " << c.value;
    EXPECT_EQ(head(onlyMessage()), std::string("Errore campo (") + c.field +
                                       ") della tavola (mezzi) <" + c.value + ">\n\n");
  }
  prompter.clear();
  // What does fit is taken: limits, both decimal separators, text of exactly the size.
  for (const auto& [f, v] : {std::pair{"azienda", "32767"},
                             {"azienda", "-32768"},
                             {"lung", "1.5"},
                             {"lung", "-1,5"},
                             {"telaio", "ABCDEFGHIJ"},
                             {"telaio", "àèìòùÀÈÌÒÙ"}})
    EXPECT_TRUE(mezzi.SetField(f, v)) << f << " <- " << v;
  EXPECT_TRUE(prompter.messages.empty());
}

// A number given as a number is taken, refused and stored exactly as its text.
TEST_P(TableCursorTest, NumbersGivenAsNumbersActAsTheirText) {
  int rows = 0;
  // Sets the field on a new row with set(cursor, position), then writes the
  // row: whether the field took it, the box, and what was stored.
  const auto outcome = [&](const std::string& field, auto set) {
    prompter.clear();
    const std::string chassis = "N" + std::to_string(++rows);
    TableCursor mezzi(connection.get(), "mezzi");
    mezzi.AddNew();
    mezzi.SetField("telaio", chassis);
    mezzi.SetField("data", "01/01/2000");
    mezzi.SetField("azienda", "7");
    const bool taken = set(mezzi, mezzi.FieldPosition(field));
    const std::string shown = prompter.messages.empty() ? "" : prompter.messages[0].text;
    const std::string stored = mezzi.Update() ? read(chassis, "01/01/2000", field) : "";
    return std::tuple(taken, shown, stored);
  };
  const std::pair<const char*, std::int64_t> wholes[] = {
      {"azienda", 7},        {"azienda", 32768},
      {"azienda", -32769},   {"posti", -5},
      {"posti", 2147483648}, {"posti", 10000000000000000},
      {"aria", 0},           {"aria", 1},
      {"aria", -1},          {"aria", 2},
      {"lung", 3},           {"prezzo", -9007199254740993},
      {"interno", 42},       {"data", 5}};
  for (const auto& [field, value] : wholes)
    EXPECT_EQ(
        outcome(field, [&](TableCursor& t, int p) { return t.SetWholeNumber(p, value); }),
        outcome(field, [&](TableCursor& t, int p) { return t.SetField(p, std::to_string(value)); }))
        << field << " <- " << value;
  const std::pair<const char*, double> reals[] = {
      {"lung", 12000.5}, {"lung", -0.125}, {"lung", 1e300}, {"lung", INFINITY},
      {"lung", NAN},     {"posti", 2.5},   {"posti", 3.5},  {"prezzo", 0.00005},
      {"aria", 1.0},     {"interno", 1.25}};
  for (const auto& [field, value] : reals)
    EXPECT_EQ(outcome(field, [&](TableCursor& t, int p) { return t.SetNumber(p, value); }),
              outcome(field,
                      [&](TableCursor& t, int p) { return t.SetField(p, PlainNumberText(value)); }))
        << field << " <- " << value;
}

TEST_P(TableCursorTest, CursorsThatCannotOpenStayQuietAfterwards) {
  {
    TableCursor missing(connection.get(), "nessuna");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.AddNew());
    EXPECT_FALSE(missing.Update());
  }
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(head(prompter.messages[0].text),
            "Errore in fase di apertura della tavola (nessuna)\n\n");
  prompter.clear();

  TableCursor noConnection(nullptr, "azi");
  EXPECT_FALSE(noConnection.IsOpen());
  testing::RecordingPrompter other;
  DatabaseConnection closed(other, dir.file("missing.mdb"));
  other.clear();
  TableCursor onClosed(&closed, "azi");
  EXPECT_FALSE(onClosed.IsOpen());
  EXPECT_FALSE(onClosed.SelectIndex("codice"));
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(other.messages.empty());
}

}  // namespace
}  // namespace veltra::db
