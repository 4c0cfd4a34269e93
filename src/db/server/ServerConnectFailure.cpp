#include "db/server/ServerConnectFailure.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <string_view>
#include <vector>

#include "db/platform/Sockets.h"

namespace veltra::db::engine {

namespace {

// What the server said of a connection it refused, by SQLSTATE.
struct Refusal {
  std::string_view state;
  std::string_view sentence;
};

constexpr Refusal Refusals[] = {
    {"3D000", "Il database indicato non esiste sul server."},
    {"28P01", "Il server ha rifiutato l'autenticazione: nome utente o password non validi."},
    {"28000",
     "Il server ha rifiutato l'accesso: l'utente non esiste o non è ammesso da questo computer."},
    {"42501", "L'utente non ha il permesso di collegarsi a questo database."},
    {"57P03", "Il server si sta avviando o arrestando e per ora non accetta collegamenti."},
    {"53300", "Il server ha già il numero massimo di collegamenti: riprovare più tardi."},
};

constexpr std::string_view NotReached =
    "Il server non risponde: non è in funzione o non è raggiungibile a questo indirizzo.";

// How long a second attempt may wait for a server that does not answer,
// when the address sets no time of its own.
constexpr int DefaultSeconds = 5;

// How far a second attempt, made only to watch, got.
struct Watched {
  bool reached = false;    // the server answered on its socket
  bool connected = false;  // it accepted the connection this time
  std::string state;       // the SQLSTATE of its refusal, if it refused
  std::string message;     // libpq's own words, for the reasons without a name
};

// The five characters of a SQLSTATE after the severity, as libpq writes the
// server's error at the SQLSTATE verbosity: "...:  3D000".
std::string stateIn(std::string_view message) {
  for (size_t at = message.find(":  "); at != std::string_view::npos;
       at = message.find(":  ", at + 1)) {
    const std::string_view code = message.substr(at + 3, 5);
    const bool coded = code.size() == 5 && std::all_of(code.begin(), code.end(), [](char c) {
                         return std::isdigit(static_cast<unsigned char>(c)) ||
                                std::isupper(static_cast<unsigned char>(c));
                       });
    const size_t after = at + 8;
    if (coded && (after >= message.size() || message[after] == '\n')) return std::string(code);
  }
  return {};
}

int secondsAllowed(const std::vector<const char*>& keywords,
                   const std::vector<const char*>& values) {
  for (size_t i = 0; keywords[i] != nullptr; ++i)
    if (std::string_view(keywords[i]) == "connect_timeout") {
      const int seconds = std::atoi(values[i]);
      if (seconds > 0) return std::max(seconds, 2);
    }
  return DefaultSeconds;
}

// Drives the attempt to its end or to the deadline, noting whether the
// server ever answered.
void pollUntilDone(pg_conn* connection, int seconds, Watched& watched) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  PostgresPollingStatusType polling = PGRES_POLLING_WRITING;
  while (polling != PGRES_POLLING_OK && polling != PGRES_POLLING_FAILED) {
    const ConnStatusType status = PQstatus(connection);
    watched.reached = watched.reached || (status != CONNECTION_STARTED &&
                                          status != CONNECTION_BAD && status != CONNECTION_NEEDED);
    if (std::chrono::steady_clock::now() >= deadline) return;
    const int socket = PQsocket(connection);
    if (socket < 0) break;
    constexpr int StepMilliseconds = 50;
    if (polling == PGRES_POLLING_READING)
      platform::WaitForInput(socket, StepMilliseconds);
    else
      platform::WaitForInputOrOutput(socket, StepMilliseconds);
    polling = PQconnectPoll(connection);
  }
  watched.connected = polling == PGRES_POLLING_OK;
}

// Connects again with the options of the failed connection, this time asking
// libpq for the server's SQLSTATE instead of its sentence.
Watched watchSecondAttempt(const pg_conn* failed) {
  PQconninfoOption* options = PQconninfo(const_cast<pg_conn*>(failed));
  std::vector<const char*> keywords;
  std::vector<const char*> values;
  for (const PQconninfoOption* option = options; option != nullptr && option->keyword != nullptr;
       ++option) {
    if (option->val == nullptr) continue;
    keywords.push_back(option->keyword);
    values.push_back(option->val);
  }
  keywords.push_back(nullptr);
  values.push_back(nullptr);
  Watched watched;
  pg_conn* connection = PQconnectStartParams(keywords.data(), values.data(), 0);
  if (connection != nullptr) {
    PQsetErrorVerbosity(connection, PQERRORS_SQLSTATE);
    pollUntilDone(connection, secondsAllowed(keywords, values), watched);
    watched.message = PQerrorMessage(connection);
    watched.state = stateIn(watched.message);
    PQfinish(connection);
  }
  PQconninfoFree(options);
  return watched;
}

// The first line of libpq's words, beside the program's sentence.
std::string inBrackets(const std::string& message) {
  std::string line = message.substr(0, message.find('\n'));
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line.empty() ? "" : " (" + line + ")";
}

}  // namespace

std::string connectionFailureReason(const pg_conn* failed) {
  if (failed == nullptr) return "Memoria insufficiente per collegarsi al server.";
  const Watched watched = watchSecondAttempt(failed);
  if (!watched.state.empty()) {
    for (const Refusal& refusal : Refusals)
      if (refusal.state == watched.state) return std::string(refusal.sentence);
    return "Il server ha rifiutato il collegamento (SQLSTATE " + watched.state + ").";
  }
  if (!watched.reached) return std::string(NotReached);
  if (watched.connected)
    return "Il server non ha accettato il collegamento, ma ora risponde: riprovare.";
  return "Il server ha interrotto il collegamento prima di accettarlo" +
         inBrackets(watched.message) + ".";
}

}  // namespace veltra::db::engine
