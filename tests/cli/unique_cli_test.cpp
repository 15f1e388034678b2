// SPDX-License-Identifier: MIT
// kelvast-cli with unique keys: the same bytes whatever the threads and parts, and a run without
// room for its records refused with the reason.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "cli/cli_runner.h"
#include "core/files/model_file.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/string_gens.h"
#include "core/model/gen_model.h"
#include "core/platform/text_utils.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (const char c : line) {
    if (c == ',') fields.emplace_back();
    else fields.back() += c;
  }
  return fields;
}

// An integer column alone in its key, a composite key of a mask and a string, and a free column.
void WriteUniqueModel(const fs::path& file) {
  TGenModel model;
  model.SetTableName("keys");
  auto add = [&](const std::string& name, TColType type, int32_t key) -> TColParams& {
    TColToGenItem& item = model.Cols().Add();
    item.SetColName(name);
    item.SetDBColName(name);
    item.SetColType(type);
    item.Param().SetUnique(key);
    return item.Param();
  };
  auto& id = static_cast<TCPInteger&>(add("id", ctInteger, 1));
  id.SetMinValue(1);
  id.SetMaxValue(100000);
  static_cast<TCPFormatted&>(add("region", ctFormatted, 2)).SetMask("A0");
  auto& code = static_cast<TCPString&>(add("code", ctstring, 2));
  code.SetCharsetText("abc");
  code.SetMinSize(1);
  code.SetDataLength(5);
  add("free", ctInteger, 0);
  SaveModelFile(file, model);
}

TEST(CliUnique, ThreadsAndPartsWriteTheSameUniqueRecords) {
  TempDir dir;
  const std::string model = (dir / "keys.model").string();
  WriteUniqueModel(model);
  auto run = [&](const std::string& out, const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"run", model, "--format", "csv", "--records", "50000",
                                     "--seed", "11", "--yes", "--output", (dir / out).string()};
    args.insert(args.end(), extra.begin(), extra.end());
    const TCliRun r = RunCli(args);
    EXPECT_EQ(r.Status, 0) << r.Err;
    return ReadFileBytes(dir / (out + ".csv"));
  };
  const std::string single = run("t1", {"--threads", "1"});
  const std::vector<std::string> lines = SplitLines(single);
  ASSERT_EQ(lines.size(), 50001u);
  std::set<std::string> ids, keys;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = Fields(lines[i]);
    ASSERT_EQ(f.size(), 4u) << lines[i];
    ids.insert(f[0]);
    keys.insert(f[1] + "," + f[2]);
  }
  EXPECT_EQ(ids.size(), 50000u);
  EXPECT_EQ(keys.size(), 50000u);

  for (const char* threads : {"2", "3"})
    EXPECT_TRUE(run("t", {"--threads", threads}) == single) << threads;
  std::string joined;
  for (int k = 1; k <= 3; ++k) {
    const std::string part =
        run("p" + std::to_string(k), {"--threads", "2", "--part", std::to_string(k) + "/3"});
    // Each part is a whole file: its header line is left out after the first.
    joined += k == 1 ? part : part.substr(part.find('\n') + 1);
  }
  EXPECT_TRUE(joined == single);

  const TCliRun refused = RunCli({"run", model, "--format", "csv", "--records", "100001",
                                  "--yes", "--output", (dir / "over").string()});
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find("id: 100,001 unique values asked, 100,000 possible (1 to 100,000)"),
            std::string::npos)
      << refused.Err;
  EXPECT_FALSE(fs::exists(dir / "over.csv"));
}

}  // namespace
}  // namespace kelvast::test
