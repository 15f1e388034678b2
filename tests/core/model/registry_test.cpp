// SPDX-License-Identifier: MIT
// The type registry (class, display name and export type of each generator type) and the
// property descriptors that model files are written from.

#include "core/generators/registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/model/gen_model.h"

namespace kelvast {
namespace {

std::vector<std::string> NamesOf(const TPropList& list) {
  std::vector<std::string> names;
  for (const TPropInfo& p : list.Items) names.emplace_back(p.Name);
  return names;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(RegistryTest, EveryTypeGetsItsClassNameAndExportType) {
  struct Case {
    TColType type;
    const char* className;
    const char* displayName;
    TExportType exportType;
  };
  const Case cases[] = {
      {ctnone, "TCPString", "<select a valid type!>", etString},
      {ctstring, "TCPString", "String", etString},
      {ctFirstName, "TCPFirstName", "First name", etString},
      {ctLastName, "TCPLastName", "Last name", etString},
      {ctFirstLastName, "TCPFirstLastName", "First & Last name", etString},
      {ctDictWord, "TCPDictWord", "Dictionay word", etString},
      {ctMemo, "TCPMemo", "Memo", etString},
      {ctZip, "TCPZip", "Zip code", etString},
      {ctTown, "TCPTown", "City", etString},
      {ctAddress, "TCPAddress", "Address", etString},
      {ctCountry, "TCPCountry", "Country", etString},
      {ctUSStates, "TCPUSStates", "USA State", etString},
      {ctFormatted, "TCPFormatted", "Mask", etString},
      {ctInteger, "TCPInteger", "Integer", etNum},
      {ctBit, "TCPBit", "Bit", etNum},
      {ctIncremental, "TCPIncremental", "Incremental", etNum},
      {ctFloat, "TCPFloat", "Float", etNum},
      {ctDate, "TCPDate", "Date", etString},
      {ctTime, "TCPTime", "Time", etString},
      {ctDateTime, "TCPDateTime", "Datetime stamp", etString},
      {ctColRef, "TCPColRef", "Column Reference", etString},
      {ctConst, "TCPConst", "Const", etString},
      {ctCombo, "TCPCombo", "Combo", etString},
      {ctemail, "TCPEmail", "e-mail", etString},
      {ctWeb, "TCPWebSite", "Web site", etString},
      {ctSex, "TCPSexGen", "Sex", etString},  // the model's own person is a plain TCPSex
  };
  ASSERT_EQ(std::size(cases), static_cast<size_t>(kColTypeCount));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.displayName);
    const auto p = CreateParams(c.type);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ClassName(), c.className);
    EXPECT_EQ(GeneratorTypeOf(static_cast<TColType>(c.type)).DisplayName, c.displayName);
    EXPECT_EQ(p->ExportType(), c.exportType);
    EXPECT_FALSE(p->Modified());
    EXPECT_EQ(p->LastValue(), "");
    EXPECT_EQ(p->DataCase(), gcNoChange);
    EXPECT_TRUE(p->ExternalLines().empty());
  }
  TGenModel model;
  EXPECT_EQ(PersonOf(model).ClassName(), "TCPSex");
}

TEST(RegistryTest, OrdinalsOutsideTheTableGiveAString) {
  for (int ordinal : {-1, kColTypeCount, 1000, INT32_MIN}) {
    SCOPED_TRACE(ordinal);
    const auto p = CreateParams(static_cast<TColType>(ordinal));
    EXPECT_NE(dynamic_cast<TCPString*>(p.get()), nullptr);
  }
}

TEST(RegistryTest, StoredPropertiesComeInFileOrder) {
  const std::vector<std::string> base{"UseExternalFile", "ExternalFile", "AllowNull", "NullPercent",
                                      "Stealth",         "LastValue",    "Modified",  "DataCase",
                                      "Unique"};
  const std::vector<std::string> integer{"MinValue", "MaxValue", "Sign", "ExportType"};
  struct Case {
    TColType type;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {ctstring, Concat(base, {"DataLength", "MinSize", "EXCharset"})},
      {ctFormatted, Concat(base, {"Mask", "ExportType"})},
      {ctZip, Concat(base, {"Numbers", "Letters", "DataLength", "ExportType"})},
      {ctConst, Concat(base, {"ConstValue", "ExportType"})},
      {ctInteger, Concat(base, integer)},
      {ctIncremental, Concat(Concat(base, integer), {"StartValue", "Step", "Current"})},
      {ctBit, Concat(Concat(base, integer), {"ZeroValue", "OneValue"})},
      {ctFloat, Concat(base, {"MinValue", "MaxValue", "Precision", "ExportType", "FixedDecimals"})},
      {ctDate, Concat(base, {"MinDate", "MaxDate", "Format"})},
      {ctTime, Concat(base, {"MinTime", "MaxTime", "Format"})},
      {ctDateTime, Concat(base, {"MinDate", "MaxDate", "MinTime", "MaxTime", "Format"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(GeneratorTypeOf(static_cast<TColType>(c.type)).DisplayName);
    EXPECT_EQ(NamesOf(CreateParams(c.type)->Props()), c.names);
  }

  TGenModel model;
  EXPECT_EQ(NamesOf(model.Cols().Add().Props()),
            (std::vector<std::string>{"ColName", "DBColName", "ColType", "Param", "Modified"}));
  // ColType must come before Param so that a reader creates the right class first.
  std::vector<std::string> modelNames = NamesOf(model.Props());
  std::erase(modelNames, "Tag");  // the component tag is the file format's business
  EXPECT_EQ(modelNames, (std::vector<std::string>{"Description", "Database", "ConnectionString",
                                                  "TableName", "Cols", "SQLFile", "RecNumber",
                                                  "Delimiter", "StringDelimiter", "Modified"}));
}

TEST(RegistryTest, StepIsLeftOutOfFilesOnlyAtItsDeclaredDefault) {
  TCPIncremental inc;
  const TPropInfo* step = inc.Props().Find("step");
  const TPropInfo* start = inc.Props().Find("StartValue");
  ASSERT_NE(step, nullptr);
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(step->DefaultInt, 1);
  EXPECT_TRUE(step->IsDefault(inc));
  EXPECT_FALSE(start->IsDefault(inc));  // no declared default: 0 is stored
  inc.SetStep(0);
  EXPECT_FALSE(step->IsDefault(inc));

  TCPString str;
  const TPropInfo* charset = str.Props().Find("EXCharset");
  ASSERT_NE(charset, nullptr);
  EXPECT_FALSE(charset->IsDefault(str));
  str.SetCharset(TCharSet());
  EXPECT_TRUE(charset->IsDefault(str));  // an empty set is not written
}

// Writing a setting through its descriptor goes through the class's setter: its current value
// reports nothing, any other value reports exactly one change.
TEST(RegistryTest, DescriptorWritesReportOnlyRealChanges) {
  for (int t = 0; t < kColTypeCount; ++t) {
    // The Sex generator edits the model's shared title object and reports every write.
    if (t == ctSex) continue;
    const auto p = CreateParams(static_cast<TColType>(t));
    for (const TPropInfo& prop : p->Props().Items) {
      // LastValue and Modified are plain stores by design.
      if (prop.Name == "LastValue" || prop.Name == "Modified") continue;
      SCOPED_TRACE(testing::Message() << GeneratorTypeOf(static_cast<TColType>(t)).DisplayName << "." << prop.Name);
      std::function<void()> writeSame, writeOther;
      switch (prop.Kind) {
        case TPropKind::Integer:
        case TPropKind::Boolean:
        case TPropKind::Enum: {
          const int64_t v = prop.GetInt(*p);
          int64_t other = v == INT32_MAX ? v - 1 : v + 1;
          if (prop.Kind == TPropKind::Boolean) other = !v;
          if (prop.Kind == TPropKind::Enum) other = (v + 1) % static_cast<int64_t>(prop.EnumNames.size());
          writeSame = [&, v] { prop.SetInt(*p, v); };
          writeOther = [&, other] { prop.SetInt(*p, other); };
          break;
        }
        case TPropKind::Float: {
          const double v = prop.GetFloat(*p);
          writeSame = [&, v] { prop.SetFloat(*p, v); };
          writeOther = [&, v] { prop.SetFloat(*p, v == 0 ? 1 : v / 2); };
          break;
        }
        case TPropKind::Text:
        case TPropKind::Charset: {
          const std::string v = prop.GetText(*p);
          writeSame = [&, v] { prop.SetText(*p, v); };
          writeOther = [&, v] { prop.SetText(*p, v + "\x01"); };
          break;
        }
        default:
          continue;
      }
      p->SetModified(false);
      int events = 0;
      p->OnChange = [&](TColParams&) { ++events; };
      writeSame();
      EXPECT_EQ(events, 0);
      EXPECT_FALSE(p->Modified());
      writeOther();
      EXPECT_EQ(events, 1);
      EXPECT_TRUE(p->Modified());
    }
  }
}

}  // namespace
}  // namespace kelvast
