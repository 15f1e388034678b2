// SPDX-License-Identifier: MIT
// Several parts of one run inserted into the same PostgreSQL table at the same time, each by a
// kelvast-cli process with a connection and a transaction of its own, as the machines of a
// cluster would: together they hold exactly the rows of the single run.

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/database/database_fixture.h"

namespace kelvast::test {
namespace {

// The command that inserts part `part` of `parts` of the seeded run of the people example.
std::string InsertCommand(const std::string& connection, int records, int part, int parts) {
  return std::string("'") + KELVAST_CLI + "' run '" + KELVAST_EXAMPLES +
         "/people.model' --format db --connection '" + connection + "' --records " +
         std::to_string(records) + " --seed 11 --threads 1 --yes --quiet --part " +
         std::to_string(part) + "/" + std::to_string(parts);
}

TEST(ConcurrentParts, FourPartsAtOnceHoldTheSingleRunsRows) {
  PostgresDatabase database;
  TOdbcConnection db(database.ConnectionString());
  db.Open();
  const std::string columns =
      "(id integer, first_name text, last_name text, email text, quantity integer, price real, "
      "signup_date text, city text, zip text, code text)";
  const int records = 30000;  // several batches in every part
  db.Execute("CREATE TABLE people " + columns);
  ASSERT_EQ(std::system(InsertCommand(database.ConnectionString(), records, 1, 1).c_str()), 0);
  db.Execute("ALTER TABLE people RENAME TO whole");
  db.Execute("CREATE TABLE people " + columns);

  // The four parts start together; the script fails when any of them does.
  std::string script = "pids=''\n";
  for (int part = 1; part <= 4; ++part)
    script += InsertCommand(database.ConnectionString(), records, part, 4) + " & pids=\"$pids $!\"\n";
  script += "for p in $pids; do wait $p || exit 1; done\n";
  TempDir dir;
  WriteFileBytes(dir / "parts.sh", script);
  ASSERT_EQ(std::system(("bash " + (dir / "parts.sh").string()).c_str()), 0);

  const auto value = [&](const std::string& sql) { return db.Query(sql).at(0); };
  EXPECT_EQ(value("SELECT COUNT(*) FROM people"), std::to_string(records));
  EXPECT_EQ(value("SELECT COUNT(DISTINCT id) FROM people"), std::to_string(records));
  EXPECT_EQ(value("SELECT COUNT(*) FROM (SELECT * FROM whole EXCEPT ALL SELECT * FROM people) d"),
            "0");
  EXPECT_EQ(value("SELECT COUNT(*) FROM (SELECT * FROM people EXCEPT ALL SELECT * FROM whole) d"),
            "0");
}

}  // namespace
}  // namespace kelvast::test
