#pragma once
// The text of the about box: the program, the system it runs on and the
// database in use.

#include <string>

namespace veltra::db {
class DatabaseConnection;
}

namespace veltra::app {

std::string aboutText(const std::string& databasePath, const db::DatabaseConnection* connection);

// The operating system's name and release, as the about box shows it.
std::string operatingSystemText();

}  // namespace veltra::app
