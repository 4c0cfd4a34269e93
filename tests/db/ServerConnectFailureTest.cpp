// A register on a server that cannot be opened says why in Italian, by what
// went wrong: the server not answering, the database missing, the user refused.

#include <gtest/gtest.h>

#include "db/DatabaseConnection.h"
#include "support/EngineTestSupport.h"
#include "support/RecordingPrompter.h"

namespace veltra::db {
namespace {

// A parameter in the URI's query wins over what the URI said before it,
// whether the server is named by a socket folder or by host and port.
std::string with(const std::string& uri, const std::string& parameter) {
  return uri + (uri.find('?') == std::string::npos ? "?" : "&") + parameter;
}

// The box of a failed open, without its first line and the server's name.
std::string reasonOpening(const std::string& uri) {
  testing::RecordingPrompter prompter;
  DatabaseConnection connection(prompter, uri);
  EXPECT_FALSE(connection.IsOpen());
  EXPECT_TRUE(connection.Unreachable());
  if (prompter.messages.size() != 1u) return "(" + std::to_string(prompter.messages.size()) + ")";
  const std::string& text = prompter.messages[0].text;
  EXPECT_EQ(text.rfind("Errore in fase di apertura del database\n\nImpossibile collegarsi al "
                       "database ",
                       0),
            0u)
      << text;
  return text.substr(text.rfind("\n\n") + 2);
}

TEST(ServerConnectFailureTest, EachFailureIsNamedByWhatWentWrong) {
  const std::string server = testing::requireTestServer();
  ASSERT_FALSE(server.empty());
  EXPECT_EQ(reasonOpening(with(server, "dbname=nonesiste")),
            "Il database indicato non esiste sul server.");
  EXPECT_EQ(reasonOpening(with(server, "user=nessuno")),
            "Il server ha rifiutato l'accesso: l'utente non esiste o non è ammesso da questo "
            "computer.");
  EXPECT_EQ(reasonOpening(with(server, "port=1")),
            "Il server non risponde: non è in funzione o non è raggiungibile a questo indirizzo.");
}

}  // namespace
}  // namespace veltra::db
