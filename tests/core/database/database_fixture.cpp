// SPDX-License-Identifier: MIT
#include "core/database/database_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include "core/platform/text_utils.h"

namespace kelvast::test {

namespace {

std::string ServerConnectionString(const std::string& stateFolder) {
  if (const char* fromEnvironment = std::getenv("KELVAST_PG_CONNECTION")) return fromEnvironment;
  const std::string file = stateFolder + "/connection";
  std::ifstream in(file);
  if (!in)
    throw std::runtime_error("The PostgreSQL test server is not running: " + file +
                             " is missing. ctest starts it (scripts/test-postgres start " +
                             stateFolder + "); see the output of the postgres_start test.");
  std::stringstream text;
  text << in.rdbuf();
  return Trim(text.str());
}

// The connection string with its Database attribute set to `name`.
std::string WithDatabase(const std::string& connection, const std::string& name) {
  std::string lower = connection;
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t at = lower.find("database=");
  if (at == std::string::npos) return connection + ";Database=" + name + ";";
  const size_t valueStart = at + 9;
  const size_t valueEnd = connection.find(';', valueStart);
  return connection.substr(0, valueStart) + name +
         (valueEnd == std::string::npos ? "" : connection.substr(valueEnd));
}

}  // namespace

SqliteDatabase::SqliteDatabase()
    : FConnection("DRIVER=SQLite3;Database=" + (FDir / "test.db").string()) {
  // An empty file is an empty SQLite database; a missing one is refused.
  WriteFileBytes(FDir / "test.db", "");
}

PostgresDatabase::PostgresDatabase(const std::string& stateFolder)
    : FServer(ServerConnectionString(stateFolder)) {
  static int counter = 0;
  FName = "kelvast_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
  TOdbcConnection server(FServer);
  server.Open();
  server.Execute("CREATE DATABASE " + FName);
  FConnection = WithDatabase(FServer, FName);
}

PostgresDatabase::~PostgresDatabase() {
  try {
    TOdbcConnection server(FServer);
    server.Open();
    server.Execute("DROP DATABASE IF EXISTS " + FName + " WITH (FORCE)");
  } catch (const std::exception&) {
    // The server goes away with its data at the end of the run anyway.
  }
}

}  // namespace kelvast::test
