// SPDX-License-Identifier: MIT
// The generator each column gets, and that no value is ever longer than its column.

#include <gtest/gtest.h>

#include <sql.h>
#include <sqlext.h>

#include "core/generators/numeric_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/temporal_gens.h"
#include "core/generators/word_lists.h"
#include "core/model/gen_model.h"
#include "core/platform/date_time.h"
#include "core/scaffold/column_choice.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

TColumnInfo Column(const std::string& name, int sqlType, int64_t length = 0,
                   const char* nullable = "NO", int64_t precision = 0, int64_t scale = 0,
                   const std::string& driverType = "") {
  TColumnInfo c;
  c.Name = name;
  c.SqlType = sqlType;
  c.MaxLength = length;
  c.Precision = precision;
  c.Scale = scale;
  c.IsNullable = nullable;
  c.DriverType = driverType;
  return c;
}

class ColumnChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override { FWords.Load(KELVAST_DICT_DIR); }
  TWordLists FWords;
  TempDir FTemp;
};

TEST_F(ColumnChoiceTest, ChoosesByNameThenByType) {
  struct Case {
    TColumnInfo column;
    TColType type;
  };
  const Case cases[] = {
      {Column("first_name", SQL_VARCHAR, 40), ctFirstName},
      {Column("LastName", SQL_VARCHAR, 40), ctLastName},
      {Column("surname", SQL_VARCHAR, 40), ctLastName},
      {Column("full_name", SQL_VARCHAR, 60), ctFirstLastName},
      {Column("name", SQL_VARCHAR, 60), ctFirstLastName},
      {Column("email", SQL_VARCHAR, 80), ctemail},
      {Column("contact_email", SQL_VARCHAR, 80), ctemail},
      {Column("billing_city", SQL_VARCHAR, 60), ctTown},
      {Column("town", SQL_VARCHAR, 60), ctTown},
      {Column("state", SQL_VARCHAR, 30), ctUSStates},
      {Column("country", SQL_VARCHAR, 60), ctCountry},
      {Column("zip", SQL_VARCHAR, 10), ctZip},
      {Column("postal_code", SQL_VARCHAR, 10), ctZip},
      {Column("address", SQL_VARCHAR, 80), ctAddress},
      {Column("street", SQL_VARCHAR, 80), ctAddress},
      {Column("phone", SQL_VARCHAR, 20), ctFormatted},
      {Column("fax", SQL_VARCHAR, 20), ctFormatted},
      {Column("mobile_number", SQL_VARCHAR, 20), ctFormatted},
      {Column("company", SQL_VARCHAR, 40), ctDictWord},
      {Column("job_title", SQL_VARCHAR, 40), ctDictWord},
      {Column("notes", SQL_VARCHAR, 100), ctstring},
      {Column("notes", SQL_LONGVARCHAR), ctstring},
      // A name says nothing about a column that is not text.
      {Column("city", SQL_INTEGER), ctInteger},
      {Column("quantity", SQL_SMALLINT), ctInteger},
      {Column("price", SQL_DECIMAL, 0, "NO", 8, 2), ctFloat},
      {Column("whole", SQL_NUMERIC, 0, "NO", 6, 0), ctInteger},
      {Column("ratio", SQL_DOUBLE), ctFloat},
      {Column("born", SQL_TYPE_DATE), ctDate},
      {Column("at", SQL_TYPE_TIME), ctTime},
      {Column("created_at", SQL_TYPE_TIMESTAMP), ctDateTime},
      {Column("active", SQL_BIT), ctBit},
      {Column("active", SQL_VARCHAR, 5, "NO", 0, 0, "bool"), ctBit},
  };
  const TColumnChoice choice(FWords, FTemp.Path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column.Name + " " + std::to_string(c.column.SqlType));
    TGenModel model;
    TColToGenItem& item = model.Cols().Add();
    choice.Choose(item, c.column);
    EXPECT_EQ(item.ColType(), c.type);
    EXPECT_FALSE(item.Param().AllowNull()) << "a NOT NULL column gets no NULLs";
  }
}

TEST_F(ColumnChoiceTest, NumbersAndDatesStayWithinTheirType) {
  const TColumnChoice choice(FWords, FTemp.Path());
  struct Case {
    TColumnInfo column;
    double low, high;  // every value in between
    int places;        // at most this many decimals
    bool fixed;        // exactly that many: an exact column shows its scale
  };
  const Case cases[] = {
      {Column("q", SQL_SMALLINT), 0, 32767, 0, false},
      {Column("q", SQL_TINYINT), 0, 127, 0, false},
      {Column("q", SQL_INTEGER), 0, 2147483647, 0, false},
      {Column("p", SQL_DECIMAL, 0, "NO", 5, 2), 0, 999.99, 2, true},
      {Column("p", SQL_NUMERIC, 0, "NO", 4, 4), 0, 0.9999, 4, true},
      {Column("p", SQL_NUMERIC, 0, "NO", 18, 3), 0, 999999999999999.999, 3, true},
      {Column("p", SQL_NUMERIC, 0, "NO", 6, 0), 0, 999999, 0, false},
      {Column("r", SQL_DOUBLE), 0, 1000, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column.Name + " " + std::to_string(c.column.Precision));
    TGenModel model;
    TColToGenItem& item = model.Cols().Add();
    choice.Choose(item, c.column);
    model.PrepareAll(nullptr, &FWords);
    for (int r = 1; r <= 300; ++r) {
      model.NewRecord(r);
      const std::string value(item.Param().GetValue());
      const double number = std::stod(value);
      EXPECT_GE(number, c.low) << value;
      EXPECT_LE(number, c.high) << value;
      const size_t point = value.find('.');
      if (point != std::string::npos) EXPECT_LE(value.size() - point - 1, size_t(c.places)) << value;
      if (c.fixed) {
        ASSERT_NE(point, std::string::npos) << value;
        EXPECT_EQ(value.size() - point - 1, size_t(c.places)) << value;
      }
    }
  }
  // Dates and time stamps as every engine reads them.
  const struct {
    TColumnInfo column;
    const char* shape;  // 9: a digit
  } temporal[] = {
      {Column("d", SQL_TYPE_DATE), "9999-99-99"},
      {Column("t", SQL_TYPE_TIME), "99:99:99"},
      {Column("ts", SQL_TYPE_TIMESTAMP), "9999-99-99 99:99:99"},
  };
  for (const auto& c : temporal) {
    SCOPED_TRACE(c.column.Name);
    TGenModel model;
    TColToGenItem& item = model.Cols().Add();
    choice.Choose(item, c.column);
    model.PrepareAll(nullptr, &FWords);
    for (int r = 1; r <= 50; ++r) {
      model.NewRecord(r);
      std::string value(item.Param().GetValue());
      for (char& ch : value)
        if (ch >= '0' && ch <= '9') ch = '9';
      EXPECT_EQ(value, c.shape);
    }
  }
}

TEST_F(ColumnChoiceTest, NullableColumnsGetSomeNulls) {
  const TColumnChoice choice(FWords, FTemp.Path());
  TGenModel model;
  TColToGenItem& item = model.Cols().Add();
  choice.Choose(item, Column("city", SQL_VARCHAR, 30, "YES"));
  EXPECT_TRUE(item.Param().AllowNull());
  EXPECT_GT(item.Param().NullPercent(), 0);
  EXPECT_LT(item.Param().NullPercent(), 100);
}

// Every name rule at every length from 1 to 30, with a full name, e-mail and the rest in one
// model: no value is ever longer than its column.
TEST_F(ColumnChoiceTest, NoValueIsLongerThanItsColumn) {
  const char* names[] = {"first_name", "last_name", "full_name", "email",   "city",
                         "state",      "country",   "zip",       "address", "phone",
                         "company",    "title",     "notes"};
  const TColumnChoice choice(FWords, FTemp.Path());
  for (int length = 1; length <= 30; ++length) {
    SCOPED_TRACE("length " + std::to_string(length));
    TGenModel model;
    std::vector<TColumnInfo> columns;
    for (const char* name : names) columns.push_back(Column(name, SQL_VARCHAR, length));
    for (const TColumnInfo& c : columns) {
      TColToGenItem& item = model.Cols().Add();
      item.SetColName(c.Name);
      choice.Choose(item, c);
    }
    for (size_t i = 0; i < columns.size(); ++i)
      choice.FitToColumn(model, model.Cols()[static_cast<int>(i)], columns[i], "t");
    for (size_t i = 0; i < columns.size(); ++i)
      ASSERT_LE(MaxValueLength(model.Cols()[static_cast<int>(i)].Param(), FWords, &model), length)
          << columns[i].Name;
    model.PrepareAll(nullptr, &FWords);
    for (int r = 1; r <= 400; ++r) {
      model.NewRecord(r);
      for (size_t i = 0; i < columns.size(); ++i) {
        const std::string value(model.Cols()[static_cast<int>(i)].Param().GetValue());
        ASSERT_LE(value.size(), size_t(length)) << columns[i].Name << ": " << value;
      }
    }
  }
}

TEST_F(ColumnChoiceTest, ListsAreCutToTheColumnNotReplaced) {
  // A short city column keeps drawing towns, from those that fit.
  const TColumnChoice choice(FWords, FTemp.Path());
  TGenModel model;
  TColToGenItem& item = model.Cols().Add();
  const TColumnInfo city = Column("city", SQL_VARCHAR, 6);
  choice.Choose(item, city);
  choice.FitToColumn(model, item, city, "shops");
  EXPECT_EQ(item.ColType(), ctTown);
  ASSERT_TRUE(item.Param().UseExternalFile());
  const std::vector<std::string> lines = SplitLines(ReadFileBytes(item.Param().ExternalFile()));
  EXPECT_GT(lines.size(), 50u);
  for (const std::string& line : lines) EXPECT_LE(line.size(), 6u) << line;
}

}  // namespace
}  // namespace kelvast::test
