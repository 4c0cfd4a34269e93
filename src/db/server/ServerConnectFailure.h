#pragma once
// Why a connection to the server failed, in Italian and by what went wrong:
// the server not reached, the database missing, the access refused. Told
// from what libpq reports of the attempt (how far it got, the server's
// SQLSTATE), never from the wording of its messages, which are English.

#include <string>

struct pg_conn;

namespace veltra::db::engine {

// The reason for the failure of the connection failed (null when libpq
// could not even begin one): one or two sentences.
std::string connectionFailureReason(const pg_conn* failed);

}  // namespace veltra::db::engine
