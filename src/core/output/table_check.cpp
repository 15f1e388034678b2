// SPDX-License-Identifier: MIT
#include "core/output/table_check.h"

#include <algorithm>
#include <cstdlib>

#include "core/database/table_fields.h"
#include "core/generators/composite_gens.h"
#include "core/generators/dictionary_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/temporal_gens.h"
#include "core/generators/word_lists.h"
#include "core/output/record_writer.h"
#include "core/platform/date_time.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

int DigitsOf(int64_t v) {
  uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  int digits = 1;
  while (magnitude >= 10) {
    magnitude /= 10;
    ++digits;
  }
  return digits;
}

// The characters of the integer's decimal form, its sign included.
int64_t WidthOf(int64_t v) { return DigitsOf(v) + (v < 0 ? 1 : 0); }

TValueShape IntegerShape(int64_t low, int64_t high) {
  if (low > high) std::swap(low, high);
  TValueShape shape{TValueKind::Integer, std::max(WidthOf(low), WidthOf(high))};
  shape.IntegerDigits = std::max(DigitsOf(low), DigitsOf(high));
  shape.Min = low;
  shape.Max = high;
  return shape;
}

// The longest entry of a word list, as its generators write it (trimmed); an empty list gives
// the marker that stands for it.
int64_t LongestEntry(TWordList list) {
  size_t longest = 0;
  for (const std::string& line : WordList(list)) longest = std::max(longest, TrimView(line).size());
  return longest == 0 ? static_cast<int64_t>(kEmptyDataMarker.size()) : static_cast<int64_t>(longest);
}

TValueShape TextShape(std::optional<int64_t> longest = std::nullopt) {
  return TValueShape{TValueKind::Text, longest};
}

// The longest form of a date-time pattern: every day of a year (each month and weekday name)
// at the last moment of the day, and the last moment of every hour (one- and two-digit hours,
// both halves of the day).
int64_t LongestFormatted(const std::string& pattern) {
  size_t longest = 0;
  const TDateTime lastMoment = EncodeTime(23, 59, 59, 999);
  const TDateTime first = EncodeDate(2001, 1, 1);
  for (int day = 0; day < 365; ++day)
    longest = std::max(longest, FormatDateTime(pattern, first + day + lastMoment).size());
  for (int hour = 0; hour < 24; ++hour)
    longest = std::max(longest,
                       FormatDateTime(pattern, first + EncodeTime(hour, 59, 59, 999)).size());
  return static_cast<int64_t>(longest);
}

// A mask of digits only writes a number.
bool DigitsOnly(const std::string& mask) {
  return !mask.empty() &&
         std::all_of(mask.begin(), mask.end(), [](char c) { return c >= '0' && c <= '9'; });
}

TValueShape GeneratorShape(const TColParams& p, int64_t records) {
  if (const auto* g = dynamic_cast<const TCPIncremental*>(&p)) {
    // Record n holds StartValue + n * Step.
    const int64_t n = std::max<int64_t>(records, 1);
    return IntegerShape(int64_t{g->StartValue()} + g->Step(),
                        int64_t{g->StartValue()} + n * g->Step());
  }
  if (const auto* g = dynamic_cast<const TCPBit*>(&p)) {
    const auto number = [](const std::string& s) { return DigitsOnly(s) && s.size() < 10; };
    if (number(g->ZeroValue()) && number(g->OneValue()))
      return IntegerShape(std::atoll(g->ZeroValue().c_str()), std::atoll(g->OneValue().c_str()));
    return TextShape(static_cast<int64_t>(std::max(g->ZeroValue().size(), g->OneValue().size())));
  }
  if (dynamic_cast<const TCPSex*>(&p)) return {};
  if (const auto* g = dynamic_cast<const TCPInteger*>(&p)) {
    int64_t low = g->MinValue(), high = g->MaxValue();
    if (low > high) std::swap(low, high);
    if (g->Sign() > 0) low = std::max<int64_t>(low, 1);
    if (g->Sign() < 0) high = std::min<int64_t>(high, -1);
    return IntegerShape(low, std::max(low, high));
  }
  if (const auto* g = dynamic_cast<const TCPFloat*>(&p)) {
    TValueShape shape{TValueKind::Real};
    double low, high;
    g->DrawBounds(low, high);
    const double magnitude = std::max(std::abs(low), std::abs(high));
    shape.IntegerDigits = magnitude < 1e18 ? DigitsOf(static_cast<int64_t>(magnitude)) : 309;
    shape.Decimals = g->Precision() > 0 ? g->Precision() : -1;
    if (g->Precision() > 0 && magnitude < 1e18)
      shape.Longest = 1 + shape.IntegerDigits + 1 + g->Precision();
    return shape;
  }
  if (const auto* g = dynamic_cast<const TCPString*>(&p)) {
    const int64_t longest = std::max(std::llabs(g->MinSize()), std::llabs(g->DataLength()));
    return TextShape(std::min<int64_t>(longest, UINT16_MAX));
  }
  if (const auto* g = dynamic_cast<const TCPFormatted*>(&p)) {
    TValueShape shape = TextShape(static_cast<int64_t>(g->Mask().size()));
    if (DigitsOnly(g->Mask())) {
      shape.Kind = TValueKind::Integer;
      shape.IntegerDigits = static_cast<int>(g->Mask().size());
      shape.Max = INT64_MAX;  // not a bit
    }
    return shape;
  }
  if (const auto* g = dynamic_cast<const TCPZip*>(&p)) {
    TValueShape shape = TextShape(std::llabs(g->DataLength()));
    if (g->Numbers() && !g->Letters()) {
      shape.Kind = TValueKind::Integer;
      shape.IntegerDigits = static_cast<int>(std::min<int64_t>(std::llabs(g->DataLength()), 309));
      shape.Max = INT64_MAX;
    }
    return shape;
  }
  if (const auto* g = dynamic_cast<const TCPConst*>(&p)) {
    // A bare constant may be an expression of the engine's own: only its text's length is known.
    if (g->ExportType() == etNum) return {};
    return TValueShape{TValueKind::Unknown, static_cast<int64_t>(g->ConstValue().size())};
  }
  if (const auto* g = dynamic_cast<const TCPDate*>(&p))
    return TValueShape{TValueKind::Date, LongestFormatted(g->Format())};
  if (const auto* g = dynamic_cast<const TCPTime*>(&p))
    return TValueShape{TValueKind::Time, LongestFormatted(g->Format())};
  if (const auto* g = dynamic_cast<const TCPDateTime*>(&p))
    return TValueShape{TValueKind::DateTime, LongestFormatted(g->Format())};
  if (dynamic_cast<const TCPFirstName*>(&p))
    return TextShape(std::max<int64_t>(
        {LongestEntry(TWordList::BoyNames), LongestEntry(TWordList::GirlNames), 12}));
  if (dynamic_cast<const TCPTown*>(&p))
    return TextShape(LongestEntry(p.French() ? TWordList::FrenchTowns : TWordList::WorldTowns));
  if (const auto* g = dynamic_cast<const TCPCountry*>(&p))
    return TextShape(LongestEntry(g->JustCode() ? TWordList::CountryCodes
                                  : p.French()  ? TWordList::FrenchCountryNames
                                                : TWordList::CountryNames));
  if (const auto* g = dynamic_cast<const TCPUSStates*>(&p))
    return TextShape(
        LongestEntry(g->ShortName() ? TWordList::USStateCodes : TWordList::USStateNames));
  if (dynamic_cast<const TCPColRef*>(&p) || dynamic_cast<const TCPCombo*>(&p)) return {};
  // Names, words, texts, addresses and web addresses: text of a length known only once drawn.
  return TextShape();
}

// ---- The fields' side. ----

enum class TFieldClass { Other, Text, Integer, Exact, Approximate, Boolean, Date, Time, Timestamp };

TFieldClass ClassOf(const TColumnInfo& f) {
  switch (f.DataType) {
    case ftChar: case ftVarChar: case ftWChar: case ftVarWChar: case ftLongVarChar:
    case ftLongVarWChar: case ftBStr:
      return TFieldClass::Text;
    case ftSmallInt: case ftInteger: case ftTinyInt: case ftUnsignedTinyInt:
    case ftUnsignedSmallInt: case ftUnsignedInt: case ftBigInt: case ftUnsignedBigInt:
      return TFieldClass::Integer;
    case ftDecimal: case ftNumeric: case ftCurrency:
      return TFieldClass::Exact;
    case ftSingle: case ftDouble:
      return TFieldClass::Approximate;
    case ftBoolean: return TFieldClass::Boolean;
    case ftDbDate: return TFieldClass::Date;
    case ftDbTime: return TFieldClass::Time;
    case ftDbTimeStamp: return TFieldClass::Timestamp;
    default: return TFieldClass::Other;
  }
}

// The field's limit on characters, when its type has one.
std::optional<int64_t> LengthLimit(const TColumnInfo& f) {
  const bool bounded = f.DataType == ftChar || f.DataType == ftVarChar || f.DataType == ftWChar ||
                       f.DataType == ftVarWChar;
  if (bounded && f.MaxLength > 0) return f.MaxLength;
  return std::nullopt;
}

// Whether values of that shape can go into the field; why not otherwise.
std::optional<std::string> Unfit(const TValueShape& shape, const TColumnInfo& field) {
  const TFieldClass fc = ClassOf(field);
  const TValueKind k = shape.Kind;
  if (k == TValueKind::Unknown || fc == TFieldClass::Other || fc == TFieldClass::Text)
    return std::nullopt;
  const auto number = [&] { return k == TValueKind::Integer || k == TValueKind::Real; };
  switch (fc) {
    case TFieldClass::Integer:
      if (k == TValueKind::Integer) return std::nullopt;
      return k == TValueKind::Real ? "numbers with decimals" : "values that are not numbers";
    case TFieldClass::Exact: {
      if (!number()) return "values that are not numbers";
      const int64_t room = field.Precision - field.Scale;
      if (field.Precision > 0 && shape.IntegerDigits > room)
        return "numbers of up to " + std::to_string(shape.IntegerDigits) +
               " digits before the decimal point";
      return std::nullopt;
    }
    case TFieldClass::Approximate:
      if (number()) return std::nullopt;
      return "values that are not numbers";
    case TFieldClass::Boolean:
      if (k == TValueKind::Boolean || (k == TValueKind::Integer && shape.Min >= 0 && shape.Max <= 1))
        return std::nullopt;
      return "values that are not booleans";
    case TFieldClass::Date:
    case TFieldClass::Timestamp:
      if (k == TValueKind::Date || k == TValueKind::DateTime) return std::nullopt;
      return "values that are not dates";
    case TFieldClass::Time:
      if (k == TValueKind::Time || k == TValueKind::DateTime) return std::nullopt;
      return "values that are not times";
    default:
      return std::nullopt;
  }
}

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// The field's type as its engine names it, with the length or precision that limits it:
// "varchar(20)", "numeric(5,2)".
std::string DescribeType(const TColumnInfo& f) {
  std::string type = f.DriverType.empty() ? "of an unknown type" : f.DriverType;
  if (type.find('(') != std::string::npos) return type;
  if (const auto limit = LengthLimit(f)) return type + "(" + std::to_string(*limit) + ")";
  if (ClassOf(f) == TFieldClass::Exact && f.Precision > 0)
    return type + "(" + std::to_string(f.Precision) + "," + std::to_string(f.Scale) + ")";
  return type;
}

}  // namespace

TValueShape ShapeOf(const TColParams& param, int64_t records) {
  if (param.UseExternalFile() && !param.ExternalLines().empty()) {
    size_t longest = 0;
    for (const std::string& line : param.ExternalLines())
      longest = std::max(longest, TrimView(line).size());
    return TValueShape{TValueKind::Unknown, static_cast<int64_t>(longest)};
  }
  return GeneratorShape(param, records);
}

std::vector<std::string> CheckAgainstTable(const TGenModel& model,
                                           const std::vector<TColumnInfo>& fields,
                                           int64_t records, const TEnforcedRules& rules) {
  std::vector<std::string> problems;
  if (fields.empty()) return problems;
  std::vector<bool> filled(fields.size(), false);
  for (const TWrittenColumn& column : WrittenColumns(model)) {
    const std::string& name = column.Item->DBColName();
    const auto found = std::find_if(fields.begin(), fields.end(),
                                    [&](const TColumnInfo& f) { return SameTextAscii(f.Name, name); });
    if (found == fields.end()) {
      problems.push_back("Field " + Quoted(name) + " does not exist.");
      continue;
    }
    const TColumnInfo& field = *found;
    filled[static_cast<size_t>(found - fields.begin())] = true;
    const TColParams& p = *column.Param;
    const std::string who = Quoted(column.Item->ColName());
    const std::string target = "field " + Quoted(field.Name) + " is " + DescribeType(field);
    if (field.IsNullable == "NO" && p.AllowNull() && p.NullPercent() > 0 && !p.Unique())
      problems.push_back(who + " writes NULL in " + std::to_string(p.NullPercent()) +
                         " % of records; field " + Quoted(field.Name) + " is NOT NULL.");
    const TValueShape shape = ShapeOf(p, records);
    // A counter wraps around past the 32-bit range, which would repeat its values.
    if (dynamic_cast<const TCPIncremental*>(&p) && (shape.Min < INT32_MIN || shape.Max > INT32_MAX))
      problems.push_back(who + " counts past the 32-bit range within the run's " +
                         std::to_string(records) + " records, where its values would wrap around.");
    if (rules.Types)
      if (const auto why = Unfit(shape, field))
        problems.push_back(who + " writes " + *why + "; " + target + ".");
    const std::optional<int64_t> limit = LengthLimit(field);
    if (rules.Lengths && limit && shape.Longest && *shape.Longest > *limit)
      problems.push_back(who + " writes values of up to " + std::to_string(*shape.Longest) +
                         " characters; " + target + ".");
  }
  for (size_t i = 0; i < fields.size(); ++i)
    if (!filled[i] && fields[i].IsNullable == "NO" && !fields[i].HasDefault)
      problems.push_back("Field " + Quoted(fields[i].Name) +
                         " is NOT NULL, and no generator fills it.");
  return problems;
}

TEnforcedRules EnforcedRulesOf(std::string_view dbms) {
  // SQLite keeps any value in any column: a declared type or length refuses nothing.
  if (dbms == "SQLite") return {.Types = false, .Lengths = false};
  return {};
}

namespace {

std::string MismatchMessage(const std::string& table, const std::vector<std::string>& problems) {
  std::string text = "The model does not fit the table " + Quoted(table) + ":";
  for (const std::string& problem : problems) text += "\n  " + problem;
  return text;
}

}  // namespace

void RequireTableFits(const TGenModel& model, TDataAccess& connection, int64_t records) {
  const std::vector<TColumnInfo> fields = TableFields(connection, model.TableName());
  std::vector<std::string> problems =
      CheckAgainstTable(model, fields, records, EnforcedRulesOf(connection.DbmsName()));
  if (!problems.empty()) throw ETableMismatch(model.TableName(), problems);
}

ETableMismatch::ETableMismatch(const std::string& table, const std::vector<std::string>& problems)
    : std::runtime_error(MismatchMessage(table, problems)), FProblems(problems) {}

}  // namespace kelvast
