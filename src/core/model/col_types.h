// SPDX-License-Identifier: MIT
#pragma once
// The generator types, export kinds and case transforms, with their stored names. The types'
// display names and classes are in the generators' catalogue (generators/registry.h).

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

}  // namespace kelvast
