// SPDX-License-Identifier: MIT
// The unique-key number in model files and JSON: kept when set, left out when not, so models
// without unique keys are stored byte for byte as before.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/files/model_file.h"
#include "core/files/model_json.h"
#include "core/model/gen_model.h"

namespace kelvast {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

size_t Occurrences(const std::string& text, const std::string& word) {
  size_t n = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

TEST(UniqueKeysFile, ExamplesSaveAsTheyAre) {
  for (const char* name : {"people", "orders", "all-types"}) {
    SCOPED_TRACE(name);
    const fs::path base = fs::path(KELVAST_EXAMPLES) / name;
    // The example's JSON saves as the committed model file; neither names a key.
    const std::string file = Bytes(base.string() + ".model");
    const std::unique_ptr<TGenModel> fromJson = ModelFromJson(Bytes(base.string() + ".json"));
    EXPECT_TRUE(SaveModelToBytes(*fromJson) == file);
    const std::string json = ModelToJson(*fromJson);
    EXPECT_EQ(Occurrences(file + json, "Unique"), 0u);
  }
}

TEST(UniqueKeysFile, KeyNumbersRoundTripInBothForms) {
  TGenModel model;
  const int32_t keys[] = {1, 0, 1, 7};
  for (const int32_t key : keys) {
    TColToGenItem& item = model.Cols().Add();
    item.SetColName("c" + std::to_string(model.Cols().Count()));
    item.SetColType(ctInteger);
    item.Param().SetUnique(key);
  }
  const std::string file = SaveModelToBytes(model);
  const std::string json = ModelToJson(model);
  // Stored for the three columns that have a key, not for the fourth.
  EXPECT_EQ(Occurrences(file, "Unique"), 3u);
  EXPECT_EQ(Occurrences(json, "\"Unique\""), 3u);
  for (const auto& loaded : {LoadModelFromBytes(file), ModelFromJson(json)}) {
    ASSERT_EQ(loaded->Cols().Count(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(loaded->Cols()[i].Param().Unique(), keys[i]) << i;
  }
}

}  // namespace
}  // namespace kelvast
