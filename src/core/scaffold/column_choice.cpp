// SPDX-License-Identifier: MIT
#include "core/scaffold/column_choice.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/generators/dictionary_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/temporal_gens.h"
#include "core/generators/word_lists.h"
#include "core/model/gen_model.h"
#include "core/platform/code_page.h"
#include "core/platform/date_time.h"
#include "core/platform/file_io.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

// Dates and times in the form every engine reads: ISO 8601 with a blank between date and time.
// The separators are quoted so that the locale's own separators do not replace them.
constexpr const char* kDateFormat = "yyyy\"-\"mm\"-\"dd";
constexpr const char* kTimeFormat = "hh\":\"nn\":\"ss";
constexpr const char* kDateTimeFormat = "yyyy\"-\"mm\"-\"dd hh\":\"nn\":\"ss";
constexpr const char* kPhoneMask = "(000) 000-0000";
constexpr int32_t kNullPercent = 5;
// Random text of a column without a length.
constexpr int32_t kFreeTextLength = 24;

int64_t TrimmedLength(const std::string& s) { return static_cast<int64_t>(Trim(s).size()); }

int64_t LongestEntry(const TWordLists& words, TWordList list) {
  if (words.Count(list) == 0) return static_cast<int64_t>(kEmptyDataMarker.size());
  int64_t longest = 0;
  for (const std::string& line : words.List(list)) longest = std::max(longest, TrimmedLength(line));
  return longest;
}

int64_t LongestExternalLine(const TColParams& p) {
  int64_t longest = 0;
  for (const std::string& line : SplitLines(ReadWholeFile(p.ExternalFile(), kMaxListBytes)))
    longest = std::max(longest, TrimmedLength(line));
  return longest;
}

int64_t LastNameLength(const TCPLastName& p) {
  if (p.PhonemeList().empty()) return p.DataLength();
  int64_t phoneme = 0;
  for (const std::string& s : p.PhonemeList()) phoneme = std::max<int64_t>(phoneme, s.size());
  // The last phoneme may start one short of the target and run past it.
  return std::max<int64_t>(p.DataLength(), p.MinSize()) + std::max<int64_t>(phoneme - 1, 0);
}

int64_t FirstNameLength(const TWordLists& words) {
  // Without a title a first name is 3 to 12 random letters.
  return std::max<int64_t>({12, LongestEntry(words, TWordList::BoyNames),
                            LongestEntry(words, TWordList::GirlNames)});
}

// The name generators of the model an e-mail address reads, or the ones it makes itself.
int64_t ModelNameLength(const TGenModel* model, TColType type, const TWordLists& words,
                        int64_t own) {
  if (model)
    for (const auto& item : model->Cols())
      if (item->ColType() == type) {
        const int64_t n = MaxValueLength(item->Param(), words, model);
        return n < 0 ? INT32_MAX : n;
      }
  return own;
}

// The words of a column name: "BillingCity" and "billing_city" both give billing, city.
std::vector<std::string> NameWords(const std::string& name) {
  std::vector<std::string> words;
  std::string word;
  char previous = 0;
  for (char c : name) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum || (c >= 'A' && c <= 'Z' && previous >= 'a' && previous <= 'z')) {
      if (!word.empty()) words.push_back(word);
      word.clear();
    }
    if (alnum) word += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    previous = c;
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

bool Has(const std::vector<std::string>& words, std::initializer_list<const char*> any) {
  for (const std::string& w : words)
    for (const char* a : any)
      if (w == a) return true;
  return false;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string s;
  for (const std::string& w : words) s += w;
  return s;
}

// The person or place a text column's name says it holds; ctnone when the name says nothing.
TColType TypeFromName(const std::string& name) {
  const std::vector<std::string> w = NameWords(name);
  const std::string all = Joined(w);
  if (all == "firstname" || all == "fname" || all == "givenname" || Has(w, {"forename"}))
    return ctFirstName;
  if (all == "lastname" || all == "lname" || all == "familyname" || Has(w, {"surname"}))
    return ctLastName;
  if (Has(w, {"email", "mail"}) || all.find("email") != std::string::npos) return ctemail;
  if (all == "name" || all == "fullname" || all == "contactname" || all == "personname" ||
      all == "customername" || all == "employeename")
    return ctFirstLastName;
  if (Has(w, {"phone", "fax", "mobile", "telephone", "tel", "cell"}) ||
      all.find("phone") != std::string::npos)
    return ctFormatted;
  if (Has(w, {"zip", "zipcode", "postcode", "postal"})) return ctZip;
  if (Has(w, {"city", "town"})) return ctTown;
  if (Has(w, {"state", "province"})) return ctUSStates;
  if (Has(w, {"country"})) return ctCountry;
  if (Has(w, {"address", "street", "address1", "address2"})) return ctAddress;
  if (Has(w, {"company", "title", "organization", "organisation", "employer"}))
    return ctDictWord;
  return ctnone;
}

bool IsBooleanColumn(const TColumnInfo& c) {
  const std::string type = AnsiLowerCase(c.DriverType);
  return c.SqlType == SQL_BIT || type == "bool" || type == "boolean";
}

// Decimal places and the largest value of an exact numeric column.
void DecimalRange(const TColumnInfo& c, int32_t& places, double& high) {
  if (c.Precision <= 0) {
    places = 2;
    high = 10000;
    return;
  }
  places = static_cast<int32_t>(std::clamp<int64_t>(c.Scale, 0, 9));
  // Within the integer digits the column has, and small enough for a double to hold every digit.
  const int64_t digits = std::clamp<int64_t>(c.Precision - places, 0, 6);
  high = std::pow(10.0, static_cast<double>(digits)) - std::pow(10.0, -places);
}

void ChooseText(TColToGenItem& item, const TColumnInfo& column, int64_t limit) {
  const TColType byName = TypeFromName(column.Name);
  const int32_t room = static_cast<int32_t>(limit > 0 ? std::min<int64_t>(limit, INT32_MAX) : 0);
  switch (byName) {
    case ctLastName: {
      item.SetColType(ctLastName);
      auto& p = static_cast<TCPLastName&>(item.Param());
      if (room > 0) {
        p.SetDataLength(std::max(1, std::min(10, room - 3)));
        p.SetMinSize(std::min(4, p.DataLength()));
      }
      return;
    }
    case ctFirstLastName: {
      item.SetColType(ctFirstLastName);
      auto& p = static_cast<TCPFirstLastName&>(item.Param());
      p.SetSeparator(" ");
      return;
    }
    case ctFormatted: {
      item.SetColType(ctFormatted);
      const std::string mask = room == 0 || room >= 14 ? kPhoneMask : std::string(std::min(room, 10), '0');
      static_cast<TCPFormatted&>(item.Param()).SetMask(mask);
      return;
    }
    case ctZip:
      item.SetColType(ctZip);
      item.Param().SetDataLength(room == 0 ? 5 : std::min(room, 5));
      static_cast<TCPZip&>(item.Param()).SetNumbers(true);
      static_cast<TCPZip&>(item.Param()).SetLetters(false);
      return;
    case ctUSStates:
      item.SetColType(ctUSStates);
      return;
    case ctCountry:
      item.SetColType(ctCountry);
      if (room > 0 && room <= 3) static_cast<TCPCountry&>(item.Param()).SetJustCode(true);
      return;
    case ctDictWord:
      item.SetColType(ctDictWord);
      // From 5 characters on, only the words that fit are drawn.
      item.Param().SetDataLength(room == 0 ? 0 : std::max(5, room));
      item.Param().SetDataCase(gcProper);
      return;
    case ctFirstName:
    case ctemail:
    case ctTown:
    case ctAddress:
      item.SetColType(byName);
      return;
    default:
      break;
  }
  item.SetColType(ctstring);
  auto& p = static_cast<TCPString&>(item.Param());
  const bool fixed = column.SqlType == SQL_CHAR || column.SqlType == SQL_WCHAR;
  const int32_t length = room == 0 ? kFreeTextLength : std::min(room, 40);
  p.SetDataLength(length);
  p.SetMinSize(fixed ? length : std::min(length, 3));
}

std::string ListText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

void WriteListFile(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  WriteWholeFile(file, text);
}

std::string SafeFileName(const std::string& ansi) {
  std::string s = AnsiToUtf8(ansi);
  for (char& c : s)
    if (c == '/' || c == '\\' || c == '\0') c = '_';
  return s;
}

}  // namespace

bool IsTextColumn(const TColumnInfo& c) {
  switch (c.SqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
      return !IsBooleanColumn(c);
    default:
      return false;
  }
}

bool IsIntegerColumn(const TColumnInfo& c) {
  switch (c.SqlType) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
      return true;
    default:
      return false;
  }
}

int64_t IntegerTypeMax(const TColumnInfo& c) {
  switch (c.SqlType) {
    case SQL_TINYINT: return 127;
    case SQL_SMALLINT: return 32767;
    case SQL_INTEGER: return INT32_MAX;
    default: return INT64_MAX;
  }
}

int64_t TextLimit(const TColumnInfo& c) {
  // Long text types report huge or driver-chosen lengths that bound nothing in practice.
  if (!IsTextColumn(c) || c.SqlType == SQL_LONGVARCHAR || c.SqlType == SQL_WLONGVARCHAR) return 0;
  return c.MaxLength > 0 && c.MaxLength < 65535 ? c.MaxLength : 0;
}

int64_t MaxValueLength(const TColParams& p, const TWordLists& words, const TGenModel* model) {
  if (p.UseExternalFile()) return LongestExternalLine(p);
  if (auto* s = dynamic_cast<const TCPString*>(&p))
    return std::max(std::llabs(s->MinSize()), std::llabs(s->DataLength()));
  if (auto* f = dynamic_cast<const TCPFormatted*>(&p)) return static_cast<int64_t>(f->Mask().size());
  if (dynamic_cast<const TCPZip*>(&p)) return p.DataLength();
  if (dynamic_cast<const TCPFirstName*>(&p)) return FirstNameLength(words);
  if (auto* l = dynamic_cast<const TCPLastName*>(&p)) return LastNameLength(*l);
  if (auto* n = dynamic_cast<const TCPFirstLastName*>(&p))
    return FirstNameLength(words) + std::max<int64_t>(1, n->Separator().size()) +
           LastNameLength(n->LastName());
  if (auto* e = dynamic_cast<const TCPEmail*>(&p)) {
    int64_t ending = 0;
    for (std::string_view s : kDomainEndings) ending = std::max<int64_t>(ending, s.size());
    const int64_t first = ModelNameLength(model, ctFirstName, words, FirstNameLength(words));
    const int64_t last = ModelNameLength(model, ctLastName, words, LastNameLength(TCPLastName()));
    // first[.last]@word.ending, the word at most 10 characters.
    return first + (e->Short() ? 0 : 1 + last) + 1 + 10 + 1 + ending;
  }
  if (dynamic_cast<const TCPTown*>(&p))
    return LongestEntry(words, p.French() ? TWordList::FrenchTowns : TWordList::WorldTowns);
  if (auto* c = dynamic_cast<const TCPCountry*>(&p))
    return LongestEntry(words, c->JustCode()   ? TWordList::CountryCodes
                               : p.French()    ? TWordList::FrenchCountryNames
                                               : TWordList::CountryNames);
  if (auto* u = dynamic_cast<const TCPUSStates*>(&p))
    return LongestEntry(words, u->ShortName() ? TWordList::USStateCodes : TWordList::USStateNames);
  if (dynamic_cast<const TCPAddress*>(&p)) {
    if (p.French()) return INT32_MAX;
    // "400 Town boulevard"
    return 3 + 1 + LongestEntry(words, TWordList::WorldTowns) + 1 + 9;
  }
  if (dynamic_cast<const TCPDictWord*>(&p))
    return p.DataLength() >= 5 ? p.DataLength()
                               : LongestEntry(words, p.French() ? TWordList::FrenchWords
                                                                : TWordList::EnglishWords);
  if (dynamic_cast<const TCPMemo*>(&p)) return p.DataLength();
  return -1;
}

TColumnChoice::TColumnChoice(const TWordLists& words, std::filesystem::path listFolder,
                             TListWriter writeList)
    : FWords(words), FListFolder(std::move(listFolder)), FWriteList(std::move(writeList)) {}

void TColumnChoice::Choose(TColToGenItem& item, const TColumnInfo& column) const {
  if (IsBooleanColumn(column)) {
    item.SetColType(ctBit);
    // Quoted, so that engines with a real boolean type read '0' and '1' as false and true.
    item.Param().SetExportType(etString);
  } else if (IsIntegerColumn(column)) {
    item.SetColType(ctInteger);
    auto& p = static_cast<TCPInteger&>(item.Param());
    p.SetMinValue(0);
    p.SetMaxValue(static_cast<int32_t>(std::min<int64_t>(IntegerTypeMax(column), 100000)));
  } else if (column.SqlType == SQL_DECIMAL || column.SqlType == SQL_NUMERIC ||
             column.SqlType == SQL_REAL || column.SqlType == SQL_FLOAT ||
             column.SqlType == SQL_DOUBLE) {
    int32_t places = 2;
    double high = 1000;
    const bool exact = column.SqlType == SQL_DECIMAL || column.SqlType == SQL_NUMERIC;
    if (exact) DecimalRange(column, places, high);
    if (exact && places == 0) {
      // A float without decimals is an uncut real: a scale of 0 takes whole numbers.
      item.SetColType(ctInteger);
      auto& whole = static_cast<TCPInteger&>(item.Param());
      whole.SetMinValue(0);
      whole.SetMaxValue(static_cast<int32_t>(high));
    } else {
      item.SetColType(ctFloat);
      auto& p = static_cast<TCPFloat&>(item.Param());
      p.SetMinValue(0);
      p.SetMaxValue(high);
      p.SetPrecision(places);
      // An exact column shows its scale's digits: values are written as it displays them.
      p.SetFixedDecimals(exact);
    }
  } else if (column.SqlType == SQL_TYPE_DATE || column.SqlType == SQL_DATE) {
    item.SetColType(ctDate);
    auto& p = static_cast<TCPDate&>(item.Param());
    p.SetMinDate(EncodeDate(2000, 1, 1));
    p.SetMaxDate(EncodeDate(2025, 12, 31));
    p.SetFormat(kDateFormat);
  } else if (column.SqlType == SQL_TYPE_TIME || column.SqlType == SQL_TIME) {
    item.SetColType(ctTime);
    auto& p = static_cast<TCPTime&>(item.Param());
    p.SetMinTime(0);
    p.SetMaxTime(1);
    p.SetFormat(kTimeFormat);
  } else if (column.SqlType == SQL_TYPE_TIMESTAMP || column.SqlType == SQL_TIMESTAMP) {
    item.SetColType(ctDateTime);
    auto& p = static_cast<TCPDateTime&>(item.Param());
    p.SetMinDate(EncodeDate(2000, 1, 1));
    p.SetMaxDate(EncodeDate(2025, 12, 31));
    p.SetMinTime(0);
    p.SetMaxTime(1);
    p.SetFormat(kDateTimeFormat);
  } else {
    ChooseText(item, column, TextLimit(column));
  }
  if (column.IsNullable != "NO") {
    item.Param().SetAllowNull(true);
    item.Param().SetNullPercent(kNullPercent);
  }
}

void TColumnChoice::FitToColumn(const TGenModel& model, TColToGenItem& item,
                                const TColumnInfo& column, const std::string& table) const {
  const int64_t limit = TextLimit(column);
  if (limit <= 0) return;
  TColParams& p = item.Param();
  if (MaxValueLength(p, FWords, &model) <= limit && MaxValueLength(p, FWords, &model) >= 0) return;

  // A list generator keeps its own entries, those that fit.
  std::vector<std::string> fitting;
  const auto keep = [&](TWordList list, bool proper) {
    for (const std::string& line : FWords.List(list)) {
      std::string value = Trim(line);
      if (proper) value = ProperCase(value);
      if (!value.empty() && static_cast<int64_t>(value.size()) <= limit) fitting.push_back(value);
    }
  };
  switch (item.ColType()) {
    case ctFirstName:
      keep(TWordList::BoyNames, false);
      keep(TWordList::GirlNames, false);
      break;
    case ctTown: keep(p.French() ? TWordList::FrenchTowns : TWordList::WorldTowns, true); break;
    case ctCountry: keep(p.French() ? TWordList::FrenchCountryNames : TWordList::CountryNames, false); break;
    case ctUSStates: keep(TWordList::USStateNames, false); break;
    case ctemail:
      static_cast<TCPEmail&>(p).SetShort(true);
      if (MaxValueLength(p, FWords, &model) <= limit) return;
      break;
    default:
      break;
  }
  if (item.ColType() == ctUSStates && fitting.empty() && limit >= 2) {
    static_cast<TCPUSStates&>(p).SetShortName(true);
    return;
  }
  if (!fitting.empty()) {
    const std::filesystem::path file =
        FListFolder / (SafeFileName(table) + "." + SafeFileName(column.Name) + ".txt");
    if (FWriteList) FWriteList(file, ListText(fitting));
    else WriteListFile(file, ListText(fitting));
    p.SetExternalFile(std::filesystem::absolute(file).string());
    p.SetUseExternalFile(true);
    return;
  }
  const bool allowNull = p.AllowNull();
  const int32_t nullPercent = p.NullPercent();
  item.SetColType(ctstring);
  auto& s = static_cast<TCPString&>(item.Param());
  s.SetDataLength(static_cast<int32_t>(std::min<int64_t>(limit, 40)));
  s.SetMinSize(std::min(s.DataLength(), 3));
  s.SetAllowNull(allowNull);
  s.SetNullPercent(nullPercent);
}

}  // namespace kelvast
