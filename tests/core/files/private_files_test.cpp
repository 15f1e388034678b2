// SPDX-License-Identifier: MIT
// Files that hold a connection's password are their owner's only: a model file, its JSON form
// and a connection file are written 0600 when their connection string gives a password, and a
// looser file they replace is tightened; without a password they follow the umask as before.

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

#include "core/files/connection_file.h"
#include "core/files/model_file.h"
#include "core/files/model_json.h"
#include "core/model/gen_model.h"
#include "support/test_support.h"

namespace kelvast {
namespace {

TEST(PrivateFiles, WritersOfConnectionStringsKeepPasswordsPrivate) {
  const test::TempDir dir;
  const mode_t savedMask = ::umask(022);
  using TWriter = std::function<void(const std::filesystem::path&, const std::string&)>;
  const struct {
    const char* name;
    TWriter write;
  } writers[] = {
      {"model file",
       [](const std::filesystem::path& file, const std::string& connection) {
         TGenModel model;
         model.SetConnectionString(connection);
         SaveModelFile(file, model);
       }},
      {"model JSON",
       [](const std::filesystem::path& file, const std::string& connection) {
         TGenModel model;
         model.SetConnectionString(connection);
         SaveModelJsonFile(file, model);
       }},
      {"connection file",
       [](const std::filesystem::path& file, const std::string& connection) {
         WriteConnectionFile(file, connection);
       }},
  };
  const struct {
    const char* name;
    const char* connection;
    int before;  // the replaced file's mode; -1: none
    unsigned after;
  } cases[] = {
      {"new, with a password", "DRIVER={PostgreSQL Unicode};UID=ada;PWD=s3cret", -1, 0600},
      {"over 0644, with a password", "DRIVER={PostgreSQL Unicode};Password=s3cret", 0644, 0600},
      {"new, without a password", "DRIVER={PostgreSQL Unicode};UID=ada", -1, 0644},
      {"over 0664, without a password", "DRIVER={PostgreSQL Unicode};SERVER=db", 0664, 0664},
  };
  int n = 0;
  for (const auto& w : writers) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(w.name) + ": " + c.name);
      const std::filesystem::path file = dir / ("f" + std::to_string(++n));
      if (c.before >= 0) {
        test::WriteFileBytes(file, "old");
        ASSERT_EQ(::chmod(file.c_str(), static_cast<mode_t>(c.before)), 0);
      }
      w.write(file, c.connection);
      EXPECT_EQ(test::FileMode(file), c.after);
      EXPECT_NE(test::ReadFileBytes(file).find("PostgreSQL"), std::string::npos)
          << "the file holds what was written";
    }
  }
  ::umask(savedMask);
}

}  // namespace
}  // namespace kelvast
