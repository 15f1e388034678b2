#pragma once
// The generator types, export kinds and case transforms, with their stored names and the
// display names of the types.

#include <array>
#include <string_view>

namespace kelvast {

enum TColType : int {
  ctnone,
  ctstring,
  ctFirstName,
  ctLastName,
  ctFirstLastName,
  ctDictWord,
  ctMemo,
  ctZip,
  ctTown,
  ctAddress,
  ctCountry,
  ctUSStates,
  ctFormatted,
  ctInteger,
  ctBit,
  ctIncremental,
  ctFloat,
  ctDate,
  ctTime,
  ctDateTime,
  ctColRef,
  ctConst,
  ctCombo,
  ctemail,
  ctWeb,
  ctSex,
};
constexpr int kColTypeCount = 26;

// How writers present a value: bare, or as quoted / escaped text.
enum TExportType : int { etNum, etString };

enum TGenCase : int { gcNoChange, gcUpper, gcLower, gcProper, gcRandom };

// Stored names of the enumeration values, indexed by ordinal.
inline constexpr std::array<std::string_view, kColTypeCount> kColTypeIdents{
    "ctnone",       "ctstring", "ctFirstName",   "ctLastName", "ctFirstLastName", "ctDictWord",
    "ctMemo",       "ctZip",    "ctTown",        "ctAddress",  "ctCountry",       "ctUSStates",
    "ctFormatted",  "ctInteger", "ctBit",        "ctIncremental", "ctFloat",      "ctDate",
    "ctTime",       "ctDateTime", "ctColRef",    "ctConst",    "ctCombo",         "ctemail",
    "ctWeb",        "ctSex"};
inline constexpr std::array<std::string_view, 2> kExportTypeIdents{"etNum", "etString"};
inline constexpr std::array<std::string_view, 5> kGenCaseIdents{"gcNoChange", "gcUpper", "gcLower",
                                                                "gcProper", "gcRandom"};

// Display names of the generator types, as the type choice shows them.
inline constexpr std::array<std::string_view, kColTypeCount> ColTypeNames{
    "<select a valid type!>", "String",  "First name", "Last name",  "First & Last name",
    "Dictionay word",         "Memo",    "Zip code",   "City",       "Address",
    "Country",                "USA State", "Mask",     "Integer",    "Bit",
    "Incremental",            "Float",   "Date",       "Time",       "Datetime stamp",
    "Column Reference",       "Const",   "Combo",      "e-mail",     "Web site",
    "Sex"};

}  // namespace kelvast
