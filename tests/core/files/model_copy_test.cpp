// SPDX-License-Identifier: MIT
// The deep copy of a model that runs generate from: every value the model holds, also those a
// model file leaves out, and nothing shared with the original.

#include "core/model/model_copy.h"

#include "core/files/model_file.h"
#include "core/generators/composite_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/output/generation_run.h"
#include "core/platform/random.h"
#include "model_fixtures.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace kelvast {
namespace {

template <class P>
P& Add(TGenModel& m, const char* name, TColType type) {
  TColToGenItem& item = m.Cols().Add();
  item.SetColName(name);
  item.SetDBColName(name);
  item.SetColType(type);
  return dynamic_cast<P&>(item.Param());
}

template <class P>
P& ParamOf(TGenModel& m, int index) {
  return dynamic_cast<P&>(m.Cols()[index].Param());
}

TEST(ModelCopyTest, EveryStoredValueIsCopied) {
  auto model = test::BuildAllTypesModel();
  auto copy = CopyModel(*model);
  EXPECT_EQ(test::Hex(SaveModelToBytes(*copy)), test::Hex(SaveModelToBytes(*model)));
  EXPECT_TRUE(copy->Modified());
  EXPECT_EQ(copy->StoredDelimiter(), "[]");
}

// A model file leaves out empty texts and zero floats, and never holds a full name's own last
// name nor the titles of a model without a title generator; the copy holds them all.
TEST(ModelCopyTest, ValuesAModelFileLeavesOutAreCopied) {
  TGenModel model;
  auto& real = Add<TCPFloat>(model, "real", ctFloat);
  real.SetMaxValue(0);
  Add<TCPBit>(model, "bit", ctBit).SetZeroValue("");
  auto& full = Add<TCPFirstLastName>(model, "full", ctFirstLastName);
  full.LastName().SetDataLength(9);
  full.LastName().SetMinSize(8);
  full.LastName().SetPhonemeList({"zu"});
  auto& title = Add<TCPSexGen>(model, "title", ctSex);
  title.SetMister("");
  title.SetMisterPercent(0);

  auto copy = CopyModel(model);
  {
    EXPECT_EQ(ParamOf<TCPFloat>(*copy, 0).MaxValue(), 0.0);
    EXPECT_EQ(ParamOf<TCPBit>(*copy, 1).ZeroValue(), "");
    const TCPLastName& last = ParamOf<TCPFirstLastName>(*copy, 2).LastName();
    EXPECT_EQ(last.DataLength(), 9);
    EXPECT_EQ(last.MinSize(), 8);
    EXPECT_EQ(last.PhonemeList(), std::vector<std::string>{"zu"});
    EXPECT_EQ(ParamOf<TCPSexGen>(*copy, 3).Mister(), "");
    EXPECT_EQ(ParamOf<TCPSexGen>(*copy, 3).MisterPercent(), 0.0f);
  }
  // The titles live in the copy itself: deleting the title generator keeps them there.
  copy->Cols().Delete(3);
  EXPECT_EQ(PersonOf(*copy).Mister(), "");
  EXPECT_EQ(PersonOf(model).Mister(), "");
  // And the copy's titles are its own.
  PersonOf(*copy).SetMister("Dr.");
  EXPECT_EQ(title.Mister(), "");
}

// What a run writes from the copy is what it writes from the original, even when the original is
// changed and destroyed in between.
TEST(ModelCopyTest, RunOfTheCopyWritesWhatTheOriginalWould) {
  test::TempDir dir;
  auto build = [&dir] {
    auto m = std::make_unique<TGenModel>();
    Add<TCPSexGen>(*m, "title", ctSex).SetMissPercent(60);
    Add<TCPFirstName>(*m, "first", ctFirstName);
    auto& full = Add<TCPFirstLastName>(*m, "full", ctFirstLastName);
    full.LastName().SetPhonemeList({"ab", "cd"});
    full.LastName().SetMinSize(6);
    Add<TCPInteger>(*m, "n", ctInteger).SetMaxValue(50);
    Add<TCPCombo>(*m, "combo", ctCombo).SetColnames({"first", "n"});
    m->SetRecNumber(200);
    m->SetSQLFile((dir / "people.csv").string());
    return m;
  };
  TRunOptions options;
  options.Mode = omCsv;
  options.DictFolder = KELVAST_DICT_DIR;
  TRunObserver quiet;

  auto original = build();
  RandSeed(11);
  RunGeneration(*original, options, quiet);
  const std::string expected = test::ReadFileBytes(dir / "people.csv");

  auto model = build();
  auto copy = CopyModel(*model);
  model->Cols().Clear();
  PersonOf(*model).SetMissPercent(0);
  model.reset();
  RandSeed(11);
  RunGeneration(*copy, options, quiet);
  EXPECT_EQ(test::ReadFileBytes(dir / "people.csv"), expected);
}

}  // namespace
}  // namespace kelvast
