// SPDX-License-Identifier: MIT
#include "model_fixtures.h"

#include "core/generators/composite_gens.h"
#include "core/generators/dictionary_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/temporal_gens.h"

#include <cstdio>

namespace kelvast::test {

std::filesystem::path VectorPath(std::string_view name) {
  return std::filesystem::path(KELVAST_TEST_DATA) / "files" / "vectors" / name;
}

namespace {

template <class P>
P& AddGen(TGenModel& m, const char* name, const char* field, TColType type) {
  TColToGenItem& item = m.Cols().Add();
  item.SetColName(name);
  item.SetDBColName(field);
  item.SetColType(type);
  return dynamic_cast<P&>(item.Param());
}

}  // namespace

std::unique_ptr<TGenModel> BuildAllTypesModel() {
  auto model = std::make_unique<TGenModel>();
  TGenModel& m = *model;
  m.SetDescription("All 25 generator types with non-default values");
  m.SetDatabase("TestDB (SQL Server 2019)");
  m.SetConnectionString(
      "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
      "Initial Catalog=TestDB;Data Source=.\\SQLEXPRESS");
  m.SetTableName("dbo.Customers");

  auto& str = AddGen<TCPString>(m, "string", "COL_STRING", ctstring);
  str.SetDataCase(gcUpper);
  str.SetDataLength(20);
  str.SetMinSize(3);
  str.SetCharsetText(std::string("\0 0123456789_x", 14));

  auto& first = AddGen<TCPFirstName>(m, "first name", "FIRSTNAME", ctFirstName);
  first.SetAllowNull(true);
  first.SetNullPercent(10);
  first.SetDataCase(gcProper);

  auto& last = AddGen<TCPLastName>(m, "last name", "LASTNAME", ctLastName);
  last.SetDataCase(gcLower);
  last.SetPhonemeList({"ka", "lo", "", "mi", "zz"});
  last.SetDataLength(12);
  last.SetMinSize(4);

  auto& full = AddGen<TCPFirstLastName>(m, "full name", "FULLNAME", ctFirstLastName);
  full.SetDataCase(gcRandom);
  full.SetFirstLast(true);
  full.SetSeparator(", ");

  auto& word = AddGen<TCPDictWord>(m, "word", "WORD", ctDictWord);
  word.SetDataLength(8);
  word.SetFrench(true);

  auto& memo = AddGen<TCPMemo>(m, "memo", "MEMO", ctMemo);
  memo.SetLoremIpsum(true);
  memo.SetRandomizeLength(true);
  memo.SetDataLength(500);

  auto& zip = AddGen<TCPZip>(m, "zip", "ZIP", ctZip);
  zip.SetNumbers(false);
  zip.SetLetters(true);
  zip.SetDataLength(5);
  zip.SetExportType(etNum);

  AddGen<TCPTown>(m, "city", "CITY", ctTown).SetFrench(true);
  auto& address = AddGen<TCPAddress>(m, "address", "ADDRESS", ctAddress);
  address.SetStealth(true);
  address.SetFrench(true);
  auto& country = AddGen<TCPCountry>(m, "country", "COUNTRY", ctCountry);
  country.SetJustCode(true);
  country.SetFrench(true);
  AddGen<TCPUSStates>(m, "state", "STATE", ctUSStates).SetShortName(true);

  auto& mask = AddGen<TCPFormatted>(m, "mask", "MASK", ctFormatted);
  mask.SetMask("00-aA?zZ b9");
  mask.SetExportType(etNum);

  auto& integer = AddGen<TCPInteger>(m, "integer", "INT_COL", ctInteger);
  integer.SetMinValue(-100000);
  integer.SetMaxValue(100000);
  integer.SetSign(1);
  integer.SetExportType(etString);

  auto& bit = AddGen<TCPBit>(m, "bit", "BIT_COL", ctBit);
  bit.SetMinValue(-1);
  bit.SetMaxValue(1);
  bit.SetSign(-1);
  bit.SetExportType(etString);
  bit.SetZeroValue("No");
  bit.SetOneValue("Yes");

  auto& counter = AddGen<TCPIncremental>(m, "counter", "ID", ctIncremental);
  counter.SetMinValue(0);
  counter.SetMaxValue(1000);
  counter.SetSign(0);
  counter.SetExportType(etString);
  counter.SetStartValue(100);
  counter.SetStep(2);
  counter.SetCurrent(110);

  auto& real = AddGen<TCPFloat>(m, "float", "AMOUNT", ctFloat);
  real.SetMinValue(1.5);
  real.SetMaxValue(1e300);
  real.SetPrecision(4);
  real.SetExportType(etString);

  auto& date = AddGen<TCPDate>(m, "date", "BIRTHDATE", ctDate);
  date.SetMinDate(36526);
  date.SetMaxDate(73050);
  date.SetFormat("yyyy-mm-dd");

  auto& time = AddGen<TCPTime>(m, "time", "START_TIME", ctTime);
  time.SetMinTime(1.0 / 3);
  time.SetMaxTime(17.5 / 24);
  time.SetFormat("hh:nn");

  auto& stamp = AddGen<TCPDateTime>(m, "stamp", "CREATED", ctDateTime);
  stamp.SetMinDate(-36522);
  stamp.SetMaxDate(36525);
  stamp.SetMinTime(0.1);
  stamp.SetMaxTime(0.75);
  stamp.SetFormat("yyyy-mm-dd\"T\"hh:nn:ss");

  auto& ref = AddGen<TCPColRef>(m, "colref", "CUST_NAME", ctColRef);
  ref.SetTable("Customers");
  ref.SetField("Name");
  ref.SetExportType(etNum);

  auto& constant = AddGen<TCPConst>(m, "const", "CONST", ctConst);
  constant.SetUseExternalFile(true);
  constant.SetExternalFile("C:\\Data\\values.txt");
  constant.SetConstValue("constant text");
  constant.SetExportType(etNum);

  auto& combo = AddGen<TCPCombo>(m, "combo", "COMBO", ctCombo);
  combo.SetColnames({"first name", "const", "LAST NAME"});
  combo.SetExportType(etNum);

  auto& email = AddGen<TCPEmail>(m, "email", "EMAIL", ctemail);
  email.SetLastValue("john.smith@example.com");
  email.SetShort(true);

  AddGen<TCPWebSite>(m, "web", "WEBSITE", ctWeb).SetDataLength(12);

  auto& title = AddGen<TCPSexGen>(m, "title", "TITLE", ctSex);
  title.SetMinValue(1);
  title.SetMaxValue(2);
  title.SetSign(1);
  title.SetExportType(etNum);
  title.SetMister("Sir");
  title.SetMissis("Madam");
  title.SetMiss("Ms");
  title.SetMisterPercent(40.5f);
  title.SetMissisPercent(0.1f);
  title.SetMissPercent(59.4f);

  m.SetSQLFile("C:\\Temp\\customers.sql");
  m.SetRecNumber(10000000);
  m.SetDelimiter("[]");  // also the column reference's
  m.SetStringDelimiter("\"\"");
  m.SetModified(true);
  return model;
}

std::string ModelFileWith(const std::function<void(TStreamWriter&)>& writeProperties) {
  TStreamWriter w;
  w.WriteBytes(std::string_view("\xFF\x0A\x00TGENMODEL\x00\x30\x10", 15));
  w.WriteUInt32(0);
  const size_t start = w.Size();
  w.WriteBytes("TPF0");
  w.WriteShortString("TGenModel");
  w.WriteShortString("");
  writeProperties(w);
  w.WriteByte(vaNull);
  w.WriteByte(vaNull);
  w.PatchUInt32(start - 4, static_cast<uint32_t>(w.Size() - start));
  return w.Bytes();
}

std::string Hex(std::string_view bytes) {
  std::string out;
  char buf[8];
  for (char c : bytes) {
    std::snprintf(buf, sizeof buf, out.empty() ? "%02X" : " %02X", static_cast<unsigned char>(c));
    out += buf;
  }
  return out;
}

}  // namespace kelvast::test
