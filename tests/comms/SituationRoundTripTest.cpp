// A company answers its situation file with a communication made of the same
// record lines, each marked VAR: sent back unchanged, it must be accepted and
// leave every vehicle as it was.

#include <gtest/gtest.h>

#include <filesystem>

#include "comms/CompanySituationExport.h"
#include "comms/ExportDatabase.h"

namespace veltra::comms {
namespace {

using testing::readWholeFile;

std::vector<std::string> splitCrlf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

// Tags renamed, records marked VAR; the trailer grows by the bytes of "VAR"
// (86 + 65 + 82) for each record, the TAB not being summed.
std::string asCommunication(const std::string& situation) {
  std::vector<std::string> lines = splitCrlf(situation);
  const std::size_t records = lines.size() - 4;
  const long trailer = std::stol(lines.back().substr(std::string("</ComunicazioneBusQz>").size()));
  std::string text = "<VariazioniBusQz>" + std::to_string(records) + "\r\n";
  text += lines[1] + "\r\n" + lines[2] + "\r\n";
  for (std::size_t i = 3; i < 3 + records; ++i) text += "VAR\t" + lines[i] + "\r\n";
  text +=
      "</VariazioniBusQz>" + std::to_string(trailer + 233 * static_cast<long>(records)) + "\r\n";
  return text;
}

class SituationRoundTripTest : public testing::ExportDatabaseTest {
 protected:
  // Every vehicle with all its fields but the date of its last communication.
  std::vector<std::string> vehicles() {
    db::QueryCursor query(connection.get());
    query.SetSelect(
        "telaio, azienda, ambito, prop, interno, libretto, targa, prima, tipo, dtimm, dest, "
        "carroz, aliment, sedere, piedi, handicap, lung, altezza, aria, pedana, prezzo, contrib, "
        "contrib2, atto, datini, datfin, datrad");
    query.SetFrom("bus");
    query.SetOrderBy("telaio");
    const char* fields[] = {"telaio",  "azienda", "ambito", "prop",     "interno",  "libretto",
                            "targa",   "prima",   "tipo",   "dtimm",    "dest",     "carroz",
                            "aliment", "sedere",  "piedi",  "handicap", "lung",     "altezza",
                            "aria",    "pedana",  "prezzo", "contrib",  "contrib2", "atto",
                            "datini",  "datfin",  "datrad"};
    std::vector<std::string> rows;
    for (bool row = query.Execute(); row; row = query.NextRow()) {
      std::string all;
      for (const char* field : fields) {
        std::string text;
        query.GetText(field, text);
        all += text + "|";
      }
      rows.push_back(all);
    }
    return rows;
  }
};

INSTANTIATE_TEST_SUITE_P(Engines, SituationRoundTripTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(SituationRoundTripTest, ASituationSentBackAsACommunicationChangesNoVehicle) {
  const auto folder = dir.path() / "situazioni";
  std::filesystem::create_directory(folder);
  prompter.files.push_back((folder / "x.txt").string());
  ASSERT_EQ(ExportCompanySituations(*connection, "31/12/2024"), ui::Outcome::Done);
  const std::vector<std::string> before = vehicles();
  ASSERT_EQ(before.size(), 6u);

  for (const char* name : {"ComunicazioneBusQz_3.txt", "ComunicazioneBusQz_12.txt"}) {
    const std::string answer = dir.file(std::string("Risposta_") + name);
    std::ofstream(answer, std::ios::binary)
        << asCommunication(readWholeFile((folder / name).string()));
    prompter.clear();
    prompter.files.push_back(answer);
    const ImportOutcome outcome = ImportCommunication(*connection);
    EXPECT_EQ(outcome.outcome, ui::Outcome::Done) << name << "\n" << prompter.texts().front();
    EXPECT_EQ(outcome.payload.inserted, 0);
    EXPECT_EQ(outcome.payload.updated, 2);
  }
  EXPECT_EQ(vehicles(), before);
  EXPECT_EQ(countRows("storia", "data = #12/31/2024#"), 4);
}

}  // namespace
}  // namespace veltra::comms
