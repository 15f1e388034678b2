// SPDX-License-Identifier: MIT
#include "core/generators/dictionary_gens.h"

#include <algorithm>

#include "core/generators/charset.h"
#include "core/generators/word_lists.h"
#include "core/platform/decimal_digits.h"
#include "core/platform/random.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

// Shapes of the prepared lists.
bool ShapeWord(std::string_view entry, std::string& value, int32_t length) {
  const std::string_view trimmed = TrimView(entry);
  value.assign(trimmed.empty() ? kNoDataMarker : trimmed);
  // Drawing uniformly among the entries that fit gives the same distribution as drawing again
  // until one fits, and ends even when none fits.
  return length < 5 || value.size() <= static_cast<size_t>(length);
}

bool ShapeDomainWord(std::string_view entry, std::string& value, int32_t length) {
  if (!ShapeWord(entry, value, length)) return false;
  IdentifierSafeInPlace(value);
  return true;
}

// Proper case comes before the trim, so an entry with leading blanks keeps a small letter.
bool ShapeTown(std::string_view entry, std::string& value, int32_t) {
  value.assign(entry);
  ProperCaseInPlace(value);
  TrimFrom(value, 0);
  return true;
}

void AppendProperCase(TTextBuffer& out, std::string_view s) {
  const size_t start = out.size();
  out += s;
  ProperCaseInPlace(out, start);
}

template <class C>
TPropInfo FrenchProp() {
  return BoolProp<C>("French", &C::French, &C::SetFrench);
}

}  // namespace

// ---- TCPDictWord ----

const TPropList& TCPDictWord::Props() const {
  using C = TCPDictWord;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {IntProp<C>("DataLength", &C::DataLength, &C::SetDataLength), FrenchProp<C>()});
  return kProps;
}

void TWordDraw::Append(TTextBuffer& out, const TWordLists& words, TWordList list,
                       int32_t length) {
  // Every length below 5 draws from the whole list: one preparation serves them all.
  if (length < 5) length = 0;
  const TPackedTexts& values = FValues.Prepare(
      words, list, FIdentifierSafe ? ShapeDomainWord : ShapeWord, length);
  if (!values.empty()) {
    FValues.AppendDraw(out);
    return;
  }
  if (length != FFixedLength) {
    FFixedLength = length;
    FFixed = length < 5 ? kNoDataMarker : kNoDataMarker.substr(0, static_cast<size_t>(length));
    if (FIdentifierSafe) IdentifierSafeInPlace(FFixed);
  }
  out += FFixed;
}

void TCPDictWord::DoGenerate(TTextBuffer& out) {
  FDraw.Append(out, WordsOf(Context()), French() ? TWordList::FrenchWords : TWordList::EnglishWords,
               DataLength());
}

// ---- TCPMemo ----

const TPropList& TCPMemo::Props() const {
  using C = TCPMemo;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {
                       BoolProp<C>("LoremIpsum", &C::LoremIpsum, &C::SetLoremIpsum),
                       BoolProp<C>("RandomizeLength", &C::RandomizeLength, &C::SetRandomizeLength),
                       IntProp<C>("DataLength", &C::DataLength, &C::SetDataLength),
                   });
  return kProps;
}

void TCPMemo::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPMemo*>(&source)) {
    FLoremIpsum = s->FLoremIpsum;
    FRandomizeLength = s->FRandomizeLength;
  }
}

void TCPMemo::DoGenerate(TTextBuffer& out) {
  const int32_t n = FRandomizeLength ? 1 + Random(DataLength()) : DataLength();
  if (FLoremIpsum) {
    const std::string& lorem = WordsOf(Context()).Lorem();
    // n <= 1 keeps nothing; written without n - 1 so that the smallest length cannot overflow.
    const size_t keep = n <= 1 ? 0 : std::min(lorem.size(), static_cast<size_t>(n - 1));
    out += TrimView(std::string_view(lorem).substr(0, keep));
    out += '.';
  } else {
    AppendRandomCharString(out, FAlphabet, TCharSet(), static_cast<uint16_t>(n));
  }
}

// ---- TCPTown ----

const TPropList& TCPTown::Props() const {
  static const TPropList kProps = TPropList::Extend(BaseProps(), {FrenchProp<TCPTown>()});
  return kProps;
}

void TCPTown::DoGenerate(TTextBuffer& out) {
  const TPackedTexts& towns = FTowns.Prepare(
      WordsOf(Context()), French() ? TWordList::FrenchTowns : TWordList::WorldTowns, ShapeTown);
  if (!towns.empty()) FTowns.AppendDraw(out);
  if (out.empty()) out += kEmptyDataMarker;
}

// ---- TCPAddress ----

const TPropList& TCPAddress::Props() const {
  static const TPropList kProps = TPropList::Extend(BaseProps(), {FrenchProp<TCPAddress>()});
  return kProps;
}

void TCPAddress::DoGenerate(TTextBuffer& out) {
  if (French()) GenerateFrench(out);
  else GenerateEnglish(out);
}

void TCPAddress::GenerateEnglish(TTextBuffer& out) {
  static constexpr std::string_view kSuffixes[] = {"road", "avenue", "park", "boulevard", "square"};
  AppendDecimal(out, 1 + Random(400));
  out += ' ';
  if (!FTowns.Prepare(WordsOf(Context()), TWordList::WorldTowns, TPreparedList::Trimmed).empty()) {
    AppendProperCase(out, FTowns.Draw());
    out += ' ';
  }
  out += kSuffixes[Random(5)];
}

void TCPAddress::GenerateFrench(TTextBuffer& out) {
  // Accented letters are Windows-1252 bytes: "allée" and "Général".
  static constexpr std::string_view kStreetTypes[] = {"rue",   "boulevard", "avenue",
                                                      "all\xE9" "e", "impasse", "route"};
  static constexpr std::string_view kRanks[] = {"Lieutenant", "G\xE9n\xE9ral", "Colonel"};
  const TWordLists& words = WordsOf(Context());
  const size_t start = out.size();
  AppendDecimal(out, 1 + Random(120));
  out += ' ';
  if (Random(100) < 3) out += "ter ";
  else if (Random(100) < 4) out += "bis ";
  out += kStreetTypes[Random(6)];
  out += ' ';
  const TPackedTexts& towns = FTowns.Prepare(words, TWordList::FrenchTowns, TPreparedList::Trimmed);
  const TPackedTexts& frenchWords =
      FWords.Prepare(words, TWordList::FrenchWords, TPreparedList::Trimmed);
  const TPackedTexts& names = FNames.Prepare(words, TWordList::BoyNames, TPreparedList::Trimmed);
  if (Random(100) < 40 && !towns.empty()) {
    AppendProperCase(out, FTowns.Draw());
  } else if (Random(100) < 40 && !frenchWords.empty()) {
    AppendProperCase(out, FWords.Draw());
  } else if (!names.empty()) {
    out += "du ";
    out += kRanks[Random(3)];
    out += ' ';
    AppendProperCase(out, FNames.Draw());
  } else {
    out.resize(start);
    out += kEmptyDataMarker;
  }
}

// ---- TCPCountry ----

const TPropList& TCPCountry::Props() const {
  using C = TCPCountry;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {BoolProp<C>("JustCode", &C::JustCode, &C::SetJustCode), FrenchProp<C>()});
  return kProps;
}

void TCPCountry::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPCountry*>(&source)) FJustCode = s->FJustCode;
}

void TCPCountry::DoGenerate(TTextBuffer& out) {
  const TWordList list = FJustCode  ? TWordList::CountryCodes
                         : French() ? TWordList::FrenchCountryNames
                                    : TWordList::CountryNames;
  if (!FCountries.Prepare(WordsOf(Context()), list, TPreparedList::Trimmed).empty())
    FCountries.AppendDraw(out);
  else
    out += kEmptyDataMarker;
}

// ---- TCPUSStates ----

const TPropList& TCPUSStates::Props() const {
  using C = TCPUSStates;
  static const TPropList kProps = TPropList::Extend(
      BaseProps(), {BoolProp<C>("ShortName", &C::ShortName, &C::SetShortName)});
  return kProps;
}

void TCPUSStates::Assign(const TColParams& source) {
  TColParams::Assign(source);
  if (auto* s = dynamic_cast<const TCPUSStates*>(&source)) FShortName = s->FShortName;
}

void TCPUSStates::DoGenerate(TTextBuffer& out) {
  const TWordList list = FShortName ? TWordList::USStateCodes : TWordList::USStateNames;
  if (!FStates.Prepare(WordsOf(Context()), list, TPreparedList::Trimmed).empty())
    FStates.AppendDraw(out);
  else
    out += kEmptyDataMarker;
}

}  // namespace kelvast
