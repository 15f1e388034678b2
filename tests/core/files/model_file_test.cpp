// SPDX-License-Identifier: MIT
#include "core/files/model_file.h"

#include "core/files/model_json.h"
#include "core/generators/temporal_gens.h"

#include "core/generators/composite_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/platform/errors.h"
#include "model_fixtures.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace kelvast {
namespace {

using test::Hex;
using test::ModelFileWith;

// The bytes that follow the first record named path (its value), or "" when there is none.
std::string ValueOf(const std::string& file, const std::string& path) {
  const std::string key = std::string(1, static_cast<char>(path.size())) + path;
  const size_t at = file.find(key);
  return at == std::string::npos ? std::string() : file.substr(at + key.size());
}

template <class P>
P& ParamOf(TGenModel& m, int index) {
  return dynamic_cast<P&>(m.Cols()[index].Param());
}

TEST(ModelFileTest, EmptyModelIsTheNinetyNineByteFile) {
  const std::string expected = std::string(
      "\xFF\x0A\x00\x54\x47\x45\x4E\x4D\x4F\x44\x45\x4C\x00\x30\x10\x50"
      "\x00\x00\x00\x54\x50\x46\x30\x09\x54\x47\x65\x6E\x4D\x6F\x64\x65"
      "\x6C\x00\x04\x43\x6F\x6C\x73\x0E\x00\x09\x52\x65\x63\x4E\x75\x6D"
      "\x62\x65\x72\x02\x00\x09\x44\x65\x6C\x69\x6D\x69\x74\x65\x72\x06"
      "\x02\x27\x27\x0F\x53\x74\x72\x69\x6E\x67\x44\x65\x6C\x69\x6D\x69"
      "\x74\x65\x72\x06\x02\x27\x27\x08\x4D\x6F\x64\x69\x66\x69\x65\x64"
      "\x08\x00\x00",
      99);
  TGenModel model;
  EXPECT_EQ(Hex(SaveModelToBytes(model)), Hex(expected));

  test::TempDir dir;
  SaveModelFile(dir / "empty.model", model);
  EXPECT_EQ(Hex(test::ReadFileBytes(dir / "empty.model")), Hex(expected));
  auto back = LoadModelFile(dir / "empty.model");
  EXPECT_EQ(back->Cols().Count(), 0);
  EXPECT_EQ(back->Delimiter(), "''");
  EXPECT_FALSE(back->Modified());
}

TEST(ModelFileTest, EveryGeneratorTypeComesBackWithItsValues) {
  auto model = test::BuildAllTypesModel();
  const std::string bytes = SaveModelToBytes(*model);
  auto back = LoadModelFromBytes(bytes);
  EXPECT_EQ(Hex(SaveModelToBytes(*back)), Hex(bytes));

  // Values whose storage is easy to get subtly wrong, read through the classes themselves.
  TGenModel& m = *back;
  EXPECT_EQ(m.Cols().Count(), 25);
  EXPECT_EQ(ParamOf<TCPString>(m, 0).CharsetText(), std::string("\0 0123456789_x", 14));
  EXPECT_EQ(ParamOf<TCPLastName>(m, 2).PhonemeList(),
            (std::vector<std::string>{"ka", "lo", "", "mi", "zz"}));
  EXPECT_EQ(ParamOf<TCPLastName>(m, 2).DataLength(), 12);
  EXPECT_EQ(ParamOf<TCPIncremental>(m, 14).Step(), 2);
  EXPECT_EQ(ParamOf<TCPFloat>(m, 15).MaxValue(), 1e300);
  EXPECT_EQ(ParamOf<TCPColRef>(m, 19).Delimiter(), "[]");
  EXPECT_EQ(ParamOf<TCPEmail>(m, 22).LastValue(), "john.smith@example.com");
  EXPECT_EQ(PersonOf(m).Mister(), "Sir");
  EXPECT_EQ(PersonOf(m).MissisPercent(), 0.1f);
  EXPECT_EQ(m.RecNumber(), 10000000);
  EXPECT_TRUE(m.Modified());
}

TEST(ModelFileTest, LeftOutValuesComeBackAsNewObjectsHaveThem) {
  TGenModel model;
  {
    model.Cols().Add().SetColType(ctFloat);
    model.Cols().Add().SetColType(ctBit);
    model.Cols().Add().SetColType(ctLastName);
    model.Cols().Add().SetColType(ctstring);
    model.Cols().Add().SetColType(ctIncremental);
    model.Cols().Add().SetColType(ctSex);
    ParamOf<TCPFloat>(model, 0).SetMinValue(0.0);
    ParamOf<TCPBit>(model, 1).SetZeroValue("");
    ParamOf<TCPLastName>(model, 2).SetPhonemeList({});
    ParamOf<TCPString>(model, 3).SetCharset(TCharSet());
    ParamOf<TCPSexGen>(model, 5).SetMissPercent(0.0f);
    model.SetDescription("");
  }
  const std::string bytes = SaveModelToBytes(model);
  // Paths unique in this model; the float's MinValue shows by coming back below.
  for (const char* path : {"Param.ZeroValue", "Param.PhonemeList.Strings", "Param.EXCharset",
                           "Param.Step", "Param.MissPercent", "Description"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(ValueOf(bytes, path), "");
  }

  auto back = LoadModelFromBytes(bytes);
  TCPFloat fresh;
  EXPECT_EQ(ParamOf<TCPFloat>(*back, 0).MinValue(), 4.9406564584124654e-324);
  EXPECT_EQ(ParamOf<TCPFloat>(*back, 0).MinValue(), fresh.MinValue());
  EXPECT_EQ(ParamOf<TCPBit>(*back, 1).ZeroValue(), "0");
  EXPECT_EQ(ParamOf<TCPLastName>(*back, 2).PhonemeList(), TCPLastName::DefaultPhonemes());
  EXPECT_EQ(ParamOf<TCPLastName>(*back, 2).PhonemeList().size(), 99u);
  EXPECT_EQ(ParamOf<TCPString>(*back, 3).Charset(), TCPString().Charset());
  EXPECT_EQ(ParamOf<TCPIncremental>(*back, 4).Step(), 1);
  EXPECT_EQ(PersonOf(*back).MissPercent(), 25.0f);
}

// FixedDecimals is stored only when set, in the model file and in JSON; a Float and a Date
// whose bounds a file leaves out come back with a new object's values, and the Float's draw as
// 0 to 2,147,483,647.
TEST(ModelFileTest, FloatFixedDecimalsAndLeftOutBoundsRoundTrip) {
  TGenModel model;
  model.Cols().Add().SetColType(ctFloat);
  model.Cols().Add().SetColType(ctFloat);
  model.Cols().Add().SetColType(ctDate);
  ParamOf<TCPFloat>(model, 1).SetFixedDecimals(true);
  const std::string bytes = SaveModelToBytes(model);
  const std::string json = ModelToJson(model);
  for (const std::string& text : {bytes, json}) {
    const size_t first = text.find("FixedDecimals");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.find("FixedDecimals", first + 1), std::string::npos);  // the set one only
  }
  std::unique_ptr<TGenModel> backs[] = {LoadModelFromBytes(bytes), ModelFromJson(json)};
  for (const auto& back : backs) {
    EXPECT_FALSE(ParamOf<TCPFloat>(*back, 0).FixedDecimals());
    EXPECT_TRUE(ParamOf<TCPFloat>(*back, 1).FixedDecimals());
    EXPECT_EQ(ParamOf<TCPFloat>(*back, 0).MinValue(), TCPFloat::kDefaultMin);
    EXPECT_EQ(ParamOf<TCPFloat>(*back, 0).MaxValue(), TCPFloat::kDefaultMax);
    EXPECT_EQ(ParamOf<TCPDate>(*back, 2).MinDate(), 0);
    EXPECT_EQ(ParamOf<TCPDate>(*back, 2).MaxDate(), 0);
    for (int i = 0; i < 200; ++i) {
      back->Cols()[1].Param().ClearLastValue();
      const std::string v(back->Cols()[1].Param().GetValue());
      ASSERT_EQ(v.size() - v.find('.'), 3u) << v;  // two decimals, trailing zeros kept
      const double d = std::stod(v);
      ASSERT_GE(d, 0) << v;
      ASSERT_LE(d, 2147483647.0) << v;
    }
  }
}

TEST(ModelFileTest, RecordsAreWrittenInTheirSmallestForms) {
  TGenModel model;
  model.Cols().Add().SetColType(ctInteger);
  model.Cols().Add().SetColType(ctIncremental);
  model.Cols().Add().SetColType(ctFirstLastName);
  ParamOf<TCPIncremental>(model, 1).SetStep(2);
  model.SetRecNumber(40000);
  model.SetDescription("caf\xE9");
  model.SetTableName("\xE9");
  model.SetModified(true);
  const std::string bytes = SaveModelToBytes(model);
  struct Case {
    const char* path;
    std::string value;
  };
  const Case cases[] = {
      {"Param.MinValue", std::string("\x04\x00\x00\x00\x80", 5)},  // new Integer: -2147483648
      {"Param.Step", "\x02\x02"},
      {"RecNumber", std::string("\x04\x40\x9C\x00\x00", 5)},
      {"Description", std::string("\x14\x05\x00\x00\x00"
                                  "caf\xC3\xA9",
                                  10)},
      {"TableName", std::string("\x12\x01\x00\x00\x00\xE9\x00", 7)},
      {"Modified", "\x09"},
      {"Param.FirstLast", "\x08"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(Hex(ValueOf(bytes, c.path).substr(0, c.value.size())), Hex(c.value));
  }
  // The full name stores only its own properties, not those of its last-name part.
  EXPECT_EQ(bytes.find("PhonemeList"), std::string::npos);
}

TEST(ModelFileTest, ReadsPathsWithoutRegardToCaseAndSkipsItemOrderValues) {
  const std::string bytes = ModelFileWith([](TStreamWriter& w) {
    w.WriteShortString("COLS");
    w.WriteValueType(vaCollection);
    w.WriteInteger(7);  // an order value before the item
    w.WriteValueType(vaList);
    w.WriteShortString("coltype");
    w.WriteIdent("CTLASTNAME");
    w.WriteShortString("param.datalength");
    w.WriteInteger(300);
    w.WriteShortString("PARAM.PHONEMELIST.strings");
    w.WriteValueType(vaList);
    w.WriteListText("ab");
    w.WriteListText("\xE9t\xE9");
    w.WriteValueType(vaNull);
    w.WriteValueType(vaNull);
    w.WriteValueType(vaNull);
    w.WriteShortString("recnumber");
    w.WriteInteger(5);
  });
  auto m = LoadModelFromBytes(bytes);
  ASSERT_EQ(m->Cols().Count(), 1);
  EXPECT_EQ(m->Cols()[0].ColType(), ctLastName);
  EXPECT_EQ(ParamOf<TCPLastName>(*m, 0).DataLength(), 300);
  EXPECT_EQ(ParamOf<TCPLastName>(*m, 0).PhonemeList(),
            (std::vector<std::string>{"ab", "\xE9t\xE9"}));
  EXPECT_EQ(m->RecNumber(), 5);
}

TEST(ModelFileTest, StoredDelimitersReachTheColumnReferences) {
  const std::string bytes = ModelFileWith([](TStreamWriter& w) {
    w.WriteShortString("Cols");
    w.WriteValueType(vaCollection);
    w.WriteValueType(vaList);
    w.WriteShortString("ColType");
    w.WriteIdent("ctColRef");
    w.WriteValueType(vaNull);
    w.WriteValueType(vaNull);
    w.WriteShortString("Delimiter");
    w.WriteText("<>");
  });
  auto m = LoadModelFromBytes(bytes);
  EXPECT_EQ(ParamOf<TCPColRef>(*m, 0).Delimiter(), "<>");
  EXPECT_EQ(ParamOf<TCPColRef>(*m, 0).StrDelimiter(), "''");
}

TEST(ModelFileTest, TitlesLandInTheModelBeingReadAndNowhereElse) {
  const std::string bytes = ModelFileWith([](TStreamWriter& w) {
    w.WriteShortString("Cols");
    w.WriteValueType(vaCollection);
    w.WriteValueType(vaList);
    w.WriteShortString("ColType");
    w.WriteIdent("ctSex");
    w.WriteShortString("Param.Mister");
    w.WriteText("Sir");
    w.WriteShortString("Param.MisterPercent");
    w.WriteFloat(70);
    w.WriteValueType(vaNull);
    w.WriteValueType(vaNull);
  });
  TGenModel current;
  auto loaded = LoadModelFromBytes(bytes);
  EXPECT_EQ(PersonOf(*loaded).Mister(), "Sir");
  EXPECT_EQ(PersonOf(*loaded).MisterPercent(), 70.0f);
  EXPECT_EQ(PersonOf(current).Mister(), "Mr.");
  EXPECT_EQ(PersonOf(current).MisterPercent(), 50.0f);

  EXPECT_THROW(LoadModelFromBytes(bytes.substr(0, bytes.size() - 1)), EFormatError);
  EXPECT_EQ(PersonOf(current).Mister(), "Mr.");
}

TEST(ModelFileTest, MalformedFilesFailWithTheReason) {
  const std::string good = SaveModelToBytes(*test::BuildAllTypesModel());
  auto patched = [&](size_t at, std::string_view bytes) {
    std::string s = good;
    s.replace(at, bytes.size(), bytes);
    return s;
  };
  auto records = [](const std::function<void(TStreamWriter&)>& f) { return ModelFileWith(f); };
  auto item = [](const std::function<void(TStreamWriter&)>& f) {
    return ModelFileWith([&](TStreamWriter& w) {
      w.WriteShortString("Cols");
      w.WriteValueType(vaCollection);
      w.WriteValueType(vaList);
      f(w);
      w.WriteValueType(vaNull);
      w.WriteValueType(vaNull);
    });
  };
  struct Case {
    const char* name;
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {"empty file", "", "resource header"},
      {"first byte not 0xFF", patched(0, "\xFE"), "resource header"},
      {"resource type not 10", patched(1, "\x0B"), "resource header"},
      {"resource name without end", "\xFF\x0A" + std::string(1, '\0') + std::string(90, 'A'),
       "not terminated"},
      {"signature", patched(19, "TPF1"), "TPF0"},
      {"header only", good.substr(0, 19), "truncated"},
      {"wrong class", patched(24, "TGenMode!"), "\"TGenMode!\", not a TGenModel"},
      {"unknown property", records([](TStreamWriter& w) {
         w.WriteShortString("Colour");
         w.WriteInteger(1);
       }),
       "unknown property \"Colour\""},
      {"unknown property in an item's parameters", item([](TStreamWriter& w) {
         w.WriteShortString("Param.Bogus");
         w.WriteBoolean(true);
       }),
       "unknown property \"Cols[0].Param.Bogus\""},
      {"text for an integer", records([](TStreamWriter& w) {
         w.WriteShortString("RecNumber");
         w.WriteText("12");
       }),
       "\"RecNumber\" expects an integer, found a text"},
      {"integer for a float", item([](TStreamWriter& w) {
         w.WriteShortString("ColType");
         w.WriteIdent("ctFloat");
         w.WriteShortString("Param.MaxValue");
         w.WriteInteger(3);
       }),
       "\"Cols[0].Param.MaxValue\" expects a floating-point number"},
      {"integer for a boolean", records([](TStreamWriter& w) {
         w.WriteShortString("Modified");
         w.WriteInteger(1);
       }),
       "expects a boolean"},
      {"unknown enumeration value", item([](TStreamWriter& w) {
         w.WriteShortString("ColType");
         w.WriteIdent("ctPhoneNumber");
       }),
       "\"Cols[0].ColType\" has no value named \"ctPhoneNumber\""},
      {"text for an enumeration", item([](TStreamWriter& w) {
         w.WriteShortString("ColType");
         w.WriteText("ctstring");
       }),
       "expects an enumeration name"},
      {"path through a text", records([](TStreamWriter& w) {
         w.WriteShortString("Description.Length");
         w.WriteInteger(1);
       }),
       "holds no object"},
      {"value for an object", item([](TStreamWriter& w) {
         w.WriteShortString("Param");
         w.WriteInteger(1);
       }),
       "\"Cols[0].Param\" expects the records of its object"},
      {"string list without Strings", item([](TStreamWriter& w) {
         w.WriteShortString("ColType");
         w.WriteIdent("ctCombo");
         w.WriteShortString("Param.Colnames");
         w.WriteValueType(vaList);
         w.WriteValueType(vaNull);
       }),
       "\"Cols[0].Param.Colnames\" expects its lines"},
      {"integer in a string list", item([](TStreamWriter& w) {
         w.WriteShortString("ColType");
         w.WriteIdent("ctCombo");
         w.WriteShortString("Param.Colnames.Strings");
         w.WriteValueType(vaList);
         w.WriteInteger(4);
         w.WriteValueType(vaNull);
       }),
       "expects texts"},
      {"collection item without list tag", records([](TStreamWriter& w) {
         w.WriteShortString("Cols");
         w.WriteValueType(vaCollection);
         w.WriteBoolean(true);
       }),
       "\"Cols\" expects collection items"},
      {"collection as text", records([](TStreamWriter& w) {
         w.WriteShortString("Cols");
         w.WriteText("x");
       }),
       "\"Cols\" expects a collection"},
      {"child objects", patched(good.size() - 1, "\x01"), "child objects"},
      {"huge UTF-16 count", records([](TStreamWriter& w) {
         w.WriteShortString("Description");
         w.WriteBytes(std::string_view("\x12\xFF\xFF\xFF\x7F\x41\x00", 7));
       }),
       "truncated"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      LoadModelFromBytes(c.bytes);
      ADD_FAILURE() << "loaded";
    } catch (const EFormatError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

TEST(ModelFileTest, EveryCutShortFileFails) {
  // A small model with a value of every kind and every text form.
  TGenModel model;
  model.SetDescription("\xE9");                      // UTF-16
  model.SetTableName("caf\xE9");                     // UTF-8
  model.SetConnectionString(std::string(300, 'c'));  // long text
  model.Cols().Add().SetColType(ctLastName);
  ParamOf<TCPLastName>(model, 0).SetPhonemeList({"a", "\xE9"});
  model.Cols().Add().SetColType(ctFloat);
  model.Cols().Add().SetColType(ctstring);
  const std::string good = SaveModelToBytes(model);
  for (size_t size = 0; size < good.size(); ++size) {
    SCOPED_TRACE(size);
    ASSERT_THROW(LoadModelFromBytes(std::string_view(good).substr(0, size)), EFormatError);
  }
  // Bytes after the end of the stream are ignored.
  EXPECT_NO_THROW(LoadModelFromBytes(good + "trailing"));
}

TEST(ModelFileTest, FileErrorsNameTheFile) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "plain", "x");
  std::filesystem::create_directory(dir / "folder");
  std::filesystem::create_directory(dir / "folder" / "inside");
  TGenModel model;
  struct Case {
    const char* name;
    std::filesystem::path file;
  };
  const Case saves[] = {
      {"folder that is a file", dir / "plain" / "a.model"},
      {"missing folder", dir / "missing" / "a.model"},
      {"a non-empty folder in the way", dir / "folder"},
  };
  for (const Case& c : saves) {
    SCOPED_TRACE(c.name);
    try {
      SaveModelFile(c.file, model);
      ADD_FAILURE() << "saved";
    } catch (const EFileError& e) {
      EXPECT_NE(std::string(e.what()).find(c.file.string()), std::string::npos) << e.what();
    }
  }
  EXPECT_TRUE(std::filesystem::exists(dir / "folder" / "inside"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);

  EXPECT_THROW(LoadModelFile(dir / "missing.model"), EFileError);
  try {
    LoadModelFile(dir / "plain");
    ADD_FAILURE() << "loaded";
  } catch (const EFormatError& e) {
    EXPECT_NE(std::string(e.what()).find((dir / "plain").string()), std::string::npos);
  }
}

TEST(ModelFileTest, SavingReplacesAnExistingFile) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "m.model", std::string(5000, 'x'));
  TGenModel model;
  SaveModelFile(dir / "m.model", model);
  EXPECT_EQ(test::ReadFileBytes(dir / "m.model").size(), 99u);
}

}  // namespace
}  // namespace kelvast
