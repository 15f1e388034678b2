// SPDX-License-Identifier: MIT
#include "core/generators/registry.h"

#include "core/generators/composite_gens.h"
#include "core/generators/dictionary_gens.h"
#include "core/generators/numeric_gens.h"
#include "core/generators/person_gens.h"
#include "core/generators/string_gens.h"
#include "core/generators/temporal_gens.h"

namespace kelvast {

namespace {

template <class T>
std::unique_ptr<TColParams> Make() {
  return std::make_unique<T>();
}

// The display names are the type choice's captions, "Dictionay" included, as users know them.
constexpr std::array<TGeneratorType, kColTypeCount> kTypes{{
    {ctnone, kColTypeIdents[ctnone], "<select a valid type!>", Make<TCPString>},
    {ctstring, kColTypeIdents[ctstring], "String", Make<TCPString>},
    {ctFirstName, kColTypeIdents[ctFirstName], "First name", Make<TCPFirstName>},
    {ctLastName, kColTypeIdents[ctLastName], "Last name", Make<TCPLastName>},
    {ctFirstLastName, kColTypeIdents[ctFirstLastName], "First & Last name", Make<TCPFirstLastName>},
    {ctDictWord, kColTypeIdents[ctDictWord], "Dictionay word", Make<TCPDictWord>},
    {ctMemo, kColTypeIdents[ctMemo], "Memo", Make<TCPMemo>},
    {ctZip, kColTypeIdents[ctZip], "Zip code", Make<TCPZip>},
    {ctTown, kColTypeIdents[ctTown], "City", Make<TCPTown>},
    {ctAddress, kColTypeIdents[ctAddress], "Address", Make<TCPAddress>},
    {ctCountry, kColTypeIdents[ctCountry], "Country", Make<TCPCountry>},
    {ctUSStates, kColTypeIdents[ctUSStates], "USA State", Make<TCPUSStates>},
    {ctFormatted, kColTypeIdents[ctFormatted], "Mask", Make<TCPFormatted>},
    {ctInteger, kColTypeIdents[ctInteger], "Integer", Make<TCPInteger>},
    {ctBit, kColTypeIdents[ctBit], "Bit", Make<TCPBit>},
    {ctIncremental, kColTypeIdents[ctIncremental], "Incremental", Make<TCPIncremental>},
    {ctFloat, kColTypeIdents[ctFloat], "Float", Make<TCPFloat>},
    {ctDate, kColTypeIdents[ctDate], "Date", Make<TCPDate>},
    {ctTime, kColTypeIdents[ctTime], "Time", Make<TCPTime>},
    {ctDateTime, kColTypeIdents[ctDateTime], "Datetime stamp", Make<TCPDateTime>},
    {ctColRef, kColTypeIdents[ctColRef], "Column Reference", Make<TCPColRef>},
    {ctConst, kColTypeIdents[ctConst], "Const", Make<TCPConst>},
    {ctCombo, kColTypeIdents[ctCombo], "Combo", Make<TCPCombo>},
    {ctemail, kColTypeIdents[ctemail], "e-mail", Make<TCPEmail>},
    {ctWeb, kColTypeIdents[ctWeb], "Web site", Make<TCPWebSite>},
    {ctSex, kColTypeIdents[ctSex], "Sex", Make<TCPSexGen>},
}};

// Each entry sits at its type's ordinal.
constexpr bool InTypeOrder() {
  for (int i = 0; i < kColTypeCount; ++i)
    if (kTypes[static_cast<size_t>(i)].Type != i) return false;
  return true;
}
static_assert(InTypeOrder(), "the catalogue lists the types in the order of TColType");

}  // namespace

const std::array<TGeneratorType, kColTypeCount>& GeneratorTypes() { return kTypes; }

const TGeneratorType& GeneratorTypeOf(TColType type) {
  const int ordinal = static_cast<int>(type);
  return kTypes[ordinal >= 0 && ordinal < kColTypeCount ? static_cast<size_t>(ordinal) : 0];
}

std::unique_ptr<TColParams> CreateParams(TColType t) { return GeneratorTypeOf(t).Create(); }

std::unique_ptr<TColParams> CreatePerson() { return std::make_unique<TCPSex>(); }

}  // namespace kelvast
