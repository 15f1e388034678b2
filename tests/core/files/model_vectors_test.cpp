// SPDX-License-Identifier: MIT
// Model files written by an independent implementation of the stream: the reader loads them and
// the writer gives back their bytes, and models built through the classes' own setters are
// written to the same bytes.

#include "core/files/model_file.h"
#include "core/files/model_json.h"
#include "model_fixtures.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace kelvast {
namespace {

using test::Hex;

class ModelVectorTest : public testing::TestWithParam<const char*> {};

TEST_P(ModelVectorTest, LoadsAndSavesTheSameBytes) {
  const std::string bytes = test::ReadFileBytes(test::VectorPath(GetParam()));
  auto model = LoadModelFile(test::VectorPath(GetParam()));
  EXPECT_EQ(Hex(SaveModelToBytes(*model)), Hex(bytes));
}

TEST_P(ModelVectorTest, JsonGivesBackTheSameBytes) {
  const std::string bytes = test::ReadFileBytes(test::VectorPath(GetParam()));
  auto model = LoadModelFromBytes(bytes);
  auto back = ModelFromJson(ModelToJson(*model));
  EXPECT_EQ(Hex(SaveModelToBytes(*back)), Hex(bytes));
}

INSTANTIATE_TEST_SUITE_P(Vectors, ModelVectorTest,
                         testing::Values("empty.model", "defaults.model", "all-types.model"));

TEST(ModelVectorTest, ModelsBuiltThroughTheClassesGiveTheVectorBytes) {
  {
    SCOPED_TRACE("all-types");
    auto model = test::BuildAllTypesModel();
    EXPECT_EQ(Hex(SaveModelToBytes(*model)),
              Hex(test::ReadFileBytes(test::VectorPath("all-types.model"))));
  }
  {
    SCOPED_TRACE("defaults: one new generator of every type");
    TGenModel model;
    for (int t = 0; t < kColTypeCount; ++t) {
      TColToGenItem& item = model.Cols().Add();
      item.SetColName("Generator " + std::to_string(t + 1));
      item.SetColType(static_cast<TColType>(t));
    }
    model.SetModified(false);
    EXPECT_EQ(Hex(SaveModelToBytes(model)),
              Hex(test::ReadFileBytes(test::VectorPath("defaults.model"))));
  }
}

}  // namespace
}  // namespace kelvast
