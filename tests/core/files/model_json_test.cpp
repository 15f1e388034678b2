// SPDX-License-Identifier: MIT
#include "core/files/model_json.h"

#include "core/files/model_file.h"
#include "core/generators/composite_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/platform/errors.h"
#include "model_fixtures.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace kelvast {
namespace {

using test::Hex;

template <class P>
P& ParamOf(TGenModel& m, int index) {
  return dynamic_cast<P&>(m.Cols()[index].Param());
}

TEST(ModelJsonTest, ExportFollowsTheModelFile) {
  TGenModel model;
  model.SetDescription("People caf\xE9 \x80");
  model.SetRecNumber(1000);
  TColToGenItem& item = model.Cols().Add();
  item.SetColName("code");
  item.SetColType(ctCombo);
  ParamOf<TCPCombo>(model, 0).SetColnames({"id", "na\xEFve"});
  model.SetModified(false);
  // Names and order of the file, enumerations by name, lists as arrays, empty texts left out,
  // texts in UTF-8.
  EXPECT_EQ(ModelToJson(model), R"({
  "Description": "People café €",
  "Cols": [
    {
      "ColName": "code",
      "ColType": "ctCombo",
      "Param": {
        "UseExternalFile": false,
        "AllowNull": false,
        "NullPercent": 0,
        "Stealth": false,
        "Modified": false,
        "DataCase": "gcNoChange",
        "Colnames": [
          "id",
          "naïve"
        ],
        "ExportType": "etString"
      },
      "Modified": false
    }
  ],
  "RecNumber": 1000,
  "Delimiter": "''",
  "StringDelimiter": "''",
  "Modified": false
}
)");
}

TEST(ModelJsonTest, HandWrittenModelImports) {
  // Names in any letter case and order; what is missing keeps a new object's value.
  auto m = ModelFromJson(R"({
    "Description": "People", "TableName": "people", "SQLFile": "people.csv", "RecNumber": 1000,
    "Delimiter": "\"\"", "StringDelimiter": "''",
    "Cols": [
      { "ColName": "id", "DBColName": "id", "ColType": "ctIncremental",
        "Param": { "StartValue": 0, "Step": 1, "ExportType": "etNum" } },
      { "Param": { "AllowNull": true, "NullPercent": 10, "DataCase": "gcUpper",
                   "PhonemeList": ["ka", "lo", "mi"], "Datalength": 10, "minsize": 5 },
        "ColName": "name", "colType": "CTLASTNAME" },
      { "ColName": "code", "ColType": "ctstring",
        "Param": { "DataLength": 8, "MinSize": 8, "EXCharset": "FEDCBA9876543210é" } },
      { "ColName": "title", "ColType": "ctSex", "Param": { "Mister": "Señor", "MissPercent": 12.5 } }
    ] })");
  EXPECT_EQ(m->Delimiter(), "\"\"");
  ASSERT_EQ(m->Cols().Count(), 4);
  EXPECT_EQ(m->Cols()[0].ColType(), ctIncremental);
  EXPECT_EQ(ParamOf<TCPIncremental>(*m, 0).ExportType(), etNum);
  EXPECT_EQ(ParamOf<TCPIncremental>(*m, 0).MinValue(), INT32_MIN);
  auto& last = ParamOf<TCPLastName>(*m, 1);
  EXPECT_EQ(last.PhonemeList(), (std::vector<std::string>{"ka", "lo", "mi"}));
  EXPECT_EQ(last.DataCase(), gcUpper);
  EXPECT_EQ(last.MinSize(), 5);
  EXPECT_EQ(ParamOf<TCPString>(*m, 2).CharsetText(), "0123456789ABCDEF\xE9");
  EXPECT_EQ(PersonOf(*m).Mister(), "Se\xF1or");
  EXPECT_EQ(PersonOf(*m).MissPercent(), 12.5f);
}

TEST(ModelJsonTest, ValuesJsonNumbersCannotHoldSurvive) {
  TGenModel model;
  model.Cols().Add().SetColType(ctFloat);
  ParamOf<TCPFloat>(model, 0).SetMinValue(-std::numeric_limits<double>::infinity());
  ParamOf<TCPFloat>(model, 0).SetMaxValue(std::numeric_limits<double>::infinity());
  model.Cols().Add().SetColType(ctFloat);
  ParamOf<TCPFloat>(model, 1).SetMinValue(std::numeric_limits<double>::denorm_min());
  ParamOf<TCPFloat>(model, 1).SetMaxValue(std::numeric_limits<double>::quiet_NaN());
  const std::string bytes = SaveModelToBytes(model);
  auto back = ModelFromJson(ModelToJson(model));
  EXPECT_EQ(Hex(SaveModelToBytes(*back)), Hex(bytes));
  EXPECT_TRUE(std::isnan(ParamOf<TCPFloat>(*back, 1).MaxValue()));
}

TEST(ModelJsonTest, BadPropertiesAndValuesAreNamed) {
  struct Case {
    const char* json;
    const char* message;
  };
  const Case cases[] = {
      {R"({"Colour": 1})", "unknown property \"Colour\""},
      {R"({"Cols": [{"Param": {"Bogus": 1}}]})", "unknown property \"Cols[0].Param.Bogus\""},
      {R"({"RecNumber": "12"})", "\"RecNumber\": expects an integer"},
      {R"({"RecNumber": 1.5})", "\"RecNumber\": expects an integer"},
      {R"({"RecNumber": 2147483648})", "\"RecNumber\": the integer is out of the range"},
      {R"({"RecNumber": -2147483649})", "\"RecNumber\": the integer is out of the range"},
      {R"({"RecNumber": 1, "recnumber": 2})", "\"recnumber\": is given twice"},
      {R"({"Modified": 1})", "\"Modified\": expects true or false"},
      {R"({"Description": 5})", "\"Description\": expects a text"},
      {R"({"Description": "Привет"})",
       "\"Description\": the text has characters that Windows-1252"},
      {R"({"Cols": [{"ColType": "ctPhone"}]})",
       "\"Cols[0].ColType\": has no value named \"ctPhone\""},
      {R"({"Cols": [{"ColType": 3}]})", "\"Cols[0].ColType\": expects a value name"},
      {R"({"Cols": [{"ColType": "ctFloat", "Param": {"MaxValue": "big"}}]})",
       "\"Cols[0].Param.MaxValue\": expects a number"},
      {R"({"Cols": [{"ColType": "ctCombo", "Param": {"Colnames": "a,b"}}]})",
       "\"Cols[0].Param.Colnames\": expects an array of texts"},
      {R"({"Cols": [{"ColType": "ctCombo", "Param": {"Colnames": ["a", 2]}}]})",
       "\"Cols[0].Param.Colnames[1]\": expects a text"},
      {R"({"Cols": [{"Param": [1]}]})", "\"Cols[0].Param\": expects an object"},
      {R"({"Cols": {"ColName": "a"}})", "\"Cols\": expects an array of objects"},
      {R"({"Cols": [5]})", "\"Cols[0]\": expects an object"},
      {R"([1, 2])", "not an object"},
      {R"({"Description": "a",})", "malformed"},
      {"{\"Description\": \"\xE9\"}", "malformed"},  // not UTF-8
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    try {
      ModelFromJson(c.json);
      ADD_FAILURE() << "imported";
    } catch (const EFormatError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace kelvast
