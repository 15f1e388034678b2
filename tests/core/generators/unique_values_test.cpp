// SPDX-License-Identifier: MIT
// Unique values of each type that has them: a run of as many records as the space holds writes
// every value once, as the type and its case rule write them, and never NULL.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <set>
#include <string>

#include "core/generators/composite_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/temporal_gens.h"
#include "core/model/gen_model.h"
#include "core/output/unique_check.h"
#include "core/platform/code_page.h"
#include "support/memory_data_access.h"

namespace kelvast::test {
namespace {

struct SpaceCase {
  const char* name;
  TColType type;
  std::function<void(TColParams&)> set;
  TUniqueCount size;     // the values the space holds
  int64_t records;       // the records made (the whole space, or a part of a large one)
  const char* pattern;   // every value written matches it
};

TEST(UniqueValues, EachTypeWritesEveryValueOfItsSpaceOnce) {
  TMemoryDataAccess db;
  db.SetColumn("t", "code", {"x", " x", "Y", "y", "z ", std::nullopt});
  const SpaceCase cases[] = {
      {"integer", ctInteger, [](TColParams& p) {
         auto& i = static_cast<TCPInteger&>(p);
         i.SetMinValue(4);
         i.SetMaxValue(-3);
       }, 8, 8, "-?[0-4]"},
      {"positive integer", ctInteger, [](TColParams& p) {
         auto& i = static_cast<TCPInteger&>(p);
         i.SetMinValue(-5);
         i.SetMaxValue(3);
         i.SetSign(1);
       }, 6, 6, "[0-5]"},
      {"negative integer", ctInteger, [](TColParams& p) {
         auto& i = static_cast<TCPInteger&>(p);
         i.SetMinValue(-5);
         i.SetMaxValue(3);
         i.SetSign(-1);
       }, 6, 6, "0|-[1-5]"},
      {"counter", ctIncremental, [](TColParams& p) {
         auto& c = static_cast<TCPIncremental&>(p);
         c.SetStartValue(10);
         c.SetStep(-3);
       }, (TUniqueCount{10} + 2147483648u) / 3, 3000, "-?[0-9]+"},
      // The blank is left out: trimming would make "a " and "a" one value.
      {"string", ctstring, [](TColParams& p) {
         auto& s = static_cast<TCPString&>(p);
         s.SetCharsetText("ab ");
         s.SetMinSize(1);
         s.SetDataLength(3);
       }, 2 + 4 + 8, 14, "[ab]{1,3}"},
      {"string upper case", ctstring, [](TColParams& p) {
         auto& s = static_cast<TCPString&>(p);
         s.SetCharsetText("aAb");
         s.SetMinSize(2);
         s.SetDataLength(2);
         s.SetDataCase(gcUpper);
       }, 4, 4, "[AB]{2}"},
      {"string random case", ctstring, [](TColParams& p) {
         auto& s = static_cast<TCPString&>(p);
         s.SetCharsetText("abAB0");
         s.SetMinSize(0);
         s.SetDataLength(4);
         s.SetDataCase(gcRandom);
       }, 3 + 9 + 27 + 81, 120, "[abAB0]{1,4}"},
      {"long string", ctstring, [](TColParams& p) {
         auto& s = static_cast<TCPString&>(p);
         s.SetMinSize(30);
         s.SetDataLength(30);
       }, kUniqueCountMax, 5000, "[A-Za-z]{30}"},
      {"mask", ctFormatted, [](TColParams& p) { static_cast<TCPFormatted&>(p).SetMask("A-0?"); },
       26 * 10 * 15, 3900, "[A-Z]-[0-9][!-/]"},
      {"zip code", ctZip, [](TColParams& p) {
         auto& z = static_cast<TCPZip&>(p);
         z.SetDataLength(3);
       }, 1000, 1000, "[0-9]{3}"},
      {"zip code without a box, lower case", ctZip, [](TColParams& p) {
         auto& z = static_cast<TCPZip&>(p);
         z.SetNumbers(false);
         z.SetDataLength(1);
         z.SetDataCase(gcLower);
       }, 27, 27, "[a-z_]"},
      {"date", ctDate, [](TColParams& p) {
         auto& d = static_cast<TCPDate&>(p);
         d.SetMinDate(45000);
         d.SetMaxDate(45030.75);
         d.SetFormat("yyyy-mm-dd");
       }, 31, 31, "2023-(03|04)-[0-9]{2}"},
      {"column reference", ctColRef, [](TColParams& p) {
         auto& r = static_cast<TCPColRef&>(p);
         r.SetTable("t");
         r.SetField("code");
         r.SetDataCase(gcUpper);
       }, 3, 3, "X|Y|Z"},
  };
  for (const SpaceCase& c : cases) {
    SCOPED_TRACE(c.name);
    TGenModel model;
    TColToGenItem& item = model.Cols().Add();
    item.SetColName("v");
    item.SetColType(c.type);
    c.set(item.Param());
    item.Param().SetUnique(1);
    item.Param().SetAllowNull(true);
    item.Param().SetNullPercent(100);
    model.PrepareAll(&db);
    ASSERT_EQ(model.UniqueKeys().Keys().size(), 1u);
    EXPECT_TRUE(model.UniqueKeys().Keys()[0].Capacity() == c.size);
    const std::regex pattern(c.pattern);
    std::set<std::string> seen;
    for (int64_t record = 1; record <= c.records; ++record) {
      model.NewRecord(record);
      const std::string value(item.Param().GetValue());
      ASSERT_TRUE(std::regex_match(value, pattern)) << "record " << record << ": " << value;
      // A case transform may write a value in any case: values stay apart without regard to it.
      const bool caseSet = item.Param().DataCase() != gcNoChange;
      EXPECT_TRUE(seen.insert(caseSet ? AnsiUpperCase(value) : value).second)
          << "record " << record << " repeats " << value;
    }
  }
}

// A date format that shows less than the day writes the same text for several days: the space
// holds the texts, a run of that many records writes each once, and one record more is refused.
TEST(UniqueValues, DatesCountTheTextsTheirFormatWrites) {
  const struct {
    const char* format;
    TDateTime min, max;
    TUniqueCount size;
    const char* pattern;
  } cases[] = {
      {"mm/dd", EncodeDate(2021, 1, 1), EncodeDate(2023, 12, 31), 365, "[01][0-9]/[0-3][0-9]"},
      {"mm/dd", EncodeDate(2022, 1, 1), EncodeDate(2024, 12, 31), 366, "[01][0-9]/[0-3][0-9]"},
      // yy 00 to 99 once or twice; 1900 is no leap year but 2000 is: 100 * 365 + 25 leap days.
      {"mm/dd/yy", EncodeDate(1900, 1, 1), EncodeDate(2049, 12, 31), 36525,
       "[01][0-9]/[0-3][0-9]/[0-9]{2}"},
      {"mmm yyyy", EncodeDate(2000, 1, 1), EncodeDate(2002, 12, 31), 36, "[A-Z][a-z]{2} 200[0-2]"},
      {"dddd", EncodeDate(2000, 1, 1), EncodeDate(2000, 12, 31), 7, "[A-Z][a-z]+day"},
      {"yyyy-mm-dd", EncodeDate(2023, 3, 31), EncodeDate(2023, 3, 1), 31, "2023-03-[0-3][0-9]"},
      {"yyyy-mm-dd", EncodeDate(1899, 12, 25), EncodeDate(1899, 12, 31), 7,
       "1899-12-(2[5-9]|3[01])"},
      // Ranges of more than 400 years.
      {"mm/dd", EncodeDate(1000, 1, 1), EncodeDate(2999, 12, 31), 366, "[01][0-9]/[0-3][0-9]"},
      {"mmm yyyy", EncodeDate(1000, 1, 1), EncodeDate(2999, 12, 31), 24000,
       "[A-Z][a-z]{2} [12][0-9]{3}"},
      {"yyyy-mm-dd", EncodeDate(1000, 1, 1), EncodeDate(2999, 12, 31),
       static_cast<TUniqueCount>(EncodeDate(2999, 12, 31) - EncodeDate(1000, 1, 1) + 1),
       "[12][0-9]{3}-[01][0-9]-[0-3][0-9]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.format << " " << c.min << ".." << c.max);
    TGenModel model;
    TColToGenItem& item = model.Cols().Add();
    item.SetColName("d");
    item.SetColType(ctDate);
    auto& d = static_cast<TCPDate&>(item.Param());
    d.SetMinDate(c.min);
    d.SetMaxDate(c.max);
    d.SetFormat(c.format);
    d.SetUnique(1);
    model.PrepareAll();
    ASSERT_TRUE(model.UniqueKeys().Keys()[0].Capacity() == c.size);
    EXPECT_EQ(UniqueKeysProblem(model, static_cast<int64_t>(c.size)), "");
    EXPECT_NE(UniqueKeysProblem(model, static_cast<int64_t>(c.size) + 1), "");
    const std::regex pattern(c.pattern);
    std::set<std::string> seen;
    for (int64_t record = 1; record <= std::min<int64_t>(static_cast<int64_t>(c.size), 5000);
         ++record) {
      model.NewRecord(record);
      const std::string value(d.GetValue());
      ASSERT_TRUE(std::regex_match(value, pattern)) << "record " << record << ": " << value;
      ASSERT_TRUE(seen.insert(value).second) << "record " << record << " repeats " << value;
    }
  }
}

TEST(UniqueValues, TypesWithoutASpaceAreNotDrawnUnique) {
  for (const TColType type : {ctFloat, ctFirstName, ctMemo, ctBit, ctSex, ctCombo, ctTime}) {
    TGenModel model;
    TColToGenItem& item = model.Cols().Add();
    item.SetColType(type);
    item.Param().SetUnique(3);
    model.PrepareAll();
    ASSERT_EQ(model.UniqueKeys().Keys().size(), 1u);
    EXPECT_EQ(model.UniqueKeys().Keys()[0].Refused.size(), 1u) << type;
    EXPECT_FALSE(item.Param().UniqueActive());
  }
}

// Two columns of ten values each make one key of a hundred tuples: each tuple once, while each
// column repeats its values.
TEST(UniqueValues, AKeyOfSeveralColumnsDrawsTheirTuples) {
  TGenModel model;
  for (const char* name : {"a", "b"}) {
    TColToGenItem& item = model.Cols().Add();
    item.SetColName(name);
    item.SetColType(ctInteger);
    auto& i = static_cast<TCPInteger&>(item.Param());
    i.SetMinValue(1);
    i.SetMaxValue(10);
    i.SetUnique(1);
  }
  model.PrepareAll();
  ASSERT_TRUE(model.UniqueKeys().Keys()[0].Capacity() == 100);
  std::set<std::pair<std::string, std::string>> tuples;
  std::set<std::string> a, b;
  for (int64_t record = 1; record <= 100; ++record) {
    model.NewRecord(record);
    const std::string x(model.Cols()[0].Param().GetValue()), y(model.Cols()[1].Param().GetValue());
    tuples.emplace(x, y);
    a.insert(x);
    b.insert(y);
  }
  EXPECT_EQ(tuples.size(), 100u);
  EXPECT_EQ(a.size(), 10u);
  EXPECT_EQ(b.size(), 10u);
}

// A record's values depend on its number and the seed alone: made out of order, or by another
// copy of the model, they are the same.
TEST(UniqueValues, ARecordsValueDependsOnItsNumberAndTheSeed) {
  auto make = [] {
    auto model = std::make_unique<TGenModel>();
    TColToGenItem& item = model->Cols().Add();
    item.SetColType(ctFormatted);
    static_cast<TCPFormatted&>(item.Param()).SetMask("AA00");
    item.Param().SetUnique(1);
    model->PrepareAll();
    model->SeedUniqueKeys(99);
    return model;
  };
  auto forward = make(), backward = make();
  std::vector<std::string> values(500), again(500);
  for (int64_t r = 1; r <= 500; ++r) {
    forward->NewRecord(r);
    values[static_cast<size_t>(r - 1)] = forward->Cols()[0].Param().GetValue();
  }
  for (int64_t r = 500; r >= 1; --r) {
    backward->NewRecord(r);
    again[static_cast<size_t>(r - 1)] = backward->Cols()[0].Param().GetValue();
  }
  EXPECT_EQ(values, again);
  backward->SeedUniqueKeys(100);
  backward->NewRecord(1);
  forward->NewRecord(2);
  const std::string other(backward->Cols()[0].Param().GetValue());
  backward->NewRecord(2);
  EXPECT_NE(std::string(backward->Cols()[0].Param().GetValue()) + other,
            values[0] + values[1]);
}

}  // namespace
}  // namespace kelvast::test
