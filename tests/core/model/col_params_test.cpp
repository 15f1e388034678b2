// SPDX-License-Identifier: MIT
// The value pipeline shared by every generator (cached value, external file, nulls, case), the
// change notification of parameter objects, and the base copy rules.

#include "core/model/col_params.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/generators/numeric_gens.h"
#include "core/generators/string_gens.h"
#include "core/platform/errors.h"
#include "core/platform/random.h"
#include "support/test_support.h"

namespace kelvast {
namespace {

// A constant generator is the simplest DoGenerate: it shows exactly what the pipeline adds.
std::unique_ptr<TCPConst> ConstGen(const std::string& value) {
  auto p = std::make_unique<TCPConst>();
  p->SetConstValue(value);
  return p;
}

// One value per record, as a run asks for them.
std::vector<std::string> Draw(TColParams& p, int n) {
  std::vector<std::string> values;
  values.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    p.ClearLastValue();
    values.emplace_back(p.GetValue());
  }
  return values;
}

int CountEmpty(const std::vector<std::string>& values) {
  int n = 0;
  for (const auto& v : values) n += v.empty() ? 1 : 0;
  return n;
}

// ---- Cached value ----

TEST(ColParamsPipelineTest, CachedValueIsReturnedAsStoredWithoutNullsOrCase) {
  auto p = ConstGen("generated");
  p->SetAllowNull(true);
  p->SetNullPercent(100);  // would always give NULL if the pipeline ran
  p->SetDataCase(gcUpper);
  p->SetLastValue("  cached Value\t");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p->GetValue(), "  cached Value\t");
  EXPECT_EQ(p->LastInternalValue(), "  cached Value\t");
}

TEST(ColParamsPipelineTest, BlankLastValueCountsAsNoValue) {
  for (const std::string& blank : {std::string(""), std::string(" \t\r\n"), std::string("\0\x1F", 2)}) {
    SCOPED_TRACE(testing::PrintToString(blank));
    auto p = ConstGen("fresh");
    p->SetLastValue(blank);
    EXPECT_EQ(p->GetValue(), "fresh");
    EXPECT_EQ(p->LastValue(), "fresh");
    p->SetLastValue(blank);
    EXPECT_EQ(p->LastInternalValue(), "fresh");  // the internal read draws too
  }
}

TEST(ColParamsPipelineTest, EmptyResultIsDrawnAgainByTheNextReaderOfTheRecord) {
  RandSeed(11);
  auto p = ConstGen("v");
  p->SetAllowNull(true);
  p->SetNullPercent(49);  // half the draws are NULL
  int recordsStartingEmpty = 0;
  for (int record = 0; record < 200; ++record) {
    p->ClearLastValue();
    std::string value(p->GetValue());
    if (value.empty()) ++recordsStartingEmpty;
    for (int reader = 0; reader < 60 && value.empty(); ++reader) value = p->GetValue();
    ASSERT_EQ(value, "v") << "a later reader of the record must get a fresh draw";
    // Once a value is there, every reader of the record sees it.
    EXPECT_EQ(p->GetValue(), "v");
  }
  EXPECT_GT(recordsStartingEmpty, 50);
}

// ---- Nulls ----

TEST(ColParamsPipelineTest, NullPercentage) {
  struct Case {
    bool allowNull;
    int32_t percent;
    int minEmpty, maxEmpty;  // out of 10000 values
  };
  const Case cases[] = {
      {true, 0, 0, 0},  // "0 percent" is never
      {true, 1, 50, 160},
      {true, 49, 4600, 5200},
      {true, 99, 9850, 9960},
      {true, 100, 10000, 10000},  // always
      {true, 1000, 10000, 10000},
      {true, -1, 0, 0},  // never
      {true, INT32_MIN, 0, 0},
      {false, 100, 0, 0},  // the percentage has no effect without AllowNull
  };
  RandSeed(2024);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "AllowNull " << c.allowNull << ", NullPercent " << c.percent);
    auto p = ConstGen("x");
    p->SetAllowNull(c.allowNull);
    p->SetNullPercent(c.percent);
    const int empty = CountEmpty(Draw(*p, 10000));
    EXPECT_GE(empty, c.minEmpty);
    EXPECT_LE(empty, c.maxEmpty);
  }
}

// ---- Case ----

TEST(ColParamsPipelineTest, CaseTransforms) {
  // Windows-1252: \xE9 é, \xC9 É, \xDF ß (no capital), \xFF ÿ, \x9F Ÿ.
  struct Case {
    std::string text;
    TGenCase dataCase;
    std::string expected;
  };
  const Case cases[] = {
      {"MiXeD \xE9t\xE9", gcNoChange, "MiXeD \xE9t\xE9"},
      {"abc \xE9t\xE9 stra\xDF" "e \xFF", gcUpper, "ABC \xC9T\xC9 STRA\xDF" "E \x9F"},
      {"ABC \xC9T\xC9 \x9F", gcLower, "abc \xE9t\xE9 \xFF"},
      {"hELLO wORLD", gcProper, "Hello world"},
      {"\xC9" "COLE NORMALE", gcProper, "\xE9" "cole normale"},  // accented first letter goes small
      {"1ST PLACE", gcProper, "1st place"},
      {"", gcUpper, ""},
      {"", gcProper, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(c.text) << " case " << c.dataCase);
    auto p = ConstGen(c.text);
    p->SetDataCase(c.dataCase);
    EXPECT_EQ(p->GetValue(), c.expected);
  }
}

TEST(ColParamsPipelineTest, RandomCaseIsDrawnAnewForEveryValue) {
  RandSeed(7);
  auto p = ConstGen("aBc");
  p->SetDataCase(gcRandom);
  const std::vector<std::string> values = Draw(*p, 8000);
  std::map<std::string, int> counts;
  for (const auto& v : values) ++counts[v];
  const std::map<std::string, int> expectedKeys{{"aBc", 0}, {"ABC", 0}, {"abc", 0}, {"Abc", 0}};
  ASSERT_EQ(counts.size(), 4u);
  for (const auto& [text, n] : counts) {
    SCOPED_TRACE(text);
    EXPECT_TRUE(expectedKeys.count(text));
    EXPECT_GT(n, 1800);  // about 2000 each
    EXPECT_LT(n, 2200);
  }
  // Independent draws: a value repeats its predecessor's case about one time in four.
  int repeats = 0;
  for (size_t i = 1; i < values.size(); ++i) repeats += values[i] == values[i - 1] ? 1 : 0;
  EXPECT_GT(repeats, 1800);
  EXPECT_LT(repeats, 2200);
  EXPECT_EQ(p->DataCase(), gcRandom);
}

TEST(ColParamsPipelineTest, ProperCaseAndIdentifierSafe) {
  struct Case {
    std::string text, proper, safe;
  };
  const Case cases[] = {
      {"pARIS", "Paris", "pARIS"},
      {"\xE9VRY", "\xE9vry", "_VRY"},     // an accented small first letter stays small
      {"\xC9VRY", "\xC9vry", "_VRY"},     // and an accented capital stays capital
      {"saint-\xC9TIENNE", "Saint-\xE9tienne", "saint__TIENNE"},
      {"Jean-Luc O'Neil", "Jean-luc o'neil", "Jean_Luc_O_Neil"},
      {"09 az AZ", "09 az az", "09_az_AZ"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(ProperCase(c.text), c.proper);
    EXPECT_EQ(IdentifierSafe(c.text), c.safe);
  }
  std::string tail = "a-b c-d";
  IdentifierSafeInPlace(tail, 3);
  EXPECT_EQ(tail, "a-b_c_d");
}

// Long texts are checked eight bytes at a time: every byte value, at every position of a block
// and of the tail, must come out as the one-character rule says.
TEST(ColParamsPipelineTest, IdentifierSafeAgreesWithTheCharacterRuleOnLongTexts) {
  std::string text;
  for (int b = 0; b < 256; ++b) text += static_cast<char>(b);
  text += "Abcdefgh0123456789XYZabcxyz";  // blocks that are all letters and digits
  for (size_t shift = 0; shift < 9; ++shift) {
    const std::string rotated = text.substr(shift) + text.substr(0, shift);
    std::string expected;
    for (char c : rotated) {
      const bool keep = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      expected += keep ? c : '_';
    }
    EXPECT_EQ(IdentifierSafe(rotated), expected) << shift;
  }
}

// Names are read from their generators' buffers and written into the value as whole words:
// bytes left past either text by a longer one must neither reach the result nor decide it.
TEST(ColParamsPipelineTest, AppendIdentifierSafeIgnoresTheBytesPastTheTexts) {
  const char pieces[] = {'a', 'Z', '0', '9', '-', ' ', '\xE9', '_', '/', ':', '@', '[', '`', '{'};
  for (size_t length = 0; length <= 17; ++length) {
    for (size_t first = 0; first < std::size(pieces); ++first) {
      std::string text;
      for (size_t i = 0; i < length; ++i) text += pieces[(first + i * 5) % std::size(pieces)];
      for (const std::string_view leftover : {"--------------------", "abcdefghijABCDEFGHIJ"}) {
        TTextBuffer source, target;
        source += leftover;
        source.assign(text);
        target += leftover;
        target.assign("x-");
        AppendIdentifierSafe(target, source.View());
        target += '!';
        ASSERT_EQ(target.View(), "x-" + IdentifierSafe(text) + "!") << length << " " << first;
      }
    }
  }
}

// ---- External file ----

class ExternalFileTest : public testing::Test {
 protected:
  std::unique_ptr<TCPConst> WithFile(const std::filesystem::path& path) {
    auto p = ConstGen("generated");
    p->SetUseExternalFile(true);
    p->SetExternalFile(path.string());
    return p;
  }
  test::TempDir dir_;
};

TEST_F(ExternalFileTest, LinesSplitAtCrLfAndCrLfAndDrawnTrimmed) {
  test::WriteFileBytes(dir_ / "values.txt", "alpha\r  beta \ngamma\r\n\r\n\tdelta");
  auto p = WithFile(dir_ / "values.txt");
  p->Prepare({});
  EXPECT_EQ(p->ExternalLines(), (std::vector<std::string>{"alpha", "  beta ", "gamma", "", "\tdelta"}));

  RandSeed(3);
  std::map<std::string, int> counts;
  for (const auto& v : Draw(*p, 5000)) ++counts[v];
  // Uniform over the five lines; the blank one gives the empty value (NULL).
  const std::map<std::string, int> keys{{"alpha", 0}, {"beta", 0}, {"gamma", 0}, {"", 0}, {"delta", 0}};
  ASSERT_EQ(counts.size(), keys.size());
  for (const auto& [text, n] : counts) {
    SCOPED_TRACE(text);
    EXPECT_TRUE(keys.count(text));
    EXPECT_GT(n, 850);
    EXPECT_LT(n, 1150);
  }
}

TEST_F(ExternalFileTest, NullsAndCaseApplyToFileLines) {
  test::WriteFileBytes(dir_ / "one.txt", "caf\xC9\n");
  auto p = WithFile(dir_ / "one.txt");
  p->SetDataCase(gcLower);
  p->SetAllowNull(true);
  p->SetNullPercent(-1);
  p->Prepare({});
  EXPECT_EQ(p->GetValue(), "caf\xE9");
}

TEST_F(ExternalFileTest, MissingFileIsAnErrorNamingItAndLeavesTheModelAlone) {
  // Values made up in place of the file's would pass for them: the run must not start.
  const std::string missing = (dir_ / "missing.txt").string();
  auto p = WithFile(missing);
  p->SetModified(false);
  int events = 0;
  p->OnChange = [&](TColParams&) { ++events; };
  try {
    p->Prepare({});
    FAIL() << "Prepare made do without the file";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find("value file \"" + missing + "\""), std::string::npos)
        << e.what();
  }
  EXPECT_TRUE(p->UseExternalFile());
  EXPECT_FALSE(p->Modified());
  EXPECT_EQ(events, 0);
}

TEST_F(ExternalFileTest, EmptyFileFallsBackToTheGenerator) {
  test::WriteFileBytes(dir_ / "empty.txt", "");
  auto p = WithFile(dir_ / "empty.txt");
  ASSERT_NO_THROW(p->Prepare({}));
  EXPECT_TRUE(p->UseExternalFile());
  EXPECT_TRUE(p->ExternalLines().empty());
  EXPECT_EQ(p->GetValue(), "generated");
}

TEST_F(ExternalFileTest, LongFileIsReadWhole) {
  std::string text;
  for (int i = 0; i < 6000; ++i) text += "value" + std::to_string(i) + "\r\n";
  test::WriteFileBytes(dir_ / "long.txt", text);
  auto p = WithFile(dir_ / "long.txt");
  p->Prepare({});
  ASSERT_EQ(p->ExternalLines().size(), 6000u);
  EXPECT_EQ(p->ExternalLines()[2345], "value2345");
  EXPECT_EQ(p->ExternalLines().back(), "value5999");
}

TEST_F(ExternalFileTest, UnreadableFileThrowsFromPrepare) {
  // A folder exists but cannot be read as a file (a chmod would not stop root).
  auto p = WithFile(dir_.Path());
  try {
    p->Prepare({});
    FAIL() << "Prepare read a folder";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find(dir_.Path().string()), std::string::npos) << e.what();
  }
}

TEST_F(ExternalFileTest, FlagClearIgnoresTheFile) {
  test::WriteFileBytes(dir_ / "values.txt", "from file\n");
  auto p = WithFile(dir_ / "values.txt");
  p->Prepare({});
  p->SetUseExternalFile(false);
  EXPECT_EQ(p->GetValue(), "generated");
  // Without the flag, Prepare leaves even a missing file alone.
  p->SetExternalFile((dir_ / "missing.txt").string());
  p->SetUseExternalFile(false);
  EXPECT_NO_THROW(p->Prepare({}));
}

// ---- Change notification ----

TEST(ColParamsChangeTest, SettersReportOnlyRealChanges) {
  struct Case {
    const char* name;
    std::function<void(TColParams&)> writeSame, writeOther;
  };
  const Case cases[] = {
      {"UseExternalFile", [](TColParams& p) { p.SetUseExternalFile(false); },
       [](TColParams& p) { p.SetUseExternalFile(true); }},
      {"ExternalFile", [](TColParams& p) { p.SetExternalFile(""); },
       [](TColParams& p) { p.SetExternalFile("a.txt"); }},
      {"French", [](TColParams& p) { p.SetFrench(false); }, [](TColParams& p) { p.SetFrench(true); }},
      {"DataLength", [](TColParams& p) { p.SetDataLength(0); },
       [](TColParams& p) { p.SetDataLength(-1); }},
      {"AllowNull", [](TColParams& p) { p.SetAllowNull(false); },
       [](TColParams& p) { p.SetAllowNull(true); }},
      {"NullPercent", [](TColParams& p) { p.SetNullPercent(0); },
       [](TColParams& p) { p.SetNullPercent(5); }},
      {"Stealth", [](TColParams& p) { p.SetStealth(false); }, [](TColParams& p) { p.SetStealth(true); }},
      {"ExportType", [](TColParams& p) { p.SetExportType(etString); },
       [](TColParams& p) { p.SetExportType(etNum); }},
      {"DataCase", [](TColParams& p) { p.SetDataCase(gcNoChange); },
       [](TColParams& p) { p.SetDataCase(gcRandom); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCPConst p;
    std::vector<const TColParams*> senders;
    p.OnChange = [&](TColParams& sender) { senders.push_back(&sender); };
    c.writeSame(p);
    EXPECT_TRUE(senders.empty());
    EXPECT_FALSE(p.Modified());
    c.writeOther(p);
    EXPECT_EQ(senders, std::vector<const TColParams*>{&p});
    EXPECT_TRUE(p.Modified());
    c.writeOther(p);  // the same value again
    EXPECT_EQ(senders.size(), 1u);
  }
}

TEST(ColParamsChangeTest, PlainStoresReportNothing) {
  TCPConst p;
  int events = 0;
  p.OnChange = [&](TColParams&) { ++events; };
  p.SetLastValue("x");
  p.SetModified(true);
  p.SetModified(false);
  p.ClearLastValue();
  (void)p.GetValue();
  EXPECT_EQ(events, 0);
  EXPECT_FALSE(p.Modified());
  // Without a listener a change still marks the object.
  p.OnChange = nullptr;
  p.SetConstValue("y");
  EXPECT_TRUE(p.Modified());
}

// ---- Copying ----

TEST(ColParamsAssignTest, CopiesSharedSettingsButNotRecordStateOrPresentation) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "lines.txt", "one\ntwo\n");
  TCPConst source;
  source.SetUseExternalFile(true);
  source.SetExternalFile((dir / "lines.txt").string());
  source.Prepare({});
  source.SetFrench(true);
  source.SetDataLength(42);
  source.SetAllowNull(true);
  source.SetNullPercent(17);
  source.SetStealth(true);
  source.SetLastValue("last");
  source.SetExportType(etNum);
  source.SetDataCase(gcUpper);
  source.SetConstValue("const");

  // Across classes only the shared settings travel.
  TCPInteger target;
  target.Assign(source);
  EXPECT_TRUE(target.UseExternalFile());
  EXPECT_EQ(target.ExternalFile(), source.ExternalFile());
  EXPECT_EQ(target.ExternalLines(), (std::vector<std::string>{"one", "two"}));
  EXPECT_TRUE(target.French());
  EXPECT_EQ(target.DataLength(), 42);
  EXPECT_TRUE(target.AllowNull());
  EXPECT_EQ(target.NullPercent(), 17);
  EXPECT_TRUE(target.Stealth());
  EXPECT_EQ(target.LastValue(), "");
  EXPECT_EQ(target.ExportType(), etNum);  // the integer's own default, not copied
  EXPECT_EQ(target.DataCase(), gcNoChange);
  EXPECT_FALSE(target.Modified());  // the source is modified; the flag is not copied

  TCPConst sameClass;
  sameClass.SetExportType(etString);
  sameClass.Assign(source);
  EXPECT_EQ(sameClass.ConstValue(), "const");
  EXPECT_EQ(sameClass.ExportType(), etString);
  EXPECT_EQ(sameClass.DataCase(), gcNoChange);
}

}  // namespace
}  // namespace kelvast
